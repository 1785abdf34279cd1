#include "png/tests/PngTestSupport.h"

#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/rtl/Format.h"
#include "platform/winapi/gdi/Gdi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TPngPictureHolder : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TPngPictureHolder(TComponent* owner) : TComponent(owner) {}

    [[nodiscard]] TPicture* Picture() const { return m_picture.get(); }
    void SetPicture(TPicture* picture) { m_picture->Assign(picture); }

private:
    std::unique_ptr<TPicture> m_picture = std::make_unique<TPicture>();
};

namespace {

void DescribePngPictureHolder(TClassBuilder& c)
{
    c.Object("Picture", &TPngPictureHolder::Picture, &TPngPictureHolder::SetPicture);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TPngPictureHolder, TComponent, ComponentCreator<TPngPictureHolder>, DescribePngPictureHolder)

namespace {

constexpr TColor Black = 0x000000;
constexpr TColor Red = 0x0000FF;
constexpr TColor Green = 0x00FF00;
constexpr TColor Blue = 0xFF0000;
constexpr TColor Yellow = 0x00FFFF;

// GDI objects alive now. The GDI offers no count, so this reads its handle layout (slot index in
// bits 0-23, slot generation in bits 24-47): probe brushes are made until one lands in a slot
// never used before (generation 1); the slots below it, less the freed ones the probes reused,
// hold live objects.
long LiveGdiObjects()
{
    std::vector<HBRUSH> probes;
    long live = -1;
    while (live < 0) {
        HBRUSH probe = CreateSolidBrush(0);
        probes.push_back(probe);
        const auto value = reinterpret_cast<std::uintptr_t>(probe);
        if (((value >> 24) & 0xFFFFFF) == 1)
            live = static_cast<long>(value & 0xFFFFFF) - static_cast<long>(probes.size());
    }
    for (HBRUSH probe : probes)
        (void)DeleteObject(probe);
    return live;
}

TBytes Rows(std::initializer_list<TBytes> rows)
{
    TBytes data;
    for (const TBytes& row : rows) {
        data.push_back(0);
        for (const BYTE value : row)
            data.push_back(value);
    }
    return data;
}

void Load(TPNGObject& image, const TBytes& bytes)
{
    LoadFromBytes(image, bytes);
}

// A canvas of the given size filled with one colour.
class TTestCanvas {
public:
    TTestCanvas(int width, int height, TColor background)
    {
        m_bitmap.SetSize(width, height);
        m_bitmap.Canvas()->Brush()->SetColor(background);
        m_bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    }
    void Draw(TGraphic& graphic, const TRect& rect) { m_bitmap.Canvas()->StretchDraw(rect, &graphic); }
    [[nodiscard]] TColor Pixel(int x, int y) { return m_bitmap.Canvas()->Pixels(x, y); }
    // Row y, x from 0 to count - 1.
    [[nodiscard]] std::vector<TColor> Row(int y, int count)
    {
        std::vector<TColor> row;
        for (int x = 0; x < count; ++x)
            row.push_back(Pixel(x, y));
        return row;
    }
    [[nodiscard]] TBitmap& Bitmap() { return m_bitmap; }

private:
    TBitmap m_bitmap;
};

// 3 x 1 palette image of entries red, green, blue, with pixel indexes `indexes`.
TBytes PaletteImage(const TBytes& indexes, const TBytes& transparency)
{
    TPngBuilder builder;
    builder.Signature().Header(static_cast<std::uint32_t>(indexes.size()), 1, 8, COLOR_PALETTE);
    builder.Chunk("PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255});
    if (!transparency.empty())
        builder.Chunk("tRNS", transparency);
    return builder.ImageData(Rows({indexes})).End().Bytes();
}

TEST(PngDraw, OpaqueImageIsStretchedIntoTheRect)
{
    TPNGObject image;
    Load(image, TPngBuilder()
                    .Signature()
                    .Header(2, 1, 8, COLOR_RGB)
                    .ImageData(Rows({{255, 0, 0, 0, 0, 255}}))
                    .End()
                    .Bytes());
    TTestCanvas canvas(6, 3, Yellow);
    canvas.Draw(image, Rect(1, 1, 5, 3));
    EXPECT_EQ(canvas.Row(0, 6), std::vector<TColor>(6, Yellow));
    for (int y = 1; y < 3; ++y)
        EXPECT_EQ(canvas.Row(y, 6), (std::vector<TColor>{Yellow, Red, Red, Blue, Blue, Yellow})) << y;
}

TEST(PngDraw, SingleTransparentColourLeavesHolesWhereverThatColourIs)
{
    TPNGObject image;
    // Entry 1 (green) is the only transparent one; index 3 is past the palette and draws black.
    Load(image, PaletteImage({0, 1, 2, 1, 3}, {255, 0}));
    ASSERT_EQ(image.TransparencyKind(), TTransparencyKind::tkSingleColor);
    TTestCanvas canvas(10, 2, Yellow);
    canvas.Draw(image, Rect(0, 0, 10, 2));
    for (int y = 0; y < 2; ++y)
        EXPECT_EQ(canvas.Row(y, 10), (std::vector<TColor>{Red, Red, Yellow, Yellow, Blue, Blue, Yellow, Yellow,
                                                          Black, Black}))
            << y;
}

TEST(PngDraw, AlphaIsBlendedOverTheCanvasAtTheImagesOwnSize)
{
    TPNGObject image;
    Load(image, TPngBuilder()
                    .Signature()
                    .Header(3, 1, 8, COLOR_RGBALPHA)
                    .ImageData(Rows({{255, 0, 0, 255, 0, 255, 0, 0, 255, 255, 255, 128}}))
                    .End()
                    .Bytes());
    TTestCanvas canvas(6, 3, Black);
    canvas.Draw(image, Rect(1, 1, 7, 3));
    EXPECT_EQ(canvas.Row(1, 6), (std::vector<TColor>{Black, Red, Black, 0x808080, Black, Black}));
    EXPECT_EQ(canvas.Row(2, 6), std::vector<TColor>(6, Black));
}

TEST(PngDraw, PartiallyTransparentPalettesBlendEveryPixelOfTheRow)
{
    // 1-bit palette 10 pixels wide: entry 0 red half transparent, entry 1 blue opaque.
    TPNGObject image;
    Load(image, TPngBuilder()
                    .Signature()
                    .Header(10, 1, 1, COLOR_PALETTE)
                    .Chunk("PLTE", {255, 0, 0, 0, 0, 255})
                    .Chunk("tRNS", {128})
                    .ImageData(Rows({{0b01000000, 0b01000000}}))
                    .End()
                    .Bytes());
    ASSERT_EQ(image.TransparencyKind(), TTransparencyKind::tkPartial);
    TTestCanvas canvas(12, 1, Black);
    canvas.Draw(image, Rect(0, 0, 12, 1));
    std::vector<TColor> expected(12, 0x000080);
    expected[1] = Blue;
    expected[9] = Blue;
    expected[10] = expected[11] = Black;
    EXPECT_EQ(canvas.Row(0, 12), expected);
}

TEST(PngDraw, PaletteIndexesPastThePaletteDrawAndReadBlackOnEveryPath)
{
    struct TCase {
        const char* Name;
        TBytes Transparency;
    };
    const TCase cases[] = {{"opaque", {}}, {"colour keyed", {0}}, {"blended", {255, 128}}};
    for (const TCase& test : cases) {
        TPNGObject image;
        Load(image, PaletteImage({0, 200}, test.Transparency));
        EXPECT_EQ(image.PixelColor(1, 0), Black) << test.Name;
        TTestCanvas canvas(2, 1, Yellow);
        canvas.Draw(image, Rect(0, 0, 2, 1));
        EXPECT_EQ(canvas.Pixel(1, 0), Black) << test.Name;
    }
}

TEST(PngDraw, DrawingReleasesEveryGdiObject)
{
    const TBytes opaque = PaletteImage({0, 1, 2}, {});
    const TBytes keyed = PaletteImage({0, 1, 2}, {255, 0});
    const TBytes blended = PaletteImage({0, 1, 2}, {255, 128});
    TTestCanvas canvas(8, 8, Yellow);
    (void)canvas.Pixel(0, 0);
    // The count sees one object more.
    const long start = LiveGdiObjects();
    HBRUSH brush = CreateSolidBrush(0);
    EXPECT_EQ(LiveGdiObjects(), start + 1);
    EXPECT_TRUE(DeleteObject(brush));
    for (const TBytes* bytes : {&opaque, &keyed, &blended}) {
        const long before = LiveGdiObjects();
        {
            TPNGObject image;
            Load(image, *bytes);
            canvas.Draw(image, Rect(0, 0, 6, 2));
            canvas.Draw(image, Rect(2, 2, 2, 2)); // empty rect
            (void)image.Palette();
            TPNGObject copy;
            copy.Assign(&image);
            TBitmap bitmap;
            image.AssignTo(&bitmap);
        }
        EXPECT_EQ(LiveGdiObjects(), before);
    }
}

TEST(PngDraw, ImageWithoutHeaderDrawsNothing)
{
    TPNGObject image;
    TTestCanvas canvas(2, 2, Yellow);
    EXPECT_NO_THROW(canvas.Draw(image, Rect(0, 0, 2, 2)));
    EXPECT_EQ(canvas.Row(0, 2), std::vector<TColor>(2, Yellow));
}

TEST(PngGraphic, PictureInFormDataLoadsThroughTheRegistryAndDraws)
{
    RegisterPngGraphic();
    RegisterClass(TPngPictureHolder::StaticClass());
    const TBytes png = PaletteImage({0, 1, 2}, {});
    std::string data = "0A54504E474F626A656374"; // "\x0ATPNGObject"
    for (std::uint8_t byte : png)
        data += Format("%.2X", {static_cast<int>(byte)});
    std::unique_ptr<TComponent> root(
        ReadComponentText("object Holder: TPngPictureHolder\n  Picture.Data = {\n    " + data + "}\nend\n"));
    auto* holder = dynamic_cast<TPngPictureHolder*>(root.get());
    ASSERT_NE(holder, nullptr);
    auto* image = dynamic_cast<TPNGObject*>(holder->Picture()->Graphic());
    ASSERT_NE(image, nullptr);
    TTestCanvas canvas(3, 1, Yellow);
    canvas.Bitmap().Canvas()->Draw(0, 0, image);
    EXPECT_EQ(canvas.Row(0, 3), (std::vector<TColor>{Red, Green, Blue}));
    EXPECT_EQ(TPicture::GraphicClassForExtension("PNG"), TPNGObject::StaticClass());
}

TEST(PngGraphic, AssigningToAndFromBitmapsKeepsThePixels)
{
    TPNGObject image;
    Load(image, PaletteImage({2, 1, 0}, {0}));
    TBitmap bitmap;
    image.AssignTo(&bitmap);
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    EXPECT_TRUE(bitmap.Transparent());
    EXPECT_EQ(bitmap.TransparentColor(), Red);
    EXPECT_EQ(bitmap.Canvas()->Pixels(0, 0), Blue);
    EXPECT_EQ(bitmap.Canvas()->Pixels(2, 0), Red);

    TPNGObject back;
    back.Assign(&bitmap);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < back.Chunks().Count(); ++i)
        names.push_back(back.Chunks().Item(i)->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "PLTE", "tRNS", "IDAT", "IEND"}));
    EXPECT_EQ(back.Chunks().ItemFromClass<TChunkPLTE>()->EntryCount(), 256u);
    EXPECT_EQ(back.TransparentKeyColor(), Red);
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(back.PixelColor(x, 0), image.PixelColor(x, 0)) << x;

    TBitmap rgb;
    rgb.SetPixelFormat(pf24bit);
    rgb.SetSize(2, 2);
    rgb.Canvas()->SetPixels(1, 1, 0x123456);
    TPNGObject fromRgb;
    fromRgb.Assign(&rgb);
    EXPECT_EQ(fromRgb.HeaderChunk().ColorType(), COLOR_RGB);
    EXPECT_EQ(fromRgb.Chunks().Count(), 3u);
    EXPECT_EQ(fromRgb.PixelColor(1, 1), 0x123456);
    TBitmap again;
    fromRgb.AssignTo(&again);
    EXPECT_EQ(again.PixelFormat(), pf24bit);
    EXPECT_EQ(again.Canvas()->Pixels(1, 1), 0x123456);
    const TBytes saved = SaveToBytes(fromRgb);
    TPNGObject reloaded;
    Load(reloaded, saved);
    EXPECT_EQ(reloaded.PixelColor(1, 1), 0x123456);
}

} // namespace
