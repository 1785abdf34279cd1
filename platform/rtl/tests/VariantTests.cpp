#include <gtest/gtest.h>

#include "platform/rtl/Currency.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Variant.h"

namespace {

template <typename Call>
std::string VariantErrorOf(Call call)
{
    try {
        call();
    } catch (const EVariantError& error) {
        return error.Message();
    }
    return "no EVariantError";
}

TEST(VariantKinds, ReportTheirTypes)
{
    EXPECT_TRUE(VarIsEmpty(Variant()));
    EXPECT_TRUE(VarIsEmpty(Unassigned()));
    EXPECT_TRUE(VarIsNull(Null()));
    EXPECT_TRUE(VarIsClear(Null()));
    EXPECT_EQ(VarType(Variant(1)), varInteger);
    EXPECT_EQ(VarType(Variant(1LL)), varInt64);
    EXPECT_EQ(VarType(Variant(1.5)), varDouble);
    EXPECT_EQ(VarType(Variant(true)), varBoolean);
    EXPECT_EQ(VarType(Variant("x")), varString);
    EXPECT_EQ(VarType(Variant(Currency::FromScaled(1))), varCurrency);
    EXPECT_EQ(VarType(VarFromDateTime(2.5)), varDate);
    EXPECT_EQ(VarType(VarArrayOf({1, "a"})), varArray | varVariant);
    EXPECT_TRUE(VarIsNumeric(Variant(Currency())));
    EXPECT_FALSE(VarIsNumeric(Variant("1")));
}

TEST(VariantConversions, ToStringFollowsTheClassLibrary)
{
    EXPECT_EQ(VarToStr(Null()), "");
    EXPECT_EQ(VarToStr(Variant()), "");
    EXPECT_EQ(VarToStrDef(Null(), "-"), "-");
    EXPECT_EQ(VarToStr(Variant(-42)), "-42");
    EXPECT_EQ(VarToStr(Variant(0.1 + 0.2)), "0.3");
    EXPECT_EQ(VarToStr(Variant(true)), "True");
    EXPECT_EQ(VarToStr(Variant(Currency::FromScaled(12345))), "1.2345");
    EXPECT_EQ(VarToStr(VarFromDateTime(EncodeDate(2024, 3, 5) + 0.5)), "3/5/2024 12:00:00 PM");
}

TEST(VariantConversions, NumbersFromTextAndBack)
{
    EXPECT_EQ(Variant(" 12").ToInteger(), 12);
    EXPECT_EQ(Variant("2.5").ToInteger(), 2);
    EXPECT_EQ(Variant("3.5").ToInteger(), 4);
    EXPECT_EQ(Variant("true").ToInteger(), -1);
    EXPECT_EQ(Variant(true).ToDouble(), -1);
    EXPECT_DOUBLE_EQ(Variant("1.25").ToDouble(), 1.25);
    EXPECT_EQ(Variant(Currency::FromScaled(25000)).ToInteger(), 2);
    EXPECT_EQ(Variant(Currency::FromScaled(-35000)).ToInteger(), -4);
    EXPECT_EQ(Variant(7).ToCurrency(), Currency::FromScaled(70000));
    EXPECT_TRUE(Variant("False").ToBoolean() == false);
    EXPECT_TRUE(Variant(2).ToBoolean());
    EXPECT_EQ(Variant("3/5/2024").ToDateTime(), EncodeDate(2024, 3, 5));
    EXPECT_EQ(VarType(VarAsType(Variant("7"), varInteger)), varInteger);
    EXPECT_EQ(Variant().ToInteger(), 0);
}

TEST(VariantConversions, ImpossibleConversionsNameBothTypes)
{
    EXPECT_EQ(VariantErrorOf([] { (void)Null().ToInteger(); }),
              "Could not convert variant of type (Null) into type (Int64)");
    EXPECT_EQ(VariantErrorOf([] { (void)Variant("abc").ToDouble(); }),
              "Could not convert variant of type (String) into type (Double)");
    EXPECT_EQ(VariantErrorOf([] { (void)Variant(5000000000LL).ToInteger(); }),
              "Could not convert variant of type (Int64) into type (Integer)");
    EXPECT_EQ(VariantErrorOf([] { (void)VarArrayOf({1}).ToString(); }),
              "Could not convert variant of type (Array Variant) into type (String)");
    EXPECT_EQ(VariantErrorOf([] { (void)Variant(1e300).ToCurrency(); }),
              "Could not convert variant of type (Double) into type (Currency)");
    EXPECT_THROW((void)Variant::FromError(5).ToString(), EVariantTypeCastError);
    EXPECT_EQ(Variant::FromError(5).ErrorCode(), 5);
    EXPECT_EQ(VariantErrorOf([] { (void)VarAsType(Variant(1), 0x77); }), "Invalid variant type conversion");
}

TEST(VariantArrays, BoundsElementsAndCopies)
{
    Variant array = VarArrayCreate(2, 4, varVariant);
    EXPECT_TRUE(VarIsArray(array));
    EXPECT_EQ(VarArrayDimCount(array), 1);
    EXPECT_EQ(VarArrayLowBound(array, 1), 2);
    EXPECT_EQ(VarArrayHighBound(array, 1), 4);
    EXPECT_TRUE(VarIsEmpty(array.Element(3)));
    array.SetElement(3, "x");
    const Variant copy = array;
    array.SetElement(3, 9);
    EXPECT_EQ(copy.Element(3).ToString(), "x");
    EXPECT_EQ(VariantErrorOf([&] { (void)array.Element(5); }), "Variant or safe array index out of bounds");
    EXPECT_EQ(VariantErrorOf([&] { (void)array.Element(1); }), "Variant or safe array index out of bounds");
    EXPECT_EQ(VariantErrorOf([&] { (void)VarArrayLowBound(array, 2); }), "Variant or safe array index out of bounds");
    EXPECT_EQ(VariantErrorOf([] { (void)Variant(1).Element(0); }), "Variant is not an array");
    EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);

    const Variant empty = VarArrayOf({});
    EXPECT_EQ(VarArrayHighBound(empty, 1), -1);
    EXPECT_THROW((void)VarArrayCreate(5, 3, varVariant), EVariantError);

    Variant typed = VarArrayCreate(0, 1, varInteger);
    EXPECT_EQ(VarType(typed.Element(0)), varInteger);
    typed.SetElement(1, "12");
    EXPECT_EQ(VarType(typed.Element(1)), varInteger);
    EXPECT_EQ(typed.Element(1).ToInteger(), 12);
}

struct CompareCase {
    Variant A, B;
    TVariantRelationship Expected;
};

class VariantComparisons : public testing::TestWithParam<CompareCase> {};

TEST_P(VariantComparisons, FollowTheLooseNullRules)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(VarCompareValue(c.A, c.B), c.Expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, VariantComparisons,
    testing::Values(CompareCase{1, 1.0, vrEqual}, CompareCase{1, 2LL, vrLessThan},
                    CompareCase{2.5, Currency::FromScaled(20000), vrGreaterThan},
                    CompareCase{Currency::FromScaled(1), 0, vrGreaterThan}, CompareCase{"10", 9, vrGreaterThan},
                    CompareCase{"abc", "abd", vrLessThan}, CompareCase{"a", "A", vrLessThan},
                    CompareCase{Variant(), 0, vrEqual}, CompareCase{Variant(), "", vrEqual},
                    CompareCase{Variant(), "a", vrLessThan}, CompareCase{Null(), Null(), vrEqual},
                    CompareCase{Null(), 0, vrNotEqual}, CompareCase{"", Null(), vrNotEqual},
                    CompareCase{true, -1, vrEqual}, CompareCase{"True", true, vrEqual},
                    CompareCase{9223372036854775807LL, 9223372036854775806LL, vrGreaterThan}));

TEST(VariantComparisons, OperatorsOrderNullFirstAndRefuseArrays)
{
    EXPECT_TRUE(Null() == Null());
    EXPECT_TRUE(Null() != Variant(0));
    EXPECT_TRUE(Null() < Variant(-100));
    EXPECT_FALSE(Variant(-100) < Null());
    EXPECT_TRUE(Variant("b") > Variant("a"));
    EXPECT_TRUE(Variant(2) <= Variant(2.0));
    EXPECT_EQ(VariantErrorOf([] { (void)(VarArrayOf({1}) == VarArrayOf({1})); }), "Invalid variant operation");
    EXPECT_THROW((void)(Variant("abc") == Variant(1)), EVariantTypeCastError);
}

}  // namespace
