#include "grid/tools/ToolCtrlsGxDropDowns.h"

#include "platform/winapi/controls/MonthCal.h"

CLASSLIB_IMPLEMENT_CLASS(TPopupMonthCalendarGx, TMonthCalendar, ComponentCreator<TPopupMonthCalendarGx>, nullptr)

TPopupMonthCalendarGx::TPopupMonthCalendarGx(TComponent* owner) : TMonthCalendar(owner)
{
    SetControlStyle(ControlStyle() + TControlStyle{csReplicatable});
    SetTabStop(false);
    SetVisible(false);
}

void TPopupMonthCalendarGx::CreateParams(TCreateParams& params)
{
    TMonthCalendar::CreateParams(params);
    params.Style = (params.Style & ~(WS_CHILD | WS_BORDER)) | WS_POPUP;
    params.ExStyle = (params.ExStyle & ~WS_EX_CLIENTEDGE) | WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    params.WndParent = owner ? owner->Handle() : nullptr;
}

void TPopupMonthCalendarGx::CreateWnd()
{
    TMonthCalendar::CreateWnd();
    FitSize();
}

void TPopupMonthCalendarGx::FitSize()
{
    RECT least{};
    (void)SendMessageA(Handle(), MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&least));
    SetBounds(Left(), Top(), least.right - least.left + 2 * FrameWidth, least.bottom - least.top + 2 * FrameWidth);
}

void TPopupMonthCalendarGx::CloseUp(bool accept)
{
    if (auto* owner = dynamic_cast<IPopupOwnerGx*>(Owner()))
        owner->ClosePopup(accept);
}

void TPopupMonthCalendarGx::KeyDown(WORD& key, TShiftState shift)
{
    if (key == VK_RETURN || key == VK_ESCAPE) {
        CloseUp(key == VK_RETURN);
        key = 0;
        return;
    }
    TMonthCalendar::KeyDown(key, shift);
}

// A released click on a date (of this month or a neighbouring one) takes it; the title, the
// month buttons and the background do not.
void TPopupMonthCalendarGx::MouseReleased(POINT point)
{
    MCHITTESTINFO hit{};
    hit.cbSize = sizeof(hit);
    hit.pt = point;
    (void)SendMessageA(Handle(), MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
    if ((hit.uHit & MCHT_CALENDARDATE) == MCHT_CALENDARDATE)
        CloseUp(true);
}

void TPopupMonthCalendarGx::Dispatch(TMessage& message)
{
    if (AnswerClosingDropDownMessage(message, [this](bool accept) { CloseUp(accept); }))
        return;
    switch (message.Msg) {
    case WM_MOUSEWHEEL:
        SetDate(Date() + (static_cast<short>(HIWORD(message.WParam)) > 0 ? -1 : 1));
        message.Result = 1;
        return;
    case WM_NCCALCSIZE:
        InflateRect(reinterpret_cast<RECT*>(message.LParam), -FrameWidth, -FrameWidth);
        message.Result = 0;
        return;
    case WM_NCPAINT:
        PaintDropDownFrame(Handle(), false);
        return;
    case WM_KILLFOCUS:
        TMonthCalendar::Dispatch(message);
        (void)PostMessageA(Handle(), WM_DROPDOWN_CLOSEUP, 0, 0);
        return;
    default:
        break;
    }
    TMonthCalendar::Dispatch(message);
    if (message.Msg == WM_LBUTTONUP)
        MouseReleased(POINT{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))});
}
