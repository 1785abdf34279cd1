#include "ControlsTestClasses.h"

#include "platform/classlib/forms/Hints.h"
#include "platform/winapi/kernel/Clock.h"

#include <memory>

namespace {

// A hint window of a fixed size, as a control may ask for through CM_HINTSHOW.
class TFixedHintWindow : public THintWindow {
    CLASSLIB_DECLARE_CLASS;
    explicit TFixedHintWindow(TComponent* owner) : THintWindow(owner) {}
    TRect CalcHintRect(int, const std::string&, void*) override { return Rect(0, 0, 120, 33); }
};

// A panel that answers CM_HINTSHOW by rewriting the tip, by asking for another window class, or
// by refusing it.
class THintedPanel : public TTestPanel {
public:
    explicit THintedPanel(TComponent* owner) : TTestPanel(owner) {}
    std::string Replacement;
    TClass WindowClass = nullptr;
    bool Refuse = false;

protected:
    void Dispatch(TMessage& message) override
    {
        if (message.Msg == CM_HINTSHOW) {
            auto* info = reinterpret_cast<THintInfo*>(message.LParam);
            EXPECT_EQ(info->HintControl, this);
            if (!Replacement.empty())
                info->HintStr = Replacement;
            if (WindowClass)
                info->HintWindowClass = WindowClass;
            message.Result = Refuse ? 1 : 0;
            return;
        }
        TTestPanel::Dispatch(message);
    }
};

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TFixedHintWindow, THintWindow, ComponentCreator<TFixedHintWindow>, nullptr)

namespace {

class HintsTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_clock = std::make_unique<FakeClock>();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(40, 40, 300, 200);
        m_panel = new THintedPanel(m_form.get());
        m_panel->SetParent(m_form.get());
        m_panel->SetBounds(10, 10, 100, 50);
        m_panel->SetHint("Dial|Dials the selected number");
        m_panel->SetShowHint(true);
        m_plain = new TTestPanel(m_form.get());
        m_plain->SetParent(m_form.get());
        m_plain->SetBounds(150, 10, 100, 50);
        m_form->Show();
        Settle();
    }
    void TearDown() override
    {
        Application->CancelHint();
        Application->SetOnHint({});
        m_form.reset();
        m_clock.reset();
        ControlsFixture::TearDown();
    }
    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            Application->ProcessMessages();
    }
    void MoveTo(TControl& control, POINT client)
    {
        m_display->InjectMouseMove(Id(*m_form), InTopLevel(control, client));
        Settle();
    }
    void Wait(std::uint64_t ms)
    {
        m_clock->Advance(ms);
        Settle();
    }
    [[nodiscard]] static bool HintShown()
    {
        const THintWindow* window = Application->HintWindow();
        return window && window->HandleAllocated() &&
               IsWindowVisible(const_cast<THintWindow*>(window)->Handle());
    }

    std::unique_ptr<FakeClock> m_clock;
    std::unique_ptr<TForm> m_form;
    THintedPanel* m_panel = nullptr;
    TTestPanel* m_plain = nullptr;
};

TEST_F(HintsTest, TheShortHintAppearsAfterThePauseWithoutTakingTheActivation)
{
    int hintEvents = 0;
    Application->SetOnHint(TNotifyEvent::FromFunction([&](TObject*) { ++hintEvents; }));
    MoveTo(*m_panel, POINT{20, 20});
    EXPECT_EQ(Application->Hint(), "Dials the selected number");
    EXPECT_EQ(hintEvents, 1);
    Wait(Application->HintPause() - 1);
    EXPECT_FALSE(HintShown());
    Wait(1);
    ASSERT_TRUE(HintShown());

    THintWindow& window = *Application->HintWindow();
    EXPECT_EQ(window.Caption(), "Dial");
    EXPECT_EQ(GetActiveWindow(), m_form->Handle());
    EXPECT_NE(GetFocus(), window.Handle());
    // Below the pointer, in the tooltip colour inside a dark one-pixel frame.
    const TPoint pointer = m_panel->ClientToScreen(POINT{20, 20});
    EXPECT_GT(window.Top(), pointer.y);
    EXPECT_EQ(m_display->WindowPixel(Id(window), window.Width() - 2, window.Height() - 2).value_or(0) & 0xFFFFFF,
              Rgb(clInfoBk));
    EXPECT_LT(m_display->WindowPixel(Id(window), 0, window.Height() / 2).value_or(0xFFFFFF) & 0xFFFFFF, 0x404040u);

    // From one tip to the next the pause is the short one.
    m_plain->SetHint("Hang up");
    m_plain->SetShowHint(true);
    MoveTo(*m_plain, POINT{20, 20});
    EXPECT_FALSE(HintShown());
    Wait(Application->HintShortPause());
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Hang up");
    EXPECT_EQ(Application->Hint(), "Hang up");
    EXPECT_EQ(hintEvents, 2);

    Application->CancelHint();
    EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, TheHintHidesAfterItsTimeOrAtAKeyAndNeverShowsWithoutShowHint)
{
    MoveTo(*m_panel, POINT{20, 20});
    Wait(Application->HintPause());
    ASSERT_TRUE(HintShown());
    Wait(Application->HintHidePause());
    EXPECT_FALSE(HintShown());

    MoveTo(*m_plain, POINT{20, 20});
    MoveTo(*m_panel, POINT{30, 20});
    Wait(Application->HintPause());
    ASSERT_TRUE(HintShown());
    m_display->InjectKeyPress(Id(*m_form), VK_SHIFT);
    Settle();
    EXPECT_FALSE(HintShown());

    MoveTo(*m_plain, POINT{20, 20});
    Wait(Application->HintPause() * 2);
    EXPECT_FALSE(HintShown());

    m_panel->SetShowHint(false);
    m_form->SetShowHint(true); // the plain panel takes its parent's
    m_plain->SetHint("Plain");
    MoveTo(*m_plain, POINT{25, 25});
    Wait(Application->HintPause());
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Plain");
}

TEST_F(HintsTest, TheControlMayRewriteOrRefuseItsHint)
{
    m_panel->Replacement = "Dial 555-0100";
    MoveTo(*m_panel, POINT{20, 20});
    Wait(Application->HintPause());
    ASSERT_TRUE(HintShown());
    EXPECT_EQ(Application->HintWindow()->Caption(), "Dial 555-0100");

    Application->CancelHint();
    m_panel->WindowClass = TFixedHintWindow::StaticClass();
    MoveTo(*m_panel, POINT{30, 20});
    Wait(Application->HintPause());
    ASSERT_TRUE(HintShown());
    ASSERT_NE(dynamic_cast<TFixedHintWindow*>(Application->HintWindow()), nullptr);
    EXPECT_EQ(Application->HintWindow()->Width(), 120);
    EXPECT_EQ(Application->HintWindow()->Height(), 33);

    Application->CancelHint();
    m_panel->Refuse = true;
    MoveTo(*m_panel, POINT{25, 20});
    Wait(Application->HintPause());
    EXPECT_FALSE(HintShown());
}

TEST(HintText, ShortAndLongParts)
{
    EXPECT_EQ(GetShortHint("Dial|Dials the number"), "Dial");
    EXPECT_EQ(GetLongHint("Dial|Dials the number"), "Dials the number");
    EXPECT_EQ(GetShortHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("Plain"), "Plain");
    EXPECT_EQ(GetLongHint("a|b|c"), "b|c");
}

} // namespace
