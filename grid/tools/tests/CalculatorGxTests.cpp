#include "ToolsFixture.h"

#include "grid/tools/CalculatorGx.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/rtl/Exceptions.h"

#include <string>
#include <vector>

namespace {

class Calculator : public ToolsFixture {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        m_calculator = new TCalculatorGx(m_form.get());
        m_calculator->SetParent(m_form.get());
        m_calculator->SetBounds(10, 10, 184, 127);
        Pump();
        m_form->SetActiveControl(m_calculator);
        Pump();
    }
    // Types keys as characters; '\r' is Enter, '\b' Backspace.
    void Keys(const std::string& keys)
    {
        for (const char key : keys) {
            if (key == '\r')
                Key(VK_RETURN, 0, "\r");
            else if (key == '\x16')
                Key('V', ModControl, "\x16");
            else if (key == '\b')
                Key(VK_BACK, 0, "\b");
            else
                Type(std::string(1, key));
        }
    }
    void Escape() { Key(VK_ESCAPE, 0, "\x1b"); }
    void ClickKey(int tag)
    {
        TSpeedButtonGx* button = m_calculator->KeyButton(tag);
        Click(*button, POINT{button->Width() / 2, button->Height() / 2});
    }

    TCalculatorGx* m_calculator = nullptr;
};

// The editor a drop-down calculator closes up through.
class TPopupOwner : public TComponent, public IPopupOwnerGx {
public:
    explicit TPopupOwner(TComponent* owner) : TComponent(owner) {}
    void ClosePopup(bool accept) override { Closes.push_back(accept); }
    std::vector<bool> Closes;
};

} // namespace

TEST_F(Calculator, TypedSumsShowTheirResultsAndTheEqualKeyFollowsTheEntry)
{
    struct Case {
        const char* Keys;
        const char* Display;
        const char* EqualCaption;
    };
    const Case cases[] = {
        {"1+2=", "3", "Ok"},
        {"1+2+", "3", "Ok"},     // the sum so far, "+" waiting
        {"1+2+4", "4", "="},
        {"50+10%", "55", "Ok"},  // 10 % of 50 added
        {"50*10%", "5", "Ok"},
        {"0-5", "5", "="},       // the first operand 0 still waits for "="
        {"0-5=", "-5", "Ok"},
        {"0*5=", "0", "Ok"},
        {"12\b\b", "0", "Ok"},
        {"-3\b", "0", "="},      // the 3 typed after a pending minus, taken back
        {"9I", "-9", "Ok"},
        {"4S", "2", "Ok"},
        {"4R", "0.25", "Ok"},
        {".5+.25=", "0.75", "Ok"},
        {"1..5", "1.5", "Ok"},
        {"0.1+0.2=", "0.3", "Ok"}, // fifteen significant digits
    };
    for (const Case& c : cases) {
        Escape();
        Keys(c.Keys);
        EXPECT_EQ(m_calculator->DisplayText(), c.Display) << c.Keys;
        EXPECT_EQ(m_calculator->EqualButton()->Caption(), c.EqualCaption) << c.Keys;
    }
}

TEST_F(Calculator, SixteenDigitsLeaveFifteenAndANegatedNumberKeepsItsSign)
{
    Keys("1234567890123456");
    EXPECT_EQ(m_calculator->DisplayText(), "123456789012345");
    Escape();
    Keys("12I");
    EXPECT_EQ(m_calculator->DisplayText(), "-12");
}

TEST_F(Calculator, AnErrorIgnoresEveryKeyButClear)
{
    // An overflow, from pasted operands, is an error as well.
    Clipboard()->SetAsText("1e300");
    for (const char* keys : {"5/0=", "0R", "4IS", "\x16*9\x16="}) {
        Escape();
        Keys(keys);
        EXPECT_EQ(m_calculator->DisplayText(), "Error") << keys;
        Keys("12+\r");
        Escape();
        Wheel(*m_calculator, POINT{90, 10}, 120);
        EXPECT_EQ(m_calculator->DisplayText(), "Error") << keys;
        Keys("c");
        EXPECT_EQ(m_calculator->DisplayText(), "0") << keys;
    }
    // The C button clears it too, and Delete stands for C.
    Keys("5/0=");
    ClickKey(6);
    EXPECT_EQ(m_calculator->DisplayText(), "0");
    Keys("7");
    Key(VK_DELETE);
    EXPECT_EQ(m_calculator->DisplayText(), "0");
}

TEST_F(Calculator, KeyButtonsAndTheWheelWorkLikeKeys)
{
    for (const int tag : {1, 22, 2, 23}) // 7 + 8 Ok
        ClickKey(tag);
    EXPECT_EQ(m_calculator->DisplayText(), "15");
    Wheel(*m_calculator, POINT{90, 10}, 120);
    EXPECT_EQ(m_calculator->DisplayText(), "16");
    Wheel(*m_calculator, POINT{90, 10}, -240);
    EXPECT_EQ(m_calculator->DisplayText(), "15");
}

TEST_F(Calculator, CopyAndPasteGoThroughTheClipboard)
{
    Keys("42");
    Key('C', ModControl, "\x03");
    EXPECT_EQ(Clipboard()->AsText(), "42");
    Clipboard()->SetAsText(" 2.5 ");
    Key('V', ModControl, "\x16");
    EXPECT_EQ(m_calculator->DisplayText(), "2.5");
    Clipboard()->SetAsText("two");
    EXPECT_THROW(m_calculator->PasteDisplay(), EConvertError);
    EXPECT_EQ(m_calculator->DisplayText(), "2.5");
}

TEST_F(Calculator, TheDisplayShowsTheTypedNumberAtItsRightEdge)
{
    Keys("8");
    Pump();
    // Panel1 at (6, 4) 171 x 19: the digit's ink is near the right, the left stays the window colour.
    const std::uint32_t window = SysRgb(COLOR_WINDOW);
    EXPECT_EQ(Shown(*m_calculator, POINT{30, 13}), window);
    bool ink = false;
    for (int x = 150; x < 174 && !ink; ++x)
        for (int y = 7; y < 21 && !ink; ++y)
            ink = Shown(*m_calculator, POINT{x, y}) != window;
    EXPECT_TRUE(ink);
}

TEST_F(Calculator, TheDropDownClosesOnEnterOnlyWhenNoCalculationWaits)
{
    auto* owner = new TPopupOwner(m_form.get());
    auto* popup = new TPopupCalculatorGx(owner);
    popup->SetPopupValue(Variant(2.0));
    EXPECT_EQ(popup->DisplayText(), "2");
    for (const char key : std::string("*3"))
        popup->HandleKey(key);
    EXPECT_FALSE(popup->AcceptOnEnter());
    popup->HandleKey('\r');
    EXPECT_EQ(popup->DisplayText(), "6");
    EXPECT_TRUE(owner->Closes.empty());
    popup->HandleKey('\r');
    EXPECT_EQ(owner->Closes, (std::vector<bool>{true}));
    EXPECT_DOUBLE_EQ(popup->GetPopupValue().ToDouble(), 6.0);

    WORD escape = VK_ESCAPE;
    popup->Perform(WM_KEYDOWN, escape, 0);
    popup->Perform(WM_DROPDOWN_CLOSEUP, 0, 0);
    EXPECT_EQ(owner->Closes, (std::vector<bool>{true, false, false}));
    EXPECT_EQ(popup->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(owner->Closes.back(), true);

    for (const char key : std::string("1/0="))
        popup->HandleKey(key);
    EXPECT_EQ(popup->GetPopupValue().VType(), varError);
    EXPECT_EQ(popup->Perform(WM_MOUSEACTIVATE, 0, 0), MA_NOACTIVATE);
}

TEST_F(Calculator, TheShownDropDownLeavesTheFocusAndActivationWithTheForm)
{
    auto* owner = new TPopupOwner(m_form.get());
    auto* popup = new TPopupCalculatorGx(owner);
    const HWND focused = GetFocus();
    const HWND active = GetActiveWindow();
    (void)SetWindowPos(popup->Handle(), HWND_TOPMOST, 100, 100, popup->Width(), popup->Height(),
                       SWP_SHOWWINDOW | SWP_NOACTIVATE);
    Pump();
    Click(*popup, POINT{20, 40});
    EXPECT_EQ(GetFocus(), focused);
    EXPECT_EQ(GetActiveWindow(), active);
    EXPECT_EQ(popup->DisplayText(), "7"); // the click still reached the key
    // The frame: a dark outer line.
    EXPECT_EQ(Shown(*popup, POINT{-2, -2}), SysRgb(COLOR_3DDKSHADOW));
}
