#include "ControlsTestClasses.h"
#include "platform/classlib/forms/ComCtrlsListView.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/controls/ListView.h"

#include <string>
#include <vector>

namespace {

class ListViewTest : public ControlsFixture {
protected:
    void SetUp() override
    {
        ControlsFixture::SetUp();
        m_form.SetBounds(0, 0, 400, 300);
        m_list = new TListView(&m_form);
        m_list->SetParent(&m_form);
        m_list->SetBounds(10, 10, 360, 240);
        m_list->SetViewStyle(vsReport);
        for (const char* caption : {"Name", "Number"}) {
            TListColumn* column = m_list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(120);
        }
        for (int i = 0; i < 5; ++i) {
            TListItem* item = m_list->Items()->Add();
            item->SetCaption("Contact " + std::to_string(i));
            item->SubItems()->Add("555-" + std::to_string(i));
        }
    }

    [[nodiscard]] std::string WindowText(int item, int subItem) const
    {
        char buffer[64] = {};
        LVITEMA query{};
        query.iSubItem = subItem;
        query.pszText = buffer;
        query.cchTextMax = sizeof buffer;
        (void)SendMessageA(m_list->Handle(), LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&query));
        return buffer;
    }

    void ClickItem(int index)
    {
        RECT rect{LVIR_LABEL, 0, 0, 0};
        (void)SendMessageA(m_list->Handle(), LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
        m_display->InjectClick(Id(m_form), InTopLevel(*m_list, {rect.left + 4, (rect.top + rect.bottom) / 2}));
        Application->ProcessMessages();
    }

    TForm m_form{nullptr};
    TListView* m_list = nullptr;
};

TEST_F(ListViewTest, ItemsMadeBeforeTheWindowAppearInItAndFollowChanges)
{
    m_list->Items()->Item(1)->SetSelected(true);
    m_form.Show();
    Application->ProcessMessages();
    EXPECT_EQ(SendMessageA(m_list->Handle(), LVM_GETITEMCOUNT, 0, 0), 5);
    EXPECT_EQ(WindowText(2, 0), "Contact 2");
    EXPECT_EQ(WindowText(2, 1), "555-2");
    EXPECT_EQ(m_list->ItemIndex(), 1);

    TListItem* item = m_list->Items()->Item(3);
    item->SetCaption("Renamed");
    item->SubItems()->SetStrings(0, "123");
    EXPECT_EQ(WindowText(3, 0), "Renamed");
    EXPECT_EQ(WindowText(3, 1), "123");

    m_list->Items()->Item(0)->Delete();
    EXPECT_EQ(m_list->Items()->Count(), 4);
    EXPECT_EQ(item->Index(), 2);
    EXPECT_EQ(WindowText(2, 0), "Renamed");
    m_list->Clear();
    EXPECT_EQ(SendMessageA(m_list->Handle(), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_EQ(m_list->Selected(), nullptr);
}

TEST_F(ListViewTest, SmallImagesFollowTheImageListUntilItIsFreed)
{
    auto* images = new TImageList(&m_form, 12, 12);
    TBitmap image;
    image.SetSize(12, 12);
    image.Canvas()->Brush()->SetColor(clRed);
    image.Canvas()->FillRect(Rect(0, 0, 12, 12));
    m_list->SetSmallImages(images);
    m_list->Items()->Item(2)->SetImageIndex(0);
    m_form.Show();
    Application->ProcessMessages();
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    (void)SendMessageA(m_list->Handle(), LVM_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&row));
    const auto redInRow = [&] {
        int count = 0;
        for (int y = row.top; y < row.bottom; ++y)
            for (int x = row.left; x < row.left + 40; ++x)
                count += Shown(*m_list, {x, y}) == Rgb(clRed) ? 1 : 0;
        return count;
    };
    EXPECT_EQ(redInRow(), 0) << "the list is still empty";

    ASSERT_EQ(images->AddMasked(&image, clFuchsia), 0);
    Application->ProcessMessages();
    EXPECT_EQ(redInRow(), 144);

    delete images;
    EXPECT_EQ(m_list->SmallImages(), nullptr);
    EXPECT_EQ(SendMessageA(m_list->Handle(), LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
    m_list->Invalidate();
    Application->ProcessMessages();
    EXPECT_EQ(redInRow(), 0);
}

TEST_F(ListViewTest, AClickSelectsAndFiresTheEvents)
{
    std::vector<std::string> events;
    m_list->SetOnSelectItem(TLVSelectItemEvent::FromFunction([&](TObject*, TListItem* item, bool selected) {
        events.push_back((selected ? "select " : "unselect ") + item->Caption());
    }));
    m_list->SetOnClick(TNotifyEvent::FromFunction([&](TObject*) { events.push_back("click"); }));
    m_form.Show();
    Application->ProcessMessages();
    ClickItem(2);
    EXPECT_EQ(m_list->Selected(), m_list->Items()->Item(2));
    EXPECT_TRUE(m_list->Items()->Item(2)->Focused());
    EXPECT_EQ(events, (std::vector<std::string>{"select Contact 2", "click"}));

    events.clear();
    m_list->SetItemIndex(4);
    EXPECT_EQ(events, (std::vector<std::string>{"unselect Contact 2", "select Contact 4"}));
    EXPECT_EQ(m_list->SelCount(), 1);
}

TEST_F(ListViewTest, AnOnChangeThatClearsTheItemsEndsTheSelectionEvents)
{
    int selections = 0;
    m_form.Show();
    Application->ProcessMessages();
    m_list->SetOnChange(TLVChangeEvent::FromFunction([&](TObject*, TListItem*, TItemChange) { m_list->Items()->Clear(); }));
    m_list->SetOnSelectItem(TLVSelectItemEvent::FromFunction([&](TObject*, TListItem*, bool) { ++selections; }));
    ClickItem(2);
    EXPECT_EQ(m_list->Items()->Count(), 0);
    EXPECT_EQ(selections, 0);
}

TEST_F(ListViewTest, CustomDrawEventsColourTheirItems)
{
    m_list->SetOnCustomDrawSubItem(TLVCustomDrawSubItemEvent::FromFunction(
        [](TCustomListView* sender, TListItem* item, int subItem, TCustomDrawState, bool&) {
            if (item->Index() == 1 && subItem == 1)
                sender->Canvas()->Brush()->SetColor(clYellow);
        }));
    m_form.Show();
    RECT cell{LVIR_BOUNDS, 1, 0, 0};
    (void)SendMessageA(m_list->Handle(), LVM_GETSUBITEMRECT, 1, reinterpret_cast<LPARAM>(&cell));
    ASSERT_TRUE(PumpUntil([&] { return Shown(*m_list, {cell.right - 3, cell.top + 2}) == Rgb(clYellow); }));
    RECT other{LVIR_BOUNDS, 1, 0, 0};
    (void)SendMessageA(m_list->Handle(), LVM_GETSUBITEMRECT, 2, reinterpret_cast<LPARAM>(&other));
    EXPECT_EQ(Shown(*m_list, {other.right - 3, other.top + 2}), Rgb(clWindow));
}

TEST_F(ListViewTest, ColumnClicksNameTheColumn)
{
    TListColumn* clicked = nullptr;
    m_list->SetOnColumnClick(TLVColumnClickEvent::FromFunction([&](TObject*, TListColumn* column) { clicked = column; }));
    m_form.Show();
    Application->ProcessMessages();
    const HWND header = reinterpret_cast<HWND>(SendMessageA(m_list->Handle(), LVM_GETHEADER, 0, 0));
    POINT point{150, 5};
    (void)MapWindowPoints(header, m_list->Handle(), &point, 1);
    m_display->InjectClick(Id(m_form), InTopLevel(*m_list, point));
    Application->ProcessMessages();
    EXPECT_EQ(clicked, m_list->Columns()->Items(1));
}

} // namespace
