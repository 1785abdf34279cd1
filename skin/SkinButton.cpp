#include "skin/SkinButton.h"

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/user/Button.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRoutines.h"
#include "skin/SkinTypes.h"

#include <cctype>

TButtonFrame ButtonFrameOf(bool enabled, int mouseState, bool focused)
{
    if (!enabled)
        return bfDisabled;
    if (mouseState & TSkinHook::MousePressed)
        return bfPressed;
    if (mouseState & TSkinHook::MouseHot)
        return bfHot;
    return focused ? bfFocused : bfNormal;
}

void TSkinButton::ControlAttached()
{
    std::string name = m_control->ClassName();
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    m_mode = name.starts_with("tkv") || name.starts_with("tel") ? 1 : 0;
    m_parentBackground = TransparentBackground();
}

bool TSkinButton::HasPicture() const
{
    return m_data && !m_data->Elements().Buttons().Image.Empty();
}

bool TSkinButton::BeforeMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_PAINT:
        if (!HasPicture())
            break;
        HandlePaint(message);
        return false;
    case WM_ERASEBKGND:
        if (!HasPicture())
            break;
        message.Result = 1;
        return false;
    case WM_TIMER:
        (void)KillTimer(m_handle, 1);
        return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        Press();
        if (m_mode == 0)
            ForwardMouseDown(message);
        return false;
    default:
        break;
    }
    return TSkinHook::BeforeMessage(message);
}

void TSkinButton::Press()
{
    if (GetFocus() != m_handle)
        (void)SetFocus(m_handle);
    m_mouseState |= MousePressed;
    // Held so that a release anywhere ends the press.
    (void)SetCapture(m_handle);
    DrawWindow(nullptr);
}

void TSkinButton::ReleaseAndClick()
{
    m_mouseState &= ~MousePressed;
    Repaint();
    if (m_control) {
        m_control->Click();
        return;
    }
    std::string cls = GetWindowClassName(m_handle);
    for (char& c : cls)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const WPARAM id = cls == "tbutton" ? 0 : static_cast<WPARAM>(GetDlgCtrlID(m_handle));
    (void)PostMessageA(GetParent(m_handle), WM_COMMAND, id, reinterpret_cast<LPARAM>(m_handle));
}

void TSkinButton::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETTEXT:
        DrawWindow(nullptr);
        break;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (message.WParam != VK_SPACE)
            break;
        if (message.Msg == WM_KEYDOWN)
            m_mouseState |= MousePressed;
        else
            m_mouseState &= ~MousePressed;
        Repaint();
        break;
    case WM_MOUSEMOVE:
        ReadWindowState();
        if (m_enabled && !(m_mouseState & MouseHot)) {
            m_mouseState |= MouseHot;
            Repaint();
        }
        TrackMouseLeave(m_handle);
        break;
    case WM_LBUTTONUP: {
        if (!(m_mouseState & MousePressed))
            break;
        if (GetCapture() == m_handle)
            (void)ReleaseCapture();
        RECT client{};
        (void)GetClientRect(m_handle, &client);
        const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        if (PtInRect(&client, at)) {
            ReleaseAndClick();
        } else {
            m_mouseState &= ~MousePressed;
            Repaint();
        }
        break;
    }
    case WM_MOUSELEAVE:
        // A leave notice while the pointer is still over the button (a late one, or one sent
        // when the press took the capture) would drop the press and lose its click.
        if (PointerInside()) {
            TrackMouseLeave(m_handle);
            break;
        }
        m_mouseState = 0;
        Repaint();
        break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED:
        Repaint();
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

TColor TSkinButton::CaptionColour(TButtonFrame frame) const
{
    const TDataSkinButton& buttons = m_data->Elements().Buttons();
    switch (frame) {
    case bfDisabled:
        return clBtnShadow;
    case bfPressed:
        if (buttons.HasPressedColour2)
            return buttons.PressedColour2;
        break;
    case bfHot:
        if (buttons.HasMouseOverColour2)
            return buttons.MouseOverColour2;
        break;
    default:
        if (buttons.HasNormalColour2)
            return buttons.NormalColour2;
        break;
    }
    return m_control && m_control->Font() ? m_control->Font()->Color() : m_data->Elements().Colours().ButtonText;
}

// Over the button itself: a window that has come up over it (a message box its click opened)
// has the pointer, and watching for the leave again would be told of it at once, for ever.
bool TSkinButton::PointerInside() const
{
    POINT at{};
    return m_handle && GetCursorPos(&at) && WindowFromPoint(at) == m_handle;
}

TCanvas& TSkinButton::PrepareBuffer(HDC /*dc*/, const RECT& rect, TButtonFrame frame, bool withFrame)
{
    m_buffer.SetSize(rect.right - rect.left, rect.bottom - rect.top);
    TCanvas& canvas = *m_buffer.Canvas();
    const HDC buffer = canvas.Handle();
    const RECT local{0, 0, rect.right - rect.left, rect.bottom - rect.top};
    if (m_parentBackground && m_control)
        PaintControlBackground(m_control, buffer);
    else
        FillFace(buffer, local);
    if (withFrame)
        DrawSkinElement(buffer, local, 5, frame, m_data->Elements().Buttons());
    return canvas;
}

void TSkinButton::SelectCaptionFont(TCanvas& canvas, TButtonFrame frame) const
{
    if (m_control && m_control->Font())
        canvas.Font()->Assign(m_control->Font());
    else if (const auto font = reinterpret_cast<HFONT>(SendMessageA(m_handle, WM_GETFONT, 0, 0)))
        canvas.Font()->SetHandle(font);
    canvas.Font()->SetColor(CaptionColour(frame));
}

void TSkinButton::CopyBuffer(HDC dc, const RECT& rect)
{
    (void)BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_buffer.Canvas()->Handle(), 0,
                 0, SRCCOPY);
}

void TSkinButton::PaintSkin(HDC dc, const RECT& rect)
{
    if (!HasPicture() || rect.right <= 0 || rect.bottom <= 0)
        return;
    ReadWindowState();
    const TButtonFrame frame = ButtonFrameOf(m_enabled, m_mouseState, m_focused);
    TCanvas& canvas = PrepareBuffer(dc, rect, frame);
    SelectCaptionFont(canvas, frame);
    DrawCaption(canvas, rect, DT_CENTER, CaptionText());
    CopyBuffer(dc, rect);
}

void TSkinMenuButton::PaintSkin(HDC dc, const RECT& rect)
{
    if (!HasPicture() || rect.right <= 0 || rect.bottom <= 0)
        return;
    ReadWindowState();
    // Hot and focused look alike here.
    TButtonFrame frame = ButtonFrameOf(m_enabled, m_mouseState, m_focused);
    if (frame == bfFocused)
        frame = bfHot;
    TCanvas& canvas = PrepareBuffer(dc, rect, frame);
    SelectCaptionFont(canvas, frame);
    const HDC buffer = canvas.Handle();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const TColor ink = m_enabled ? clWindowText : clBtnShadow;
    canvas.Brush()->SetColor(ink);
    canvas.Pen()->SetColor(ink);
    const TPoint arrow[] = {{width - 12, height / 2 + 2}, {width - 15, height / 2 - 1}, {width - 9, height / 2 - 1}};
    canvas.Polygon(arrow);
    const std::string text = ReplaceFirst(CaptionText(), "||", "\r\n");
    RECT measured{2, 2, width - ArrowWidth - 2, height - 2};
    (void)DrawTextA(buffer, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK);
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    const int x = (width - ArrowWidth - textWidth) / 2 + 2;
    const int y = (height - textHeight + 1) / 2;
    RECT place{x, y, x + textWidth, y + textHeight};
    (void)SetBkMode(buffer, TRANSPARENT);
    (void)SetTextColor(buffer, ColorToRGB(canvas.Font()->Color()));
    (void)DrawTextA(buffer, text.c_str(), -1, &place, DT_WORDBREAK);
    (void)SetBkMode(buffer, OPAQUE);
    if (!text.empty())
        DrawFocus(buffer, place);
    CopyBuffer(dc, rect);
}

void TSkinButton::DrawCaption(TCanvas& canvas, const RECT& rect, UINT align, const std::string& text) const
{
    const std::string lines = ReplaceFirst(text, "||", "\r\n");
    const HDC dc = canvas.Handle();
    RECT measured = rect;
    InflateRect(&measured, -2, -2);
    (void)SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, ColorToRGB(canvas.Font()->Color()));
    const UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
    (void)DrawTextA(dc, lines.c_str(), -1, &measured, align | DT_CALCRECT | DT_NOCLIP | flags);
    const int width = measured.right - measured.left;
    const int height = measured.bottom - measured.top;
    const int top = rect.top + (rect.bottom - rect.top - height) / 2 - 1;
    RECT place = align == DT_CENTER ? RECT{rect.left + (rect.right - rect.left - width) / 2, top, 0, 0}
                                    : RECT{rect.left, top, rect.right, 0};
    if (align == DT_CENTER)
        place.right = place.left + width;
    place.bottom = top + height;
    (void)DrawTextA(dc, lines.c_str(), -1, &place, BiDiTextFlags(align | flags));
    (void)SetBkMode(dc, OPAQUE);
    if (!text.empty())
        DrawFocus(dc, place);
}

void TSkinButton::DrawFocus(HDC dc, RECT textRect) const
{
    if (!m_focused || m_data->Options().Contains(xoNoFocusRect))
        return;
    InflateRect(&textRect, 2, 2);
    (void)DrawFocusRect(dc, &textRect);
}
