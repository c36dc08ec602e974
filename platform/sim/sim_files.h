// Simulated volumes A: to Z: with drive types and file trees: case-insensitive
// names, wildcard lookups in an order the test sets, failures injected per call
// (another program holding a file open is an injected ERROR_SHARING_VIOLATION),
// and a count of open handles.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>
#include "platform/files.h"
#include "platform/sim/sim_log.h"

enum class FileOp { Open, Read, Write, Seek, Truncate, Close, FindFirst, FindNext, FindClose };

struct FileFault {
    bool fail = false;         // the call fails, with this error (which the programs never ask for)
    DWORD error = 0;
    DWORD limit = 0xFFFFFFFF;  // a read or write moves at most this many bytes first
};

class SimFiles : public FileSystem {
public:
    SimFiles();
    ~SimFiles() override;

    // A fault for a call on a path (for handle calls, the path it was opened with).
    std::function<FileFault(FileOp op, const std::string& path)> inject;

    // Every OpenFile call, as "path access 0xc0000000 share 0 security 12,null,0
    // disposition 3 flags 0x8000080" (the structure's length, descriptor and inheritance).
    std::vector<std::string> opens;

    // Test set-up: a volume must exist before anything is put on it. Entries are
    // enumerated in the order they were added.
    void AddVolume(char letter, UINT driveType);
    void AddDirectory(const std::string& path);
    void AddFile(const std::string& path, const std::string& content, FILETIME lastWrite = FILETIME{});
    // The last-write time that directory lookups report for the entry.
    void SetLastWrite(const std::string& path, FILETIME lastWrite);
    // An entry that leads to another directory or file, as a symbolic link or a
    // junction does (reported as a reparse point); it can make a directory
    // contain itself.
    void AddLink(const std::string& path, const std::string& target);

    std::string Content(const std::string& path) const;
    // Handles the programs opened and did not close.
    int OpenHandles() const { return static_cast<int>(m_files.size() + m_finds.size()); }

    HANDLE OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security, DWORD disposition,
                    DWORD flags, HANDLE templateFile) override;
    BOOL Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) override;
    BOOL Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) override;
    DWORD Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) override;
    BOOL Truncate(HANDLE file) override;
    BOOL CloseFile(HANDLE file) override;
    HANDLE FindFirst(const char* pattern, WIN32_FIND_DATAA* data) override;
    BOOL FindNext(HANDLE find, WIN32_FIND_DATAA* data) override;
    BOOL FindEnd(HANDLE find) override;
    UINT DriveType(const char* rootPath) override;

private:
    struct Node;
    struct OpenFileState;
    struct FindState;

    static std::vector<std::string> Split(const std::string& path);
    Node* Walk(const std::vector<std::string>& parts, size_t count) const;
    Node* Lookup(const std::string& path) const;
    Node* Make(const std::vector<std::string>& parts, size_t count);
    FileFault Fault(FileOp op, const std::string& path) const;
    BOOL Transfer(HANDLE file, bool writing, char* in, const char* out, DWORD wanted, DWORD* moved);
    HANDLE NewHandle();

    std::unique_ptr<Node> m_root;
    UINT m_types[26] = {};
    std::map<HANDLE, std::unique_ptr<OpenFileState>> m_files;
    std::map<HANDLE, std::unique_ptr<FindState>> m_finds;
    uintptr_t m_nextHandle = 0x100;
};
