#include "platform/winapi/controls/CommCtrl.h"

LRESULT NotifyParent(HWND control, UINT code, NMHDR& header)
{
    header.hwndFrom = control;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    header.code = code;
    const HWND parent = GetParent(control);
    if (parent == nullptr)
        return 0;
    return SendMessageA(parent, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}
