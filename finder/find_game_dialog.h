// The window in which the user names the game's directory: typed into the edit
// box, chosen in Windows' folder picker (Browse), or found by a search of every
// fixed disk that runs from a timer inside the window without freezing it. OK
// accepts a directory only when the game's executable is in it.
#pragma once
#include <memory>
#include <string>
#include "finder/disk_search.h"
#include "platform/dialog.h"
#include "platform/platform.h"

enum : UINT_PTR { SEARCH_TIMER_ID = 100 };

class FindGameDialog : public Dialog {
public:
    FindGameDialog(Platform& platform, HWND parent);
    ~FindGameDialog() override;

    // Shows the window; TRUE, with the accepted directory in path, when it closed
    // with OK, else FALSE with path untouched.
    BOOL AskGameDirectory(const std::string& caption, const std::string& message, std::string& path);

    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    void OnCommand(int id, int notifyCode) override;
    void OnTimer(UINT_PTR id) override;
    void OnSearch();
    void OnBrowse();

private:
    std::string Text(UINT id) { return m_platform.resources.Text(id); }
    // OK, the edit box, Browse and Search, enabled or not together; the focus kept on an enabled control.
    void EnableInput(bool enable);
    void StopSearchTimer();

    Platform& m_platform;
    std::string m_strMessage;
    std::string m_strCaption;
    UINT_PTR m_nTimer = 0;  // while a search runs
    std::string m_strStatus;
    std::unique_ptr<DiskSearch> m_pSearch;  // running or paused
    std::string m_strPath;
};
