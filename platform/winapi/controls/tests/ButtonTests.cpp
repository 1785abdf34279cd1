#include "ButtonFixture.h"

#include "platform/winapi/user/Button.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/SysColors.h"

namespace {

constexpr RECT BUTTON_RECT{10, 10, 110, 40};
constexpr POINT MIDDLE{50, 15};

class ButtonTest : public ControlFixture {
protected:
    [[nodiscard]] int Clicks(HWND button) const
    {
        int count = 0;
        for (const ParentNotice& notice : Notices(WM_COMMAND))
            count += notice.control == button && notice.code == BN_CLICKED;
        return count;
    }
    [[nodiscard]] static LRESULT State(HWND button) { return SendMessageA(button, BM_GETSTATE, 0, 0); }
    [[nodiscard]] static LRESULT Check(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0); }
};

TEST_F(ButtonTest, AClickNotifiesTheParentOnceWithTheButtonsIdAndHandle)
{
    const HWND button = Control(WC_BUTTONA, "OK", BS_PUSHBUTTON, BUTTON_RECT, 7);
    Click(button, MIDDLE);
    const auto commands = Notices(WM_COMMAND);
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].code, BN_CLICKED);
    EXPECT_EQ(commands[0].value, 7);
    EXPECT_EQ(commands[0].control, button);
    EXPECT_EQ(GetFocus(), button);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(State(button) & BST_PUSHED, 0);
}

TEST_F(ButtonTest, TheMouseLeavingUnpressesAndReleasingOutsideDoesNotClick)
{
    const HWND button = Control(WC_BUTTONA, "OK", BS_PUSHBUTTON, BUTTON_RECT);
    Press(button, MIDDLE, true);
    Pump();
    EXPECT_EQ(GetCapture(), button);
    EXPECT_TRUE(State(button) & BST_PUSHED);

    MoveTo(button, POINT{150, 15}, true);
    Pump();
    EXPECT_FALSE(State(button) & BST_PUSHED);
    MoveTo(button, MIDDLE, true);
    Pump();
    EXPECT_TRUE(State(button) & BST_PUSHED);
    MoveTo(button, POINT{150, 15}, true);
    Press(button, POINT{150, 15}, false);
    Pump();
    EXPECT_EQ(Clicks(button), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(State(button) & BST_PUSHED);

    // Disabled while held, it lets go: no mouse-up would ever reach it.
    Press(button, MIDDLE, true);
    Pump();
    (void)EnableWindow(button, FALSE);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(State(button) & BST_PUSHED);
    Press(button, MIDDLE, false);
    Pump();
    EXPECT_EQ(Clicks(button), 0);
}

TEST_F(ButtonTest, TheSpaceBarPressesAndItsReleaseClicks)
{
    const HWND button = Control(WC_BUTTONA, "OK", BS_PUSHBUTTON, BUTTON_RECT);
    (void)SetFocus(button);
    Key(VK_SPACE, true);
    EXPECT_EQ(State(button) & (BST_PUSHED | BST_FOCUS), BST_PUSHED | BST_FOCUS);
    EXPECT_EQ(Clicks(button), 0);
    Key(VK_SPACE, false);
    EXPECT_EQ(Clicks(button), 1);
    EXPECT_EQ(State(button) & BST_PUSHED, 0);
}

TEST_F(ButtonTest, CheckBoxesCycleThroughTheirStatesAndPlainOnesLeaveItToTheParent)
{
    struct Case {
        DWORD style;
        std::vector<LRESULT> afterEachClick;
    };
    const Case cases[] = {
        {BS_AUTOCHECKBOX, {BST_CHECKED, BST_UNCHECKED, BST_CHECKED}},
        {BS_AUTO3STATE, {BST_CHECKED, BST_INDETERMINATE, BST_UNCHECKED}},
        {BS_CHECKBOX, {BST_UNCHECKED, BST_UNCHECKED}},
    };
    for (const Case& c : cases) {
        const HWND box = Control(WC_BUTTONA, "Check", c.style, BUTTON_RECT);
        for (std::size_t i = 0; i < c.afterEachClick.size(); ++i) {
            Click(box, POINT{5, 15});
            EXPECT_EQ(Check(box), c.afterEachClick[i]) << "style " << c.style << " click " << i;
        }
        EXPECT_EQ(Clicks(box), static_cast<int>(c.afterEachClick.size()));
        (void)DestroyWindow(box);
    }
    const HWND twoState = Control(WC_BUTTONA, "Check", BS_CHECKBOX, BUTTON_RECT);
    (void)SendMessageA(twoState, BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(Check(twoState), BST_CHECKED);
}

TEST_F(ButtonTest, AnAutoRadioButtonUnchecksTheOthersOfItsGroupOnly)
{
    const HWND a = Control(WC_BUTTONA, "A", BS_AUTORADIOBUTTON | WS_GROUP, {10, 10, 100, 30});
    const HWND b = Control(WC_BUTTONA, "B", BS_AUTORADIOBUTTON, {10, 40, 100, 60});
    const HWND c = Control(WC_BUTTONA, "C", BS_AUTORADIOBUTTON, {10, 70, 100, 90});
    const HWND other = Control(WC_BUTTONA, "D", BS_AUTORADIOBUTTON | WS_GROUP, {10, 100, 100, 120});
    (void)SendMessageA(a, BM_SETCHECK, BST_CHECKED, 0);
    (void)SendMessageA(other, BM_SETCHECK, BST_CHECKED, 0);

    Click(b, POINT{5, 10});
    EXPECT_EQ(Check(a), BST_UNCHECKED);
    EXPECT_EQ(Check(b), BST_CHECKED);
    EXPECT_EQ(Check(c), BST_UNCHECKED);
    EXPECT_EQ(Check(other), BST_CHECKED);
    // The checked radio button is the group's tab stop.
    EXPECT_TRUE(GetWindowLongA(b, GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongA(a, GWL_STYLE) & WS_TABSTOP);
    EXPECT_EQ(Clicks(b), 1);
}

TEST_F(ButtonTest, DialogCodesFollowTheType)
{
    const std::pair<DWORD, LRESULT> cases[] = {
        {BS_PUSHBUTTON, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_DEFPUSHBUTTON, DLGC_BUTTON | DLGC_DEFPUSHBUTTON},
        {BS_OWNERDRAW, DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON},
        {BS_AUTOCHECKBOX, DLGC_BUTTON},
        {BS_AUTORADIOBUTTON, DLGC_BUTTON | DLGC_RADIOBUTTON},
        {BS_GROUPBOX, DLGC_STATIC},
    };
    for (const auto& [style, code] : cases) {
        const HWND button = Control(WC_BUTTONA, "X", style, BUTTON_RECT);
        EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), code) << "style " << style;
        (void)DestroyWindow(button);
    }
    const HWND button = Control(WC_BUTTONA, "X", BS_PUSHBUTTON | BS_MULTILINE, BUTTON_RECT);
    (void)SendMessageA(button, BM_SETSTYLE, BS_DEFPUSHBUTTON, TRUE);
    EXPECT_EQ(GetWindowLongA(button, GWL_STYLE) & (BS_TYPEMASK | BS_MULTILINE), BS_DEFPUSHBUTTON | BS_MULTILINE);
    EXPECT_EQ(SendMessageA(button, WM_GETDLGCODE, 0, 0), DLGC_BUTTON | DLGC_DEFPUSHBUTTON);
}

TEST_F(ButtonTest, OwnerDrawnButtonsAskTheParentWithTheirStates)
{
    const HWND button = Control(WC_BUTTONA, "", BS_OWNERDRAW, BUTTON_RECT, 9);
    ASSERT_FALSE(Notices(WM_DRAWITEM).empty());
    EXPECT_EQ(Notices(WM_DRAWITEM).back().itemState, 0u);
    EXPECT_EQ(Notices(WM_DRAWITEM).back().value, 9);
    EXPECT_EQ(Notices(WM_DRAWITEM).back().code, ODA_DRAWENTIRE);

    Press(button, MIDDLE, true);
    Pump();
    EXPECT_EQ(Notices(WM_DRAWITEM).back().itemState, ODS_SELECTED | ODS_FOCUS);
    Press(button, MIDDLE, false);
    Pump();
    EXPECT_EQ(Notices(WM_DRAWITEM).back().itemState, static_cast<UINT>(ODS_FOCUS));
    EXPECT_EQ(Notices(WM_DRAWITEM).back().control, button);

    (void)SetFocus(m_parent);
    (void)EnableWindow(button, FALSE);
    Pump();
    EXPECT_EQ(Notices(WM_DRAWITEM).back().itemState, static_cast<UINT>(ODS_DISABLED));
}

TEST_F(ButtonTest, FocusNoticesOnlyWithBsNotify)
{
    const HWND quiet = Control(WC_BUTTONA, "Q", BS_PUSHBUTTON, {10, 10, 60, 30});
    const HWND notifying = Control(WC_BUTTONA, "N", BS_PUSHBUTTON | BS_NOTIFY, {10, 40, 60, 60}, 2);
    (void)SetFocus(quiet);
    (void)SetFocus(notifying);
    (void)SetFocus(quiet);
    std::vector<WORD> codes;
    for (const ParentNotice& notice : Notices(WM_COMMAND))
        codes.push_back(notice.code);
    EXPECT_EQ(codes, (std::vector<WORD>{BN_SETFOCUS, BN_KILLFOCUS}));
}

TEST_F(ButtonTest, ADisabledButtonIgnoresInputAndDrawsItsCaptionGrey)
{
    const HWND button = Control(WC_BUTTONA, "MMMMMMMM", BS_PUSHBUTTON | WS_DISABLED, BUTTON_RECT);
    Click(button, MIDDLE);
    (void)SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(Clicks(button), 0);
    EXPECT_NE(GetFocus(), button);

    bool grey = false;
    bool black = false;
    for (int y = 5; y < 25; ++y)
        for (int x = 10; x < 90; ++x) {
            const std::uint32_t pixel = Shown(button, POINT{x, y});
            grey = grey || pixel == Rgb(GetSysColor(COLOR_GRAYTEXT));
            black = black || pixel == Rgb(GetSysColor(COLOR_BTNTEXT));
        }
    EXPECT_TRUE(grey);
    EXPECT_FALSE(black);
}

// The classic raised edge is light at the top left and dark at the bottom right; held down, the
// button is framed in black with a flat shadow line inside, the same on every side.
TEST_F(ButtonTest, APressedButtonIsFramedInBlackWithAFlatShadowInside)
{
    const HWND button = Control(WC_BUTTONA, "", BS_PUSHBUTTON, BUTTON_RECT);
    const auto brightness = [&](POINT point) {
        const std::uint32_t pixel = Shown(button, point);
        return ((pixel >> 16) & 0xFF) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF);
    };
    EXPECT_GT(brightness({0, 0}), brightness({99, 29}));
    Press(button, MIDDLE, true);
    Pump();
    for (const POINT corner : {POINT{0, 0}, POINT{99, 29}, POINT{0, 29}, POINT{99, 0}})
        EXPECT_EQ(Shown(button, corner), Rgb(GetSysColor(COLOR_WINDOWFRAME)));
    for (const POINT inside : {POINT{1, 1}, POINT{98, 28}, POINT{1, 28}, POINT{98, 1}})
        EXPECT_EQ(Shown(button, inside), Rgb(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(Shown(button, {2, 2}), Rgb(GetSysColor(COLOR_BTNFACE)));
    Press(button, MIDDLE, false);
    Pump();
    EXPECT_GT(brightness({0, 0}), brightness({99, 29}));
}

TEST_F(ButtonTest, RepaintsItsNewAreaWhenResizedAndWhenUncovered)
{
    const HWND button = Control(WC_BUTTONA, "", BS_PUSHBUTTON, BUTTON_RECT);
    const std::uint32_t dark = Shown(button, POINT{99, 29});
    (void)SetWindowPos(button, nullptr, 0, 0, 150, 50, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(Shown(button, POINT{149, 49}), dark);
    EXPECT_NE(Shown(button, POINT{99, 29}), dark);

    const HWND cover = Control(WC_BUTTONA, "", BS_GROUPBOX, {0, 0, 200, 200});
    (void)SetWindowPos(cover, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Pump();
    (void)DestroyWindow(cover);
    Pump();
    EXPECT_EQ(Shown(button, POINT{149, 49}), dark);
}

TEST_F(ButtonTest, CheckBoxesTakeTheirBackgroundFromTheParent)
{
    Record().staticBrush = CreateSolidBrush(RGB(0, 128, 0));
    const HWND box = Control(WC_BUTTONA, "Check", BS_AUTOCHECKBOX, BUTTON_RECT);
    EXPECT_EQ(Shown(box, POINT{90, 2}), 0x008000u);
    // The box itself stays white.
    EXPECT_EQ(Shown(box, POINT{6, 15}), Rgb(GetSysColor(COLOR_WINDOW)));
}

} // namespace
