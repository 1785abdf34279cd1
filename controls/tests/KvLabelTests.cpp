#include "KvFormFixture.h"

#include "controls/KvBlinkingControlsList.h"
#include "controls/KvLabel.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <string>

namespace {

class KvLabelTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvLabelClasses();
        m_label = Add<TKvLabel>(Rect(10, 10, 210, 210));
    }
    // Big bold text in distinct colours on white, so that every copy shows solid pixels.
    void Paintable(const std::string& caption, int fontHeight = -16)
    {
        m_label->SetAutoSize(false);
        m_label->SetBounds(10, 10, 200, 200);
        m_label->SetCaption(caption);
        m_label->SetParentColor(false);
        m_label->SetColor(clWhite);
        m_label->Font()->SetHeight(fontHeight);
        m_label->Font()->SetStyle(TFontStyles{fsBold});
        m_label->Font()->SetColor(clBlue);
        m_label->SetShadowColor(clRed);
        m_label->SetHighlightColor(clLime);
    }
    void Show()
    {
        ShowForm();
        m_label->Invalidate();
        Pump();
    }
    // Presented pixels of the colour in the quarter of the label with the given corner.
    int CountInQuarter(TColor color, bool right, bool bottom)
    {
        int count = 0;
        const int w = m_label->Width() / 2;
        const int h = m_label->Height() / 2;
        for (int y = bottom ? h : 0; y < (bottom ? 2 * h : h); ++y)
            for (int x = right ? w : 0; x < (right ? 2 * w : w); ++x)
                count += Shown(*m_label, POINT{x, y}) == Rgb(color) ? 1 : 0;
        return count;
    }

    TKvLabel* m_label = nullptr;
};

TEST_F(KvLabelTest, AngleIsTakenModuloATurnAndANegativeOneTurnOn)
{
    const struct {
        int set;
        int stored;
    } cases[] = {{-90, 270}, {450, 90}, {-450, -90}, {720, 0}, {-360, 0}, {359, 359}, {-1, 359}};
    for (const auto& c : cases) {
        m_label->SetAngle(c.set);
        EXPECT_EQ(m_label->Angle(), c.stored) << c.set;
    }
}

TEST_F(KvLabelTest, RotationAndAngleKeepEachOtherInStep)
{
    m_label->SetAngle(30);
    EXPECT_EQ(m_label->Rotation(), roFlat);
    m_label->SetRotation(roCurve);
    m_label->SetCenterPoint(cpLowerLeft);
    m_label->SetAngle(45);
    EXPECT_EQ(m_label->Rotation(), roCurve);
    m_label->SetRotation(roFlat);
    EXPECT_EQ(m_label->Angle(), 0);
    EXPECT_EQ(m_label->CenterPoint(), cpCenter);
    m_label->SetAngle(90);
    m_label->SetRotation(roNone);
    EXPECT_EQ(m_label->Angle(), 0);
}

TEST_F(KvLabelTest, TextStylesDrawTheirCopies)
{
    Paintable("Hi");
    const struct {
        TTextStyle style;
        bool light;
        bool shadowCopy;
        bool highlightCopy;
    } cases[] = {
        {tsNormal, false, false, false}, {tsRaised, false, true, true}, {tsRaised, true, false, true},
        {tsRecessed, false, true, true}, {tsRecessed, true, false, true}, {tsShadow, false, true, false},
    };
    Show();
    for (const auto& c : cases) {
        m_label->SetTextStyle(c.style);
        m_label->SetLightTextStyle(c.light);
        Pump();
        const TRect caption = BoundsShown(*m_label, clBlue);
        const TRect shadow = BoundsShown(*m_label, clRed);
        const TRect highlight = BoundsShown(*m_label, clLime);
        ASSERT_FALSE(IsRectEmpty(&caption)) << c.style;
        EXPECT_EQ(!IsRectEmpty(&shadow), c.shadowCopy) << c.style << c.light;
        EXPECT_EQ(!IsRectEmpty(&highlight), c.highlightCopy) << c.style << c.light;
        // Raised: shadow down-right, highlight up-left; recessed the reverse.
        if (c.style == tsRaised && !c.light) {
            EXPECT_GT(shadow.right, highlight.right);
            EXPECT_GT(shadow.bottom, highlight.bottom);
        }
        if (c.style == tsRecessed && !c.light) {
            EXPECT_LT(shadow.left, highlight.left);
            EXPECT_LT(shadow.top, highlight.top);
        }
        if (c.light) {
            const bool downRight = c.style == tsRecessed;
            EXPECT_EQ(highlight.right > caption.right, downRight) << c.style;
            EXPECT_EQ(highlight.left < caption.left, !downRight) << c.style;
        }
    }
    // The shadow lies by its depth down and right of the caption.
    m_label->SetTextStyle(tsShadow);
    m_label->SetShadowDepth(5);
    Pump();
    const TRect caption = BoundsShown(*m_label, clBlue);
    const TRect shadow = BoundsShown(*m_label, clRed);
    EXPECT_NEAR(shadow.right - caption.right, 5, 1);
    EXPECT_NEAR(shadow.bottom - caption.bottom, 5, 1);
}

TEST_F(KvLabelTest, DisabledCaptionIsGreyWithoutCopies)
{
    Paintable("Hi");
    m_label->SetTextStyle(tsRaised);
    m_label->SetEnabled(false);
    Show();
    EXPECT_GT(CountShown(*m_label, clGrayText), 0);
    EXPECT_EQ(CountShown(*m_label, clBlue), 0);
    EXPECT_EQ(CountShown(*m_label, clRed), 0);
    EXPECT_EQ(CountShown(*m_label, clLime), 0);
}

TEST_F(KvLabelTest, FlatRotationTurnsTheCaption)
{
    Paintable("WWWW");
    Show();
    const TRect level = BoundsShown(*m_label, clBlue);
    EXPECT_GT(level.right - level.left, level.bottom - level.top);
    for (const int angle : {90, 270}) {
        m_label->SetAngle(angle);
        Pump();
        const TRect turned = BoundsShown(*m_label, clBlue);
        ASSERT_FALSE(IsRectEmpty(&turned)) << angle;
        EXPECT_GT(turned.bottom - turned.top, turned.right - turned.left) << angle;
    }
    m_label->SetAngle(45);
    m_label->SetTextStyle(tsRaised);
    Pump();
    EXPECT_GT(CountShown(*m_label, clBlue), 0);
    EXPECT_GT(CountShown(*m_label, clLime), 0);
}

TEST_F(KvLabelTest, ArcTextRunsClockwiseFromTheAngle)
{
    Paintable("ABCDEF", -24);
    m_label->SetRotation(roCurve);
    Show();
    // From the top, clockwise: the upper right fills, the lower left stays empty.
    EXPECT_GT(CountInQuarter(clBlue, true, false), 0);
    EXPECT_EQ(CountInQuarter(clBlue, false, true), 0);
    m_label->SetAngle(180);
    Pump();
    EXPECT_GT(CountInQuarter(clBlue, false, true), 0);
    EXPECT_EQ(CountInQuarter(clBlue, true, false), 0);
}

TEST_F(KvLabelTest, ArcWithoutRoomDrawsNothing)
{
    Paintable("ABCDEF", -24);
    m_label->SetRotation(roCurve);
    m_label->SetBounds(10, 10, 60, 60);
    m_label->SetBorderWidth(20);
    Show();
    EXPECT_EQ(CountShown(*m_label, clBlue), 0);
    m_label->SetBorderWidth(15);
    Pump();
    EXPECT_EQ(CountShown(*m_label, clBlue), 0);
}

TEST_F(KvLabelTest, AutoSizeMakesRoomForBordersShadowAndTurn)
{
    m_label->SetCaption("Hello");
    const int width = m_label->Width();
    const int height = m_label->Height();
    ASSERT_GT(width, height);
    const struct {
        TFrameStyleEx outer;
        TFrameStyleEx inner;
        int borderWidth;
        TSides sides;
        int growX;
        int growY;
    } cases[] = {
        {fsLowered, fsNone, 0, AllSides, 4, 4},
        {fsFlat, fsFlat, 3, AllSides, 10, 10},
        {fsLowered, fsNone, 0, TSides{sdLeft}, 2, 0},
        // The bold and rounded flat frames are measured without.
        {fsFlatBold, fsFlatRounded, 0, AllSides, 0, 0},
        {fsStatus, fsNone, 0, TSides{sdTop, sdBottom}, 0, 2},
    };
    for (const auto& c : cases) {
        m_label->SetBorderOuter(c.outer);
        m_label->SetBorderInner(c.inner);
        m_label->SetBorderWidth(c.borderWidth);
        m_label->SetBorderSides(c.sides);
        m_label->SetBevelWidth(1);
        EXPECT_EQ(m_label->Width(), width + c.growX) << c.outer << "/" << c.inner;
        EXPECT_EQ(m_label->Height(), height + c.growY) << c.outer << "/" << c.inner;
        m_label->SetBorderOuter(fsNone);
        m_label->SetBorderInner(fsNone);
        m_label->SetBorderWidth(0);
        m_label->SetBorderSides(AllSides);
        ASSERT_EQ(m_label->Width(), width);
    }
    m_label->SetTextStyle(tsShadow);
    m_label->SetShadowDepth(3);
    m_label->SetCaption("Hello!");
    m_label->SetCaption("Hello");
    EXPECT_EQ(m_label->Width(), width + 3);
    EXPECT_EQ(m_label->Height(), height + 3);
    m_label->SetTextStyle(tsNormal);
    m_label->SetAngle(90);
    EXPECT_EQ(m_label->Width(), height);
    EXPECT_EQ(m_label->Height(), width);
}

TEST_F(KvLabelTest, CondensingTheCaptionEndsAutoSize)
{
    m_label->SetCondenseCaption(ccAtEnd);
    EXPECT_FALSE(m_label->AutoSize());
}

TEST_F(KvLabelTest, FlyByColoursOnlyWhileItHasTheFont)
{
    Paintable("Hi");
    m_label->Font()->SetColor(clNavy);
    m_label->SetFlyByEnabled(true);
    m_label->SetFlyByColor(clRed);
    ShowForm();
    MoveMouse(*m_label, POINT{5, 5});
    EXPECT_EQ(m_label->Font()->Color(), clRed);
    EXPECT_EQ(m_label->CurrentColor(), clRed);
    MoveMouse(*m_form, POINT{300, 230});
    EXPECT_EQ(m_label->Font()->Color(), clNavy);
    // Turned off inside, the colour comes back; turned off or left without having applied it,
    // the font keeps the colour it has.
    MoveMouse(*m_label, POINT{5, 5});
    m_label->SetFlyByEnabled(false);
    EXPECT_EQ(m_label->Font()->Color(), clNavy);
    m_label->Font()->SetColor(clMaroon);
    m_label->SetFlyByEnabled(true);
    MoveMouse(*m_form, POINT{300, 230});
    EXPECT_EQ(m_label->Font()->Color(), clMaroon);
    m_label->SetFlyByEnabled(false);
    EXPECT_EQ(m_label->Font()->Color(), clMaroon);
}

TEST_F(KvLabelTest, MouseEnterAndLeaveAreReported)
{
    Paintable("Hi");
    std::string events;
    m_label->SetOnMouseEnter(TNotifyEvent::FromFunction([&](TObject*) { events += "enter "; }));
    m_label->SetOnMouseLeave(TNotifyEvent::FromFunction([&](TObject*) { events += "leave "; }));
    ShowForm();
    MoveMouse(*m_label, POINT{5, 5});
    MoveMouse(*m_form, POINT{300, 230});
    EXPECT_EQ(events, "enter leave ");
}

TEST_F(KvLabelTest, BlinksOnTheListsTicks)
{
    Paintable("Hi");
    m_label->SetBlinkColor(clRed);
    Show();
    EXPECT_EQ(m_label->Perform(KM_BLINKQUERY), 0);
    // A label that does not blink ignores a tick.
    m_label->Perform(KM_BLINKTICK, 1);
    EXPECT_EQ(m_label->CurrentColor(), clBlue);

    m_label->SetBlinking(true);
    EXPECT_EQ(m_label->Perform(KM_BLINKQUERY), 1);
    m_label->Perform(KM_BLINKTICK, 1);
    Pump();
    EXPECT_EQ(m_label->CurrentColor(), clRed);
    EXPECT_GT(CountShown(*m_label, clRed), 0);
    EXPECT_EQ(CountShown(*m_label, clBlue), 0);
    m_label->Perform(KM_BLINKTICK, 0);
    Pump();
    EXPECT_EQ(CountShown(*m_label, clRed), 0);
    m_label->Perform(KM_BLINKTICK, 1);
    m_label->SetBlinking(false);
    Pump();
    EXPECT_EQ(m_label->CurrentColor(), clBlue);
    EXPECT_EQ(CountShown(*m_label, clRed), 0);
}

TEST_F(KvLabelTest, BlinkIntervalsAreSharedByEveryLabel)
{
    auto* other = Add<TKvLabel>(Rect(10, 220, 60, 240));
    m_label->SetBlinkIntervalOn(300);
    EXPECT_EQ(other->BlinkIntervalOn(), 300);
    other->SetBlinkIntervalOff(700);
    EXPECT_EQ(m_label->BlinkIntervalOff(), 700);
    other->SetBlinkIntervalOn(500);
    other->SetBlinkIntervalOff(500);
}

TEST_F(KvLabelTest, BordersAreDrawnAroundTheFace)
{
    Paintable("");
    m_label->SetBorderOuter(fsFlat);
    m_label->SetFlatColor(clRed);
    m_label->SetFlatColorAdjustment(0);
    Show();
    EXPECT_EQ(Shown(*m_label, POINT{0, 50}), Rgb(clRed));
    EXPECT_EQ(Shown(*m_label, POINT{199, 50}), Rgb(clRed));
    EXPECT_EQ(Shown(*m_label, POINT{1, 50}), Rgb(clWhite));
}

TEST_F(KvLabelTest, TransparentLabelShowsItsParentBehindTheText)
{
    Paintable("Hi");
    m_form->SetColor(clYellow);
    m_label->SetTransparent(true);
    m_label->SetTextStyle(tsRaised);
    Show();
    EXPECT_EQ(Shown(*m_label, POINT{190, 190}), Rgb(clYellow));
    EXPECT_EQ(CountShown(*m_label, clWhite), 0);
    EXPECT_GT(CountShown(*m_label, clBlue), 0);
    EXPECT_GT(CountShown(*m_label, clRed), 0);
}

// ---- Form data -----------------------------------------------------------------------------------

constexpr const char* LABEL_FORM = R"(object Holder: TForm
  object Wait: TKvLabel
    Left = 8
    Top = 8
    Caption = 'Please wait...'
    Angle = 30
    Rotation = roCurve
    CenterPoint = cpLowerCenter
    TextStyle = tsRecessed
    LightTextStyle = True
    ShadowDepth = 4
    BorderOuter = fsFlatRounded
    BorderSides = [sdTop, sdBottom]
    BorderWidth = 2
    FlatColor = clNavy
    Blinking = True
    BlinkColor = clRed
    FlyByEnabled = True
  end
  object Old: TKvLabel
    Left = 8
    Top = 40
    Caption = 'Old'
    FrameSides = [sdLeft]
    Angle = 450
  end
end
)";

TEST_F(KvLabelTest, FormDataRoundTrips)
{
    auto form = std::make_unique<TForm>(nullptr);
    (void)ReadComponentText(LABEL_FORM, form.get());
    auto* wait = dynamic_cast<TKvLabel*>(form->FindComponent("Wait"));
    auto* old = dynamic_cast<TKvLabel*>(form->FindComponent("Old"));
    ASSERT_TRUE(wait && old);
    EXPECT_EQ(wait->Angle(), 30);
    EXPECT_EQ(wait->Rotation(), roCurve);
    EXPECT_EQ(wait->CenterPoint(), cpLowerCenter);
    EXPECT_EQ(wait->TextStyle(), tsRecessed);
    EXPECT_EQ(wait->BorderSides(), (TSides{sdTop, sdBottom}));
    EXPECT_TRUE(wait->Blinking());
    EXPECT_EQ(wait->Color(), clBtnFace);
    EXPECT_TRUE(wait->ParentColor());
    // The old border sides are read and dropped; an angle alone turns the caption flat.
    EXPECT_EQ(old->BorderSides(), AllSides);
    EXPECT_EQ(old->Angle(), 90);
    EXPECT_EQ(old->Rotation(), roFlat);

    const std::string written = WriteComponentText(form.get());
    EXPECT_EQ(written.find("About"), std::string::npos);
    EXPECT_EQ(written.find("FrameSides"), std::string::npos);
    auto copy = std::make_unique<TForm>(nullptr);
    (void)ReadComponentText(written, copy.get());
    EXPECT_EQ(WriteComponentText(copy.get()), written);
}

} // namespace
