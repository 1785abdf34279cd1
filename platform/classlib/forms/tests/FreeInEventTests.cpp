// The class library's components freed by a handler of their own events (see FreeInEvent.h),
// and Release, which frees a control once its event is over.

#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsCalendar.h"
#include "platform/classlib/forms/ComCtrlsHeader.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsListView.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ComCtrlsUpDown.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/ExtCtrlsSplitter.h"
#include "platform/classlib/forms/Mask.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/winapi/controls/TabControl.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/components/FreeInEvent.h"

#include "ControlsTestClasses.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using free_in_event::Frees;

// A form for one control under test and another that takes the focus from it.
class FormFixture : public ControlsFixture {
public:
    template <class T>
    T* Add(TRect bounds = TRect{20, 20, 220, 120})
    {
        auto* control = new T(m_form.get());
        control->SetBoundsRect(bounds);
        control->SetParent(m_form.get());
        return control;
    }
    void Settle()
    {
        m_form->Show();
        Pump();
    }
    static void Pump()
    {
        for (int round = 0; round < 5; ++round)
            Application->ProcessMessages();
    }
    // A click after a pause, never the second half of a double click.
    void ClickAt(TControl& control, POINT client, MouseButton button = MouseButton::Left)
    {
        m_clock->Advance(1000);
        m_display->InjectClick(FormId(), InTopLevel(control, client), button);
        Pump();
    }
    void ClickMiddle(TControl& control) { ClickAt(control, POINT{control.Width() / 2, control.Height() / 2}); }
    // The left button pressed at `from`, moved by `dx` and released there.
    void DragBy(TControl& control, POINT from, int dx)
    {
        const POINT start = InTopLevel(control, from);
        const POINT end{start.x + dx, start.y};
        m_display->InjectMouseButton(FormId(), start, MouseButton::Left, true);
        Pump();
        m_display->InjectMouseMove(FormId(), end, ModLeftButton);
        Pump();
        m_display->InjectMouseButton(FormId(), end, MouseButton::Left, false, ModLeftButton);
        Pump();
    }
    void MoveTo(TControl& control, POINT client)
    {
        m_display->InjectMouseMove(FormId(), InTopLevel(control, client));
        Pump();
    }
    void Key(unsigned virtualKey, unsigned modifiers = 0, const std::string& text = {})
    {
        m_display->InjectKeyChord(FormId(), virtualKey, modifiers, text);
        Pump();
    }
    void Focus(TWinControl& control)
    {
        control.SetFocus();
        Pump();
    }
    [[nodiscard]] WindowId FormId() { return Id(*m_form); }

    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<TForm> m_form;
    TEdit* m_other = nullptr;

protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_clock = std::make_unique<FakeClock>();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(40, 40, 480, 300);
        m_other = Add<TEdit>(TRect{20, 240, 120, 261});
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
        m_clock.reset();
    }
};

class FreeInEvent;
using Row = free_in_event::Row<FreeInEvent>;
using Step = Row::Step;

class FreeInEvent : public FormFixture, public ::testing::WithParamInterface<Row> {};

const Step Nothing = [](FreeInEvent&, TControl&) {};
const Step FocusIt = [](FreeInEvent& f, TControl& c) { f.Focus(static_cast<TWinControl&>(c)); };
const Step FocusOther = [](FreeInEvent& f, TControl&) { f.Focus(*f.m_other); };
const Step ClickIt = [](FreeInEvent& f, TControl& c) { f.ClickMiddle(c); };
const Step ClickNearTop = [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{c.Width() / 2, 8}); };
const Step ClickRightEnd = [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{c.Width() - 5, c.Height() / 2}); };
const Step MouseIn = [](FreeInEvent& f, TControl& c) { f.MoveTo(c, POINT{5, 5}); };
const Step Space = [](FreeInEvent& f, TControl&) { f.Key(VK_SPACE, 0, " "); };
const Step Enter = [](FreeInEvent& f, TControl&) { f.Key(VK_RETURN, 0, "\r"); };
const Step Tab = [](FreeInEvent& f, TControl&) { f.Key(VK_TAB); };
const Step Letter = [](FreeInEvent& f, TControl&) { f.Key('A', 0, "a"); };
const Step Accelerator = [](FreeInEvent& f, TControl&) { f.Key('G', ModAlt, "g"); };
const Step Down = [](FreeInEvent& f, TControl&) { f.Key(VK_DOWN); };
const Step Right = [](FreeInEvent& f, TControl&) { f.Key(VK_RIGHT); };
const Step F4 = [](FreeInEvent& f, TControl&) { f.Key(VK_F4); };
const Step CtrlTab = [](FreeInEvent& f, TControl&) { f.Key(VK_TAB, ModControl); };
const Step SecondTab = [](FreeInEvent& f, TControl& c) {
    RECT tab{};
    (void)SendMessageA(static_cast<TWinControl&>(c).Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
    f.ClickAt(c, POINT{(tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2});
};

template <class T>
TControl* Plain(FreeInEvent& f)
{
    auto* control = f.Add<T>();
    control->SetCaption("&Go");
    return control;
}
TControl* DefaultButton(FreeInEvent& f)
{
    auto* button = f.Add<TButton>();
    button->SetDefault(true);
    return button;
}
template <class T>
TControl* WithItems(FreeInEvent& f)
{
    auto* control = f.Add<T>();
    for (const char* item : {"one", "two", "three"})
        control->Items()->Add(item);
    return control;
}
TControl* PageControl(FreeInEvent& f)
{
    auto* pages = f.Add<TPageControl>();
    for (const char* caption : {"One", "Two"}) {
        auto* sheet = new TTabSheet(f.m_form.get());
        sheet->SetCaption(caption);
        sheet->SetPageControl(pages);
    }
    return pages;
}
TControl* TabControl(FreeInEvent& f)
{
    auto* tabs = f.Add<TTabControl>();
    tabs->Tabs()->Add("One");
    tabs->Tabs()->Add("Two");
    return tabs;
}
// A splitter between a panel on the left and the rest of the form.
TControl* Splitter(FreeInEvent& f)
{
    auto* left = f.Add<TPanel>(TRect{0, 0, 100, 200});
    left->SetAlign(alLeft);
    auto* splitter = f.Add<TSplitter>(TRect{100, 0, 104, 200});
    splitter->SetAlign(alLeft);
    return splitter;
}
TControl* UpDown(FreeInEvent& f) { return f.Add<TUpDown>(TRect{20, 20, 40, 60}); }
TControl* ListView(FreeInEvent& f)
{
    auto* view = f.Add<TListView>();
    view->SetViewStyle(vsReport);
    view->Columns()->Add()->SetCaption("Name");
    for (const char* caption : {"one", "two"})
        view->Items()->Add()->SetCaption(caption);
    return view;
}
TControl* Header(FreeInEvent& f)
{
    auto* header = f.Add<THeaderControl>(TRect{20, 20, 220, 40});
    header->Sections()->Add()->SetWidth(100);
    return header;
}

const Row ROWS[] = {
    {"ButtonClickByMouse", Plain<TButton>, Frees(&TButton::SetOnClick), Nothing, ClickIt},
    {"ButtonClickBySpace", Plain<TButton>, Frees(&TButton::SetOnClick), FocusIt, Space},
    {"ButtonClickByEnter", DefaultButton, Frees(&TButton::SetOnClick), FocusOther, Enter},
    {"ButtonClickByAccelerator", Plain<TButton>, Frees(&TButton::SetOnClick), FocusOther, Accelerator},
    {"ButtonMouseDown", Plain<TButton>, Frees(&TButton::SetOnMouseDown), Nothing, ClickIt},
    {"ButtonMouseUp", Plain<TButton>, Frees(&TButton::SetOnMouseUp), Nothing, ClickIt},
    {"ButtonContextPopup", Plain<TButton>, Frees(&TButton::SetOnContextPopup), Nothing,
     [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{10, 10}, MouseButton::Right); }},
    {"ButtonMouseMove", Plain<TButton>, Frees(&TButton::SetOnMouseMove), Nothing, MouseIn},
    {"ButtonKeyDown", Plain<TButton>, Frees(&TButton::SetOnKeyDown), FocusIt, Space},
    {"ButtonKeyPress", Plain<TButton>, Frees(&TButton::SetOnKeyPress), FocusIt, Space},
    {"ButtonKeyUp", Plain<TButton>, Frees(&TButton::SetOnKeyUp), FocusIt, Space},
    {"ButtonEnterByMouse", Plain<TButton>, Frees(&TButton::SetOnEnter), FocusOther, ClickIt},
    {"ButtonEnterByTab", Plain<TButton>, Frees(&TButton::SetOnEnter), FocusOther, Tab},
    {"ButtonExitByTab", Plain<TButton>, Frees(&TButton::SetOnExit), FocusIt, Tab},
    {"ButtonExitByMouse", Plain<TButton>, Frees(&TButton::SetOnExit), FocusIt,
     [](FreeInEvent& f, TControl&) { f.ClickMiddle(*f.m_other); }},

    {"BitBtnClickByMouse", Plain<TBitBtn>, Frees(&TBitBtn::SetOnClick), Nothing, ClickIt},
    {"BitBtnClickBySpace", Plain<TBitBtn>, Frees(&TBitBtn::SetOnClick), FocusIt, Space},

    {"CheckBoxClickByMouse", Plain<TCheckBox>, Frees(&TCheckBox::SetOnClick), Nothing, ClickIt},
    {"CheckBoxClickBySpace", Plain<TCheckBox>, Frees(&TCheckBox::SetOnClick), FocusIt, Space},
    {"CheckBoxClickByAccelerator", Plain<TCheckBox>, Frees(&TCheckBox::SetOnClick), FocusOther, Accelerator},
    {"RadioButtonClickByMouse", Plain<TRadioButton>, Frees(&TRadioButton::SetOnClick), Nothing, ClickIt},
    {"RadioButtonClickByAccelerator", Plain<TRadioButton>, Frees(&TRadioButton::SetOnClick), FocusOther,
     Accelerator},

    {"SpeedButtonClick", Plain<TSpeedButton>, Frees(&TSpeedButton::SetOnClick), Nothing, ClickIt},
    {"SpeedButtonMouseDown", Plain<TSpeedButton>, Frees(&TSpeedButton::SetOnMouseDown), Nothing, ClickIt},
    {"SpeedButtonMouseMove", Plain<TSpeedButton>, Frees(&TSpeedButton::SetOnMouseMove), Nothing, MouseIn},
    {"SpeedButtonMouseUp", Plain<TSpeedButton>, Frees(&TSpeedButton::SetOnMouseUp), Nothing, ClickIt},
    {"SplitterMoved", Splitter, Frees(&TSplitter::SetOnMoved), Nothing,
     [](FreeInEvent& f, TControl& c) { f.DragBy(c, POINT{2, 50}, 30); }},
    {"SplitterCanResize", Splitter, Frees(&TSplitter::SetOnCanResize), Nothing,
     [](FreeInEvent& f, TControl& c) { f.DragBy(c, POINT{2, 50}, 30); }},
    {"LabelClick", Plain<TLabel>, Frees(&TLabel::SetOnClick), Nothing, ClickIt},
    {"LabelMouseMove", Plain<TLabel>, Frees(&TLabel::SetOnMouseMove), Nothing, MouseIn},
    {"ImageClick", Plain<TImage>, Frees(&TImage::SetOnClick), Nothing, ClickIt},
    {"PanelClick", Plain<TPanel>, Frees(&TPanel::SetOnClick), Nothing, ClickIt},
    {"PanelMouseDown", Plain<TPanel>, Frees(&TPanel::SetOnMouseDown), Nothing, ClickIt},

    {"EditChange", Plain<TEdit>, Frees(&TEdit::SetOnChange), FocusIt, Letter},
    {"EditKeyDown", Plain<TEdit>, Frees(&TEdit::SetOnKeyDown), FocusIt, Letter},
    {"EditKeyPress", Plain<TEdit>, Frees(&TEdit::SetOnKeyPress), FocusIt, Letter},
    {"EditKeyUp", Plain<TEdit>, Frees(&TEdit::SetOnKeyUp), FocusIt, Letter},
    {"EditClick", Plain<TEdit>, Frees(&TEdit::SetOnClick), Nothing, ClickIt},
    {"EditExitByTab", Plain<TEdit>, Frees(&TEdit::SetOnExit), FocusIt, Tab},

    {"MemoChange", Plain<TMemo>, Frees(&TMemo::SetOnChange), FocusIt, Letter},
    {"MemoKeyPress", Plain<TMemo>, Frees(&TMemo::SetOnKeyPress), FocusIt, Letter},
    {"RichEditChange", Plain<TRichEdit>, Frees(&TRichEdit::SetOnChange), FocusIt, Letter},
    {"RichEditKeyDown", Plain<TRichEdit>, Frees(&TRichEdit::SetOnKeyDown), FocusIt, Letter},
    {"MaskEditChange", Plain<TMaskEdit>, Frees(&TMaskEdit::SetOnChange), FocusIt, Letter},
    {"MaskEditKeyPress", Plain<TMaskEdit>, Frees(&TMaskEdit::SetOnKeyPress), FocusIt, Letter},

    {"ListBoxClickByMouse", WithItems<TListBox>, Frees(&TListBox::SetOnClick), Nothing, ClickNearTop},
    {"ListBoxClickByKey", WithItems<TListBox>, Frees(&TListBox::SetOnClick), FocusIt, Down},
    {"ListBoxKeyDown", WithItems<TListBox>, Frees(&TListBox::SetOnKeyDown), FocusIt, Down},

    {"ComboBoxChangeByKey", WithItems<TComboBox>, Frees(&TComboBox::SetOnChange), FocusIt, Down},
    {"ComboBoxSelectByKey", WithItems<TComboBox>, Frees(&TComboBox::SetOnSelect), FocusIt, Down},
    {"ComboBoxChangeByTyping", WithItems<TComboBox>, Frees(&TComboBox::SetOnChange), FocusIt, Letter},
    {"ComboBoxDropDownByKey", WithItems<TComboBox>, Frees(&TComboBox::SetOnDropDown), FocusIt, F4},
    {"ComboBoxKeyDown", WithItems<TComboBox>, Frees(&TComboBox::SetOnKeyDown), FocusIt, Down},

    {"PageControlChangingByMouse", PageControl, Frees(&TPageControl::SetOnChanging), Nothing, SecondTab},
    {"PageControlChangeByMouse", PageControl, Frees(&TPageControl::SetOnChange), Nothing, SecondTab},
    {"PageControlChangeByKey", PageControl, Frees(&TPageControl::SetOnChange), FocusIt, CtrlTab},
    {"TabControlChangingByMouse", TabControl, Frees(&TTabControl::SetOnChanging), Nothing, SecondTab},
    {"TabControlChangeByMouse", TabControl, Frees(&TTabControl::SetOnChange), Nothing, SecondTab},
    {"TabControlChangeByKey", TabControl, Frees(&TTabControl::SetOnChange), FocusIt, Right},

    {"TrackBarChangeByKey", Plain<TTrackBar>, Frees(&TTrackBar::SetOnChange), FocusIt, Right},
    {"TrackBarChangeByMouse", Plain<TTrackBar>, Frees(&TTrackBar::SetOnChange), Nothing, ClickRightEnd},
    {"ScrollBarChangeByMouse", Plain<TScrollBar>, Frees(&TScrollBar::SetOnChange), Nothing, ClickRightEnd},
    {"ScrollBarScrollByKey", Plain<TScrollBar>, Frees(&TScrollBar::SetOnScroll), FocusIt, Right},
    {"UpDownClick", UpDown, Frees(&TUpDown::SetOnClick), Nothing, ClickNearTop},
    {"UpDownChanging", UpDown, Frees(&TUpDown::SetOnChanging), Nothing, ClickNearTop},

    {"DateTimePickerChangeByKey", Plain<TDateTimePicker>, Frees(&TDateTimePicker::SetOnChange), FocusIt, Down},
    {"DateTimePickerDropDownByKey", Plain<TDateTimePicker>, Frees(&TDateTimePicker::SetOnDropDown), FocusIt, F4},

    {"ListViewClick", ListView, Frees(&TListView::SetOnClick), Nothing,
     [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{20, 28}); }},
    {"ListViewSelectItemByKey", ListView, Frees(&TListView::SetOnSelectItem), FocusIt, Down},
    {"ListViewChangeByKey", ListView, Frees(&TListView::SetOnChange), FocusIt, Down},
    {"ListViewColumnClick", ListView, Frees(&TListView::SetOnColumnClick), Nothing,
     [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{20, 5}); }},
    {"HeaderSectionResize", Header, Frees(&THeaderControl::SetOnSectionResize), Nothing,
     [](FreeInEvent& f, TControl& c) { f.DragBy(c, POINT{99, 10}, 30); }},
    {"HeaderSectionTrack", Header, Frees(&THeaderControl::SetOnSectionTrack), Nothing,
     [](FreeInEvent& f, TControl& c) { f.DragBy(c, POINT{99, 10}, 30); }},
    {"HeaderSectionClick", Header, Frees(&THeaderControl::SetOnSectionClick), Nothing,
     [](FreeInEvent& f, TControl& c) { f.ClickAt(c, POINT{50, 10}); }},
};

TEST_P(FreeInEvent, TheControlLeavesItsStateAloneOnceTheHandlerFreesIt) { free_in_event::Run(*this, GetParam()); }

INSTANTIATE_TEST_SUITE_P(EveryEvent, FreeInEvent, ::testing::ValuesIn(ROWS), free_in_event::RowName<FreeInEvent>);

using KeyPreviewTest = FormFixture;

// A form that sees its controls' keys first may free the focused control in its own handler.
TEST_F(KeyPreviewTest, TheFormsHandlerMayFreeTheFocusedControl)
{
    auto* edit = Add<TEdit>();
    m_form->SetKeyPreview(true);
    m_form->SetOnKeyDown(TKeyEvent::FromFunction([this](TObject*, WORD&, TShiftState) { delete m_form->ActiveControl(); }));
    Settle();
    Focus(*edit);
    const TControlLife life(*edit);
    Key('A', 0, "a");
    EXPECT_FALSE(life.Stands());
    EXPECT_TRUE(m_errors.empty());
}

using ReleaseTest = FormFixture;

TEST_F(ReleaseTest, AReleasedControlGoesOnceItsEventIsOverAndOnlyOnce)
{
    auto* button = Add<TButton>();
    auto* label = Add<TLabel>(TRect{20, 150, 120, 170});
    label->SetCaption("label");
    button->SetOnClick(TNotifyEvent::FromFunction([](TObject* sender) { static_cast<TControl*>(sender)->Release(); }));
    label->SetOnClick(TNotifyEvent::FromFunction([](TObject* sender) {
        auto* control = static_cast<TControl*>(sender);
        control->Release();
        control->Release();
        EXPECT_EQ(control->Caption(), "label"); // still there until the event is over
    }));
    Settle();
    const TControlLife buttonLife(*button);
    const TControlLife labelLife(*label);

    ClickMiddle(*button);
    ClickMiddle(*label);
    EXPECT_FALSE(buttonLife.Stands());
    EXPECT_FALSE(labelLife.Stands());
    EXPECT_TRUE(m_errors.empty());
}

TEST_F(ReleaseTest, AControlFreedBeforeItsReleaseComesDue)
{
    auto* panel = Add<TPanel>();
    auto* inner = new TButton(m_form.get());
    inner->SetParent(panel);
    Settle();
    inner->Release();
    panel->Release();
    delete panel; // frees the inner button too, before either release comes due
    Pump();
    EXPECT_TRUE(m_errors.empty());
}

} // namespace
