#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ComCtrlsHeader.h"
#include "platform/classlib/forms/ComCtrlsListView.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListView.h"
#include "skin/SkinHeader.h"

namespace {

// Pictures hold TColor (0xBBGGRR); the screen answers 0xRRGGBB.
std::uint32_t SwapRB(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

} // namespace

class HeaderSkinnersTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_list = new TListView(m_form.get());
        m_list->SetParent(m_form.get());
        m_list->SetBounds(20, 20, 250, 150);
        m_list->SetViewStyle(vsReport);
        for (const auto& [caption, width] : {std::pair{"Name", 80}, std::pair{"Number", 60}}) {
            TListColumn* column = m_list->Columns()->Add();
            column->SetCaption(caption);
            column->SetWidth(width);
        }
    }

    [[nodiscard]] HWND Header() const
    {
        return reinterpret_cast<HWND>(SendMessageA(m_list->Handle(), LVM_GETHEADER, 0, 0));
    }

    // The header item's rectangle in the form's whole window (of the list view's header by default).
    [[nodiscard]] RECT Item(int index, HWND header = nullptr) const
    {
        if (!header)
            header = Header();
        RECT item{};
        EXPECT_TRUE(
            SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
        (void)MapWindowPoints(header, nullptr, reinterpret_cast<POINT*>(&item), 2);
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        OffsetRect(&item, -window.left, -window.top);
        return item;
    }

    // Whether the corners kept at their own size at the left of the item show frame `frame`.
    void ExpectItemFrame(const RECT& item, int frame) const
    {
        TDataSkinObject& bar = *m_data->Elements().Element("Headerbar");
        const int width = bar.Image.Width() / bar.Frame;
        const int height = item.bottom - item.top;
        for (int y = 0; y < bar.TopHeight; ++y)
            for (int x = 0; x < bar.LeftWidth; ++x) {
                const auto top = static_cast<std::uint32_t>(PixelAt(bar.Image, width * (frame - 1) + x, y)) & 0xFFFFFF;
                const auto bottom = static_cast<std::uint32_t>(PixelAt(bar.Image, width * (frame - 1) + x,
                                                                       bar.Image.Height() - 1 - y)) & 0xFFFFFF;
                ASSERT_EQ(Shown({item.left + x, item.top + y}), SwapRB(top)) << "frame " << frame;
                ASSERT_EQ(Shown({item.left + x, item.top + height - 1 - y}), SwapRB(bottom)) << "frame " << frame;
            }
    }

    TListView* m_list = nullptr;
};

TEST_F(HeaderSkinnersTest, AListViewHeaderShowsItsItemsFromTheSkinAndTracksTheHotOne)
{
    ShowSkinned();
    auto* skinner = dynamic_cast<TSkinListView*>(Skinner()->FindSkinner(m_list->Handle()));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->Header(), nullptr);
    ExpectItemFrame(Item(0), 1);
    ExpectItemFrame(Item(1), 1);
    // The strip beyond the last item is the bar's first frame too.
    const RECT rest{Item(1).right, Item(1).top, Item(1).right + 20, Item(1).bottom};
    ExpectItemFrame(rest, 1);

    const RECT second = Item(1);
    MoveMouse(POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2});
    EXPECT_EQ(skinner->Header()->HotItem(), 1);
    ExpectItemFrame(Item(1), 2);
    ExpectItemFrame(Item(0), 1);
    // Into the gap at the item's left edge: it stays hot.
    MoveMouse(POINT{second.left + 1, (second.top + second.bottom) / 2});
    EXPECT_EQ(skinner->Header()->HotItem(), 1);
    MoveMouse(POINT{10, 300});
    EXPECT_EQ(skinner->Header()->HotItem(), -1);
    ExpectItemFrame(Item(1), 1);
}

TEST_F(HeaderSkinnersTest, DraggingADividerSizesItsColumn)
{
    ShowSkinned();
    const RECT first = Item(0);
    const POINT divider{first.right - 1, (first.top + first.bottom) / 2};
    const auto id = reinterpret_cast<WindowId>(Window());
    m_display->InjectMouseMove(id, divider);
    m_display->InjectMouseButton(id, divider, MouseButton::Left, true);
    m_display->InjectMouseMove(id, POINT{divider.x + 30, divider.y});
    m_display->InjectMouseButton(id, POINT{divider.x + 30, divider.y}, MouseButton::Left, false);
    Pump();
    EXPECT_EQ(SendMessageA(m_list->Handle(), LVM_GETCOLUMNWIDTH, 0, 0), 110);
    EXPECT_EQ(Item(1).left, first.right + 30);
    MoveMouse(POINT{10, 300});
    ExpectItemFrame(Item(1), 1);
}

TEST_F(HeaderSkinnersTest, AHeaderWithoutItemsIsOneStrip)
{
    m_list->Columns()->Clear();
    ShowSkinned();
    RECT header{};
    (void)GetWindowRect(Header(), &header);
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    OffsetRect(&header, -window.left, -window.top);
    ASSERT_GT(header.bottom, header.top);
    ExpectItemFrame(header, 1);
}

TEST_F(HeaderSkinnersTest, ARecreatedListViewGetsItsNewHeaderSkinned)
{
    ShowSkinned();
    m_list->RecreateWnd();
    Pump();
    auto* skinner = dynamic_cast<TSkinListView*>(Skinner()->FindSkinner(m_list->Handle()));
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->Header(), nullptr);
    ExpectItemFrame(Item(0), 1);
    delete m_list;
    m_list = nullptr;
    Skinner()->SkinChildren();
    Pump();
}

TEST_F(HeaderSkinnersTest, AHeaderControlIsSkinnedToo)
{
    auto* header = new THeaderControl(m_form.get());
    header->SetParent(m_form.get());
    header->SetAlign(alNone);
    header->SetBounds(20, 200, 250, 22);
    for (const char* text : {"Calls", "Messages"}) {
        THeaderSection* section = header->Sections()->Add();
        section->SetText(text);
        section->SetWidth(90);
    }
    ShowSkinned();
    ASSERT_NE(dynamic_cast<TSkinHeader*>(Skinner()->FindSkinner(header->Handle())), nullptr);
    ExpectItemFrame(Item(1, header->Handle()), 1);
    const RECT second = Item(1, header->Handle());
    MoveMouse(POINT{(second.left + second.right) / 2, (second.top + second.bottom) / 2});
    ExpectItemFrame(second, 2);
}
