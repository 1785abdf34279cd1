#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysMath.h"
#include "tests/support/RowNames.h"

namespace {

struct MulDivCase {
    int A, B, C, Expected;
};

class MulDivCases : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivCases, FollowWin32)
{
    const MulDivCase& c = GetParam();
    EXPECT_EQ(MulDiv(c.A, c.B, c.C), c.Expected) << c.A << "*" << c.B << "/" << c.C;
}

constexpr int IntMax = std::numeric_limits<int>::max();
constexpr int IntMin = std::numeric_limits<int>::min();

INSTANTIATE_TEST_SUITE_P(Table, MulDivCases,
                         testing::Values(MulDivCase{10, 10, 3, 33}, MulDivCase{1, 1, 2, 1}, MulDivCase{3, 1, 2, 2},
                                         MulDivCase{-1, 1, 2, -1}, MulDivCase{1, -3, 2, -2}, MulDivCase{-3, -1, 2, 2},
                                         MulDivCase{5, 1, -2, -3}, MulDivCase{-5, 1, -2, 3}, MulDivCase{2, 1, 3, 1},
                                         MulDivCase{1, 1, 3, 0}, MulDivCase{7, 5, 0, -1}, MulDivCase{0, 5, 0, -1},
                                         MulDivCase{IntMax, IntMax, IntMax, IntMax},
                                         MulDivCase{IntMax, 2, 1, -1}, MulDivCase{IntMin, 1, 1, -1},
                                         MulDivCase{IntMin, -1, 1, -1}, MulDivCase{IntMin, IntMin, IntMin, -1},
                                         MulDivCase{IntMin, 1, 2, -1073741824}, MulDivCase{IntMin, 1, -1, -1}),
                         [](const auto& info) {
                             const MulDivCase& c = info.param;
                             return RowName(info.index, std::to_string(c.A) + " times " + std::to_string(c.B) + " over " +
                                                            std::to_string(c.C));
                         });

TEST(Random, ReplaysFromASeedAndStaysInRange)
{
    SetRandSeed(12345);
    std::vector<int> first;
    for (int i = 0; i < 50; ++i)
        first.push_back(Random(16));
    SetRandSeed(12345);
    std::set<int> seen;
    for (int i = 0; i < 50; ++i) {
        const int value = Random(16);
        EXPECT_EQ(value, first[i]);
        seen.insert(value);
    }
    EXPECT_GE(*seen.begin(), 0);
    EXPECT_LE(*seen.rbegin(), 15);
    EXPECT_GT(seen.size(), 8u);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    for (int i = 0; i < 1000; ++i) {
        const double value = Random();
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
    }
    Randomize();
}

TEST(Rounding, RoundIsBankersAndTruncTowardZero)
{
    EXPECT_EQ(Round(2.5), 2);
    EXPECT_EQ(Round(3.5), 4);
    EXPECT_EQ(Round(-2.5), -2);
    EXPECT_EQ(Round(2.6), 3);
    EXPECT_EQ(Trunc(-2.7), -2);
    EXPECT_THROW((void)Round(1e19), EInvalidOp);
    EXPECT_THROW((void)Trunc(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
    EXPECT_DOUBLE_EQ(Power(2, 10), 1024);
}

}  // namespace
