#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/TabControl.h"

#include <algorithm>
#include <string>

namespace {

class TabControlTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterTabControlClass();
        m_tabs = Control(WC_TABCONTROLA, WS_TABSTOP, {10, 10, 310, 210});
        for (const char* text : {"General", "Calls", "Messages"})
            Insert(text);
        Pump();
        ForgetNotes();
    }

    void Insert(const char* text)
    {
        TCITEMA item{};
        item.mask = TCIF_TEXT | TCIF_PARAM;
        item.pszText = const_cast<LPSTR>(text);
        item.lParam = 100 + Count();
        (void)SendMessageA(m_tabs, TCM_INSERTITEM, static_cast<WPARAM>(Count()), reinterpret_cast<LPARAM>(&item));
    }

    [[nodiscard]] int Count() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETITEMCOUNT, 0, 0)); }
    [[nodiscard]] int Selected() const { return static_cast<int>(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0)); }

    [[nodiscard]] RECT ItemRect(int index) const
    {
        RECT rect{};
        EXPECT_TRUE(SendMessageA(m_tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }

    void ClickTab(int index)
    {
        const RECT rect = ItemRect(index);
        Click(m_tabs, {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2});
    }

    HWND m_tabs = nullptr;
};

TEST_F(TabControlTest, ItemsKeepTextImageAndParamAndLieSideBySide)
{
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(Selected(), 0);
    char text[80] = {};
    TCITEMA item{};
    item.mask = TCIF_TEXT | TCIF_PARAM | TCIF_IMAGE;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    ASSERT_TRUE(SendMessageA(m_tabs, TCM_GETITEM, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_STREQ(text, "Calls");
    EXPECT_EQ(item.lParam, 101);
    EXPECT_EQ(item.iImage, -1);

    WCHAR wide[80] = {};
    TCITEMW wideItem{};
    wideItem.mask = TCIF_TEXT;
    wideItem.pszText = wide;
    wideItem.cchTextMax = 80;
    ASSERT_TRUE(SendMessageA(m_tabs, TCM_GETITEMW, 2, reinterpret_cast<LPARAM>(&wideItem)));
    EXPECT_EQ(std::u16string(wide), u"Messages");

    const RECT first = ItemRect(0);
    const RECT second = ItemRect(1);
    EXPECT_EQ(first.left, 2);
    EXPECT_EQ(second.left, first.right);
    EXPECT_EQ(second.top, first.top);
    EXPECT_GT(first.right - first.left, 30);

    TCHITTESTINFO hit{{second.left + 3, second.top + 3}, 0};
    EXPECT_EQ(SendMessageA(m_tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 1);
    EXPECT_EQ(hit.flags, TCHT_ONITEMLABEL);
    hit.pt = {5, 150};
    EXPECT_EQ(SendMessageA(m_tabs, TCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);

    ASSERT_TRUE(SendMessageA(m_tabs, TCM_DELETEITEM, 0, 0));
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(ItemRect(0).left, 2);
}

TEST_F(TabControlTest, ClickingATabAsksTheParentAndReportsTheChange)
{
    ClickTab(2);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURFOCUS, 0, 0), 2);
    ASSERT_GE(NotifyCodes().size(), 2U);
    EXPECT_EQ(NotifyCodes()[0], TCN_SELCHANGING);
    EXPECT_EQ(NotifyCodes()[1], TCN_SELCHANGE);
    EXPECT_EQ(GetFocus(), m_tabs);

    ForgetNotes();
    AnswerNotify([](NMHDR* header) -> LRESULT { return header->code == TCN_SELCHANGING ? TRUE : 0; });
    ClickTab(1);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(std::ranges::count(NotifyCodes(), TCN_SELCHANGE), 0);
}

TEST_F(TabControlTest, SettingTheSelectionByMessageSendsNoNotification)
{
    EXPECT_EQ(SendMessageA(m_tabs, TCM_SETCURSEL, 1, 0), 0);
    EXPECT_EQ(Selected(), 1);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_SETCURSEL, 9, 0), -1);
    EXPECT_EQ(Selected(), 1);
    EXPECT_TRUE(NotifyCodes().empty());
}

TEST_F(TabControlTest, KeysMoveTheSelection)
{
    (void)SetFocus(m_tabs);
    Key(VK_RIGHT);
    EXPECT_EQ(Selected(), 1);
    Key(VK_END);
    EXPECT_EQ(Selected(), 2);
    Key(VK_TAB, ModControl);
    EXPECT_EQ(Selected(), 0);
    Key(VK_TAB, ModControl | ModShift);
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(NotifyCodes().front(), TCN_KEYDOWN);
    EXPECT_EQ(std::ranges::count(NotifyCodes(), TCN_SELCHANGE), 4);
}

TEST_F(TabControlTest, AdjustRectConvertsBetweenWindowAndDisplayArea)
{
    RECT rect{0, 0, 300, 200};
    (void)SendMessageA(m_tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&rect));
    const RECT tab = ItemRect(0);
    EXPECT_EQ(rect.left, 4);
    EXPECT_EQ(rect.right, 296);
    EXPECT_EQ(rect.bottom, 196);
    EXPECT_EQ(rect.top, tab.bottom + 4);
    (void)SendMessageA(m_tabs, TCM_ADJUSTRECT, TRUE, reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(rect.left, 0);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 300);
    EXPECT_EQ(rect.bottom, 200);

    // A fixed item height moves the display area with it.
    (void)SendMessageA(m_tabs, TCM_SETITEMSIZE, 0, MAKELPARAM(0, 30));
    EXPECT_EQ(ItemRect(0).bottom - ItemRect(0).top, 30);
}

TEST_F(TabControlTest, MultiLineTabsWrapIntoRows)
{
    (void)SetWindowLongA(m_tabs, GWL_STYLE, GetWindowLongA(m_tabs, GWL_STYLE) | static_cast<LONG>(TCS_MULTILINE));
    (void)SetWindowPos(m_tabs, nullptr, 0, 0, 120, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    EXPECT_GE(SendMessageA(m_tabs, TCM_GETROWCOUNT, 0, 0), 2);
    // The selected tab's row lies next to the pane.
    EXPECT_GT(ItemRect(0).top, ItemRect(2).top);
    ClickTab(2);
    EXPECT_GT(ItemRect(2).top, ItemRect(0).top);
}

TEST_F(TabControlTest, NegativePaddingNeverMakesRowsOfNoHeight)
{
    (void)SetWindowLongA(m_tabs, GWL_STYLE, GetWindowLongA(m_tabs, GWL_STYLE) | static_cast<LONG>(TCS_MULTILINE));
    (void)SendMessageA(m_tabs, TCM_SETPADDING, 0, MAKELPARAM(6, static_cast<WORD>(-40)));
    (void)SetWindowPos(m_tabs, nullptr, 0, 0, 120, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    ClickTab(2);
    EXPECT_GE(SendMessageA(m_tabs, TCM_GETROWCOUNT, 0, 0), 2);
    EXPECT_GT(ItemRect(2).bottom, ItemRect(2).top);
}

TEST_F(TabControlTest, AParentThatRemovesTabsWhileAskedKeepsAValidSelection)
{
    AnswerNotify([this](NMHDR* header) -> LRESULT {
        if (header->code == TCN_SELCHANGING)
            (void)SendMessageA(m_tabs, TCM_DELETEALLITEMS, 0, 0);
        return 0;
    });
    ClickTab(2);
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(SendMessageA(m_tabs, TCM_GETCURSEL, 0, 0), -1);
}

TEST_F(TabControlTest, ARowTooWideScrollsByItsArrowsAndByTheSelection)
{
    (void)SetWindowPos(m_tabs, nullptr, 0, 0, 120, 100, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    const int arrow = GetSystemMetrics(SM_CXVSCROLL);
    RECT client{};
    (void)GetClientRect(m_tabs, &client);
    const int firstLeft = ItemRect(0).left;
    Click(m_tabs, {client.right - arrow / 2, 2 + arrow / 2});
    EXPECT_LT(ItemRect(0).left, firstLeft);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(std::ranges::count(NotifyCodes(), TCN_SELCHANGING), 0);
    Click(m_tabs, {client.right - arrow - arrow / 2, 2 + arrow / 2});
    EXPECT_EQ(ItemRect(0).left, firstLeft);

    // Selecting the last tab brings it wholly into view, left of the arrows.
    (void)SetFocus(m_tabs);
    Key(VK_END);
    EXPECT_LE(ItemRect(2).right, client.right - 2 * arrow);
    EXPECT_GE(ItemRect(2).left, 0);
}

TEST_F(TabControlTest, TheSelectedTabJoinsThePane)
{
    Pump();
    const RECT selected = ItemRect(0);
    const RECT other = ItemRect(1);
    // Under the selected tab the pane's top edge is open; under the others it is drawn.
    EXPECT_EQ(Shown(m_tabs, {(selected.left + selected.right) / 2, selected.bottom}), Rgb(GetSysColor(COLOR_BTNFACE)));
    EXPECT_NE(Shown(m_tabs, {(other.left + other.right) / 2, other.bottom}), Rgb(GetSysColor(COLOR_BTNFACE)));
}

} // namespace
