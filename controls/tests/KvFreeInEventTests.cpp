// A user's handler may free the control whose event it answers. Each row makes one control of the
// library, has a handler of one of its events free it, and drives it by mouse or keyboard until
// that event fires; the control must then leave its freed state alone (AddressSanitizer reports
// it otherwise) and be gone.

#include "controls/KvBorder.h"
#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvLabel.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"

#include "KvFormFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

// The handler frees its sender the first time it runs once the test is driving the control.
struct Trap {
    bool armed = false;
    bool sprung = false;
};
Trap g_trap;

template <class Event>
Event FreeSender()
{
    return Event::FromFunction([](TObject* sender, auto&&...) {
        if (!g_trap.armed)
            return;
        g_trap = Trap{false, true};
        delete sender;
    });
}

// Sets the event of `Control` through `setter` to one that frees its sender.
template <class Control, class Event>
std::function<void(TControl&)> Frees(void (Control::*setter)(const Event&))
{
    return [setter](TControl& control) { (static_cast<Control&>(control).*setter)(FreeSender<Event>()); };
}

class FreeInEvent;
using Step = std::function<void(FreeInEvent&, TControl&)>;

struct Row {
    const char* name;
    std::function<TControl*(FreeInEvent&)> make;
    std::function<void(TControl&)> arm;
    // What happens before the trap is set (the focus put in place, the mouse moved in), then the
    // input that fires the event.
    Step prepare;
    Step drive;
};

class FreeInEvent : public KvFormFixture, public ::testing::WithParamInterface<Row> {
public:
    using KvFormFixture::Focus;
    using KvFormFixture::Key;
    using KvFormFixture::MoveMouse;
    template <class T>
    T* Make()
    {
        auto* control = Add<T>(TRect{20, 20, 220, 120});
        control->SetCaption("&Go");
        return control;
    }
    TKvPageControl* MakePages()
    {
        auto* pages = Add<TKvPageControl>(TRect{20, 20, 220, 120});
        for (const char* caption : {"One", "Two"}) {
            auto* sheet = new TKvTabSheet(m_form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        pages->SetActivePage(pages->Pages(0));
        return pages;
    }

    void ClickAt(TControl& control, POINT client)
    {
        const TPoint screen = control.ClientToScreen(TPoint{client.x, client.y});
        RECT form{};
        (void)GetWindowRect(m_form->Handle(), &form);
        m_display->InjectClick(FormId(), POINT{screen.x - form.left, screen.y - form.top});
        Pump();
    }
    void ClickMiddle(TControl& control) { ClickAt(control, POINT{control.Width() / 2, control.Height() / 2}); }
    void MouseToOther() { MoveMouse(*m_other, POINT{5, 5}); }
    void FocusOther() { Focus(*m_other); }

    TKvEdit* m_other = nullptr;

protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvPageControlClasses();
        m_other = Add<TKvEdit>(TRect{20, 200, 120, 221});
    }
    void TearDown() override
    {
        g_trap = Trap{};
        KvFormFixture::TearDown();
    }
};

const Step Nothing = [](FreeInEvent&, TControl&) {};
const Step FocusIt = [](FreeInEvent& f, TControl& c) { f.Focus(static_cast<TWinControl&>(c)); };
const Step FocusOther = [](FreeInEvent& f, TControl&) { f.FocusOther(); };
const Step MouseIn = [](FreeInEvent& f, TControl& c) { f.MoveMouse(c, POINT{5, 5}); };
const Step MouseOut = [](FreeInEvent& f, TControl&) { f.MouseToOther(); };
const Step ClickIt = [](FreeInEvent& f, TControl& c) { f.ClickMiddle(c); };
const Step Space = [](FreeInEvent& f, TControl&) { f.Key(VK_SPACE, 0, " "); };
const Step Enter = [](FreeInEvent& f, TControl&) { f.Key(VK_RETURN, 0, "\r"); };
const Step Tab = [](FreeInEvent& f, TControl&) { f.Key(VK_TAB); };
const Step Letter = [](FreeInEvent& f, TControl&) { f.Key('A', 0, "a"); };
const Step Accelerator = [](FreeInEvent& f, TControl&) { f.Key('G', ModAlt, "g"); };
const Step RightArrow = [](FreeInEvent& f, TControl&) { f.Key(VK_RIGHT); };
const Step SecondTab = [](FreeInEvent& f, TControl& c) {
    auto& pages = static_cast<TKvPageControl&>(c);
    const TRect tab = pages.TabRect(1);
    f.ClickAt(c, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
};

TControl* KvButton(FreeInEvent& f) { return f.Make<TKvButton>(); }
TControl* DefaultKvButton(FreeInEvent& f)
{
    TKvButton* button = f.Make<TKvButton>();
    button->SetDefault(true);
    return button;
}
TControl* KvBitBtn(FreeInEvent& f) { return f.Make<TKvBitBtn>(); }
TControl* KvCheckBox(FreeInEvent& f) { return f.Make<TKvCheckBox>(); }
TControl* KvEdit(FreeInEvent& f) { return f.Make<TKvEdit>(); }
TControl* KvLabel(FreeInEvent& f) { return f.Make<TKvLabel>(); }
TControl* KvBorder(FreeInEvent& f) { return f.Make<TKvBorder>(); }
TControl* KvPages(FreeInEvent& f) { return f.MakePages(); }

using Tabs = TKvCustomTabControl;

const Row ROWS[] = {
    {"KvButtonClickByMouse", KvButton, Frees(&TKvButton::SetOnClick), Nothing, ClickIt},
    {"KvButtonClickBySpace", KvButton, Frees(&TKvButton::SetOnClick), FocusIt, Space},
    {"KvButtonClickByEnter", DefaultKvButton, Frees(&TKvButton::SetOnClick), FocusOther, Enter},
    {"KvButtonClickByAccelerator", KvButton, Frees(&TKvButton::SetOnClick), FocusOther, Accelerator},
    {"KvButtonMouseDown", KvButton, Frees(&TKvButton::SetOnMouseDown), Nothing, ClickIt},
    {"KvButtonMouseUp", KvButton, Frees(&TKvButton::SetOnMouseUp), Nothing, ClickIt},
    {"KvButtonMouseEnter", KvButton, Frees(&TKvButton::SetOnMouseEnter), MouseOut, MouseIn},
    {"KvButtonMouseLeave", KvButton, Frees(&TKvButton::SetOnMouseLeave), MouseIn, MouseOut},
    {"KvButtonKeyDown", KvButton, Frees(&TKvButton::SetOnKeyDown), FocusIt, Space},
    {"KvButtonKeyPress", KvButton, Frees(&TKvButton::SetOnKeyPress), FocusIt, Space},
    {"KvButtonKeyUp", KvButton, Frees(&TKvButton::SetOnKeyUp), FocusIt, Space},
    {"KvButtonEnterByMouse", KvButton, Frees(&TKvButton::SetOnEnter), FocusOther, ClickIt},
    {"KvButtonEnterByTab", KvButton, Frees(&TKvButton::SetOnEnter), FocusOther, Tab},
    {"KvButtonExitByTab", KvButton, Frees(&TKvButton::SetOnExit), FocusIt, Tab},

    {"KvBitBtnClickByMouse", KvBitBtn, Frees(&TKvBitBtn::SetOnClick), Nothing, ClickIt},
    {"KvBitBtnClickBySpace", KvBitBtn, Frees(&TKvBitBtn::SetOnClick), FocusIt, Space},
    {"KvBitBtnMouseUp", KvBitBtn, Frees(&TKvBitBtn::SetOnMouseUp), Nothing, ClickIt},
    {"KvBitBtnKeyUp", KvBitBtn, Frees(&TKvBitBtn::SetOnKeyUp), FocusIt, Space},

    {"KvCheckBoxClickByMouse", KvCheckBox, Frees(&TKvCheckBox::SetOnClick), Nothing, ClickIt},
    {"KvCheckBoxClickBySpace", KvCheckBox, Frees(&TKvCheckBox::SetOnClick), FocusIt, Space},
    {"KvCheckBoxClickByAccelerator", KvCheckBox, Frees(&TKvCheckBox::SetOnClick), FocusOther, Accelerator},
    {"KvCheckBoxMouseDown", KvCheckBox, Frees(&TKvCheckBox::SetOnMouseDown), Nothing, ClickIt},
    {"KvCheckBoxMouseUp", KvCheckBox, Frees(&TKvCheckBox::SetOnMouseUp), Nothing, ClickIt},
    {"KvCheckBoxMouseEnter", KvCheckBox, Frees(&TKvCheckBox::SetOnMouseEnter), MouseOut, MouseIn},
    {"KvCheckBoxKeyDown", KvCheckBox, Frees(&TKvCheckBox::SetOnKeyDown), FocusIt, Space},
    {"KvCheckBoxKeyUp", KvCheckBox, Frees(&TKvCheckBox::SetOnKeyUp), FocusIt, Space},
    {"KvCheckBoxExitByTab", KvCheckBox, Frees(&TKvCheckBox::SetOnExit), FocusIt, Tab},

    {"KvPagesTabClick", KvPages, Frees(&Tabs::SetOnTabClick), Nothing, SecondTab},
    {"KvPagesChangingByMouse", KvPages, Frees(&Tabs::SetOnChanging), Nothing, SecondTab},
    {"KvPagesChangeByMouse", KvPages, Frees(&Tabs::SetOnChange), Nothing, SecondTab},
    {"KvPagesPageChangeByMouse", KvPages, Frees(&Tabs::SetOnPageChange), Nothing, SecondTab},
    {"KvPagesChangingByKey", KvPages, Frees(&Tabs::SetOnChanging), FocusIt, RightArrow},
    {"KvPagesChangeByKey", KvPages, Frees(&Tabs::SetOnChange), FocusIt, RightArrow},
    {"KvPagesMouseDown", KvPages, Frees(&Tabs::SetOnMouseDown), Nothing, SecondTab},
    {"KvPagesKeyDown", KvPages, Frees(&Tabs::SetOnKeyDown), FocusIt, RightArrow},

    {"KvEditChangeByTyping", KvEdit, Frees(&TKvEdit::SetOnChange), FocusIt, Letter},
    {"KvEditKeyDown", KvEdit, Frees(&TKvEdit::SetOnKeyDown), FocusIt, Letter},
    {"KvEditKeyPress", KvEdit, Frees(&TKvEdit::SetOnKeyPress), FocusIt, Letter},
    {"KvEditKeyUp", KvEdit, Frees(&TKvEdit::SetOnKeyUp), FocusIt, Letter},
    {"KvEditEnterByMouse", KvEdit, Frees(&TKvEdit::SetOnEnter), FocusOther, ClickIt},
    {"KvEditEnterByTab", KvEdit, Frees(&TKvEdit::SetOnEnter), FocusOther, Tab},
    {"KvEditExitByTab", KvEdit, Frees(&TKvEdit::SetOnExit), FocusIt, Tab},
    {"KvEditClick", KvEdit, Frees(&TKvEdit::SetOnClick), Nothing, ClickIt},
    {"KvEditMouseEnter", KvEdit, Frees(&TKvEdit::SetOnMouseEnter), MouseOut, MouseIn},
    {"KvEditMouseLeave", KvEdit, Frees(&TKvEdit::SetOnMouseLeave), MouseIn, MouseOut},

    {"KvLabelClick", KvLabel, Frees(&TKvLabel::SetOnClick), Nothing, ClickIt},
    {"KvLabelMouseUp", KvLabel, Frees(&TKvLabel::SetOnMouseUp), Nothing, ClickIt},
    {"KvLabelMouseEnter", KvLabel, Frees(&TKvLabel::SetOnMouseEnter), MouseOut, MouseIn},
    {"KvLabelMouseLeave", KvLabel, Frees(&TKvLabel::SetOnMouseLeave), MouseIn, MouseOut},

    {"KvBorderClick", KvBorder, Frees(&TKvBorder::SetOnClick), Nothing, ClickIt},
    {"KvBorderMouseEnter", KvBorder, Frees(&TKvBorder::SetOnMouseEnter), MouseOut, MouseIn},
    {"KvBorderMouseLeave", KvBorder, Frees(&TKvBorder::SetOnMouseLeave), MouseIn, MouseOut},
};

TEST_P(FreeInEvent, TheControlLeavesItsStateAloneOnceTheHandlerFreesIt)
{
    const Row& row = GetParam();
    TControl* control = row.make(*this);
    row.arm(*control);
    ShowForm();
    row.prepare(*this, *control);
    const TControlLife life(*control);
    g_trap.armed = true;
    row.drive(*this, *control);
    EXPECT_TRUE(g_trap.sprung) << "the event never fired";
    EXPECT_FALSE(life.Stands());
}

INSTANTIATE_TEST_SUITE_P(EveryEvent, FreeInEvent, ::testing::ValuesIn(ROWS),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
