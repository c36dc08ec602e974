#include "sim_files.h"
#include "sim_system_call.h"
#include <algorithm>
#include <strings.h>
#include <cctype>
#include <cstring>

namespace {

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

}  // namespace

struct SimFiles::Node {
    explicit Node(std::string entryName, bool isDirectory) : name(std::move(entryName)), directory(isDirectory) {}
    std::string name;
    bool directory = false;
    std::string data;
    FILETIME lastWrite{};
    Node* link = nullptr;  // the directory this entry leads to
    std::vector<std::unique_ptr<Node>> children;

    // The entry of that name, letter case ignored; the target of a link.
    Node* Child(const std::string& wanted) const {
        for (const auto& child : children)
            if (strcasecmp(child->name.c_str(), wanted.c_str()) == 0)
                return child->link != nullptr ? child->link : child.get();
        return nullptr;
    }
    Node* Add(const std::string& childName, bool isDirectory) {
        children.push_back(std::make_unique<Node>(childName, isDirectory));
        return children.back().get();
    }
};

struct SimFiles::OpenFileState {
    Node* node;
    std::string path;
    DWORD access;
    size_t position = 0;
};

struct SimFiles::FindState {
    std::string pattern;
    std::vector<WIN32_FIND_DATAA> entries;
    size_t next = 1;
};

// The volumes are the directories of one root, named by their letters.
SimFiles::SimFiles() : m_root(std::make_unique<Node>("", true)) {}
SimFiles::~SimFiles() = default;

FileFault SimFiles::Fault(FileOp op, const std::string& path) const { return inject ? inject(op, path) : FileFault{}; }

HANDLE SimFiles::NewHandle() {
    HANDLE handle = reinterpret_cast<HANDLE>(m_nextHandle);
    m_nextHandle += 4;
    return handle;
}

// "C:\a\b" and "c:/a//b" both give {c, a, b}; a path without a drive lies on C:,
// the current drive of the simulated machine. Nothing for a path too long or
// with no letter before its colon.
std::vector<std::string> SimFiles::Split(const std::string& path) {
    const bool lettered = path.size() >= 2 && path[1] == ':';
    if (path.size() >= MAX_PATH || (lettered && !std::isalpha(static_cast<unsigned char>(path[0])))) return {};
    std::vector<std::string> parts{lettered ? path.substr(0, 1) : "c"};
    std::string part;
    for (size_t at = lettered ? 2 : 0; at <= path.size(); ++at) {
        if (at == path.size() || path[at] == '\\' || path[at] == '/') {
            if (!part.empty() && part != ".") parts.push_back(part);
            part.clear();
        } else {
            part += path[at];
        }
    }
    return parts;
}

// The entry the first count parts lead to, or null.
SimFiles::Node* SimFiles::Walk(const std::vector<std::string>& parts, size_t count) const {
    Node* node = count == 0 || count > parts.size() ? nullptr : m_root.get();
    for (size_t i = 0; node != nullptr && i < count; ++i) node = node->directory ? node->Child(parts[i]) : nullptr;
    return node;
}

SimFiles::Node* SimFiles::Lookup(const std::string& path) const {
    const std::vector<std::string> parts = Split(path);
    return Walk(parts, parts.size());
}

// The directory the first count parts name, made where missing on an existing
// volume; null when a file is in the way.
SimFiles::Node* SimFiles::Make(const std::vector<std::string>& parts, size_t count) {
    Node* node = count == 0 || count > parts.size() ? nullptr : m_root->Child(parts[0]);
    for (size_t i = 1; node != nullptr && i < count; ++i) {
        Node* child = node->Child(parts[i]);
        node = child == nullptr ? node->Add(parts[i], true) : child->directory ? child : nullptr;
    }
    return node;
}

void SimFiles::AddVolume(char letter, UINT driveType) {
    m_types[std::toupper(static_cast<unsigned char>(letter)) - 'A'] = driveType;
    if (m_root->Child(std::string(1, letter)) == nullptr) m_root->Add(std::string(1, letter), true);
}

void SimFiles::AddDirectory(const std::string& path) {
    const std::vector<std::string> parts = Split(path);
    Make(parts, parts.size());
}

void SimFiles::AddFile(const std::string& path, const std::string& content, FILETIME lastWrite) {
    const std::vector<std::string> parts = Split(path);
    Node* parent = Make(parts, parts.size() - 1);
    if (parent == nullptr) return;
    Node* node = parent->Child(parts.back());
    if (node == nullptr) node = parent->Add(parts.back(), false);
    node->data = content;
    node->lastWrite = lastWrite;
}

void SimFiles::SetLastWrite(const std::string& path, FILETIME lastWrite) {
    if (Node* node = Lookup(path)) node->lastWrite = lastWrite;
}

void SimFiles::AddLink(const std::string& path, const std::string& target) {
    const std::vector<std::string> parts = Split(path);
    Node* parent = Make(parts, parts.size() - 1);
    Node* destination = Lookup(target);
    if (parent == nullptr || destination == nullptr || parent->Child(parts.back()) != nullptr) return;
    parent->Add(parts.back(), destination->directory)->link = destination;
}

std::string SimFiles::Content(const std::string& path) const {
    Node* node = Lookup(path);
    return node == nullptr ? std::string() : node->data;
}

// Sharing is not simulated: the programs open each file once, and a test makes
// another program's hold an injected ERROR_SHARING_VIOLATION. The programs never
// ask for the last error, so the simulation names it in comments only.
HANDLE SimFiles::OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD disposition,
                          DWORD flags, HANDLE) {
    const SimSystemCall call;
    const std::string name = path == nullptr ? std::string() : path;
    opens.push_back(name + " access " + Hex(access) + " share " + std::to_string(share) + " security " +
                    Security(security) + " disposition " + std::to_string(disposition) + " flags " + Hex(flags));
    const FileFault fault = Fault(FileOp::Open, name);
    const std::vector<std::string> parts = Split(name);
    if (fault.fail || parts.empty()) return INVALID_HANDLE_VALUE;  // or ERROR_FILENAME_EXCED_RANGE
    // The programs create no files; the tests lay theirs out with AddFile.
    if (disposition != OPEN_EXISTING) throw SimUnexpected("a file opened with disposition " + Hex(disposition));
    Node* node = Walk(parts, parts.size());
    if (node == nullptr) return INVALID_HANDLE_VALUE;  // ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND
    if (node->directory) return INVALID_HANDLE_VALUE;  // ERROR_ACCESS_DENIED
    HANDLE handle = NewHandle();
    m_files[handle] = std::make_unique<OpenFileState>(OpenFileState{node, name, access});
    return handle;
}

BOOL SimFiles::Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
    return Transfer(file, false, static_cast<char*>(buffer), nullptr, toRead, read);
}

BOOL SimFiles::Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) {
    return Transfer(file, true, nullptr, static_cast<const char*>(buffer), toWrite, written);
}

// A read or a write: an injected fault's limit cuts it short, and its failure
// is reported after the bytes moved.
BOOL SimFiles::Transfer(HANDLE file, bool writing, char* in, const char* out, DWORD wanted, DWORD* moved) {
    const SimSystemCall call;
    OpenFileState& state = *Opened(m_files, file);
    if (moved != nullptr) *moved = 0;
    if ((state.access & (writing ? GENERIC_WRITE : GENERIC_READ)) == 0) return FALSE;  // ERROR_ACCESS_DENIED
    const FileFault fault = Fault(writing ? FileOp::Write : FileOp::Read, state.path);
    std::string& data = state.node->data;
    const size_t left = writing ? wanted : state.position < data.size() ? data.size() - state.position : 0;
    const size_t count = std::min<size_t>({wanted, left, fault.limit});
    if (writing && data.size() < state.position + count) data.resize(state.position + count, '\0');
    if (count != 0) std::memcpy(writing ? &data[state.position] : in, writing ? out : &data[state.position], count);
    state.position += count;
    if (moved != nullptr) *moved = static_cast<DWORD>(count);
    return fault.fail ? FALSE : TRUE;
}

DWORD SimFiles::Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
    const SimSystemCall call;
    OpenFileState& state = *Opened(m_files, file);
    const FileFault fault = Fault(FileOp::Seek, state.path);
    // The programs seek from the start, to under 2 GiB.
    if (method != FILE_BEGIN || distanceHigh != nullptr) throw SimUnexpected("a seek that is not simulated");
    if (fault.fail || distance < 0) return INVALID_SET_FILE_POINTER;  // or ERROR_NEGATIVE_SEEK
    state.position = static_cast<size_t>(distance);
    return static_cast<DWORD>(distance);
}

BOOL SimFiles::Truncate(HANDLE file) {
    const SimSystemCall call;
    OpenFileState& state = *Opened(m_files, file);
    if ((state.access & GENERIC_WRITE) == 0 || Fault(FileOp::Truncate, state.path).fail) return FALSE;
    state.node->data.resize(state.position, '\0');
    return TRUE;
}

BOOL SimFiles::CloseFile(HANDLE file) {
    const SimSystemCall call;
    const std::string path = Opened(m_files, file)->path;
    m_files.erase(file);
    return Fault(FileOp::Close, path).fail ? FALSE : TRUE;
}

HANDLE SimFiles::FindFirst(const char* pattern, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    const std::string text = pattern == nullptr ? std::string() : pattern;
    const std::vector<std::string> parts = Split(text);
    // No lookup for a path too long or one that names no entry in a directory.
    if (Fault(FileOp::FindFirst, text).fail || parts.size() < 2 || text.back() == '\\' || text.back() == '/')
        return INVALID_HANDLE_VALUE;
    const char* leaf = parts.back().c_str();
    Node* directory = Walk(parts, parts.size() - 1);
    if (directory == nullptr || !directory->directory) return INVALID_HANDLE_VALUE;  // ERROR_PATH_NOT_FOUND

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
    // A root directory has no "." and "..".
    if (parts.size() > 2)
        for (const char* dots : {".", ".."})
            if (Matches(leaf, dots)) add(dots, *directory);
    for (const auto& child : directory->children)
        if (Matches(leaf, child->name.c_str())) add(child->name, *child);
    if (state->entries.empty()) return INVALID_HANDLE_VALUE;  // ERROR_FILE_NOT_FOUND
    *data = state->entries[0];
    HANDLE handle = NewHandle();
    m_finds[handle] = std::move(state);
    return handle;
}

BOOL SimFiles::FindNext(HANDLE find, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    FindState& state = *Opened(m_finds, find);
    // Past the last entry: ERROR_NO_MORE_FILES.
    if (Fault(FileOp::FindNext, state.pattern).fail || state.next >= state.entries.size()) return FALSE;
    *data = state.entries[state.next++];
    return TRUE;
}

BOOL SimFiles::FindEnd(HANDLE find) {
    const SimSystemCall call;
    const std::string pattern = Opened(m_finds, find)->pattern;
    m_finds.erase(find);
    return Fault(FileOp::FindClose, pattern).fail ? FALSE : TRUE;
}

UINT SimFiles::DriveType(const char* rootPath) {
    const SimSystemCall call;
    const int drive = rootPath == nullptr ? -1 : std::toupper(static_cast<unsigned char>(rootPath[0])) - 'A';
    const bool root = drive >= 0 && drive < 26 && std::string(rootPath + 1) == ":\\";
    return root && m_root->Child(std::string(1, rootPath[0])) != nullptr ? m_types[drive] : DRIVE_NO_ROOT_DIR;
}
