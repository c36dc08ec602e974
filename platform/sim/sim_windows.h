// A simulated window system: dialogs built from the templates of the string and
// dialog tables, a clock for their timers, and a scripted user. The script lists,
// in order, what the user does in each window that waits for input and how each
// message box is answered; a window or box that the script did not expect throws
// SimUnexpected at once, with what appeared.
#pragma once
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>
#include "platform/sim/sim_log.h"
#include "platform/window_system.h"

struct MessageBoxRecord {
    HWND owner;
    std::string text, caption;
    UINT style;
};

class SimDialogView;

class SimWindows : public WindowSystem {
public:
    explicit SimWindows(SimLog& log) : m_log(log) {}

    // The script. A dialog step runs when its window has no timer running, or,
    // with afterTicks >= 0, once that many ticks have passed since the window
    // opened or since the step before it in that window.
    void ExpectDialog(UINT templateId, std::function<void(SimDialogView&)> act, int afterTicks = -1);
    void ExpectMessageBox(int answer);
    // What the script still holds; empty when every step was used.
    std::string ScriptLeft() const;

    const std::vector<MessageBoxRecord>& MessageBoxes() const { return m_boxes; }
    int LiveFonts() const { return m_liveFonts; }
    int OpenWindows() const { return static_cast<int>(m_windows.size()); }
    // Templates whose windows cannot be created (RunModal returns -1).
    std::set<UINT> refuseTemplates;
    // The user in the folder picker: given the window that owns it and the folder
    // it opens in ("" the computer's top level), the PickOutcome and the folder
    // chosen. Unset, a picker throws SimUnexpected.
    std::function<int(SimDialogView& owner, const std::string& start, std::string& chosen)> picker;

    INT_PTR RunModal(Dialog& dialog, HWND parent) override;
    BOOL EndModal(HWND window, INT_PTR result) override;
    BOOL SetCaption(HWND window, const char* text) override;
    bool HasItem(HWND window, int id) override;
    BOOL SetItemText(HWND window, int id, const char* text) override;
    std::string GetItemText(HWND window, int id) override;
    UINT GetItemNumber(HWND window, int id) override;
    BOOL EnableItem(HWND window, int id, BOOL enable) override;
    void FocusItem(HWND window, int id) override;
    int FocusedItem(HWND window) override;
    void MoveFocus(HWND window, int id) override;
    BOOL Show(HWND window, int command) override;
    LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    UINT_PTR StartTimer(HWND window, UINT_PTR id, UINT elapse) override;
    BOOL StopTimer(HWND window, UINT_PTR id) override;
    int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) override;
    int PickFolder(HWND owner, const char* start, std::string& chosen) override;
    HICON LoadAppIcon(UINT id) override;
    HICON LoadSizedIcon(UINT id, int cx, int cy) override;
    HFONT MakeFont(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                   DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                   DWORD pitchAndFamily, const char* face) override;
    BOOL DestroyFont(HFONT font) override;

    // The arguments of the last MakeFont, as "height,width,...,face".
    std::string lastFontRequest;

private:
    friend class SimDialogView;
    struct Control {
        int id;
        std::string windowClass, text;
        bool visible, enabled, defaultButton;
    };
    struct Timer {
        UINT period;
        uint64_t due;
    };
    struct Window {
        Dialog* dialog;
        UINT templateId;
        std::string caption;
        bool shown = true, ended = false;
        INT_PTR result = 0;
        int focus = 0, ticks = 0;
        HICON bigIcon = nullptr, smallIcon = nullptr;
        HFONT font = nullptr;
        std::vector<Control> controls;
        std::map<UINT_PTR, Timer> timers;
    };
    struct Step {
        bool messageBox;
        UINT templateId;
        std::function<void(SimDialogView&)> act;
        int answer, afterTicks;
    };

    Window& Find(HWND window);
    Control* FindControl(HWND window, int id);
    std::string Describe(const Step& step) const;
    void FireTimer(Window& window);

    SimLog& m_log;
    std::map<HWND, std::unique_ptr<Window>> m_windows;
    std::deque<Step> m_script;
    std::vector<MessageBoxRecord> m_boxes;
    uintptr_t m_nextWindow = 0x10000;
    uint64_t m_now = 0;
    int m_liveFonts = 0;
    uintptr_t m_nextFont = 0x20000;
};

// What a person sees and can do in an open window.
class SimDialogView {
public:
    SimDialogView(SimWindows& windows, HWND window) : m_windows(windows), m_window(window) {}

    HWND Handle() const { return m_window; }
    std::string Caption() const { return State().caption; }
    bool Shown() const { return State().shown; }
    std::string Text(int id) const { return m_windows.GetItemText(m_window, id); }
    bool IsVisible(int id) const { return Item(id) != nullptr && Item(id)->visible; }
    bool IsEnabled(int id) const { return Item(id) != nullptr && Item(id)->enabled; }
    int Focus() const { return State().focus; }
    HICON BigIcon() const { return State().bigIcon; }
    HICON SmallIcon() const { return State().smallIcon; }
    HFONT Font() const { return State().font; }

    // A click on a visible, enabled button, which takes the focus.
    void Press(int id);
    // The Escape and Enter keys and the close box, as the dialog manager turns
    // them into commands. Keys reach the window only while one of its controls
    // has the focus. Enter presses the push button with the focus, else the
    // default button: the template's last BS_DEFPUSHBUTTON, as Wine's dialog
    // manager takes it, or IDOK.
    void Escape();
    void CloseBox();
    void Enter();
    // A click into a visible, enabled edit box (it takes the focus), then its text replaced.
    void Type(int id, const std::string& text);
    // A command from a control that no person could click (a hidden button).
    void SendCommand(int id);

private:
    SimWindows::Window& State() const { return m_windows.Find(m_window); }
    SimWindows::Control* Item(int id) const { return m_windows.FindControl(m_window, id); }
    SimWindows& m_windows;
    HWND m_window;
};
