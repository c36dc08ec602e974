#include "sim_files.h"
#include "sim_system_call.h"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

struct SimFiles::Node {
    explicit Node(std::string entryName, bool isDirectory) : name(std::move(entryName)), directory(isDirectory) {}
    std::string name;
    bool directory = false;
    std::string data;
    FILETIME lastWrite{};
    Node* link = nullptr;  // the directory this entry leads to
    std::vector<std::unique_ptr<Node>> children;

    Node* Child(const std::string& wanted) const;
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

}  // namespace

SimFiles::Node* SimFiles::Node::Child(const std::string& wanted) const {
    for (const auto& child : children)
        if (Lower(child->name) == Lower(wanted)) return child->link != nullptr ? child->link : child.get();
    return nullptr;
}

SimFiles::SimFiles() = default;
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

// The entry the first count parts lead to on the drive, or null.
SimFiles::Node* SimFiles::Walk(int drive, const std::vector<std::string>& parts, size_t count) const {
    Node* node = m_volumes[drive].get();
    for (size_t i = 0; node != nullptr && i < count; ++i) node = node->directory ? node->Child(parts[i]) : nullptr;
    return node;
}

SimFiles::Node* SimFiles::Lookup(const std::string& path) const {
    int drive;
    std::vector<std::string> parts;
    return Split(path, drive, parts) ? Walk(drive, parts, parts.size()) : nullptr;
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
        if (child == nullptr) child = node->Add(part, true);
        if (!child->directory) return nullptr;
        node = child;
    }
    return node;
}

void SimFiles::AddVolume(char letter, UINT driveType) {
    const int drive = std::toupper(static_cast<unsigned char>(letter)) - 'A';
    m_types[drive] = driveType;
    if (!m_volumes[drive]) m_volumes[drive] = std::make_unique<Node>("", true);
}

void SimFiles::AddDirectory(const std::string& path) {
    std::string leaf;
    Node* parent = MakeParents(path, leaf);
    if (parent != nullptr && parent->Child(leaf) == nullptr) parent->Add(leaf, true);
}

void SimFiles::AddFile(const std::string& path, const std::string& content, FILETIME lastWrite) {
    std::string leaf;
    Node* parent = MakeParents(path, leaf);
    if (parent == nullptr) return;
    Node* node = parent->Child(leaf);
    if (node == nullptr) node = parent->Add(leaf, false);
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
    parent->Add(leaf, destination->directory)->link = destination;
}

std::string SimFiles::Content(const std::string& path) const {
    Node* node = Lookup(path);
    return node == nullptr ? std::string() : node->data;
}

// Sharing is not simulated: the programs open each file once, and a test makes
// another program's hold an injected ERROR_SHARING_VIOLATION.
HANDLE SimFiles::OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD disposition,
                          DWORD flags, HANDLE) {
    const SimSystemCall call;
    const std::string name = path == nullptr ? std::string() : path;
    opens.push_back(name + " access " + Hex(access) + " share " + std::to_string(share) + " security " +
                    Security(security) + " disposition " + std::to_string(disposition) + " flags " + Hex(flags));
    const FileFault fault = Fault(FileOp::Open, name);
    if (fault.fail) return Fail(fault.error), INVALID_HANDLE_VALUE;
    int drive;
    std::vector<std::string> parts;
    if (!Split(name, drive, parts)) return Fail(ERROR_FILENAME_EXCED_RANGE), INVALID_HANDLE_VALUE;
    Node* node = Lookup(name);
    if (node == nullptr && disposition == OPEN_EXISTING) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    if (node == nullptr) {
        Node* parent = Walk(drive, parts, parts.size() - 1);
        if (parent == nullptr || !parent->directory) return Fail(ERROR_PATH_NOT_FOUND), INVALID_HANDLE_VALUE;
        node = parent->Add(parts.back(), false);
    }
    if (node->directory) return Fail(ERROR_ACCESS_DENIED), INVALID_HANDLE_VALUE;
    if (disposition == CREATE_ALWAYS) node->data.clear();
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
    if ((state.access & (writing ? GENERIC_WRITE : GENERIC_READ)) == 0) return Fail(ERROR_ACCESS_DENIED);
    const FileFault fault = Fault(writing ? FileOp::Write : FileOp::Read, state.path);
    std::string& data = state.node->data;
    const size_t left = writing ? wanted : state.position < data.size() ? data.size() - state.position : 0;
    const size_t count = std::min<size_t>({wanted, left, fault.limit});
    if (writing && data.size() < state.position + count) data.resize(state.position + count, '\0');
    if (count != 0) std::memcpy(writing ? &data[state.position] : in, writing ? out : &data[state.position], count);
    state.position += count;
    if (moved != nullptr) *moved = static_cast<DWORD>(count);
    return fault.fail ? Fail(fault.error) : TRUE;
}

DWORD SimFiles::Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
    const SimSystemCall call;
    OpenFileState& state = *Opened(m_files, file);
    const FileFault fault = Fault(FileOp::Seek, state.path);
    if (fault.fail) return Fail(fault.error), INVALID_SET_FILE_POINTER;
    // The programs seek from the start, to under 2 GiB.
    if (method != FILE_BEGIN || distanceHigh != nullptr) throw SimUnexpected("a seek that is not simulated");
    if (distance < 0) return Fail(ERROR_INVALID_PARAMETER), INVALID_SET_FILE_POINTER;
    state.position = static_cast<size_t>(distance);
    return static_cast<DWORD>(distance);
}

BOOL SimFiles::Truncate(HANDLE file) {
    const SimSystemCall call;
    OpenFileState& state = *Opened(m_files, file);
    if ((state.access & GENERIC_WRITE) == 0) return Fail(ERROR_ACCESS_DENIED);
    const FileFault fault = Fault(FileOp::Truncate, state.path);
    if (fault.fail) return Fail(fault.error);
    state.node->data.resize(state.position, '\0');
    return TRUE;
}

BOOL SimFiles::CloseFile(HANDLE file) {
    const SimSystemCall call;
    const std::string path = Opened(m_files, file)->path;
    m_files.erase(file);
    const FileFault fault = Fault(FileOp::Close, path);
    return fault.fail ? Fail(fault.error) : TRUE;
}

HANDLE SimFiles::FindFirst(const char* pattern, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    const std::string text = pattern == nullptr ? std::string() : pattern;
    const FileFault fault = Fault(FileOp::FindFirst, text);
    if (fault.fail) return Fail(fault.error), INVALID_HANDLE_VALUE;
    int drive;
    std::vector<std::string> parts;
    if (!Split(text, drive, parts)) return Fail(ERROR_FILENAME_EXCED_RANGE), INVALID_HANDLE_VALUE;
    if (parts.empty() || text.back() == '\\' || text.back() == '/')
        return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    const char* leaf = parts.back().c_str();
    Node* directory = Walk(drive, parts, parts.size() - 1);
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
    // A root directory has no "." and "..".
    if (directory != m_volumes[drive].get())
        for (const char* dots : {".", ".."})
            if (Matches(leaf, dots)) add(dots, *directory);
    for (const auto& child : directory->children)
        if (Matches(leaf, child->name.c_str())) add(child->name, *child);
    if (state->entries.empty()) return Fail(ERROR_FILE_NOT_FOUND), INVALID_HANDLE_VALUE;
    *data = state->entries[0];
    HANDLE handle = NewHandle();
    m_finds[handle] = std::move(state);
    return handle;
}

BOOL SimFiles::FindNext(HANDLE find, WIN32_FIND_DATAA* data) {
    const SimSystemCall call;
    FindState& state = *Opened(m_finds, find);
    const FileFault fault = Fault(FileOp::FindNext, state.pattern);
    if (fault.fail) return Fail(fault.error);
    if (state.next >= state.entries.size()) return Fail(ERROR_NO_MORE_FILES);
    *data = state.entries[state.next++];
    return TRUE;
}

BOOL SimFiles::FindEnd(HANDLE find) {
    const SimSystemCall call;
    const std::string pattern = Opened(m_finds, find)->pattern;
    m_finds.erase(find);
    const FileFault fault = Fault(FileOp::FindClose, pattern);
    return fault.fail ? Fail(fault.error) : TRUE;
}

UINT SimFiles::DriveType(const char* rootPath) {
    const SimSystemCall call;
    const int drive = rootPath == nullptr ? -1 : std::toupper(static_cast<unsigned char>(rootPath[0])) - 'A';
    const bool root = drive >= 0 && drive < 26 && std::string(rootPath + 1) == ":\\";
    return root && m_volumes[drive] ? m_types[drive] : DRIVE_NO_ROOT_DIR;
}
