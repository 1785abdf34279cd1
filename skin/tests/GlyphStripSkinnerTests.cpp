#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/core/TypInfo.h"
#include "skin/SkinCheckRadio.h"
#include "skin/SkinObjImage.h"

#include <vector>

namespace {

constexpr TColor Key = 0xFF00FF;

// The colour of each cell of a strip of `cells` cells.
std::vector<TColor> Cells(TBitmap& strip, int cells)
{
    std::vector<TColor> colours;
    const int width = strip.Width() / cells;
    for (int cell = 0; cell < cells; ++cell)
        colours.push_back(PixelAt(strip, cell * width + width / 2, strip.Height() / 2) & 0xFFFFFF);
    return colours;
}

// A windowed control publishing the custom-glyph properties of the library's check items.
class TGlyphItem : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TGlyphItem(TComponent* owner) : TCustomControl(owner) {}
    [[nodiscard]] TBitmap* CustomGlyphs() const { return m_glyphs.get(); }
    void SetCustomGlyphs(TBitmap* value) { m_glyphs->Assign(value); }
    [[nodiscard]] bool UseCustomGlyphs() const { return m_use; }
    void SetUseCustomGlyphs(bool value)
    {
        m_use = value;
        ++m_reloads;
    }
    [[nodiscard]] TColor TransparentColor() const { return m_transparent; }
    void SetTransparentColor(TColor value) { m_transparent = value; }

    std::unique_ptr<TBitmap> m_glyphs = std::make_unique<TBitmap>();
    bool m_use = false;
    TColor m_transparent = clOlive;
    int m_reloads = 0;
};

void DescribeGlyphItem(TClassBuilder& c)
{
    c.Object("CustomGlyphs", &TGlyphItem::CustomGlyphs, &TGlyphItem::SetCustomGlyphs);
    c.Boolean("UseCustomGlyphs", &TGlyphItem::UseCustomGlyphs, &TGlyphItem::SetUseCustomGlyphs);
    c.Ordinal("TransparentColor", ColorTypeInfo(), &TGlyphItem::TransparentColor, &TGlyphItem::SetTransparentColor);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TGlyphItem, TCustomControl, nullptr, DescribeGlyphItem)

TEST(GlyphStripTest, CellsComeFromTheirSkinFrames)
{
    const TColor a = 0x0000A0, b = 0x00A000, c = 0xA00000, d = 0xA0A000, e = 0x00A0A0;
    const auto four = StripBitmap(13, 13, {a, b, c, d});
    const auto five = StripBitmap(13, 13, {a, b, c, d, e});
    TBitmap strip;
    BuildGlyphStrip(*four, 4, false, strip);
    EXPECT_EQ(Cells(strip, 9), (std::vector<TColor>{a, b, Key, a, b, Key, c, d, Key}));
    BuildGlyphStrip(*five, 5, false, strip);
    EXPECT_EQ(Cells(strip, 9), (std::vector<TColor>{a, b, e, a, b, e, c, d, e}));
    BuildGlyphStrip(*four, 4, true, strip);
    EXPECT_EQ(Cells(strip, 6), (std::vector<TColor>{a, b, a, b, c, d}));
    // Grouped by mark: four frames each (normal first, disabled last) for unchecked, checked and grayed
    // check boxes, and for unchecked and checked radio buttons.
    std::vector<TColor> colours;
    for (int frame = 0; frame < 12; ++frame)
        colours.push_back(static_cast<TColor>(0x101010 * (frame + 1)));
    const auto twelve = StripBitmap(13, 13, colours);
    const auto frame = [&](int number) { return colours[static_cast<std::size_t>(number - 1)]; };
    BuildGlyphStrip(*twelve, 12, false, strip);
    EXPECT_EQ(Cells(strip, 9), (std::vector<TColor>{frame(1), frame(5), frame(9), frame(1), frame(5), frame(9),
                                                    frame(4), frame(8), frame(12)}));
    const auto eight = StripBitmap(13, 13, std::vector<TColor>(colours.begin(), colours.begin() + 8));
    BuildGlyphStrip(*eight, 8, true, strip);
    EXPECT_EQ(Cells(strip, 6), (std::vector<TColor>{frame(1), frame(5), frame(1), frame(5), frame(4), frame(8)}));
    // A skin with two frames fills what it can.
    BuildGlyphStrip(*five, 2, true, strip);
    EXPECT_EQ(strip.Width(), 6 * (65 / 2));
}

class GlyphStripSkinnerTest : public SkinnedFormFixture {};

TEST_F(GlyphStripSkinnerTest, AnItemGetsTheSkinGlyphsUntilDetached)
{
    auto* item = new TGlyphItem(m_form.get());
    item->SetParent(m_form.get());
    item->SetBounds(20, 20, 100, 20);
    ShowSkinned();
    auto skinner = std::make_unique<TSkinObjImage>(TSkinObjImage::CheckItems);
    TSkinObjImage& attached = *skinner;
    ASSERT_TRUE(Skinner()->AddSkinner(std::move(skinner)));
    attached.AttachControl(*Skinner(), *item, 1);
    TDataSkinButton& buttons = m_data->Elements().Buttons();
    EXPECT_TRUE(item->m_use);
    EXPECT_EQ(item->m_reloads, 2);
    EXPECT_EQ(item->m_transparent, Key);
    ASSERT_EQ(item->m_glyphs->Width(), 9 * (buttons.CheckButton.Width() / buttons.CheckButtonFrame));
    const int width = buttons.CheckButton.Width() / buttons.CheckButtonFrame;
    // The checked cell shows the skin's checked frame.
    const int checked = CheckFrameIndex(cmChecked, false, buttons.CheckButtonFrame, false);
    EXPECT_EQ(PixelAt(*item->m_glyphs, width + width / 2, 6),
              PixelAt(buttons.CheckButton, (checked - 1) * width + width / 2, 6));
    attached.Detach();
    EXPECT_FALSE(item->m_use);
}
