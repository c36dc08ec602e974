#include "sim_files.h"
#include "sim_system_call.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

struct SimFiles::Node {
    std::string name;
    bool directory = false;
    std::string data;
    FILETIME lastWrite{};
    Node* link = nullptr;  // the directory this entry leads to
    std::vector<std::unique_ptr<Node>> children;

    Node* Child(const std::string& wanted) const;
};

struct SimFiles::OpenFileState {
    Node* node;
    std::string path;
    DWORD access;
    DWORD share;
    size_t position = 0;
};

struct SimFiles::FindState {
    std::string pattern;
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 1;
};

namespace {

std::string Lower(const std::string& text) {
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

// The wildcard rule of a directory listing: "*" any run, "?" any one character,
// letter case ignored.
bool Matches(const char* pattern, const char* name) {
    for (; *pattern != '\0'; ++pattern, ++name) {
        if (*pattern == '*') {
            for (const char* rest = name;; ++rest) {
                if (Matches(pattern + 1, rest)) return true;
                if (*rest == '\0') return false;
            }
        }
        if (*name == '\0') return false;
        if (*pattern != '?' && std::tolower(static_cast<unsigned char>(*pattern)) !=
                                   std::tolower(static_cast<unsigned char>(*name)))
            return false;
    }
    return *name == '\0';
}

bool HasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

}  // namespace

SimFiles::Node* SimFiles::Node::Child(const std::string& wanted) const {
    for (const auto& child : children)
        if (Lower(child->name) == Lower(wanted)) return child->link != nullptr ? child->link : child.get();
    return nullptr;
}

SimFiles::SimFiles() {
    for (UINT& type : m_types) type = DRIVE_NO_ROOT_DIR;
}

SimFiles::~SimFiles() = default;

bool SimFiles::Fail(DWORD error) {
    m_lastError = error;
    return false;
}

FileFault SimFiles::Fault(FileOp op, const std::string& path) const { return inject ? inject(op, path) : FileFault{}; }

HANDLE SimFiles::NewHandle() {
    HANDLE handle = reinterpret_cast<HANDLE>(m_nextHandle);
    m_nextHandle += 4;
    return handle;
}

// "C:\a\b" and "c:/a//b" both give drive 2 and {a, b}; a path without a drive
// lies on C:, the current drive of the simulated machine.
bool SimFiles::Split(const std::string& path, int& drive, std::vector<std::string>& parts) const {
    if (path.size() >= MAX_PATH) return false;
    size_t at = 0;
    drive = 2;
    if (path.size() >= 2 && path[1] == ':') {
        const int letter = std::toupper(static_cast<unsigned char>(path[0]));
        if (letter < 'A' || letter > 'Z') return false;
        drive = letter - 'A';
        at = 2;
    }
    parts.clear();
    std::string part;
    for (; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '\\' || path[at] == '/') {
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += path[at];
        }
    }
    return true;
}

SimFiles::Node* SimFiles::Lookup(const std::string& path) const {
    int drive;
    std::vector<std::string> parts;
    if (!Split(path, drive, parts) || !m_volumes[drive]) return nullptr;
    Node* node = m_volumes[drive].get();
    for (const std::string& part : parts) {
        if (!node->directory) return nullptr;
        node = node->Child(part);
        if (node == nullptr) return nullptr;
    }
    return node;
}

SimFiles::Node* SimFiles::MakeParents(const std::string& path, std::string& leaf) {
    int drive;
    std::vector<std::string> parts;
    if (!Split(path, drive, parts) || !m_volumes[drive] || parts.empty()) return nullptr;
    leaf = parts.back();
    parts.pop_back();
    Node* node = m_volumes[drive].get();
    for (const std::string& part : parts) {
        Node* child = node->Child(part);
        if (child == nullptr) {
            node->children.push_back(std::make_unique<Node>());
            child = node->children.back().get();
            child->name = part;
            child->directory = true;
        }
        if (!child->directory) return nullptr;
        node = child;
    }
    return node;
}

void SimFiles::AddVolume(char letter, UINT driveType) {
    const int drive = std::toupper(static_cast<unsigned char>(letter)) - 'A';
    m_types[drive] = driveType;
    if (!m_volumes[drive]) {
        m_volumes[drive] = std::make_unique<Node>();
        m_volumes[drive]->directory = true;
    }
}

void SimFiles::AddDirectory(const std::string& path) {
    std::string leaf;
    Node* parent = MakeParents(path, leaf);
    if (parent == nullptr || parent->Child(leaf) != nullptr) return;
    parent->children.push_back(std::make_unique<Node>());
    parent->children.back()->name = leaf;
    parent->children.back()->directory = true;
}

void SimFiles::AddFile(const std::string& path, const std::string& content, FILETIME lastWrite) {
    std::string leaf;
    Node* parent = MakeParents(path, leaf);
    if (parent == nullptr) return;
    Node* node = parent->Child(leaf);
    if (node == nullptr) {
        parent->children.push_back(std::make_unique<Node>());
        node = parent->children.back().get();
        node->name = leaf;
    }
    node->data = content;
    node->lastWrite = lastWrite;
}


void SimFiles::SetLastWrite(const std::string& path, FILETIME lastWrite) {
    if (Node* node = Lookup(path)) node->lastWrite = lastWrite;
}

void SimFiles::AddLink(const std::string& path, const std::string& target) {
    std::string leaf;
    Node* parent = MakeParents(path, leaf);
    Node* destination = Lookup(target);
    if (parent == nullptr || destination == nullptr || parent->Child(leaf) != nullptr) return;
    parent->children.push_back(std::make_unique<Node>());
    parent->children.back()->name = leaf;
    parent->children.back()->directory = destination->directory;
    parent->children.back()->link = destination;
}

void SimFiles::HoldOpen(const std::string& path) {
    HANDLE handle = OpenFile(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle != INVALID_HANDLE_VALUE) m_held[Lower(path)] = handle;
}

void SimFiles::Release(const std::string& path) {
    auto held = m_held.find(Lower(path));
    if (held == m_held.end()) return;
    CloseFile(held->second);
    m_held.erase(held);
}

std::string SimFiles::Content(const std::string& path) const {
    Node* node = Lookup(path);
    return node == nullptr ? std::string() : node->data;
}

HANDLE SimFiles::OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD disposition,
                          DWORD flags, HANDLE) {
    const SimSystemCall call;
    const std::string name = path == nullptr ? std::string() : path;
    char numbers[64];
    std::snprintf(numbers, sizeof(numbers), "access 0x%lx share %lu", static_cast<unsigned long>(access),
                  static_cast<unsigned long>(share));
    std::string record = name + " " + numbers + " security ";
    record += security == nullptr ? std::string("none")
                                : std::to_string(security->nLength) +
                                      (security->lpSecurityDescriptor != nullptr ? ",set," : ",null,") +
                                      std::to_string(security->bInheritHandle);
    std::snprintf(numbers, sizeof(numbers), " disposition %lu flags 0x%lx", static_cast<unsigned long>(disposition),
                  static_cast<unsigned long>(flags));
    opens.push_back(record + numbers);
    FileFault fault = Fault(FileOp::Open, name);
    if (fault.fail) return Fail(fault.error), INVALID_HANDLE_VALUE;
    int drive;
    std::vector<std::string> parts;
    if (!Split(name, drive, parts)) return Fail(ERROR_FILENAME_EXCED_RANGE), INVALID_HANDLE_VALUE;
    Node* node = Lookup(name);
    if (node == nullptr) {
        if (disposition == OPEN_EXISTING) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
        Node* parent = Lookup(name.substr(0, name.find_last_of("\\/") == std::string::npos
                                                 ? 0
                                                 : name.find_last_of("\\/")));
        if (parent == nullptr || !parent->directory) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
        AddFile(name, std::string());
        node = Lookup(name);
    }
    if (node->directory) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    for (const auto& open : m_files) {
        if (open.second->node != node) continue;
        const OpenFileState& other = *open.second;
        const bool theyRefuse = ((access & GENERIC_READ) && !(other.share & FILE_SHARE_READ)) ||
                                ((access & GENERIC_WRITE) && !(other.share & FILE_SHARE_WRITE));
        const bool weRefuse = ((other.access & GENERIC_READ) && !(share & FILE_SHARE_READ)) ||
                              ((other.access & GENERIC_WRITE) && !(share & FILE_SHARE_WRITE));
        if (theyRefuse || weRefuse) return Fail(ERROR_SHARING_VIOLATION), INVALID_HANDLE_VALUE;
    }
    if (disposition == CREATE_ALWAYS) node->data.clear();
    HANDLE handle = NewHandle();
    m_files[handle] = std::make_unique<OpenFileState>(OpenFileState{node, name, access, share});
    return handle;
}

BOOL SimFiles::Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
    const SimSystemCall call;
    auto open = m_files.find(file);
    if (read != nullptr) *read = 0;
    if (open == m_files.end()) return Fail(ERROR_INVALID_HANDLE);
    OpenFileState& state = *open->second;
    if ((state.access & GENERIC_READ) == 0) return Fail(ERROR_ACCESS_DENIED);
    FileFault fault = Fault(FileOp::Read, state.path);
    const std::string& data = state.node->data;
    size_t count = state.position < data.size() ? std::min<size_t>(toRead, data.size() - state.position) : 0;
    count = std::min<size_t>(count, fault.limit);
    if (count != 0) std::memcpy(buffer, data.data() + state.position, count);
    state.position += count;
    if (read != nullptr) *read = static_cast<DWORD>(count);
    if (fault.fail) return Fail(fault.error);
    return TRUE;
}

BOOL SimFiles::Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) {
    const SimSystemCall call;
    auto open = m_files.find(file);
    if (written != nullptr) *written = 0;
    if (open == m_files.end()) return Fail(ERROR_INVALID_HANDLE);
    OpenFileState& state = *open->second;
    if ((state.access & GENERIC_WRITE) == 0) return Fail(ERROR_ACCESS_DENIED);
    FileFault fault = Fault(FileOp::Write, state.path);
    const size_t count = std::min<size_t>(toWrite, fault.limit);
    std::string& data = state.node->data;
    if (data.size() < state.position + count) data.resize(state.position + count, '\0');
    if (count != 0) std::memcpy(&data[state.position], buffer, count);
    state.position += count;
    if (written != nullptr) *written = static_cast<DWORD>(count);
    if (fault.fail) return Fail(fault.error);
    return TRUE;
}

DWORD SimFiles::Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
    const SimSystemCall call;
    auto open = m_files.find(file);
    if (open == m_files.end()) return Fail(ERROR_INVALID_HANDLE), INVALID_SET_FILE_POINTER;
    OpenFileState& state = *open->second;
    FileFault fault = Fault(FileOp::Seek, state.path);
    if (fault.fail) return Fail(fault.error), INVALID_SET_FILE_POINTER;
    // The programs seek from the start only.
    if (method != FILE_BEGIN) return Fail(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    long long target = distance;
    if (distanceHigh != nullptr) target = (static_cast<long long>(*distanceHigh) << 32) | static_cast<DWORD>(distance);
    if (target < 0 || target >= 0xFFFFFFFFLL) return Fail(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    state.position = static_cast<size_t>(target);
    if (distanceHigh != nullptr) *distanceHigh = 0;
    return static_cast<DWORD>(target);
}

BOOL SimFiles::Truncate(HANDLE file) {
    const SimSystemCall call;
    auto open = m_files.find(file);
    if (open == m_files.end()) return Fail(ERROR_INVALID_HANDLE);
    OpenFileState& state = *open->second;
    if ((state.access & GENERIC_WRITE) == 0) return Fail(ERROR_ACCESS_DENIED);
    FileFault fault = Fault(FileOp::Truncate, state.path);
    if (fault.fail) return Fail(fault.error);
    state.node->data.resize(state.position, '\0');
    return TRUE;
}

BOOL SimFiles::CloseFile(HANDLE file) {
    const SimSystemCall call;
    auto open = m_files.find(file);
    if (open == m_files.end()) return Fail(ERROR_INVALID_HANDLE);
    const std::string path = open->second->path;
    m_files.erase(open);
    FileFault fault = Fault(FileOp::Close, path);
    return fault.fail ? Fail(fault.error) : TRUE;
}

HANDLE SimFiles::FindFirst(const char* pattern, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    const std::string text = pattern == nullptr ? std::string() : pattern;
    FileFault fault = Fault(FileOp::FindFirst, text);
    if (fault.fail) return Fail(fault.error), INVALID_HANDLE_VALUE;
    int drive;
    std::vector<std::string> parts;
    if (!Split(text, drive, parts)) return Fail(ERROR_FILENAME_EXCED_RANGE), INVALID_HANDLE_VALUE;
    if (text.empty() || text.back() == '\\' || text.back() == '/' || parts.empty())
        return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    const std::string leaf = parts.back();
    const size_t cut = text.find_last_of("\\/");
    std::string directoryPath = cut == std::string::npos ? std::string() : text.substr(0, cut + 1);
    if (directoryPath.empty() && text.size() >= 2 && text[1] == ':') directoryPath = text.substr(0, 2);
    Node* directory = Lookup(directoryPath);
    if (directory == nullptr || !directory->directory) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;

    auto state = std::make_unique<FindState>();
    state->pattern = text;
    auto add = [&](const std::string& name, const Node& entered) {
        const Node& node = entered.link != nullptr ? *entered.link : entered;
        WIN32_FIND_DATAA entry{};
        entry.dwFileAttributes = node.directory ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        if (entered.link != nullptr) entry.dwFileAttributes |= FILE_ATTRIBUTE_REPARSE_POINT;
        entry.ftLastWriteTime = node.lastWrite;
        entry.nFileSizeLow = static_cast<DWORD>(node.data.size());
        std::strncpy(entry.cFileName, name.c_str(), MAX_PATH - 1);
        state->entries.push_back(entry);
    };
    const bool isRoot = directory == m_volumes[drive].get();
    if (HasWildcard(leaf)) {
        if (!isRoot) {
            if (Matches(leaf.c_str(), ".")) add(".", *directory);
            if (Matches(leaf.c_str(), "..")) add("..", *directory);
        }
        for (const auto& child : directory->children)
            if (Matches(leaf.c_str(), child->name.c_str()))
                add(child->name, *child);
    } else {
        for (const auto& child : directory->children)
            if (Lower(child->name) == Lower(leaf)) add(child->name, *child);
    }
    if (state->entries.empty()) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    *data = state->entries[0];
    HANDLE handle = NewHandle();
    m_finds[handle] = std::move(state);
    return handle;
}

BOOL SimFiles::FindNext(HANDLE find, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    auto open = m_finds.find(find);
    if (open == m_finds.end()) return Fail(ERROR_INVALID_HANDLE);
    FindState& state = *open->second;
    FileFault fault = Fault(FileOp::FindNext, state.pattern);
    if (fault.fail) return Fail(fault.error);
    if (state.next >= state.entries.size()) return Fail(ERROR_NO_MORE_FILES);
    *data = state.entries[state.next++];
    return TRUE;
}

BOOL SimFiles::FindEnd(HANDLE find) {
    const SimSystemCall call;
    auto open = m_finds.find(find);
    if (open == m_finds.end()) return Fail(ERROR_INVALID_HANDLE);
    const std::string pattern = open->second->pattern;
    m_finds.erase(open);
    FileFault fault = Fault(FileOp::FindClose, pattern);
    return fault.fail ? Fail(fault.error) : TRUE;
}

UINT SimFiles::DriveType(const char* rootPath) {
    const SimSystemCall call;
    if (rootPath == nullptr || std::strlen(rootPath) != 3 || rootPath[1] != ':' || rootPath[2] != '\\')
        return DRIVE_NO_ROOT_DIR;
    const int letter = std::toupper(static_cast<unsigned char>(rootPath[0]));
    if (letter < 'A' || letter > 'Z') return DRIVE_NO_ROOT_DIR;
    return m_types[letter - 'A'];
}
