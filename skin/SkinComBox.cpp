#include "skin/SkinComBox.h"

#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "skin/SkinData.h"
#include "skin/SkinDraw.h"
#include "skin/SkinPaint.h"
#include "skin/SkinRoutines.h"
#include "skin/WinSkinForm.h"

namespace {

TSkinMargins MarginsOf(const TDataSkinObject& element)
{
    return TSkinMargins{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

bool ReadComboInfo(HWND combo, COMBOBOXINFO& info)
{
    info = COMBOBOXINFO{};
    info.cbSize = sizeof info;
    return GetComboBoxInfo(combo, &info) != FALSE;
}

// The low two style bits name the kind of combo.
constexpr LONG ComboStyleMask = 3;

} // namespace

int ComboFrameIndex(bool enabled, bool focused, int mouseState, bool flat)
{
    const bool pressed = (mouseState & TSkinHook::MousePressed) != 0;
    const bool hot = (mouseState & TSkinHook::MouseHot) != 0;
    if (!enabled && (!flat || !(pressed || focused || hot)))
        return 3;
    if (pressed)
        return 2;
    return focused || hot ? 4 : 1;
}

// The combo's inner edit, hooked so that its clicks and paints reach the combo's picture.
class TSkinComBox::TEditHook : public TSkinHook {
public:
    explicit TEditHook(TSkinComBox& combo) : m_combo(combo) {}

protected:
    void AfterMessage(TMessage& message) override
    {
        TSkinHook::AfterMessage(message);
        m_combo.EditMessage(message.Msg);
    }

private:
    TSkinComBox& m_combo;
};

TSkinComBox::TSkinComBox() = default;

TSkinComBox::~TSkinComBox()
{
    ReleaseInnerWindows();
}

void TSkinComBox::ControlAttached()
{
    m_style = GetWindowLongA(m_handle, GWL_STYLE);
    FollowInnerWindows();
}

void TSkinComBox::AttachWindow(TWinSkinForm& form, HWND window)
{
    TSkinHook::AttachWindow(form, window);
    m_style = GetWindowLongA(window, GWL_STYLE);
    if (DropDownStyle())
        HookEditWindow();
}

void TSkinComBox::Detach()
{
    TSkinHook::Detach();
    ReleaseInnerWindows();
}

void TSkinComBox::ReleaseInnerWindows()
{
    if (m_listSkinner && !m_listSkinner->IsDead())
        m_listSkinner->Detach();
    m_listSkinner.reset();
    m_editHook.reset();
    m_listWindow = nullptr;
    m_editWindow = nullptr;
}

bool TSkinComBox::DropDownStyle() const
{
    return (m_style & ComboStyleMask) != CBS_SIMPLE;
}

void TSkinComBox::FollowInnerWindows()
{
    if (!m_control || !m_handle)
        return;
    COMBOBOXINFO info{};
    const bool known = ReadComboInfo(m_handle, info);
    if (DropDownStyle()) {
        if (GetTopWindow(m_handle) != m_editWindow)
            HookEditWindow();
        if (known && (m_style & CBS_DROPDOWN) && info.hwndList != m_listWindow)
            SkinList(info.hwndList);
        return;
    }
    if (known && info.hwndList != m_listWindow)
        SkinList(info.hwndList);
}

void TSkinComBox::SkinList(HWND list)
{
    if (m_listSkinner && !m_listSkinner->IsDead())
        m_listSkinner->Detach();
    m_listSkinner.reset();
    m_listWindow = list;
    if (!m_listWindow)
        return;
    const bool childList = !IsPopupWindow(m_listWindow) && (GetWindowLongA(m_listWindow, GWL_STYLE) & WS_CHILD);
    std::unique_ptr<TSkinControl> skinner;
    if (DropDownStyle())
        skinner = CreateSkinner("TComboxScrollBar");
    else if (childList)
        skinner = CreateSkinner("TSkinScrollbarH");
    if (!skinner)
        return;
    skinner->AttachWindow(*m_form, m_listWindow);
    m_listSkinner = std::move(skinner);
}

void TSkinComBox::HookEditWindow()
{
    m_editHook.reset();
    m_editWindow = GetTopWindow(m_handle);
    if (!m_editWindow)
        return;
    m_editHook = std::make_unique<TEditHook>(*this);
    m_editHook->AttachWindow(*m_form, m_editWindow);
}

void TSkinComBox::EditMessage(UINT msg)
{
    if (msg == WM_PAINT)
        DrawWindow(nullptr);
    else
        FollowPress(msg);
}

void TSkinComBox::FollowPress(UINT msg)
{
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        m_mouseState |= MousePressed;
        break;
    case WM_LBUTTONUP:
        m_mouseState &= ~MousePressed;
        break;
    default:
        return;
    }
    Repaint();
}

void TSkinComBox::AfterMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        break;
    case WM_MOUSEMOVE: {
        ReadWindowState();
        const POINT at{static_cast<short>(LOWORD(message.LParam)), static_cast<short>(HIWORD(message.LParam))};
        const bool over = PtInRect(&m_buttonRect, at) != FALSE;
        if (m_enabled && over != ((m_mouseState & MouseHot) != 0)) {
            m_mouseState ^= MouseHot;
            Repaint();
        }
        if (over)
            TrackMouseLeave(m_handle);
        break;
    }
    case WM_DRAWITEM:
    case WM_NCPAINT:
        Repaint();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        FollowPress(message.Msg);
        break;
    case CN_COMMAND:
        // The dropped list took the mouse: its release never reaches the combo.
        if (HIWORD(message.WParam) == CBN_CLOSEUP) {
            m_mouseState &= ~MousePressed;
            Repaint();
        }
        break;
    case WM_MOUSELEAVE:
    case CM_MOUSELEAVE:
        if (m_mouseState & MouseHot) {
            m_mouseState &= ~MouseHot;
            Repaint();
        }
        break;
    default:
        TSkinHook::AfterMessage(message);
        break;
    }
}

bool TSkinComBox::LeftButton() const
{
    return (m_exStyle & WS_EX_LEFTSCROLLBAR) != 0;
}

void TSkinComBox::PaintSkin(HDC dc, const RECT& rect)
{
    m_style = GetWindowLongA(m_handle, GWL_STYLE);
    if (!DropDownStyle()) {
        PaintSimpleEdge(dc, rect);
        return;
    }
    TDataSkinBorder* button = m_data->Elements().BorderElement("ComboButton");
    if (!button || button->Image.Empty())
        return;
    m_style = GetWindowLongA(m_handle, GWL_STYLE);
    m_exStyle = GetWindowLongA(m_handle, GWL_EXSTYLE);
    FollowInnerWindows();
    if (COMBOBOXINFO info{}; ReadComboInfo(m_handle, info)) {
        m_buttonRect = info.rcButton;
        if (info.stateButton & STATE_SYSTEM_INVISIBLE)
            return;
    }
    if (button->Style == 1) {
        PaintFlat(dc, rect);
        return;
    }
    ReadWindowState();
    const int frame = ComboFrameIndex(m_enabled, m_focused, m_mouseState, false);
    if (button->Style == 2) {
        TDataSkinObject* picture = LeftButton() ? m_data->Elements().Element("SunkEdge") : button;
        if (picture)
            DrawElement(dc, rect, picture->Image, false, picture->Tile == 1, true, picture->Frame, frame,
                        MarginsOf(*picture));
        return;
    }
    PaintClassic(dc, rect, frame);
}

// A simple combo has no button: its edit's edge takes the skin's border, as its list does, and
// the room below the edit, while the list is hidden, the skin's face.
void TSkinComBox::PaintSimpleEdge(HDC dc, const RECT& rect)
{
    FollowInnerWindows();
    COMBOBOXINFO info{};
    if (!ReadComboInfo(m_handle, info))
        return;
    const auto& colours = m_data->Elements().Colours();
    FrameSkinBorder(dc, info.rcItem, colours.ButtonShadow, colours.ButtonFace);
    if (!IsWindowVisible(info.hwndList))
        FillRectColor(dc, RECT{rect.left, info.rcItem.bottom, rect.right, rect.bottom}, colours.ButtonFace);
}

void TSkinComBox::PaintClassic(HDC dc, const RECT& rect, int frame)
{
    TSkinElements& elements = m_data->Elements();
    TDataSkinBorder& button = *elements.BorderElement("ComboButton");
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    const SavedDC saved(dc);
    RECT glyphArea{};
    if (LeftButton()) {
        (void)ExcludeClipRect(dc, rect.left + arrow + 4, rect.top + 2, rect.right - 2, rect.bottom - 2);
        m_buttonRect = RECT{rect.left, rect.top, rect.left + arrow + 2, rect.bottom};
        glyphArea = RECT{2, rect.top, arrow + 2, rect.bottom};
    } else {
        (void)ExcludeClipRect(dc, rect.left + 2, rect.top + 2, rect.right - arrow - 4, rect.bottom - 2);
        m_buttonRect = RECT{rect.right - arrow - 2, rect.top, rect.right, rect.bottom};
        glyphArea = RECT{rect.right - arrow - 2, rect.top, rect.right - 2, rect.bottom};
    }
    if (TDataSkinObject* sunk = elements.Element("SunkEdge"))
        DrawSkinElement(dc, rect, sunk->Frame, frame, *sunk);
    BlitStripFrame(dc, m_buttonRect, button.Frame, frame, LeftButton() ? button.Glyph : button.Image);
    if (TDataSkinObject* extra = elements.Element("ExtraImages"); extra && !extra->Image.Empty())
        DrawElementFrameCentred(dc, glyphArea, extra->Image, true, extra->Frame, frame);
}

void TSkinComBox::PaintFlat(HDC dc, const RECT& rect)
{
    ReadWindowState();
    TDataSkinBorder& button = *m_data->Elements().BorderElement("ComboButton");
    const int frame = ComboFrameIndex(m_enabled, m_focused, m_mouseState, true);
    const int frameWidth = button.Image.Width() / std::max(button.Frame, 1);
    const int buttonWidth = GetSystemMetrics(SM_CYVTHUMB);
    const auto brush = static_cast<HBRUSH>(GetCurrentObject(dc, OBJ_BRUSH));
    RECT inner = rect;
    InflateRect(&inner, -1, -1);
    (void)FrameRect(dc, &inner, brush);
    InflateRect(&inner, -1, -1);
    const RECT strip = LeftButton() ? RECT{inner.left, inner.top, inner.left + buttonWidth, inner.bottom}
                                    : RECT{inner.right - buttonWidth, inner.top, inner.right, inner.bottom};
    (void)FillRect(dc, &strip, brush);
    const GdiObject<HBRUSH> shadow(CreateSolidBrush(ColorToRGB(m_data->Elements().Colours().ButtonShadow)));
    (void)FrameRect(dc, &rect, shadow.Get());
    m_buttonRect = LeftButton() ? RECT{inner.left, inner.top, inner.left + frameWidth, inner.bottom}
                                : RECT{inner.right - frameWidth, inner.top, inner.right, inner.bottom};
    if (button.Image.Height() < buttonWidth)
        m_buttonRect.bottom = m_buttonRect.top + button.Image.Height();
    BlitStripFrame(dc, m_buttonRect, button.Frame, frame, button.Image);
}
