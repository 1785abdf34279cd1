#include "ListBoxFixture.h"

#include "platform/winapi/gdi/SysColors.h"
#include "platform/winapi/kernel/Clock.h"
#include "tests/support/windows/HeadlessWindows.h"

namespace {

using Codes = std::vector<WORD>;

int ItemHeight(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0)); }
int Selected(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0)); }
int Top(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0)); }

POINT Centre(HWND list, int index)
{
    RECT rect{};
    (void)SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// A list of `count` numbered items showing exactly `visible` of them.
HWND NumberedList(HWND list, int count, int visible)
{
    for (int i = 0; i < count; ++i)
        (void)SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(("item " + std::to_string(100 + i)).c_str()));
    RECT window{}, client{};
    (void)GetWindowRect(list, &window);
    (void)GetClientRect(list, &client);
    const int frame = (window.bottom - window.top) - client.bottom;
    (void)SetWindowPos(list, nullptr, 0, 0, window.right - window.left, visible * ItemHeight(list) + frame,
                       SWP_NOMOVE | SWP_NOZORDER);
    return list;
}

TEST_F(ListTest, ClickSelectsTakesFocusAndReportsEachChangeOnce)
{
    const HWND list = MakeList(LBS_NOTIFY | WS_BORDER);
    Fill(list, LB_ADDSTRING, {"one", "two", "three", "four"});
    Click(list, Centre(list, 2));
    EXPECT_EQ(Selected(list), 2);
    EXPECT_EQ(GetFocus(), list);
    EXPECT_EQ(Notifications(list), (Codes{LBN_SETFOCUS, LBN_SELCHANGE}));

    Forget();
    const POINT again = Centre(list, 2);
    Click(list, POINT{again.x + 20, again.y});  // far enough not to be a double click
    EXPECT_TRUE(Notifications(list).empty()) << "the same item again is no change";

    Forget();
    const HWND quiet = MakeList(WS_BORDER, {200, 10, 300, 100});
    Fill(quiet, LB_ADDSTRING, {"a", "b"});
    Click(quiet, Centre(quiet, 1));
    EXPECT_EQ(Selected(quiet), 1);
    EXPECT_TRUE(Notifications(quiet).empty()) << "without LBS_NOTIFY the parent hears nothing";
    EXPECT_EQ(Notifications(list), (Codes{LBN_KILLFOCUS}));
}

TEST_F(ListTest, AParentThatDestroysTheListOnItsNotificationIsSafe)
{
    const HWND list = MakeList(LBS_NOTIFY);
    Fill(list, LB_ADDSTRING, {"red", "green", "blue"});
    Host().react = [](HWND from, WORD code) {
        if (code == LBN_SELCHANGE)
            (void)DestroyWindow(from);
    };
    RECT item{};
    (void)SendMessageA(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&item));
    Click(list, POINT{item.left + 5, (item.top + item.bottom) / 2});
    EXPECT_FALSE(IsWindow(list));
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ListTest, KeysMoveTheSelectionAndKeepItInView)
{
    const HWND list = NumberedList(MakeList(LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL), 20, 5);
    (void)SetFocus(list);
    struct Step {
        unsigned key;
        int selected;
        int top;
    };
    const Step steps[] = {{VK_DOWN, 0, 0}, {VK_DOWN, 1, 0}, {VK_END, 19, 15}, {VK_UP, 18, 15},
                          {VK_HOME, 0, 0}, {VK_NEXT, 4, 0}, {VK_NEXT, 8, 4}, {VK_PRIOR, 4, 4}};
    for (const Step& step : steps) {
        Key(step.key);
        EXPECT_EQ(Selected(list), step.selected) << "key " << step.key;
        EXPECT_EQ(Top(list), step.top) << "key " << step.key;
    }
    Forget();
    Key(VK_HOME);
    Key(VK_UP);
    EXPECT_EQ(Selected(list), 0);
    EXPECT_EQ(Notifications(list), (Codes{LBN_SELCHANGE})) << "a key that moves nothing reports nothing";
}

TEST_F(ListTest, TypedCharactersSearchByPrefixUntilTheyPause)
{
    FakeClock clock;
    const HWND list = MakeList(LBS_NOTIFY);
    Fill(list, LB_ADDSTRING, {"apple", "banana", "blueberry", "Bluebell", "cherry"});
    (void)SetFocus(list);
    Type("b");
    EXPECT_EQ(Selected(list), 1);
    Type("l");
    EXPECT_EQ(Selected(list), 2) << "\"bl\" goes on from the current item";
    Type("UEBEL");
    EXPECT_EQ(Selected(list), 3) << "the prefix ignores case";

    clock.Advance(LISTBOX_TYPEAHEAD_MS + 1);
    Type("c");
    EXPECT_EQ(Selected(list), 4) << "after a pause the search starts over";
    clock.Advance(LISTBOX_TYPEAHEAD_MS + 1);
    Type("bb");
    EXPECT_EQ(Selected(list), 2) << "the same letter again steps to the next item starting with it";
    Type("x");
    EXPECT_EQ(Selected(list), 2) << "no match leaves the selection";
}

TEST_F(ListTest, SortedListsInsertInOrderAndSearchWithoutCase)
{
    const HWND list = MakeList(LBS_SORT);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("pear")), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Apple")), 0);
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("banana")), 1);
    EXPECT_EQ(SendMessageA(list, LB_INSERTSTRING, 0, reinterpret_cast<LPARAM>("zebra")), 0) << "inserting never sorts";
    EXPECT_EQ(ItemText(list, LB_GETTEXT, 1), "Apple");
    EXPECT_EQ(ItemText(list, LB_GETTEXT, 3), "pear");
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 2, 0), 6);

    const auto find = [&](UINT message, int start, const char* text) {
        return SendMessageA(list, message, static_cast<WPARAM>(start), reinterpret_cast<LPARAM>(text));
    };
    EXPECT_EQ(find(LB_FINDSTRING, -1, "APP"), 1);
    EXPECT_EQ(find(LB_FINDSTRING, 1, "z"), 0) << "the search wraps round";
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "BANANA"), 2);
    EXPECT_EQ(find(LB_FINDSTRINGEXACT, -1, "ban"), LB_ERR);
    EXPECT_EQ(find(LB_SELECTSTRING, -1, "pe"), 3);
    EXPECT_EQ(Selected(list), 3);

    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 0, 0), 3);
    EXPECT_EQ(Selected(list), 2) << "the selection follows its item";
    EXPECT_EQ(SendMessageA(list, LB_DELETESTRING, 9, 0), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETITEMDATA, 1, 42), TRUE);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 1, 0), 42);
    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 7, 0), LB_ERR);
    EXPECT_EQ(Selected(list), -1);
    (void)SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
}

TEST_F(ListTest, OwnerDrawFixedAsksTheHeightOnceAndDrawsItemStates)
{
    Host().heights = [](UINT) { return 20U; };
    const HWND list = MakeList(LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT);
    ASSERT_EQ(Host().measures.size(), 1U);
    EXPECT_EQ(Host().measures[0].CtlType, ODT_LISTBOX);
    EXPECT_EQ(ItemHeight(list), 20);
    Fill(list, LB_ADDSTRING, {"a", "b", "c"});
    EXPECT_EQ(Host().measures.size(), 1U) << "fixed heights are not asked per item";
    EXPECT_EQ(ItemText(list, LB_GETTEXT, 1), "b");

    (void)SetFocus(list);
    (void)SendMessageA(list, LB_SETCURSEL, 1, 0);
    Pump();
    Host().draws.clear();
    (void)InvalidateRect(list, nullptr, TRUE);
    (void)UpdateWindow(list);
    ASSERT_EQ(Host().draws.size(), 3U);
    for (UINT i = 0; i < 3; ++i) {
        const DRAWITEMSTRUCT& draw = Host().draws[i];
        EXPECT_EQ(draw.itemID, i);
        EXPECT_EQ(draw.CtlType, ODT_LISTBOX);
        EXPECT_EQ(draw.CtlID, static_cast<UINT>(CONTROL_ID));
        EXPECT_EQ(draw.hwndItem, list);
        EXPECT_EQ(draw.itemAction, ODA_DRAWENTIRE);
        EXPECT_EQ(draw.rcItem.top, static_cast<LONG>(20 * i));
        EXPECT_EQ(draw.itemState, i == 1 ? ODS_SELECTED | ODS_FOCUS : 0U) << "item " << i;
    }
}

TEST_F(ListTest, OwnerDrawVariableItemsStackByTheirMeasuredHeights)
{
    Host().heights = [](UINT item) { return 10 + 5 * item; };
    const HWND list = MakeList(LBS_OWNERDRAWVARIABLE | LBS_NOINTEGRALHEIGHT, {10, 10, 110, 60});
    for (ULONG_PTR data = 0; data < 4; ++data)
        (void)SendMessageA(list, LB_ADDSTRING, 0, static_cast<LPARAM>(data + 100));
    ASSERT_EQ(Host().measures.size(), 4U);
    EXPECT_EQ(Host().measures[2].itemData, 102U) << "without strings the item is its data";
    EXPECT_EQ(SendMessageA(list, LB_GETITEMDATA, 3, 0), 103);
    EXPECT_EQ(SendMessageA(list, LB_GETITEMHEIGHT, 2, 0), 20);

    RECT rect{};
    (void)SendMessageA(list, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.top, 25);
    EXPECT_EQ(rect.bottom, 45);
    EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 30)), 2);
    EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, 60)), MAKELONG(3, 1))
        << "past the client area the nearest item comes with the outside flag";
}

TEST_F(ListTest, VirtualListsKnowOnlyTheirCount)
{
    Host().heights = [](UINT) { return 16U; };
    const HWND list = MakeList(LBS_NODATA | LBS_OWNERDRAWFIXED | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, {10, 10, 160, 90});
    EXPECT_EQ(SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("x")), LB_ERR);
    EXPECT_EQ(SendMessageA(list, LB_SETCOUNT, 100000, 0), LB_OKAY);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 100000);
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 500, 0), LB_OKAY);
    Pump();
    Host().draws.clear();
    (void)InvalidateRect(list, nullptr, TRUE);
    (void)UpdateWindow(list);
    ASSERT_FALSE(Host().draws.empty());
    EXPECT_EQ(Host().draws.front().itemID, 500U) << "only the items in view are drawn";
    EXPECT_LE(Host().draws.size(), 6U);

    (void)SendMessageA(list, LB_SETTOPINDEX, 99999, 0);
    EXPECT_EQ(Top(list), 100000 - 5) << "the last page stays full";
    const HWND plain = MakeList(0, {200, 10, 300, 100});
    EXPECT_EQ(SendMessageA(plain, LB_SETCOUNT, 5, 0), LB_ERR) << "only virtual lists take a count";
}

TEST_F(ListTest, TopIndexFollowsTheScrollBar)
{
    const HWND list = NumberedList(MakeList(LBS_NOINTEGRALHEIGHT | WS_VSCROLL), 50, 5);
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 10, 0), LB_OKAY);
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(list, SB_VERT, &info));
    EXPECT_EQ(info.nPos, 10);
    EXPECT_EQ(info.nMax, 49);
    EXPECT_EQ(info.nPage, 5U);

    (void)SendMessageA(list, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(Top(list), 11);
    (void)SendMessageA(list, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(Top(list), 7);
    (void)SendMessageA(list, LB_SETCURSEL, 2, 0);
    EXPECT_EQ(Top(list), 2) << "a selection out of view is scrolled into it";
    EXPECT_EQ(SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(5, ItemHeight(list) + 1)), 3);
    EXPECT_EQ(SendMessageA(list, LB_SETTOPINDEX, 50, 0), LB_ERR);
}

TEST_F(ListTest, DraggingMovesTheSelectionAndDoubleClicksAreReported)
{
    const HWND list = MakeList(LBS_NOTIFY | LBS_NOINTEGRALHEIGHT);
    Fill(list, LB_ADDSTRING, {"a", "b", "c", "d", "e"});
    Button(list, Centre(list, 0), true);
    MoveMouse(list, Centre(list, 3));
    EXPECT_EQ(Selected(list), 3);
    Button(list, Centre(list, 3), false);
    EXPECT_EQ(GetCapture(), nullptr);
    MoveMouse(list, Centre(list, 1));
    EXPECT_EQ(Selected(list), 3) << "moving without the button selects nothing";

    Forget();
    FakeClock clock;  // the two clicks come within the double-click time however slow the machine
    Click(list, Centre(list, 4));
    Click(list, Centre(list, 4));
    EXPECT_EQ(Notifications(list), (Codes{LBN_SELCHANGE, LBN_DBLCLK}));
}

// Whether any shown pixel of the item's text area has `color`.
bool ItemShows(HeadlessDisplay& display, HWND list, int index, COLORREF color)
{
    RECT rect{};
    (void)SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x)
            if (ShownPixel(display, list, POINT{x, y}) == RgbOf(color))
                return true;
    return false;
}

TEST_F(ListTest, ItemsAreDrawnInTheGreyTextColourOnlyWhileTheListIsDisabled)
{
    const HWND list = MakeList(WS_BORDER);
    Fill(list, LB_ADDSTRING, {"MMMM", "WWWW"});
    const struct {
        bool enabled;
        COLORREF shown;
        COLORREF absent;
    } cases[] = {
        {false, GetSysColor(COLOR_GRAYTEXT), GetSysColor(COLOR_WINDOWTEXT)},
        {true, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_GRAYTEXT)},
    };
    for (const auto& c : cases) {
        (void)EnableWindow(list, c.enabled ? TRUE : FALSE);
        (void)UpdateWindow(list);
        Pump();
        for (int index : {0, 1}) {
            EXPECT_TRUE(ItemShows(*m_display, list, index, c.shown)) << "enabled " << c.enabled << ", item " << index;
            EXPECT_FALSE(ItemShows(*m_display, list, index, c.absent)) << "enabled " << c.enabled << ", item " << index;
        }
    }
}

} // namespace
