#include "grid/tools/DBCtrlsGx.h"

#include "platform/winapi/controls/Edit.h"

#include <algorithm>

namespace {

// How wide a visible button is: its own width, else a flat button's or a scroll bar's.
int ButtonControlWidth(const TEditButtonGx& button, bool flat)
{
    if (!button.Visible())
        return 0;
    if (button.Width() > 0)
        return button.Width();
    return flat ? DefaultFlatButtonWidth() : GetSystemMetrics(SM_CXVSCROLL);
}

} // namespace

TEditButtonGx* TCustomDBEditGx::ButtonOfControl(int index) const
{
    return index == 0 ? m_editButton.get() : m_editButtons->Items(index - 1);
}

TEditButtonControlGx* TCustomDBEditGx::ButtonControl(int index) const
{
    return index >= 0 && index < static_cast<int>(m_buttonControls.size()) ? m_buttonControls[static_cast<std::size_t>(index)]
                                                                             : nullptr;
}

bool TCustomDBEditGx::ButtonsEnabled() const { return Enabled() && m_link->LinkActive(); }

// One control per button, the default button's first; placed from the right edge leftwards, the
// last collection button outermost; the text area ends where they begin.
void TCustomDBEditGx::LayoutButtons()
{
    const auto wanted = static_cast<std::size_t>(1 + m_editButtons->Count());
    while (m_buttonControls.size() > wanted) {
        delete m_buttonControls.back();
        m_buttonControls.pop_back();
    }
    while (m_buttonControls.size() < wanted) {
        TEditButtonControlGx* control = NewEditButtonControl(*ButtonOfControl(static_cast<int>(m_buttonControls.size())));
        control->SetOnDown(TButtonDownEventGx::FromFunction([this, control](TObject*, bool top, bool& repeat, bool&) {
            ButtonPressed(*control, top, repeat);
        }));
        control->SetOnClick(TNotifyEvent::FromFunction([this, control](TObject*) { ButtonClicked(*control); }));
        m_buttonControls.push_back(control);
    }
    const TRect client = ClientRect();
    int stripHeight = client.bottom;
    for (std::size_t i = 0; i < m_buttonControls.size(); ++i) {
        const TEditButtonGx& button = *ButtonOfControl(static_cast<int>(i));
        const int width = ButtonControlWidth(button, m_flat);
        if (width > 0 && (width * 3 + 1) / 2 < client.bottom)
            stripHeight = std::min(stripHeight, EditButtonHeightForWidth(width, m_flat));
    }
    int right = client.right;
    for (std::size_t i = m_buttonControls.size(); i-- > 0;) {
        TEditButtonControlGx& control = *m_buttonControls[i];
        const TEditButtonGx& button = *ButtonOfControl(static_cast<int>(i));
        const int width = ButtonControlWidth(button, m_flat);
        control.SetTag(static_cast<int>(i));
        control.SetStyle(button.Style());
        control.SetHint(button.Hint());
        control.SetVisible(button.Visible());
        control.SetFlat(m_flat);
        right -= width;
        control.SetBounds(right, 0, width, stripHeight);
    }
    m_buttonWidth = client.right - right;
    RefreshButtonStates();
    if (!HandleAllocated())
        return;
    const TRect text = TextAreaRect();
    (void)SendMessageA(Handle(), EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&text));
    (void)SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

void TCustomDBEditGx::RefreshButtonStates()
{
    for (std::size_t i = 0; i < m_buttonControls.size(); ++i) {
        const TEditButtonGx& button = *ButtonOfControl(static_cast<int>(i));
        m_buttonControls[i]->SetEnabled(Enabled() ? button.Enabled() && ButtonsEnabled() : ButtonsEnabled());
        m_buttonControls[i]->SetActive(m_borderLit);
    }
}

void TCustomDBEditGx::ButtonPressed(TEditButtonControlGx& control, bool topButton, bool& autoRepeat)
{
    if (CanFocus() && !Focused())
        SetFocus();
    bool handled = false;
    TEditButtonGx& button = *ButtonOfControl(control.Tag());
    if (control.Tag() == 0)
        m_onButtonDown(this, topButton, autoRepeat, handled);
    else
        button.OnDown()(&button, topButton, autoRepeat, handled);
    if (handled)
        return;
    if (TPopupMenu* menu = button.DropdownMenu()) {
        const TPoint corner = control.ClientToScreen(TPoint{0, control.Height()});
        menu->Popup(corner.x, corner.y);
        // The press that closed the menu over the button does not press it again.
        (void)ControlTakeMouseClick(control);
        control.Perform(WM_LBUTTONUP, 0, 0);
    } else if (control.Tag() == 0) {
        DefaultButtonDown();
    }
}

void TCustomDBEditGx::ButtonClicked(TEditButtonControlGx& control)
{
    bool handled = false;
    if (control.Tag() == 0) {
        m_editButton->Click(this, handled);
        if (!handled)
            m_onButtonClick(this, handled);
        if (!handled && m_droppedDown && !m_keepOpenOnClick)
            ClosePopup(false);
    } else {
        ButtonOfControl(control.Tag())->Click(this, handled);
    }
    m_keepOpenOnClick = false;
}

void TCustomDBEditGx::DefaultButtonDown()
{
    if (m_editButton->Style() == ebsUpDownGx || m_droppedDown)
        return;
    OpenDropDown();
    m_keepOpenOnClick = true;
}

// The first enabled button (the default one first) whose short cut the key is acts as if
// pressed and clicked; a disabled button's short cut does nothing.
bool TCustomDBEditGx::TakeShortCut(WORD key, TShiftState shift)
{
    const TShortCut pressed = ::ShortCut(key, shift);
    for (std::size_t i = 0; i < m_buttonControls.size(); ++i) {
        const TEditButtonGx& button = *ButtonOfControl(static_cast<int>(i));
        if (button.ShortCut() != pressed || !button.Enabled() || !ButtonsEnabled())
            continue;
        bool autoRepeat = false;
        ButtonPressed(*m_buttonControls[i], false, autoRepeat);
        ButtonClicked(*m_buttonControls[i]);
        return true;
    }
    return false;
}
