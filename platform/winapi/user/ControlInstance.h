#pragma once

// The lifetime rule of a built-in control's state.
//
// Each built-in control keeps its state in one object derived from ControlInstance, made on
// WM_NCCREATE and reached through the window's first extra bytes. ControlInstanceProc<T> holds the
// object (a ControlHold, a count of holders) for the whole of every message it dispatches, so the
// object outlives any message in flight, nested ones included. WM_NCDESTROY only marks it dead and
// unhooks it from the window; the last holder to let go deletes it.
//
// Whoever hears a notification may destroy the control. So a control sends its parent (or anyone)
// a message only through ControlInstance's helpers (NotifyParent, CommandParent, SendToParent,
// SendTo); each answers with a Reply, and when Reply::stands is false the window is gone: the
// control returns at once, touching nothing but its own members, and further helpers send nothing.
// Code that reaches an instance from outside its window procedure (a subclassed buddy or edit)
// takes a ControlHold for as long as it uses it.
//
// A new control: derive a class from ControlInstance (constructed from the HWND, or from the HWND
// and the CREATESTRUCTA), override Handle to dispatch to small named handlers, and register it with
// RegisterControlInstanceClass<T>(className, style).

#include "platform/winapi/user/WinUser.h"

#include <memory>
#include <type_traits>

// Registers a built-in (CS_GLOBALCLASS) control class unless it is there already, so it is safe to
// call before every window is made and from any thread; false only if the class could not be made.
bool RegisterControlClass(const char* className, WNDPROC procedure, UINT style, int extraBytes,
                          LPCSTR cursor = IDC_ARROW);

// What a message sent on the control's behalf came back with: the receiver's answer, and whether
// the control outlived it.
struct [[nodiscard]] Reply {
    LRESULT answer = 0;
    bool stands = true;
};

// The state of one control window; see the rule above.
class ControlInstance {
public:
    ControlInstance(const ControlInstance&) = delete;
    ControlInstance& operator=(const ControlInstance&) = delete;
    virtual ~ControlInstance() = default;

    [[nodiscard]] HWND Window() const { return m_window; }
    // False once WM_NCDESTROY has reached the window: its handle names nothing any more.
    [[nodiscard]] bool Stands() const { return !m_destroyed; }

    // Fills the header from the control (its id is GetDlgCtrlID) and sends WM_NOTIFY to the parent;
    // the answer is 0 when the control has no parent.
    [[nodiscard]] Reply NotifyParent(UINT code, NMHDR& header) const;
    // WM_COMMAND with the notification code in the high word and the control's id in the low.
    [[nodiscard]] Reply CommandParent(WORD code) const;
    // Any other message a control sends its parent (WM_HSCROLL, WM_CTLCOLOR*, WM_DRAWITEM...).
    [[nodiscard]] Reply SendToParent(UINT message, WPARAM wParam, LPARAM lParam) const;
    // A message to another window that may answer by destroying the control (a combo box's list
    // reporting to the combo box, a tooltip to its tool's window).
    [[nodiscard]] Reply SendTo(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam) const;

    // The control's answer to one message; WM_NCCREATE is its first and WM_NCDESTROY never reaches it.
    virtual LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) = 0;

protected:
    explicit ControlInstance(HWND window) : m_window(window) {}

private:
    friend class ControlHold;
    friend LRESULT DispatchToInstance(HWND, UINT, WPARAM, LPARAM,
                                      std::unique_ptr<ControlInstance> (*)(HWND, const CREATESTRUCTA&));

    HWND m_window;
    int m_holders = 0;
    bool m_destroyed = false;
};

// Keeps an instance alive for a scope; the last hold on a dead instance deletes it.
class ControlHold {
public:
    explicit ControlHold(ControlInstance& instance) : m_instance(instance) { ++m_instance.m_holders; }
    ~ControlHold();
    ControlHold(const ControlHold&) = delete;
    ControlHold& operator=(const ControlHold&) = delete;

private:
    ControlInstance& m_instance;
};

// The instance a control window of a ControlInstanceProc class keeps, or nullptr (another class,
// or a window past WM_NCDESTROY).
[[nodiscard]] ControlInstance* InstanceOf(HWND window);

// The dispatch shared by every ControlInstanceProc: makes the instance on WM_NCCREATE, holds it
// around Handle, and marks it dead on WM_NCDESTROY.
LRESULT DispatchToInstance(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           std::unique_ptr<ControlInstance> (*make)(HWND, const CREATESTRUCTA&));

// T is made from the window alone, or from the window and its CREATESTRUCTA when it needs what
// the creator passed.
template <class T>
std::unique_ptr<ControlInstance> MakeControlInstance(HWND window, const CREATESTRUCTA& create)
{
    static_assert(std::is_base_of_v<ControlInstance, T>);
    if constexpr (std::is_constructible_v<T, HWND, const CREATESTRUCTA&>)
        return std::make_unique<T>(window, create);
    else
        return std::make_unique<T>(window);
}

// The window procedure of a control class that keeps one T per window (register the class with
// cbWndExtra = sizeof(ControlInstance*)).
template <class T>
LRESULT ControlInstanceProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DispatchToInstance(window, message, wParam, lParam, &MakeControlInstance<T>);
}

// Registers T's control class with that procedure; see RegisterControlClass.
template <class T>
bool RegisterControlInstanceClass(const char* className, UINT style, LPCSTR cursor = IDC_ARROW)
{
    return RegisterControlClass(className, &ControlInstanceProc<T>, style, sizeof(ControlInstance*), cursor);
}
