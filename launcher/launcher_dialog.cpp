#include "launcher_dialog.h"
#include "launcher/disclaimer_dialog.h"
#include "launcher/launcher_app.h"
#include "resources/resource_ids.h"

LauncherDialog::LauncherDialog(Platform& platform, const Profile& profile, const LauncherApp& app, HWND parent)
    : Dialog(platform.windows, IDD_LAUNCHER, parent), m_platform(platform), m_profile(profile), m_app(app) {
    m_hIcon = Windows().LoadAppIcon(IDI_APP);
    m_hSmallIcon = Windows().LoadSizedIcon(IDI_APP, 16, 16);
}

LauncherDialog::~LauncherDialog() {
    if (m_font != nullptr) Windows().DestroyFont(m_font);
}

std::string LauncherDialog::LoadText(UINT stringId) { return m_platform.resources.Text(stringId); }

BOOL LauncherDialog::ReportError(UINT stringId) {
    MessageBoxOwned(LoadText(stringId), m_strTitle, MB_OK | MB_ICONHAND);
    return FALSE;
}

BOOL LauncherDialog::OnInitDialog() {
    Dialog::OnInitDialog();
    m_font = Windows().MakeFont(10, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, "Arial");
    Windows().Send(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    Windows().Send(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hSmallIcon));
    Windows().Send(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(m_font), TRUE);
    m_strTitle = LoadText(m_profile.titleString);

    bool ready = false;
    if (ReadAgreed() || RunDisclaimer() == IDOK) {
        WriteModInfo();
        SetCaption(m_strTitle);
        if (InstallCheck() && ModPresent()) {
            if (m_app.m_bSilent != 0)
                PatchSettings();
            else
                ready = true;
        }
    }

    if (!ready) {
        m_nTimer = StartTimer(CLOSE_TIMER_ID, 1);
        return FALSE;
    }
    const struct {
        int control;
        UINT text;
    } captions[] = {{IDOK, m_profile.playString},
                    {IDC_README, m_profile.readmeCaptionString},
                    {IDC_VISIT_SITE, m_profile.siteCaptionString},
                    {IDCANCEL, m_profile.cancelString},
                    // The picture's name, which screen readers say.
                    {IDC_PICTURE, m_profile.titleString}};
    for (const auto& caption : captions)
        if (HasItem(caption.control)) SetItemText(caption.control, LoadText(caption.text));
    m_nTimer = StartTimer(TAUNT_TIMER_ID, 1);
    return TRUE;
}

INT_PTR LauncherDialog::RunDisclaimer() {
    DisclaimerDialog notice(m_platform, nullptr);
    return notice.DoModal();
}

void LauncherDialog::OnTimer(UINT_PTR id) {
    if (id == CLOSE_TIMER_ID) {
        StopTimer(m_nTimer);
        EndModal(IDCANCEL);
    } else if (id == TAUNT_TIMER_ID) {
        StopTimer(m_nTimer);
        PlayTaunt();
    }
}

void LauncherDialog::OnOK() {
    const std::string failure = LoadText(IDS_ERROR_LOADING_OPTIONS);
    StopTimer(m_nTimer);
    StopSound();
    if (!PatchSettings()) {
        MessageBoxOwned(failure, m_strTitle, MB_OK | MB_ICONHAND);
    } else {
        Show(SW_HIDE);
        ShellOpen("Drifthvn.exe", m_strInstallPath.c_str(), SEE_MASK_ICON, SW_SHOWMINIMIZED);
    }
    EndModal(IDCANCEL);
}

void LauncherDialog::OnCancel() {
    StopTimer(m_nTimer);
    StopSound();
    EndModal(IDCANCEL);
}

void LauncherDialog::OnCommand(int id, int notifyCode) {
    if (notifyCode != BN_CLICKED) return;
    switch (id) {
    case IDC_VISIT_SITE: OnVisitSite(); break;
    case IDC_README: OnReadme(); break;
    case IDC_TAUNT: OnTaunt(); break;
    default: break;
    }
}

void LauncherDialog::OnReadme() {
    ShellOpen(LoadText(m_profile.readmeFileString), m_strInstallPath.c_str(), SEE_MASK_ICON, SW_SHOWNORMAL);
}

void LauncherDialog::OnVisitSite() { ShellOpen(LoadText(m_profile.siteString), "", 0, SW_SHOWNORMAL); }

void LauncherDialog::OnTaunt() { PlayTaunt(); }

void LauncherDialog::ShellOpen(const std::string& file, const char* directory, UINT mask, int show) {
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = mask;
    info.lpFile = file.c_str();
    info.lpParameters = "";
    info.lpDirectory = directory;
    info.nShow = show;
    if ((mask & SEE_MASK_ICON) != 0) info.hIcon = m_hSmallIcon;
    m_platform.shell.Execute(&info);
}
