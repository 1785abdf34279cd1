#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/Header.h"

#include <string>

namespace {

class HeaderTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterHeaderClass();
        m_header = Control(WC_HEADERA, HDS_BUTTONS, {0, 0, 400, 20});
        Insert("Name", 100);
        Insert("Number", 80);
        ForgetNotes();
    }

    void Insert(const char* text, int width)
    {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.pszText = const_cast<LPSTR>(text);
        item.cxy = width;
        item.fmt = HDF_LEFT | HDF_STRING;
        const auto at = static_cast<WPARAM>(SendMessageA(m_header, HDM_GETITEMCOUNT, 0, 0));
        (void)SendMessageA(m_header, HDM_INSERTITEM, at, reinterpret_cast<LPARAM>(&item));
    }

    [[nodiscard]] int Width(int index) const
    {
        HDITEMA item{};
        item.mask = HDI_WIDTH;
        (void)SendMessageA(m_header, HDM_GETITEM, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        return item.cxy;
    }

    HWND m_header = nullptr;
};

TEST_F(HeaderTest, ItemsLieSideBySideAndAnswerHitTests)
{
    RECT second{};
    ASSERT_TRUE(SendMessageA(m_header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second)));
    EXPECT_EQ(second.left, 100);
    EXPECT_EQ(second.right, 180);

    struct Case {
        POINT point;
        int item;
        UINT flags;
    };
    for (const Case& c : {Case{{50, 5}, 0, HHT_ONHEADER}, Case{{101, 5}, 0, HHT_ONDIVIDER},
                          Case{{140, 5}, 1, HHT_ONHEADER}, Case{{300, 5}, -1, HHT_NOWHERE}}) {
        HDHITTESTINFO info{c.point, 0, 0};
        EXPECT_EQ(SendMessageA(m_header, HDM_HITTEST, 0, reinterpret_cast<LPARAM>(&info)), c.item) << c.point.x;
        EXPECT_EQ(info.flags, c.flags) << c.point.x;
    }

    WCHAR text[101] = {};
    HDITEMW wide{};
    wide.mask = HDI_TEXT | HDI_FORMAT;
    wide.pszText = text;
    wide.cchTextMax = 101;
    ASSERT_TRUE(SendMessageA(m_header, HDM_GETITEMW, 1, reinterpret_cast<LPARAM>(&wide)));
    EXPECT_EQ(std::u16string(text), u"Number");

    RECT area{0, 0, 300, 200};
    WINDOWPOS position{};
    HDLAYOUT layout{&area, &position};
    ASSERT_TRUE(SendMessageA(m_header, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout)));
    EXPECT_GT(position.cy, 12);
    EXPECT_EQ(area.top, position.cy);
    EXPECT_EQ(position.cx, 300);
}

TEST_F(HeaderTest, DraggingADividerResizesWithTheTrackingSequence)
{
    Drag(m_header, {100, 8}, {130, 8});
    EXPECT_EQ(Width(0), 130);
    const std::vector<UINT> expected{HDN_BEGINTRACK, HDN_TRACK, HDN_ENDTRACK, HDN_ITEMCHANGING, HDN_ITEMCHANGED};
    EXPECT_EQ(NotifyCodes(), expected);

    // A parent that refuses the change keeps the width.
    ForgetNotes();
    AnswerNotify([](NMHDR* header) -> LRESULT { return header->code == HDN_ITEMCHANGING ? TRUE : 0; });
    Drag(m_header, {130, 8}, {60, 8});
    EXPECT_EQ(Width(0), 130);
    EXPECT_EQ(NotifyCodes().back(), HDN_ITEMCHANGING);
}

TEST_F(HeaderTest, AParentThatDeletesTheTrackedItemEndsTheDrag)
{
    // Deleting the item under the drag while the parent is told it ended leaves no stale index
    // behind for the width change that follows.
    AnswerNotify([this](NMHDR* header) -> LRESULT {
        if (header->code == HDN_ENDTRACK)
            (void)SendMessageA(m_header, HDM_DELETEITEM, 0, 0);
        return 0;
    });
    Drag(m_header, {100, 8}, {150, 8});
    EXPECT_EQ(SendMessageA(m_header, HDM_GETITEMCOUNT, 0, 0), 1);
    EXPECT_EQ(Width(0), 80) << "the remaining item keeps its width";
    EXPECT_NE(GetCapture(), m_header);
}

TEST_F(HeaderTest, AClickOnAButtonItemReportsTheItem)
{
    int clicked = -1;
    AnswerNotify([&](NMHDR* header) -> LRESULT {
        if (header->code == HDN_ITEMCLICK)
            clicked = reinterpret_cast<NMHEADERA*>(header)->iItem;
        return 0;
    });
    Click(m_header, {140, 8});
    EXPECT_EQ(clicked, 1);
}

TEST_F(HeaderTest, OwnerDrawnItemsAreDrawnByTheParent)
{
    HDITEMA item{};
    item.mask = HDI_FORMAT | HDI_LPARAM;
    item.fmt = HDF_OWNERDRAW;
    item.lParam = 77;
    ASSERT_TRUE(SendMessageA(m_header, HDM_SETITEM, 1, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(NotifyCodes(), (std::vector<UINT>{HDN_ITEMCHANGING, HDN_ITEMCHANGED}));
    (void)InvalidateRect(m_header, nullptr, TRUE);
    Pump();
    ASSERT_FALSE(DrawItems().empty());
    EXPECT_EQ(DrawItems().back().CtlType, ODT_HEADER);
    EXPECT_EQ(DrawItems().back().itemID, 1U);
    EXPECT_EQ(DrawItems().back().itemData, 77U);
}

} // namespace
