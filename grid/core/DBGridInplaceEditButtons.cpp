#include "grid/core/DBGridInplaceEdit.h"

#include "grid/core/DBGridGx.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/user/WinUser.h"

// The cell editor's buttons: the built-in one at the right edge and, left of it, the column's
// visible EditButtons. The editor paints them and answers their presses itself.

namespace {

void DrawMark(HDC dc, const TRect& rect, TEditButtonStyleGx style, bool pressed, bool enabled)
{
    const int shift = pressed ? 1 : 0;
    const int x = (rect.left + rect.right) / 2 + shift;
    const int y = (rect.top + rect.bottom) / 2 + shift;
    const HBRUSH ink = GetSysColorBrush(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
    const auto fill = [&](RECT part) { (void)FillRect(dc, &part, ink); };
    if (style == ebsEllipsisGx) {
        for (const int dx : {-4, 0, 4})
            fill(RECT{x + dx - 1, y - 1, x + dx + 1, y + 1});
        return;
    }
    fill(RECT{x - 4, y - 1, x + 4, y + 1});
    if (style == ebsPlusGx)
        fill(RECT{x - 1, y - 4, x + 1, y + 4});
}

} // namespace

TEditButtonStyleGx BuiltInButtonStyle(TEditStyleGx style)
{
    switch (style) {
    case esEllipsisGx:
        return ebsEllipsisGx;
    case esUpDownGx:
        return ebsUpDownGx;
    default:
        return ebsDropDownGx;
    }
}

int CellButtonWidth(const TEditButtonGx* button)
{
    return button && button->Width() > 0 ? button->Width() : GetSystemMetrics(SM_CXVSCROLL);
}

int CellButtonsWidth(const TColumnGx& column)
{
    int width = column.BuiltInButtonKind() != bbkNone ? CellButtonWidth(nullptr) : 0;
    const TEditButtonsGx& buttons = *column.EditButtons();
    for (int i = 0; i < buttons.Count(); ++i) {
        if (buttons.Items(i)->Visible())
            width += CellButtonWidth(buttons.Items(i));
    }
    return width;
}

void PaintCellButtonFace(HDC dc, const TRect& rect, const TEditButtonGx* button, TEditButtonStyleGx style, bool pressed)
{
    const bool enabled = !button || button->Enabled();
    const UINT state = (pressed ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE);
    RECT face{rect.left, rect.top, rect.right, rect.bottom};
    if (style == ebsUpDownGx) {
        const int middle = (rect.top + rect.bottom) / 2;
        RECT upper{rect.left, rect.top, rect.right, middle};
        RECT lower{rect.left, middle, rect.right, rect.bottom};
        (void)DrawFrameControl(dc, &upper, DFC_SCROLL, DFCS_SCROLLUP | state);
        (void)DrawFrameControl(dc, &lower, DFC_SCROLL, DFCS_SCROLLDOWN | state);
        return;
    }
    if (style == ebsDropDownGx) {
        (void)DrawFrameControl(dc, &face, DFC_SCROLL, DFCS_SCROLLCOMBOBOX | state);
        return;
    }
    (void)DrawFrameControl(dc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | state);
    TBitmap* glyph = button ? button->Glyph() : nullptr;
    if (style != ebsGlyphGx || !glyph || glyph->Empty()) {
        DrawMark(dc, rect, style, pressed, enabled);
        return;
    }
    TCanvas canvas;
    canvas.SetHandle(dc);
    const int shift = pressed ? 1 : 0;
    canvas.Draw((rect.left + rect.right - glyph->Width()) / 2 + shift,
                (rect.top + rect.bottom - glyph->Height()) / 2 + shift, glyph);
    canvas.SetHandle(nullptr);
}

std::vector<TEditButtonGx*> TDBGridInplaceEdit::ExtraButtons() const
{
    std::vector<TEditButtonGx*> shown;
    const TColumnGx* column = Column();
    if (!column)
        return shown;
    const TEditButtonsGx& buttons = *column->EditButtons();
    for (int i = 0; i < buttons.Count(); ++i) {
        if (buttons.Items(i)->Visible())
            shown.push_back(buttons.Items(i));
    }
    return shown;
}

int TDBGridInplaceEdit::ButtonsWidth() const
{
    int width = m_buttonWidth;
    for (const TEditButtonGx* button : ExtraButtons())
        width += CellButtonWidth(button);
    return width;
}

TRect TDBGridInplaceEdit::ButtonRect() const
{
    RECT client{};
    (void)GetClientRect(const_cast<TDBGridInplaceEdit*>(this)->Handle(), &client);
    return TRect{client.right - m_buttonWidth, 0, client.right, client.bottom};
}

TRect TDBGridInplaceEdit::ExtraButtonRect(int index) const
{
    const std::vector<TEditButtonGx*> buttons = ExtraButtons();
    TRect rect = ButtonRect();
    for (int i = 0; i <= index && i < static_cast<int>(buttons.size()); ++i) {
        const int width = CellButtonWidth(buttons[i]);
        rect.right = rect.left;
        rect.left -= width;
    }
    return rect;
}

int TDBGridInplaceEdit::ExtraButtonAt(LPARAM point) const
{
    const POINT at{GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    const int count = static_cast<int>(ExtraButtons().size());
    for (int i = 0; i < count; ++i) {
        const TRect rect = ExtraButtonRect(i);
        if (at.x >= rect.left && at.x < rect.right && at.y >= rect.top && at.y < rect.bottom)
            return i;
    }
    return -1;
}

bool TDBGridInplaceEdit::InButton(LPARAM point) const
{
    if (m_buttonWidth == 0)
        return false;
    const TRect rect = ButtonRect();
    const int x = GET_X_LPARAM(point);
    const int y = GET_Y_LPARAM(point);
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

void TDBGridInplaceEdit::PaintButton()
{
    if (!HandleAllocated())
        return;
    const HDC dc = GetDC(Handle());
    if (m_buttonWidth > 0)
        PaintCellButtonFace(dc, ButtonRect(), nullptr, BuiltInButtonStyle(m_editStyle), m_buttonPressed);
    const std::vector<TEditButtonGx*> buttons = ExtraButtons();
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
        PaintCellButtonFace(dc, ExtraButtonRect(i), buttons[i], buttons[i]->Style(), i == m_pressedExtra);
    (void)ReleaseDC(Handle(), dc);
}

void TDBGridInplaceEdit::ButtonPress(int y)
{
    if (!Focused())
        SetFocus();
    const TRect rect = ButtonRect();
    const bool top = y < (rect.top + rect.bottom) / 2;
    m_buttonPressed = m_editStyle != esUpDownGx;
    PaintButton();
    bool autoRepeat = false;
    bool handled = false;
    if (TColumnGx* column = Column())
        column->OnEditButtonDown()(this, top, autoRepeat, handled);
    if (!handled)
        BuiltInButtonDown(!top);
}

// A click: the ellipsis and drop-down buttons tell the grid, then the column; unless the column
// handled it, a second click on an open list's button closes it without taking its value.
void TDBGridInplaceEdit::ButtonRelease()
{
    if (!m_listVisible) {
        m_buttonPressed = false;
        PaintButton();
    }
    if (m_editStyle == esEllipsisGx || m_editStyle == esDropDownGx) {
        if (TCustomDBGridGx* grid = DataGrid())
            grid->EditButtonClick();
    }
    bool handled = false;
    if (TColumnGx* column = Column())
        column->OnEditButtonClick()(this, handled);
    if (!handled && m_listVisible && !m_noCloseUpOnClick)
        CloseUp(false);
    m_noCloseUpOnClick = false;
}

// A press on an extra button: its down event, then its drop-down menu under it unless handled.
// A button with a menu is released at once: the menu takes the click.
void TDBGridInplaceEdit::ExtraButtonPress(int index, int y)
{
    if (!Focused())
        SetFocus();
    TEditButtonGx* button = ExtraButtons()[static_cast<std::size_t>(index)];
    if (!button->Enabled())
        return;
    const TRect rect = ExtraButtonRect(index);
    m_pressedExtra = index;
    PaintButton();
    bool autoRepeat = false;
    bool handled = false;
    button->OnDown()(button, y < (rect.top + rect.bottom) / 2, autoRepeat, handled);
    if (handled || !button->DropdownMenu())
        return;
    m_pressedExtra = -1;
    PaintButton();
    (void)ReleaseCapture();
    const TPoint below = ClientToScreen(TPoint{rect.left, rect.bottom});
    button->DropdownMenu()->Popup(below.x, below.y);
}

void TDBGridInplaceEdit::ExtraButtonRelease(bool inside)
{
    const int index = m_pressedExtra;
    m_pressedExtra = -1;
    PaintButton();
    const std::vector<TEditButtonGx*> buttons = ExtraButtons();
    if (!inside || index < 0 || index >= static_cast<int>(buttons.size()))
        return;
    bool handled = false;
    buttons[static_cast<std::size_t>(index)]->Click(buttons[static_cast<std::size_t>(index)], handled);
}
