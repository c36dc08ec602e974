#include <cstdlib>
#include <ctime>
#include <string>
#include "win32_platform.h"

BOOL Win32Shell::Execute(SHELLEXECUTEINFOA* info) { return ShellExecuteExA(info); }

BOOL Win32Sound::PlaySoundImage(const void* sound, UINT flags) {
    return sndPlaySoundA(static_cast<const char*>(sound), flags);
}

BOOL Win32Resources::LoadText(UINT id, std::string& text) {
    // LoadStringA cuts a text to the buffer; a text that fills the buffer may have
    // been cut, so it is read again into a larger one (a string table entry holds
    // at most 65535 characters).
    for (int size = 1024; size <= 65536 * 2; size *= 2) {
        std::string buffer(static_cast<size_t>(size), '\0');
        const int copied = LoadStringA(m_instance, id, &buffer[0], size);
        if (copied <= 0) return FALSE;
        if (copied < size - 1) {
            text.assign(buffer.data(), static_cast<size_t>(copied));
            return TRUE;
        }
    }
    return FALSE;
}

HRSRC Win32Resources::FindRaw(UINT id, const char* type) { return FindResourceA(m_instance, MAKEINTRESOURCEA(id), type); }

HGLOBAL Win32Resources::LoadRaw(HRSRC resource) { return LoadResource(m_instance, resource); }

const void* Win32Resources::LockRaw(HGLOBAL loaded) { return LockResource(loaded); }

int Win32Runtime::Rand() { return std::rand(); }

void Win32Runtime::Srand(unsigned int seed) { std::srand(seed); }

int64_t Win32Runtime::Time() { return static_cast<int64_t>(std::time(nullptr)); }

BOOL Win32Runtime::IsLeadByte(BYTE byte) { return IsDBCSLeadByte(byte); }
