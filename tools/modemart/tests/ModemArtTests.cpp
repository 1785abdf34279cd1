// The committed pictures of the modem manager are exactly what the code draws, every file loads
// through the class library the way the program will load it, and the drawing keeps its
// transparency.

#include "tools/modemart/lib/ModemArt.h"

#include "png/PngCodec.h"
#include "tests/support/TempDir.h"

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/GraphicsIcon.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const fs::path Assets = fs::path(MODEM_SOURCE_DIR) / "assets" / "modem";

std::string ReadFile(const fs::path& file)
{
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::set<std::string> PicturesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() != ".md")
            names.insert(entry.path().filename().string());
    return names;
}

void Load(TGraphic& graphic, const std::string& bytes)
{
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
    stream.SetPosition(0);
    graphic.LoadFromStream(stream);
}

std::uint8_t AlphaOf(const TPNGObject& png, int x, int y)
{
    const TImageStorage& storage = png.HeaderChunk().Storage();
    return storage.HasAlpha() ? storage.AlphaRow(static_cast<std::uint32_t>(y))[x] : 255;
}

class ModemArt : public ::testing::Test {
protected:
    static void SetUpTestSuite() { s_files = new std::vector<TModemArtFile>(DrawModemArt()); }
    static void TearDownTestSuite() { delete s_files; }

    static const TModemArtFile& File(const std::string& name)
    {
        for (const TModemArtFile& file : *s_files)
            if (file.fileName == name)
                return file;
        throw std::runtime_error("no picture " + name);
    }

    static std::vector<TModemArtFile>* s_files;
};

std::vector<TModemArtFile>* ModemArt::s_files = nullptr;

TEST_F(ModemArt, CommittedPicturesAreExactlyWhatTheCodeDraws)
{
    const TempDir temp;
    WriteModemArt(*s_files, temp.Path());
    ASSERT_EQ(PicturesIn(temp.Path()), PicturesIn(Assets));
    for (const std::string& name : PicturesIn(temp.Path()))
        EXPECT_TRUE(ReadFile(temp / name) == ReadFile(Assets / name))
            << name << " differs from the code: regenerate with the target regenerate_modem_art";
}

TEST_F(ModemArt, EveryReadmeEntryNamesAFileAndEveryFileIsListed)
{
    const std::string readme = ReadFile(Assets / "README.md");
    for (const TModemArtFile& file : *s_files)
        EXPECT_NE(readme.find("`" + file.fileName + "`"), std::string::npos) << file.fileName;
}

TEST_F(ModemArt, StripsLoadThroughOurCodecWithWholeFramesEachHoldingAPicture)
{
    for (const TModemArtFile& file : *s_files) {
        if (fs::path(file.fileName).extension() != ".png")
            continue;
        SCOPED_TRACE(file.fileName);
        TPNGObject png;
        Load(png, file.bytes);
        ASSERT_EQ(png.Width(), file.frameWidth * file.frames);
        ASSERT_EQ(png.Height(), file.frameHeight);
        for (int frame = 0; frame < file.frames; ++frame) {
            int drawn = 0;
            for (int y = 0; y < file.frameHeight; ++y)
                for (int x = 0; x < file.frameWidth; ++x)
                    drawn += AlphaOf(png, frame * file.frameWidth + x, y) > 0 ? 1 : 0;
            EXPECT_GT(drawn, file.frameWidth * file.frameHeight / 16) << "frame " << frame;
        }
    }
}

TEST_F(ModemArt, PicturesLaidOnSurfacesLeaveTheirCornersTransparentAndTheSplashIsOpaque)
{
    for (const char* name : {"BModem.png", "BSMS.png", "BCallM.png", "BPBM.png", "ILSignal.png", "ILMute.png",
                             "DialKey.png", "CloseImage.png", "SmsMarks.png", "CallMarks.png"}) {
        TPNGObject png;
        Load(png, File(name).bytes);
        EXPECT_EQ(png.TransparencyKind(), TTransparencyKind::tkPartial) << name;
        EXPECT_EQ(AlphaOf(png, 0, 0), 0) << name;
    }
    TPNGObject splash;
    Load(splash, File("Splash.png").bytes);
    EXPECT_EQ(splash.TransparencyKind(), TTransparencyKind::tkNone);
}

TEST_F(ModemArt, SignalPicturesLightOneMoreBarPerLevel)
{
    const TModemArtFile& signal = File("ILSignal.png");
    ASSERT_EQ(signal.frames, 7) << "bars 0-5 and the new-message mark";
    const TArtPicture& strip = signal.images.front();
    int previous = -1;
    for (int frame = 0; frame <= 5; ++frame) {
        int green = 0;
        for (int y = 0; y < signal.frameHeight; ++y)
            for (int x = 0; x < signal.frameWidth; ++x) {
                const TArtPixel& p = strip.At(frame * signal.frameWidth + x, y);
                green += p.alpha == 255 && p.green > p.red + 40 && p.green > p.blue + 40 ? 1 : 0;
            }
        EXPECT_EQ(green == 0, frame == 0) << "frame " << frame;
        EXPECT_GT(green, previous) << "frame " << frame;
        previous = green;
    }
}

TEST_F(ModemArt, ProgramIconHoldsA32And16PixelImageAndLoadsAsAnIcon)
{
    const TModemArtFile& icon = File("MAINICON.ico");
    ASSERT_EQ(icon.images.size(), 2u);
    EXPECT_EQ(icon.images[0].Width(), 32);
    EXPECT_EQ(icon.images[1].Width(), 16);
    TIcon loaded;
    Load(loaded, icon.bytes);
    EXPECT_EQ(loaded.ImageCount(), 2);
    EXPECT_EQ(loaded.Width(), 32);
    EXPECT_EQ(loaded.Height(), 32);
}

TEST(RgbaPainting, SmoothEdgesBecomePartlyTransparentInTheShapesOwnColour)
{
    const TColor red = Rgb(200, 40, 30);
    const TArtPicture image = PaintRgba(16, 16, [&](TArtCanvas& art) {
        art.Fill(Rect(0, 0, 4, 4), Rgb(10, 20, 30));
        art.Disc(10, 10, 5, red);
    });
    EXPECT_EQ(image.At(1, 1), (TArtPixel{10, 20, 30, 255}));
    EXPECT_EQ(image.At(10, 10), (TArtPixel{200, 40, 30, 255}));
    EXPECT_EQ(image.At(15, 0).alpha, 0) << "the key colour stays transparent";
    int edges = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 4; x < 16; ++x) {
            const TArtPixel& p = image.At(x, y);
            if (p.alpha == 0 || p.alpha == 255)
                continue;
            ++edges;
            EXPECT_NEAR(p.red, 200, 3) << x << "," << y;
            EXPECT_NEAR(p.green, 40, 3) << x << "," << y;
            EXPECT_NEAR(p.blue, 30, 3) << x << "," << y;
        }
    EXPECT_GT(edges, 8);
}

TEST(RgbaPainting, PngKeepsColourAndAlphaOfEveryPixel)
{
    TArtPicture image(3, 2);
    image.At(0, 0) = {255, 0, 0, 255};
    image.At(1, 0) = {0, 128, 255, 128};
    image.At(2, 1) = {9, 8, 7, 1};
    TPNGObject png;
    Load(png, EncodePng(image));
    ASSERT_EQ(png.HeaderChunk().ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(png.PixelColor(0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(png.PixelColor(1, 0), Rgb(0, 128, 255));
    EXPECT_EQ(AlphaOf(png, 1, 0), 128);
    EXPECT_EQ(AlphaOf(png, 2, 1), 1);
    EXPECT_EQ(AlphaOf(png, 1, 1), 0);
}

} // namespace
