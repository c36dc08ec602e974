// Files, directory lookups and drive types: the KERNEL32 calls the core makes.
#pragma once
#include "win_types.h"

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // CreateFileA: INVALID_HANDLE_VALUE on any failure.
    virtual HANDLE OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                            DWORD disposition, DWORD flags, HANDLE templateFile) = 0;
    // ReadFile
    virtual BOOL Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) = 0;
    // WriteFile
    virtual BOOL Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) = 0;
    // SetFilePointer: the new position, or INVALID_SET_FILE_POINTER.
    virtual DWORD Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) = 0;
    // SetEndOfFile
    virtual BOOL Truncate(HANDLE file) = 0;
    // CloseHandle
    virtual BOOL CloseFile(HANDLE file) = 0;
    // FindFirstFileA: INVALID_HANDLE_VALUE when nothing matches.
    virtual HANDLE FindFirst(const char* pattern, WIN32_FIND_DATAA* data) = 0;
    // FindNextFileA: FALSE when there is no further entry.
    virtual BOOL FindNext(HANDLE find, WIN32_FIND_DATAA* data) = 0;
    // FindClose
    virtual BOOL FindEnd(HANDLE find) = 0;
    // GetDriveTypeA
    virtual UINT DriveType(const char* rootPath) = 0;
};
