#include "KvButtonTestForm.h"

#include "tests/support/windows/HeadlessWindows.h"

#include <utility>

namespace {

using Events = std::vector<std::string>;

// The ring is a gradient: its first row is close to the first colour, not always equal to it.
[[nodiscard]] bool Near(std::uint32_t a, std::uint32_t b)
{
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 12)
            return false;
    return true;
}

// The lines of one component's object block in written form data.
[[nodiscard]] std::string ObjectBlock(const std::string& text, const std::string& name)
{
    const std::size_t start = text.find("object " + name);
    if (start == std::string::npos)
        return {};
    return text.substr(start, text.find("\n  end\n", start) + 7 - start);
}

TEST_F(KvButtonsTest, AMouseClickCountsOnlyWhenReleasedOverTheButton)
{
    TKvButton& button = *m_buttons->CancelButton;
    const POINT inside{20, 12};
    const POINT outside{button.Width() + 5, 12};

    // Shown pressed (a dark outer edge instead of the focused button's frame ring) while held
    // inside, released when dragged off: no click.
    Press(button, inside, true);
    EXPECT_EQ(Shown(button, POINT{0, 0}), Rgb(clBtnText));
    MoveHeld(button, outside);
    EXPECT_EQ(Shown(button, POINT{0, 0}), Rgb(clWindowFrame));
    Press(button, outside, false);
    EXPECT_TRUE(TakeEvents().empty());

    // Dragged back in before the release: it clicks.
    Press(button, inside, true);
    MoveHeld(button, outside);
    MoveHeld(button, inside);
    Press(button, inside, false);
    EXPECT_EQ(TakeEvents(), Events{"click CancelButton 2"});

    // The bottom row is outside for showing as for clicking.
    Press(button, inside, true);
    MoveHeld(button, POINT{20, button.ClientHeight()});
    EXPECT_EQ(Shown(button, POINT{0, 0}), Rgb(clWindowFrame));
    Press(button, POINT{20, button.ClientHeight()}, false);
    EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(KvButtonsTest, KeysClickTheFocusedDefaultAndCancelButtons)
{
    TKvButtonsTestForm& form = *m_buttons;
    struct Case {
        TWinControl* focus;
        unsigned key;
        const char* clicked;
    };
    const Case cases[] = {
        // Space and Enter click the focused button, whatever its role.
        {form.CancelButton, VK_SPACE, "click CancelButton 2"},
        {form.CancelButton, VK_RETURN, "click CancelButton 2"},
        {form.GroupA, VK_RETURN, "click GroupA 0"},
        // Enter on a control that is not a push button clicks the default one.
        {form.Check, VK_RETURN, "click OkButton 1"},
        // Escape clicks the cancel button wherever the focus is.
        {form.OkButton, VK_ESCAPE, "click CancelButton 2"},
        {form.Check, VK_ESCAPE, "click CancelButton 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.focus->Name()) + " key " + std::to_string(c.key));
        c.focus->SetFocus();
        Pump();
        (void)TakeEvents();
        Key(c.key);
        EXPECT_EQ(TakeEvents(), Events{c.clicked});
        form.GroupA->SetDown(false);
    }
}

TEST_F(KvButtonsTest, ModalResultReachesTheFormBeforeOnClickAndEndsShowModal)
{
    TKvButtonsTestForm& form = *m_buttons;
    Click(*form.OkButton, POINT{10, 10});
    EXPECT_EQ(TakeEvents(), Events{"click OkButton 1"});
    // A button without a modal result sets the form's back to none.
    Click(*form.Bit, POINT{10, 10});
    EXPECT_EQ(TakeEvents(), Events{"click Bit 0"});

    // Enter would click the focused bit button now: the focus goes to the check box, so that
    // Enter reaches the default button.
    form.Hide();
    Pump();
    form.SetActiveControl(form.Check);
    const std::pair<unsigned, TModalResult> cases[] = {{VK_RETURN, mrOk}, {VK_ESCAPE, mrCancel}};
    for (const auto& [key, result] : cases) {
        form.SetOnShow(TNotifyEvent::FromFunction(
            [this, key = key](TObject*) { m_display->InjectKeyPress(TopLevelId(m_form->Handle()), key); }));
        EXPECT_EQ(form.ShowModal(), result);
        EXPECT_FALSE(form.Visible());
    }
}

TEST_F(KvButtonsTest, GroupedButtonsStayDownOneAtATime)
{
    TKvButton& a = *m_buttons->GroupA;
    TKvButton& b = *m_buttons->GroupB;
    Click(a, POINT{10, 10});
    EXPECT_TRUE(a.Down());
    Click(b, POINT{10, 10});
    EXPECT_TRUE(b.Down());
    EXPECT_FALSE(a.Down());
    // The last button down stays down: by a click or from code.
    Click(b, POINT{10, 10});
    b.SetDown(false);
    EXPECT_TRUE(b.Down());
    EXPECT_EQ(TakeEvents(), (Events{"click GroupA 0", "click GroupB 0", "click GroupB 0"}));

    // AllowAllUp reaches the whole group.
    a.SetAllowAllUp(true);
    EXPECT_TRUE(b.AllowAllUp());
    b.SetDown(false);
    EXPECT_FALSE(b.Down());

    // A button of no group is never down.
    m_buttons->OkButton->SetDown(true);
    EXPECT_FALSE(m_buttons->OkButton->Down());
}

TEST_F(KvButtonsTest, ClassicLooksOfEachState)
{
    TKvButtonsTestForm& form = *m_buttons;
    TKvButton& cancel = *form.CancelButton;
    TKvButton& ok = *form.OkButton;
    form.Check->SetFocus();
    Pump();
    // The default button wears the window-frame ring while no push button has the focus; a
    // plain one shows the raised edge.
    EXPECT_EQ(Shown(ok, POINT{0, 0}), Rgb(clWindowFrame));
    EXPECT_EQ(Shown(ok, POINT{1, 1}), Rgb(clBtnHighlight));
    EXPECT_EQ(Shown(cancel, POINT{0, 0}), Rgb(clBtnHighlight));
    EXPECT_EQ(Shown(cancel, POINT{cancel.Width() - 1, 10}), Rgb(cl3DDkShadow));

    // A focused button takes the ring and shows the dotted focus border 4 pixels in.
    cancel.SetFocus();
    Pump();
    EXPECT_EQ(Shown(cancel, POINT{0, 0}), Rgb(clWindowFrame));
    EXPECT_EQ(Shown(cancel, POINT{5, 4}), Rgb(clBlack));
    EXPECT_EQ(Shown(ok, POINT{0, 0}), Rgb(clBtnHighlight));

    // A grouped button held down is lowered and filled with the dotted pattern.
    form.GroupA->SetDown(true);
    Pump();
    EXPECT_EQ(Shown(*form.GroupA, POINT{0, 0}), Rgb(clBtnShadow));
    EXPECT_EQ(Shown(*form.GroupA, POINT{4, 4}), Rgb(clSilver));
    EXPECT_EQ(Shown(*form.GroupA, POINT{5, 4}), Rgb(clBtnFace));

    // A disabled button writes its caption in the grey text colour.
    const TRect captionBox = Rect(5, 5, cancel.Width() - 5, cancel.Height() - 5);
    EXPECT_TRUE(ShowsColour(cancel, captionBox, clBtnText));
    cancel.SetEnabled(false);
    Pump();
    EXPECT_TRUE(ShowsColour(cancel, captionBox, clGrayText));
    EXPECT_FALSE(ShowsColour(cancel, captionBox, clBtnText));
}

TEST_F(KvButtonsTest, HotTrackLookFollowsTheMouse)
{
    TKvButtonsTestForm& form = *m_buttons;
    TKvButton& button = *form.CancelButton;
    button.SetHotTrack(true);
    EXPECT_TRUE(button.Transparent());
    Pump();
    const POINT ring{button.Width() / 2, 2};
    const POINT face{3, 12};
    // The corners show the parent; the frame line skips them.
    EXPECT_EQ(Shown(button, POINT{0, 0}), Rgb(form.Color()));
    EXPECT_EQ(Shown(button, POINT{1, 1}), Rgb(DarkenLuminance(form.Color(), 20)));
    EXPECT_EQ(Shown(button, POINT{button.Width() / 2, 1}), Rgb(button.FrameColor()));
    const std::uint32_t cold = Shown(button, ring);
    EXPECT_FALSE(Near(cold, Rgb(button.HotTrackColor())));

    MoveMouse(button, POINT{20, 12});
    EXPECT_TRUE(Near(Shown(button, ring), Rgb(button.HotTrackColor())));
    MoveMouse(*form.Check, POINT{60, 5});
    EXPECT_EQ(Shown(button, ring), cold);

    // The complement colour type rings the button in the complement of the hot colour.
    button.SetHotTrackColorType(htctComplement);
    MoveMouse(button, POINT{20, 12});
    EXPECT_TRUE(Near(Shown(button, ring), Rgb(DarkenLuminance(OppositeHueColor(button.HotTrackColor(), 180), 30))));

    // Pressed, the face darkens; disabled, it is flat.
    Press(button, POINT{20, 12}, true);
    EXPECT_EQ(Shown(button, face), Rgb(DarkenLuminance(button.Color(), 10)));
    Press(button, POINT{20, 12}, false);
    button.SetEnabled(false);
    Pump();
    EXPECT_EQ(Shown(button, POINT{button.Width() / 2, 1}), Rgb(LightenLuminance(clBtnShadow, 30)));
    EXPECT_EQ(Shown(button, POINT{button.Width() / 2, 4}), Rgb(button.Color()));
}

TEST_F(KvButtonsTest, CaptionTextStylesDrawTheirCopies)
{
    TKvButton& button = *m_buttons->CancelButton;
    const TRect box = Rect(3, 3, button.Width() - 3, button.Height() - 3);
    button.SetTextShadowColor(clRed);
    button.SetTextHighlightColor(clBlue);
    struct Case {
        TTextStyle style;
        bool light;
        bool shadow;
        bool highlight;
    };
    const Case cases[] = {{tsNormal, false, false, false}, {tsRaised, false, true, true}, {tsRaised, true, false, true},
                          {tsRecessed, false, true, true}, {tsShadow, false, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.style));
        button.SetTextStyle(c.style);
        button.SetLightTextStyle(c.light);
        button.Invalidate();
        Pump();
        EXPECT_EQ(ShowsColour(button, box, clRed), c.shadow);
        EXPECT_EQ(ShowsColour(button, box, clBlue), c.highlight);
        EXPECT_TRUE(ShowsColour(button, box, clBtnText));
    }
}

TEST_F(KvButtonsTest, ButtonFormDataRoundTripsAndReadsTheOldHotTrackName)
{
    const std::string block = R"(object OkButton: TKvButton
    Left = 4
    Top = 4
    Width = 90
    Height = 30
    TabOrder = 0
    Caption = '&Go'
    AlignmentVertical = avBottom
    HighlightColor = clRed
    HotTrack = True
    HotTrackColor = clLime
    HotTrackColorType = htctComplement
    LightTextStyle = True
    TextHighlightColor = clYellow
    TextShadowColor = clMaroon
    TextShadowDepth = 3
    TextStyle = tsShadow
    ThemeAware = False
    Alignment = taLeftJustify
    AllowAllUp = True
    Cancel = True
    Default = True
    DropDownOnEnter = False
    GroupIndex = 3
    Down = True
    FrameColor = clNavy
    ModalResult = 6
    ShowDownPattern = False
    ShowFocusRect = False
  end
)";
    EXPECT_EQ(ObjectBlock(RoundTrip(FormAround("  " + block)), "OkButton"), block);

    // "FrameFlat" of older form data sets HotTrack and is written under its new name; About is
    // read and never written.
    const std::string old = FormAround(R"(  object OkButton: TKvButton
    About = 'anything'
    FrameFlat = True
  end
)");
    const std::string written = RoundTrip(old);
    EXPECT_NE(written.find("HotTrack = True"), std::string::npos) << written;
    EXPECT_EQ(written.find("FrameFlat"), std::string::npos) << written;
    EXPECT_EQ(written.find("About"), std::string::npos) << written;
}

} // namespace
