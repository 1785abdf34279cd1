#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Icons.h"
#include "platform/winapi/gdi/Text.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinRoutines.h"
#include "skin/WinSkinForm.h"
#include "skin/WinSkinMenuBar.h"

#include <algorithm>
#include <exception>
#include <optional>

// The skinned non-client area: borders, caption bar with text and buttons, the window region and
// the non-client mouse.

namespace {

enum TBorderIndex { LeftBorder = 1, RightBorder = 2, TopBorder = 3, BottomBorder = 4 };

bool IsEmptyRect(const RECT& rect)
{
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

int Frames(int count)
{
    return std::max(count, 1);
}

// A button's two visibility codes, each true when the window's state asks for the button.
struct TVisibilityFacts {
    bool maximized, active, sysMenu, minimizeBox, maximizeBox, dialogBorder, dialogClass;
};

// The window-state codes both conditions of a caption button know; nothing for other codes.
std::optional<bool> StateCode(int code, const TVisibilityFacts& f)
{
    switch (code) {
    case 0:
        return true;
    case 1:
        return f.maximized;
    case 2:
        return !f.maximized;
    case 3:
        return f.active;
    case 4:
        return !f.active;
    case 6:
    case 8:
        return f.minimizeBox || f.maximizeBox;
    case 7:
        return !f.maximizeBox;
    case 9:
        return !f.minimizeBox;
    default:
        return std::nullopt;
    }
}

bool FirstCode(int code, const TVisibilityFacts& f, HWND window, int action)
{
    if (code >= 201 && code <= 999)
        return true;
    if (code >= 1000 && code <= 2000)
        return SendMessageA(window, WM_SKIN_CAPTIONBUTTONSHOWN, static_cast<WPARAM>(code), action) > 0;
    switch (code) {
    case -1:
        return true;
    case 6:
    case 8:
        return f.sysMenu && *StateCode(code, f);
    case 200:
        return f.dialogBorder && !f.dialogClass;
    default:
        return StateCode(code, f).value_or(false);
    }
}

bool SecondCode(int code, const TVisibilityFacts& f)
{
    return StateCode(code, f).value_or(false);
}

COLORREF CaptionTextColour(TSkinElements& skin, bool active)
{
    const TColor title = active ? skin.Title().ActiveTextColour : skin.Title().InactiveTextColour;
    if (title != TitleColourNotSet)
        return ColorToRGB(title);
    return ColorToRGB(active ? skin.Colours().TitleTextActive : skin.Colours().TitleTextNoActive);
}

void Post(HWND window, WPARAM command)
{
    (void)PostMessageA(window, WM_SYSCOMMAND, command, 0);
}

} // namespace

void TNCObject::BecomeHot(TState state)
{
    if (m_form.m_hot && m_form.m_hot != this)
        m_form.m_hot->Leave();
    if (!Visible)
        return;
    m_form.m_hot = this;
    State = state;
    Paint();
}

void TNCObject::Press() { BecomeHot(Pressed); }

void TNCObject::Release()
{
    if (!Visible)
        return;
    State = Hot;
    Paint();
}

void TNCObject::Hover()
{
    if (m_form.m_hot != this)
        BecomeHot(Hot);
}

void TNCObject::Leave()
{
    if (!Visible)
        return;
    m_form.m_hot = nullptr;
    State = Normal;
    Paint();
}

TBitmap& TWinSysButton::Image() const
{
    return ShowsIcon ? m_form.m_iconBitmap : Element.Image;
}

int TWinSysButton::Frames() const
{
    return ShowsIcon ? 1 : ::Frames(Element.Frame);
}

void TWinSysButton::Paint()
{
    m_form.PaintFrame();
}

void TWinSkinForm::DropCaptionButtons()
{
    m_hot = nullptr;
    m_buttons.clear();
}

void TWinSkinForm::CalcBorders()
{
    if (!m_data || m_data->Pending())
        return;
    TSkinElements& skin = m_data->Elements();
    if (m_borderKind == bkNone) {
        m_left = m_top = m_right = m_bottom = m_menuHeight = 0;
    } else {
        m_top = skin.Top().Image.Height() / Frames(skin.Top().Frame);
        m_left = skin.Left().Image.Width() / Frames(skin.Left().Frame);
        m_right = skin.Right().Image.Width() / Frames(skin.Right().Frame);
        m_bottom = skin.Bottom().Image.Height() / Frames(skin.Bottom().Frame);
    }
    DropCaptionButtons();
    for (const auto& element : skin.SysButtons()) {
        auto button = std::make_unique<TWinSysButton>(*this, *element);
        button->ShowsIcon = (element->Action == 3 || element->Action == 11) && element->Image.Empty();
        m_buttons.push_back(std::move(button));
    }
    TakeWindowIcon();
}

void TWinSkinForm::TakeWindowIcon()
{
    const int cx = GetSystemMetrics(SM_CXSMICON);
    const int cy = GetSystemMetrics(SM_CYSMICON);
    auto icon = reinterpret_cast<HICON>(SendMessageA(m_window, WM_GETICON, ICON_SMALL, 0));
    if (!icon)
        icon = reinterpret_cast<HICON>(SendMessageA(m_window, WM_GETICON, ICON_BIG, 0));
    if (!icon && !m_iconBitmap.Empty())
        return;
    m_iconBitmap.SetPixelFormat(pf24bit);
    m_iconBitmap.SetSize(cx, cy);
    TCanvas& canvas = *m_iconBitmap.Canvas();
    canvas.Brush()->SetColor(SkinKeyColour);
    canvas.FillRect(TRect{0, 0, cx, cy});
    if (icon)
        (void)DrawIconEx(canvas.Handle(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
}

std::string TWinSkinForm::WindowText() const
{
    const int length = GetWindowTextLengthA(m_window);
    std::string text(static_cast<std::size_t>(std::max(length, 0)) + 1, '\0');
    const int copied = GetWindowTextA(m_window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return text;
}

void TWinSkinForm::PaintFrame(HDC given)
{
    if (!m_data || m_data->Pending() || m_borderKind == bkNone ||
        (m_lifecycle != Running && m_lifecycle != SkinChangedState))
        return;
    const HDC dc = given ? given : GetWindowDC(m_window);
    if (!dc)
        return;
    RECT window{};
    (void)GetWindowRect(m_window, &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    try {
        if (m_windowState != wsMinimized) {
            DrawBorder(dc, LeftBorder, RECT{0, 0, m_left, height});
            DrawBorder(dc, RightBorder, RECT{width - m_right, 0, width, height});
            DrawBorder(dc, BottomBorder, RECT{m_left, height - m_bottom, width - m_right, height});
        }
        PaintCaptionBar(dc, width, height);
        if (m_menuHeight > 0) {
            const RECT strip{m_left, m_top, width - m_right, m_top + m_menuHeight};
            if (m_menuBar)
                m_menuBar->Paint(dc, strip, m_active);
            else
                (void)FillRect(dc, &strip, m_data->Elements().ButtonFaceBrush());
        }
    } catch (const std::exception&) {
        // A frame that cannot be painted leaves what was there; the window goes on working.
    }
    if (!given)
        (void)ReleaseDC(m_window, dc);
}

void TWinSkinForm::DrawBorder(HDC dc, int index, const RECT& rect)
{
    if (IsEmptyRect(rect))
        return;
    TSkinElements& skin = m_data->Elements();
    TDataSkinBorder& border = index == LeftBorder    ? skin.Left()
                              : index == RightBorder ? skin.Right()
                              : index == TopBorder   ? skin.Top()
                                                     : skin.Bottom();
    if (border.Image.Empty())
        return;
    const bool vertical = index == TopBorder || index == BottomBorder;
    const TSkinMargins margins{border.LeftWidth, border.TopHeight, border.RightWidth, border.BottomHeight};
    const int frame = m_active || Frames(border.Frame) == 1 ? 1 : 2;
    const auto picture = BuildElementBitmap(RECT{0, 0, rect.right - rect.left, rect.bottom - rect.top}, border.Image,
                                            margins, vertical, border.Tile != 1, Frames(border.Frame), frame);
    (void)BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                 picture->Canvas()->Handle(), 0, 0, SRCCOPY);
}

void TWinSkinForm::PaintCaptionBar(HDC dc, int width, int height)
{
    const bool minimized = m_windowState == wsMinimized;
    const int barHeight = minimized ? height : m_top;
    if (width <= 0 || barHeight <= 0)
        return;
    m_captionBitmap.SetPixelFormat(pf24bit);
    m_captionBitmap.SetSize(width, barHeight);
    const HDC bar = m_captionBitmap.Canvas()->Handle();
    RECT caption{m_left, 0, width - m_right, m_top};
    if (minimized) {
        const RECT all{0, 0, width, barHeight};
        (void)FillRect(bar, &all, m_data->Elements().ButtonFaceBrush());
        caption = RECT{0, 0, width, m_top};
    } else {
        (void)BitBlt(bar, 0, 0, width, barHeight, dc, 0, 0, SRCCOPY);
    }
    DrawBorder(bar, TopBorder, caption);
    // The text is clipped by the buttons of this paint, not of the one before (a message box's
    // first paint would otherwise clip its title at the title picture's right part).
    m_rightButtonsLeft = RightButtonsLeft(width);
    DrawCaptionText(bar, caption);
    PlaceButtons(width);
    DrawButtons(bar);
    (void)BitBlt(dc, 0, 0, width, barHeight, bar, 0, 0, SRCCOPY);
    (void)SetBkMode(bar, OPAQUE);
}

void TWinSkinForm::DrawCaptionText(HDC dc, const RECT& caption)
{
    TSkinElements& skin = m_data->Elements();
    TDataSkinTitle& title = skin.Title();
    const std::u16string text = ToWideText("  " + WindowText() + " ");
    const SelectionGuard font(dc, m_captionFont.Get());
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    (void)SetTextColor(dc, CaptionTextColour(skin, m_active));

    RECT measured{caption.left, caption.top, caption.left, caption.top};
    (void)DrawTextAuto(dc, text, measured, DT_CALCRECT | DT_NOCLIP | DT_SINGLELINE);
    measured.right += title.TXTBackleft + title.TXTBackRight;
    const int textWidth = measured.right - measured.left;
    const int textHeight = measured.bottom - measured.top;
    const int free = (caption.right - caption.left) - textWidth;
    int offset = 0;
    if (m_rightToLeft || title.TextAlignment == 2)
        offset = free - title.RightWidth;
    else if (title.TextAlignment == 0)
        offset = title.LeftWidth;
    else if (title.TextAlignment == 1)
        offset = free / 2;
    if (m_borderKind == bkDialog && title.TextAlignment == 0)
        offset -= 16;
    const int top = caption.top + (m_top - textHeight) / 2 + title.TopHeight / 2;
    RECT rect{caption.left + offset, top, caption.left + offset + textWidth, top + textHeight};
    const int clip = (m_style & WS_POPUP) && m_rightButtonsLeft > 5 ? m_rightButtonsLeft - 5
                                                                     : caption.right - title.RightWidth;
    rect.right = std::min<LONG>(rect.right, clip);
    m_textRect = rect;
    if (!title.Image.Empty()) {
        const RECT back{rect.left, caption.top, rect.right, caption.bottom};
        DrawElementHorz(*m_captionBitmap.Canvas(), back, title.Image, true, true, 2,
                        m_active ? 1 : 2, TSkinMargins{title.TXTBackleft, 0, title.TXTBackRight, 0});
    }
    RECT inner{rect.left + title.TXTBackleft, rect.top, rect.right - title.TXTBackRight, rect.bottom};
    if (!IsEmptyRect(inner))
        (void)DrawTextAuto(dc, text, inner,
                           DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (m_rightToLeft ? DT_RIGHT : 0));
    (void)SetBkMode(dc, oldMode);
}

void TWinSkinForm::UpdateButtonVisibility(TWinSysButton& button) const
{
    const TVisibilityFacts facts{m_windowState == wsMaximized, m_active, m_hasSysMenu, m_hasMinimize,
                                 m_hasMaximize, m_borderKind == bkDialog, m_dialog};
    const TDataSkinSysButton& e = button.Element;
    bool visible = FirstCode(e.Visibility, facts, m_window, e.Action) && SecondCode(e.Visibility1, facts);
    button.Enabled = true;
    switch (e.Action) {
    case 0:
        visible = visible && m_hasSysMenu;
        break;
    case 1:
        button.Enabled = m_hasMaximize && m_hasSysMenu;
        break;
    case 2:
        button.Enabled = m_hasMinimize && m_hasSysMenu;
        break;
    case 3:
    case 11:
    case 12:
        visible = visible && m_borderKind != bkDialog;
        break;
    default:
        break;
    }
    button.Visible = visible;
}

int TWinSkinForm::RightButtonsLeft(int width) const
{
    int left = 0;
    for (const auto& button : m_buttons) {
        UpdateButtonVisibility(*button);
        if (!button->Visible || button->Image().Empty() || button->Element.Align != 1)
            continue;
        const int x = width - button->Element.XCoord;
        left = left == 0 ? x : std::min(left, x);
    }
    return left;
}

int TWinSkinForm::MenuBarLeftMargin() const
{
    const TDataSkinObject* bar = m_data->Elements().Element("MenuBar");
    return bar ? bar->LeftWidth : 0;
}

void TWinSkinForm::PlaceButtons(int width)
{
    for (const auto& button : m_buttons) {
        UpdateButtonVisibility(*button);
        TBitmap& image = button->Image();
        if (!button->Visible || image.Empty()) {
            button->Rect = RECT{};
            continue;
        }
        const TDataSkinSysButton& e = button->Element;
        const int w = image.Width() / button->Frames();
        const int h = image.Height();
        POINT at{0, 0};
        switch (e.Align) {
        case 0:
            at = POINT{e.XCoord, e.YCoord};
            break;
        case 1:
            at = POINT{width - e.XCoord, e.YCoord};
            break;
        case 2:
        case 8:
            at = POINT{m_textRect.left - w - e.XCoord, e.YCoord};
            break;
        case 3:
        case 9:
            at = POINT{m_textRect.right + e.XCoord, e.YCoord};
            break;
        case 100:
            at = POINT{width - e.XCoord - m_right - MenuBarLeftMargin(), m_top + (m_menuHeight - h) / 2};
            break;
        default:
            break;
        }
        button->Rect = RECT{at.x, at.y, at.x + w, at.y + h};
    }
}

void TWinSkinForm::DrawButtons(HDC dc)
{
    for (const auto& button : m_buttons) {
        if (!button->Visible || button->Image().Empty() || button->Element.Visibility == 100)
            continue;
        if (button->ShowsIcon) {
            DrawTransparent(dc, button->Rect, m_iconBitmap, SkinKeyColour);
            continue;
        }
        int frame = button->Frames() < 4 || (m_active && button->Enabled) ? 1 : 4;
        if (!button->Enabled)
            frame = button->Frames() > 3 ? 4 : 1;
        else if (button->State != TNCObject::Normal)
            frame = button->State;
        DrawButtonFrame(dc, *button, frame);
    }
}

void TWinSkinForm::DrawButtonFrame(HDC dc, TWinSysButton& button, int frame)
{
    DrawElementFrame(dc, button.Rect, button.Image(), true, button.Frames(), std::min(frame, button.Frames()));
}

POINT TWinSkinForm::ScreenToFrame(POINT screen) const
{
    RECT window{};
    (void)GetWindowRect(m_window, &window);
    return POINT{screen.x - window.left, screen.y - window.top};
}

TNCObject* TWinSkinForm::ObjectAt(POINT frame) const
{
    for (const auto& button : m_buttons)
        if (button->Visible && button->Element.Action >= 0 && PtInRect(&button->Rect, frame))
            return button.get();
    return m_menuBar ? m_menuBar->ButtonAt(frame) : nullptr;
}

LRESULT TWinSkinForm::NcCalcSize(WPARAM wParam, LPARAM lParam)
{
    const LRESULT old = CallOld(WM_NCCALCSIZE, wParam, lParam);
    if (m_borderKind == bkNone || !lParam)
        return old;
    const auto inside = [this](const RECT& window) {
        return RECT{window.left + m_left, window.top + m_top + m_menuHeight, window.right - m_right,
                    window.bottom - m_bottom};
    };
    if (!wParam) {
        auto* rect = reinterpret_cast<RECT*>(lParam);
        // The rectangle handed in is the new window rectangle.
        *rect = inside(*rect);
        return 0;
    }
    auto* params = reinterpret_cast<NCCALCSIZE_PARAMS*>(lParam);
    const WINDOWPOS* pos = params->lppos;
    const RECT window = pos ? RECT{pos->x, pos->y, pos->x + pos->cx, pos->y + pos->cy} : params->rgrc[0];
    params->rgrc[0] = inside(window);
    params->rgrc[1] = params->rgrc[0];
    return WVR_REDRAW;
}

LRESULT TWinSkinForm::NcHitTest(WPARAM wParam, LPARAM lParam)
{
    const LRESULT old = CallOld(WM_NCHITTEST, wParam, lParam);
    const bool sizingEdge = old >= HTLEFT && old <= HTBOTTOMRIGHT;
    if (old == HTCLIENT || old == HTNOWHERE || sizingEdge || m_borderKind == bkNone)
        return old;
    // What the standard frame would have had here (its buttons, its system menu icon) is caption
    // under the skinned frame.
    const POINT frame = ScreenToFrame(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
    if (frame.y > 3 && frame.y < m_top)
        return HTCAPTION;
    if (m_menuHeight > 0 && frame.y >= m_top && frame.y < m_top + m_menuHeight)
        return HTMENU;
    return old;
}

LRESULT TWinSkinForm::NcMouseMove(WPARAM wParam, LPARAM lParam)
{
    if (!m_active)
        return CallOld(WM_NCMOUSEMOVE, wParam, lParam);
    if (TNCObject* object = ObjectAt(ScreenToFrame(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
        object->Hover();
        return 0;
    }
    if (m_hot)
        m_hot->Leave();
    return CallOld(WM_NCMOUSEMOVE, wParam, lParam);
}

LRESULT TWinSkinForm::NcButtonDown(WPARAM wParam, LPARAM lParam)
{
    if (TNCObject* object = ObjectAt(ScreenToFrame(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
        if (!m_active)
            (void)SetForegroundWindow(m_window);
        object->Press();
        if (m_menuBar && m_menuBar->Owns(object))
            (void)OpenMenuButton(static_cast<TMenuBtn*>(object));
        return 0;
    }
    if (m_windowState == wsMaximized && m_active && wParam == HTCAPTION)
        wParam = HTMENU;
    return CallOld(WM_NCLBUTTONDOWN, wParam, lParam);
}

LRESULT TWinSkinForm::NcButtonUp(WPARAM wParam, LPARAM lParam)
{
    TNCObject* object = ObjectAt(ScreenToFrame(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
    if (!object)
        return CallOld(WM_NCLBUTTONUP, wParam, lParam);
    auto* button = dynamic_cast<TWinSysButton*>(object);
    if (button && object == m_hot && object->State == TNCObject::Pressed) {
        button->Release();
        DoButtonAction(*button);
    }
    return 0;
}

LRESULT TWinSkinForm::NcDoubleClick(WPARAM wParam, LPARAM lParam)
{
    if (TNCObject* object = ObjectAt(ScreenToFrame(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}))) {
        const auto* button = dynamic_cast<TWinSysButton*>(object);
        const int action = button ? button->Element.Action : -1;
        if (action == 3 || action == 11) {
            SetTimerRunning(false);
            Post(m_window, SC_CLOSE);
        }
        return 0;
    }
    if (m_windowState != wsNormal) {
        Post(m_window, SC_RESTORE);
        return 0;
    }
    if (m_hasMaximize) {
        Post(m_window, SC_MAXIMIZE);
        return 0;
    }
    return CallOld(WM_NCLBUTTONDBLCLK, wParam, lParam);
}

void TWinSkinForm::DoButtonAction(TWinSysButton& button)
{
    switch (button.Element.Action) {
    case 0:
        if (GetMenuState(m_sysMenu, SC_CLOSE, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            SetTimerRunning(false);
            Post(m_window, SC_CLOSE);
        }
        break;
    case 1:
    case 22:
        if (!button.Enabled)
            break;
        m_hot = nullptr;
        m_windowState = m_windowState == wsMaximized ? wsNormal : wsMaximized;
        Post(m_window, m_windowState == wsMaximized ? SC_MAXIMIZE : SC_RESTORE);
        break;
    case 2:
    case 23:
        if (!button.Enabled)
            break;
        m_hot = nullptr;
        if (m_windowState == wsMinimized) {
            m_windowState = wsNormal;
            Post(m_window, SC_RESTORE);
        } else {
            m_windowState = wsMinimized;
            SetStyleBits(WS_SYSMENU, true);
            Post(m_window, SC_MINIMIZE);
        }
        break;
    case 3:
    case 11:
    case 12: {
        // The skinned system menu just under the button.
        RECT window{};
        (void)GetWindowRect(m_window, &window);
        ShowSystemMenu(POINT{window.left + button.Rect.left + 1, window.top + button.Rect.bottom + 1});
        break;
    }
    default:
        (void)PostMessageA(m_window, WM_SKIN_CAPTIONACTION, static_cast<WPARAM>(button.Element.Action), 0);
        break;
    }
}

HRGN TWinSkinForm::BorderRegion(int index, const RECT& rect, bool pixels)
{
    if (!pixels || IsEmptyRect(rect))
        return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
    TBitmap picture;
    picture.SetPixelFormat(pf32bit);
    picture.SetSize(rect.right - rect.left, rect.bottom - rect.top);
    DrawBorder(picture.Canvas()->Handle(), index, RECT{0, 0, picture.Width(), picture.Height()});
    return RegionFromBitmap(picture, rect.left, rect.top, 1, 1, 1, SkinKeyColour);
}

void TWinSkinForm::UpdateRegion()
{
    if (m_lifecycle == Destroyed || !m_frameSkinned || !m_data || m_data->Pending())
        return;
    RECT window{};
    (void)GetWindowRect(m_window, &window);
    const int w = window.right - window.left;
    const int h = window.bottom - window.top;
    if (w <= 0 || h <= 0)
        return;
    if (w == m_regionSize.cx && h == m_regionSize.cy && m_lifecycle != SkinChangedState)
        return;
    m_regionSize = SIZE{w, h};
    TSkinElements& skin = m_data->Elements();
    const bool leftTrans = skin.Left().Trans == 1;
    const bool rightTrans = skin.Right().Trans == 1;
    const bool topTrans = skin.Top().Trans == 1;
    const bool bottomTrans = skin.Bottom().Trans == 1;
    HRGN region = nullptr;
    if ((!leftTrans && !rightTrans && !topTrans && !bottomTrans) || m_borderKind == bkNone) {
        region = CreateRectRgn(0, 0, w, h);
    } else {
        region = CreateRectRgn(m_left, m_top, w - m_right, h - m_bottom);
        const HRGN parts[] = {
            BorderRegion(LeftBorder, RECT{0, 0, m_left, h}, leftTrans && h > 1),
            BorderRegion(RightBorder, RECT{w - m_right, 0, w, h}, rightTrans && h > 1),
            BorderRegion(BottomBorder, RECT{m_left, h - m_bottom, w - m_right, h}, bottomTrans && m_bottom >= 2),
            BorderRegion(TopBorder, RECT{m_left, 0, w - m_right, m_top}, topTrans && m_top > 1),
        };
        for (const HRGN part : parts) {
            (void)CombineRgn(region, region, part, RGN_OR);
            (void)DeleteObject(part);
        }
    }
    // From here the window owns the region.
    (void)SetWindowRgn(m_window, region, TRUE);
}
