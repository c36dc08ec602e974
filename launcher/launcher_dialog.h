// The launcher window: the picture and the four buttons, the start-up sequence
// that runs before the window is usable, and the state that every check, repair
// and recipe shares (install path, window title, open settings file, icons).
#pragma once
#include <string>
#include "launcher/profile.h"
#include "platform/dialog.h"
#include "platform/platform.h"
#include "settings/settings_file.h"

class LauncherApp;

enum : UINT_PTR {
    TAUNT_TIMER_ID = 1,
    CLOSE_TIMER_ID = 1337,
};

class LauncherDialog : public Dialog {
public:
    LauncherDialog(Platform& platform, const Profile& profile, const LauncherApp& app, HWND parent);
    ~LauncherDialog() override;

    BOOL OnInitDialog() override;
    void OnOK() override;      // Play
    void OnCancel() override;  // Cancel, Escape, the close box
    void OnCommand(int id, int notifyCode) override;
    void OnTimer(UINT_PTR id) override;

    void OnReadme();
    void OnVisitSite();
    void OnTaunt();

    // Shows a string-table text with the window title as caption and the stop
    // icon; always FALSE, so that a check can return its result.
    BOOL ReportError(UINT stringId);
    // A string-table text; empty when the table has none.
    std::string LoadText(UINT stringId);

    // Start-up checks (registry/) and the patch.
    BOOL ReadAgreed();
    INT_PTR RunDisclaimer();
    BOOL WriteModInfo();
    BOOL InstallCheck();
    BOOL ModPresent();
    // Repairs of the game's key, which InstallCheck calls. The rebuild leaves the
    // key open in its argument, for reading and writing, only when it returns TRUE.
    BOOL RebuildSettingsKey(HKEY& key);
    BOOL CorrectInstallPath(std::string& path);
    BOOL RecoverVersion(DWORD& version);
    BOOL CorrectVersion(DWORD& version);
    // Stores the version in the game's key, reporting a failure.
    void WriteVersion(DWORD version);
    // The game's major version, from its engine library or typed by the player; 0 for none.
    DWORD DetectVersion();
    BOOL PatchSettings() { return m_profile.patchSettings(*this); }
    void PlayTaunt() { m_profile.playTaunt(*this, m_platform.runtime); }
    // The taunts (launcher/taunt_sounds.cpp): a WAVE resource played from memory,
    // and the end of whatever this process plays.
    BOOL PlayWave(UINT waveId);
    void StopSound();

    // The game's settings files (settings/settings_io.cpp).
    BOOL LoadSettingsFile(SettingsFile& text);
    BOOL LoadDefaultsFile(SettingsFile& text);
    BOOL SaveSettingsFile(const SettingsFile& text);
    void CloseSettingsFile();
    // Loads flux.ini, lets edit change its text, saves and closes it. edit
    // returns FALSE once it has said why it cannot go on; an edit that runs out
    // of memory is reported as a failed save, with nothing written.
    BOOL EditSettingsFile(BOOL (*edit)(LauncherDialog& launcher, SettingsFile& flux));


    UINT_PTR m_nTimer = 0;
    HANDLE m_hSettingsFile = nullptr;
    std::string m_strTitle;
    std::string m_strInstallPath;
    HICON m_hSmallIcon = nullptr;
    HICON m_hIcon = nullptr;
    HFONT m_font = nullptr;
    // The bytes of flux.ini as they were loaded, for a failed save to put back.
    std::string m_strSettingsLoaded;

private:
    // A string-table text with the bare file name put in, with the window title
    // as caption and the stop icon.
    void ReportFileError(UINT stringId, const char* fileName);
    // A file of the game's directory, opened with no sharing.
    HANDLE OpenInstallFile(const char* name, DWORD access);
    void RestoreSettingsFile();
    // A question or notice with the window title as caption: the button pressed.
    int Ask(const std::string& text, UINT style);
    // A string-table text with the version put in for "%1!u!".
    std::string VersionText(UINT stringId, DWORD version);
    // Creates or opens the game's key.
    LONG CreateSettingsKey(REGSAM access, HKEY& key);
    // Opens a document or address through the shell, as a person's double click would.
    void ShellOpen(const std::string& file, const char* directory, UINT mask, int show);

    Platform& m_platform;
    const Profile& m_profile;
    const LauncherApp& m_app;
};
