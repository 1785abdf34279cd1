#include "StdCtrlsButtonsTestForm.h"

#include "platform/winapi/user/Button.h"

namespace {

class ButtonsBitBtnTest : public ButtonsFormTest {
protected:
    // A 16 x 16 glyph: a red square on fuchsia, the transparent colour of its bottom-left pixel.
    static std::unique_ptr<TBitmap> RedSquare()
    {
        auto glyph = std::make_unique<TBitmap>();
        glyph->SetSize(16, 16);
        glyph->Canvas()->Brush()->SetColor(clFuchsia);
        glyph->Canvas()->FillRect(Rect(0, 0, 16, 16));
        glyph->Canvas()->Brush()->SetColor(clRed);
        glyph->Canvas()->FillRect(Rect(4, 4, 12, 12));
        return glyph;
    }

    [[nodiscard]] int Count(TControl& control, std::uint32_t rgb) const
    {
        int count = 0;
        for (int y = 0; y < control.Height(); ++y)
            for (int x = 0; x < control.Width(); ++x)
                count += Shown(control, POINT{x, y}) == rgb;
        return count;
    }
};

TEST_F(ButtonsBitBtnTest, AStockKindGivesTheCaptionAndModalResult)
{
    TBitBtn& retry = *m_form->Retry;
    EXPECT_EQ(retry.Caption(), "&Retry");
    EXPECT_EQ(retry.ModalResult(), mrRetry);
    EXPECT_EQ(GetWindowLongA(retry.Handle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_OWNERDRAW));
    retry.SetKind(bkOK);
    EXPECT_TRUE(retry.Default());
    EXPECT_EQ(retry.Caption(), "OK");

    ClickAt(retry, POINT{10, 10});
    EXPECT_EQ(m_form->Events, std::vector<std::string>{"click Retry"});
    EXPECT_EQ(m_form->ModalResult(), mrOk);
    // Being focused does not turn the owner-drawn window into a plain push button.
    EXPECT_EQ(GetWindowLongA(retry.Handle(), GWL_STYLE) & BS_TYPEMASK, static_cast<LONG>(BS_OWNERDRAW));
}

TEST_F(ButtonsBitBtnTest, TheGlyphIsDrawnTransparentlyAndGreyWhenDisabled)
{
    TBitBtn& retry = *m_form->Retry;
    retry.SetGlyph(RedSquare().get());
    EXPECT_EQ(retry.NumGlyphs(), 1);
    retry.Update();
    ASSERT_TRUE(PumpUntil([&] { return Count(retry, 0xFF0000) == 64; }));
    EXPECT_EQ(Count(retry, 0xFF00FF), 0);

    retry.SetEnabled(false);
    ASSERT_TRUE(PumpUntil([&] { return Count(retry, 0xFF0000) == 0; }));
    EXPECT_GT(Count(retry, Rgb(clBtnShadow)), 64);
}

// The 100-pixel button's content starts 2 pixels in; the red square sits 4 pixels into the glyph.
TEST_F(ButtonsBitBtnTest, LayoutAndMarginPlaceTheGlyph)
{
    TBitBtn& retry = *m_form->Retry;
    retry.SetGlyph(RedSquare().get());
    retry.SetMargin(4);
    const auto redColumns = [&](int& first, int& last) {
        first = last = -1;
        for (int x = 0; x < retry.Width(); ++x)
            if (Shown(retry, POINT{x, 15}) == 0xFF0000) {
                first = first < 0 ? x : first;
                last = x;
            }
    };
    int first = 0;
    int last = 0;
    ASSERT_TRUE(PumpUntil([&] { redColumns(first, last); return first == 2 + 4 + 4; }));
    retry.SetLayout(blGlyphRight);
    ASSERT_TRUE(PumpUntil([&] { redColumns(first, last); return last == 100 - 2 - 4 - 4 - 1; }));
}

TEST_F(ButtonsBitBtnTest, AStripOfCellsCountsItsGlyphs)
{
    TBitmap strip;
    strip.SetSize(48, 16);
    m_form->Retry->SetGlyph(&strip);
    EXPECT_EQ(m_form->Retry->NumGlyphs(), 3);

    // A strip narrower than it is high holds no cell: the count stays one to four and paints.
    strip.SetSize(0, 16);
    m_form->Retry->SetGlyph(&strip);
    EXPECT_EQ(m_form->Retry->NumGlyphs(), 3);
    m_form->Retry->Repaint();
    m_form->Retry->SetNumGlyphs(0);
    EXPECT_EQ(m_form->Retry->NumGlyphs(), 1);
}

} // namespace
