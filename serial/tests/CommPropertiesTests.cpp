#include "CommTestSupport.h"

namespace {

class CommPropertiesTest : public CommTestBase {
protected:
    CommPropertiesTest() { m_comm = std::make_unique<TComm>(nullptr); }
};

// What form data sees of a new component: every published setting with its default, so that a
// form stores only what differs.
TEST_F(CommPropertiesTest, PublishedSettingsStartAtTheirDefaults)
{
    struct Setting {
        const char* name;
        const char* value; // enumerations and Booleans by identifier
    };
    const Setting identifiers[] = {
        {"ParityCheck", "False"},     {"Outx_CtsFlow", "False"},     {"Outx_DsrFlow", "False"},
        {"DtrControl", "DtrEnable"},  {"DsrSensitivity", "False"},   {"TxContinueOnXoff", "True"},
        {"Outx_XonXoffFlow", "True"}, {"Inx_XonXoffFlow", "True"},   {"ReplaceWhenParityError", "False"},
        {"IgnoreNullChar", "False"},  {"RtsControl", "RtsEnable"},   {"ByteSize", "_8"},
        {"Parity", "None"},           {"StopBits", "_1"},
    };
    for (const auto& setting : identifiers)
        EXPECT_EQ(GetEnumProp(*m_comm, setting.name), setting.value) << setting.name;

    struct Number {
        const char* name;
        std::int64_t value;
    };
    const Number numbers[] = {
        {"BaudRate", 9600}, {"XonLimit", 500}, {"XoffLimit", 500}, {"XonChar", 17}, {"XoffChar", 19},
        {"ReplacedChar", 0}, {"ReadIntervalTimeout", 100}, {"ReadTotalTimeoutMultiplier", 0},
        {"ReadTotalTimeoutConstant", 0}, {"WriteTotalTimeoutMultiplier", 0}, {"WriteTotalTimeoutConstant", 0},
    };
    for (const auto& number : numbers)
        EXPECT_EQ(GetOrdProp(*m_comm, number.name), number.value) << number.name;
    EXPECT_EQ(GetStrProp(*m_comm, "CommName"), "COM2");

    for (const TPropInfo* prop : GetPropList(TComm::StaticClass())) {
        if (prop->Default) {
            EXPECT_EQ(GetOrdProp(*m_comm, *prop), *prop->Default) << prop->Name << " is stored needlessly";
        }
    }
}

TEST_F(CommPropertiesTest, FormDataSetsTheManagerValuesByName)
{
    SetStrProp(*m_comm, "CommName", "COM28");
    SetOrdProp(*m_comm, "BaudRate", 115200);
    SetEnumProp(*m_comm, "Outx_CtsFlow", "True");
    SetEnumProp(*m_comm, "RtsControl", "RtsHandshake");
    SetEnumProp(*m_comm, "Parity", "Odd");

    EXPECT_EQ(m_comm->CommName(), "COM28");
    EXPECT_EQ(m_comm->BaudRate(), 115200u);
    EXPECT_TRUE(m_comm->Outx_CtsFlow());
    EXPECT_EQ(m_comm->RtsControl(), TRtsControl::RtsHandshake);
    EXPECT_EQ(m_comm->Parity(), TParity::Odd);
    for (const char* event : {"OnReceiveData", "OnReceiveError", "OnModemStateChange", "OnRequestHangup",
                              "OnSendDataEmpty"})
        EXPECT_TRUE(PropIsType(*m_comm, event, tkMethod)) << event;
}

} // namespace
