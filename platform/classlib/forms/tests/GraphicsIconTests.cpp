#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/classlib/core/Streams.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A square image of one colour (0xRRGGBB) whose top-left quarter is see-through.
struct TestImage {
    int Size;
    int BitCount; // 4 or 24
    std::uint32_t Colour;
};

std::vector<std::uint8_t> ImageData(const TestImage& image)
{
    std::vector<std::uint8_t> out;
    const int n = image.Size;
    for (const std::uint32_t value : {40u, std::uint32_t(n), std::uint32_t(2 * n)})
        Put(out, value, 4);
    Put(out, 1, 2);
    Put(out, static_cast<std::uint32_t>(image.BitCount), 2);
    for (int i = 0; i < 6; ++i)
        Put(out, 0, 4);
    const auto clear = [n](int x, int y) { return x < n / 2 && y < n / 2; };
    if (image.BitCount == 4) {
        Put(out, image.Colour, 4); // index 0; the others black
        for (int i = 1; i < 16; ++i)
            Put(out, 0, 4);
    }
    const int stride = (n * image.BitCount + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < n; ++x) {
            if (image.BitCount == 4)
                row[x / 2] |= static_cast<std::uint8_t>((clear(x, y) ? 1 : 0) << (x % 2 ? 0 : 4));
            else if (!clear(x, y))
                for (int c = 0; c < 3; ++c)
                    row[x * 3 + c] = static_cast<std::uint8_t>(image.Colour >> (8 * c));
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    const int maskStride = (n + 31) / 32 * 4;
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(static_cast<std::size_t>(maskStride), 0);
        for (int x = 0; x < n; ++x)
            if (clear(x, y))
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

std::vector<std::uint8_t> IconFile(const std::vector<TestImage>& images)
{
    std::vector<std::uint8_t> file;
    Put(file, 0, 2);
    Put(file, 1, 2);
    Put(file, static_cast<std::uint32_t>(images.size()), 2);
    std::vector<std::vector<std::uint8_t>> data;
    std::size_t offset = 6 + 16 * images.size();
    for (const TestImage& image : images) {
        data.push_back(ImageData(image));
        Put(file, static_cast<std::uint32_t>(image.Size), 1);
        Put(file, static_cast<std::uint32_t>(image.Size), 1);
        Put(file, 0, 2);
        Put(file, 1, 2);
        Put(file, static_cast<std::uint32_t>(image.BitCount), 2);
        Put(file, static_cast<std::uint32_t>(data.back().size()), 4);
        Put(file, static_cast<std::uint32_t>(offset), 4);
        offset += data.back().size();
    }
    for (const auto& block : data)
        file.insert(file.end(), block.begin(), block.end());
    return file;
}

void Load(TIcon& icon, const std::vector<std::uint8_t>& file)
{
    TMemoryStream stream;
    if (!file.empty())
        stream.WriteBuffer(file.data(), file.size());
    stream.SetPosition(0);
    icon.LoadFromStream(stream);
}

std::vector<std::uint8_t> Saved(TIcon& icon)
{
    TMemoryStream stream;
    icon.SaveToStream(stream);
    return {stream.Memory(), stream.Memory() + stream.Size()};
}

// Draws the icon on lime and gives the pixel colours at the see-through corner and elsewhere.
std::pair<TColor, TColor> DrawnPixels(TIcon& icon)
{
    TBitmap target;
    target.SetSize(icon.Width(), icon.Height());
    target.Canvas()->Brush()->SetColor(clLime);
    target.Canvas()->FillRect(Rect(0, 0, icon.Width(), icon.Height()));
    target.Canvas()->Draw(0, 0, &icon);
    return {target.Canvas()->Pixels(2, 2), target.Canvas()->Pixels(icon.Width() - 3, icon.Height() - 3)};
}

const std::vector<std::uint8_t>& TwoImageFile()
{
    static const std::vector<std::uint8_t> file = IconFile({{16, 4, 0xFF0000}, {32, 24, 0x0000FF}});
    return file;
}

TEST(Icon, TheImageNearestTheSystemSizeIsShownThroughItsMaskAndTheFileSavedAsLoaded)
{
    TIcon icon;
    Load(icon, TwoImageFile());
    EXPECT_EQ(icon.ImageCount(), 2);
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_TRUE(icon.Transparent());
    EXPECT_EQ(DrawnPixels(icon), std::make_pair(clLime, clBlue));
    EXPECT_EQ(Saved(icon), TwoImageFile());
    EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);

    TIcon small;
    Load(small, IconFile({{16, 4, 0xFF0000}}));
    EXPECT_EQ(small.Width(), 16);
    EXPECT_EQ(DrawnPixels(small), std::make_pair(clLime, clRed)) << "from the 4-bit palette";

}

TEST(Icon, APictureKeepsAnIconInFormData)
{
    RegisterIconGraphic();
    EXPECT_EQ(TPicture::GraphicClassForExtension("ICO"), TIcon::StaticClass());
    TImage image(nullptr);
    image.SetName("Image1");
    TIcon icon;
    Load(icon, TwoImageFile());
    image.Picture()->SetGraphic(&icon);

    TImage copy(nullptr);
    (void)ReadComponentText(WriteComponentText(&image), &copy);
    auto* read = dynamic_cast<TIcon*>(copy.Picture()->Graphic());
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->ImageCount(), 2);
    EXPECT_EQ(Saved(*read), TwoImageFile());
}

TEST(Icon, AnIconMadeFromAHandleSavesAsAFileThatLoadsBack)
{
    TIcon loaded;
    Load(loaded, TwoImageFile());
    TIcon fromHandle;
    fromHandle.SetHandle(CopyIcon(loaded.Handle()));
    EXPECT_EQ(fromHandle.Width(), 32);
    EXPECT_EQ(fromHandle.ImageCount(), 1);

    TIcon copy;
    Load(copy, Saved(fromHandle));
    EXPECT_EQ(copy.Width(), 32);
    EXPECT_EQ(DrawnPixels(copy), std::make_pair(clLime, clBlue));

    const HICON released = copy.ReleaseHandle();
    EXPECT_TRUE(copy.Empty());
    EXPECT_TRUE(DestroyIcon(released));
}

TEST(Icon, BrokenFilesAreRefusedAndTheIconKept)
{
    const std::vector<std::uint8_t> good = TwoImageFile();
    const auto patched = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> file = good;
        file[at] = value;
        return file;
    };
    const std::size_t secondImage = good[6 + 16 + 12] | (good[6 + 16 + 13] << 8);
    struct Case {
        const char* name;
        std::vector<std::uint8_t> file;
    };
    const std::vector<Case> cases{
        {"empty", {}},
        {"a cursor file", patched(2, 2)},
        {"no images", patched(4, 0)},
        {"image beyond the file", patched(6 + 16 + 15, 0x7F)},
        {"truncated pixels", std::vector<std::uint8_t>(good.begin(), good.end() - 200)},
        {"too wide", patched(secondImage + 5, 0x10)},
        {"unknown depth", patched(secondImage + 14, 7)},
        {"compressed", patched(secondImage + 16, 1)},
    };
    TIcon icon;
    Load(icon, IconFile({{16, 4, 0xFF0000}}));
    for (const Case& test : cases) {
        EXPECT_THROW(Load(icon, test.file), EInvalidGraphic) << test.name;
        EXPECT_EQ(icon.Width(), 16) << test.name;
    }
}

} // namespace
