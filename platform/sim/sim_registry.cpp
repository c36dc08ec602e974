#include "sim_registry.h"
#include <cctype>
#include <cstring>

std::string SimRegistry::Normal(const std::string& path) {
    std::string normal;
    for (char c : path) normal += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    while (!normal.empty() && normal.back() == '\\') normal.pop_back();
    return normal;
}

SimRegistry::Key& SimRegistry::PutKey(const std::string& keyPath) {
    // Like the real hive, a key's parents exist too.
    std::string path = Normal(keyPath);
    for (size_t at = path.find('\\'); at != std::string::npos; at = path.find('\\', at + 1))
        m_keys[path.substr(0, at)];
    return m_keys[path];
}

void SimRegistry::PutValue(const std::string& keyPath, const std::string& name, DWORD type, std::vector<BYTE> data) {
    PutKey(keyPath).values[Normal(name)] = Value{type, std::move(data)};
}

void SimRegistry::PutString(const std::string& keyPath, const std::string& name, const std::string& text) {
    PutValue(keyPath, name, REG_SZ, std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1));
}

// Little-endian, as Windows stores a REG_DWORD.
void SimRegistry::PutDword(const std::string& keyPath, const std::string& name, DWORD value) {
    PutValue(keyPath, name, REG_DWORD, {BYTE(value), BYTE(value >> 8), BYTE(value >> 16), BYTE(value >> 24)});
}

void SimRegistry::DeleteKey(const std::string& keyPath) {
    const std::string path = Normal(keyPath);
    for (auto key = m_keys.begin(); key != m_keys.end();)
        key = (key->first == path || key->first.rfind(path + "\\", 0) == 0) ? m_keys.erase(key) : std::next(key);
}

void SimRegistry::DeleteValue(const std::string& keyPath, const std::string& name) {
    auto key = m_keys.find(Normal(keyPath));
    if (key != m_keys.end()) key->second.values.erase(Normal(name));
}

bool SimRegistry::HasKey(const std::string& keyPath) const { return m_keys.count(Normal(keyPath)) != 0; }

const SimRegistry::Value* SimRegistry::GetValue(const std::string& keyPath, const std::string& name) const {
    auto key = m_keys.find(Normal(keyPath));
    if (key == m_keys.end()) return nullptr;
    auto value = key->second.values.find(Normal(name));
    return value == key->second.values.end() ? nullptr : &value->second;
}

// The programs open keys below HKEY_LOCAL_MACHINE only.
std::string SimRegistry::Path(HKEY root, const char* subKey) {
    if (root != HKEY_LOCAL_MACHINE) throw SimUnexpected("a key outside HKEY_LOCAL_MACHINE, which is not simulated");
    return subKey == nullptr ? std::string() : Normal(subKey);
}

LONG SimRegistry::Fault(RegOp op, const std::string& path, const std::string& name) const {
    return inject ? inject(op, path, Normal(name)) : ERROR_SUCCESS;
}

HKEY SimRegistry::NewHandle(const std::string& path, REGSAM access) {
    HKEY key = reinterpret_cast<HKEY>(m_nextHandle);
    m_nextHandle += 4;
    m_handles[key] = Handle{path, access};
    return key;
}

LONG SimRegistry::OpenKey(HKEY root, const char* subKey, DWORD, REGSAM access, HKEY* result) {
    const std::string path = Path(root, subKey);
    if (LONG fault = Fault(RegOp::Open, path, "")) return fault;
    if (m_keys.count(path) == 0) return ERROR_FILE_NOT_FOUND;
    *result = NewHandle(path, access);
    return ERROR_SUCCESS;
}

LONG SimRegistry::QueryValue(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) {
    const Handle& handle = Opened(m_handles, key);
    if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
    if ((handle.access & KEY_QUERY_VALUE) == 0) return ERROR_ACCESS_DENIED;
    const std::string valueName = name == nullptr ? std::string() : name;
    if (LONG fault = Fault(RegOp::Query, handle.path, valueName)) return fault;
    const Value* value = GetValue(handle.path, valueName);
    if (value == nullptr) return ERROR_FILE_NOT_FOUND;
    // A text value stored without its terminating zero is handed back with one,
    // as the ANSI query does on Windows.
    const bool text = value->type == REG_SZ || value->type == REG_EXPAND_SZ || value->type == REG_MULTI_SZ;
    const bool addZero = text && !value->data.empty() && value->data.back() != 0;
    const DWORD stored = static_cast<DWORD>(value->data.size());
    const DWORD needed = stored + (addZero ? 1 : 0);
    const bool fits = data == nullptr || *size >= needed;
    if (type != nullptr) *type = value->type;
    if (data != nullptr && fits && stored != 0) std::memcpy(data, value->data.data(), stored);
    if (data != nullptr && fits && addZero) data[stored] = 0;
    if (size != nullptr) *size = needed;
    return fits ? ERROR_SUCCESS : ERROR_MORE_DATA;
}

LONG SimRegistry::CreateKey(HKEY root, const char* subKey, DWORD, char* keyClass, DWORD options, REGSAM access,
                            SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) {
    const std::string path = Path(root, subKey);
    creates.push_back(path + " access " + Hex(access) + " class " +
                      (keyClass == nullptr ? std::string("null") : "\"" + std::string(keyClass) + "\"") + " options " +
                      std::to_string(options) + " security " + Security(security));
    if (LONG fault = Fault(RegOp::Create, path, "")) return fault;
    const bool existed = m_keys.count(path) != 0;
    PutKey(path);
    if (disposition != nullptr) *disposition = existed ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *result = NewHandle(path, access);
    return ERROR_SUCCESS;
}

LONG SimRegistry::SetValue(HKEY key, const char* name, DWORD, DWORD type, const BYTE* data, DWORD size) {
    const Handle& handle = Opened(m_handles, key);
    if ((handle.access & KEY_SET_VALUE) == 0) return ERROR_ACCESS_DENIED;
    if (data == nullptr && size != 0) return ERROR_INVALID_PARAMETER;
    const std::string valueName = name == nullptr ? std::string() : name;
    if (LONG fault = Fault(RegOp::Set, handle.path, valueName)) return fault;
    m_keys[handle.path].values[Normal(valueName)] = Value{type, std::vector<BYTE>(data, data + size)};
    return ERROR_SUCCESS;
}

LONG SimRegistry::CloseKey(HKEY key) {
    const std::string path = Opened(m_handles, key).path;
    m_handles.erase(key);
    return Fault(RegOp::Close, path, "");
}
