#include "controls/KvEdit.h"

#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

// The drop button lives in the non-client area: the client area gives up its width at the
// right, the button is painted with the frame and answers the mouse through the hit test.

void TKvCustomEdit::SetDropButtonVisible(bool visible)
{
    if (visible == m_dropButtonVisible)
        return;
    m_dropButtonVisible = visible;
    if (HandleAllocated())
        RecreateWnd();
}

void TKvCustomEdit::SetDropButtonState(TButtonState state)
{
    if (!m_dropButtonVisible || state == m_dropButtonState)
        return;
    m_dropButtonState = state;
    RepaintFrame();
}

void TKvCustomEdit::SetFlatButtons(bool flat)
{
    if (flat == m_flatButtons)
        return;
    m_flatButtons = flat;
    RepaintFrame();
}

TRect TKvCustomEdit::DropButtonRect() const
{
    TRect rect{0, 0, Width(), Height()};
    if (BorderStyle() == bsSingle)
        InflateRect(&rect, -2, -2);
    rect.left = rect.right - GetSystemMetrics(SM_CXVSCROLL);
    return rect;
}

bool TKvCustomEdit::DropButtonMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_NCCALCSIZE:
        NarrowClientArea(message);
        return false;
    case WM_NCHITTEST:
        TCustomMaskEdit::Dispatch(message);
        HitTestDropButton(message);
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        if (m_mouseOverButton) {
            if (!Focused())
                SetFocus();
            DropDown(true);
            message.Result = 0;
            return true;
        }
        if (message.Msg == WM_LBUTTONDBLCLK)
            return false;
        if (Outlives([&] { TCustomMaskEdit::Dispatch(message); }) && !Focused())
            EndDrop();
        return true;
    case WM_RBUTTONDOWN:
        if (!m_mouseOverButton)
            return false;
        message.Result = 0;
        return true;
    case WM_SETCURSOR:
        // Over the button the cursor is the arrow of the non-client area, not the edit's beam.
        if (m_mouseOverButton)
            message.LParam = MAKELPARAM(HTNOWHERE, HIWORD(message.LParam));
        return false;
    case WM_LBUTTONUP:
    case WM_KILLFOCUS:
        if (Outlives([&] { TCustomMaskEdit::Dispatch(message); }))
            EndDrop();
        return true;
    default:
        return false;
    }
}

void TKvCustomEdit::NarrowClientArea(TMessage& message) const
{
    RECT* rect = message.WParam ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                                : reinterpret_cast<RECT*>(message.LParam);
    if (rect)
        rect->right -= GetSystemMetrics(SM_CXVSCROLL);
}

// Decided by the button's place: the default hit test names the strip a border.
void TKvCustomEdit::HitTestDropButton(TMessage& message)
{
    RECT window{};
    (void)GetWindowRect(Handle(), &window);
    const POINT point{GET_X_LPARAM(message.LParam) - window.left, GET_Y_LPARAM(message.LParam) - window.top};
    const TRect button = DropButtonRect();
    m_mouseOverButton = PtInRect(&button, point) != FALSE;
    if (m_mouseOverButton)
        message.Result = HTCLIENT;
}

void TKvCustomEdit::PaintDropButton(HDC dc)
{
    const SavedDC saved(dc);
    TRect inside{0, 0, Width(), Height()};
    if (BorderStyle() == bsSingle)
        InflateRect(&inside, -2, -2);
    (void)IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    DrawDropButton(DropButtonRect());
}

void TKvCustomEdit::DrawDropButton(const TRect& rect)
{
    TCanvas& canvas = *m_frameCanvas;
    const bool down = m_dropButtonState == bsDown;
    if (!m_flatButtons) {
        UINT state = DFCS_SCROLLCOMBOBOX;
        if (down)
            state |= DFCS_PUSHED | DFCS_FLAT;
        if (!Enabled())
            state |= DFCS_INACTIVE;
        RECT face = rect;
        (void)DrawFrameControl(canvas.Handle(), &face, DFC_SCROLL, state);
        return;
    }
    canvas.Brush()->SetStyle(bsSolid);
    if (!m_mouseOver && !m_focusedIn) {
        canvas.Brush()->SetColor(StateColor());
        canvas.FillRect(rect);
        DrawDropArrow(canvas, rect, false, Enabled(), false);
        return;
    }
    TRect inner = rect;
    if (m_flatButtonColor == clBtnFace)
        DrawEdgeLines(canvas, inner, down ? clBtnShadow : clBtnHighlight, down ? clBtnHighlight : clBtnShadow, AllSides);
    else
        DrawTintedButtonEdge(canvas, inner, m_flatButtonColor, down);
    canvas.Brush()->SetColor(m_flatButtonColor);
    canvas.FillRect(inner);
    DrawDropArrow(canvas, inner, false, Enabled(), down);
}

void TKvCustomEdit::DropDown(bool byMouse)
{
    if (!m_dropButtonVisible)
        return;
    m_droppedDown = true;
    const HWND window = Handle();
    (void)SetCapture(window);
    // A drop from the keyboard has no button release to give the mouse back.
    const auto finish = [&] {
        SetDropButtonState(bsUp);
        m_droppedDown = false;
        if (!byMouse && GetCapture() == window)
            (void)ReleaseCapture();
    };
    SetDropButtonState(bsDown);
    const TControlLife life(*this);
    try {
        if (Outlives([this] { DoDropOpen(); }))
            DoDropClose();
    } catch (...) {
        if (life.Stands())
            finish();
        throw;
    }
    if (life.Stands())
        finish();
}

void TKvCustomEdit::EndDrop()
{
    if (!m_droppedDown)
        SetDropButtonState(bsUp);
    if (HandleAllocated() && GetCapture() == Handle())
        (void)ReleaseCapture();
}

void TKvCustomEdit::KeyDown(WORD& key, TShiftState shift)
{
    if (!Outlives([&] { TCustomMaskEdit::KeyDown(key, shift); }) || !m_dropButtonVisible || key == 0)
        return;
    if ((key == VK_DOWN && shift == TShiftState{ssAlt}) || key == VK_F4) {
        DropDown(false);
        key = 0;
    }
}
