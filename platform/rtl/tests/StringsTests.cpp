#include <gtest/gtest.h>

#include "platform/rtl/Strings.h"

namespace {

TEST(Copy, ClampsAtTheBoundaries)
{
    EXPECT_EQ(Copy("hello", 2, 3), "ell");
    EXPECT_EQ(Copy("hello", 0, 2), "he");
    EXPECT_EQ(Copy("hello", -5, 2), "he");
    EXPECT_EQ(Copy("hello", 4, 100), "lo");
    EXPECT_EQ(Copy("hello", 6, 1), "");
    EXPECT_EQ(Copy("hello", 1, -1), "");
    EXPECT_EQ(Copy("", 1, 1), "");
}

TEST(Pos, IsOneBasedAndZeroWhenAbsent)
{
    EXPECT_EQ(Pos("l", "hello"), 3);
    EXPECT_EQ(Pos("x", "hello"), 0);
    EXPECT_EQ(Pos("", "hello"), 0);
    EXPECT_EQ(PosEx("l", "hello", 4), 4);
    EXPECT_EQ(PosEx("l", "hello", 5), 0);
    EXPECT_EQ(PosEx("l", "hello", 0), 0);
    EXPECT_EQ(PosEx("o", "hello", 6), 0);
}

TEST(DeleteAndInsert, ClampOrIgnoreOutOfRangePositions)
{
    std::string text = "abcdef";
    Delete(text, 2, 2);
    EXPECT_EQ(text, "adef");
    Delete(text, 0, 2);
    Delete(text, 5, 1);
    Delete(text, 2, -1);
    EXPECT_EQ(text, "adef");
    Delete(text, 3, 99);
    EXPECT_EQ(text, "ad");
    Insert("X", text, 2);
    EXPECT_EQ(text, "aXd");
    Insert("<", text, -3);
    Insert(">", text, 99);
    EXPECT_EQ(text, "<aXd>");
}

TEST(Trim, RemovesControlCharactersAndSpaces)
{
    EXPECT_EQ(Trim(" \t\r\n x y \x01"), "x y");
    EXPECT_EQ(TrimLeft("  x "), "x ");
    EXPECT_EQ(TrimRight("  x "), "  x");
    EXPECT_EQ(Trim("   "), "");
}

TEST(CaseMapping, AsciiAndLocaleAware)
{
    EXPECT_EQ(UpperCase("abc-é"), "ABC-é");
    EXPECT_EQ(LowerCase("ABC-É"), "abc-É");
    EXPECT_EQ(AnsiUpperCase("straße éà ÿ ł жё"), "STRAßE ÉÀ Ÿ Ł ЖЁ");
    EXPECT_EQ(AnsiLowerCase("ÉÀ Ÿ Ł ЖЁ ΣΑ"), "éà ÿ ł жё σα");
}

TEST(Comparisons, OrdinalAndDictionaryOrder)
{
    EXPECT_LT(CompareStr("B", "a"), 0);
    EXPECT_EQ(CompareText("abc", "ABC"), 0);
    EXPECT_TRUE(SameText("Modem", "MODEM"));
    EXPECT_EQ(AnsiCompareText("apple", "Banana"), -1);
    EXPECT_EQ(AnsiCompareText("ÉCOLE", "école"), 0);
    EXPECT_EQ(AnsiCompareText("e", "é"), -1);
    EXPECT_EQ(AnsiCompareText("é", "f"), -1);
    EXPECT_EQ(AnsiCompareText("ab", "a"), 1);
    EXPECT_EQ(AnsiCompareStr("a", "A"), -1);
    EXPECT_EQ(AnsiCompareStr("A", "b"), -1);
    EXPECT_EQ(AnsiCompareStr("abc", "abc"), 0);
    EXPECT_TRUE(AnsiSameText("Ünïcode", "üNÏCODE"));
    EXPECT_EQ(AnsiStrLIComp("HelloWorld", "helloThere", 5), 0);
    EXPECT_NE(AnsiStrLIComp("HelloWorld", "helloThere", 6), 0);
}

TEST(Comparisons, InvalidUtf8ComparesAsLatin1)
{
    EXPECT_EQ(AnsiCompareText("\xE9", "\xC9"), 0);
    EXPECT_EQ(AnsiCompareText("a\xC3", "a\xC3"), 0);
}

TEST(StringReplace, HonoursFlags)
{
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", 0), "a+b-c");
    EXPECT_EQ(StringReplace("a-b-c", "-", "+", rfReplaceAll), "a+b+c");
    EXPECT_EQ(StringReplace("xAxa", "a", "", rfReplaceAll | rfIgnoreCase), "xx");
    EXPECT_EQ(StringReplace("aaa", "aa", "a", rfReplaceAll), "aa");
    EXPECT_EQ(StringReplace("abc", "", "x", rfReplaceAll), "abc");
}

TEST(Quoting, RoundTrips)
{
    EXPECT_EQ(QuotedStr("it's"), "'it''s'");
    EXPECT_EQ(AnsiQuotedStr("say \"hi\"", '"'), "\"say \"\"hi\"\"\"");
    EXPECT_EQ(AnsiDequotedStr("'it''s' rest", '\''), "it's");
    EXPECT_EQ(AnsiDequotedStr("plain", '\''), "plain");
    EXPECT_EQ(AnsiDequotedStr("'open", '\''), "open");
}

TEST(AdjustLineBreaks, MakesEveryBreakCrLf)
{
    EXPECT_EQ(AdjustLineBreaks("a\nb\rc\r\nd\n\re\n\nf"), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\nf");
}

TEST(CStrings, StrPasAndStrPLCopy)
{
    EXPECT_EQ(StrPas(nullptr), "");
    EXPECT_EQ(StrPas("abc"), "abc");
    char buffer[4];
    EXPECT_STREQ(StrPLCopy(buffer, "abcdef", 3), "abc");
    EXPECT_STREQ(StrPLCopy(buffer, "x", 3), "x");
}

TEST(ByteType, TellsUtf8LeadAndTrailBytes)
{
    const std::string text = "aé";
    EXPECT_EQ(ByteType(text, 1), mbSingleByte);
    EXPECT_EQ(ByteType(text, 2), mbLeadByte);
    EXPECT_EQ(ByteType(text, 3), mbTrailByte);
    EXPECT_EQ(ByteType(text, 4), mbSingleByte);
    EXPECT_EQ(StringOfChar('-', 3), "---");
    EXPECT_EQ(StringOfChar('-', -3), "");
}

}  // namespace
