#include "StdCtrlsButtonsTestForm.h"

#include "platform/winapi/user/Button.h"

namespace {

using StdCtrlsButtonsTest = ButtonsFormTest;

DWORD ButtonType(TWinControl& control)
{
    return static_cast<DWORD>(GetWindowLongA(control.Handle(), GWL_STYLE)) & BS_TYPEMASK;
}

TEST_F(StdCtrlsButtonsTest, FormDataMakesButtonWindowsOfTheRightKinds)
{
    TButtonsTestForm& form = *m_form;
    EXPECT_EQ(ButtonType(*form.OkButton), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonType(*form.CancelButton), BS_PUSHBUTTON);
    EXPECT_EQ(ButtonType(*form.Check), BS_3STATE);
    EXPECT_EQ(ButtonType(*form.Radio1), BS_RADIOBUTTON);
    EXPECT_EQ(SendMessageA(form.Radio1->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(form.Radio1->TabStop());
    EXPECT_FALSE(form.Radio2->TabStop());
    char className[32] = {};
    (void)GetClassNameA(form.OkButton->Handle(), className, sizeof className);
    EXPECT_STREQ(className, "TButton");
    // Loading fires no clicks.
    EXPECT_TRUE(form.Events.empty());

    ClickAt(*form.OkButton, POINT{10, 10});
    EXPECT_EQ(form.Events, std::vector<std::string>{"click OkButton"});
    EXPECT_EQ(form.ModalResult(), mrOk);
}

TEST_F(StdCtrlsButtonsTest, EnterClicksTheDefaultOrFocusedButtonAndEscapeTheCancelOne)
{
    TButtonsTestForm& form = *m_form;
    form.Check->SetFocus();
    Key(VK_RETURN);
    EXPECT_TRUE(Saw("click OkButton"));
    Key(VK_ESCAPE);
    EXPECT_TRUE(Saw("click CancelButton"));

    // A focused button takes Enter and the default look from the default one.
    form.Events.clear();
    form.CancelButton->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(ButtonType(*form.CancelButton), BS_DEFPUSHBUTTON);
    EXPECT_EQ(ButtonType(*form.OkButton), BS_PUSHBUTTON);
    Key(VK_RETURN);
    EXPECT_EQ(form.Events, std::vector<std::string>{"click CancelButton"});
    form.Check->SetFocus();
    Application->ProcessMessages();
    EXPECT_EQ(ButtonType(*form.OkButton), BS_DEFPUSHBUTTON);

    // The space bar clicks the focused button.
    form.Events.clear();
    form.OkButton->SetFocus();
    Key(VK_SPACE);
    EXPECT_EQ(form.Events, std::vector<std::string>{"click OkButton"});
}

TEST_F(StdCtrlsButtonsTest, ModalResultOfTheClickedButtonEndsShowModal)
{
    TButtonsTestForm& form = *m_form;
    form.Hide();
    const std::pair<unsigned, TModalResult> cases[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
    for (const auto& [key, result] : cases) {
        form.SetOnShow(
            TNotifyEvent::FromFunction([&, key = key](TObject*) { m_display->InjectKeyPress(Id(form), key); }));
        EXPECT_EQ(form.ShowModal(), result);
        EXPECT_FALSE(form.Visible());
    }
}

TEST_F(StdCtrlsButtonsTest, CheckBoxClicksCycleThroughGrayedWhenAllowed)
{
    TCheckBox& check = *m_form->Check;
    const TCheckBoxState expected[] = {cbGrayed, cbChecked, cbUnchecked};
    for (const TCheckBoxState state : expected) {
        ClickAt(check, POINT{5, 8});
        EXPECT_EQ(check.State(), state);
        EXPECT_EQ(SendMessageA(check.Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(state));
    }
    EXPECT_EQ(std::count(m_form->Events.begin(), m_form->Events.end(), "click Check"), 3);

    check.SetAllowGrayed(false);
    check.SetChecked(true);
    ClickAt(check, POINT{5, 8});
    EXPECT_FALSE(check.Checked());
    EXPECT_EQ(std::count(m_form->Events.begin(), m_form->Events.end(), "click Check"), 5);


    // Alt+its accelerator focuses and toggles it.
    m_display->InjectKeyChord(Id(*m_form), 'C', ModAlt, "c");
    Application->ProcessMessages();
    EXPECT_TRUE(check.Focused());
    EXPECT_TRUE(check.Checked());
    check.SetChecked(false);

    // A new window keeps the state.
    check.SetChecked(true);
    check.SetAlignment(taLeftJustify);
    EXPECT_TRUE(GetWindowLongA(check.Handle(), GWL_STYLE) & BS_LEFTTEXT);
    EXPECT_EQ(SendMessageA(check.Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(StdCtrlsButtonsTest, CheckingARadioButtonUnchecksItsSiblingsOnly)
{
    TButtonsTestForm& form = *m_form;
    ClickAt(*form.Radio2, POINT{5, 8});
    EXPECT_TRUE(form.Radio2->Checked());
    EXPECT_FALSE(form.Radio1->Checked());
    EXPECT_EQ(SendMessageA(form.Radio1->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(form.Radio2->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(form.Outside->Checked());
    EXPECT_EQ(form.Events, std::vector<std::string>{"click Radio2"});
    // A second click on a checked radio button changes nothing.
    ClickAt(*form.Radio2, POINT{5, 8});
    EXPECT_EQ(form.Events.size(), 1u);
}

TEST_F(StdCtrlsButtonsTest, AGroupBoxFramesItsChildrenUnderItsCaption)
{
    TGroupBox& box = *m_form->Box;
    EXPECT_EQ(m_form->Radio1->Parent(), &box);
    // The etched line runs across the middle of the caption's height, not through the caption.
    bool line = false;
    for (int y = 0; y < 12; ++y)
        line = line || Shown(box, POINT{box.Width() - 20, y}) == Rgb(clBtnShadow);
    EXPECT_TRUE(line);
}

} // namespace
