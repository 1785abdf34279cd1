#include "KvFormFixture.h"

#include "controls/KvEdit.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/winapi/controls/Edit.h"

#include <string>

namespace {

class KvEditTest : public KvFormFixture {
protected:
    void SetUp() override
    {
        KvFormFixture::SetUp();
        RegisterKvEditClasses();
        m_edit = Add<TKvEdit>(Rect(20, 20, 180, 44));
        m_other = Add<TKvEdit>(Rect(20, 60, 180, 84));
        m_other->SetTabOrder(0); // the shown form starts on the other edit: m_edit starts unfocused
    }
    // A filter that lets only digits through, as the manager's number edit has it.
    void DigitsOnly()
    {
        m_edit->SetOnKeyPress(TKeyPressEvent::FromFunction([this](TObject*, char& key) {
            ++m_keyPresses;
            if ((key < '0' || key > '9') && key != '\b')
                key = '\0';
        }));
    }

    TKvEdit* m_edit = nullptr;
    TKvEdit* m_other = nullptr;
    int m_keyPresses = 0;
};

TEST_F(KvEditTest, ColourFollowsTheState)
{
    m_edit->SetFocusColor(clYellow);
    m_edit->SetReadOnlyColor(clAqua);
    m_edit->SetDisabledColor(clSilver);
    ShowForm();
    const struct {
        bool enabled;
        bool focused;
        bool readOnly;
        bool readOnlyColorOnFocus;
        TColor expected;
    } cases[] = {
        {true, false, false, false, clWindow},
        {true, true, false, false, clYellow},
        {true, false, true, false, clAqua},
        {true, true, true, false, clYellow},
        // The installer's path edit: read-only, and its read-only colour kept while focused.
        {true, true, true, true, clAqua},
        {false, false, false, false, clSilver},
        {false, false, true, true, clSilver},
    };
    for (const auto& c : cases) {
        m_edit->SetReadOnlyColorOnFocus(c.readOnlyColorOnFocus);
        m_edit->SetReadOnly(c.readOnly);
        m_edit->SetEnabled(c.enabled);
        if (c.focused)
            Focus(*m_edit);
        else if (m_other->CanFocus())
            Focus(*m_other);
        EXPECT_EQ(m_edit->Color(), c.expected) << c.enabled << c.focused << c.readOnly << c.readOnlyColorOnFocus;
        EXPECT_EQ(Shown(*m_edit, POINT{m_edit->ClientWidth() - 3, 3}), Rgb(c.expected))
            << c.enabled << c.focused << c.readOnly << c.readOnlyColorOnFocus;
        m_edit->SetEnabled(true);
    }
    // The colour the user set comes back once the state is left.
    Focus(*m_other);
    m_edit->SetReadOnly(false);
    EXPECT_EQ(m_edit->Color(), clWindow);
}

TEST_F(KvEditTest, FocusColourMovesWithTheColourOnlyWhenTheyMatched)
{
    m_edit->SetColor(clCream);
    EXPECT_EQ(m_edit->FocusColor(), clCream);
    m_edit->SetFocusColor(clYellow);
    m_edit->SetColor(clMoneyGreen);
    EXPECT_EQ(m_edit->FocusColor(), clYellow);
    ShowForm();
    Focus(*m_edit);
    Focus(*m_other);
    EXPECT_EQ(m_edit->Color(), clMoneyGreen);
}

TEST_F(KvEditTest, FrameIsDrawnInItsStyleAndLightsUpWhileHot)
{
    m_edit->SetFramingPreference(fpCustomFraming);
    m_edit->SetFrameVisible(true);
    m_edit->SetFrameColor(clRed);
    m_edit->SetFrameHotColor(clBlue);
    ShowForm();
    const int right = m_edit->Width() - 1;
    // Flat: one line on every side, the rest of the standard border in the edit's colour.
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{0, 5}), Rgb(clRed));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{right, 5}), Rgb(clRed));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clWindow));

    m_edit->SetFrameSides(TSides{sdLeft, sdTop});
    Pump();
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{0, 5}), Rgb(clRed));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{right, 5}), Rgb(clWindow));

    // Hot tracking brings back every side and draws the hot style, two pixels wide, under the
    // mouse and while focused.
    m_edit->SetFrameHotTrack(true);
    EXPECT_EQ(m_edit->FrameSides(), AllSides);
    Pump();
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clWindow));
    MoveMouse(*m_edit, POINT{10, 5});
    EXPECT_TRUE(m_edit->FrameIsHot());
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{0, 5}), Rgb(clBlue));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clBlue));
    MoveMouse(*m_form, POINT{300, 200});
    EXPECT_FALSE(m_edit->FrameIsHot());
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clWindow));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{0, 5}), Rgb(clRed));
    Focus(*m_edit);
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clBlue));
    Focus(*m_other);
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clWindow));

    // Disabled, the frame stays and the ring under it takes the disabled colour.
    m_edit->SetEnabled(false);
    Pump();
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{0, 5}), Rgb(clRed));
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{1, 5}), Rgb(clBtnFace));
}

TEST_F(KvEditTest, AlignmentReachesTheWindow)
{
    m_edit->SetText("keep");
    ShowForm();
    const struct {
        TAlignment alignment;
        DWORD style;
    } cases[] = {{taRightJustify, ES_RIGHT}, {taCenter, ES_CENTER}, {taLeftJustify, ES_LEFT}};
    for (const auto& c : cases) {
        m_edit->SetAlignment(c.alignment);
        const auto style = static_cast<DWORD>(GetWindowLongA(m_edit->Handle(), GWL_STYLE));
        EXPECT_EQ(style & (ES_RIGHT | ES_CENTER), c.style) << c.alignment;
        EXPECT_EQ(style & ES_MULTILINE, 0U);
    }
    EXPECT_EQ(m_edit->Text(), "keep");
}

TEST_F(KvEditTest, MouseEnterAndLeaveAreReported)
{
    std::string events;
    m_edit->SetOnMouseEnter(TNotifyEvent::FromFunction([&](TObject*) { events += "enter "; }));
    m_edit->SetOnMouseLeave(TNotifyEvent::FromFunction([&](TObject*) { events += "leave "; }));
    ShowForm();
    MoveMouse(*m_edit, POINT{10, 5});
    MoveMouse(*m_edit, POINT{20, 6});
    MoveMouse(*m_other, POINT{10, 5});
    EXPECT_EQ(events, "enter leave ");
}

TEST_F(KvEditTest, TypingSelectingAndReplacing)
{
    ShowForm();
    Focus(*m_edit);
    Type("hello world");
    EXPECT_EQ(m_edit->Text(), "hello world");
    Key(VK_LEFT, ModShift);
    Key(VK_LEFT, ModShift);
    EXPECT_EQ(m_edit->SelText(), "ld");
    Type("k");
    EXPECT_EQ(m_edit->Text(), "hello work");
}

TEST_F(KvEditTest, PastingLetsInOnlyWhatTypingWould)
{
    DigitsOnly();
    m_edit->SetMaxLength(8);
    ShowForm();
    Focus(*m_edit);
    Type("12a3");
    EXPECT_EQ(m_edit->Text(), "123");

    // Every way of pasting goes through the filter; a second line is not taken.
    Clipboard()->SetAsText("4;x5\r\n99");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "12345");
    Clipboard()->SetAsText("+6");
    Key(VK_INSERT, ModShift);
    EXPECT_EQ(m_edit->Text(), "123456");
    // Past the length limit nothing more is taken.
    Clipboard()->SetAsText("7 8 9 0");
    (void)SendMessageA(m_edit->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(m_edit->Text(), "12345678");

    // A character the filter refuses goes whole, whatever its length.
    m_edit->SetText("");
    Clipboard()->SetAsText("1\xC3\xA9" "2\xE2\x82\xAC" "3");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "123");

    // Pasted text replaces the selection, as typing does.
    m_edit->SelectAll();
    Clipboard()->SetAsText("x9");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "9");
}

TEST_F(KvEditTest, PastingCutsAtTheLimitOnAWholeCharacter)
{
    // A filter that lets everything through but counts what it saw.
    m_edit->SetOnKeyPress(TKeyPressEvent::FromFunction([this](TObject*, char&) { ++m_keyPresses; }));
    m_edit->SetMaxLength(5);
    ShowForm();
    Focus(*m_edit);
    Type("ab");
    Clipboard()->SetAsText("\xC3\xA9\xC3\xA9");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "ab\xC3\xA9");
    EXPECT_GT(m_keyPresses, 2);
}

TEST_F(KvEditTest, FormThatPreviewsKeysFiltersPastingToo)
{
    m_form->SetKeyPreview(true);
    m_form->SetOnKeyPress(TKeyPressEvent::FromFunction([](TObject*, char& key) {
        if (key == '-')
            key = '\0';
    }));
    ShowForm();
    Focus(*m_edit);
    Type("1-2");
    Clipboard()->SetAsText("3-4");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "1234");
}

TEST_F(KvEditTest, ReadOnlyEditTakesNoPaste)
{
    DigitsOnly();
    m_edit->SetReadOnly(true);
    m_edit->SetText("42");
    ShowForm();
    Focus(*m_edit);
    Clipboard()->SetAsText("7");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_edit->Text(), "42");
    EXPECT_EQ(m_keyPresses, 0);
}

TEST_F(KvEditTest, EnterMovesOnWithTabOnEnterWithoutAKeyPress)
{
    m_edit->SetOnKeyPress(TKeyPressEvent::FromFunction([this](TObject*, char&) { ++m_keyPresses; }));
    m_edit->SetTabOnEnter(true);
    ShowForm();
    Focus(*m_edit);
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(m_form->Handle()), VK_RETURN, "\r");
    Pump();
    EXPECT_TRUE(m_other->Focused());
    EXPECT_EQ(m_keyPresses, 0);
}

TEST_F(KvEditTest, InvalidInputHandlerNamesTheError)
{
    m_edit->SetEditMask("000;1;_");
    ShowForm();
    Focus(*m_edit);
    Type("1");
    m_edit->SetOnInvalidInput(TKvInvalidInputEvent::FromFunction([](TObject*, std::string& text) {
        text = "Three digits, please.";
    }));
    try {
        m_edit->ValidateEdit();
        ADD_FAILURE() << "no error";
    } catch (const EDBEditError& error) {
        EXPECT_STREQ(error.what(), "Three digits, please.");
    }
}

// ---- Form data -----------------------------------------------------------------------------------

constexpr const char* EDIT_FORM = R"(object Holder: TForm
  object Number: TKvEdit
    Left = 8
    Top = 8
    Width = 120
    Height = 21
    Color = clCream
    FocusColor = clYellow
    FrameColor = clNavy
    FrameHotColor = clRed
    FrameSides = [sdLeft, sdBottom]
    FrameVisible = True
    FramingPreference = fpCustomFraming
    ReadOnlyColor = clAqua
    ReadOnlyColorOnFocus = True
    TabOnEnter = True
    Text = '5550100'
  end
  object Old: TKvEdit
    Left = 8
    Top = 40
    FrameSides = [sdTop]
    FrameFlat = True
    FrameFocusStyle = fsGroove
    FrameFlatStyle = fsBump
  end
end
)";

TEST_F(KvEditTest, FormDataRoundTrips)
{
    auto form = std::make_unique<TForm>(nullptr);
    (void)ReadComponentText(EDIT_FORM, form.get());
    auto* number = dynamic_cast<TKvEdit*>(form->FindComponent("Number"));
    auto* old = dynamic_cast<TKvEdit*>(form->FindComponent("Old"));
    ASSERT_TRUE(number && old);
    EXPECT_EQ(number->Color(), clCream);
    EXPECT_EQ(number->FocusColor(), clYellow);
    EXPECT_EQ(number->FrameSides(), (TSides{sdLeft, sdBottom}));
    EXPECT_TRUE(number->FrameVisible());
    EXPECT_EQ(number->Text(), "5550100");
    // The old names convert; hot tracking read from form data keeps the sides it names.
    EXPECT_TRUE(old->FrameHotTrack());
    EXPECT_TRUE(old->FrameVisible());
    EXPECT_EQ(old->FrameStyle(), fsStatus);
    EXPECT_EQ(old->FrameHotStyle(), fsGroove);
    EXPECT_EQ(old->FrameSides(), TSides{sdTop});

    const std::string written = WriteComponentText(form.get());
    for (const char* name : {"About", "FrameFlat", "FrameFocusStyle", "FrameFlatStyle"})
        EXPECT_EQ(written.find(name), std::string::npos) << name;
    auto copy = std::make_unique<TForm>(nullptr);
    (void)ReadComponentText(written, copy.get());
    EXPECT_EQ(WriteComponentText(copy.get()), written);
}

TEST_F(KvEditTest, StateColoursAreNotStored)
{
    auto* edit = m_edit;
    // A focus colour equal to the colour is not written.
    edit->SetColor(clCream);
    std::string written = WriteComponentText(edit);
    EXPECT_EQ(written.find("FocusColor"), std::string::npos);
    EXPECT_NE(written.find("Color = clCream"), std::string::npos);
    // A disabled edit shows its disabled colour, which is not its own.
    edit->SetEnabled(false);
    EXPECT_EQ(edit->Color(), clBtnFace);
    written = WriteComponentText(edit);
    EXPECT_EQ(written.find("Color = clBtnFace"), std::string::npos);
}

} // namespace

namespace {

class KvEditDropButtonTest : public KvEditTest {
protected:
    void SetUp() override
    {
        KvEditTest::SetUp();
        m_edit->SetOnDropOpen(TNotifyEvent::FromFunction([this](TObject*) {
            m_events += "open ";
            m_capturedWhileOpen = GetCapture() == m_edit->Handle();
            m_downWhileOpen = m_edit->DropButtonState() == bsDown;
        }));
        m_edit->SetOnDropClose(TNotifyEvent::FromFunction([this](TObject*) { m_events += "close "; }));
        m_edit->SetDropButtonVisible(true);
        ShowForm();
    }
    [[nodiscard]] POINT ButtonCentre() const
    {
        return POINT{m_edit->Width() - 2 - GetSystemMetrics(SM_CXVSCROLL) / 2, m_edit->Height() / 2};
    }

    std::string m_events;
    bool m_capturedWhileOpen = false;
    bool m_downWhileOpen = false;
};

TEST_F(KvEditDropButtonTest, ButtonTakesItsWidthFromTheTextArea)
{
    EXPECT_EQ(m_edit->ClientWidth(), m_edit->Width() - 4 - GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_EQ(ShownInWindow(*m_edit, ButtonCentre()) == Rgb(clWindow), false);
    // Flat, it takes the edit's colour until the mouse comes over the edit.
    m_edit->SetFlatButtons(true);
    m_edit->SetFlatButtonColor(clYellow);
    Pump();
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{m_edit->Width() - 4, 3}), Rgb(clWindow));
    MoveMouse(*m_edit, POINT{5, 5});
    EXPECT_EQ(ShownInWindow(*m_edit, POINT{m_edit->Width() - 5, 4}), Rgb(clYellow));
}

TEST_F(KvEditDropButtonTest, ClickDropsAndFocuses)
{
    ClickInWindow(*m_edit, ButtonCentre());
    EXPECT_EQ(m_events, "open close ");
    EXPECT_TRUE(m_capturedWhileOpen);
    EXPECT_TRUE(m_downWhileOpen);
    EXPECT_TRUE(m_edit->Focused());
    EXPECT_EQ(m_edit->DropButtonState(), bsUp);
    EXPECT_NE(GetCapture(), m_edit->Handle());
    // A click in the text drops nothing.
    ClickInWindow(*m_edit, POINT{6, 6});
    EXPECT_EQ(m_events, "open close ");
}

TEST_F(KvEditDropButtonTest, KeysDropAndGiveTheMouseBack)
{
    Focus(*m_edit);
    Key(VK_F4);
    EXPECT_EQ(m_events, "open close ");
    EXPECT_TRUE(m_capturedWhileOpen);
    EXPECT_NE(GetCapture(), m_edit->Handle());
    Key(VK_DOWN);
    EXPECT_EQ(m_events, "open close ");
    Key(VK_DOWN, ModAlt);
    EXPECT_EQ(m_events, "open close open close ");
    EXPECT_NE(GetCapture(), m_edit->Handle());
}

} // namespace
