#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListView.h"

#include <string>
#include <utility>

namespace {

constexpr COLORREF CUSTOM_TEXT = RGB(200, 0, 0);
constexpr COLORREF CUSTOM_BACK = RGB(0, 160, 0);

class ListViewTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterListViewClass();
        m_list = Control(WC_LISTVIEWA, LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, {10, 10, 310, 210});
        AddColumn("Name", 120);
        AddColumn("Number", 100);
        for (int i = 0; i < 30; ++i)
            AddItem("Item " + std::to_string(i), "555-" + std::to_string(i));
        Pump();
        ForgetNotes();
    }

    void AddColumn(const char* title, int width)
    {
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = const_cast<LPSTR>(title);
        column.cx = width;
        const auto at = static_cast<WPARAM>(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0));
        (void)SendMessageA(m_list, LVM_INSERTCOLUMN, at, reinterpret_cast<LPARAM>(&column));
    }

    void AddItem(const std::string& text, const std::string& sub)
    {
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = Count();
        item.pszText = const_cast<LPSTR>(text.c_str());
        item.lParam = 1000 + Count();
        const auto at = static_cast<int>(SendMessageA(m_list, LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item)));
        LVITEMA subItem{};
        subItem.iSubItem = 1;
        subItem.pszText = const_cast<LPSTR>(sub.c_str());
        (void)SendMessageA(m_list, LVM_SETITEMTEXT, static_cast<WPARAM>(at), reinterpret_cast<LPARAM>(&subItem));
    }

    [[nodiscard]] HWND Header() const { return reinterpret_cast<HWND>(SendMessageA(m_list, LVM_GETHEADER, 0, 0)); }
    [[nodiscard]] int Count() const { return static_cast<int>(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0)); }
    [[nodiscard]] int Selected() const
    {
        return static_cast<int>(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    }

    [[nodiscard]] std::string Text(int item, int subItem) const
    {
        char buffer[64] = {};
        LVITEMA query{};
        query.iSubItem = subItem;
        query.pszText = buffer;
        query.cchTextMax = sizeof buffer;
        (void)SendMessageA(m_list, LVM_GETITEMTEXT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&query));
        return buffer;
    }

    [[nodiscard]] RECT ItemRect(int item, int code = LVIR_BOUNDS) const
    {
        RECT rect{code, 0, 0, 0};
        (void)SendMessageA(m_list, LVM_GETITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&rect));
        return rect;
    }

    HWND m_list = nullptr;
};

TEST_F(ListViewTest, ColumnsItemsAndSubItemsKeepTheirTexts)
{
    EXPECT_EQ(Count(), 30);
    EXPECT_EQ(SendMessageA(Header(), HDM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(Text(3, 0), "Item 3");
    EXPECT_EQ(Text(3, 1), "555-3");
    EXPECT_EQ(Text(3, 5), "");

    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = 4;
    ASSERT_TRUE(SendMessageA(m_list, LVM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(item.lParam, 1004);

    char title[32] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    ASSERT_TRUE(SendMessageA(m_list, LVM_GETCOLUMN, 1, reinterpret_cast<LPARAM>(&column)));
    EXPECT_STREQ(title, "Number");
    EXPECT_EQ(column.cx, 100);

    // Rows lie under the header, one row height apart.
    RECT header{};
    (void)GetWindowRect(Header(), &header);
    const RECT first = ItemRect(0);
    const RECT second = ItemRect(1);
    EXPECT_EQ(first.top, header.bottom - header.top);
    EXPECT_EQ(second.top, first.bottom);
    EXPECT_EQ(first.right, 220);

    ASSERT_TRUE(SendMessageA(m_list, LVM_DELETEITEM, 0, 0));
    EXPECT_EQ(Text(0, 0), "Item 1");
    EXPECT_EQ(NotifyCodes().back(), LVN_DELETEITEM);

    ASSERT_TRUE(SendMessageA(m_list, LVM_SETCOLUMNWIDTH, 0, MAKELPARAM(150, 0)));
    RECT resized{};
    (void)SendMessageA(Header(), HDM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&resized));
    EXPECT_EQ(resized.right, 150);
    EXPECT_EQ(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, 0, 0), 150);
}

TEST_F(ListViewTest, AbsurdSubItemNumbersAndCountHintsAreHarmless)
{
    LVITEMA item{};
    item.iSubItem = 0x7FFFFFFF;
    item.pszText = const_cast<LPSTR>("far away");
    (void)SendMessageA(m_list, LVM_SETITEMTEXTA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(SendMessageA(m_list, LVM_SETITEMCOUNT, static_cast<WPARAM>(-1), 0), TRUE);
    EXPECT_GT(SendMessageA(m_list, LVM_GETITEMCOUNT, 0, 0), 0);
}

TEST_F(ListViewTest, AClickSelectsTheItemAndReportsTheChange)
{
    const RECT label = ItemRect(2, LVIR_LABEL);
    Click(m_list, {label.left + 5, (label.top + label.bottom) / 2});
    EXPECT_EQ(Selected(), 2);
    EXPECT_EQ(SendMessageA(m_list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED), 2);
    const std::vector<UINT> codes = NotifyCodes();
    const auto changed = std::find(codes.begin(), codes.end(), LVN_ITEMCHANGED);
    EXPECT_NE(changed, codes.end());
    EXPECT_NE(std::find(changed, codes.end(), NM_CLICK), codes.end());
    Pump();
    EXPECT_EQ(Shown(m_list, {label.left + 1, label.top + 1}), Rgb(GetSysColor(COLOR_HIGHLIGHT)));

    // A refused change leaves the selection alone.
    AnswerNotify([](NMHDR* header) -> LRESULT { return header->code == LVN_ITEMCHANGING ? TRUE : 0; });
    const RECT other = ItemRect(5, LVIR_LABEL);
    Click(m_list, {other.left + 5, (other.top + other.bottom) / 2});
    EXPECT_EQ(Selected(), 2);
}

TEST_F(ListViewTest, AParentThatEmptiesTheListWhileAskedLeavesNoStaleRow)
{
    for (const UINT fatal : {UINT{LVN_ITEMCHANGING}, UINT{LVN_DELETEITEM}}) {
        bool reacted = false;
        AnswerNotify([this, fatal, &reacted](NMHDR* header) -> LRESULT {
            if (header->code == fatal && !std::exchange(reacted, true))
                (void)SendMessageA(m_list, LVM_DELETEALLITEMS, 0, 0);
            return 0;
        });
        for (int i = Count(); i < 5; ++i)
            AddItem("Item " + std::to_string(i), "");
        if (fatal == LVN_ITEMCHANGING) {
            const RECT label = ItemRect(2, LVIR_LABEL);
            Click(m_list, {label.left + 5, (label.top + label.bottom) / 2});
        } else {
            (void)SendMessageA(m_list, LVM_DELETEITEM, 3, 0);
        }
        EXPECT_EQ(Count(), 0) << fatal;
    }
}

TEST_F(ListViewTest, KeysMoveTheSelectionAndScrollItIntoView)
{
    (void)SetFocus(m_list);
    Pump();
    ForgetNotes();
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(NotifyCodes().front(), LVN_KEYDOWN);
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), 1);
    Key(VK_END);
    EXPECT_EQ(Selected(), 29);
    EXPECT_GT(SendMessageA(m_list, LVM_GETTOPINDEX, 0, 0), 0);
    const RECT last = ItemRect(29);
    RECT client{};
    (void)GetClientRect(m_list, &client);
    EXPECT_LE(last.bottom, client.bottom);
    Key(VK_HOME);
    EXPECT_EQ(Selected(), 0);
    EXPECT_EQ(SendMessageA(m_list, LVM_GETTOPINDEX, 0, 0), 0);
    Key(VK_NEXT);
    EXPECT_GT(Selected(), 5);
    // Single selection: one item at a time.
    EXPECT_EQ(SendMessageA(m_list, LVM_GETSELECTEDCOUNT, 0, 0), 1);
}

TEST_F(ListViewTest, CustomDrawColoursItemsAndSubItems)
{
    AnswerNotify([](NMHDR* header) -> LRESULT {
        if (header->code != NM_CUSTOMDRAW)
            return 0;
        auto* draw = reinterpret_cast<NMLVCUSTOMDRAW*>(header);
        if (draw->nmcd.dwDrawStage == CDDS_PREPAINT)
            return CDRF_NOTIFYITEMDRAW;
        if (draw->nmcd.dwDrawStage == CDDS_ITEMPREPAINT)
            return draw->nmcd.dwItemSpec == 1 ? CDRF_NOTIFYSUBITEMDRAW : CDRF_DODEFAULT;
        if (draw->nmcd.dwDrawStage == (CDDS_ITEMPREPAINT | CDDS_SUBITEM) && draw->iSubItem == 1) {
            draw->clrText = CUSTOM_TEXT;
            draw->clrTextBk = CUSTOM_BACK;
        }
        return CDRF_DODEFAULT;
    });
    (void)InvalidateRect(m_list, nullptr, TRUE);
    Pump();
    RECT cell{LVIR_BOUNDS, 1, 0, 0};
    ASSERT_TRUE(SendMessageA(m_list, LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell)));
    EXPECT_EQ(Shown(m_list, {cell.right - 3, cell.top + 2}), Rgb(CUSTOM_BACK));
    const RECT plain = ItemRect(2, LVIR_BOUNDS);
    EXPECT_EQ(Shown(m_list, {plain.right - 3, plain.top + 2}), Rgb(GetSysColor(COLOR_WINDOW)));
}

TEST_F(ListViewTest, ColumnClicksAndFullRowHitTesting)
{
    RECT title{};
    (void)SendMessageA(Header(), HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&title));
    int column = -1;
    AnswerNotify([&](NMHDR* header) -> LRESULT {
        if (header->code == LVN_COLUMNCLICK)
            column = reinterpret_cast<NMLISTVIEW*>(header)->iSubItem;
        return 0;
    });
    Click(Header(), {title.left + 10, 5});
    EXPECT_EQ(column, 1);

    const RECT row = ItemRect(3);
    LVHITTESTINFO hit{{row.left + 180, row.top + 3}, 0, 0, 0};
    EXPECT_EQ(SendMessageA(m_list, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)), -1);
    (void)SendMessageA(m_list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    EXPECT_EQ(SendMessageA(m_list, LVM_SUBITEMHITTEST, 0, reinterpret_cast<LPARAM>(&hit)), 3);
    EXPECT_EQ(hit.iSubItem, 1);
}

TEST_F(ListViewTest, ListViewLaysItemsOutInColumns)
{
    (void)SetWindowLongA(m_list, GWL_STYLE, (GetWindowLongA(m_list, GWL_STYLE) & ~static_cast<LONG>(LVS_TYPEMASK)) |
                                                static_cast<LONG>(LVS_LIST));
    (void)SetWindowPos(m_list, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
    (void)SendMessageA(m_list, WM_STYLECHANGED, static_cast<WPARAM>(GWL_STYLE), 0);
    const RECT first = ItemRect(0);
    const RECT second = ItemRect(1);
    EXPECT_EQ(first.top, 0);
    EXPECT_EQ(second.top, first.bottom);
    const auto perColumn = static_cast<int>(SendMessageA(m_list, LVM_GETCOUNTPERPAGE, 0, 0));
    EXPECT_GT(perColumn, 1);
    EXPECT_FALSE(IsWindowVisible(Header()));
}

// Sizing a column is tracked live, as in the header alone: the column and the cells under it
// follow the divider while the mouse still holds it.
TEST_F(ListViewTest, SizingAColumnMovesTheCellsWhileTheDividerIsHeld)
{
    const RECT row = ItemRect(0);
    const std::uint32_t background = Shown(m_list, {row.right + 20, (row.top + row.bottom) / 2});
    // The first client column at or after `from` in the first row that is not background.
    const auto firstInk = [&](int from) {
        for (int x = from; x < row.right + 60; ++x)
            for (int y = row.top; y < row.bottom; ++y)
                if (Shown(m_list, {x, y}) != background)
                    return x;
        return -1;
    };
    const int oldDivider = 120;
    const int newDivider = 170;
    ASSERT_GT(firstInk(oldDivider), oldDivider);
    ASSERT_LT(firstInk(oldDivider), newDivider) << "the second column's text starts near the old divider";

    Press(Header(), {oldDivider, 5}, true);
    Move(Header(), {newDivider, 5});
    EXPECT_EQ(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, 0, 0), newDivider);
    RECT cell{LVIR_BOUNDS, 1, 0, 0};
    (void)SendMessageA(m_list, LVM_GETSUBITEMRECT, 0, reinterpret_cast<LPARAM>(&cell));
    EXPECT_EQ(cell.left, newDivider);
    EXPECT_GT(firstInk(oldDivider), newDivider) << "the second column's text has moved with the divider";

    Press(Header(), {newDivider, 5}, false);
    EXPECT_EQ(SendMessageA(m_list, LVM_GETCOLUMNWIDTH, 0, 0), newDivider);
    EXPECT_EQ(GetCapture(), nullptr);
}

} // namespace
