#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/classlib/forms/StdCtrlsScrollBar.h"
#include "platform/winapi/controls/ListBox.h"
#include "skin/SkinScrollBar.h"
#include "skin/SkinScrolling.h"

#include <string>

namespace {

// Pictures hold TColor (0xBBGGRR); the screen answers 0xRRGGBB.
std::uint32_t SwapRB(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

std::uint32_t Colour(TBitmap& bitmap, int x, int y)
{
    return static_cast<std::uint32_t>(PixelAt(bitmap, x, y)) & 0xFFFFFF;
}

// A list publishing a FixedColor, as grids do.
class TFixedColourList : public TCustomListBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TFixedColourList(TComponent* owner) : TCustomListBox(owner) {}
    [[nodiscard]] TColor FixedColor() const { return m_fixed; }
    void SetFixedColor(TColor colour) { m_fixed = colour; }

    TColor m_fixed = clRed;
};

void DescribeFixedColourList(TClassBuilder& c)
{
    c.Ordinal("FixedColor", ColorTypeInfo(), &TFixedColourList::FixedColor, &TFixedColourList::SetFixedColor);
}

// Frames of the skin's Scrollbar picture.
constexpr int UpArrow = 9;
constexpr int DownArrow = 13;

} // namespace

TEST(ScrollControlBarInfoTest, ThumbFollowsPositionAndKeepsItsMinimum)
{
    struct Row {
        int min, max;
        UINT page;
        int pos;
        int start, end;
    };
    // A vertical bar of 200 pixels with 16-pixel arrows: a track of 168.
    const Row rows[] = {
        {0, 100, 11, 0, 16, 33},   // page 11 of 100: 168 * 10 / 100 rounds to 17, starting at the arrow
        {0, 100, 11, 50, 100, 117}, // 16 + 168 * 50 / 100
        {0, 100, 2, 50, 96, 104},  // a 2-pixel thumb becomes 8, placed along 160 pixels
        {0, 100, 0, 50, 92, 108},  // no page: an arrow-long thumb along 152 pixels
        {5, 5, 1, 5, 16, 24},      // an empty range stays at the first arrow
        {0, 100, 0, 0, 16, 32},    // at the minimum: the arrow size
    };
    for (const Row& row : rows) {
        SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, row.min, row.max, row.page, row.pos, 0};
        const SCROLLBARINFO bar = ScrollControlBarInfo(RECT{10, 20, 26, 220}, info, true, 16);
        EXPECT_EQ(bar.xyThumbTop, row.start) << "page " << row.page << " pos " << row.pos;
        EXPECT_EQ(bar.xyThumbBottom, row.end) << "page " << row.page << " pos " << row.pos;
        EXPECT_EQ(bar.rcScrollBar.top, 20);
        EXPECT_EQ(bar.rgstate[0], 0U);
    }
}

TEST(ScrollPartAtTest, ZonesMeetAtTheirBoundaries)
{
    // 100 pixels, arrows of 16, thumb from 40 to 60.
    const std::pair<int, int> cases[] = {{0, SB_LINEUP},      {15, SB_LINEUP},     {16, SB_PAGEUP},
                                         {39, SB_PAGEUP},     {40, SB_THUMBTRACK}, {59, SB_THUMBTRACK},
                                         {60, SB_PAGEDOWN},   {83, SB_PAGEDOWN},   {84, SB_LINEDOWN},
                                         {99, SB_LINEDOWN}};
    for (const auto& [along, part] : cases)
        EXPECT_EQ(ScrollPartAt(along, 100, 16, 40, 60), part) << along;
}

CLASSLIB_IMPLEMENT_CLASS(TFixedColourList, TCustomListBox, nullptr, DescribeFixedColourList)

class ScrollSkinnersTest : public SkinnedFormFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_list = new TListBox(m_form.get());
        m_list->SetParent(m_form.get());
        m_list->SetBounds(20, 20, 150, 120);
        for (int i = 0; i < 30; ++i)
            (void)m_list->Items()->Add("Line " + std::to_string(i));
    }

    [[nodiscard]] TDataSkinObject& Element(const char* name) const
    {
        TDataSkinObject* element = m_data->Elements().Element(name);
        EXPECT_NE(element, nullptr) << name;
        return *element;
    }

    [[nodiscard]] SCROLLBARINFO VerticalBar() const
    {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        EXPECT_TRUE(GetScrollBarInfo(m_list->Handle(), OBJID_VSCROLL, &info));
        return info;
    }

    // A point of the screen as a point of the form's whole window.
    [[nodiscard]] POINT InWindow(POINT screen) const
    {
        RECT window{};
        (void)GetWindowRect(Window(), &window);
        return POINT{screen.x - window.left, screen.y - window.top};
    }

    // A point `along` pixels down the list box's vertical bar, in its middle.
    [[nodiscard]] POINT OnBar(int along) const
    {
        const RECT bar = VerticalBar().rcScrollBar;
        return InWindow(POINT{(bar.left + bar.right) / 2, bar.top + along});
    }

    // Whether the screen at `origin` (a point of the screen) shows columns [from, to) of the top
    // `rows` rows of frame `frame` of `source`, where the source is not the key colour.
    void ExpectShown(POINT origin, TBitmap& source, int frameWidth, int frame, int rows, int from, int to) const
    {
        const POINT at = InWindow(origin);
        for (int y = 0; y < rows; ++y)
            for (int x = from; x < to; ++x) {
                const std::uint32_t expected = Colour(source, frameWidth * (frame - 1) + x, y);
                if (expected != 0xFF00FF) {
                    ASSERT_EQ(Shown({at.x + x, at.y + y}), SwapRB(expected)) << "frame " << frame << " at " << x
                                                                              << "," << y;
                }
            }
    }

    // Frame `frame` of the Scrollbar picture at `along` pixels down the vertical bar.
    void ExpectArrow(int along, int frame) const
    {
        TBitmap& image = Element("Scrollbar").Image;
        const RECT bar = VerticalBar().rcScrollBar;
        ExpectShown(POINT{bar.left, bar.top + along}, image, image.Height(), frame, image.Height(), 0, image.Height());
    }

    // Frame `frame` of the vertical thumb picture in the thumb's top rows.
    void ExpectThumb(int frame) const
    {
        TDataSkinObject& thumb = Element("VertScrollThumb");
        const int width = thumb.Image.Width() / thumb.Frame;
        const SCROLLBARINFO bar = VerticalBar();
        ExpectShown(POINT{bar.rcScrollBar.left, bar.rcScrollBar.top + bar.xyThumbTop}, thumb.Image, width, frame,
                    thumb.TopHeight, thumb.LeftWidth, width - thumb.RightWidth);
    }

    // Presses and releases at `from`, moving to `to` in between, all queued before the press is
    // handled: the system's scroll tracking runs inside the press.
    void Drag(POINT from, POINT to)
    {
        const auto id = reinterpret_cast<WindowId>(Window());
        m_display->InjectMouseMove(id, from);
        m_display->InjectMouseButton(id, from, MouseButton::Left, true);
        m_display->InjectMouseMove(id, to);
        m_display->InjectMouseButton(id, to, MouseButton::Left, false);
        Pump();
    }

    [[nodiscard]] TSkinScrollbar* ListSkinner() const
    {
        return dynamic_cast<TSkinScrollbar*>(Skinner()->FindSkinner(m_list->Handle()));
    }

    TListBox* m_list = nullptr;
};

namespace {

// Whether rows [from, to) of the picture match frame `frame` of `source` (frames `size` wide)
// where the source is not the key colour, rows counted from the source's `sourceTop`.
void ExpectRows(TBitmap& picture, int from, int to, TBitmap& source, int size, int frame, int sourceTop = 0)
{
    for (int y = from; y < to; ++y)
        for (int x = 0; x < size; ++x) {
            const std::uint32_t expected = Colour(source, size * (frame - 1) + x, sourceTop + y - from);
            if (expected != 0xFF00FF) {
                ASSERT_EQ(Colour(picture, x, y), expected) << "frame " << frame << " at " << x << "," << y;
            }
        }
}

} // namespace

TEST_F(ScrollSkinnersTest, TheBarPictureShowsArrowsAndThumbInEachState)
{
    struct Row {
        int hot;
        bool pressed;
        int up, down, thumb;
    };
    const Row rows[] = {
        {NoScrollPart, false, UpArrow, DownArrow, 1}, {SB_LINEUP, false, UpArrow + 3, DownArrow, 1},
        {SB_LINEUP, true, UpArrow + 1, DownArrow, 1}, {SB_LINEDOWN, true, UpArrow, DownArrow + 1, 1},
        {SB_PAGEDOWN, true, UpArrow, DownArrow, 1},   {SB_THUMBTRACK, false, UpArrow, DownArrow, 3},
        {SB_THUMBTRACK, true, UpArrow, DownArrow, 2},
    };
    TBitmap& arrows = Element("Scrollbar").Image;
    TDataSkinObject& thumb = Element("VertScrollThumb");
    const int size = arrows.Height();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.hot);
        TBarPicture bar;
        bar.bar = RECT{0, 0, size, 200};
        bar.thumbStart = 50;
        bar.thumbEnd = 100;
        bar.hotPart = row.hot;
        bar.pressed = row.pressed;
        bar.arrow = size;
        bar.surface = SIZE{size, 200};
        TBitmap picture;
        ASSERT_TRUE(DrawBarPicture(*m_data, bar, picture));
        ExpectRows(picture, 0, size, arrows, size, row.up);
        ExpectRows(picture, 200 - size, 200, arrows, size, row.down);
        ExpectRows(picture, 50, 50 + thumb.TopHeight, thumb.Image, thumb.Image.Width() / thumb.Frame, row.thumb);
    }
}

TEST_F(ScrollSkinnersTest, TheBarPictureKeepsToTheSystemThicknessAndToItsSurface)
{
    const int image = Element("Scrollbar").Image.Height();
    TBarPicture bar;
    bar.bar = RECT{0, 0, 40, 100};
    bar.surface = SIZE{40, 100};
    bar.stretched = true;
    TBitmap picture;
    for (const auto& [arrow, thickness] : {std::pair{image + 2, image}, std::pair{image + 3, image + 3},
                                           std::pair{image - 3, image - 3}}) {
        bar.arrow = arrow;
        ASSERT_TRUE(DrawBarPicture(*m_data, bar, picture));
        EXPECT_EQ(picture.Width(), thickness) << "arrow " << arrow;
    }

    // A thumb reaching past the surface is left out.
    bar.arrow = image;
    bar.stretched = false;
    bar.bar = RECT{0, 0, image, 100};
    bar.surface = SIZE{image, 100};
    bar.thumbStart = 20;
    bar.thumbEnd = 40;
    TBitmap without;
    ASSERT_TRUE(DrawBarPicture(*m_data, bar, without));
    bar.thumbStart = 60;
    bar.thumbEnd = 100;
    ASSERT_TRUE(DrawBarPicture(*m_data, bar, picture));
    for (int y = 60; y < 100 - image; ++y)
        ASSERT_EQ(Colour(picture, image / 2, y), Colour(without, image / 2, y)) << y;
    // A bar larger than its surface is not drawn at all.
    bar.surface = SIZE{image, 99};
    EXPECT_FALSE(DrawBarPicture(*m_data, bar, picture));
}

TEST_F(ScrollSkinnersTest, AListBoxBarIsCoveredByThePanelShowingTheSkin)
{
    ShowSkinned();
    TSkinScrollbar* skinner = ListSkinner();
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(skinner->VerticalBar()->Shown());
    EXPECT_FALSE(skinner->HorizontalBar()->Shown());
    const SCROLLBARINFO bar = VerticalBar();
    RECT panel{};
    (void)GetWindowRect(skinner->VerticalBar()->Handle(), &panel);
    EXPECT_TRUE(EqualRect(&panel, &bar.rcScrollBar));
    const int length = bar.rcScrollBar.bottom - bar.rcScrollBar.top;
    ExpectArrow(0, UpArrow);
    ExpectArrow(length - 16, DownArrow);
    ExpectThumb(1);
    // The list's sunken edge gives way to the skin's flat frame: shadow outside, face inside.
    RECT list{};
    (void)GetWindowRect(m_list->Handle(), &list);
    const TSkinColours& colours = m_data->Elements().Colours();
    for (const POINT& corner : {POINT{list.left, list.top}, POINT{list.right - 1, list.bottom - 1}})
        EXPECT_EQ(Shown(InWindow(corner)), SwapRB(static_cast<std::uint32_t>(ColorToRGB(colours.ButtonShadow))));
    EXPECT_EQ(Shown(InWindow(POINT{list.left + 1, list.top + 1})),
              SwapRB(static_cast<std::uint32_t>(ColorToRGB(colours.ButtonFace))));
}

TEST_F(ScrollSkinnersTest, HoveredArrowAndThumbShowTheirHotFrames)
{
    ShowSkinned();
    const int length = VerticalBar().rcScrollBar.bottom - VerticalBar().rcScrollBar.top;
    MoveMouse(OnBar(length - 8));
    ExpectArrow(length - 16, DownArrow + 3);
    ExpectArrow(0, UpArrow);
    MoveMouse(OnBar(VerticalBar().xyThumbTop + 4));
    ExpectThumb(3);
    ExpectArrow(length - 16, DownArrow);
    MoveMouse(POINT{10, 300});
    ExpectThumb(1);
}

TEST_F(ScrollSkinnersTest, TheBarScrollsByArrowPageAndThumb)
{
    ShowSkinned();
    const int length = VerticalBar().rcScrollBar.bottom - VerticalBar().rcScrollBar.top;
    Drag(OnBar(length - 8), OnBar(length - 8));
    EXPECT_EQ(m_list->TopIndex(), 1);
    Drag(OnBar(8), OnBar(8));
    EXPECT_EQ(m_list->TopIndex(), 0);

    const SCROLLBARINFO before = VerticalBar();
    Drag(OnBar(before.xyThumbBottom + 5), OnBar(before.xyThumbBottom + 5));
    const int page = m_list->TopIndex();
    EXPECT_GT(page, 1);

    const int top = VerticalBar().xyThumbTop;
    Drag(OnBar(top + 4), OnBar(top + 4 + 20));
    EXPECT_GT(m_list->TopIndex(), page + 4);
    // The panel shows the thumb where the system has it now, in its normal frame once released.
    EXPECT_GE(VerticalBar().xyThumbTop, top + 17);
    MoveMouse(POINT{10, 300});
    ExpectThumb(1);
}

TEST_F(ScrollSkinnersTest, ADisabledListShowsTheDisabledTrackWithoutThumb)
{
    m_list->SetTopIndex(12);
    ShowSkinned();
    m_list->SetEnabled(false);
    Pump();
    TDataSkinObject& track = Element("VertScroll");
    const int width = track.Image.Width() / 4;
    const int middle = track.Image.Height() / 2;
    const SCROLLBARINFO bar = VerticalBar();
    // Half way down, where the thumb was.
    const POINT at =
        InWindow(POINT{bar.rcScrollBar.left + width / 2, (bar.rcScrollBar.top + bar.rcScrollBar.bottom) / 2});
    EXPECT_EQ(Shown(at), SwapRB(Colour(track.Image, 2 * width + width / 2, middle)));
}

TEST_F(ScrollSkinnersTest, PanelsHideWithTheListAndFollowItsRecreatedWindow)
{
    ShowSkinned();
    TSkinScrollbar* skinner = ListSkinner();
    ASSERT_NE(skinner, nullptr);
    m_list->SetVisible(false);
    Pump();
    EXPECT_FALSE(skinner->VerticalBar()->Shown());
    EXPECT_FALSE(IsWindowVisible(skinner->VerticalBar()->Handle()));
    m_list->SetVisible(true);
    Pump();
    EXPECT_TRUE(skinner->VerticalBar()->Shown());

    m_list->RecreateWnd();
    Pump();
    EXPECT_EQ(Skinner()->FindSkinner(m_list->Handle()), skinner);
    EXPECT_EQ(skinner->VerticalBar()->Target(), m_list->Handle());
    EXPECT_TRUE(skinner->VerticalBar()->Shown());
    const int length = VerticalBar().rcScrollBar.bottom - VerticalBar().rcScrollBar.top;
    Drag(OnBar(length - 8), OnBar(length - 8));
    EXPECT_EQ(m_list->TopIndex(), 1);
}

TEST_F(ScrollSkinnersTest, PanelsFollowTheListIntoANewParent)
{
    ShowSkinned();
    TSkinScrollbar* skinner = ListSkinner();
    ASSERT_NE(skinner, nullptr);
    auto* panel = new TPanel(m_form.get());
    panel->SetParent(m_form.get());
    panel->SetBounds(180, 150, 200, 150);
    m_list->SetParent(panel);
    m_list->SetBounds(10, 10, 150, 120);
    Pump();
    EXPECT_EQ(GetParent(skinner->VerticalBar()->Handle()), panel->Handle());
    ASSERT_TRUE(skinner->VerticalBar()->Shown());
    RECT covered{};
    (void)GetWindowRect(skinner->VerticalBar()->Handle(), &covered);
    const RECT bar = VerticalBar().rcScrollBar;
    EXPECT_TRUE(EqualRect(&covered, &bar));
    const int length = bar.bottom - bar.top;
    Drag(OnBar(length - 8), OnBar(length - 8));
    EXPECT_EQ(m_list->TopIndex(), 1);
}

TEST_F(ScrollSkinnersTest, AScrollBarControlIsCoveredAndScrollsThroughItsPanel)
{
    auto* bar = new TScrollBar(m_form.get());
    bar->SetParent(m_form.get());
    bar->SetKind(sbVertical);
    bar->SetBounds(300, 20, 16, 200);
    bar->SetParams(0, 0, 100);
    ShowSkinned();
    auto* skinner = dynamic_cast<TSkinScControl*>(Skinner()->FindSkinner(bar->Handle()));
    ASSERT_NE(skinner, nullptr);
    ASSERT_TRUE(skinner->Bar()->Shown());
    RECT panel{};
    RECT control{};
    (void)GetWindowRect(skinner->Bar()->Handle(), &panel);
    (void)GetWindowRect(bar->Handle(), &control);
    EXPECT_TRUE(EqualRect(&panel, &control));
    const POINT down = InWindow(POINT{control.left + 8, control.bottom - 8});
    Drag(down, down);
    EXPECT_EQ(bar->Position(), 1);

    // Disabled, the bar shows the disabled track where the thumb was.
    bar->SetEnabled(false);
    Pump();
    TDataSkinObject& track = Element("VertScroll");
    const int width = track.Image.Width() / 4;
    EXPECT_EQ(Shown(InWindow(POINT{control.left + width / 2, control.top + 24})),
              SwapRB(Colour(track.Image, 2 * width + width / 2, track.Image.Height() / 2)));
}

TEST_F(ScrollSkinnersTest, ManySkinnedListsComeAndGoWithoutLeavingPanelsBehind)
{
    ShowSkinned();
    const std::size_t settled = Skinner()->Skinners().size();
    for (int round = 0; round < 100; ++round) {
        auto* list = new TListBox(m_form.get());
        list->SetParent(m_form.get());
        list->SetBounds(200, 150, 100, 60);
        for (int i = 0; i < 20; ++i)
            (void)list->Items()->Add("Item");
        Skinner()->SkinChildren();
        auto* skinner = dynamic_cast<TSkinScrollbar*>(Skinner()->FindSkinner(list->Handle()));
        ASSERT_NE(skinner, nullptr);
        ASSERT_TRUE(skinner->VerticalBar()->Shown());
        const HWND panel = skinner->VerticalBar()->Handle();
        if (round % 2)
            list->DestroyHandle();
        delete list;
        ASSERT_FALSE(IsWindowVisible(panel)) << round;
    }
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->Skinners().size(), settled);
}

TEST_F(ScrollSkinnersTest, ABareListWindowIsSkinnedThroughItsWindowProcedure)
{
    RegisterListBoxClass();
    ShowSkinned();
    const HWND bare = CreateWindowExA(0, "ListBox", "", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_BORDER, 200, 150,
                                      120, 100, Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    for (int i = 0; i < 30; ++i)
        (void)SendMessageA(bare, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Number"));
    auto skinner = std::make_unique<TSkinScrollbarH>();
    TSkinScrollbarH& attached = *skinner;
    ASSERT_TRUE(Skinner()->AddSkinner(std::move(skinner)));
    attached.AttachWindow(*Skinner(), bare);
    Pump();
    ASSERT_TRUE(attached.VerticalBar()->Shown());

    SCROLLBARINFO bar{};
    bar.cbSize = sizeof(bar);
    ASSERT_TRUE(GetScrollBarInfo(bare, OBJID_VSCROLL, &bar));
    const POINT down = InWindow(POINT{(bar.rcScrollBar.left + bar.rcScrollBar.right) / 2, bar.rcScrollBar.bottom - 8});
    Drag(down, down);
    EXPECT_EQ(SendMessageA(bare, LB_GETTOPINDEX, 0, 0), 1);

    (void)ShowWindow(bare, SW_HIDE);
    Pump();
    EXPECT_FALSE(IsWindowVisible(attached.VerticalBar()->Handle()));
    (void)DestroyWindow(bare);
    EXPECT_TRUE(attached.IsDead());
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->FindSkinner(bare), nullptr);
}

TEST_F(ScrollSkinnersTest, AFixedColourIsGivenBackAfterASkinChangeAndUnskinning)
{
    auto* list = new TFixedColourList(m_form.get());
    list->SetParent(m_form.get());
    list->SetBounds(200, 150, 100, 60);
    ShowSkinned();
    ASSERT_NE(dynamic_cast<TSkinScrollbar*>(Skinner()->FindSkinner(list->Handle())), nullptr);
    EXPECT_EQ(list->m_fixed, m_data->Elements().Colours().ButtonFace);
    Skinner()->SkinChanged();
    Skinner()->Unskin();
    EXPECT_EQ(list->m_fixed, clRed);
}

TEST_F(ScrollSkinnersTest, WithoutAScrollbarPictureTheListKeepsItsOwnBar)
{
    ASSERT_TRUE(LoadPackage(OurSkinPackage(Without("Scrollbar.bmp"))));
    ShowSkinned();
    TSkinScrollbar* skinner = ListSkinner();
    ASSERT_NE(skinner, nullptr);
    EXPECT_FALSE(skinner->VerticalBar()->Shown());
    EXPECT_FALSE(IsWindowVisible(skinner->VerticalBar()->Handle()));
    // The system's arrow glyph shows in the first arrow.
    const RECT bar = VerticalBar().rcScrollBar;
    int glyph = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            glyph += Shown(InWindow(POINT{bar.left + x, bar.top + y})) == 0 ? 1 : 0;
    EXPECT_GT(glyph, 3);
}

TEST_F(ScrollSkinnersTest, TheFormReplacesAListsScrollSkinnerWhenAsked)
{
    ShowSkinned();
    TSkinScrollbar* before = ListSkinner();
    ASSERT_NE(before, nullptr);
    const std::size_t count = Skinner()->Skinners().size();
    (void)SendMessageA(Window(), WM_SKIN_CONTROLSKINNERCHANGED, reinterpret_cast<WPARAM>(m_list->Handle()), 0);
    Pump();
    TSkinScrollbar* after = ListSkinner();
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_EQ(Skinner()->Skinners().size(), count);
    EXPECT_TRUE(after->VerticalBar()->Shown());
    ExpectArrow(0, UpArrow);
}
