// The control library's components freed by a handler of their own events (see FreeInEvent.h).

#include "controls/KvBorder.h"
#include "controls/KvButton.h"
#include "controls/KvEdit.h"
#include "controls/KvLabel.h"
#include "controls/KvRadChk.h"
#include "controls/KvTabsPages.h"
#include "tests/support/components/FreeInEvent.h"

#include "KvFormFixture.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace {

using free_in_event::Frees;

class FreeInEvent;
using Row = free_in_event::Row<FreeInEvent>;
using Step = Row::Step;

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
        for (const char* caption : {"One", "&Two"}) {
            auto* sheet = new TKvTabSheet(m_form.get());
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
        }
        pages->SetActivePage(pages->Pages(0));
        return pages;
    }
    // More tabs than fit, so that the strip scrolls.
    TKvPageControl* MakeCrowdedPages()
    {
        auto* pages = MakePages();
        for (int n = 0; n < 12; ++n) {
            auto* sheet = new TKvTabSheet(m_form.get());
            sheet->SetCaption("Page " + std::to_string(n));
            sheet->SetPageControl(pages);
        }
        return pages;
    }
    // The strip's own button of that class.
    template <class T>
    static T& StripButton(TControl& pages)
    {
        auto& parent = static_cast<TWinControl&>(pages);
        for (int i = 0; i < parent.ControlCount(); ++i)
            if (auto* button = dynamic_cast<T*>(parent.Controls(i)))
                return *button;
        throw std::logic_error("no such button");
    }
    void Settle() { ShowForm(); }

    void ClickAt(TControl& control, POINT client)
    {
        const TPoint screen = control.ClientToScreen(TPoint{client.x, client.y});
        RECT form{};
        (void)GetWindowRect(m_form->Handle(), &form);
        m_display->InjectClick(FormId(), POINT{screen.x - form.left, screen.y - form.top});
        Pump();
    }

    TKvEdit* m_other = nullptr;

protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvPageControlClasses();
        m_other = Add<TKvEdit>(TRect{20, 200, 120, 221});
    }
};

const Step Nothing = [](FreeInEvent&, TControl&) {};
const Step FocusIt = [](FreeInEvent& f, TControl& c) { f.Focus(static_cast<TWinControl&>(c)); };
const Step FocusOther = [](FreeInEvent& f, TControl&) { f.Focus(*f.m_other); };
const Step MouseIn = [](FreeInEvent& f, TControl& c) { f.MoveMouse(c, POINT{5, 5}); };
const Step MouseOut = [](FreeInEvent& f, TControl&) { f.MoveMouse(*f.m_other, POINT{5, 5}); };
const Step ClickIt = [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{c.Width() / 2, c.Height() / 2}); };
const Step Space = [](FreeInEvent& f, TControl&) { f.Key(VK_SPACE, 0, " "); };
const Step Enter = [](FreeInEvent& f, TControl&) { f.Key(VK_RETURN, 0, "\r"); };
const Step Tab = [](FreeInEvent& f, TControl&) { f.Key(VK_TAB); };
const Step Letter = [](FreeInEvent& f, TControl&) { f.Key('A', 0, "a"); };
const Step Accelerator = [](FreeInEvent& f, TControl&) { f.Key('G', ModAlt, "g"); };
const Step RightArrow = [](FreeInEvent& f, TControl&) { f.Key(VK_RIGHT); };
const Step CloseButton = [](FreeInEvent& f, TControl& c) {
    TControl& button = FreeInEvent::StripButton<TKvTabCloseButton>(c);
    f.ClickAt(button, POINT{button.Width() / 2, button.Height() / 2});
};
const Step ScrollForward = [](FreeInEvent& f, TControl& c) {
    TControl& scroller = FreeInEvent::StripButton<TKvTabScroller>(c);
    f.ClickAt(scroller, POINT{scroller.Width() - 3, scroller.Height() / 2});
};
const Step F4 = [](FreeInEvent& f, TControl&) { f.Key(VK_F4); };
const Step TabMnemonic = [](FreeInEvent& f, TControl&) { f.Key('T', ModAlt, "t"); };
const Step SecondTab = [](FreeInEvent& f, TControl& c) {
    const TRect tab = static_cast<TKvPageControl&>(c).TabRect(1);
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
TControl* KvPagesWithClose(FreeInEvent& f)
{
    TKvPageControl* pages = f.MakePages();
    pages->SetShowCloseButton(true);
    return pages;
}
TControl* CrowdedKvPages(FreeInEvent& f) { return f.MakeCrowdedPages(); }
TControl* KvEditWithDropButton(FreeInEvent& f)
{
    TKvEdit* edit = f.Make<TKvEdit>();
    edit->SetDropButtonVisible(true);
    return edit;
}

using Tabs = TKvCustomTabControl;

const Row ROWS[] = {
    {"KvButtonClickByMouse", KvButton, Frees(&TKvButton::SetOnClick), Nothing, ClickIt},
    {"KvButtonClickBySpace", KvButton, Frees(&TKvButton::SetOnClick), FocusIt, Space},
    {"KvButtonClickByEnter", DefaultKvButton, Frees(&TKvButton::SetOnClick), FocusOther, Enter},
    {"KvButtonClickByAccelerator", KvButton, Frees(&TKvButton::SetOnClick), FocusOther, Accelerator},
    {"KvButtonMouseDown", KvButton, Frees(&TKvButton::SetOnMouseDown), Nothing, ClickIt},
    {"KvButtonMouseUp", KvButton, Frees(&TKvButton::SetOnMouseUp), Nothing, ClickIt},
    {"KvButtonMouseMove", KvButton, Frees(&TKvButton::SetOnMouseMove), MouseOut, MouseIn},
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
    {"KvPagesTabClickByKey", KvPages, Frees(&Tabs::SetOnTabClick), FocusIt, RightArrow},
    {"KvPagesClose", KvPagesWithClose, Frees(&Tabs::SetOnClose), Nothing, CloseButton},
    {"KvPagesScrolledTabs", CrowdedKvPages, Frees(&Tabs::SetOnScrolledTabs), Nothing, ScrollForward},
    {"KvPagesTabClickByMnemonic", KvPages, Frees(&Tabs::SetOnTabClick), FocusOther, TabMnemonic},
    {"KvPagesMouseMove", KvPages, Frees(&Tabs::SetOnMouseMove), MouseOut, MouseIn},
    {"KvPagesMouseDown", KvPages, Frees(&Tabs::SetOnMouseDown), Nothing, SecondTab},
    {"KvPagesKeyDown", KvPages, Frees(&Tabs::SetOnKeyDown), FocusIt, RightArrow},

    {"KvEditChangeByTyping", KvEdit, Frees(&TKvEdit::SetOnChange), FocusIt, Letter},
    {"KvEditKeyDown", KvEdit, Frees(&TKvEdit::SetOnKeyDown), FocusIt, Letter},
    {"KvEditKeyPress", KvEdit, Frees(&TKvEdit::SetOnKeyPress), FocusIt, Letter},
    {"KvEditKeyUp", KvEdit, Frees(&TKvEdit::SetOnKeyUp), FocusIt, Letter},
    {"KvEditEnterByMouse", KvEdit, Frees(&TKvEdit::SetOnEnter), FocusOther, ClickIt},
    {"KvEditEnterByTab", KvEdit, Frees(&TKvEdit::SetOnEnter), FocusOther, Tab},
    {"KvEditExitByTab", KvEdit, Frees(&TKvEdit::SetOnExit), FocusIt, Tab},
    {"KvEditDropOpenByKey", KvEditWithDropButton, Frees(&TKvEdit::SetOnDropOpen), FocusIt, F4},
    {"KvEditDropCloseByKey", KvEditWithDropButton, Frees(&TKvEdit::SetOnDropClose), FocusIt, F4},
    {"KvEditWithDropButtonMouseDown", KvEditWithDropButton, Frees(&TKvEdit::SetOnMouseDown), Nothing, ClickIt},
    {"KvEditWithDropButtonMouseUp", KvEditWithDropButton, Frees(&TKvEdit::SetOnMouseUp), Nothing, ClickIt},
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

TEST_P(FreeInEvent, TheControlLeavesItsStateAloneOnceTheHandlerFreesIt) { free_in_event::Run(*this, GetParam()); }

INSTANTIATE_TEST_SUITE_P(EveryEvent, FreeInEvent, ::testing::ValuesIn(ROWS), free_in_event::RowName<FreeInEvent>);

} // namespace
