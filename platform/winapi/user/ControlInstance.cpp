#include "platform/winapi/user/ControlInstance.h"

bool RegisterControlClass(const char* className, WNDPROC procedure, UINT style, int extraBytes, LPCSTR cursor)
{
    WNDCLASSA existing{};
    if (GetClassInfoA(nullptr, className, &existing))
        return true;
    WNDCLASSA wc{};
    wc.style = CS_GLOBALCLASS | style;
    wc.lpfnWndProc = procedure;
    wc.cbWndExtra = extraBytes;
    wc.hCursor = LoadCursorA(nullptr, cursor);
    wc.lpszClassName = className;
    // Another thread may have registered it between the look-up and here.
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

Reply ControlInstance::NotifyParent(UINT code, NMHDR& header) const
{
    header.hwndFrom = m_window;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(m_window));
    header.code = code;
    return SendToParent(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

Reply ControlInstance::CommandParent(WORD code) const
{
    const WORD id = static_cast<WORD>(GetDlgCtrlID(m_window));
    return SendToParent(WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(m_window));
}

Reply ControlInstance::SendToParent(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendTo(GetParent(m_window), message, wParam, lParam);
}

Reply ControlInstance::SendTo(HWND receiver, UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_destroyed || receiver == nullptr)
        return Reply{0, Stands()};
    const LRESULT answer = SendMessageA(receiver, message, wParam, lParam);
    return Reply{answer, Stands()};
}

ControlHold::~ControlHold()
{
    if (--m_instance.m_holders == 0 && m_instance.m_destroyed)
        delete &m_instance;
}

ControlInstance* InstanceOf(HWND window) { return reinterpret_cast<ControlInstance*>(GetWindowLongPtrA(window, 0)); }

LRESULT DispatchToInstance(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                           std::unique_ptr<ControlInstance> (*make)(HWND, const CREATESTRUCTA&))
{
    if (message == WM_NCCREATE && InstanceOf(window) == nullptr) {
        auto made = make(window, *reinterpret_cast<const CREATESTRUCTA*>(lParam));
        (void)SetWindowLongPtrA(window, 0, reinterpret_cast<LONG_PTR>(made.release()));
    }
    ControlInstance* instance = InstanceOf(window);
    if (instance == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    const ControlHold hold(*instance);
    if (message == WM_NCDESTROY) {
        instance->m_destroyed = true;
        (void)SetWindowLongPtrA(window, 0, 0);
        return DefWindowProcA(window, message, wParam, lParam);
    }
    return instance->Handle(message, wParam, lParam);
}
