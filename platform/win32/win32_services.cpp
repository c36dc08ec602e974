#include <cstdlib>
#include <ctime>
#include <string>
#include "win32_platform.h"

BOOL Win32Shell::Execute(SHELLEXECUTEINFOA* info) { return ShellExecuteExA(info); }

namespace {

// A DLL by its full path in the system folder; its own dependencies are looked
// for there too (LOAD_WITH_ALTERED_SEARCH_PATH), not in the program's folder.
HMODULE LoadFromSystemFolder(const char* name) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        // 0 on failure; the length copied when it fits, else the size needed, its NUL included.
        const UINT length = GetSystemDirectoryA(&path[0], static_cast<UINT>(path.size()));
        if (length == 0) return nullptr;
        const bool fits = length < path.size();
        path.resize(length);
        if (fits) break;
    }
    // Never a test of the last byte, which in a double-byte code page can be a
    // character's second: the folder ends in no backslash but at a drive's root,
    // where a doubled one is harmless.
    return LoadLibraryExA((path + '\\' + name).c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

// WINMM is not one of Windows' KnownDLLs: were it imported, Windows would look for
// it in the program's own folder first, and a WINMM.DLL planted there would run in
// the launcher. It is loaded from the system folder at the first sound, and stays
// loaded: an asynchronous sound plays on after the call.
BOOL Win32Sound::PlaySoundImage(const void* sound, UINT flags) {
    if (m_play == nullptr) {
        if (sound == nullptr && flags == 0) return TRUE;  // a stop before any sound: nothing of ours plays
        HMODULE winmm = LoadFromSystemFolder("winmm.dll");
        if (winmm == nullptr) return FALSE;
        // FARPROC to its own type by way of void (*)(), the cast GCC takes as deliberate.
        const auto found = reinterpret_cast<void (*)()>(GetProcAddress(winmm, "sndPlaySoundA"));
        if (found == nullptr) {
            FreeLibrary(winmm);
            return FALSE;
        }
        m_play = reinterpret_cast<BOOL(WINAPI*)(const char*, UINT)>(found);
    }
    return m_play(static_cast<const char*>(sound), flags);
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

int64_t Win32Runtime::Counter() {
    LARGE_INTEGER count;
    return QueryPerformanceCounter(&count) ? count.QuadPart : 0;
}

int64_t Win32Runtime::CounterFrequency() {
    LARGE_INTEGER frequency;
    return QueryPerformanceFrequency(&frequency) ? frequency.QuadPart : 0;
}
