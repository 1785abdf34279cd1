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

void CommandParent(HWND control, WORD notification)
{
    const HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    const WORD id = static_cast<WORD>(GetDlgCtrlID(control));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(control));
}
