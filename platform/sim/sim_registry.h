// An in-memory registry hive: keys by case-insensitive path, typed values with
// their raw bytes, access rights per handle, failures injected on demand and a
// count of open handles.
#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>
#include "platform/registry.h"
#include "platform/sim/sim_log.h"

enum class RegOp { Open, Query, Create, Set, Close };

class SimRegistry : public Registry {
public:
    struct Value {
        DWORD type = REG_NONE;
        std::vector<BYTE> data;
    };

    // A fault for an operation on a key path (and value name); 0 lets it run.
    std::function<LONG(RegOp op, const std::string& keyPath, const std::string& valueName)> inject;

    // Test set-up and inspection; paths are below HKEY_LOCAL_MACHINE.
    void PutValue(const std::string& keyPath, const std::string& name, DWORD type, std::vector<BYTE> data);
    void PutString(const std::string& keyPath, const std::string& name, const std::string& text);
    void PutDword(const std::string& keyPath, const std::string& name, DWORD value);
    // Removes the key with its subkeys, or one value.
    void DeleteKey(const std::string& keyPath);
    void DeleteValue(const std::string& keyPath, const std::string& name);
    bool HasKey(const std::string& keyPath) const;
    const Value* GetValue(const std::string& keyPath, const std::string& name) const;
    int OpenHandles() const { return static_cast<int>(m_handles.size()); }
    // Every CreateKey call, as "path access 0x20006 class \"\" options 0
    // security 12,null,0" (the structure's length, descriptor and inheritance).
    std::vector<std::string> creates;

    LONG OpenKey(HKEY root, const char* subKey, DWORD options, REGSAM access, HKEY* result) override;
    LONG QueryValue(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data, DWORD* size) override;
    LONG CreateKey(HKEY root, const char* subKey, DWORD reserved, char* keyClass, DWORD options, REGSAM access,
                   SECURITY_ATTRIBUTES* security, HKEY* result, DWORD* disposition) override;
    LONG SetValue(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) override;
    LONG CloseKey(HKEY key) override;

private:
    struct Key {
        std::map<std::string, Value> values;  // by lower-case name
    };
    struct Handle {
        std::string path;
        REGSAM access;
    };

    static std::string Normal(const std::string& path);
    Key& PutKey(const std::string& keyPath);
    static std::string Path(HKEY root, const char* subKey);
    LONG Fault(RegOp op, const std::string& path, const std::string& name) const;
    HKEY NewHandle(const std::string& path, REGSAM access);

    std::map<std::string, Key> m_keys;  // by normalised path
    std::map<HKEY, Handle> m_handles;
    uintptr_t m_nextHandle = 0x1000;
};
