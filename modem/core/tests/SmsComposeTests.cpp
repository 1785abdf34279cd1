#include "modem/core/SmsRecipients.h"
#include "modem/core/SmsText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(SmsTextTest, FittingCleansAndCutsOnlyWhatMustGo)
{
    struct Case {
        std::string text;
        std::string fitted;
        bool changed;
    };
    const std::string full(SmsTextLimit, 'x');
    // "é" is two bytes and "€" three, yet each one character.
    const std::string accentAtTheLimit = std::string(SmsTextLimit - 1, 'x') + "\xC3\xA9";
    std::string euros;
    for (std::size_t n = 0; n < SmsTextLimit; ++n)
        euros += "\xE2\x82\xAC";
    const Case cases[] = {
        {"Hello", "Hello", false},
        {"", "", false},
        {full, full, false},
        {full + "y", full, true},
        {"a\x1A" "b\x1B" "c\r\nd", "abcd", true},
        {std::string(SmsTextLimit, '\n') + "ok", "ok", true}, // cleaned first, then measured
        {accentAtTheLimit, accentAtTheLimit, false},
        {accentAtTheLimit + "y", accentAtTheLimit, true},
        {euros, euros, false},
        {euros + "\xC3\xA9", euros, true},
    };
    for (const Case& c : cases) {
        const TFittedSmsText fitted = FitSmsText(c.text);
        EXPECT_EQ(fitted.Text, c.fitted) << c.text;
        EXPECT_EQ(fitted.Changed, c.changed) << c.text;
    }
}

TEST(SmsTextTest, TheCounterCountsCharactersAndNeverGoesBelowZero)
{
    EXPECT_EQ(SmsCharactersLeft("Hello \xC3\x9Cn\xC3\xAF \xE2\x82\xAC"), 149) << "Hello \u00DCn\u00EF \u20AC";
    EXPECT_EQ(SmsCharactersLeft(""), 160);
    EXPECT_EQ(SmsCharactersLeft("abc"), 157);
    EXPECT_EQ(SmsCharactersLeft(std::string(160, 'x')), 0);
    EXPECT_EQ(SmsCharactersLeft(std::string(300, 'x')), 0);
}

TEST(SmsRecipientsTest, EachNumberOnceWhateverItsCaseAndDeleteByIndex)
{
    TSmsRecipients recipients;
    EXPECT_TRUE(recipients.Add("Alice", "5551234"));
    EXPECT_TRUE(recipients.Add("Office", "#777a"));
    EXPECT_FALSE(recipients.Add("Alice again", "5551234"));
    EXPECT_FALSE(recipients.Add("Office", "#777A"));
    ASSERT_EQ(recipients.Count(), 2);
    EXPECT_EQ(recipients.At(0).Name, "Alice") << "a number added again keeps its first name";

    recipients.Delete(5);
    recipients.Delete(-1);
    EXPECT_EQ(recipients.Count(), 2);
    recipients.Delete(0);
    ASSERT_EQ(recipients.Count(), 1);
    EXPECT_EQ(recipients.At(0).Number, "#777a");
}

TEST(SmsRecipientsTest, AQueueItemKeepsTheNamesStarsOutOfTheText)
{
    EXPECT_EQ(SmsQueueItem({"Bob", "5551234"}, "Hi*there"), "5551234*Bob*Hi*there");
    EXPECT_EQ(SmsQueueItem({"**Star*", "1"}, ""), "1*  Star *");
}

TEST(SmsRecipientsTest, TheListGrowsWithItsRecipientsUpToEight)
{
    EXPECT_EQ(RecipientListHeight(0, 169), 25);
    EXPECT_EQ(RecipientListHeight(1, 25), 57);
    EXPECT_EQ(RecipientListHeight(8, 153), 169);
    EXPECT_EQ(RecipientListHeight(9, 169), 169);
}

} // namespace
