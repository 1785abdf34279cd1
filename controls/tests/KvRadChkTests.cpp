#include "KvButtonTestForm.h"

#include "platform/classlib/core/FormWriter.h"
#include "platform/winapi/user/Button.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <algorithm>

namespace {

using Events = std::vector<std::string>;

class KvCheckBoxTest : public KvButtonsTest {
protected:
    TKvCheckBox& Box() { return *m_buttons->Check; }
    // The inside of the glyph's sunken frame (the glyph stands at (0, 2), 13 x 13).
    [[nodiscard]] static TRect GlyphInside() { return Rect(2, 4, 11, 13); }
    [[nodiscard]] std::uint32_t GlyphCentre() { return Shown(Box(), POINT{6, 8}); }
    [[nodiscard]] int Clicks() const
    {
        return static_cast<int>(std::count(m_buttons->Events.begin(), m_buttons->Events.end(), "click Check 0"));
    }
    void AltAccelerator()
    {
        const WindowId form = TopLevelId(m_form->Handle());
        m_display->InjectKeyChord(form, 'C', ModAlt, "c");
        Pump();
    }
};

TEST_F(KvCheckBoxTest, ClicksAndSpaceCycleThroughTwoOrThreeStates)
{
    TKvCheckBox& box = Box();
    const TCheckBoxState threeStates[] = {cbGrayed, cbChecked, cbUnchecked};
    for (const TCheckBoxState state : threeStates) {
        Click(box, POINT{40, 8});
        EXPECT_EQ(box.State(), state);
        EXPECT_EQ(SendMessageA(box.Handle(), BM_GETCHECK, 0, 0), static_cast<LRESULT>(state));
    }
    EXPECT_EQ(Clicks(), 3);

    box.SetAllowGrayed(false);
    EXPECT_TRUE(box.Focused());
    Key(VK_SPACE);
    EXPECT_TRUE(box.Checked());
    Key(VK_SPACE);
    EXPECT_EQ(box.State(), cbUnchecked);
    // Escape between the Space going down and up cancels the press.
    m_display->InjectKey(TopLevelId(m_form->Handle()), VK_SPACE, true);
    m_buttons->CancelButton->SetCancel(false);
    Key(VK_ESCAPE);
    m_display->InjectKey(TopLevelId(m_form->Handle()), VK_SPACE, false);
    Pump();
    EXPECT_EQ(box.State(), cbUnchecked);
    EXPECT_EQ(Clicks(), 5);
}

TEST_F(KvCheckBoxTest, AReadOnlyBoxIgnoresMouseAndSpaceButItsAcceleratorFocusesIt)
{
    TKvCheckBox& box = Box();
    box.SetReadOnly(true);
    Click(box, POINT{40, 8});
    Key(VK_SPACE);
    m_buttons->OkButton->SetFocus();
    Pump();
    AltAccelerator();
    EXPECT_TRUE(box.Focused());
    EXPECT_EQ(box.State(), cbUnchecked);
    EXPECT_EQ(Clicks(), 0);

    box.SetReadOnly(false);
    m_buttons->OkButton->SetFocus();
    Pump();
    AltAccelerator();
    EXPECT_TRUE(box.Focused());
    EXPECT_EQ(box.State(), cbGrayed);
    EXPECT_EQ(Clicks(), 1);
}

TEST_F(KvCheckBoxTest, TabOnEnterMovesTheFocusOnLikeTab)
{
    TKvCheckBox& box = Box();
    m_buttons->OkButton->SetDefault(false);
    box.SetTabOnEnter(true);
    box.SetFocus();
    Pump();
    m_display->InjectKeyPress(TopLevelId(m_form->Handle()), VK_RETURN, "\r");
    Pump();
    Pump();
    EXPECT_TRUE(m_buttons->OkButton->Focused());
    EXPECT_EQ(box.State(), cbUnchecked);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(KvCheckBoxTest, StateSetInCodeClicksButLoadingDoesNot)
{
    Box().SetChecked(true);
    Box().SetState(cbChecked);
    EXPECT_EQ(TakeEvents(), Events{"click Check 0"});

    RegisterFormText(TKvButtonsTestForm::StaticClass(), FormAround(R"(  object Check: TKvCheckBox
    OnClick = Clicked
    State = cbChecked
  end
)"));
    std::unique_ptr<TKvButtonsTestForm> loaded(
        static_cast<TKvButtonsTestForm*>(TCustomForm::Create(TKvButtonsTestForm::StaticClass(), nullptr)));
    EXPECT_TRUE(loaded->Check->Checked());
    EXPECT_TRUE(loaded->Events.empty());
}

TEST_F(KvCheckBoxTest, ClassicGlyphShowsEachStateAndTheCaptionItsFocus)
{
    TKvCheckBox& box = Box();
    EXPECT_EQ(GlyphCentre(), Rgb(clWindow));
    EXPECT_FALSE(ShowsColour(box, GlyphInside(), clWindowText));
    box.SetState(cbChecked);
    Pump();
    EXPECT_TRUE(ShowsColour(box, GlyphInside(), clWindowText));
    box.SetState(cbGrayed);
    Pump();
    EXPECT_FALSE(ShowsColour(box, GlyphInside(), clWindowText));
    EXPECT_TRUE(ShowsColour(box, GlyphInside(), clBtnShadow));

    // Held down by the mouse the inside turns to the face colour.
    box.SetState(cbUnchecked);
    Press(box, POINT{40, 8}, true);
    EXPECT_EQ(GlyphCentre(), Rgb(clBtnFace));
    Press(box, POINT{40, 8}, false);
    EXPECT_EQ(box.State(), cbGrayed);
    box.SetState(cbUnchecked);

    // The focus border hugs the caption, right of the glyph: its top row is the box's.
    m_buttons->OkButton->SetFocus();
    Pump();
    const TRect beside = Rect(18, 0, 40, 1);
    EXPECT_FALSE(ShowsColour(box, beside, clBlack));
    box.SetFocus();
    Pump();
    EXPECT_TRUE(ShowsColour(box, beside, clBlack));
    EXPECT_FALSE(ShowsColour(box, Rect(box.Width() - 20, 0, box.Width(), 1), clBlack));

    // Disabled: the face colour inside, and a grey caption.
    box.SetEnabled(false);
    Pump();
    EXPECT_EQ(GlyphCentre(), Rgb(clBtnFace));
    EXPECT_TRUE(ShowsColour(box, Rect(18, 0, 60, box.Height()), clGrayText));
}

TEST_F(KvCheckBoxTest, ATransparentBoxShowsItsParentBehindGlyphAndCaption)
{
    TKvCheckBox& box = Box();
    box.SetColor(clAqua);
    Pump();
    const POINT empty{box.Width() - 3, box.Height() - 3};
    EXPECT_EQ(Shown(box, empty), Rgb(clAqua));
    box.SetTransparent(true);
    Pump();
    EXPECT_EQ(Shown(box, empty), Rgb(m_form->Color()));
    // The glyph itself still covers what lies below it.
    EXPECT_EQ(Shown(box, POINT{6, 8}), Rgb(clWindow));
}

TEST_F(KvCheckBoxTest, HotTrackGlyphLightsUpUnderTheMouse)
{
    TKvCheckBox& box = Box();
    box.SetHotTrack(true);
    Pump();
    const std::uint32_t cold = Shown(box, POINT{1, 3});
    EXPECT_EQ(Shown(box, POINT{0, 2}), Rgb(box.FrameColor()));
    MoveMouse(box, POINT{40, 8});
    const std::uint32_t hot = Shown(box, POINT{1, 3});
    EXPECT_NE(hot, cold);
    MoveMouse(*m_buttons->OkButton, POINT{5, 5});
    EXPECT_EQ(Shown(box, POINT{1, 3}), cold);
    EXPECT_EQ(TakeEvents(), (Events{"enter Check", "leave Check"}));

    // The frame style rings the glyph in the hot colour instead.
    box.SetHotTrackStyle(htsFrame);
    MoveMouse(box, POINT{40, 8});
    EXPECT_EQ(Shown(box, POINT{0, 2}), Rgb(box.HotTrackColor()));
}

TEST_F(KvCheckBoxTest, CustomGlyphStripSuppliesACellPerStateAndSwitchesItselfOnAndOff)
{
    // Nine 13 x 13 cells, each of its own colour; the centre pixel of cell 1 is the
    // transparent colour and that of cell 2 the mask colour.
    const TColor cells[] = {clRed, clGreen, clBlue, clMaroon, clNavy, clPurple, clTeal, clGray, clFuchsia};
    TBitmap strip;
    strip.SetSize(117, 13);
    for (int i = 0; i < 9; ++i) {
        strip.Canvas()->Brush()->SetColor(cells[i]);
        strip.Canvas()->FillRect(Rect(i * 13, 0, (i + 1) * 13, 13));
    }
    strip.Canvas()->SetPixels(13 + 6, 6, clOlive);
    strip.Canvas()->SetPixels(26 + 6, 6, clLime);

    TKvCheckBox& box = Box();
    box.SetCustomGlyphs(&strip);
    EXPECT_TRUE(box.UseCustomGlyphs());
    EXPECT_EQ(box.GlyphSize().cx, 13);
    EXPECT_EQ(box.GlyphSize().cy, 13);
    Pump();
    EXPECT_EQ(Shown(box, POINT{2, 4}), Rgb(clRed));
    box.SetState(cbChecked);
    Pump();
    EXPECT_EQ(Shown(box, POINT{2, 4}), Rgb(clGreen));
    EXPECT_EQ(GlyphCentre(), Rgb(box.Color()));
    box.SetState(cbGrayed);
    Pump();
    EXPECT_EQ(Shown(box, POINT{2, 4}), Rgb(clBlue));
    EXPECT_EQ(GlyphCentre(), Rgb(clWindow));
    Press(box, POINT{40, 8}, true);
    EXPECT_EQ(Shown(box, POINT{2, 4}), Rgb(clPurple));
    Press(box, POINT{40, 8}, false);
    box.SetState(cbUnchecked);
    box.SetEnabled(false);
    Pump();
    EXPECT_EQ(Shown(box, POINT{2, 4}), Rgb(clTeal));

    // A strip of another size while custom glyphs are in use: the cells follow it.
    TBitmap wide;
    wide.SetSize(9 * 16, 16);
    box.SetCustomGlyphs(&wide);
    EXPECT_EQ(box.GlyphSize().cx, 16);
    EXPECT_EQ(box.GlyphSize().cy, 16);

    TBitmap empty;
    box.SetCustomGlyphs(&empty);
    EXPECT_FALSE(box.UseCustomGlyphs());
    EXPECT_EQ(box.GlyphSize().cx, 13);
    EXPECT_EQ(box.GlyphSize().cy, 13);
}

TEST_F(KvCheckBoxTest, CheckBoxFormDataRoundTripsAndReadsTheOldHotTrackName)
{
    const std::string block = R"(object Check: TKvCheckBox
    Left = 4
    Top = 4
    Width = 90
    Height = 20
    Color = clYellow
    ParentColor = False
    TabOrder = 0
    Caption = 'Run'
    AlignmentVertical = avCenter
    HotTrack = True
    TextStyle = tsRaised
    Alignment = taLeftJustify
    DisabledColor = clSilver
    FillColor = clAqua
    FocusColor = clLime
    FrameColor = clNavy
    HotTrackStyle = htsFrame
    ReadOnly = True
    ReadOnlyColor = clCream
    ReadOnlyColorOnFocus = True
    TabOnEnter = True
    Transparent = True
    TransparentColor = clFuchsia
    WinMaskColor = clRed
    AllowGrayed = True
    State = cbGrayed
  end
)";
    const std::string written = RoundTrip(FormAround("  " + block));
    EXPECT_NE(written.find(block), std::string::npos) << written;

    const std::string old = RoundTrip(FormAround(R"(  object Check: TKvCheckBox
    About = 'anything'
    Flat = True
  end
)"));
    EXPECT_NE(old.find("HotTrack = True"), std::string::npos) << old;
    EXPECT_EQ(old.find("Flat ="), std::string::npos) << old;
    EXPECT_EQ(old.find("About"), std::string::npos) << old;
}

} // namespace

namespace {

TEST_F(KvCheckBoxTest, AnActionChecksTheBoxWithoutAClickAndAClickRunsIt)
{
    TAction action(nullptr);
    action.SetChecked(true);
    TKvCheckBox& box = Box();
    box.SetAction(&action);
    EXPECT_TRUE(box.Checked());
    action.SetChecked(false);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(Clicks(), 0) << "following the action is no click";
    action.SetEnabled(false);
    EXPECT_FALSE(box.Enabled());
    action.SetEnabled(true);

    // The user's click is one, and runs the box's own handler.
    Click(box, POINT{40, 8});
    EXPECT_EQ(Clicks(), 1);

    // Without a click handler of its own, a click runs the action.
    auto* plain = Add<TKvCheckBox>(TRect{8, 150, 120, 167});
    int runs = 0;
    action.SetOnExecute(TNotifyEvent::FromFunction([&runs](TObject*) { ++runs; }));
    plain->SetAction(&action);
    Pump();
    Click(*plain, POINT{40, 8});
    EXPECT_EQ(runs, 1);
    box.SetAction(nullptr);
    plain->SetAction(nullptr);
}

TEST_F(KvCheckBoxTest, FormDataLeavesOutTheCheckedStateAnActionSupplies)
{
    Box().SetAllowGrayed(false);
    Box().SetChecked(true);
    EXPECT_NE(WriteComponentText(m_buttons).find("Checked = True"), std::string::npos);
    auto* action = new TAction(m_buttons);
    action->SetName("CheckAction");
    action->SetChecked(true);
    Box().SetAction(action);
    const std::string text = WriteComponentText(m_buttons);
    EXPECT_NE(text.find("Action = CheckAction"), std::string::npos);
    EXPECT_EQ(text.find("Checked = True"), std::string::npos);
}

} // namespace
