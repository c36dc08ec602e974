// Loading, saving and closing the game's settings files: LauncherDialog's
// operations on flux.ini (kept open with no sharing from load to close, so no
// other program can change it meanwhile) and on defaults.ini (read only).
#include "launcher/format_message.h"
#include "launcher/launcher_dialog.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"

namespace {

const char kSettingsName[] = "flux.ini";
const char kDefaultsName[] = "defaults.ini";
const DWORD kBlock = 256;

// Appends the file's bytes in 256-byte blocks until a read returns none; false
// when a read fails.
bool ReadWhole(FileSystem& files, HANDLE file, SettingsFile& text) {
    char block[kBlock];
    for (;;) {
        DWORD count = 0;
        if (!files.Read(file, block, kBlock, &count) || count > kBlock) return false;
        if (count == 0) return true;
        text.Append(block, count);
    }
}

}  // namespace

void LauncherDialog::ReportFileError(UINT stringId, const char* fileName) {
    MessageBoxOwned(FormatMessageText(LoadText(stringId), {fileName}), m_strTitle, MB_OK | MB_ICONSTOP);
}

HANDLE LauncherDialog::OpenInstallFile(const char* name, DWORD access) {
    SECURITY_ATTRIBUTES security = {sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
    const std::string path = m_strInstallPath + "\\" + name;
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
    if (!ReadWhole(m_platform.files, file, text)) {
        ReportFileError(IDS_ERROR_LOADING_FILE, kSettingsName);
        CloseSettingsFile();
        return FALSE;
    }
    m_strSettingsLoaded = text.Text();
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
    if (text.size() > 0x7FFFFFFF) {
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
    m_strSettingsLoaded = text;
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

void LauncherDialog::CloseSettingsFile() {
    if (m_hSettingsFile != nullptr) m_platform.files.CloseFile(m_hSettingsFile);
    m_hSettingsFile = nullptr;
    m_strSettingsLoaded.clear();
}
