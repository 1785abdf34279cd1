#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/Hints.h"

// The application's hint machinery: a pause timer started when the pointer comes over a control
// with hints, the tip shown when it expires, a hide timer after that.

namespace {

// The tip sits this far below the pointer's hot spot, clear of the arrow.
constexpr int CURSOR_HEIGHT_MARGIN = 20;

// The nearest hint up the parent chain.
std::string HintOf(const TControl* control)
{
    for (; control; control = control->Parent())
        if (!control->Hint().empty())
            return control->Hint();
    return {};
}

// The control under a screen point, graphic controls included.
TControl* ControlAtScreen(TPoint point)
{
    TWinControl* windowed = nullptr;
    for (HWND window = WindowFromPoint(point); window && !windowed; window = GetParent(window))
        windowed = TWinControl::FindControl(window);
    if (!windowed)
        return nullptr;
    TControl* graphic = windowed->ControlAtPos(windowed->ScreenToClient(point), true);
    return graphic ? graphic : windowed;
}

// The control whose hint shows there: the nearest one up the chain with ShowHint.
TControl* HintControlOf(TControl* control)
{
    while (control && !control->ShowHint())
        control = control->Parent();
    return control;
}

TRect ScreenRect(const TControl* control, TRect rect)
{
    const TPoint origin = control->ClientOrigin();
    OffsetRect(&rect, origin.x, origin.y);
    return rect;
}

bool EndsHint(UINT message)
{
    return (message >= WM_KEYFIRST && message <= WM_KEYLAST) ||
           (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && message != WM_MOUSEMOVE) ||
           message == WM_NCLBUTTONDOWN || message == WM_NCRBUTTONDOWN || message == WM_ACTIVATE ||
           message == WM_ACTIVATEAPP;
}

} // namespace

void TApplication::SetShowHint(bool showHint)
{
    if (showHint == m_showHint)
        return;
    m_showHint = showHint;
    if (!showHint)
        CancelHint();
}

void TApplication::SetHintColor(TColor color)
{
    m_hintColor = color;
    if (m_hintWindow)
        m_hintWindow->SetColor(color);
}

void TApplication::SetHint(const std::string& hint)
{
    if (hint == m_hint)
        return;
    m_hint = hint;
    if (m_onHint)
        m_onHint(this);
}

void TApplication::HintMouseMessage(TControl* control, TMessage& message)
{
    if (message.Msg != WM_MOUSEMOVE)
        return;
    const TPoint point = control->ClientToScreen(MessagePoint(message));
    TControl* target = ControlAtScreen(point);
    SetHint(GetLongHint(HintOf(target)));
    TControl* hintControl = m_showHint ? HintControlOf(target) : nullptr;
    if (!hintControl) {
        CancelHint();
        return;
    }
    if (hintControl == m_hintControl && PtInRect(&m_hintCursorRect, point))
        return;
    const bool wasActive = m_hintActive;
    CancelHint();
    SetHintControl(hintControl);
    m_hintCursorRect = ScreenRect(hintControl, hintControl->ClientRect());
    StartHintTimer(wasActive ? m_hintShortPause : m_hintPause, true);
}

void TApplication::ActivateHint(TPoint cursorPos)
{
    StopHintTimer();
    TControl* control = m_showHint ? HintControlOf(ControlAtScreen(cursorPos)) : nullptr;
    if (!control) {
        CancelHint();
        return;
    }
    SetHintControl(control);
    THintInfo info;
    info.HintControl = control;
    info.HintWindowClass = m_hintWindow ? m_hintWindow->ClassType() : THintWindow::StaticClass();
    info.HintPos = TPoint{cursorPos.x, cursorPos.y + CURSOR_HEIGHT_MARGIN};
    info.HintMaxWidth = GetSystemMetrics(SM_CXSCREEN);
    info.HintColor = m_hintColor;
    info.CursorRect = control->ClientRect();
    info.CursorPos = control->ScreenToClient(cursorPos);
    info.HideTimeout = m_hintHidePause;
    info.HintStr = GetShortHint(HintOf(control));
    const bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
    m_hintActive = canShow;
    // A control freed by its own CM_HINTSHOW is forgotten by then (Notification clears it).
    if (!canShow || info.HintStr.empty() || m_hintControl != control) {
        HideHint();
        return;
    }
    // The pointer may wander inside CursorRect without the tip changing.
    m_hintCursorRect = ScreenRect(control, info.CursorRect);
    THintWindow* window = EnsureHintWindow(info.HintWindowClass);
    window->SetColor(info.HintColor);
    TRect rect = window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(&rect, info.HintPos.x, info.HintPos.y);
    window->ActivateHintData(rect, info.HintStr, info.HintData);
    if (info.ReshowTimeout > 0)
        StartHintTimer(info.ReshowTimeout, true);
    else if (info.HideTimeout > 0)
        StartHintTimer(info.HideTimeout, false);
}

void TApplication::HideHint()
{
    if (m_hintWindow && m_hintWindow->HandleAllocated() && IsWindowVisible(m_hintWindow->Handle()))
        (void)ShowWindow(m_hintWindow->Handle(), SW_HIDE);
}

void TApplication::CancelHint()
{
    HideHint();
    // The window goes with the tip: it holds drawing objects, and the application object lives
    // until the very end of the program, past the drawing layer.
    delete m_hintWindow; // its notification clears m_hintWindow
    StopHintTimer();
    m_hintActive = false;
    SetHintControl(nullptr);
    m_hintCursorRect = TRect{};
}

void TApplication::CancelHintOn(const MSG& msg)
{
    if ((m_hintActive || m_hintTimer != 0) && EndsHint(msg.message))
        CancelHint();
}

void TApplication::SetHintControl(TControl* control)
{
    if (control == m_hintControl)
        return;
    if (m_hintControl)
        m_hintControl->RemoveFreeNotification(this);
    m_hintControl = control;
    if (m_hintControl)
        m_hintControl->FreeNotification(this);
}

THintWindow* TApplication::EnsureHintWindow(TClass windowClass)
{
    if (!windowClass || !windowClass->InheritsFrom(THintWindow::StaticClass()))
        windowClass = THintWindow::StaticClass();
    if (m_hintWindow && m_hintWindow->ClassType() != windowClass)
        delete m_hintWindow; // its notification clears m_hintWindow
    if (!m_hintWindow) {
        m_hintWindow = static_cast<THintWindow*>(windowClass->Create(this));
        m_hintWindow->FreeNotification(this);
    }
    return m_hintWindow;
}

void TApplication::StartHintTimer(int pause, bool show)
{
    StopHintTimer();
    m_hintTimerShows = show;
    // A thread timer: the application's window would outlive the window system at exit.
    m_hintTimer = SetTimer(nullptr, 0, static_cast<UINT>(pause), &HintTimerExpired);
}

void TApplication::StopHintTimer()
{
    if (m_hintTimer == 0)
        return;
    (void)KillTimer(nullptr, m_hintTimer);
    m_hintTimer = 0;
}

void TApplication::HintTimerExpired(HWND, UINT, UINT_PTR, DWORD)
{
    if (!Application)
        return;
    Application->StopHintTimer();
    if (!Application->m_hintTimerShows) {
        Application->CancelHint();
        return;
    }
    POINT cursor{};
    (void)GetCursorPos(&cursor);
    Application->ActivateHint(cursor);
}
