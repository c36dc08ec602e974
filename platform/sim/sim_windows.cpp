#include "sim_windows.h"
#include "platform/dialog.h"
#include "platform/item_number.h"
#include <algorithm>
#include <utility>
#include "resources/dialog_templates.h"

// A window whose timer never lets the script act (a const has internal linkage).
const int kTickLimit = 10000000;

void SimWindows::ExpectDialog(UINT templateId, std::function<void(SimDialogView&)> act, int afterTicks) {
    m_script.push_back(Step{false, templateId, std::move(act), 0, afterTicks});
}

void SimWindows::ExpectMessageBox(int answer) { m_script.push_back(Step{true, 0, nullptr, answer, -1}); }

std::string SimWindows::Describe(const Step& step) const {
    return step.messageBox ? "a message box answered " + std::to_string(step.answer)
                           : "an action in dialog " + std::to_string(step.templateId);
}

std::string SimWindows::ScriptLeft() const {
    std::string left;
    for (const Step& step : m_script) left += Describe(step) + "; ";
    return left;
}

SimWindows::Window& SimWindows::Find(HWND window) { return *Opened(m_windows, window); }

SimWindows::Control* SimWindows::FindControl(HWND window, int id) {
    for (Control& control : Find(window).controls)
        if (control.id == id) return &control;
    return nullptr;
}

INT_PTR SimWindows::RunModal(Dialog& dialog, HWND) {
    const UINT templateId = dialog.TemplateId();
    const DialogTemplate* layout = FindDialogTemplate(templateId);
    if (layout == nullptr || refuseTemplates.count(templateId) != 0) {
        m_log.Add("dialog " + std::to_string(templateId) + " refused");
        return -1;
    }
    HWND handle = reinterpret_cast<HWND>(m_nextWindow);
    m_nextWindow += 0x10;
    auto window = std::make_unique<Window>();
    window->dialog = &dialog;
    window->templateId = templateId;
    for (size_t i = 0; i < layout->controlCount; ++i) {
        const ControlTemplate& control = layout->controls[i];
        window->controls.push_back(Control{control.id, control.windowClass, control.text,
                                           (control.style & WS_VISIBLE) != 0, (control.style & WS_DISABLED) == 0,
                                           std::string(control.windowClass) == "Button" &&
                                               (control.style & 0xF) == BS_DEFPUSHBUTTON});
    }
    Window& state = *window;
    m_windows[handle] = std::move(window);
    dialog.Attach(handle);
    m_log.Add("dialog " + std::to_string(templateId) + " open");

    // The window goes away however the run ends, also when the script throws.
    const auto close = [this, handle](Dialog* closed) {
        closed->Detach();
        m_windows.erase(handle);
    };
    const std::unique_ptr<Dialog, decltype(close)> closer(&dialog, close);

    // The first control that can take the focus gets it, unless the dialog set it.
    const bool initialFocus = dialog.OnInitDialog();
    const auto first = std::find_if(state.controls.begin(), state.controls.end(), [](const Control& control) {
        return control.visible && control.enabled && control.windowClass != "Static";
    });
    if (initialFocus && first != state.controls.end()) state.focus = first->id;
    while (!state.ended) {
        const bool timing = !state.timers.empty();
        const Step* next = m_script.empty() ? nullptr : &m_script.front();
        if (next != nullptr && !next->messageBox && next->templateId == templateId &&
            (!timing || (next->afterTicks >= 0 && state.ticks >= next->afterTicks))) {
            Step step = std::move(m_script.front());
            m_script.pop_front();
            state.ticks = 0;
            SimDialogView view(*this, handle);
            step.act(view);
            continue;
        }
        if (timing) {
            if (state.ticks > kTickLimit) throw SimUnexpected("dialog " + std::to_string(templateId) + " ticks for ever");
            FireTimer(state);
            continue;
        }
        throw SimUnexpected("dialog " + std::to_string(templateId) + " waits for the user, but the script has " +
                            (next == nullptr ? std::string("nothing more") : Describe(*next)));
    }
    const INT_PTR result = state.result;
    m_log.Add("dialog " + std::to_string(templateId) + " end " + std::to_string(result));
    return result;
}

void SimWindows::FireTimer(Window& window) {
    const auto earliest = std::min_element(window.timers.begin(), window.timers.end(),
                                           [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    const UINT_PTR id = earliest->first;
    if (earliest->second.due > m_now) m_now = earliest->second.due;
    earliest->second.due = m_now + earliest->second.period;
    ++window.ticks;
    m_log.Add("timer tick " + std::to_string(id));
    // The handler may end or stop anything; the window stays until RunModal returns.
    window.dialog->OnTimer(id);
}

BOOL SimWindows::EndModal(HWND window, INT_PTR result) {
    Window& found = Find(window);
    found.ended = true;
    found.result = result;
    return TRUE;
}

BOOL SimWindows::SetCaption(HWND window, const char* text) {
    Find(window).caption = text;
    m_log.Add("caption " + std::string(text));
    return TRUE;
}

bool SimWindows::HasItem(HWND window, int id) { return FindControl(window, id) != nullptr; }

BOOL SimWindows::SetItemText(HWND window, int id, const char* text) {
    Control* control = FindControl(window, id);
    if (control != nullptr) control->text = text;
    return control != nullptr ? TRUE : FALSE;
}

std::string SimWindows::GetItemText(HWND window, int id) {
    Control* control = FindControl(window, id);
    return control == nullptr ? std::string() : control->text;
}

UINT SimWindows::GetItemNumber(HWND window, int id) { return UnsignedItemNumber(GetItemText(window, id)); }

BOOL SimWindows::EnableItem(HWND window, int id, BOOL enable) {
    Control* control = FindControl(window, id);
    if (control == nullptr) return FALSE;
    const BOOL wasDisabled = control->enabled ? FALSE : TRUE;
    control->enabled = enable != FALSE;
    // Windows takes the focus from a control it disables and gives it to none.
    if (!control->enabled && Find(window).focus == id) Find(window).focus = 0;
    return wasDisabled;
}

void SimWindows::FocusItem(HWND window, int id) {
    if (FindControl(window, id) != nullptr) Find(window).focus = id;
}

int SimWindows::FocusedItem(HWND window) { return Find(window).focus; }

void SimWindows::MoveFocus(HWND window, int id) {
    const Control* control = FindControl(window, id);
    if (control == nullptr || !control->visible || !control->enabled) return;
    Find(window).focus = id;
    // What a screen reader reads out as the keyboard reaches an edit box.
    if (control->windowClass == "Edit") m_log.Add("focus " + std::to_string(id) + " " + control->text);
}

BOOL SimWindows::Show(HWND window, int command) {
    Window& found = Find(window);
    const BOOL was = found.shown ? TRUE : FALSE;
    found.shown = command != SW_HIDE;
    m_log.Add("show " + std::to_string(command));
    return was;
}

// Icons and fonts are plain handles that the window keeps.
LRESULT SimWindows::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Window& found = Find(window);
    if (message == WM_SETICON)
        return reinterpret_cast<LRESULT>(
            std::exchange(wParam == ICON_BIG ? found.bigIcon : found.smallIcon, reinterpret_cast<HICON>(lParam)));
    if (message == WM_SETFONT) found.font = reinterpret_cast<HFONT>(wParam);
    return 0;
}

UINT_PTR SimWindows::StartTimer(HWND window, UINT_PTR id, UINT elapse) {
    // Windows raises any period under 10 ms to 10 ms.
    const UINT period = elapse < 10 ? 10 : elapse;
    Find(window).timers[id] = Timer{period, m_now + period};
    m_log.Add("timer start " + std::to_string(id));
    return id;
}

BOOL SimWindows::StopTimer(HWND window, UINT_PTR id) {
    if (Find(window).timers.erase(id) == 0) return FALSE;
    m_log.Add("timer stop " + std::to_string(id));
    return TRUE;
}

int SimWindows::ShowMessageBox(HWND owner, const char* text, const char* caption, UINT style) {
    m_boxes.push_back(MessageBoxRecord{owner, text, caption, style});
    m_log.Add("message box " + std::string(text) + " | " + caption + " | " + Hex(style));
    if (m_script.empty() || !m_script.front().messageBox)
        throw SimUnexpected("unexpected message box \"" + std::string(text) + "\"; the script has " +
                            (m_script.empty() ? std::string("nothing more") : Describe(m_script.front())));
    const int answer = m_script.front().answer;
    m_script.pop_front();
    const UINT buttons = style & 0xF;
    const bool possible = (buttons == MB_OK && answer == IDOK) ||
                          (buttons == MB_OKCANCEL && (answer == IDOK || answer == IDCANCEL)) ||
                          (buttons == MB_YESNO && (answer == IDYES || answer == IDNO));
    if (!possible)
        throw SimUnexpected("message box \"" + std::string(text) + "\" has no button " + std::to_string(answer));
    return answer;
}

int SimWindows::PickFolder(HWND owner, const char* start, std::string& chosen) {
    if (!picker) throw SimUnexpected("a folder picker that the script did not expect, from " + std::string(start));
    SimDialogView view(*this, owner);
    return picker(view, start, chosen);
}

HICON SimWindows::LoadAppIcon(UINT id) { return reinterpret_cast<HICON>(static_cast<uintptr_t>(0x30000 + id)); }

HICON SimWindows::LoadSizedIcon(UINT id, int cx, int cy) {
    return reinterpret_cast<HICON>(static_cast<uintptr_t>(0x40000 + id * 0x100 + cx + cy));
}

HFONT SimWindows::MakeFont(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                           DWORD underline, DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision,
                           DWORD quality, DWORD pitchAndFamily, const char* face) {
    lastFontRequest.clear();
    for (long value : {long(height), long(width), long(escapement), long(orientation), long(weight), long(italic),
                       long(underline), long(strikeOut), long(charSet), long(outPrecision), long(clipPrecision),
                       long(quality), long(pitchAndFamily)})
        lastFontRequest += std::to_string(value) + ",";
    lastFontRequest += face;
    ++m_liveFonts;
    return reinterpret_cast<HFONT>(m_nextFont += 4);
}

BOOL SimWindows::DestroyFont(HFONT font) {
    if (font == nullptr) return FALSE;
    --m_liveFonts;
    return TRUE;
}

void SimDialogView::Press(int id) {
    const SimWindows::Control* control = Item(id);
    if (control == nullptr || control->windowClass != "Button" || !control->visible || !control->enabled || !Shown())
        throw SimUnexpected("no visible, enabled button " + std::to_string(id) + " to press in dialog " +
                            std::to_string(State().templateId));
    State().focus = id;
    SendCommand(id);
}

void SimDialogView::SendCommand(int id) {
    Dialog& dialog = *State().dialog;
    if (id == IDOK)
        dialog.OnOK();
    else if (id == IDCANCEL)
        dialog.OnCancel();
    else
        dialog.OnCommand(id, BN_CLICKED);
}

void SimDialogView::CloseBox() {
    const SimWindows::Control* cancel = Item(IDCANCEL);
    if (cancel == nullptr || cancel->enabled) State().dialog->OnCancel();
}

void SimDialogView::Escape() {
    if (Focus() != 0) CloseBox();
}

void SimDialogView::Enter() {
    const int focus = Focus();
    if (focus == 0) return;
    const SimWindows::Control* focused = Item(focus);
    if (focused != nullptr && focused->windowClass == "Button") return SendCommand(focus);
    int defaultId = IDOK;
    for (const SimWindows::Control& control : State().controls)
        if (control.defaultButton) defaultId = control.id;
    const SimWindows::Control* button = Item(defaultId);
    if (button == nullptr || button->enabled) SendCommand(defaultId);
}

void SimDialogView::Type(int id, const std::string& text) {
    SimWindows::Control* control = Item(id);
    if (control == nullptr || control->windowClass != "Edit" || !control->visible || !control->enabled)
        throw SimUnexpected("no visible, enabled edit box " + std::to_string(id) + " to type in");
    State().focus = id;
    control->text = text;
}
