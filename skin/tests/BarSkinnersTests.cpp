#include "SkinTestImages.h"
#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/controls/TabControl.h"
#include "platform/winapi/user/Button.h"
#include "skin/SkinContainers.h"
#include "skin/SkinDraw.h"
#include "skin/SkinManage.h"
#include "skin/SkinPaint.h"
#include "skin/SkinStatusBar.h"
#include "skin/SkinTab.h"
#include "skin/SkinTypes.h"
#include "skin/SkinUpDown.h"

#include <array>
#include <functional>

namespace {

// The client area's origin in the skinned window: left border 4, caption bar 26.
constexpr POINT ClientOrigin{4, 26};

std::uint32_t SwapRB(std::uint32_t colour)
{
    return ((colour & 0xFF) << 16) | (colour & 0xFF00) | ((colour >> 16) & 0xFF);
}

// The pixel (0xRRGGBB) of frame `frame` of `frames` at (x, y) of the frame; negative coordinates
// count from the frame's right or bottom edge.
std::uint32_t FramePixel(TBitmap& picture, int frames, int frame, int x, int y)
{
    const int width = picture.Width() / frames;
    const int px = x < 0 ? width + x : x;
    const int py = y < 0 ? picture.Height() + y : y;
    return SwapRB(static_cast<std::uint32_t>(PixelAt(picture, width * (frame - 1) + px, py)) & 0xFFFFFF);
}

} // namespace

class BarSkinnersTest : public SkinnedFormFixture {
protected:
    // A point of the control's client area in the form's whole window.
    static POINT At(const TControl& control, POINT local)
    {
        return POINT{ClientOrigin.x + control.Left() + local.x, ClientOrigin.y + control.Top() + local.y};
    }

    [[nodiscard]] TDataSkinObject& Element(const char* name) const
    {
        TDataSkinObject* element = m_data->Elements().Element(name);
        EXPECT_NE(element, nullptr) << name;
        return *element;
    }

    [[nodiscard]] std::uint32_t Colour(TColor colour) const { return SwapRB(ColorToRGB(colour) & 0xFFFFFF); }

    TStatusBar* AddStatusBar()
    {
        auto* bar = new TStatusBar(m_form.get());
        bar->SetParent(m_form.get());
        bar->SetAlign(alNone);
        bar->SetBounds(10, 280, 380, 22);
        for (const auto& [text, bevel] : {std::pair{"Lowered", pbLowered}, std::pair{"Raised", pbRaised}, std::pair{"Flat", pbNone}}) {
            TStatusPanel* panel = bar->Panels()->Add();
            panel->SetText(text);
            panel->SetBevel(bevel);
            panel->SetWidth(90);
        }
        return bar;
    }

    // Three sheets, the first active.
    TPageControl* AddPageControl(int tag = 0)
    {
        auto* pages = new TPageControl(m_form.get());
        pages->SetParent(m_form.get());
        pages->SetTag(tag);
        pages->SetBounds(20, 20, 300, 160);
        for (const char* caption : {"First", "Second", "Third"}) {
            auto* sheet = new TTabSheet(m_form.get());
            sheet->SetPageControl(pages);
            sheet->SetCaption(caption);
        }
        pages->SetActivePageIndex(0);
        return pages;
    }

    // The tab's rectangle in its control.
    static RECT TabRect(HWND tabs, int index)
    {
        RECT rect{};
        EXPECT_TRUE(SendMessageA(tabs, TCM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }

    // Whether the top-left corner of the tab (drawn one pixel lower) shows frame `frame` of the
    // Tabs picture, where that picture is not transparent. `window` maps a point of the tab
    // control to the form's whole window.
    void ExpectTabFrame(const std::function<POINT(POINT)>& window, HWND tabs, int index, int frame) const
    {
        TDataSkinObject& element = Element("Tabs");
        const RECT tab = TabRect(tabs, index);
        int compared = 0;
        for (int y = 0; y < element.TopHeight; ++y)
            for (int x = 0; x < element.LeftWidth; ++x) {
                const std::uint32_t expected = FramePixel(element.Image, 5, frame, x, y);
                if (expected == 0xFF00FF)
                    continue;
                ++compared;
                ASSERT_EQ(Shown(window({tab.left + x, tab.top + 1 + y})), expected)
                    << "tab " << index << " frame " << frame << " at " << x << "," << y;
            }
        EXPECT_GT(compared, 0);
    }

    void ExpectTabFrame(TWinControl& control, int index, int frame) const
    {
        ExpectTabFrame([&](POINT p) { return At(control, p); }, control.Handle(), index, frame);
    }

    // Answers WM_SKIN_CLOSETAB on the form with `answer`, counting the requests.
    void AnswerCloseRequests(LRESULT answer)
    {
        const TWndMethod old = m_form->WindowProc();
        m_form->SetWindowProc([this, old, answer](TMessage& message) {
            if (message.Msg != WM_SKIN_CLOSETAB) {
                old(message);
                return;
            }
            ++m_closeRequests;
            message.Result = answer;
        });
    }

    int m_closeRequests = 0;
};

TEST_F(BarSkinnersTest, StatusBarPanelsWearTheirBevelsFramesAndTheLastReachesTheEnd)
{
    TStatusBar* bar = AddStatusBar();
    ShowSkinned();
    TBitmap& edges = Element("StatusBarEdges").Image;
    for (int i = 0; i < 3; ++i) {
        RECT panel{};
        ASSERT_TRUE(SendMessageA(bar->Handle(), SB_GETRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&panel)));
        const int right = i == 2 ? bar->Width() : panel.right + 2;
        EXPECT_EQ(Shown(At(*bar, {panel.left, panel.top})), FramePixel(edges, 3, i + 1, 0, 0)) << i;
        EXPECT_EQ(Shown(At(*bar, {right - 1, panel.bottom - 1})), FramePixel(edges, 3, i + 1, -1, -1)) << i;
    }
}

TEST_F(BarSkinnersTest, StatusBarSimpleModeIsOneLoweredFrameAndTheGripFollowsTheStyle)
{
    TStatusBar* bar = AddStatusBar();
    bar->SetSimplePanel(true);
    bar->SetSizeGrip(false);
    ShowSkinned();
    TBitmap& edges = Element("StatusBarEdges").Image;
    EXPECT_EQ(Shown(At(*bar, {0, 0})), FramePixel(edges, 3, 1, 0, 0));
    EXPECT_EQ(Shown(At(*bar, {bar->Width() - 1, bar->Height() - 1})), FramePixel(edges, 3, 1, -1, -1));

    // The grip is ExtraImages' fifth frame at the bottom-right corner, one pixel in.
    TDataSkinObject& extra = Element("ExtraImages");
    const int gripWidth = extra.Image.Width() / extra.Frame;
    const int gripHeight = extra.Image.Height();
    const POINT grip{bar->Width() - 1 - gripWidth, bar->Height() - 1 - gripHeight};
    const auto gripShown = [&] {
        int matching = 0;
        int opaque = 0;
        for (int y = 0; y < gripHeight; ++y)
            for (int x = 0; x < gripWidth; ++x) {
                const std::uint32_t expected = FramePixel(extra.Image, extra.Frame, 5, x, y);
                if (expected == 0xFF00FF || grip.y + y < 0)
                    continue;
                ++opaque;
                matching += Shown(At(*bar, {grip.x + x, grip.y + y})) == expected;
            }
        return opaque > 0 && matching == opaque;
    };
    EXPECT_FALSE(gripShown());
    bar->SetSizeGrip(true);
    Pump();
    EXPECT_TRUE(gripShown());
}

TEST_F(BarSkinnersTest, OwnerDrawnPanelsGetTheirFrameAndTheHandlerDrawsOverIt)
{
    TStatusBar* bar = AddStatusBar();
    bar->Panels()->Items(1)->SetStyle(psOwnerDraw);
    std::vector<std::pair<int, RECT>> drawn;
    bar->SetOnDrawPanel(TDrawPanelEvent::FromFunction([&](TCustomStatusBar*, TStatusPanel* panel, const TRect& rect) {
        drawn.emplace_back(panel->Index(), rect);
    }));
    ShowSkinned();
    ASSERT_FALSE(drawn.empty());
    RECT second{};
    ASSERT_TRUE(SendMessageA(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&second)));
    bool secondDrawn = false;
    for (const auto& [index, rect] : drawn)
        if (index == 1) {
            secondDrawn = true;
            EXPECT_EQ(rect.left, second.left + 2);
            EXPECT_EQ(rect.top, second.top + 2);
            EXPECT_EQ(rect.right, second.right - 2);
            EXPECT_EQ(rect.bottom, second.bottom - 2);
        }
    EXPECT_TRUE(secondDrawn);
    EXPECT_EQ(Shown(At(*bar, {second.left, second.top})), FramePixel(Element("StatusBarEdges").Image, 3, 2, 0, 0));
    bar->SetOnDrawPanel({});
}

TEST_F(BarSkinnersTest, GroupBoxIsARoundedShadowFrameWithItsCaptionInTheLine)
{
    auto* group = new TGroupBox(m_form.get());
    group->SetParent(m_form.get());
    group->SetBounds(20, 130, 220, 100);
    group->SetCaption("Group");
    ShowSkinned();
    const TSkinColours& colours = m_data->Elements().Colours();
    const std::uint32_t face = Colour(colours.ButtonFace);
    const std::uint32_t shadow = Colour(colours.ButtonShadow);
    EXPECT_EQ(Shown(At(*group, {0, 50})), face);
    EXPECT_EQ(Shown(At(*group, {1, 50})), shadow);
    EXPECT_EQ(Shown(At(*group, {218, 50})), shadow);
    EXPECT_EQ(Shown(At(*group, {100, 98})), shadow);
    EXPECT_EQ(Shown(At(*group, {100, 50})), face);
    // The top line runs at half the font's height; the caption's cell covers it from x 8.
    int line = -1;
    for (int y = 0; y < 20 && line < 0; ++y)
        if (Shown(At(*group, {150, y})) == shadow)
            line = y;
    ASSERT_GE(line, 0);
    EXPECT_EQ(Shown(At(*group, {7, line})), shadow);
    for (int x = 8; x < 30; ++x)
        EXPECT_NE(Shown(At(*group, {x, line})), shadow) << x;
}

TEST_F(BarSkinnersTest, ABareRightAlignedGroupBoxHasItsCaptionEightPixelsFromTheRight)
{
    ShowSkinned();
    RegisterButtonClass();
    const HWND box = CreateWindowExA(0, "BUTTON", "Right", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 40, 150, 200, 80, Window(),
                                     nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    (void)SetWindowLongA(box, GWL_EXSTYLE, WS_EX_RIGHT);
    auto skinner = std::make_unique<TSkinGroupBox>();
    TSkinGroupBox& attached = *skinner;
    ASSERT_TRUE(Skinner()->AddSkinner(std::move(skinner)));
    attached.AttachWindow(*Skinner(), box);
    (void)InvalidateRect(box, nullptr, TRUE);
    Pump();
    const TSkinColours& colours = m_data->Elements().Colours();
    const std::uint32_t face = Colour(colours.ButtonFace);
    const std::uint32_t shadow = Colour(colours.ButtonShadow);
    const auto at = [](int x, int y) { return POINT{ClientOrigin.x + 40 + x, ClientOrigin.y + 150 + y}; };
    // The window's own frame is covered, the rounded one drawn one pixel in.
    EXPECT_EQ(Shown(at(0, 40)), face);
    EXPECT_EQ(Shown(at(1, 40)), shadow);
    // The caption's ink: the dark pixels of its text.
    const auto dark = [](std::uint32_t pixel) { return (pixel >> 16) + ((pixel >> 8) & 0xFF) + (pixel & 0xFF) < 300; };
    int inkRight = -1;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 200; ++x)
            if (dark(Shown(at(x, y))))
                inkRight = std::max(inkRight, x);
    EXPECT_LT(inkRight, 200 - 8);
    EXPECT_GE(inkRight, 200 - 8 - 4);
    (void)DestroyWindow(box);
    EXPECT_TRUE(attached.IsDead());
}

TEST_F(BarSkinnersTest, APanelTakesTheFaceColourWhileSkinnedAndGetsItsOwnBack)
{
    auto* panel = new TPanel(m_form.get());
    panel->SetParent(m_form.get());
    panel->SetBounds(20, 20, 100, 60);
    panel->SetColor(clRed);
    panel->SetParentBackground(true);
    ShowSkinned();
    EXPECT_EQ(panel->Color(), m_data->Elements().Colours().ButtonFace);
    EXPECT_FALSE(panel->ParentBackground());
    // Passive: the panel answers for itself.
    EXPECT_NE(SendMessageA(panel->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    m_data->SetActive(false);
    Advance(TSkinManage::ActionDelay);
    EXPECT_EQ(panel->Color(), clRed);
    EXPECT_TRUE(panel->ParentBackground());
}

TEST_F(BarSkinnersTest, PageControlTabsShowTheirFramesAndSwitchByClick)
{
    TPageControl* pages = AddPageControl();
    ShowSkinned();
    ExpectTabFrame(*pages, 0, 2);
    ExpectTabFrame(*pages, 1, 1);
    ExpectTabFrame(*pages, 2, 1);
    // The pane's border is the Tabs "Border" picture, its corners at their own size.
    TDataSkinBorder& tabs = *m_data->Elements().BorderElement("Tabs");
    RECT pane{0, 0, pages->Width(), pages->Height()};
    (void)SendMessageA(pages->Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&pane));
    InflateRect(&pane, 4, 4);
    EXPECT_EQ(Shown(At(*pages, {pane.left, pane.bottom - 1})), FramePixel(tabs.Glyph, 1, 1, 0, -1));
    EXPECT_EQ(Shown(At(*pages, {pane.right - 1, pane.bottom - 1})), FramePixel(tabs.Glyph, 1, 1, -1, -1));

    const RECT second = TabRect(pages->Handle(), 1);
    const POINT click = At(*pages, {(second.left + second.right) / 2, (second.top + second.bottom) / 2});
    Button(click, true);
    Button(click, false);
    EXPECT_EQ(pages->ActivePageIndex(), 1);
    ExpectTabFrame(*pages, 0, 1);
    ExpectTabFrame(*pages, 1, 2);
}

TEST_F(BarSkinnersTest, AnOverflowingRowShowsSkinnedScrollArrowsThatScroll)
{
    TPageControl* pages = AddPageControl();
    for (const char* caption : {"Fourth", "Fifth", "Sixth", "Seventh"}) {
        auto* sheet = new TTabSheet(m_form.get());
        sheet->SetPageControl(pages);
        sheet->SetCaption(caption);
    }
    pages->SetActivePageIndex(0);
    pages->SetWidth(180);
    ShowSkinned();
    std::array<RECT, 2> arrows{};
    const auto arrowFlags = [&] {
        return SendMessageA(pages->Handle(), TCM_GETSCROLLARROWS, 0, reinterpret_cast<LPARAM>(arrows.data()));
    };
    // Each arrow shows, pixel for pixel, the half of a skinned up-down in its state.
    const auto expectArrow = [&](int side, TUpDownHalfState state) {
        const RECT& arrow = arrows[static_cast<std::size_t>(side)];
        TBitmap expected;
        expected.SetPixelFormat(pf24bit);
        expected.SetSize(arrow.right - arrow.left, arrow.bottom - arrow.top);
        const RECT whole{0, 0, expected.Width(), expected.Height()};
        FillRectColor(expected.Canvas()->Handle(), whole, m_data->Elements().Colours().ButtonFace);
        DrawSkinUpDownHalf(expected.Canvas()->Handle(), whole, *m_data, true, side, state);
        for (int y = 0; y < expected.Height(); ++y)
            for (int x = 0; x < expected.Width(); ++x)
                ASSERT_EQ(Shown(At(*pages, {arrow.left + x, arrow.top + y})), Colour(PixelAt(expected, x, y)))
                    << "arrow " << side << " at " << x << "," << y;
    };
    ASSERT_EQ(arrowFlags(), TCSA_SHOWN | TCSA_RIGHTENABLED);
    expectArrow(0, udsDisabled);
    expectArrow(1, udsNormal);

    const RECT firstBefore = TabRect(pages->Handle(), 0);
    const POINT right = At(*pages, {(arrows[1].left + arrows[1].right) / 2, (arrows[1].top + arrows[1].bottom) / 2});
    Button(right, true);
    Button(right, false);
    Pump();
    // The row scrolls by one tab; the page stays.
    EXPECT_LT(TabRect(pages->Handle(), 0).left, firstBefore.left);
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    ASSERT_EQ(arrowFlags() & TCSA_LEFTENABLED, TCSA_LEFTENABLED);
    expectArrow(0, udsNormal);
}

TEST_F(BarSkinnersTest, CloseCrossesFreeTheirPageUnlessTheFormObjects)
{
    TPageControl* pages = AddPageControl(TabCloseButtonsTag);
    ShowSkinned();
    const auto cross = [&](int index) {
        const RECT tab = TabRect(pages->Handle(), index);
        return At(*pages, {tab.right - 5, tab.top + 1 + 5});
    };
    TTabSheet* third = pages->Pages(2);
    AnswerCloseRequests(1);
    Button(cross(2), true);
    Button(cross(2), false);
    EXPECT_EQ(m_closeRequests, 1);
    EXPECT_EQ(pages->PageCount(), 3);

    AnswerCloseRequests(0);
    Button(cross(1), true);
    Button(cross(1), false);
    EXPECT_EQ(pages->PageCount(), 2);
    // The click does not choose the tab, and the page that went is the one clicked.
    EXPECT_EQ(pages->ActivePageIndex(), 0);
    EXPECT_EQ(pages->Pages(1), third);
    // Off the cross, a click chooses the tab as usual.
    const RECT tab = TabRect(pages->Handle(), 1);
    Button(At(*pages, {tab.left + 6, tab.bottom - 4}), true);
    Button(At(*pages, {tab.left + 6, tab.bottom - 4}), false);
    EXPECT_EQ(pages->ActivePage(), third);
    EXPECT_EQ(pages->PageCount(), 2);
}

TEST_F(BarSkinnersTest, CloseCrossesNeedTheTag)
{
    TPageControl* pages = AddPageControl();
    ShowSkinned();
    AnswerCloseRequests(0);
    const RECT tab = TabRect(pages->Handle(), 2);
    Button(At(*pages, {tab.right - 5, tab.top + 6}), true);
    Button(At(*pages, {tab.right - 5, tab.top + 6}), false);
    EXPECT_EQ(m_closeRequests, 0);
    EXPECT_EQ(pages->PageCount(), 3);
    EXPECT_EQ(pages->ActivePageIndex(), 2);
}

TEST_F(BarSkinnersTest, ABareTabWindowIsSkinnedAndDropsItsSkinnerWhenDestroyed)
{
    ShowSkinned();
    InitCommonControls();
    const HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE, 30, 200, 240, 80, Window(), nullptr,
                                      nullptr, nullptr);
    ASSERT_NE(tabs, nullptr);
    // The last text is longer than the skinner's buffer: it is cut, never overrun.
    for (const std::string& text : {std::string("Alpha"), std::string("Beta"), std::string(150, 'c')}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text.c_str());
        (void)SendMessageA(tabs, TCM_INSERTITEMA, 9, reinterpret_cast<LPARAM>(&item));
    }
    (void)SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0);
    Skinner()->SkinForeignWindow(tabs);
    Pump();
    const auto at = [](POINT p) { return POINT{ClientOrigin.x + 30 + p.x, ClientOrigin.y + 200 + p.y}; };
    ExpectTabFrame(at, tabs, 0, 1);
    ExpectTabFrame(at, tabs, 1, 2);
    TSkinControl* skinner = Skinner()->FindSkinner(tabs);
    ASSERT_NE(skinner, nullptr);
    (void)DestroyWindow(tabs);
    EXPECT_TRUE(skinner->IsDead());
}

TEST_F(BarSkinnersTest, SkinnedBarsAndTabsFollowARecreatedWindowAndANewParent)
{
    TStatusBar* bar = AddStatusBar();
    TPageControl* pages = AddPageControl();
    ShowSkinned();
    bar->RecreateWnd();
    pages->RecreateWnd();
    auto* panel = new TPanel(m_form.get());
    panel->SetParent(m_form.get());
    panel->SetBounds(0, 0, 400, 250);
    Skinner()->SkinChildren();
    pages->SetParent(panel);
    Pump();
    for (TWinControl* control : std::initializer_list<TWinControl*>{bar, pages})
        EXPECT_EQ(SendMessageA(control->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1) << control->ClassName();
    RECT first{};
    ASSERT_TRUE(SendMessageA(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first)));
    EXPECT_EQ(Shown(At(*bar, {first.left, first.top})), FramePixel(Element("StatusBarEdges").Image, 3, 1, 0, 0));
    ExpectTabFrame([&](POINT p) { return At(*pages, p); }, pages->Handle(), 0, 2);
}

TEST_F(BarSkinnersTest, CreatingAndFreeingAThousandBarsBoxesAndTabsLeavesNoSkinnerBehind)
{
    ShowSkinned();
    const std::size_t settled = Skinner()->Skinners().size();
    for (int round = 0; round < 250; ++round) {
        TStatusBar* bar = AddStatusBar();
        auto* group = new TGroupBox(m_form.get());
        group->SetParent(m_form.get());
        auto* panel = new TPanel(m_form.get());
        panel->SetParent(m_form.get());
        auto* tabs = new TTabControl(m_form.get());
        tabs->SetParent(m_form.get());
        (void)tabs->Tabs()->Add("Only");
        Skinner()->SkinChildren();
        ASSERT_EQ(SendMessageA(tabs->Handle(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
        // Freed in turn: by the control's own destructor, by its window going first.
        delete bar;
        group->DestroyHandle();
        delete group;
        delete tabs;
        delete panel;
    }
    Skinner()->SkinChildren();
    EXPECT_EQ(Skinner()->Skinners().size(), settled);
}

TEST_F(BarSkinnersTest, WithoutATabsPictureThePageControlPaintsItsOwnLabels)
{
    ASSERT_TRUE(LoadPackage(OurSkinPackage(Without("Tabs.bmp"))));
    TPageControl* pages = AddPageControl();
    ShowSkinned();
    const RECT second = TabRect(pages->Handle(), 1);
    int text = 0;
    const std::uint32_t ink = Colour(clBtnText);
    for (int y = second.top; y < second.bottom; ++y)
        for (int x = second.left; x < second.right; ++x)
            text += Shown(At(*pages, {x, y})) == ink ? 1 : 0;
    EXPECT_GT(text, 10);
}

TEST_F(BarSkinnersTest, ButtonStyleTabsWearTheSkinsButtonFaces)
{
    ShowSkinned();
    InitCommonControls();
    const HWND tabs = CreateWindowExA(0, WC_TABCONTROLA, "", WS_CHILD | WS_VISIBLE | TCS_BUTTONS, 30, 200, 240, 80,
                                      Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(tabs, nullptr);
    for (const char* text : {"Alpha", "Beta"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text);
        (void)SendMessageA(tabs, TCM_INSERTITEMA, 9, reinterpret_cast<LPARAM>(&item));
    }
    (void)SendMessageA(tabs, TCM_SETCURFOCUS, 1, 0);
    Skinner()->SkinForeignWindow(tabs);
    Pump();
    ASSERT_NE(dynamic_cast<TSkinTabBtn*>(Skinner()->FindSkinner(tabs)), nullptr);
    // Each tab is the Buttons picture's frame drawn at its size: normal, then pressed.
    TDataSkinButton& faces = m_data->Elements().Buttons();
    for (int index = 0; index < 2; ++index) {
        const RECT tab = TabRect(tabs, index);
        TBitmap expected;
        expected.SetPixelFormat(pf24bit);
        expected.SetSize(tab.right - tab.left, tab.bottom - tab.top);
        DrawElement(expected.Canvas()->Handle(), Rect(0, 0, expected.Width(), expected.Height()), faces.Image, false,
                    faces.Tile == 1, false, 5, index + 1,
                    TSkinMargins{faces.LeftWidth, faces.TopHeight, faces.RightWidth, faces.BottomHeight});
        const POINT inside{2, expected.Height() / 2};
        EXPECT_EQ(Shown({ClientOrigin.x + 30 + tab.left + inside.x, ClientOrigin.y + 200 + tab.top + 1 + inside.y}),
                  SwapRB(static_cast<std::uint32_t>(PixelAt(expected, inside.x, inside.y)) & 0xFFFFFF))
            << "tab " << index;
    }
    (void)DestroyWindow(tabs);
}
