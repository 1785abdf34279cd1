#include "ListBoxFixture.h"

#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/gdi/Gdi.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <algorithm>
#include <string>

namespace {

using Codes = std::vector<WORD>;

COMBOBOXINFO Info(HWND combo)
{
    COMBOBOXINFO info{};
    info.cbSize = sizeof(info);
    EXPECT_TRUE(GetComboBoxInfo(combo, &info));
    return info;
}

bool Dropped(HWND combo) { return SendMessageA(combo, CB_GETDROPPEDSTATE, 0, 0) != FALSE; }
int Selected(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

std::string Text(HWND hwnd)
{
    char buffer[128] = {};
    (void)GetWindowTextA(hwnd, buffer, sizeof(buffer));
    return buffer;
}

POINT ListItemCentre(HWND list, int index)
{
    RECT rect{};
    (void)SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

class ComboTest : public ListTest {
protected:
    HWND DropDownList(DWORD extraStyle = 0)
    {
        m_combo = MakeCombo(CBS_DROPDOWNLIST | extraStyle);
        Fill(m_combo, CB_ADDSTRING, {"red", "green", "blue", "cyan", "magenta"});
        m_list = Info(m_combo).hwndList;
        return m_combo;
    }

    void ClickButton() { Click(m_combo, POINT{Info(m_combo).rcButton.left + 3, 5}); }

    HWND m_combo = nullptr;
    HWND m_list = nullptr;
};

// The lowest row of text ink in a window, in window coordinates: the baseline of a text without
// descenders.
int Baseline(HeadlessDisplay& display, HWND hwnd, POINT clientOrigin)
{
    RECT client{};
    (void)GetClientRect(hwnd, &client);
    int baseline = -1;
    for (int y = 0; y < client.bottom; ++y)
        for (int x = 0; x < client.right / 2; ++x)
            if (ShownPixel(display, hwnd, POINT{x, y}) == RgbOf(GetSysColor(COLOR_WINDOWTEXT)))
                baseline = y + clientOrigin.y;
    return baseline;
}

// A drop-down list beside a sunken edit of the classic 21 pixels: same height, same baseline.
TEST_F(ComboTest, ADropDownListLinesUpWithASunkenEditBesideIt)
{
    DropDownList();
    const auto font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    (void)SendMessageA(m_combo, WM_SETFONT, font, TRUE);
    (void)SendMessageA(m_combo, CB_SETCURSEL, 0, 0);
    RECT combo{};
    (void)GetWindowRect(m_combo, &combo);
    EXPECT_EQ(combo.bottom - combo.top, 21);
    const HWND edit = MakeChild(m_host, "Edit", "red", 0, {170, 10, 320, 10 + combo.bottom - combo.top}, 2, WS_EX_CLIENTEDGE);
    (void)SendMessageA(edit, WM_SETFONT, font, TRUE);
    PumpMessages();
    const int comboBaseline = Baseline(*m_display, m_combo, POINT{0, 0});
    const int editBaseline = Baseline(*m_display, edit, POINT{2, 2});
    EXPECT_GT(comboBaseline, 0);
    EXPECT_EQ(comboBaseline, editBaseline);
}

TEST_F(ComboTest, ClickDropsTheListWithoutTakingFocusOrActivation)
{
    DropDownList();
    ClickButton();
    ASSERT_TRUE(Dropped(m_combo));
    EXPECT_TRUE(IsWindowVisible(m_list));
    EXPECT_EQ(GetFocus(), m_combo);
    EXPECT_EQ(GetActiveWindow(), m_host);
    EXPECT_EQ(m_display->ActiveWindow(), reinterpret_cast<WindowId>(m_host));
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SETFOCUS, CBN_DROPDOWN}));
    constexpr LRESULT wantsAllKeys = 0x0004;
    EXPECT_TRUE(SendMessageA(m_combo, WM_GETDLGCODE, 0, 0) & wantsAllKeys) << "Enter and Escape are the list's now";

    RECT combo{}, list{}, reported{};
    (void)GetWindowRect(m_combo, &combo);
    (void)GetWindowRect(m_list, &list);
    (void)SendMessageA(m_combo, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&reported));
    EXPECT_EQ(list.top, combo.bottom);
    EXPECT_EQ(list.left, combo.left);
    EXPECT_TRUE(EqualRect(&list, &reported));

    Forget();
    Click(m_list, ListItemCentre(m_list, 2));
    EXPECT_FALSE(Dropped(m_combo));
    EXPECT_FALSE(IsWindowVisible(m_list));
    EXPECT_EQ(Selected(m_combo), 2);
    EXPECT_EQ(Text(m_combo), "blue");
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELENDOK, CBN_CLOSEUP, CBN_SELCHANGE}));
    EXPECT_EQ(GetFocus(), m_combo);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ComboTest, AParentThatDestroysTheComboWhileItClosesIsSafe)
{
    for (const WORD fatal : {WORD{CBN_SELENDOK}, WORD{CBN_CLOSEUP}, WORD{CBN_SELCHANGE}}) {
        DropDownList();
        const HWND combo = m_combo;
        Host().react = [fatal](HWND from, WORD code) {
            if (code == fatal)
                (void)DestroyWindow(from);
        };
        ClickButton();
        ASSERT_TRUE(Dropped(combo));
        Click(m_list, ListItemCentre(m_list, 2));
        EXPECT_FALSE(IsWindow(combo)) << fatal;
        EXPECT_EQ(GetCapture(), nullptr) << fatal;
        Host().react = nullptr;
    }
}

// The dropped list holds the mouse, so a press on its scroll bar comes to it as a client press; it
// goes to the scroll bar, and the list stays open and takes the mouse back.
TEST_F(ComboTest, ADroppedListsThumbDragsWithoutClosingTheList)
{
    m_combo = MakeCombo(CBS_DROPDOWNLIST);
    for (int i = 0; i < 60; ++i)
        (void)SendMessageA(m_combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(i)).c_str()));
    m_list = Info(m_combo).hwndList;
    ClickButton();
    ASSERT_TRUE(Dropped(m_combo));
    SCROLLBARINFO bar{};
    bar.cbSize = sizeof bar;
    ASSERT_TRUE(GetScrollBarInfo(m_list, OBJID_VSCROLL, &bar));
    POINT thumb{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2,
                bar.rcScrollBar.top + (bar.xyThumbTop + bar.xyThumbBottom) / 2};
    (void)ScreenToClient(m_list, &thumb);
    const POINT to{thumb.x, thumb.y + 40};
    // The whole drag is queued first: the scroll bar follows it in a loop of its own.
    m_display->InjectMouseButton(TopLevelId(m_list), InTopLevel(m_list, thumb), MouseButton::Left, true);
    m_display->InjectMouseMove(TopLevelId(m_list), InTopLevel(m_list, to));
    m_display->InjectMouseButton(TopLevelId(m_list), InTopLevel(m_list, to), MouseButton::Left, false);
    Pump();
    EXPECT_TRUE(Dropped(m_combo));
    EXPECT_GT(SendMessageA(m_list, LB_GETTOPINDEX, 0, 0), 0);
    EXPECT_EQ(GetCapture(), m_list);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Dropped(m_combo));
}

TEST_F(ComboTest, EscapeAndOutsideClicksCancelWhatHoveringSelected)
{
    DropDownList();
    (void)SendMessageA(m_combo, CB_SETCURSEL, 1, 0);
    (void)SetFocus(m_combo);
    Key(VK_F4);
    ASSERT_TRUE(Dropped(m_combo));
    MoveMouse(m_list, ListItemCentre(m_list, 3));
    EXPECT_EQ(Selected(m_combo), 3) << "hovering moves the list's selection";
    Forget();
    Key(VK_ESCAPE);
    EXPECT_FALSE(Dropped(m_combo));
    EXPECT_EQ(Selected(m_combo), 1);
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELENDCANCEL, CBN_CLOSEUP}));

    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Dropped(m_combo));
    Forget();
    Click(m_host, POINT{300, 250});
    EXPECT_FALSE(Dropped(m_combo));
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELENDCANCEL, CBN_CLOSEUP}));
    EXPECT_EQ(GetFocus(), m_combo) << "the click that closed the list went nowhere else";

    Key(VK_F4);
    Key(VK_DOWN);
    Forget();
    Key(VK_RETURN);
    EXPECT_EQ(Selected(m_combo), 2) << "keys move the selection of the dropped list; Enter keeps it";
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELENDOK, CBN_CLOSEUP}));
}

TEST_F(ComboTest, ClosedDropDownListSelectsWithKeysAndTyping)
{
    DropDownList();
    (void)SetFocus(m_combo);
    struct Step {
        unsigned key;
        int selected;
    };
    const Step steps[] = {{VK_DOWN, 0}, {VK_DOWN, 1}, {VK_END, 4}, {VK_UP, 3}, {VK_HOME, 0}, {VK_NEXT, 4}};
    for (const Step& step : steps) {
        Forget();
        Key(step.key);
        EXPECT_EQ(Selected(m_combo), step.selected) << "key " << step.key;
        EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELCHANGE})) << "key " << step.key;
        EXPECT_FALSE(Dropped(m_combo));
    }
    Forget();
    Type("g");
    EXPECT_EQ(Text(m_combo), "green");
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_SELCHANGE}));
    EXPECT_EQ(SendMessageA(m_combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("CYAN")), TRUE);
    EXPECT_EQ(Selected(m_combo), 3) << "a drop-down list's text picks its item";
    EXPECT_EQ(SendMessageA(m_combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("black")), CB_ERR);
}

TEST_F(ComboTest, InfoDescribesTheFieldButtonAndParts)
{
    DropDownList();
    const COMBOBOXINFO info = Info(m_combo);
    RECT client{};
    (void)GetClientRect(m_combo, &client);
    EXPECT_EQ(info.hwndCombo, m_combo);
    EXPECT_EQ(info.hwndItem, m_combo) << "a drop-down list has no edit";
    char name[32] = {};
    (void)GetClassNameA(info.hwndList, name, sizeof(name));
    EXPECT_STREQ(name, "ComboLBox");
    EXPECT_TRUE(GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_POPUP);
    EXPECT_EQ(info.rcButton.right, client.right - 2);
    EXPECT_EQ(info.rcButton.right - info.rcButton.left, GetSystemMetrics(SM_CXVSCROLL));
    EXPECT_LE(info.rcItem.right, info.rcButton.left);
    EXPECT_EQ(info.stateButton, 0U);
    EXPECT_EQ(client.bottom, SendMessageA(m_combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0) + 6)
        << "the height given at creation is the list's, not the field's";

    COMBOBOXINFO wrongSize{};
    wrongSize.cbSize = 12;
    EXPECT_FALSE(GetComboBoxInfo(m_combo, &wrongSize));
    COMBOBOXINFO notCombo{};
    notCombo.cbSize = sizeof(notCombo);
    EXPECT_FALSE(GetComboBoxInfo(m_host, &notCombo));
}

TEST_F(ComboTest, ScrollBarStylesNeverFrameTheCombosOwnWindow)
{
    // The class library asks for WS_VSCROLL on every combo, meaning its list: the combo's own
    // window keeps its whole width for the field and button.
    const HWND combo = MakeCombo(CBS_DROPDOWNLIST | WS_VSCROLL, {200, 10, 330, 150});
    RECT window{};
    (void)GetWindowRect(combo, &window);
    RECT client{};
    (void)GetClientRect(combo, &client);
    EXPECT_EQ(client.right, window.right - window.left);
    EXPECT_FALSE(GetWindowLongPtrA(combo, GWL_STYLE) & WS_VSCROLL);
}

TEST_F(ComboTest, OwnerDrawnCombosDrawFieldAndItemsInTheirOwnName)
{
    Host().heights = [](UINT) { return 18U; };
    DropDownList(CBS_OWNERDRAWFIXED | CBS_HASSTRINGS);
    (void)SendMessageA(m_combo, CB_SETCURSEL, 1, 0);
    Pump();
    Host().draws.clear();
    (void)InvalidateRect(m_combo, nullptr, TRUE);
    (void)UpdateWindow(m_combo);
    ASSERT_EQ(Host().draws.size(), 1U);
    EXPECT_EQ(Host().draws[0].itemID, 1U);
    EXPECT_EQ(Host().draws[0].CtlType, ODT_COMBOBOX);
    EXPECT_EQ(Host().draws[0].hwndItem, m_combo);
    EXPECT_TRUE(Host().draws[0].itemState & ODS_COMBOBOXEDIT);

    Host().draws.clear();
    (void)SendMessageA(m_combo, CB_SHOWDROPDOWN, TRUE, 0);
    (void)UpdateWindow(m_list);
    ASSERT_EQ(Host().draws.size(), 5U);
    EXPECT_EQ(Host().draws[1].hwndItem, m_combo);
    EXPECT_EQ(Host().draws[1].CtlID, static_cast<UINT>(CONTROL_ID));
    EXPECT_EQ(Host().draws[1].itemState & ODS_SELECTED, ODS_SELECTED);
    EXPECT_EQ(Host().draws[1].rcItem.top, 18);
    EXPECT_EQ(SendMessageA(m_combo, CB_GETITEMHEIGHT, 0, 0), 18);
}

class EditComboTest : public ComboTest {
protected:
    void SetUp() override
    {
        ComboTest::SetUp();
        m_combo = MakeCombo(CBS_DROPDOWN | CBS_AUTOHSCROLL);
        Fill(m_combo, CB_ADDSTRING, {"alpha", "beta", "gamma"});
        m_list = Info(m_combo).hwndList;
        m_edit = Info(m_combo).hwndItem;
    }

    HWND m_edit = nullptr;
};

TEST_F(EditComboTest, TheEditKeepsTheFocusWhileTheListIsOpen)
{
    ASSERT_NE(m_edit, m_combo);
    Click(m_combo, POINT{Info(m_combo).rcButton.left + 3, 5});
    EXPECT_TRUE(Dropped(m_combo));
    EXPECT_EQ(GetFocus(), m_edit);
    Click(m_list, ListItemCentre(m_list, 1));
    EXPECT_EQ(Text(m_edit), "beta");
    EXPECT_EQ(GetFocus(), m_edit);

    Forget();
    Key(VK_F4);
    EXPECT_TRUE(Dropped(m_combo)) << "F4 in the edit drops the list";
    Key(VK_ESCAPE);
    EXPECT_FALSE(Dropped(m_combo));
    EXPECT_EQ(Notifications(m_combo), (Codes{CBN_DROPDOWN, CBN_SELENDCANCEL, CBN_CLOSEUP}));
}

TEST_F(EditComboTest, TypingReportsEditChanges)
{
    (void)SetFocus(m_edit);
    Forget();
    Type("x");
    EXPECT_EQ(Text(m_combo), "x");
    const Codes codes = Notifications(m_combo);
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_EDITCHANGE), codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_EDITUPDATE), codes.end());
    Key(VK_DOWN);
    EXPECT_EQ(Text(m_combo), "alpha") << "arrows in the edit step through the items";
    EXPECT_EQ(SendMessageA(m_combo, CB_GETEDITSEL, 0, 0), MAKELONG(0, 5)) << "a chosen item's text is selected";
    EXPECT_EQ(SendMessageA(m_combo, CB_SETEDITSEL, 0, MAKELPARAM(1, 3)), TRUE);
    EXPECT_EQ(SendMessageA(m_combo, CB_GETEDITSEL, 0, 0), MAKELONG(1, 3));

    (void)SendMessageA(m_combo, CB_LIMITTEXT, 6, 0);
    (void)SendMessageA(m_combo, CB_SETEDITSEL, 0, MAKELPARAM(5, 5));
    Type("xyz");
    EXPECT_EQ(Text(m_combo), "alphax") << "the edit takes no more than the limit";
}

// A disabled combo's text is grey, whether its field is an edit or drawn by the combo, and
// whether it was made disabled or disabled later; the parent's colours, as a form gives them,
// do not make it black.
TEST_F(EditComboTest, ADisabledCombosTextIsGrey)
{
    Host().colours = [](HDC dc) {
        (void)SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        return GetSysColorBrush(COLOR_WINDOW);
    };
    for (const DWORD kind : {CBS_DROPDOWN, CBS_DROPDOWNLIST})
        for (const bool madeDisabled : {true, false}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind
                                            << (madeDisabled ? " made disabled" : " disabled later"));
            const int left = madeDisabled ? 170 : 285;
            const int top = kind == CBS_DROPDOWN ? 10 : 60;
            const HWND combo = MakeCombo(kind | (madeDisabled ? WS_DISABLED : 0), {left, top, left + 110, top + 140});
            Fill(combo, CB_ADDSTRING, {"grey"});
            (void)SendMessageA(combo, CB_SETCURSEL, 0, 0);
            (void)EnableWindow(combo, FALSE);
            const HWND field = kind == CBS_DROPDOWN ? Info(combo).hwndItem : combo;
            (void)RedrawWindow(combo, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
            Pump();
            RECT client{};
            (void)GetClientRect(field, &client);
            int greyInk = 0;
            int blackInk = 0;
            for (int y = 0; y < client.bottom; ++y)
                for (int x = 0; x < client.right - 20; ++x) {
                    const std::uint32_t pixel = ShownPixel(*m_display, field, POINT{x, y});
                    greyInk += pixel == RgbOf(GetSysColor(COLOR_GRAYTEXT));
                    blackInk += pixel == RgbOf(GetSysColor(COLOR_WINDOWTEXT));
                }
            EXPECT_GT(greyInk, 5);
            EXPECT_EQ(blackInk, 0);
        }
}

TEST_F(EditComboTest, ASimpleComboShowsItsListBelowTheEdit)
{
    const HWND simple = MakeCombo(CBS_SIMPLE, {200, 10, 330, 150});
    Fill(simple, CB_ADDSTRING, {"one", "two", "three"});
    const COMBOBOXINFO info = Info(simple);
    EXPECT_EQ(info.stateButton, static_cast<DWORD>(STATE_SYSTEM_INVISIBLE));
    EXPECT_TRUE(IsRectEmpty(&info.rcButton));
    EXPECT_TRUE(GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));
    RECT combo{}, list{};
    (void)GetClientRect(simple, &combo);
    EXPECT_EQ(combo.bottom, 140) << "a simple combo keeps the height it was given";
    (void)GetWindowRect(info.hwndList, &list);
    (void)MapWindowPoints(nullptr, simple, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(list.top, info.rcItem.bottom);
    EXPECT_EQ(list.bottom, combo.bottom);
    // The edit and the list sit in sunken edges, as in the classic look, not in black borders.
    Pump();
    EXPECT_FALSE(GetWindowLongPtrA(info.hwndItem, GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongPtrA(info.hwndList, GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(GetWindowLongPtrA(info.hwndList, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    for (const POINT& corner : {POINT{0, 0}, POINT{0, list.top}})
        EXPECT_EQ(ShownPixel(*m_display, simple, corner), RgbOf(GetSysColor(COLOR_BTNSHADOW))) << corner.y;
    EXPECT_EQ(ShownPixel(*m_display, simple, POINT{1, 1}), RgbOf(GetSysColor(COLOR_3DDKSHADOW)));
    // The combo painting itself again leaves the list's edge alone.
    (void)InvalidateRect(simple, nullptr, TRUE);
    Pump();
    EXPECT_EQ(ShownPixel(*m_display, simple, POINT{0, list.top}), RgbOf(GetSysColor(COLOR_BTNSHADOW)));

    // Made too short for a row, the list does not show a strip of its edge.
    (void)SetWindowPos(simple, nullptr, 0, 0, 130, info.rcItem.bottom + 4, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_FALSE(IsWindowVisible(info.hwndList));
    (void)SetWindowPos(simple, nullptr, 0, 0, 130, 140, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(IsWindowVisible(info.hwndList));

    Forget();
    Click(info.hwndList, ListItemCentre(info.hwndList, 2));
    EXPECT_EQ(Text(simple), "three");
    EXPECT_EQ(GetFocus(), info.hwndItem);
    const Codes codes = Notifications(simple);
    EXPECT_NE(std::find(codes.begin(), codes.end(), CBN_SELCHANGE), codes.end());
    EXPECT_EQ(std::find(codes.begin(), codes.end(), CBN_DROPDOWN), codes.end());
    Key(VK_F4);
    EXPECT_FALSE(Dropped(simple)) << "a simple combo has nothing to drop";
}

} // namespace
