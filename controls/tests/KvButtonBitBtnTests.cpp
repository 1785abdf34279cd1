#include "KvButtonTestForm.h"

#include "platform/classlib/forms/ImgList.h"

namespace {

// The bit button's geometry, opened up for the layout table.
class TProbeBitBtn : public TKvBitBtn {
public:
    explicit TProbeBitBtn(TComponent* owner) : TKvBitBtn(owner) {}
    TRect GlyphRect()
    {
        TRect rect{};
        GetGlyphRect(rect);
        return rect;
    }
    TRect CaptionRect()
    {
        TRect rect{};
        GetCaptionRect(rect);
        return rect;
    }
    int CaptionHeightIn(const TRect& rect) { return CaptionHeight(*Canvas(), rect); }
};

std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor colour)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(width, height);
    bitmap->Canvas()->Brush()->SetColor(colour);
    bitmap->Canvas()->FillRect(Rect(0, 0, width, height));
    return bitmap;
}

// A glyph of one colour whose bottom-left pixel (the transparent colour) is olive.
std::unique_ptr<TBitmap> Glyph(int width, int height, TColor colour)
{
    auto bitmap = SolidBitmap(width, height, colour);
    bitmap->Canvas()->SetPixels(0, height - 1, clOlive);
    return bitmap;
}

[[nodiscard]] POINT Centre(const TRect& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

using KvBitBtnTest = KvButtonsTest;

TEST_F(KvBitBtnTest, StockKindsSetCaptionRoleModalResultAndASharedGlyph)
{
    struct Case {
        TBitBtnKind kind;
        const char* caption;
        bool isDefault;
        bool isCancel;
        TModalResult result;
    };
    const Case cases[] = {
        {bkOK, "OK", true, false, mrOk},         {bkCancel, "Cancel", false, true, mrCancel},
        {bkHelp, "&Help", false, false, mrNone}, {bkYes, "&Yes", true, false, mrYes},
        {bkNo, "&No", false, true, mrNo},        {bkClose, "&Close", false, false, mrNone},
        {bkAbort, "Abort", false, false, mrAbort}, {bkRetry, "&Retry", false, false, mrRetry},
        {bkIgnore, "&Ignore", false, false, mrIgnore}, {bkAll, "&All", false, false, mrAll},
    };
    TKvBitBtn& button = *m_buttons->Bit;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        button.SetKind(c.kind);
        EXPECT_EQ(button.Kind(), c.kind);
        EXPECT_EQ(button.Caption(), c.caption);
        EXPECT_EQ(button.Default(), c.isDefault);
        EXPECT_EQ(button.Cancel(), c.isCancel);
        EXPECT_EQ(button.ModalResult(), c.result);
        EXPECT_EQ(button.NumGlyphs(), 2);
        EXPECT_EQ(button.Glyph()->Width(), 32);
        EXPECT_EQ(button.Glyph()->Height(), 16);
        // One cached stock bitmap per kind; the button holds its own copy.
        EXPECT_EQ(KvStockGlyph(c.kind), KvStockGlyph(c.kind));
        EXPECT_NE(button.Glyph(), KvStockGlyph(c.kind));
    }
    EXPECT_EQ(KvStockGlyph(bkCustom), nullptr);

    // The glyph shows its first cell, and its second while disabled.
    button.SetKind(bkOK);
    Pump();
    const TRect box = Rect(0, 0, 30, button.Height());
    EXPECT_TRUE(ShowsColour(button, box, static_cast<TColor>(RGB(0, 153, 0))));
    button.SetEnabled(false);
    Pump();
    EXPECT_FALSE(ShowsColour(button, box, static_cast<TColor>(RGB(0, 153, 0))));
    EXPECT_TRUE(ShowsColour(button, box, static_cast<TColor>(RGB(130, 130, 130))));
}

TEST_F(KvBitBtnTest, ChangingWhatAKindSuppliesMakesTheButtonCustom)
{
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetKind(bkYes);
    button.SetDefault(false);
    EXPECT_EQ(button.Kind(), bkCustom);
    // Once custom, it stays so.
    button.SetDefault(true);
    EXPECT_EQ(button.Kind(), bkCustom);

    button.SetKind(bkCancel);
    button.SetModalResult(mrAbort);
    EXPECT_EQ(button.Kind(), bkCustom);

    button.SetKind(bkOK);
    button.SetGlyph(Glyph(16, 16, clRed).get());
    EXPECT_EQ(button.Kind(), bkCustom);
    // Setting the same kind again restores it.
    button.SetKind(bkOK);
    EXPECT_EQ(button.Kind(), bkOK);
    EXPECT_EQ(button.Glyph()->Width(), 32);
}

TEST_F(KvBitBtnTest, KindKeepsALoadedCaptionButReplacesOneAtRunTime)
{
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetKind(bkOK);
    EXPECT_EQ(button.Caption(), "OK");

    const std::string written = RoundTrip(FormAround(R"(  object Bit: TKvBitBtn
    Caption = 'Go'
    Kind = bkOK
  end
  object Other: TKvBitBtn
    Kind = bkNo
  end
)"));
    EXPECT_NE(written.find("Caption = 'Go'"), std::string::npos) << written;
    // What the kind supplies is not written: the stock caption, role, result and glyph.
    EXPECT_EQ(written.find("Caption = '&No'"), std::string::npos) << written;
    for (const char* property : {"Default", "Cancel", "ModalResult", "Glyph", "NumGlyphs"})
        EXPECT_EQ(written.find(property), std::string::npos) << property << "\n" << written;
    EXPECT_NE(written.find("Kind = bkNo"), std::string::npos) << written;
}

TEST_F(KvBitBtnTest, GlyphWidthSetsTheCellCountAndMarginRejectsBelowMinusOne)
{
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetNumGlyphs(3);
    const std::pair<int, int> cases[] = {{64, 4}, {80, 1}, {50, 1}, {32, 2}, {50, 2}};
    for (const auto& [width, cells] : cases) {
        SCOPED_TRACE(width);
        button.SetGlyph(Glyph(width, 16, clRed).get());
        EXPECT_EQ(button.NumGlyphs(), cells);
    }
    button.SetMargin(-5);
    EXPECT_EQ(button.Margin(), 2);
    button.SetMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
}

TEST_F(KvBitBtnTest, NumGlyphsKeepsToOneToFourFromCodeAndFormData)
{
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetGlyph(Glyph(64, 16, clRed).get());
    const std::pair<int, int> cases[] = {{0, 1}, {-3, 1}, {3, 3}, {5, 4}};
    for (const auto& [asked, kept] : cases) {
        SCOPED_TRACE(asked);
        button.SetNumGlyphs(asked);
        EXPECT_EQ(button.NumGlyphs(), kept);
        button.Repaint();
    }
    const std::string written = RoundTrip(FormAround(R"(object Bit: TKvBitBtn
    Width = 90
    Height = 30
    NumGlyphs = 0
  end
)"));
    EXPECT_EQ(written.find("NumGlyphs"), std::string::npos) << written;
}

TEST_F(KvBitBtnTest, GlyphAndCaptionRectanglesOfEachLayout)
{
    auto* probe = new TProbeBitBtn(m_form.get());
    probe->SetParent(m_form.get());
    probe->SetBounds(150, 60, 100, 60);
    probe->SetCaption("Layout");
    probe->SetGlyph(Glyph(16, 16, clRed).get());
    const TRect base = Rect(5, 5, 95, 55);
    const int t = probe->CaptionHeightIn(base);
    const int free = (60 - t - 16 - 4) / 2;
    struct Case {
        TButtonLayout layout;
        int margin;
        TRect caption;
        TPoint glyph;
    };
    const Case cases[] = {
        {blGlyphLeft, 2, Rect(27, 5, 95, 55), {7, 22}},
        {blGlyphRight, 2, Rect(5, 5, 73, 55), {77, 22}},
        {blGlyphTop, 2, Rect(5, 27, 95, 55), {42, 7}},
        {blGlyphBottom, 2, Rect(5, 5, 95, 33), {42, 37}},
        {blGlyphLeft, -1, Rect(24, 5, 95, 55), {5, 22}},
        {blGlyphRight, -1, Rect(5, 5, 76, 55), {79, 22}},
        {blGlyphTop, -1, Rect(5, 5 + free + 16, 95, 5 + free + 16 + t), {42, free}},
        {blGlyphBottom, -1, Rect(5, 5 + free, 95, 5 + free + t), {42, 5 + t + free}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.layout) + " margin " + std::to_string(c.margin));
        probe->SetLayout(c.layout);
        probe->SetMargin(c.margin);
        const TRect caption = probe->CaptionRect();
        EXPECT_EQ(std::tuple(caption.left, caption.top, caption.right, caption.bottom),
                  std::tuple(c.caption.left, c.caption.top, c.caption.right, c.caption.bottom));
        const TRect glyph = probe->GlyphRect();
        EXPECT_EQ(std::tuple(glyph.left, glyph.top, glyph.right, glyph.bottom),
                  std::tuple(c.glyph.x, c.glyph.y, c.glyph.x + 16, c.glyph.y + 16));
    }
    // The glyph is drawn where its rectangle says, and shifts with the press.
    Pump();
    const TRect glyph = probe->GlyphRect();
    EXPECT_EQ(Shown(*probe, Centre(glyph)), Rgb(clRed));
    EXPECT_EQ(Shown(*probe, POINT{glyph.left, glyph.bottom - 1}), Rgb(probe->Color()));
    Press(*probe, POINT{50, 2}, true);
    EXPECT_EQ(Shown(*probe, POINT{glyph.right, glyph.bottom}), Rgb(clRed));
    Press(*probe, POINT{50, 2}, false);
}

TEST_F(KvBitBtnTest, ImageListImagesAndTheirDisabledLook)
{
    auto* images = new TImageList(m_form.get());
    images->AddMasked(SolidBitmap(16, 16, clRed).get(), clNone);
    images->AddMasked(SolidBitmap(16, 16, clBlue).get(), clNone);
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetImages(images);
    button.SetImageIndex(0);
    Pump();
    const TRect box = Rect(0, 0, 30, button.Height());
    EXPECT_TRUE(ShowsColour(button, box, clRed));

    // Disabled, the list greys the image; a DisabledIndex shows that image in full colour.
    button.SetEnabled(false);
    Pump();
    EXPECT_FALSE(ShowsColour(button, box, clRed));
    button.SetDisabledIndex(1);
    Pump();
    EXPECT_TRUE(ShowsColour(button, box, clBlue));

    // A stock kind's glyph wins over the list; freeing the list leaves the button without.
    button.SetEnabled(true);
    button.SetKind(bkOK);
    Pump();
    EXPECT_FALSE(ShowsColour(button, box, clRed));
    delete images;
    EXPECT_EQ(button.Images(), nullptr);
    button.Repaint();
}

TEST_F(KvBitBtnTest, AnActionGivesItsImageUnlessTheButtonHasOneWhileLoading)
{
    TAction action(nullptr);
    action.SetImageIndex(1);
    action.SetHint("Runs it");
    TKvBitBtn& button = *m_buttons->Bit;
    button.SetAction(&action);
    EXPECT_EQ(button.ImageIndex(), 1);
    EXPECT_EQ(button.Hint(), "Runs it");

    // Loading, the button keeps an image of its own and takes the action's only when it has none.
    for (const int own : {-1, 0}) {
        auto* loaded = new TKvBitBtn(m_form.get());
        loaded->SetImageIndex(own);
        loaded->SetComponentStateFlag(csLoading, true);
        loaded->SetAction(&action);
        EXPECT_EQ(loaded->ImageIndex(), own == -1 ? 1 : own);
        loaded->SetAction(nullptr);
        delete loaded;
    }
    button.SetAction(nullptr);
}

TEST_F(KvBitBtnTest, BitButtonFormDataRoundTrips)
{
    RegisterImageListClasses();
    const std::string block = R"(object Bit: TKvBitBtn
    Left = 4
    Top = 4
    Width = 90
    Height = 30
    TabOrder = 0
    Caption = 'Install'
    HotTrack = True
    TextStyle = tsRaised
    Default = True
    ModalResult = 1
    DisabledIndex = 1
    ImageIndex = 0
    Images = Logo
    Layout = blGlyphTop
    Margin = -1
    Spacing = 6
  end
)";
    const std::string written =
        RoundTrip(FormAround("  object Logo: TImageList\n  end\n  " + block));
    EXPECT_NE(written.find(block), std::string::npos) << written;
}

} // namespace
