#include "png/PngCodec.h"
#include "png/tests/PngTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <typeinfo>

namespace {

std::vector<std::string> SuiteFiles(bool broken)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(TestDataPath("pngsuite")))
        if (entry.path().extension() == ".png" && (entry.path().filename().string()[0] == 'x') == broken)
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TBytes SuiteFile(const std::string& name)
{
    return ReadFileBytes(TestDataPath("pngsuite/" + name));
}

TEST(PngSuite, EveryValidImageDecodesLikeLibpng)
{
    const auto names = SuiteFiles(false);
    ASSERT_GT(names.size(), 100u);
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        const TBytes file = SuiteFile(name);
        TPNGObject image;
        ASSERT_NO_THROW(LoadFromBytes(image, file));
        const TRgbaImage expected = DecodeWithLibpng(file);
        const TRgbaImage actual = PixelsOf(image);
        EXPECT_TRUE(expected == actual) << FirstDifference(expected, actual);
    }
}

struct TBrokenCase {
    const char* Name;
    const std::type_info& Error;
};

TEST(PngSuite, EveryBrokenImageIsRefusedWithItsError)
{
    const TBrokenCase cases[] = {
        {"xc1n0g08.png", typeid(EPngInvalidIHDR)},       {"xc9n2c08.png", typeid(EPngInvalidIHDR)},
        {"xcrn0g04.png", typeid(EPNGInvalidFileHeader)}, {"xcsn0g01.png", typeid(EPngInvalidCRC)},
        {"xd0n2c08.png", typeid(EPngInvalidIHDR)},       {"xd3n2c08.png", typeid(EPngInvalidIHDR)},
        {"xd9n2c08.png", typeid(EPngInvalidIHDR)},       {"xdtn0g01.png", typeid(EPNGNoImageData)},
        {"xhdn0g08.png", typeid(EPngInvalidCRC)},        {"xlfn0g04.png", typeid(EPNGInvalidFileHeader)},
        {"xs1n0g01.png", typeid(EPNGInvalidFileHeader)}, {"xs2n0g01.png", typeid(EPNGInvalidFileHeader)},
        {"xs4n0g01.png", typeid(EPNGInvalidFileHeader)}, {"xs7n0g01.png", typeid(EPNGInvalidFileHeader)},
    };
    ASSERT_EQ(SuiteFiles(true).size(), std::size(cases)) << "a broken image without an expected error";
    for (const TBrokenCase& broken : cases) {
        SCOPED_TRACE(broken.Name);
        TPNGObject image;
        try {
            LoadFromBytes(image, SuiteFile(broken.Name));
            ADD_FAILURE() << "loaded";
        } catch (const Exception& error) {
            EXPECT_EQ(typeid(error).name(), std::string(broken.Error.name())) << error.Message();
        }
    }
}

// Images of every colour type and depth, with and without transparency and interlacing.
const char* const RoundTripImages[] = {
    "basn0g01.png", "basn0g02.png", "basn0g04.png", "basn0g08.png", "basn0g16.png", "basn2c08.png",
    "basn2c16.png", "basn3p01.png", "basn3p02.png", "basn3p04.png", "basn3p08.png", "basn4a08.png",
    "basn4a16.png", "basn6a08.png", "basn6a16.png", "basi0g02.png", "basi3p02.png", "basi6a16.png",
    "tbbn0g04.png", "tbbn2c16.png", "tbwn0g16.png", "tp0n3p08.png", "tm3n3p02.png", "s35n3p04.png",
    "g03n2c08.png", "g25n3p04.png", "g10n0g16.png",
};

const TFilters FilterChoices[] = {
    {TFilter::pfNone},
    {TFilter::pfSub},
    {TFilter::pfUp},
    {TFilter::pfAverage},
    {TFilter::pfPaeth},
    {TFilter::pfNone, TFilter::pfSub, TFilter::pfUp, TFilter::pfAverage, TFilter::pfPaeth},
};

TEST(PngSuite, SavedImagesReloadWithTheSamePixelsAndLibpngReadsThem)
{
    for (const char* name : RoundTripImages)
        for (const TInterlaceMethod interlacing : {TInterlaceMethod::imNone, TInterlaceMethod::imAdam7})
            for (const TFilters& filters : FilterChoices) {
                SCOPED_TRACE(std::string(name) + (interlacing == TInterlaceMethod::imAdam7 ? " Adam7" : "") +
                             " filters " + std::to_string(&filters - FilterChoices));
                const TBytes original = SuiteFile(name);
                TPNGObject image;
                LoadFromBytes(image, original);
                image.SetInterlacing(interlacing);
                image.SetRowFilters(filters);
                const TRgbaImage before = PixelsOf(image);
                const TBytes saved = SaveToBytes(image);

                TPNGObject reloaded;
                ASSERT_NO_THROW(LoadFromBytes(reloaded, saved));
                const TRgbaImage after = PixelsOf(reloaded);
                EXPECT_TRUE(before == after) << FirstDifference(before, after);

                const TRgbaImage expected = DecodeWithLibpng(original);
                const TRgbaImage written = DecodeWithLibpng(saved);
                EXPECT_TRUE(expected == written) << FirstDifference(expected, written);
            }
}

} // namespace
