#include "skin/QuickIni.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::string Skin = std::string(
    "; a skin\r\n"
    "[Title]\r\n"
    "  Rightwidth = 8  \r\n"
    "Height=24\r"
    "Colour=0x10\n"
    "Bare=0x\r\n"
    "Dollar=$10\r\n"
    "Wrap=0xFFFFFFFF\r\n"
    "Negative=-12\r\n"
    "Word=twelve\r\n"
    "Huge=4294967296\r\n"
    "Frame=\r\n"
    "Frame=3\r\n"
    "Height=99\r\n"
    ";[Border]\r\n"
    "Left=5\r\n"
    "\r\n"
    "[\r\n"
    "Open=1\r\n"
    "[Button]\r\n"
    "NoEquals\r\n"
    "Left = a = b\r\n"
    "[ ]\r\n"
    "Blank=yes\r\n"
    "[title]\r\n"
    "Height=1\r\n"
    "Later=1\r\n"
    "[Tail]\r\n"
    "Kept=1\r\n") +
    std::string("Cut=1\0[After]\r\nHidden=1\r\n", 25);

class TQuickIniTest : public testing::Test {
protected:
    void SetUp() override { m_ini.LoadFromText(Skin); }

    TQuickIni m_ini;
};

TEST_F(TQuickIniTest, ReadStringFollowsTheLookupRules)
{
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
        const char* why;
    };
    const Case cases[] = {
        {"Title", "RightWidth", "8", "keys match in any case, blanks around key and value go"},
        {"TITLE", "height", "24", "sections match in any case, the first of a repeated key answers"},
        {"Title", "Frame", "default", "an empty first value gives the default, the second is not consulted"},
        {"Title", "Left", "5", "a commented-out header opens no section"},
        {"Title", "Open", "1", "a lone bracket is a plain line, not a header"},
        {"Title", "Later", "default", "a repeated section is answered by its first occurrence"},
        {"Button", "Left", "a = b", "the value is everything after the first ="},
        {"Button", "NoEquals", "default", "a line without = has no key"},
        {"Button", "", "default", "an empty key finds nothing"},
        {" ", "Blank", "yes", "the header [ ] is found as written"},
        {"", "Blank", "default", "but not by its trimmed, empty name"},
        {"Missing", "Height", "default", "a missing section"},
        {"Title", "Missing", "default", "a missing key"},
        {"Tail", "Cut", "1", "the text runs up to a NUL"},
        {"After", "Hidden", "default", "and nothing after the NUL counts"},
    };
    for (const Case& test : cases)
        EXPECT_EQ(m_ini.ReadString(test.section, test.key, "default"), test.expected) << test.why;
}

TEST_F(TQuickIniTest, ReadIntegerTakesDecimalAndBothHexForms)
{
    struct Case {
        const char* key;
        std::int32_t expected;
    };
    const Case cases[] = {
        {"Height", 24},  {"Colour", 16}, {"Bare", -7}, {"Dollar", 16},   {"Wrap", -1},
        {"Negative", -12}, {"Word", -7}, {"Huge", -7}, {"Missing", -7}, {"Frame", -7},
    };
    for (const Case& test : cases)
        EXPECT_EQ(m_ini.ReadInteger("Title", test.key, -7), test.expected) << test.key;
}

TEST_F(TQuickIniTest, ReadSectionsListsHeadersInFileOrder)
{
    std::vector<std::string> sections = {"stale"};
    m_ini.ReadSections(sections);
    EXPECT_EQ(sections, (std::vector<std::string>{"Title", "Button", "", "title", "Tail"}));
}

TEST(TQuickIni, LoadFromStreamReadsFromThePositionAndIgnoresAMissingStream)
{
    TQuickIni ini;
    TMemoryStream stream;
    const std::string text = "[Old]\r\nA=1\r\n[New]\r\nA=2\r\n";
    stream.WriteBuffer(text.data(), text.size());
    stream.SetPosition(12);
    ini.LoadFromStream(&stream);
    EXPECT_EQ(ini.ReadInteger("New", "A", 0), 2);
    EXPECT_EQ(ini.ReadInteger("Old", "A", 0), 0);

    ini.LoadFromStream(nullptr);
    EXPECT_EQ(ini.ReadInteger("New", "A", 0), 2);
}

} // namespace
