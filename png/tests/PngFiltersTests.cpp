#include "png/PngFilters.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(PngFilters, PaethPrefersLeftThenAboveOnTies)
{
    EXPECT_EQ(PaethPredictor(10, 10, 10), 10);
    EXPECT_EQ(PaethPredictor(12, 6, 10), 6);  // pb = pc < pa: above
    EXPECT_EQ(PaethPredictor(6, 12, 10), 6);  // pa = pc < pb: left
    EXPECT_EQ(PaethPredictor(1, 5, 3), 3);    // pc smallest: upper-left
    EXPECT_EQ(PaethPredictor(0, 10, 0), 10);
}

// Every filter's output, reconstructed, gives back the raw rows, for each pixel distance.
TEST(PngFilters, FilteringThenUnfilteringRestoresTheRows)
{
    std::mt19937 random(7);
    for (const std::size_t distance : {1u, 2u, 3u, 4u, 6u, 8u})
        for (const TFilter filter : {TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth}) {
            const std::size_t rowBytes = 29;
            TRowFilterChooser chooser({filter}, rowBytes, distance);
            chooser.StartPass(rowBytes);
            std::vector<std::uint8_t> previous(rowBytes, 0);
            for (int row = 0; row < 4; ++row) {
                std::vector<std::uint8_t> raw(rowBytes);
                for (auto& byte : raw)
                    byte = static_cast<std::uint8_t>(random());
                ASSERT_EQ(chooser.Choose(raw.data()), filter);
                std::vector<std::uint8_t> line(chooser.Filtered(filter), chooser.Filtered(filter) + rowBytes);
                UnfilterRow(static_cast<std::uint8_t>(filter), line.data(), previous.data(), rowBytes, distance);
                ASSERT_EQ(line, raw) << "distance " << distance << " filter " << int(filter);
                previous = raw;
            }
        }
}

// The reconstruction a pixel at a time agrees bit for bit with the plain one, whatever the row's
// length and bytes.
TEST(PngFilters, FastReconstructionMatchesTheScalarOne)
{
    std::mt19937 random(11);
    for (const std::size_t distance : {1u, 2u, 3u, 4u, 6u, 8u})
        for (const std::size_t rowBytes : {0u, 1u, 2u, 5u, 8u, 24u, 97u, 1000u})
            for (std::uint8_t filterType = 0; filterType <= 5; ++filterType) {
                std::vector<std::uint8_t> row(rowBytes), prior(rowBytes);
                for (auto& byte : row)
                    byte = static_cast<std::uint8_t>(random());
                for (auto& byte : prior)
                    byte = static_cast<std::uint8_t>(random());
                std::vector<std::uint8_t> fast = row, scalar = row;
                UnfilterRow(filterType, fast.data(), prior.data(), rowBytes, distance);
                UnfilterRowScalar(filterType, scalar.data(), prior.data(), rowBytes, distance);
                ASSERT_EQ(fast, scalar) << "distance " << distance << " bytes " << rowBytes << " filter "
                                        << int(filterType);
            }
}

TEST(PngFilters, ChoiceFollowsTheFilterSet)
{
    const std::vector<std::uint8_t> row = {1, 5, 9, 14, 20, 27, 35, 44};
    // Neighbours all differ, so Up (all zero after an equal row) repeats most.
    TRowFilterChooser subAndUp({TFilter::pfSub, TFilter::pfUp}, row.size(), 1);
    subAndUp.StartPass(row.size());
    EXPECT_EQ(subAndUp.Choose(row.data()), TFilter::pfSub);
    EXPECT_EQ(subAndUp.Choose(row.data()), TFilter::pfUp);

    TRowFilterChooser none({}, row.size(), 1);
    none.StartPass(row.size());
    EXPECT_EQ(none.Choose(row.data()), TFilter::pfNone);

    // Equal scores keep the earlier filter; nothing scoring above 0 gives None even outside the set.
    const std::vector<std::uint8_t> flat(8, 7);
    TRowFilterChooser all({TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth}, 8, 1);
    all.StartPass(8);
    EXPECT_EQ(all.Choose(flat.data()), TFilter::pfNone);
    const std::vector<std::uint8_t> shortRow = {3, 9};
    TRowFilterChooser upAndPaeth({TFilter::pfUp, TFilter::pfPaeth}, 2, 1);
    upAndPaeth.StartPass(2);
    EXPECT_EQ(upAndPaeth.Choose(shortRow.data()), TFilter::pfNone);
}

} // namespace
