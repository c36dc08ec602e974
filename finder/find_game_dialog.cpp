#include "find_game_dialog.h"
#include <new>
#include "registry/path_exists.h"
#include "resources/resource_ids.h"

namespace {

const char kTarget[] = "Drifthvn.exe";
// How long a tick of the search timer works: about one tick of Windows' default
// clock. Input waits for the tick to end, so a click or a key waits at most this
// long, plus one directory call that the slice cannot cut short.
const int64_t kSliceMilliseconds = 15;

// Removes one trailing backslash character. The text is walked by characters of
// the ANSI code page from its start: in a double-byte code page the second byte
// of a character can be the backslash's byte, 0x5C (0x94 0x5C is a kanji in
// code page 932, a Japanese Windows').
void RemoveTrailingBackslash(Runtime& runtime, std::string& path) {
    size_t last = 0;
    for (size_t at = 0; at < path.size(); at += runtime.IsLeadByte(BYTE(path[at])) ? 2 : 1) last = at;
    if (last + 1 == path.size() && path[last] == '\\') path.pop_back();
}

}  // namespace

FindGameDialog::FindGameDialog(Platform& platform, HWND parent)
    : Dialog(platform.windows, IDD_FIND_GAME, parent), m_platform(platform) {}

FindGameDialog::~FindGameDialog() = default;

BOOL FindGameDialog::AskGameDirectory(const std::string& caption, const std::string& message, std::string& path) {
    m_strCaption = caption;
    m_strMessage = message;
    if (DoModal() != IDOK) return FALSE;
    path = m_strPath;
    return TRUE;
}

BOOL FindGameDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    SetCaption(m_strCaption);
    SetItemText(IDC_EXPLANATION, m_strMessage);
    FocusItem(IDC_PATH);
    SetItemText(IDC_STATUS, Text(IDS_READY));
    SetItemText(IDOK, Text(IDS_OK));
    SetItemText(IDCANCEL, Text(IDS_CANCEL));
    SetItemText(IDC_SEARCH, Text(IDS_START_SEARCH));
    Show(SW_SHOW);
    return FALSE;
}

void FindGameDialog::EnableInput(bool enable) {
    // Disabling the control that has the keyboard focus would leave the window
    // with none, deaf to every key, Escape included: the focus goes first to
    // Cancel, which stays enabled and stops the search, and back to the edit box
    // when the search stops, as when the window opened.
    if (!enable && FocusedItem() != 0) MoveFocus(IDCANCEL);
    EnableItem(IDOK, enable);
    EnableItem(IDC_PATH, enable);
    EnableItem(IDC_BROWSE, enable);
    EnableItem(IDC_SEARCH, enable);
    if (enable) MoveFocus(IDC_PATH);
}

void FindGameDialog::StopSearchTimer() {
    StopTimer(m_nTimer);
    m_nTimer = 0;
}

void FindGameDialog::OnCommand(int id, int notifyCode) {
    if (id == IDC_SEARCH && notifyCode == BN_CLICKED) OnSearch();
    if (id == IDC_BROWSE && notifyCode == BN_CLICKED) OnBrowse();
}

void FindGameDialog::OnBrowse() {
    // The picker opens in the folder typed when it is one (a folder can be listed,
    // a root folder too; a backslash doubled before the "*" does no harm), else at
    // the computer's top level.
    std::string start = GetItemText(IDC_PATH);
    if (!PathExists(m_platform.files, start + "\\*")) start.clear();
    std::string chosen;
    switch (PickFolder(start, chosen)) {
    case PICK_FOLDER:
        // "D:\" as "D:", as the search puts a copy found in a root folder.
        RemoveTrailingBackslash(m_platform.runtime, chosen);
        SetItemText(IDC_PATH, chosen);
        MoveFocus(IDC_PATH);  // so that Enter presses OK, and a screen reader reads out the folder
        break;
    case PICK_NOT_FILE_SYSTEM:
        MessageBoxOwned(Text(IDS_NOT_A_DISK_FOLDER), Text(IDS_INCORRECT_DIRECTORY), MB_OK | MB_ICONEXCLAMATION);
        break;
    case PICK_NOT_IN_CODE_PAGE:
        MessageBoxOwned(Text(IDS_NAME_NOT_IN_CODE_PAGE), Text(IDS_INCORRECT_DIRECTORY), MB_OK | MB_ICONEXCLAMATION);
        break;
    default:
        break;  // cancelled: the edit box keeps its text
    }
}

void FindGameDialog::OnSearch() {
    EnableInput(false);
    // After "Found" or "Search canceled" the same search goes on where it stopped.
    if (!m_pSearch) m_pSearch.reset(new (std::nothrow) DiskSearch(m_platform.files, kTarget));
    m_nTimer = StartTimer(SEARCH_TIMER_ID, 1);
    m_strStatus = Text(IDS_SEARCHING);
    SetItemText(IDC_STATUS, m_strStatus);
}

void FindGameDialog::OnTimer(UINT_PTR id) {
    if (id != SEARCH_TIMER_ID) return;
    if (!m_pSearch) {
        StopSearchTimer();
        EnableInput(true);
        return;
    }
    // Step through as many folders as the slice holds (without a clock, one step a
    // tick), then show the last folder begun; the next tick goes on from there.
    Runtime& clock = m_platform.runtime;
    const int64_t sliceEnd = clock.Counter() + clock.CounterFrequency() * kSliceMilliseconds / 1000;
    std::string searching;
    int result;
    do {
        result = m_pSearch->Step(m_strStatus);
        if (result == SEARCH_PROGRESS) searching = m_strStatus;
    } while ((result == SEARCH_CONTINUE || result == SEARCH_PROGRESS) && clock.Counter() < sliceEnd);
    if (result == SEARCH_FOUND) {
        StopSearchTimer();
        SetItemText(IDC_STATUS, Text(IDS_FOUND));
        // The folder is in the edit box before the keyboard comes back to it, so
        // that a screen reader reads out the folder found, not the old text.
        SetItemText(IDC_PATH, m_strStatus);
        EnableInput(true);
        SetItemText(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH));
    } else if (result == SEARCH_EXHAUSTED) {
        StopSearchTimer();
        SetItemText(IDC_STATUS, Text(IDS_NOT_FOUND));
        EnableInput(true);
        SetItemText(IDC_SEARCH, Text(IDS_START_SEARCH));
        m_pSearch.reset();  // the next search starts again at drive A
    } else if (!searching.empty()) {
        // A slice spent among the files of one folder leaves that folder shown.
        SetItemText(IDC_STATUS, searching);
    }
}

void FindGameDialog::OnOK() {
    m_strPath = GetItemText(IDC_PATH);
    RemoveTrailingBackslash(m_platform.runtime, m_strPath);
    if (PathExists(m_platform.files, m_strPath + "\\" + kTarget)) {
        m_pSearch.reset();
        EndModal(IDOK);
        return;
    }
    MessageBoxOwned(Text(IDS_NOT_IN_DIRECTORY), Text(IDS_INCORRECT_DIRECTORY), MB_OK | MB_ICONEXCLAMATION);
}

void FindGameDialog::OnCancel() {
    if (m_nTimer != 0) {
        // A running search is paused, not ended: Search continues it.
        StopSearchTimer();
        EnableInput(true);
        SetItemText(IDC_STATUS, Text(IDS_SEARCH_CANCELED));
        SetItemText(IDC_SEARCH, Text(IDS_CONTINUE_SEARCH));
        return;
    }
    m_pSearch.reset();
    EndModal(IDCANCEL);
}
