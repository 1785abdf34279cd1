// The manager's own message boxes on a private X server, with and without a window manager:
// each opened by the mouse and by the keyboard and answered with each of its buttons, twenty
// times over, while the program must keep answering (its main timer keeps polling the modem, and
// every box is painted). The database shows that each answer did what it says.

#include "DatabaseRows.h"
#include "ManagerOnXFixture.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr int Rounds = 20;

// Where the parts of the main window's client area lie (its form data).
struct TClientPoint {
    int x;
    int y;
};
constexpr TClientPoint PhonebookPageButton{4 + 82 * 3 + 40, 24};
constexpr TClientPoint PhonebookGrid{200, 160};
constexpr TClientPoint NameField{4 + 90 + 140, 48 + 26 + 12 + 10};
constexpr TClientPoint NumberField{4 + 90 + 140, 48 + 26 + 40 + 10};
constexpr TClientPoint AddButton{4 + 200 + 40, 48 + 26 + 242 + 14};
constexpr TClientPoint CallPageButton{4 + 82 * 2 + 40, 24};
constexpr TClientPoint CallHistoryButton{12 + 50, 48 + 256 + 16};
constexpr TClientPoint SettingTab{174, 60};
constexpr TClientPoint SettingsButton{170, 326};
constexpr TClientPoint DialNumberField{232, 202};
constexpr TClientPoint SaveButton{164, 276};
constexpr TClientPoint CallWaitingSetButton{361, 106};
constexpr TClientPoint MinOkButton{4 + 100 + 40 + 32, 48 + 26 + 100 + 44 + 12}; // on the Setting page

// The main window, frame included (a box may share its title).
constexpr int MainWidth = 432;
constexpr int MainHeight = 404;

enum class TOpen { Mouse, Keyboard };
enum class TAnswer { MouseOk, MouseCancel, KeyOk, KeyCancel };

struct TBoxStep {
    TOpen open;
    TAnswer answer;
};

// Every way of opening with every way of answering. The keyboard opens a box with Space on the
// button that has the focus, which a click on it or the box's answer has left there; after OK
// the page may need setting up again.
constexpr TBoxStep QuestionSteps[] = {
    {TOpen::Mouse, TAnswer::MouseCancel},  {TOpen::Keyboard, TAnswer::KeyCancel}, {TOpen::Keyboard, TAnswer::MouseCancel},
    {TOpen::Mouse, TAnswer::KeyCancel},    {TOpen::Keyboard, TAnswer::MouseOk},   {TOpen::Mouse, TAnswer::KeyOk},
    {TOpen::Mouse, TAnswer::MouseOk},      {TOpen::Mouse, TAnswer::MouseCancel},  {TOpen::Keyboard, TAnswer::KeyOk},
};
constexpr TBoxStep WarningSteps[] = {
    {TOpen::Mouse, TAnswer::MouseOk},
    {TOpen::Keyboard, TAnswer::KeyOk},
    {TOpen::Keyboard, TAnswer::MouseOk},
    {TOpen::Mouse, TAnswer::KeyOk},
};

// A box of the manager: its title, its buttons (OK, or OK and Cancel), the button that opens
// it, and what an OK must find and set up again before the next opening.
struct TBoxUnderTest {
    std::string title;
    int buttons;
    TClientPoint opener;
    std::function<void(const std::string& when)> afterOk = [](const std::string&) {};
};

class MessageBoxesOnXTest : public ManagerOnXFixture {
protected:
    void SetUp() override
    {
        ManagerOnXFixture::SetUp();
        if (IsSkipped())
            return;
        m_frame = ReadSkinFrame();
        StartManager();
        // Ready once its main timer polls the signal.
        ASSERT_TRUE(AwaitAnswering(
            [&] { return m_modem->GetTranscript().Text().find("AT+CSQ") != std::string::npos && MainWindow(); },
            "the main window"));
    }

    [[nodiscard]] std::optional<Xdotool::Place> MainWindow() const
    {
        for (const Xdotool::Place& window : m_input->ShownWindows("USB MODEM"))
            if (window.width == MainWidth && window.height == MainHeight)
                return window;
        return std::nullopt;
    }

    void Click(TClientPoint point, int button = 1) const
    {
        const auto window = MainWindow();
        ASSERT_TRUE(window);
        ASSERT_TRUE(m_input->Click(window->left + m_frame.leftWidth + point.x,
                                   window->top + m_frame.titleHeight + point.y, button));
    }

    void Key(const std::string& key) const { ASSERT_TRUE(m_input->Key(key)); }

    // The screen once it has changed after `action` and then stood still for a moment.
    void AwaitScreenAfter(const std::function<void()>& action) const
    {
        const Screenshot before = *TakeXScreenshot(m_server->Name());
        action();
        (void)AwaitStillScreen(m_server->Name(), [&](const Screenshot& shot) { return shot.pixels != before.pixels; },
                               std::chrono::milliseconds(250), Patience);
    }

    // Whether the screen shows the skin's caption bar where the caption of a window at `place` is.
    [[nodiscard]] bool CaptionShown(const Xdotool::Place& place) const
    {
        return m_input->ScreenPixel(place.left + place.width / 2, place.top + m_frame.titleHeight / 3) ==
               m_frame.titleColour;
    }

    // The box titled `title` shown and painted: its caption bar wears the skin.
    [[nodiscard]] std::optional<Xdotool::Place> PaintedBox(const std::string& title) const
    {
        for (const Xdotool::Place& box : m_input->ShownWindows(title)) {
            if (box.width == MainWidth && box.height == MainHeight)
                continue;
            if (CaptionShown(box))
                return box;
        }
        return std::nullopt;
    }

    [[nodiscard]] Xdotool::Place AwaitBox(const std::string& title, const std::string& when)
    {
        std::optional<Xdotool::Place> box;
        const testing::AssertionResult shown =
            AwaitAnswering([&] { return (box = PaintedBox(title)).has_value(); }, "the box " + title + when);
        EXPECT_TRUE(shown);
        if (!shown)
            SaveScreen("box-missing");
        return box.value_or(Xdotool::Place{});
    }

    // The box gone, and the main window painted again where its caption was.
    void AwaitBoxGone(const std::string& title, const Xdotool::Place& box, const std::string& when)
    {
        const auto gone = [&] { return !PaintedBox(title) && !CaptionShown(box); };
        const testing::AssertionResult closed = AwaitAnswering(gone, "the box " + title + " to close" + when);
        EXPECT_TRUE(closed);
        if (!closed)
            SaveScreen("box-stays");
    }

    void SaveScreen(const std::string& name) const
    {
        if (const auto shot = TakeXScreenshot(m_server->Name()))
            Save(*shot, name + "-" + DesktopName(GetParam()));
    }

    // Opens and answers the box every way, Rounds times over.
    void ExerciseBox(const TBoxUnderTest& subject)
    {
        const auto steps = subject.buttons == 2 ? std::span<const TBoxStep>(QuestionSteps)
                                                : std::span<const TBoxStep>(WarningSteps);
        for (int round = 1; round <= Rounds; ++round)
            for (const TBoxStep& step : steps) {
                const std::string when = " (round " + std::to_string(round) + ")";
                if (step.open == TOpen::Mouse)
                    Click(subject.opener);
                else
                    Key("space");
                const Xdotool::Place box = AwaitBox(subject.title, when);
                ASSERT_FALSE(HasFailure()) << Errors();
                switch (step.answer) {
                case TAnswer::MouseOk: ASSERT_TRUE(m_input->ClickMessageBoxButton(box, 0, subject.buttons, m_frame.bottomHeight)); break;
                case TAnswer::MouseCancel: ASSERT_TRUE(m_input->ClickMessageBoxButton(box, 1, subject.buttons, m_frame.bottomHeight)); break;
                case TAnswer::KeyOk: Key("Return"); break;
                case TAnswer::KeyCancel: Key("Escape"); break;
                }
                AwaitBoxGone(subject.title, box, when);
                ASSERT_FALSE(HasFailure()) << Errors();
                if (step.answer == TAnswer::MouseOk || step.answer == TAnswer::KeyOk)
                    subject.afterOk(when);
                ASSERT_FALSE(HasFailure()) << Errors();
            }
    }

    [[nodiscard]] std::size_t Contacts() const
    {
        return DatabaseRows("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "app").string() +
                                "/USB MODEM.mdb;Persist Security Info=True",
                            "SELECT * FROM PB", {"NAME"})
            .size();
    }

    TSkinFrame m_frame;
};

TEST_P(MessageBoxesOnXTest, ThePhonebooksAddQuestion)
{
    Click(PhonebookPageButton);
    // The panel of a new contact: from the grid's popup menu, then filled in.
    const auto openPanel = [&] {
        Click(PhonebookGrid, 3);
        for (const char* key : {"Down", "Down", "Down", "Down"})
            Key(key);
        AwaitScreenAfter([&] { Key("Return"); });
        Click(NameField);
        ASSERT_TRUE(m_input->Type("Ann"));
        Click(NumberField);
        ASSERT_TRUE(m_input->Type("5550001"));
    };
    openPanel();
    std::size_t added = 0;
    ExerciseBox({"PhoneBook", 2, AddButton, [&](const std::string& when) {
                     ++added;
                     ASSERT_TRUE(AwaitAnswering([&] { return Contacts() == added; }, "the contact added" + when));
                     openPanel();
                 }});
    EXPECT_EQ(Contacts(), added);
}

// The engineering panel (Ctrl+Shift+E on the call services' page) refuses an empty MIN.
TEST_P(MessageBoxesOnXTest, TheEngineeringPanelsWarningOfAnEmptyMin)
{
    Click(CallPageButton);
    AwaitScreenAfter([&] { Click(CallHistoryButton); });
    AwaitScreenAfter([&] { Click(SettingTab); });
    AwaitScreenAfter([&] { Key("ctrl+shift+e"); });
    SaveScreen("engineering-panel");
    ExerciseBox({"USB MODEM", 1, MinOkButton});
    EXPECT_EQ(m_modem->GetTranscript().Text().find("AT+WMIN"), std::string::npos);
}

// The connection settings warn of a dial-up number no modem could dial.
TEST_P(MessageBoxesOnXTest, TheSettingsWarningOfARefusedNumber)
{
    AwaitScreenAfter([&] { Click(SettingsButton); });
    Click(DialNumberField);
    Key("End");
    Key("a");
    ExerciseBox({"Warning", 1, SaveButton});
}

// With the modem gone, a call service is refused at once.
TEST_P(MessageBoxesOnXTest, TheCallServicesRefusalWithoutAModem)
{
    Click(CallPageButton);
    AwaitScreenAfter([&] { Click(CallHistoryButton); });
    AwaitScreenAfter([&] { Click(SettingTab); });
    m_modemPolled = false;
    AwaitScreenAfter([&] { m_modem->Unplug(); });
    SaveScreen("modem-unplugged");
    ExerciseBox({"USB MODEM", 1, CallWaitingSetButton});
}

INSTANTIATE_ON_EVERY_DESKTOP(MessageBoxesOnXTest);

} // namespace
