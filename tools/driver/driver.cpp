#include "driver.h"
#include "platform/win32/win32_picture.h"
#include <oleacc.h>
#include <cstdio>

namespace {

struct Search {
    DWORD process;
    std::string caption;
    std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
    Search& search = *reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    if (owner == search.process && std::string(cls) == "#32770" && IsWindowVisible(window) &&
        (search.caption.empty() || Caption(window) == search.caption))
        search.found.push_back(window);
    return TRUE;
}

}  // namespace

bool Start(const std::string& exe, const std::string& tail, Program& program, const char* directory) {
    std::string commandLine = "\"" + exe + "\"" + (tail.empty() ? "" : " " + tail);
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    program.process = info.hProcess;
    program.id = info.dwProcessId;
    return true;
}

bool WaitForEnd(Program& program, DWORD milliseconds, DWORD* exitCode) {
    if (program.process == nullptr) return true;
    const bool ended = WaitForSingleObject(program.process, milliseconds) == WAIT_OBJECT_0;
    if (ended) {
        if (exitCode != nullptr && !GetExitCodeProcess(program.process, exitCode)) *exitCode = STILL_ACTIVE;
        CloseHandle(program.process);
        program.process = nullptr;
    }
    return ended;
}

void Kill(Program& program) {
    if (program.process == nullptr) return;
    TerminateProcess(program.process, 1);
    WaitForSingleObject(program.process, 5000);
    CloseHandle(program.process);
    program.process = nullptr;
}

std::vector<HWND> Dialogs(const Program& program) {
    Search search{program.id, std::string(), {}};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(const Program& program, const std::string& caption, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        Search search{program.id, caption, {}};
        EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
        if (!search.found.empty()) return search.found.front();
        if (GetTickCount() - start > milliseconds) return nullptr;
        if (program.process != nullptr && WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
}

HWND WaitForMessageBox(const Program& program, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : Dialogs(program))
            if (GetDlgItem(window, 0xFFFF) != nullptr) return window;
        if (GetTickCount() - start > milliseconds) return nullptr;
        if (program.process != nullptr && WaitForSingleObject(program.process, 0) == WAIT_OBJECT_0) return nullptr;
        Sleep(50);
    }
}

std::string MessageText(HWND box) { return ItemText(box, 0xFFFF); }

std::string Caption(HWND window) {
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    return text;
}

std::string ItemText(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr) return "<no control>";
    const LRESULT length = SendMessageA(item, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessageA(item, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}

bool ItemVisible(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    return item != nullptr && (GetWindowLongA(item, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PostCommand(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

const DWORD kReadyWait = 30000;

bool Send(std::vector<INPUT> inputs) {
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

INPUT Key(WORD vk, bool up) {
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    switch (vk) {  // the keys of the arrow block, not those of the number pad
    case VK_HOME: case VK_END: case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_DELETE:
        input.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
        break;
    default: break;
    }
    return input;
}

// A pointer event at a point of the screen, in the 0 to 65535 scale of SendInput.
INPUT Pointer(POINT point, DWORD flags) {
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((LONGLONG(point.x) * 65536 + width - 1) / width);
    input.mi.dy = LONG((LONGLONG(point.y) * 65536 + height - 1) / height);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

// The pointer moved onto the point that where finds and pressed there, once the point lies in the window as
// the screen shows it: a window just shown may still be placed or uncovered, so a person looks again for a
// while. Each event carries the point, so that no late report of the pointer's place can move a press elsewhere.
template <class Where> bool ClickAt(HWND window, Where where) {
    POINT point = {};
    if (!WaitFor(20, 2000, [&] { return where(point) && GetAncestor(WindowFromPoint(point), GA_ROOT) == window; }))
        return false;
    return Send({Pointer(point, 0), Pointer(point, MOUSEEVENTF_LEFTDOWN), Pointer(point, MOUSEEVENTF_LEFTUP)});
}

}  // namespace

bool Ready(HWND window) {
    return WaitFor(20, kReadyWait, [&] {
        if (!IsWindow(window)) return true;
        if (!IsWindowVisible(window) || !IsWindowEnabled(window)) return false;
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
    }) && IsWindow(window);
}

bool ClickItem(HWND dialog, int id) {
    HWND item = GetDlgItem(dialog, id);
    if (item == nullptr || !Ready(dialog)) return false;
    return ClickAt(dialog, [&](POINT& centre) {
        RECT area = {};
        if (!GetWindowRect(item, &area) || !IsWindowVisible(item)) return false;
        centre = POINT{(area.left + area.right) / 2, (area.top + area.bottom) / 2};
        return true;
    });
}

bool ClickCloseBox(HWND window) {
    if (!Ready(window)) return false;
    // The close box is where the window itself says so, along the middle of its title bar.
    return ClickAt(window, [&](POINT& centre) {
        TITLEBARINFO bar = {};
        bar.cbSize = sizeof(bar);
        if (!GetTitleBarInfo(window, &bar)) return false;
        const int y = (bar.rcTitleBar.top + bar.rcTitleBar.bottom) / 2;
        int right = bar.rcTitleBar.right;
        const auto hit = [&](int x) { return SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM(x, y)) == HTCLOSE; };
        while (right > bar.rcTitleBar.left && !hit(right)) --right;
        int left = right;
        while (left > bar.rcTitleBar.left && hit(left - 1)) --left;
        centre = POINT{(left + right) / 2, y};
        return right > bar.rcTitleBar.left;
    });
}

bool PressKey(HWND window, WORD vk, WORD modifier) {
    if (!Ready(window)) return false;
    std::vector<INPUT> keys;
    if (modifier != 0) keys.push_back(Key(modifier, false));
    keys.push_back(Key(vk, false));
    keys.push_back(Key(vk, true));
    if (modifier != 0) keys.push_back(Key(modifier, true));
    return Send(keys);
}

bool TypeText(HWND window, const std::string& text) {
    if (!Ready(window)) return false;
    std::wstring characters(text.size(), L'\0');
    characters.resize(static_cast<size_t>(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                                              &characters[0], static_cast<int>(characters.size()))));
    std::vector<INPUT> keys;
    for (wchar_t c : characters) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = static_cast<WORD>(c);
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        keys.push_back(input);
    }
    return Send(keys);
}

int FocusedItem(HWND dialog) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) || info.hwndFocus == nullptr) return 0;
    return IsChild(dialog, info.hwndFocus) ? GetDlgCtrlID(info.hwndFocus) : 0;
}

std::string ReaderName(HWND control) {
    const bool started = SUCCEEDED(CoInitialize(nullptr));
    IAccessible* accessible = nullptr;
    std::string text = "<no accessible object>";
    if (AccessibleObjectFromWindow(control, DWORD(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void**>(&accessible)) == S_OK) {
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        char narrow[1024] = "<no name>";
        if (accessible->get_accName(self, &name) == S_OK && name != nullptr)
            WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, sizeof(narrow), nullptr, nullptr);
        SysFreeString(name);
        accessible->Release();
        text = narrow;
    }
    if (started) CoUninitialize();
    return text;
}

COLORREF ScreenImage::At(int x, int y) const {
    const size_t stride = size_t(width * 3 + 3) & ~size_t(3);
    const size_t at = size_t(height - 1 - y) * stride + size_t(x) * 3;
    return RGB(BYTE(rows[at + 2]), BYTE(rows[at + 1]), BYTE(rows[at]));
}

ScreenImage ReadScreen(const RECT& area) {
    ScreenImage image;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) return image;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    const BITMAPINFO info = TrueColourBitmap(width, height);
    void* bits = nullptr;
    HBITMAP picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (picture != nullptr && memory != nullptr) {
        HGDIOBJ old = SelectObject(memory, picture);
        if (BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY)) {
            GdiFlush();
            image.width = width;
            image.height = height;
            image.rows.assign(static_cast<const char*>(bits), size_t((width * 3 + 3) & ~3) * size_t(height));
        }
        SelectObject(memory, old);
    }
    if (picture != nullptr) DeleteObject(picture);
    if (memory != nullptr) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

bool SaveWindowPicture(HWND window, const std::string& path) {
    RECT area = {};
    if (!GetWindowRect(window, &area)) return false;
    const ScreenImage image = ReadScreen(area);
    if (image.rows.empty()) return false;
    const BITMAPINFOHEADER header = TrueColourBitmap(image.width, image.height).bmiHeader;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = file.bfOffBits + DWORD(image.rows.size());
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof(file));
    bytes.append(reinterpret_cast<const char*>(&header), sizeof(header));
    return WriteWholeFile(path, bytes + image.rows);
}

std::string ReadWholeFile(const std::string& path) {
    std::string content;
    FILE* file = fopen(path.c_str(), "rb");
    if (file == nullptr) return content;
    char buffer[4096];
    size_t count;
    while ((count = fread(buffer, 1, sizeof(buffer), file)) > 0) content.append(buffer, count);
    fclose(file);
    return content;
}

bool WriteWholeFile(const std::string& path, const std::string& content) {
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = fwrite(content.data(), 1, content.size(), file) == content.size();
    return fclose(file) == 0 && written;
}

bool CopyTree(const std::string& from, const std::string& to) {
    CreateDirectoryA(to.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((from + "\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool copied = true;
    do {
        const std::string name = entry.cFileName;
        if (name == "." || name == "..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            copied = CopyTree(from + "\\" + name, to + "\\" + name) && copied;
        else
            copied = CopyFileA((from + "\\" + name).c_str(), (to + "\\" + name).c_str(), FALSE) && copied;
    } while (FindNextFileA(find, &entry));
    FindClose(find);
    return copied;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(full);
            } else {
                SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(full.c_str());
            }
        } while (FindNextFileA(find, &entry));
        FindClose(find);
    }
    RemoveDirectoryA(path.c_str());
}
