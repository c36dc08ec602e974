// Windows' own folder picker. From Windows Vista on it is the common item dialog
// in its folder mode; where that cannot be made (Windows XP) it is the shell's
// folder browser. The first is reached through COM and a function looked up at
// run time, so that the programs import nothing that XP lacks.
#include "win32_platform.h"
// After windows.h, which the platform header brings.
#include <shlobj.h>
#include <shobjidl.h>

namespace {

// The parsing name of the computer's top level (My Computer, This PC).
const wchar_t kComputer[] = L"::{20D04FE0-3AEA-1069-A2D8-08002B30309D}";

// A path of the picker in the ANSI code page, which the programs read and write
// paths in; refused when a character of it has no exact match there. Where the
// code page is UTF-8 every name fits, and Windows takes neither the flag nor the
// report of a lost character.
int ToCodePage(const wchar_t* wide, std::string& narrow) {
    const bool utf8 = GetACP() == CP_UTF8;
    BOOL lost = FALSE;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const int size = WideCharToMultiByte(CP_ACP, flags, wide, -1, nullptr, 0, nullptr, utf8 ? nullptr : &lost);
    if (size <= 0 || lost) return PICK_NOT_IN_CODE_PAGE;
    std::string text(static_cast<size_t>(size), '\0');
    if (WideCharToMultiByte(CP_ACP, flags, wide, -1, &text[0], size, nullptr, nullptr) != size)
        return PICK_NOT_IN_CODE_PAGE;
    narrow.assign(text.c_str());
    return PICK_FOLDER;
}

// The folder the common item dialog opens in: start, else (none given, or one
// the shell cannot parse) the computer's top level; null when neither can be made.
IShellItem* StartItem(const char* start) {
    using CreateItem = HRESULT(WINAPI*)(PCWSTR, IBindCtx*, REFIID, void**);
    // FARPROC to its own type by way of void (*)(), the cast GCC takes as deliberate.
    const auto create = reinterpret_cast<CreateItem>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("shell32.dll"), "SHCreateItemFromParsingName")));
    if (create == nullptr) return nullptr;
    wchar_t path[MAX_PATH] = {};
    if (MultiByteToWideChar(CP_ACP, 0, start, -1, path, MAX_PATH) == 0) path[0] = L'\0';
    IShellItem* item = nullptr;
    for (const wchar_t* name : {static_cast<const wchar_t*>(path), kComputer})
        if (name[0] != L'\0' && SUCCEEDED(create(name, nullptr, IID_PPV_ARGS(&item)))) return item;
    return nullptr;
}

// The common item dialog in its folder mode; -1 when Windows has none.
int PickWithItemDialog(HWND owner, const char* start, std::string& chosen) {
    IFileOpenDialog* dialog = nullptr;
    if (FAILED(CoCreateInstance(CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&dialog))))
        return -1;
    DWORD options = 0;
    // The current folder stays the program's: a relative path typed later means what it meant before.
    if (SUCCEEDED(dialog->GetOptions(&options))) dialog->SetOptions(options | FOS_PICKFOLDERS | FOS_NOCHANGEDIR);
    if (IShellItem* folder = StartItem(start)) {
        dialog->SetFolder(folder);
        folder->Release();
    }
    int outcome = PICK_CANCELLED;
    IShellItem* result = nullptr;
    if (SUCCEEDED(dialog->Show(owner)) && SUCCEEDED(dialog->GetResult(&result))) {
        // A library or the computer itself has no path of the file system.
        wchar_t* path = nullptr;
        outcome = SUCCEEDED(result->GetDisplayName(SIGDN_FILESYSPATH, &path)) ? ToCodePage(path, chosen)
                                                                                : PICK_NOT_FILE_SYSTEM;
        CoTaskMemFree(path);
        result->Release();
    }
    dialog->Release();
    return outcome;
}

// Where the folder browser opens: a path, or else the computer's item list.
struct BrowserStart {
    const char* path;
    LPITEMIDLIST computer;
};

int CALLBACK OnBrowserEvent(HWND browser, UINT message, LPARAM, LPARAM data) {
    const BrowserStart& start = *reinterpret_cast<const BrowserStart*>(data);
    if (message != BFFM_INITIALIZED) return 0;
    if (start.path[0] != '\0')
        SendMessageA(browser, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.path));
    else if (start.computer != nullptr)
        SendMessageA(browser, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(start.computer));
    return 0;
}

// The shell's folder browser. It offers only folders of the file system, yet
// the path of the one chosen is read wide, so that a name outside the code
// page is refused rather than handed back with question marks.
int PickWithBrowser(HWND owner, const char* start, std::string& chosen) {
    BrowserStart where = {start, nullptr};
    if (start[0] == '\0' && FAILED(SHGetFolderLocation(owner, CSIDL_DRIVES, nullptr, 0, &where.computer)))
        where.computer = nullptr;  // the browser's own start then: the desktop
    char name[MAX_PATH] = {};
    BROWSEINFOA info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = name;
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = OnBrowserEvent;
    info.lParam = reinterpret_cast<LPARAM>(&where);
    LPITEMIDLIST folder = SHBrowseForFolderA(&info);
    CoTaskMemFree(where.computer);
    if (folder == nullptr) return PICK_CANCELLED;
    wchar_t path[MAX_PATH] = {};
    const BOOL found = SHGetPathFromIDListW(folder, path);
    CoTaskMemFree(folder);
    return found ? ToCodePage(path, chosen) : PICK_NOT_FILE_SYSTEM;
}

}  // namespace

int Win32Windows::PickFolder(HWND owner, const char* start, std::string& chosen) {
    // The folder browser's dialog style needs COM in a single-threaded apartment.
    // Each call that started COM here (S_OK, or S_FALSE where it ran already) is
    // matched by one that ends it, whatever the picker did.
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE))) return PICK_CANCELLED;
    int outcome = PickWithItemDialog(owner, start, chosen);
    if (outcome < 0) outcome = PickWithBrowser(owner, start, chosen);
    CoUninitialize();
    return outcome;
}
