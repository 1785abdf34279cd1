#include "grid/core/FilterExpression.h"

#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/Strings.h"
#include "tests/support/RowNames.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// An operand as the test writes it: "" for Null, "s:text", "f:number", "d:date/time text", or
// several of them separated by '|' for an array.
std::string Describe(const Variant& value)
{
    if (VarIsNull(value))
        return "";
    if (VarIsArray(value)) {
        std::string out;
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            out += (i > value.LowBound() ? "|" : "") + Describe(value.Element(i));
        return out;
    }
    switch (VarType(value)) {
    case varDouble:
        return "f:" + std::to_string(value.ToDouble());
    case varDate:
        return "d:" + FormatDateTime("yyyy-mm-dd hh:nn", value.ToDateTime());
    default:
        return "s:" + value.ToString();
    }
}

std::string F(double value) { return "f:" + std::to_string(value); }

struct Parsed {
    int Operator1;
    std::string Operand1;
    int Relation;
    int Operator2;
    std::string Operand2;
    bool Second;
};

struct ParseCase {
    const char* Text;
    std::uint8_t ValueType;
    char Decimal;
    Parsed Expected;
};

class FilterExpressionParse : public ::testing::TestWithParam<ParseCase> {
protected:
    void TearDown() override { DecimalSeparator = '.'; }
};

TEST_P(FilterExpressionParse, FillsTheRecord)
{
    const ParseCase& c = GetParam();
    DecimalSeparator = c.Decimal;
    FilterExpressionRec expression;
    expression.ValueType = c.ValueType;
    const bool second = ParseFilterExpression(c.Text, expression);
    EXPECT_EQ(expression.ValueType, c.ValueType);
    EXPECT_EQ(expression.Operator1, c.Expected.Operator1);
    EXPECT_EQ(Describe(expression.Operand1), c.Expected.Operand1);
    EXPECT_EQ(expression.Relation, c.Expected.Relation);
    EXPECT_EQ(expression.Operator2, c.Expected.Operator2);
    EXPECT_EQ(Describe(expression.Operand2), c.Expected.Operand2);
    EXPECT_EQ(second, c.Expected.Second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterExpressionParse,
    ::testing::Values(
        // Bare values: a word is LIKE in a string column, equal elsewhere; a list is IN.
        ParseCase{"Smith", fvtStringGx, '.', {foLikeGx, "s:Smith", 0, 0, "", false}},
        ParseCase{"  12.5  ", fvtNumberGx, '.', {foEqualGx, F(12.5), 0, 0, "", false}},
        ParseCase{"ab", fvtOtherGx, '.', {foEqualGx, "s:ab", 0, 0, "", false}},
        ParseCase{"1,2,3", fvtNumberGx, '.', {foInGx, F(1) + "|" + F(2) + "|" + F(3), 0, 0, "", false}},
        ParseCase{"a,b", fvtStringGx, '.', {foInGx, "s:a|s:b", 0, 0, "", false}},
        ParseCase{"1,5", fvtNumberGx, ',', {foEqualGx, F(1.5), 0, 0, "", false}},
        ParseCase{"", fvtStringGx, '.', {0, "", 0, 0, "", false}},
        ParseCase{"   ", fvtStringGx, '.', {0, "", 0, 0, "", false}},
        // Null tests.
        ParseCase{"=Null", fvtStringGx, '.', {foNullGx, "", 0, 0, "", false}},
        ParseCase{"<> null", fvtNumberGx, '.', {foNotNullGx, "", 0, 0, "", false}},
        // Two comparisons, by symbol and by word.
        ParseCase{">5 & <10", fvtNumberGx, '.', {foGreaterGx, F(5), foAndGx, foLessGx, F(10), true}},
        ParseCase{">5 AND <10", fvtNumberGx, '.', {foGreaterGx, F(5), foAndGx, foLessGx, F(10), true}},
        ParseCase{">=a or <=c", fvtStringGx, '.', {foGreaterOrEqualGx, "s:a", foOrGx, foLessOrEqualGx, "s:c", true}},
        ParseCase{"a | b", fvtStringGx, '.', {foLikeGx, "s:a", foOrGx, foLikeGx, "s:b", true}},
        ParseCase{"=1 AND", fvtNumberGx, '.', {foEqualGx, F(1), foAndGx, 0, "", false}},
        // Negations.
        ParseCase{"!~ab", fvtStringGx, '.', {foNotLikeGx, "s:ab", 0, 0, "", false}},
        ParseCase{"not like ab", fvtStringGx, '.', {foNotLikeGx, "s:ab", 0, 0, "", false}},
        ParseCase{"!=3", fvtNumberGx, '.', {foNotEqualGx, F(3), 0, 0, "", false}},
        // Lists in parentheses always split at commas, even under a comma decimal separator.
        ParseCase{"In (1,2)", fvtNumberGx, '.', {foInGx, F(1) + "|" + F(2), 0, 0, "", false}},
        ParseCase{"!In (1,2)", fvtNumberGx, ',', {foNotInGx, F(1) + "|" + F(2), 0, 0, "", false}},
        ParseCase{"not in ( \"a b\" , c )", fvtStringGx, '.', {foNotInGx, "s:a b|s:c", 0, 0, "", false}},
        ParseCase{"=1 OR In (2,3)", fvtNumberGx, '.', {foEqualGx, F(1), foOrGx, foInGx, F(2) + "|" + F(3), true}},
        // Quoted values keep blanks and operator characters; blanks inside bare values stay too.
        ParseCase{"\"a & <b>\"", fvtStringGx, '.', {foLikeGx, "s:a & <b>", 0, 0, "", false}},
        ParseCase{"New York", fvtStringGx, '.', {foLikeGx, "s:New York", 0, 0, "", false}},
        ParseCase{"=O'Brien", fvtStringGx, '.', {foEqualGx, "s:O'Brien", 0, 0, "", false}},
        ParseCase{"Привет мир", fvtStringGx, '.', {foLikeGx, "s:Привет мир", 0, 0, "", false}},
        // Dates through the date conversion.
        ParseCase{">= 1/2/2020 12:30", fvtDateTimeGx, '.', {foGreaterOrEqualGx, "d:2020-01-02 12:30", 0, 0, "", false}}),
    [](const auto& info) { return RowName(info.index, info.param.Text); });

struct ErrorCase {
    const char* Text;
    std::uint8_t ValueType;
    const char* Message;  // the trimmed text follows it
};

class FilterExpressionError : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(FilterExpressionError, NamesTheFaultAndTheWholeText)
{
    const ErrorCase& c = GetParam();
    FilterExpressionRec expression;
    expression.ValueType = c.ValueType;
    try {
        (void)ParseFilterExpression(c.Text, expression);
        FAIL() << "no error for " << c.Text;
    } catch (const EConvertError&) {
        FAIL() << "a conversion error for " << c.Text;
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), std::string(c.Message) + Trim(c.Text));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FilterExpressionError,
    ::testing::Values(ErrorCase{"Null", fvtStringGx, "Unexpected expression after operator: "},
                      ErrorCase{">Null", fvtNumberGx, "Unexpected expression before Null: "},
                      ErrorCase{"not null", fvtStringGx, "Unexpected expression after operator: "},
                      ErrorCase{"~ null", fvtStringGx, "Unexpected expression before Null: "},
                      ErrorCase{"= ", fvtStringGx, "Unexpected expression after operator: "},
                      ErrorCase{"=>5", fvtNumberGx, "Unexpected expression after operator: "},
                      ErrorCase{"(", fvtStringGx, "Error in expression: "},
                      ErrorCase{"not x", fvtStringGx, "Error in expression: "},
                      ErrorCase{"AND 5", fvtNumberGx, "Unexpected AND or OR: "},
                      ErrorCase{" \"a b ", fvtStringGx, "Quote is absent: "},
                      ErrorCase{"=1 OR \"x", fvtStringGx, "Quote is absent: "},
                      ErrorCase{"In 1", fvtNumberGx, "'(' expected: "},
                      ErrorCase{"a In b", fvtStringGx, "'(' expected: "},
                      ErrorCase{"In (1,2", fvtNumberGx, "')' expected: "},
                      ErrorCase{"\"a\" b", fvtStringGx, "Unexpected AND or OR: "},
                      ErrorCase{"5 )", fvtNumberGx, "Incorrect expression: "},
                      ErrorCase{"=1 AND )", fvtNumberGx, "Incorrect expression: "},
                      // Conditions beyond the second are refused rather than dropped unseen.
                      ErrorCase{">5 AND <10 AND <>7", fvtNumberGx, "Incorrect expression: "},
                      ErrorCase{"=1 OR In (2,3", fvtNumberGx, "')' expected: "}),
    [](const auto& info) { return RowName(info.index, info.param.Text); });

TEST(FilterExpression, ConversionFailuresReachTheCaller)
{
    FilterExpressionRec expression;
    expression.ValueType = fvtNumberGx;
    EXPECT_THROW((void)ParseFilterExpression("> five", expression), EConvertError);
    expression.ValueType = fvtDateTimeGx;
    EXPECT_THROW((void)ParseFilterExpression("In (1/2/2020, never)", expression), EConvertError);
}

TEST(FilterExpression, ParsingStartsFromAResetRecord)
{
    FilterExpressionRec expression;
    expression.ValueType = fvtNumberGx;
    ASSERT_TRUE(ParseFilterExpression(">1 AND <2", expression));
    EXPECT_FALSE(ParseFilterExpression("3", expression));
    EXPECT_EQ(expression.Operator1, foEqualGx);
    EXPECT_EQ(expression.Relation, foNoneGx);
    EXPECT_EQ(expression.Operator2, foNoneGx);
    EXPECT_TRUE(VarIsNull(expression.Operand2));
    EXPECT_EQ(expression.ValueType, fvtNumberGx);
}

TEST(FilterExpression, OperatorsShowAndWriteTheirForms)
{
    EXPECT_EQ(FilterOperatorText(foNotEqualGx), "<>");
    EXPECT_EQ(FilterOperatorText(foNotInGx), "!In");
    EXPECT_EQ(FilterOperatorSql(foNotLikeGx), "NOT LIKE");
    EXPECT_EQ(FilterOperatorSql(foNotNullGx), "IS NOT NULL");
    EXPECT_EQ(FilterOperatorSql(foValueGx), "");
}

// Long runs of blanks, negations and words stay quick: the look-ahead never re-reads values.
TEST(FilterExpression, LongTextsEndPromptly)
{
    std::string words;
    for (int i = 0; i < 20000; ++i)
        words += "w ";
    FilterExpressionRec expression;
    expression.ValueType = fvtStringGx;
    EXPECT_FALSE(ParseFilterExpression(words, expression));
    EXPECT_EQ(expression.Operator1, foLikeGx);
    std::string negations;
    for (int i = 0; i < 20000; ++i)
        negations += "not ";
    EXPECT_THROW((void)ParseFilterExpression(negations + "like x", expression), Exception);
}

} // namespace

// In-memory matching of field values: numbers by value, text without regard to case, Null only
// for the null tests.
TEST(FilterExpression, AcceptsFieldValuesByTheCondition)
{
    struct Case {
        std::uint8_t ValueType;
        const char* Text;
        Variant Value;
        bool Accepted;
    };
    const Case cases[] = {
        {fvtNumberGx, "> 5", Variant(6), true},
        {fvtNumberGx, "> 5", Variant(5), false},
        {fvtNumberGx, ">= 5 AND < 10", Variant(9.5), true},
        {fvtNumberGx, "< 5 OR > 10", Variant(7), false},
        {fvtNumberGx, "In (1,2,3)", Variant(2), true},
        {fvtNumberGx, "!In (1,2,3)", Variant(2), false},
        {fvtNumberGx, "= 5", Null(), false},
        {fvtNumberGx, "<> 5", Null(), false},
        {fvtNumberGx, "=Null", Null(), true},
        {fvtNumberGx, "<>Null", Variant(0), true},
        {fvtStringGx, "abc", Variant(std::string("xABCy")), true},
        {fvtStringGx, "~ a%c", Variant(std::string("abbc")), true},
        {fvtStringGx, "!~ a%c", Variant(std::string("abbc")), false},
        {fvtStringGx, "= abc", Variant(std::string("ABC")), true},
        {fvtStringGx, "= abc", Variant(std::string("abcd")), false},
        {fvtStringGx, "> b", Variant(std::string("c")), true},
        {fvtStringGx, "", Variant(std::string("anything")), true},
    };
    for (const Case& c : cases) {
        FilterExpressionRec expression;
        expression.ValueType = c.ValueType;
        (void)ParseFilterExpression(c.Text, expression);
        EXPECT_EQ(FilterExpressionAccepts(expression, c.Value), c.Accepted) << c.Text << " / " << VarToStr(c.Value);
    }
}
