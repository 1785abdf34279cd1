#include "ControlsTestClasses.h"

#include "platform/classlib/Thread.h"

#include <atomic>
#include <memory>
#include <thread>

namespace {

class FormsTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.reset(static_cast<TTestMainForm*>(TCustomForm::Create(TTestMainForm::StaticClass(), nullptr)));
    }
    void TearDown() override
    {
        m_form.reset();
        ControlsFixture::TearDown();
    }
    void ShowAndSettle()
    {
        m_form->Show();
        ASSERT_TRUE(PumpUntil([&] { return Shown(*m_form->Top, POINT{2, 2}) == Rgb(clRed); }));
    }
    void Key(unsigned key, unsigned modifiers = 0, std::string text = {})
    {
        m_display->InjectKeyPress(Id(*m_form), key, std::move(text), modifiers);
    }
    [[nodiscard]] bool Clicked(const std::string& name) const
    {
        return std::count(m_form->Events.begin(), m_form->Events.end(), "click " + name) > 0;
    }

    std::unique_ptr<TTestMainForm> m_form;
};

TEST_F(FormsTest, FormDataBuildsTheTreeBindsEventsAndShowsItsColours)
{
    TTestMainForm& form = *m_form;
    ASSERT_NE(form.Body, nullptr);
    EXPECT_EQ(form.OkButton->Parent(), form.Top);
    EXPECT_EQ(form.Edit1->Parent(), form.Body);
    EXPECT_EQ(form.ClientWidth(), 300);
    EXPECT_EQ(form.ClientHeight(), 200);
    EXPECT_EQ(form.Top->BoundsRect().right, 300);
    EXPECT_EQ(form.Body->BoundsRect().top, 40);
    EXPECT_EQ(form.Body->Height(), 160);
    EXPECT_EQ(form.Body->Color(), clNavy);
    EXPECT_EQ(form.Edit1->Font()->Name(), "Tahoma");
    EXPECT_EQ(form.Events, std::vector<std::string>{"create"});
    EXPECT_EQ(form.Edit2->TabOrder(), 0);
    EXPECT_EQ(form.Edit1->TabOrder(), 1);

    ShowAndSettle();
    EXPECT_EQ(Shown(*form.Body, POINT{150, 150}), Rgb(clNavy));
    EXPECT_EQ(form.Events.back(), "show");
}

TEST_F(FormsTest, ClicksTabEnterEscapeAndAcceleratorsReachTheirControls)
{
    TTestMainForm& form = *m_form;
    ShowAndSettle();
    m_display->InjectClick(Id(form), InTopLevel(*form.OkButton, POINT{5, 5}));
    ASSERT_TRUE(PumpUntil([&] { return Clicked("OkButton"); }));

    form.Edit2->SetFocus();
    Application->ProcessMessages();
    ASSERT_TRUE(form.Edit2->Focused());
    EXPECT_EQ(form.ActiveControl(), form.Edit2);
    Key(VK_TAB);
    ASSERT_TRUE(PumpUntil([&] { return form.Edit1->Focused(); }));
    EXPECT_EQ(form.Edit2->Log, (std::vector<std::string>{"Edit2 enter", "Edit2 exit"}));
    m_display->InjectKey(Id(form), VK_SHIFT, true);
    Key(VK_TAB, ModShift);
    m_display->InjectKey(Id(form), VK_SHIFT, false);
    ASSERT_TRUE(PumpUntil([&] { return form.Edit2->Focused(); }));

    form.Events.clear();
    Key(VK_RETURN);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("OkButton"); }));
    Key(VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("CancelButton"); }));
    m_display->InjectKey(Id(form), VK_MENU, true);
    Key('G', ModAlt, "g");
    m_display->InjectKey(Id(form), VK_MENU, false);
    ASSERT_TRUE(PumpUntil([&] { return Clicked("GoButton"); }));
    EXPECT_EQ(form.Events, (std::vector<std::string>{"click OkButton", "click CancelButton", "click GoButton"}));
}

TEST_F(FormsTest, ExceptionsFromAClickAndATimerAreShownAndTheLoopGoesOn)
{
    TTestMainForm& form = *m_form;
    ShowAndSettle();
    form.ThrowFromClick = true;
    m_display->InjectClick(Id(form), InTopLevel(*form.OkButton, POINT{5, 5}));
    ASSERT_TRUE(PumpUntil([&] { return !m_errors.empty(); }));
    EXPECT_EQ(m_errors.front(), "Click went wrong.");

    form.ThrowFromTimer = true;
    form.Timer1->SetEnabled(true);
    ASSERT_TRUE(PumpUntil([&] { return form.Ticks >= 2; }));
    EXPECT_EQ(m_errors.at(1), "'x' is not a valid integer value.");
    form.Timer1->SetEnabled(false);

    // An abort is silent, and OnException takes over the box.
    const auto errors = m_errors.size();
    std::string seen;
    Application->SetOnException(TExceptionEvent::FromFunction([&](TObject*, const std::exception& e) { seen = e.what(); }));
    try {
        throw EAbort("Operation aborted");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    try {
        throw Exception("handled elsewhere");
    } catch (...) {
        Application->HandleException(nullptr);
    }
    EXPECT_EQ(m_errors.size(), errors);
    EXPECT_EQ(seen, "handled elsewhere");
}

TEST_F(FormsTest, ModalLoopEndsWithTheButtonsResultAndCloseHidesOrFrees)
{
    TTestMainForm& form = *m_form;
    form.OkButton->SetModalResult(mrOk);
    form.SetOnShow(TNotifyEvent::FromFunction([&](TObject*) {
        (void)PostMessageA(form.OkButton->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
        (void)PostMessageA(form.OkButton->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    }));
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_FALSE(form.Visible());

    std::vector<std::string> closing;
    form.SetOnClose(TCloseEvent::FromFunction([&](TObject*, TCloseAction& action) {
        closing.push_back("close");
        action = caNone;
    }));
    form.SetOnShow({});
    form.Show();
    (void)SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(form.Visible());
    form.SetOnClose({});
    form.Close();
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(closing.size(), 1u);
}

TEST_F(FormsTest, ScreenCentresTheFormAndSynchronizeRunsInTheLoop)
{
    m_form->SetPosition(poScreenCenter);
    m_form->Show();
    const TControl& placed = *m_form;
    EXPECT_EQ(placed.Left(), (Screen->Width() - placed.Width()) / 2);
    EXPECT_EQ(placed.Top(), (Screen->Height() - placed.Height()) / 2);
    EXPECT_EQ(Screen->PixelsPerInch(), 96);
    EXPECT_GT(Screen->FormCount(), 0);

    std::atomic<bool> ran{false};
    std::thread worker([&] { TThread::Synchronize([&] { ran = true; }); });
    EXPECT_TRUE(PumpUntil([&] { return ran.load(); }));
    worker.join();
}

} // namespace
