// The manager's own message boxes on a private X server, with and without a window manager:
// each opened by the mouse and by the keyboard and answered with each of its buttons, twenty
// times over, while the program must keep answering (its main timer keeps polling the modem, and
// every box is painted). The database shows that each answer did what it says.

#include "DatabaseRows.h"
#include "ManagerOnXFixture.h"

#include <gtest/gtest.h>

#include <optional>
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

class MessageBoxesOnXTest : public ManagerOnXFixture {
protected:
    void SetUp() override
    {
        ManagerOnXFixture::SetUp();
        if (IsSkipped())
            return;
        m_frame = ReadSkinFrame();
        StartManager();
        ASSERT_TRUE(AwaitAnswering([&] { return m_modem->Status().messageRouting && !m_input->ShownWindows("USB MODEM").empty(); },
                                   "the main window"));
    }

    void Click(TClientPoint point, int button = 1) const
    {
        const auto windows = m_input->ShownWindows("USB MODEM");
        ASSERT_EQ(windows.size(), 1U);
        const Xdotool::Place* window = &windows.front();
        ASSERT_TRUE(m_input->Click(window->left + m_frame.leftWidth + point.x,
                                   window->top + m_frame.titleHeight + point.y, button));
    }

    void Key(const std::string& key) const { ASSERT_TRUE(m_input->Key(key)); }

    // The box titled `title` shown and painted: its caption bar wears the skin.
    [[nodiscard]] std::optional<Xdotool::Place> PaintedBox(const std::string& title) const
    {
        const auto boxes = m_input->ShownWindows(title);
        if (boxes.empty())
            return std::nullopt;
        const Xdotool::Place& box = boxes.front();
        const auto shot = TakeXScreenshot(m_server->Name());
        if (!shot || shot->At(box.left + box.width / 2, box.top + m_frame.titleHeight / 3) != m_frame.titleColour)
            return std::nullopt;
        return box;
    }

    [[nodiscard]] Xdotool::Place AwaitBox(const std::string& title, const std::string& round)
    {
        std::optional<Xdotool::Place> box;
        const testing::AssertionResult shown =
            AwaitAnswering([&] { return (box = PaintedBox(title)).has_value(); }, "the box " + title + round);
        EXPECT_TRUE(shown);
        if (!shown)
            SaveScreen("box-missing");
        return box.value_or(Xdotool::Place{});
    }

    void SaveScreen(const std::string& name) const
    {
        if (const auto shot = TakeXScreenshot(m_server->Name()))
            Save(*shot, name + "-" + DesktopName(GetParam()));
    }

    void AwaitBoxGone(const std::string& title, const std::string& round)
    {
        const testing::AssertionResult closed = AwaitAnswering([&] { return m_input->ShownWindows(title).empty(); }, "the box " + title + " to close" + round);
        EXPECT_TRUE(closed);
        if (!closed)
            SaveScreen("box-stays");
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

enum class TOpen { Mouse, Keyboard };
enum class TAnswer { MouseOk, MouseCancel, KeyOk, KeyCancel };

struct TBoxStep {
    TOpen open;
    TAnswer answer;
};

// Every way of opening with every way of answering. The keyboard opens the box with Space on
// the button that has the focus, which a click or the box's Cancel has left there; OK closes the
// panel, which is then opened and filled in again.
constexpr TBoxStep AddQuestionSteps[] = {
    {TOpen::Mouse, TAnswer::MouseCancel},  {TOpen::Keyboard, TAnswer::KeyCancel}, {TOpen::Keyboard, TAnswer::MouseCancel},
    {TOpen::Mouse, TAnswer::KeyCancel},    {TOpen::Keyboard, TAnswer::MouseOk},   {TOpen::Mouse, TAnswer::KeyOk},
    {TOpen::Mouse, TAnswer::MouseOk},      {TOpen::Mouse, TAnswer::MouseCancel},  {TOpen::Keyboard, TAnswer::KeyOk},
};

TEST_P(MessageBoxesOnXTest, ThePhonebooksAddQuestionOpensAndAnswersEveryWay)
{
    Click(PhonebookPageButton);
    // The panel of a new contact: from the grid's popup menu, then filled in.
    const auto openPanel = [&] {
        Click(PhonebookGrid, 3);
        for (const char* key : {"Down", "Down", "Down", "Down"})
            Key(key);
        const Screenshot before = *TakeXScreenshot(m_server->Name());
        Key("Return");
        (void)AwaitStillScreen(m_server->Name(), [&](const Screenshot& shot) { return shot.pixels != before.pixels; },
                               std::chrono::milliseconds(250), Patience);
        Click(NameField);
        ASSERT_TRUE(m_input->Type("Ann"));
        Click(NumberField);
        ASSERT_TRUE(m_input->Type("5550001"));
    };
    openPanel();
    std::size_t added = 0;
    for (int round = 1; round <= Rounds; ++round)
        for (const TBoxStep& step : AddQuestionSteps) {
            const std::string when = " (round " + std::to_string(round) + ")";
            if (step.open == TOpen::Mouse)
                Click(AddButton);
            else
                Key("space");
            const Xdotool::Place box = AwaitBox("PhoneBook", when);
            ASSERT_FALSE(HasFailure()) << Errors();
            switch (step.answer) {
            case TAnswer::MouseOk: ASSERT_TRUE(m_input->ClickMessageBoxButton(box, 0, 2, m_frame.bottomHeight)); break;
            case TAnswer::MouseCancel: ASSERT_TRUE(m_input->ClickMessageBoxButton(box, 1, 2, m_frame.bottomHeight)); break;
            case TAnswer::KeyOk: Key("Return"); break;
            case TAnswer::KeyCancel: Key("Escape"); break;
            }
            AwaitBoxGone("PhoneBook", when);
            ASSERT_FALSE(HasFailure()) << Errors();
            if (step.answer == TAnswer::MouseOk || step.answer == TAnswer::KeyOk) {
                ++added;
                ASSERT_TRUE(AwaitAnswering([&] { return Contacts() == added; }, "the contact added" + when));
                openPanel();
            }
            ASSERT_EQ(Contacts(), added) << when;
        }
}

INSTANTIATE_ON_EVERY_DESKTOP(MessageBoxesOnXTest);

} // namespace
