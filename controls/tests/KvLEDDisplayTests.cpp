#include "KvFormFixture.h"

#include "controls/KvLEDDisplay.h"
#include "controls/KvLEDFont.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t Lit = 0x00FF00;
constexpr std::uint32_t Unlit = 0x003300;
constexpr std::uint32_t Back = 0x000000;

TEST(LEDFontTest, GlyphColumnsHoldTheTopRowInBitSeven)
{
    struct Case {
        unsigned char code;
        TLEDGlyph columns;
    };
    const Case cases[] = {
        {'0', {0x7C, 0x8A, 0x92, 0xA2, 0x7C}}, {'A', {0x7E, 0x90, 0x90, 0x90, 0x7E}},
        {'U', {0xFC, 0x02, 0x02, 0x02, 0xFC}}, {'!', {0x00, 0x00, 0xFA, 0x00, 0x00}},
        {'-', {0x10, 0x10, 0x10, 0x10, 0x10}}, {':', {0x00, 0x00, 0x24, 0x00, 0x00}},
        {127, {0x00, 0x7C, 0x7C, 0x7C, 0x00}}, {1, {0x00, 0x7C, 0x7C, 0x7C, 0x00}},
        {31, {0x00, 0x7C, 0x7C, 0x7C, 0x00}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LEDGlyph(c.code), c.columns) << int{c.code};
    for (const unsigned char blank : {32, 128, 133, 134, 145, 146, 153})
        EXPECT_EQ(LEDGlyph(blank), TLEDGlyph{}) << int{blank};
    for (int code = 32; code < 256; ++code)
        for (const std::uint8_t column : LEDGlyph(static_cast<unsigned char>(code)))
            EXPECT_EQ(column & 1, 0) << code << ": bit 0 is never lit";
}

TEST(LEDFontTest, TextIsShownByItsCodePageCodes)
{
    EXPECT_EQ(LEDCodes("Pr\xC3\xAAt \xE2\x80\x94 5 \xE2\x82\xAC"), "Pr\xEAt \x97 5 \x80");
    EXPECT_EQ(LEDCodes("\xE6\x97\xA5!"), "?!") << "outside the code page";
    EXPECT_EQ(LEDCodes("caf\xE9"), "caf\xE9") << "a byte that is no UTF-8 stands for itself";
}

// The installer's display: 385 x 23 with the status frame one pixel wide, so the client area is
// (1, 1, 384, 22), dots 2 pixels apart without a gap and cells 12 x 14 from y = 3 of the client.
class LEDDisplayTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        ShowForm();
        m_led = new TKvLEDDisplay(m_form.get());
        m_led->SetParent(m_form.get());
        m_led->SetBounds(10, 10, 385, 23);
        m_led->SetScrollDelay(50);
        m_led->SetOnScrollComplete(TNotifyEvent::FromFunction([this](TObject*) { ++m_completed; }));
        Pump();
    }
    // The colour of the dot at glyph column `column` and row `row` of the cell starting at `cellX`
    // (client coordinates): each dot is one lit pixel inside an outline of the back colour.
    [[nodiscard]] std::uint32_t Dot(int cellX, int column, int row) const
    {
        return Shown(*m_led, POINT{1 + cellX + column * 2 + 1, 1 + 3 + row * 2 + 1});
    }
    // Whether the cell at `cellX` shows the glyph of `code`.
    [[nodiscard]] bool ShowsGlyph(int cellX, unsigned char code) const
    {
        const TLEDGlyph& glyph = LEDGlyph(code);
        for (int column = 0; column < 6; ++column)
            for (int row = 0; row < 7; ++row) {
                const bool lit = column < 5 && ((glyph[static_cast<std::size_t>(column)] >> (7 - row)) & 1);
                if (Dot(cellX, column, row) != (lit ? Lit : Unlit))
                    return false;
            }
        return true;
    }
    void Tick(int count = 1)
    {
        for (int i = 0; i < count; ++i)
            Advance(50);
    }

    TKvLEDDisplay* m_led = nullptr;
    int m_completed = 0;
};

TEST_F(LEDDisplayTest, TheDotsFollowTheHeightInsideTheFrames)
{
    EXPECT_EQ(m_led->ClientHeight(), 21);
    EXPECT_EQ(m_led->DotSize(), 2);
    EXPECT_EQ(m_led->DotGap(), 0);
    m_led->SetHeight(80); // 78 inside: dots of 10 with a gap of 1
    EXPECT_EQ(m_led->DotSize(), 10);
    EXPECT_EQ(m_led->DotGap(), 1);
    m_led->SetBorderWidth(6); // 66 inside
    EXPECT_EQ(m_led->DotSize(), 8);
    EXPECT_EQ(m_led->DotGap(), 0);
    m_led->SetHeight(5);
    EXPECT_EQ(m_led->DotSize(), 1) << "never below one pixel";
}

TEST_F(LEDDisplayTest, TheCaptionIsDrawnCellByCellOverUnlitCells)
{
    m_led->SetCaption("0A");
    Pump();
    EXPECT_TRUE(ShowsGlyph(0, '0'));
    EXPECT_TRUE(ShowsGlyph(12, 'A'));
    EXPECT_TRUE(ShowsGlyph(24, ' '));
    EXPECT_TRUE(ShowsGlyph(360, ' ')) << "unlit cells across the width";
    EXPECT_EQ(Shown(*m_led, POINT{1, 2}), Back) << "above the cells";
    EXPECT_EQ(Shown(*m_led, POINT{2, 4}), Back) << "a dot's outline";
    EXPECT_EQ(Shown(*m_led, POINT{0, 10}), Rgb(clBtnShadow)) << "the status frame";

    m_led->SetCaption(std::string("\x01", 1));
    Pump();
    EXPECT_TRUE(ShowsGlyph(0, 127)) << "a control character shows as a block";

    m_led->SetCaption("\xC3\xA9!");
    Pump();
    EXPECT_TRUE(ShowsGlyph(0, 0xE9));
    EXPECT_TRUE(ShowsGlyph(12, '!'));
    EXPECT_EQ(m_led->Steps(), 12 * 2 + 385);
}

TEST_F(LEDDisplayTest, ADisabledDisplayDimsItsLitDots)
{
    m_led->SetCaption("0");
    m_led->SetEnabled(false);
    Pump();
    // The top dot of the zero's middle column is lit, the top dot of the spacing column is not.
    const std::uint32_t dimmed = Dot(0, 2, 0);
    EXPECT_LT(dimmed >> 8 & 0xFF, 0x80u);
    EXPECT_GT(dimmed >> 8 & 0xFF, Unlit >> 8 & 0xFF);
    EXPECT_EQ(Dot(0, 5, 0), Unlit);
    m_led->SetEnabled(true);
    Pump();
    EXPECT_TRUE(ShowsGlyph(0, '0'));
}

TEST_F(LEDDisplayTest, AlignmentPlacesTheTextAndCutsWhatDoesNotFit)
{
    // 41 characters do not fit in 383 pixels (31 cells and a part).
    const std::string caption = "A" + std::string(39, '-') + "U";
    m_led->SetCaption(caption);
    Pump();
    EXPECT_TRUE(ShowsGlyph(0, 'A')) << "left: the end is cut";
    EXPECT_TRUE(ShowsGlyph(360, '-'));

    m_led->SetAlignment(taRightJustify);
    Pump();
    EXPECT_TRUE(ShowsGlyph(383 - 12, 'U')) << "right: the start is cut";
    EXPECT_TRUE(ShowsGlyph(383 - 12 * 31, '-'));

    m_led->SetCaption("U");
    m_led->SetAlignment(taCenter);
    Pump();
    EXPECT_TRUE(ShowsGlyph((383 - 12) / 2, 'U'));
    EXPECT_TRUE(ShowsGlyph((383 - 12) / 2 - 12, ' ')) << "the blank grid lines up with the text";
}

TEST_F(LEDDisplayTest, ATooLowClientAreaShowsOnlyTheFrames)
{
    m_led->SetCaption("A");
    m_led->SetHeight(9); // 7 inside
    Pump();
    EXPECT_EQ(Shown(*m_led, POINT{0, 0}), Rgb(clBtnShadow));
    EXPECT_EQ(Shown(*m_led, POINT{4, 4}), Rgb(clBtnFace));
}

TEST_F(LEDDisplayTest, ScrollingMovesTheTextOneDotPerTickAndCompletesACycle)
{
    m_led->SetCaption("AB");
    EXPECT_EQ(m_led->Steps(), 12 * 2 + 385);
    m_led->SetScrolling(true);
    Pump();
    // Right to left: the text starts at the last whole dot of the width, 382, minus the step.
    EXPECT_EQ(Dot(382 - 12, 0, 0), Unlit);
    Tick();
    EXPECT_EQ(m_led->CurrentStep(), 2);
    EXPECT_TRUE(ShowsGlyph(380 - 12, ' '));
    Tick(10);
    EXPECT_TRUE(ShowsGlyph(360, 'A'));
    EXPECT_EQ(Dot(372, 0, 3), Lit) << "B's first column; the rest is cut at the frame";

    // The rest of the cycle out of sight, where nothing is painted.
    m_led->SetVisible(false);
    Tick(204 - 11);
    EXPECT_EQ(m_completed, 0);
    EXPECT_EQ(m_led->CurrentStep(), 408);
    Tick();
    EXPECT_EQ(m_completed, 1);
    EXPECT_EQ(m_led->CurrentStep(), 0);

    // Off: back to the start at once.
    Tick(3);
    m_led->SetScrolling(false);
    m_led->SetVisible(true);
    Pump();
    EXPECT_EQ(m_led->CurrentStep(), 0);
    EXPECT_TRUE(ShowsGlyph(0, 'A'));
    Tick(3);
    EXPECT_EQ(m_led->CurrentStep(), 0);
}

TEST_F(LEDDisplayTest, LeftToRightComesInFromTheLeft)
{
    m_led->SetCaption("A");
    m_led->SetScrollType(stLeftToRight);
    m_led->SetScrolling(true);
    Tick(12); // from -12 to 12
    EXPECT_TRUE(ShowsGlyph(12, 'A'));
}

TEST_F(LEDDisplayTest, ADirectionWithoutScrollingRunsTheCycleButLeavesTheTextInPlace)
{
    m_led->SetCaption("A");
    m_led->SetWidth(41); // a cycle of 12 + 41 pixels
    m_led->SetScrollType(stLeftToRight);
    Tick(26);
    EXPECT_EQ(m_completed, 0);
    EXPECT_TRUE(ShowsGlyph(0, 'A'));
    Tick();
    EXPECT_EQ(m_completed, 1);
    m_led->SetScrollType(stNone);
    Tick(30);
    EXPECT_EQ(m_completed, 1);
    EXPECT_EQ(m_led->CurrentStep(), 0);
}

TEST_F(LEDDisplayTest, SettingTheSameCaptionChangesNothing)
{
    m_led->SetCaption("AB");
    m_led->SetScrolling(true);
    Tick(3);
    const int steps = m_led->Steps();
    m_led->SetScrolling(false);
    m_led->SetScrolling(true);
    Tick(3);
    Pump();
    m_led->SetCaption("AB");
    EXPECT_FALSE(GetUpdateRect(m_form->Handle(), nullptr, FALSE)) << "nothing to repaint";
    EXPECT_EQ(m_led->CurrentStep(), 6);
    EXPECT_EQ(m_led->Steps(), steps);
}

TEST_F(LEDDisplayTest, AHiddenDisplayKeepsScrollingWithoutPainting)
{
    m_led->SetCaption("A");
    m_led->SetScrolling(true);
    m_led->SetVisible(false);
    Pump();
    Tick(12);
    EXPECT_EQ(m_led->CurrentStep(), 24);
    EXPECT_FALSE(GetUpdateRect(m_form->Handle(), nullptr, FALSE));
    EXPECT_EQ(Shown(*m_led, POINT{30, 10}), Rgb(clBtnFace));
    m_led->SetVisible(true);
    Pump();
    EXPECT_TRUE(ShowsGlyph(382 - 24, 'A'));
}

TEST_F(LEDDisplayTest, FormDataRoundTripAcceptsTheObsoleteProperties)
{
    delete m_led;
    m_led = nullptr;
    Load(R"(object Host: TForm
  object LED: TKvLEDDisplay
    Left = 8
    Top = 8
    Width = 385
    Height = 40
    SegSpacing = 2
    DisplayCells = 12
    Caption = 'Copying files'
    Alignment = taCenter
    BackColor = clNavy
    SegOnColor = clYellow
    SegOffColor = clGray
    Scrolling = True
    ScrollType = stLeftToRight
    ScrollDelay = 50
  end
end
)");
    auto* led = dynamic_cast<TKvLEDDisplay*>(m_form->FindComponent("LED"));
    ASSERT_NE(led, nullptr);
    EXPECT_EQ(led->BorderOuter(), fsStatus);
    EXPECT_EQ(led->DotSize(), 5); // 38 pixels inside
    const std::string written = WriteComponentText(m_form.get());
    for (const char* name : {"SegSpacing", "DisplayCells", "About", "BorderOuter"})
        EXPECT_EQ(written.find(name), std::string::npos) << name << " in\n" << written;

    TForm copy(nullptr);
    (void)ReadComponentText(written, &copy);
    auto* read = dynamic_cast<TKvLEDDisplay*>(copy.FindComponent("LED"));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->Caption(), "Copying files");
    EXPECT_EQ(read->Alignment(), taCenter);
    EXPECT_EQ(read->BackColor(), clNavy);
    EXPECT_EQ(read->SegOnColor(), clYellow);
    EXPECT_EQ(read->SegOffColor(), clGray);
    EXPECT_TRUE(read->Scrolling());
    EXPECT_EQ(read->ScrollType(), stLeftToRight);
    EXPECT_EQ(read->ScrollDelay(), 50);
    EXPECT_EQ(read->Height(), 40);
}

} // namespace
