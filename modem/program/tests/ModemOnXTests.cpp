// The manager as a user meets it: the program itself on a private X server beside the simulated
// modem, driven with the pointer and the keys through xdotool, its database checked on disk. It
// runs from a copy in a temporary folder, where it keeps its database and settings. The
// screenshots stay in the build tree for a person to look at.

#include "DatabaseRows.h"
#include "ManagerOnXFixture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr std::uint32_t Black = 0x000000;

// Where the window's parts lie, from its top-left corner (the frame's outer edge).
struct TWindowPoint {
    int x;
    int y;
};
constexpr TWindowPoint SmsPageButton{130, 45};
constexpr TWindowPoint FirstInboxRow{123, 123};
constexpr TWindowPoint ReplyButton{131, 342};
constexpr TWindowPoint MessageText{200, 220};
constexpr TWindowPoint SendButton{158, 350};

class ModemOnXTest : public ManagerOnXFixture {
protected:
    // Waits, looking now and then, until `done` holds; false when the patience runs out.
    [[nodiscard]] static bool Await(const std::function<bool()>& done)
    {
        const auto deadline = std::chrono::steady_clock::now() + Patience;
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            std::this_thread::sleep_for(100ms);
        }
        return true;
    }

    // The top-left corner of the one window on the black screen.
    [[nodiscard]] std::optional<TWindowPoint> WindowCorner() const
    {
        const std::optional<Screenshot> shot = TakeXScreenshot(m_server->Name());
        if (!shot)
            return std::nullopt;
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x)
                if (shot->At(x, y) != Black)
                    return TWindowPoint{x, y};
        return std::nullopt;
    }

    void Click(TWindowPoint point) const
    {
        EXPECT_TRUE(m_input->Click(m_corner.x + point.x, m_corner.y + point.y));
    }

    // Once the screen has changed after `action` and then stood still for a moment.
    void Settled(const std::function<void()>& action) const
    {
        const std::optional<Screenshot> before = TakeXScreenshot(m_server->Name());
        action();
        (void)AwaitStillScreen(m_server->Name(), [&](const Screenshot& shot) { return !before || shot.pixels != before->pixels; },
                               250ms, Patience);
    }

    void Save(const std::string& name) const
    {
        const std::optional<Screenshot> shot = TakeXScreenshot(m_server->Name());
        ASSERT_TRUE(shot);
        ManagerOnXFixture::Save(*shot, "x-" + name);
    }

    // The rows a statement selects from the program's database, its named fields joined by '|'.
    [[nodiscard]] std::vector<std::string> Rows(const std::string& sql, const std::vector<std::string>& fields) const
    {
        if (!fs::exists(m_dir / "app/USB MODEM.mdb"))
            return {};
        try {
            return DatabaseRows("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "app").string() +
                                    "/USB MODEM.mdb;Persist Security Info=True",
                                sql, fields);
        } catch (const std::exception&) {
            return {}; // the program is still making the database
        }
    }

    TWindowPoint m_corner{0, 0};
};

TEST_P(ModemOnXTest, AMessageThatArrivesIsReadFromTheInboxAndAnsweredToItsSender)
{
    StartManager();
    ASSERT_TRUE(Await([&] { return m_modem->Status().messageRouting; })) << Errors() << m_modem->GetTranscript().Text();
    const std::optional<TWindowPoint> corner = WindowCorner();
    ASSERT_TRUE(corner) << Errors();
    m_corner = *corner;

    Settled([&] { Click(SmsPageButton); });
    Settled([&] {
        m_modem->DeliverSms("5551111", "Lunch at noon?");
        ASSERT_TRUE(Await([&] { return Rows("SELECT * FROM IB WHERE R <> 0", {"NUM"}).size() == 1; })) << Errors();
    });
    Save("sms-inbox");

    Settled([&] {
        ASSERT_TRUE(m_input->DoubleClick(m_corner.x + FirstInboxRow.x, m_corner.y + FirstInboxRow.y));
        ASSERT_TRUE(Await([&] { return Rows("SELECT * FROM IB WHERE R <> 0", {"NUM"}).empty(); }))
            << "reading the message takes its unread mark away\n" << Errors();
    });
    Save("sms-read");

    Settled([&] { Click(ReplyButton); });
    Click(MessageText);
    for (const char* key : {"o", "k"})
        EXPECT_TRUE(m_input->Key(key));
    Click(SendButton);
    ASSERT_TRUE(Await([&] { return Rows("SELECT * FROM SB", {"NUM"}).size() == 1; }))
        << Errors() << m_modem->GetTranscript().Text();
    EXPECT_EQ(Rows("SELECT * FROM SB", {"NUM", "TEXT"}), std::vector<std::string>{"5551111|ok"});
    EXPECT_NE(m_modem->GetTranscript().Text().find("AT$QCMGS=\"5551111\""), std::string::npos)
        << m_modem->GetTranscript().Text();
    Save("sms-replied");
}

INSTANTIATE_ON_EVERY_DESKTOP(ModemOnXTest);

} // namespace
