#include "win32_platform.h"

HANDLE Win32Files::OpenFile(const char* path, DWORD access, DWORD share, SECURITY_ATTRIBUTES* security,
                            DWORD disposition, DWORD flags, HANDLE templateFile) {
    return CreateFileA(path, access, share, security, disposition, flags, templateFile);
}

BOOL Win32Files::Read(HANDLE file, void* buffer, DWORD toRead, DWORD* read) {
    return ReadFile(file, buffer, toRead, read, nullptr);
}

BOOL Win32Files::Write(HANDLE file, const void* buffer, DWORD toWrite, DWORD* written) {
    return WriteFile(file, buffer, toWrite, written, nullptr);
}

DWORD Win32Files::Seek(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
    return SetFilePointer(file, distance, distanceHigh, method);
}

BOOL Win32Files::Truncate(HANDLE file) { return SetEndOfFile(file); }

BOOL Win32Files::CloseFile(HANDLE file) { return CloseHandle(file); }

HANDLE Win32Files::FindFirst(const char* pattern, WIN32_FIND_DATAA* data) { return FindFirstFileA(pattern, data); }

BOOL Win32Files::FindNext(HANDLE find, WIN32_FIND_DATAA* data) { return FindNextFileA(find, data); }

BOOL Win32Files::FindEnd(HANDLE find) { return FindClose(find); }

UINT Win32Files::DriveType(const char* rootPath) { return GetDriveTypeA(rootPath); }
