// Skinned components freed by a handler of their own events (see FreeInEvent.h): the skinner
// between the control and its messages must let go of the control as it goes.

#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "tests/support/components/FreeInEvent.h"

#include <gtest/gtest.h>

namespace {

using free_in_event::Frees;

class SkinnedFreeInEvent;
using Row = free_in_event::Row<SkinnedFreeInEvent>;
using Step = Row::Step;

class SkinnedFreeInEvent : public SkinnedFormFixture, public ::testing::WithParamInterface<Row> {
public:
    template <class T>
    T* Make()
    {
        auto* control = new T(m_form.get());
        control->SetParent(m_form.get());
        control->SetBounds(20, 20, 120, 30);
        control->SetCaption("&Go");
        return control;
    }
    void Settle() { ShowSkinned(); }
    using SkinnedFormFixture::Pump;
    // A click after a pause, never the second half of a double click.
    void ClickMiddle(TControl& control)
    {
        m_clock->Advance(1000);
        const TPoint screen = control.ClientToScreen(TPoint{control.Width() / 2, control.Height() / 2});
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        m_display->InjectClick(FormId(), POINT{screen.x - window.left, screen.y - window.top});
        Pump();
    }
    void Key(unsigned virtualKey, const std::string& text = {})
    {
        m_display->InjectKeyChord(FormId(), virtualKey, 0, text);
        Pump();
    }
    [[nodiscard]] WindowId FormId() const { return reinterpret_cast<WindowId>(Window()); }

    TEdit* m_other = nullptr;

protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_other = new TEdit(m_form.get());
        m_other->SetParent(m_form.get());
        m_other->SetBounds(20, 200, 100, 22);
    }
};

template <class T>
TControl* Plain(SkinnedFreeInEvent& f)
{
    return f.Make<T>();
}

const Step Nothing = [](SkinnedFreeInEvent&, TControl&) {};
const Step FocusIt = [](SkinnedFreeInEvent& f, TControl& c) {
    static_cast<TWinControl&>(c).SetFocus();
    f.Pump();
};
const Step FocusOther = [](SkinnedFreeInEvent& f, TControl&) {
    f.m_other->SetFocus();
    f.Pump();
};
const Step ClickIt = [](SkinnedFreeInEvent& f, TControl& c) { f.ClickMiddle(c); };
const Step Space = [](SkinnedFreeInEvent& f, TControl&) { f.Key(VK_SPACE, " "); };
const Step Letter = [](SkinnedFreeInEvent& f, TControl&) { f.Key('A', "a"); };

const Row ROWS[] = {
    {"ButtonClickByMouse", Plain<TButton>, Frees(&TButton::SetOnClick), Nothing, ClickIt},
    {"ButtonClickBySpace", Plain<TButton>, Frees(&TButton::SetOnClick), FocusIt, Space},
    {"ButtonMouseDown", Plain<TButton>, Frees(&TButton::SetOnMouseDown), Nothing, ClickIt},
    {"ButtonMouseUp", Plain<TButton>, Frees(&TButton::SetOnMouseUp), Nothing, ClickIt},
    {"ButtonKeyDown", Plain<TButton>, Frees(&TButton::SetOnKeyDown), FocusIt, Space},
    {"ButtonKeyUp", Plain<TButton>, Frees(&TButton::SetOnKeyUp), FocusIt, Space},
    {"ButtonEnterByMouse", Plain<TButton>, Frees(&TButton::SetOnEnter), FocusOther, ClickIt},
    {"BitBtnClickByMouse", Plain<TBitBtn>, Frees(&TBitBtn::SetOnClick), Nothing, ClickIt},
    {"BitBtnClickBySpace", Plain<TBitBtn>, Frees(&TBitBtn::SetOnClick), FocusIt, Space},
    {"CheckBoxClickByMouse", Plain<TCheckBox>, Frees(&TCheckBox::SetOnClick), Nothing, ClickIt},
    {"CheckBoxClickBySpace", Plain<TCheckBox>, Frees(&TCheckBox::SetOnClick), FocusIt, Space},
    {"RadioButtonClickByMouse", Plain<TRadioButton>, Frees(&TRadioButton::SetOnClick), Nothing, ClickIt},
    {"SpeedButtonClick", Plain<TSpeedButton>, Frees(&TSpeedButton::SetOnClick), Nothing, ClickIt},
    {"PanelClick", Plain<TPanel>, Frees(&TPanel::SetOnClick), Nothing, ClickIt},
    {"EditChange", Plain<TEdit>, Frees(&TEdit::SetOnChange), FocusIt, Letter},
    {"EditKeyPress", Plain<TEdit>, Frees(&TEdit::SetOnKeyPress), FocusIt, Letter},
    {"EditEnterByMouse", Plain<TEdit>, Frees(&TEdit::SetOnEnter), FocusOther, ClickIt},
};

TEST_P(SkinnedFreeInEvent, TheSkinnedControlLeavesItsStateAloneOnceTheHandlerFreesIt)
{
    free_in_event::Run(*this, GetParam());
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, SkinnedFreeInEvent, ::testing::ValuesIn(ROWS),
                         free_in_event::RowName<SkinnedFreeInEvent>);

} // namespace
