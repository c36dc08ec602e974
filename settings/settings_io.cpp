// Loading, saving and closing the game's settings files: LauncherDialog's
// operations on flux.ini (kept open with no sharing from load to close, so no
// other program can change it meanwhile) and on defaults.ini (read only).
//
// A damaged file can be larger than the program's memory. Every allocation here
// that a file's size drives is bounded by MAX_SETTINGS_SIZE or caught where the
// step can still say which file failed, so that a player gets a message and the
// file is left as it was, never the runtime's abort.
#include <limits>
#include <new>
#include "launcher/format_message.h"
#include "launcher/launcher_dialog.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace {

const char kSettingsName[] = "flux.ini";
const char kDefaultsName[] = "defaults.ini";
const DWORD kBlock = 256;

// Appends the file's bytes in 256-byte blocks until a read returns none; false
// when a read fails, when the file is larger than a settings file can be, or
// when memory runs out for its text.
bool ReadWhole(FileSystem& files, HANDLE file, SettingsFile& text) {
    char block[kBlock];
    try {
        for (;;) {
            DWORD count = 0;
            if (!files.Read(file, block, kBlock, &count) || count > kBlock) return false;
            if (count == 0) return true;
            if (count > MAX_SETTINGS_SIZE - text.size()) return false;
            text.Append(block, count);
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

void LauncherDialog::ReportFileError(UINT stringId, const char* fileName) {
    MessageBoxOwned(FormatMessageText(LoadText(stringId), {fileName}), m_strTitle, MB_OK | MB_ICONSTOP);
}

HANDLE LauncherDialog::OpenInstallFile(const char* name, DWORD access) {
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    std::string path;
    try {  // the install path comes from the registry; without memory for it, the file cannot be opened
        path = m_strInstallPath + "\\" + name;
    } catch (const std::bad_alloc&) {
        return INVALID_HANDLE_VALUE;
    }
    return m_platform.files.OpenFile(path.c_str(), access, 0, &security, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}

BOOL LauncherDialog::LoadSettingsFile(SettingsFile& text) {
    HANDLE file = OpenInstallFile(kSettingsName, GENERIC_READ | GENERIC_WRITE);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFileError(IDS_ERROR_OPENING_FILE, kSettingsName);
        return FALSE;
    }
    m_hSettingsFile = file;
    text.Clear();
    bool loaded = ReadWhole(m_platform.files, file, text);
    if (loaded) {
        try {  // the copy that a failed save puts back
            m_strSettingsLoaded = text.Text();
        } catch (const std::bad_alloc&) {
            loaded = false;
        }
    }
    if (!loaded) {
        ReportFileError(IDS_ERROR_LOADING_FILE, kSettingsName);
        CloseSettingsFile();
        return FALSE;
    }
    return TRUE;
}

BOOL LauncherDialog::LoadDefaultsFile(SettingsFile& text) {
    HANDLE file = OpenInstallFile(kDefaultsName, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) {
        ReportFileError(IDS_ERROR_OPENING_FILE, kDefaultsName);
        return FALSE;
    }
    text.Clear();
    const bool read = ReadWhole(m_platform.files, file, text);
    m_platform.files.CloseFile(file);
    if (!read) {
        ReportFileError(IDS_ERROR_LOADING_FILE, kDefaultsName);
        return FALSE;
    }
    return TRUE;
}

// Rewrites the open flux.ini in place. A save that fails must not leave the
// game's settings half written: a longer text first grows the file to its new
// length, so that a full disk refuses before any old byte is overwritten, and a
// write or truncation that still fails puts the loaded bytes back.
BOOL LauncherDialog::SaveSettingsFile(const SettingsFile& settings) {
    const std::string& text = settings.Text();
    FileSystem& files = m_platform.files;
    HANDLE file = m_hSettingsFile;
    const std::string& original = m_strSettingsLoaded;
    // What the file will hold, for a later failed save to put back; copied
    // before anything is written, so that running out of memory writes nothing.
    std::string kept;
    // The file is grown to the text's length by a seek, which takes a LONG.
    bool copied = text.size() <= static_cast<size_t>(std::numeric_limits<LONG>::max());
    try {
        if (copied) kept = text;
    } catch (const std::bad_alloc&) {
        copied = false;
    }
    if (!copied) {
        ReportFileError(IDS_ERROR_SAVING_FILE, kSettingsName);
        return FALSE;
    }
    const DWORD length = static_cast<DWORD>(text.size());
    bool saved = files.Seek(file, 0, nullptr, FILE_BEGIN) == 0;
    if (saved && text.size() > original.size()) {
        saved = files.Seek(file, static_cast<LONG>(length), nullptr, FILE_BEGIN) == length && files.Truncate(file) &&
                files.Seek(file, 0, nullptr, FILE_BEGIN) == 0;
        if (!saved) RestoreSettingsFile();
    }
    if (saved) {
        DWORD written = 0;
        saved = files.Write(file, text.data(), length, &written) && written == length && files.Truncate(file);
        if (!saved) RestoreSettingsFile();
    }
    if (!saved) {
        ReportFileError(IDS_ERROR_SAVING_FILE, kSettingsName);
        return FALSE;
    }
    m_strSettingsLoaded.swap(kept);
    return TRUE;
}

// Puts the loaded bytes back into the open flux.ini, as far as the file lets us.
void LauncherDialog::RestoreSettingsFile() {
    FileSystem& files = m_platform.files;
    const std::string& original = m_strSettingsLoaded;
    const DWORD length = static_cast<DWORD>(original.size());
    DWORD written = 0;
    if (files.Seek(m_hSettingsFile, 0, nullptr, FILE_BEGIN) == 0 &&
        files.Write(m_hSettingsFile, original.data(), length, &written) && written == length)
        files.Truncate(m_hSettingsFile);
}

BOOL LauncherDialog::EditSettingsFile(BOOL (*edit)(LauncherDialog& launcher, SettingsFile& flux)) {
    SettingsFile flux;
    if (!LoadSettingsFile(flux)) return FALSE;
    BOOL edited = FALSE;
    try {  // an edit grows the text; without memory for it, nothing is written
        edited = edit(*this, flux);
    } catch (const std::bad_alloc&) {
        ReportFileError(IDS_ERROR_SAVING_FILE, kSettingsName);
    }
    const BOOL saved = edited && SaveSettingsFile(flux);
    CloseSettingsFile();
    return saved;
}

void LauncherDialog::CloseSettingsFile() {
    if (m_hSettingsFile != nullptr) m_platform.files.CloseFile(m_hSettingsFile);
    m_hSettingsFile = nullptr;
    m_strSettingsLoaded.clear();
}
