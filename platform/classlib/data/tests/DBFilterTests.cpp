#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBFilter.h"
#include "platform/rtl/Strings.h"

#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

namespace {

// Evaluates a filter against one record given as name -> value.
bool Accepts(std::string_view text, const std::map<std::string, Variant>& record)
{
    const TFilterExpression filter = TFilterExpression::Parse(text);
    return filter.Evaluate([&](int index) {
        const std::string& name = filter.FieldNames()[static_cast<std::size_t>(index)];
        for (const auto& [field, value] : record)
            if (SameText(field, name))
                return value;
        throw std::out_of_range(name);
    });
}

const std::map<std::string, Variant> Contact = {
    {"NUM", Variant("+15555551234")}, {"GROUP", Variant(2)},   {"R", Variant(true)},
    {"NAME", Variant("O'Brien %*)")}, {"ADDR", Variant::MakeNull()},
};

}  // namespace

TEST(DBFilter, EvaluatesTheManagersFormsAndTheGeneralSyntax)
{
    const struct {
        const char* Text;
        bool Expected;
    } cases[] = {
        {"(NUM Like %5551234%)", true},
        {"(NUM Like %5551299%)", false},
        {"(NUM Like +1555*)", true},
        {"(GROUP = 2)", true},
        {"(GROUP = 1)", false},
        {"(R = True)", true},
        {"(R = False)", false},
        {"GROUP >= 2 AND NOT (R = False)", true},
        {"GROUP < 2 OR NUM LIKE '%1234'", true},
        {"ADDR IS NULL", true},
        {"ADDR IS NOT NULL", false},
        {"ADDR = ''", false},
        {"name = 'o''brien %*)'", true},
        {"NAME = 'O''Brien'", false},
        {"NAME LIKE 'o''brien [%]%'", true},
        {"NAME NOT LIKE '%brien%'", false},
        {"[GROUP] <> 3", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Accepts(c.Text, Contact), c.Expected) << c.Text;
}

TEST(DBFilter, QuotedValuesStayData)
{
    // Quotes, wildcards and a closing parenthesis inside a quoted value neither end the value nor
    // match as wildcards in an equality.
    EXPECT_TRUE(Accepts("(NAME = 'O''Brien %*)')", Contact));
    EXPECT_FALSE(Accepts("(NAME = 'O''Brien %*')", Contact));
    EXPECT_FALSE(Accepts("(NAME = '%')", Contact));
}

TEST(DBFilter, RejectsMalformedText)
{
    for (const char* text : {"(GROUP = 2", "GROUP = 'open", "GROUP =", "AND", "NAME IS 3", "GROUP = 2)", "[]= 1"})
        EXPECT_THROW((void)TFilterExpression::Parse(text), EDatabaseError) << text;
    EXPECT_THROW((void)TFilterExpression::Parse(std::string(300, '(') + "A=1" + std::string(300, ')')), EDatabaseError);
}

TEST(DBFilter, LongChainsDoNotNest)
{
    std::string text = "GROUP = 0";
    for (int i = 0; i < 5000; ++i)
        text += " OR GROUP = 0";
    text += " OR GROUP = 2";
    EXPECT_TRUE(Accepts(text, Contact));
}

TEST(DBFilter, LikePatterns)
{
    EXPECT_TRUE(MatchesLikePattern("Ärger", "är%"));
    EXPECT_TRUE(MatchesLikePattern("abc", "%"));
    EXPECT_TRUE(MatchesLikePattern("", "*"));
    EXPECT_FALSE(MatchesLikePattern("abc", "ab"));
    EXPECT_TRUE(MatchesLikePattern("a*c", "a[*]c"));
    EXPECT_FALSE(MatchesLikePattern("abc", "a[*]c"));
}
