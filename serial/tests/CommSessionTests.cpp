#include "CommTestSupport.h"

#include "tests/support/devices/FakeDevices.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <filesystem>

namespace {

using namespace std::chrono_literals;

// The simulated modem found through the registry overlay as COM12, driven the way the manager
// drives it: bytes out through WriteCommData, answers back as OnReceiveData blocks.
class ModemSessionTest : public CommTestBase {
protected:
    ModemSessionTest()
    {
        ModemSettings settings;
        settings.smsDelay = 50ms;
        m_modem = m_devices.PlugInModem(settings);
        MakeComm("COM12");
    }
    ~ModemSessionTest() override
    {
        m_comm.reset();
        m_modem.reset();
    }

    // The first block, from those arriving after `mark`, that contains `expected`.
    std::string AwaitBlock(std::size_t mark, const std::string& expected)
    {
        std::string found;
        const bool arrived = PumpUntil([&] {
            for (std::size_t i = mark; i < m_notices.blocks.size(); ++i)
                if (m_notices.blocks[i].find(expected) != std::string::npos) {
                    found = m_notices.blocks[i];
                    return true;
                }
            return false;
        });
        EXPECT_TRUE(arrived) << "no block with \"" << expected << "\"\n" << m_modem->GetTranscript().Text();
        return found;
    }

    std::string Exchange(const std::string& bytes, const std::string& expected)
    {
        const std::size_t mark = m_notices.blocks.size();
        EXPECT_TRUE(m_comm->WriteCommData(bytes.data(), bytes.size()));
        return AwaitBlock(mark, expected);
    }

    FakeDevices m_devices;
    std::unique_ptr<FakeModem> m_modem;
};

TEST_F(ModemSessionTest, InitSignalSmsAndIncomingCall)
{
    m_modem->SetSignal(21);
    m_comm->StartComm();

    EXPECT_EQ(Exchange("ATE0\r", "OK"), "ATE0\r\r\nOK\r\n");
    const std::string signal = Exchange("AT+CSQ\r", "OK");
    EXPECT_EQ(signal.substr(0, 6), "\r\n21,9") << "the value sits at [2]";

    EXPECT_EQ(Exchange("AT$QCMGS=\"5551234\"\r", ">").substr(2, 1), ">");
    const std::string confirmation = Exchange("See you at six\x1A", "$QCMGS");
    EXPECT_EQ(confirmation.substr(6, 2), "GS");
    EXPECT_EQ(m_modem->ExpectSmsText(), "See you at six");

    const std::size_t mark = m_notices.blocks.size();
    m_modem->Ring("5551234");
    EXPECT_EQ(AwaitBlock(mark, "RING").substr(2, 2), "RI");
    EXPECT_NE(Exchange("AT+CLCC\r", "OK").find("\"5551234\""), std::string::npos);
    EXPECT_EQ(m_notices.hangups, 0);
}

TEST_F(ModemSessionTest, UnpluggedModemGivesOneHangupNotice)
{
    m_comm->StartComm();
    EXPECT_EQ(Exchange("ATE0\r", "OK"), "ATE0\r\r\nOK\r\n");

    m_modem->Unplug();
    ASSERT_TRUE(PumpUntil([&] { return m_notices.hangups > 0; }));
    ASSERT_TRUE(PumpUntil([&] { return !m_comm->WriteCommData("AT\r", 3); }));
    PumpPending();
    EXPECT_EQ(m_notices.hangups, 1);

    m_comm->StopComm();
    m_modem->Plug();
    m_comm->StartComm();
    EXPECT_NE(Exchange("AT\r", "OK").find("OK"), std::string::npos);
}

} // namespace
