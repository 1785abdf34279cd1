#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/Xdotool.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xvfb.h"
#include "tools/gallery/ControlsGalleryLayout.h"
#include "tools/gallery/GalleryLayout.h"
#include "tools/gallery/GridToolsGalleryLayout.h"
#include "tools/gallery/TabsGalleryLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Generous: the gallery starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

std::uint32_t Rgb(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

// Screen points of the gallery's controls: the same control in either column.
struct GalleryGeometry {
    explicit GalleryGeometry(const RECT& window = gallery::WINDOW_RECT)
        : clientOrigin{window.left + GetSystemMetrics(SM_CXFRAME),
                       window.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION)}
    {
    }

    POINT clientOrigin;

    [[nodiscard]] RECT OnScreen(const RECT& column, const RECT& control) const
    {
        RECT r = control;
        (void)OffsetRect(&r, clientOrigin.x + column.left, clientOrigin.y + column.top);
        return r;
    }
};

// Our skin's frame: a 4-pixel left border and a 26-pixel caption bar above the client area.
GalleryGeometry SkinnedGeometry(const RECT& window)
{
    GalleryGeometry geometry(window);
    geometry.clientOrigin = POINT{window.left + 4, window.top + 26};
    return geometry;
}

// Colours of our skin's pictures (assets/skin/modem) where the tests look at skinned controls.
namespace skin {
// The caption bar at its twelfth row.
constexpr std::uint32_t CAPTION = 0x4770A7;
constexpr std::uint32_t FACE = 0xE8EDF3;
// The group box's rounded frame; also the outer edge of a lowered status panel (StatusBarEdges).
constexpr std::uint32_t SHADOW = 0x96A4B8;
// Inside a status panel's frame, half way down (a gradient).
constexpr std::uint32_t STATUS_PANEL = 0xE9EEF4;
// The top line of the chosen tab (Tabs, frame 2).
constexpr std::uint32_t CHOSEN_TAB = 0x3470BE;
// The pane's border (the Tabs "Border" picture).
constexpr std::uint32_t PANE_BORDER = 0x7A8EAA;
// A push button's left edge half way down (Buttons): enabled, then disabled.
constexpr std::uint32_t BUTTON_EDGE = 0xECF1F8;
constexpr std::uint32_t DISABLED_BUTTON_EDGE = 0xEDF0F3;
// The arrows on the Scrollbar picture, and the outline of its thumb.
constexpr std::uint32_t SCROLL_ARROW = 0x225092;
constexpr std::uint32_t SCROLL_THUMB_OUTLINE = 0x7A8EAA;
} // namespace skin

// Whether any pixel inside `rect` (shrunk by `inset`) has `color`.
bool Shows(const Screenshot& shot, RECT rect, int inset, std::uint32_t color)
{
    for (int y = rect.top + inset; y < rect.bottom - inset; ++y)
        for (int x = rect.left + inset; x < rect.right - inset; ++x)
            if (shot.At(x, y) == color)
                return true;
    return false;
}

class GalleryTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

// The gallery on a private X server, looked at from outside. The picture stays in the build tree
// for a developer to look at.
class GalleryOnXTest : public GalleryTest {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the gallery is not looked at on X";
        m_server = std::make_unique<XvfbServer>(1024, 768);
    }

    // The right end of the enabled edit, past its text, on the window colour: the last of the
    // gallery's windows to paint is long done once it shows.
    [[nodiscard]] bool Shown(const Screenshot& shot) const
    {
        const RECT edit = m_at.OnScreen(gallery::ENABLED_COLUMN, gallery::EDIT);
        const RECT status = m_at.OnScreen(gallery::DISABLED_COLUMN, gallery::STATUS_BAR);
        return shot.At(edit.right - 6, (edit.top + edit.bottom) / 2) == m_window &&
               shot.At(status.right - 6, (status.top + status.bottom) / 2) == m_face;
    }

    using ShownTest = std::function<bool(const Screenshot&)>;

    Screenshot AwaitGallery() { return AwaitGallery({}, [this](const Screenshot& shot) { return Shown(shot); }); }

    // The gallery started with `options`, once `shown` says it has painted.
    Screenshot AwaitGallery(std::vector<std::string> options, const ShownTest& shown)
    {
        options.insert(options.end(), {"--quit-after", "600000"});
        m_gallery = std::make_unique<ChildProgram>(GALLERY_PROGRAM, options,
                                                  ChildProgram::Environment{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}},
                                                  m_dir / "stderr.txt");
        Screenshot shot;
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (m_gallery->Running() && std::chrono::steady_clock::now() < deadline) {
            if (auto taken = TakeXScreenshot(m_server->Name())) {
                shot = std::move(*taken);
                if (shown(shot))
                    break;
            }
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(m_gallery->Running()) << ReadWholeFile(m_dir / "stderr.txt");
        return shot;
    }

    // The standard page in our skin, once both status bars show the skin and the picture has
    // stopped changing (the skinned controls paint one after another; nothing blinks here).
    Screenshot AwaitSkinnedGallery()
    {
        const RECT columns[] = {gallery::ENABLED_COLUMN, gallery::DISABLED_COLUMN};
        std::vector<std::uint32_t> previous;
        return AwaitGallery({"--skin", SkinFile()}, [&](const Screenshot& taken) {
            const bool skinned = std::all_of(std::begin(columns), std::end(columns), [&](const RECT& column) {
                const RECT status = m_skinnedAt.OnScreen(column, gallery::STATUS_BAR);
                return taken.At(status.right - 6, (status.top + status.bottom) / 2) == skin::STATUS_PANEL;
            });
            const bool still = taken.pixels == previous;
            previous = taken.pixels;
            return skinned && still;
        });
    }

    static std::string SkinFile() { return std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem.skn"; }

    GalleryGeometry m_at;
    GalleryGeometry m_skinnedAt = SkinnedGeometry(gallery::WINDOW_RECT);
    std::uint32_t m_face = Rgb(GetSysColor(COLOR_BTNFACE));
    std::uint32_t m_window = Rgb(GetSysColor(COLOR_WINDOW));
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<ChildProgram> m_gallery;
};

TEST_F(GalleryOnXTest, ShowsEveryControlEnabledAndDisabled)
{
    const Screenshot shot = AwaitGallery();
    ASSERT_TRUE(WritePngFile(GALLERY_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_TRUE(Shown(shot)) << "see " << GALLERY_SCREENSHOT;

    // The enabled button's caption is button text on the face; the disabled one's is grey.
    const std::uint32_t text = Rgb(GetSysColor(COLOR_BTNTEXT));
    const std::uint32_t grey = Rgb(GetSysColor(COLOR_GRAYTEXT));
    const RECT button = m_at.OnScreen(gallery::ENABLED_COLUMN, gallery::BUTTON);
    const RECT disabledButton = m_at.OnScreen(gallery::DISABLED_COLUMN, gallery::BUTTON);
    EXPECT_TRUE(Shows(shot, button, 3, text));
    EXPECT_FALSE(Shows(shot, button, 3, grey));
    EXPECT_TRUE(Shows(shot, disabledButton, 3, grey));
    EXPECT_FALSE(Shows(shot, disabledButton, 3, text));

    // An edit writes its text in the window text colour while enabled and grey when disabled;
    // the class library's edit keeps its Color (the window colour) as the background either way.
    const std::uint32_t windowText = Rgb(GetSysColor(COLOR_WINDOWTEXT));
    const RECT edit = m_at.OnScreen(gallery::ENABLED_COLUMN, gallery::EDIT);
    const RECT disabledEdit = m_at.OnScreen(gallery::DISABLED_COLUMN, gallery::EDIT);
    EXPECT_TRUE(Shows(shot, edit, 3, windowText));
    EXPECT_FALSE(Shows(shot, edit, 3, grey));
    EXPECT_TRUE(Shows(shot, disabledEdit, 3, grey));
    EXPECT_FALSE(Shows(shot, disabledEdit, 3, windowText));
    EXPECT_EQ(shot.At(disabledEdit.right - 6, (disabledEdit.top + disabledEdit.bottom) / 2), m_window);

    // The list's selected row is in the highlight colour, the row above it is not (rows are 12 to
    // 16 pixels high, below a 2-pixel border; the texts end well before the right edge).
    const RECT list = m_at.OnScreen(gallery::ENABLED_COLUMN, gallery::LIST_BOX);
    const int x = list.right - 6;
    const int firstRowMiddle = list.top + 2 + 6;
    const std::uint32_t highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(shot.At(x, firstRowMiddle + 13 * gallery::LIST_SELECTED_INDEX), highlight);
    EXPECT_EQ(shot.At(x, firstRowMiddle), m_window);
}

// The controls page, looked at the same way; its picture is kept beside the first one.
class ControlsGalleryOnXTest : public GalleryOnXTest {
protected:
    // The enabled column's first edit on the window colour past its text, and the disabled
    // column's full traditional bar in the highlight colour left of its figure: the disabled
    // column paints last.
    [[nodiscard]] bool ControlsShown(const Screenshot& shot) const
    {
        using namespace gallery::library;
        const RECT edit = m_controlsAt.OnScreen(ENABLED_COLUMN, EditCell(0));
        const RECT bar = m_controlsAt.OnScreen(DISABLED_COLUMN, BarCell(0, 2));
        return shot.At(edit.right - 6, (edit.top + edit.bottom) / 2) == m_window &&
               shot.At(bar.left + 6, (bar.top + bar.bottom) / 2) == m_highlight;
    }

    Screenshot AwaitControls()
    {
        return AwaitGallery({"--controls"}, [this](const Screenshot& shot) { return ControlsShown(shot); });
    }

    GalleryGeometry m_controlsAt{gallery::library::WINDOW_RECT};
    std::uint32_t m_highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
};

TEST_F(ControlsGalleryOnXTest, ShowsTheControlLibraryEnabledAndDisabled)
{
    using namespace gallery::library;
    const Screenshot shot = AwaitControls();
    ASSERT_TRUE(WritePngFile(GALLERY_CONTROLS_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_TRUE(ControlsShown(shot)) << "see " << GALLERY_CONTROLS_SCREENSHOT;

    // The push button's caption is button text while enabled and never once disabled.
    const std::uint32_t text = Rgb(GetSysColor(COLOR_BTNTEXT));
    EXPECT_TRUE(Shows(shot, m_controlsAt.OnScreen(ENABLED_COLUMN, BUTTON), 3, text));
    EXPECT_FALSE(Shows(shot, m_controlsAt.OnScreen(DISABLED_COLUMN, BUTTON), 3, text));

    // A disabled edit takes its DisabledColor (the button face) in place of the window colour.
    const RECT disabledEdit = m_controlsAt.OnScreen(DISABLED_COLUMN, EditCell(0));
    EXPECT_EQ(shot.At(disabledEdit.right - 6, (disabledEdit.top + disabledEdit.bottom) / 2), m_face);

    // The still LED display lights dots of its caption brightly only while enabled.
    constexpr std::uint32_t lit = 0x00FF00;
    EXPECT_TRUE(Shows(shot, m_controlsAt.OnScreen(ENABLED_COLUMN, LED_STILL), 2, lit));
    EXPECT_FALSE(Shows(shot, m_controlsAt.OnScreen(DISABLED_COLUMN, LED_STILL), 2, lit));

    // A quarter bar has the highlight colour at its start and the back colour (white) at its end.
    const RECT quarter = m_controlsAt.OnScreen(ENABLED_COLUMN, BarCell(0, 0));
    const int middle = (quarter.top + quarter.bottom) / 2;
    EXPECT_EQ(shot.At(quarter.left + 6, middle), m_highlight);
    EXPECT_EQ(shot.At(quarter.right - 6, middle), 0xFFFFFFu);
}

// The tabs page: every cell's chosen tab opens into its card, so the card's face shows in the tab
// strip, beside the frame colour and the captions' text.
TEST_F(GalleryOnXTest, ShowsTabsInEveryShapeAndOrientation)
{
    using namespace gallery::tabs;
    const GalleryGeometry at{WINDOW_RECT};
    const RECT page{0, 0, 0, 0};
    const std::uint32_t text = Rgb(GetSysColor(COLOR_BTNTEXT));
    const std::uint32_t frame = Rgb(GetSysColor(COLOR_BTNSHADOW));
    const auto drawn = [&](const Screenshot& shot, int shape, int side) {
        const RECT cell = at.OnScreen(page, Cell(shape, side));
        return Shows(shot, cell, 1, text) && Shows(shot, cell, 1, frame);
    };
    const Screenshot shot = AwaitGallery({"--tabs"}, [&](const Screenshot& taken) {
        return drawn(taken, SHAPES - 1, SIDES - 1);
    });
    ASSERT_TRUE(WritePngFile(GALLERY_TABS_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    for (int shape = 0; shape < SHAPES; ++shape)
        for (int side = 0; side < SIDES; ++side)
            EXPECT_TRUE(drawn(shot, shape, side)) << "shape " << shape << ", side " << side << "; see "
                                                  << GALLERY_TABS_SCREENSHOT;
    // The side strips hold all three double-slant tabs: no scroll arrows (black glyphs) at the
    // strip's start, where they would stand.
    constexpr int doubleSlant = 1, left = 1, right = 3;
    const RECT leftCell = at.OnScreen(page, Cell(doubleSlant, left));
    EXPECT_FALSE(Shows(shot, RECT{leftCell.left, leftCell.top, leftCell.left + 20, leftCell.top + 30}, 0, text));
    const RECT rightCell = at.OnScreen(page, Cell(doubleSlant, right));
    EXPECT_FALSE(Shows(shot, RECT{rightCell.right - 20, rightCell.bottom - 30, rightCell.right, rightCell.bottom}, 0, text));
}

// The grid tools page: the combo box's list dropped down over the form with its chosen item
// highlighted, check marks in the checked and grayed boxes only, and the calculator's result.
TEST_F(GalleryOnXTest, ShowsTheGridToolsWithAnOpenDropDown)
{
    using namespace gallery::gridtools;
    const GalleryGeometry at{WINDOW_RECT};
    const RECT form{0, 0, 0, 0};
    const std::uint32_t highlight = Rgb(GetSysColor(COLOR_HIGHLIGHT));
    const std::uint32_t windowText = Rgb(GetSysColor(COLOR_WINDOWTEXT));
    const RECT combo = at.OnScreen(form, Row(COMBO_ROW));
    // Below the combo box, where its list drops down (the rows below it hold nothing else).
    const RECT list{combo.left, combo.bottom, combo.right, combo.bottom + 110};
    const Screenshot shot = AwaitGallery({"--grid-tools"}, [&](const Screenshot& taken) {
        return Shows(taken, list, 3, highlight);
    });
    ASSERT_TRUE(WritePngFile(GALLERY_GRID_TOOLS_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_TRUE(Shows(shot, list, 3, highlight)) << "see " << GALLERY_GRID_TOOLS_SCREENSHOT;
    // The highlighted row is the third: two white rows above it.
    int firstHighlighted = -1;
    for (int y = list.top; y < list.bottom && firstHighlighted < 0; ++y)
        if (shot.At(list.left + 40, y) == highlight)
            firstHighlighted = y;
    EXPECT_GT(firstHighlighted - list.top, 2 * 11) << "see " << GALLERY_GRID_TOOLS_SCREENSHOT;
    EXPECT_EQ(shot.At(list.left + 40, list.top + 6), m_window);

    // The box itself: the check box square on the left of each row.
    const auto box = [&](int index) {
        const RECT check = at.OnScreen(form, Check(index));
        return RECT{check.left, check.top, check.left + 13, check.bottom};
    };
    EXPECT_TRUE(Shows(shot, box(0), 2, windowText));
    EXPECT_FALSE(Shows(shot, box(1), 2, windowText));
    EXPECT_FALSE(Shows(shot, box(2), 2, windowText));

    // The calculator's display holds its result in the window text colour.
    const RECT display = at.OnScreen(form, RECT{CALCULATOR.left + 6, CALCULATOR.top + 4, CALCULATOR.left + 177,
                                                CALCULATOR.top + 23});
    EXPECT_TRUE(Shows(shot, display, 3, windowText));
}

// The grid tools page in our skin: the data grid's scroll bars are the skin's, not the system's,
// and its vertical bar scrolls by a click on its down arrow.
TEST_F(GalleryOnXTest, WearsTheSkinOnTheDataGridsScrollBars)
{
    using namespace gallery::gridtools;
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    const RECT grid = SkinnedGeometry(WINDOW_RECT).OnScreen(RECT{}, GRID);
    // Inside the grid's two-pixel frame: the vertical bar down the right, the horizontal one along
    // the bottom, each as thick as a system bar.
    const int thickness = GetSystemMetrics(SM_CXVSCROLL);
    const RECT vertical{grid.right - 2 - thickness, grid.top + 2, grid.right - 2, grid.bottom - 2 - thickness};
    const RECT horizontal{grid.left + 2, grid.bottom - 2 - thickness, grid.right - 2 - thickness, grid.bottom - 2};
    const auto thumbTop = [&](const Screenshot& shot) {
        for (int y = vertical.top + thickness; y < vertical.bottom - thickness; ++y)
            if (shot.At((vertical.left + vertical.right) / 2, y) == skin::SCROLL_THUMB_OUTLINE)
                return y;
        return -1;
    };
    const Screenshot shot = AwaitGallery({"--grid-tools", "--skin", SkinFile()}, [&](const Screenshot& taken) {
        return Shows(taken, vertical, 0, skin::SCROLL_ARROW) && Shows(taken, horizontal, 0, skin::SCROLL_ARROW);
    });
    ASSERT_TRUE(WritePngFile(GALLERY_SKIN_GRID_TOOLS_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    for (const RECT& bar : {vertical, horizontal}) {
        EXPECT_TRUE(Shows(shot, bar, 0, skin::SCROLL_ARROW)) << "see " << GALLERY_SKIN_GRID_TOOLS_SCREENSHOT;
        EXPECT_FALSE(Shows(shot, bar, 0, m_face)) << "see " << GALLERY_SKIN_GRID_TOOLS_SCREENSHOT;
    }
    const int before = thumbTop(shot);
    ASSERT_GE(before, 0) << "see " << GALLERY_SKIN_GRID_TOOLS_SCREENSHOT;
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the down arrow is not clicked";
    int after = before;
    const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
    while (after <= before && std::chrono::steady_clock::now() < deadline) {
        ASSERT_TRUE(xdotool->Click((vertical.left + vertical.right) / 2, vertical.bottom - thickness / 2))
            << ReadWholeFile(m_dir / "xdotool.txt");
        std::this_thread::sleep_for(50ms);
        if (auto taken = TakeXScreenshot(m_server->Name()))
            after = thumbTop(*taken);
    }
    EXPECT_GT(after, before) << "the thumb stays at " << before;
}

// With --skin the gallery wears our own skin: the skin's caption, borders and buttons, and on X
// the window's shape follows the skinned window's region, so its rounded corners show the root.
TEST_F(GalleryOnXTest, WearsTheSkinWithARoundedShape)
{
    const RECT& standard = gallery::WINDOW_RECT;
    const int clientWidth = standard.right - standard.left - 2 * GetSystemMetrics(SM_CXFRAME);
    const int width = clientWidth + 2 * 4;
    const POINT origin{standard.left, standard.top};
    // Our skin's caption at its twelfth row, its close button's cross and the border's outline.
    constexpr std::uint32_t caption = skin::CAPTION;
    constexpr std::uint32_t closeCross = 0x601C18;
    constexpr std::uint32_t outline = 0x1A3050;
    const Screenshot shot = AwaitSkinnedGallery();
    ASSERT_TRUE(WritePngFile(GALLERY_SKIN_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_EQ(shot.At(origin.x + width / 2, origin.y + 12), caption) << "see " << GALLERY_SKIN_SCREENSHOT;
    EXPECT_EQ(shot.At(origin.x + width - 27, origin.y + 4 + 8), closeCross);
    EXPECT_EQ(shot.At(origin.x, origin.y + 100), outline);
    // The corners are cut out of the window: the root window (black) shows there.
    EXPECT_EQ(shot.At(origin.x, origin.y), 0x000000u);
    EXPECT_EQ(shot.At(origin.x + width - 1, origin.y), 0x000000u);
    EXPECT_EQ(shot.At(origin.x + 2, origin.y), outline);
    // The title is written in white on the caption.
    EXPECT_TRUE(Shows(shot, RECT{origin.x + 20, origin.y + 4, origin.x + 200, origin.y + 22}, 0, 0xFFFFFF));

    // The scroll bar control wears the skin's arrows in both columns; only the enabled one shows
    // its thumb, whose grip is white. The skinned client area starts 4 pixels in, 26 down.
    const auto skinned = [&](const RECT& column, const RECT& control) {
        RECT r = control;
        (void)OffsetRect(&r, origin.x + 4 + column.left, origin.y + 26 + column.top);
        return r;
    };
    constexpr std::uint32_t arrowInk = 0x225092;
    constexpr int arrow = 16;
    for (const RECT* column : {&gallery::ENABLED_COLUMN, &gallery::DISABLED_COLUMN}) {
        const RECT bar = skinned(*column, gallery::SCROLL_BAR);
        EXPECT_TRUE(Shows(shot, RECT{bar.left, bar.top, bar.left + arrow, bar.bottom}, 0, arrowInk));
    }
    RECT enabledTrack = skinned(gallery::ENABLED_COLUMN, gallery::SCROLL_BAR);
    RECT disabledTrack = skinned(gallery::DISABLED_COLUMN, gallery::SCROLL_BAR);
    (void)InflateRect(&enabledTrack, -arrow, 0);
    (void)InflateRect(&disabledTrack, -arrow, 0);
    EXPECT_TRUE(Shows(shot, enabledTrack, 0, 0xFFFFFF));
    EXPECT_FALSE(Shows(shot, disabledTrack, 0, 0xFFFFFF));
}

// In our skin every control a skinner serves wears it in both columns: the columns' group boxes,
// buttons, the page control's and tab control's tabs and pane, the panel and the status bar.
TEST_F(GalleryOnXTest, WearsTheSkinOnEveryServedControlEnabledAndDisabled)
{
    using namespace gallery;
    const Screenshot shot = AwaitSkinnedGallery();
    ASSERT_TRUE(WritePngFile(GALLERY_SKIN_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    for (const RECT& column : {ENABLED_COLUMN, DISABLED_COLUMN}) {
        const bool enabled = column.left == ENABLED_COLUMN.left;
        const auto on = [&](const RECT& control) { return m_skinnedAt.OnScreen(column, control); };
        const RECT box = m_skinnedAt.OnScreen(RECT{}, column);
        EXPECT_EQ(shot.At(box.left + 1, (box.top + box.bottom) / 2), skin::SHADOW) << "group box; see "
                                                                                   << GALLERY_SKIN_SCREENSHOT;
        const RECT button = on(BUTTON);
        EXPECT_EQ(shot.At(button.left + 2, (button.top + button.bottom) / 2),
                  enabled ? skin::BUTTON_EDGE : skin::DISABLED_BUTTON_EDGE);
        for (const RECT& tabs : {on(PAGE_CONTROL), on(TAB_CONTROL)})
            EXPECT_TRUE(Shows(shot, RECT{tabs.left, tabs.top, tabs.right, tabs.top + 8}, 0, skin::CHOSEN_TAB));
        const RECT pages = on(PAGE_CONTROL);
        EXPECT_EQ(shot.At(pages.left, pages.bottom - 1), skin::PANE_BORDER);
        EXPECT_EQ(shot.At(pages.right - 1, pages.bottom - 1), skin::PANE_BORDER);
        const RECT panel = on(PANEL);
        EXPECT_EQ(shot.At(panel.left + 6, panel.top + 6), skin::FACE);
        // The first panel starts 2 pixels down the bar, in the lowered frame.
        const RECT status = on(STATUS_BAR);
        EXPECT_EQ(shot.At(status.left, status.top + 2), skin::SHADOW);
        EXPECT_EQ(shot.At(status.left + 60, (status.top + status.bottom) / 2), skin::STATUS_PANEL);
    }
}

// The control library's page in our skin: its push buttons are skinned buttons, its group boxes and
// panels take the skin's colours, in both columns.
TEST_F(ControlsGalleryOnXTest, WearsTheSkinOnTheControlLibrary)
{
    using namespace gallery::library;
    const GalleryGeometry at = SkinnedGeometry(WINDOW_RECT);
    const RECT bar = at.OnScreen(DISABLED_COLUMN, BarCell(0, 2));
    const Screenshot shot = AwaitGallery({"--controls", "--skin", SkinFile()}, [&](const Screenshot& taken) {
        return taken.At(bar.left + 6, (bar.top + bar.bottom) / 2) == m_highlight;
    });
    for (const RECT& column : {ENABLED_COLUMN, DISABLED_COLUMN}) {
        const bool enabled = column.left == ENABLED_COLUMN.left;
        const RECT box = at.OnScreen(RECT{}, column);
        EXPECT_EQ(shot.At(box.left + 1, (box.top + box.bottom) / 2), skin::SHADOW);
        for (const RECT& cell : {BUTTON, DEFAULT_BUTTON}) {
            const RECT button = at.OnScreen(column, cell);
            EXPECT_EQ(shot.At(button.left + 2, (button.top + button.bottom) / 2),
                      enabled ? skin::BUTTON_EDGE : skin::DISABLED_BUTTON_EDGE);
        }
        const RECT panel = at.OnScreen(column, PanelCell(0));
        EXPECT_EQ(shot.At(panel.left + 6, panel.top + 6), skin::FACE);
    }
}

// With --skin and --menu the gallery has a skinned menu bar whose File drop-down opens: the window
// grows by the bar, the bar's open button is highlighted, and the drop-down shows the skin's frame, its glyph column, the
// separator's picture and the check mark, on X as the drop-down's own override-redirect window.
TEST_F(GalleryOnXTest, ShowsTheSkinnedMenuBarAndItsDropDown)
{
    const POINT origin{gallery::WINDOW_RECT.left, gallery::WINDOW_RECT.top};
    const auto at = [&](int x, int y) { return POINT{origin.x + x, origin.y + y}; };
    // The drop-down lies under the File button: its left edge at the button's, its top at the
    // bar's bottom.
    const POINT frameLeft = at(10, 88), frameTop = at(88, 44), glyphColumn = at(18, 88);
    constexpr std::uint32_t menuFrame = 0x7A8EAA, columnGround = 0xEBF1F7, hilight = 0xC8DDF7;
    constexpr std::uint32_t separatorShadow = 0x96A4B8, checkMark = 0x161E2C;
    const Screenshot shot = AwaitGallery({"--skin", SkinFile(), "--menu"}, [&](const Screenshot& taken) {
        return taken.At(frameLeft.x, frameLeft.y) == menuFrame && taken.At(glyphColumn.x, glyphColumn.y) == columnGround;
    });
    ASSERT_TRUE(WritePngFile(GALLERY_SKIN_MENU_SCREENSHOT, shot.width, shot.height, shot.pixels.data(),
                             static_cast<std::ptrdiff_t>(shot.width) * 4));
    ASSERT_EQ(shot.At(frameLeft.x, frameLeft.y), menuFrame) << "see " << GALLERY_SKIN_MENU_SCREENSHOT;
    EXPECT_EQ(shot.At(frameTop.x, frameTop.y), menuFrame);
    EXPECT_EQ(shot.At(glyphColumn.x, glyphColumn.y), columnGround);
    EXPECT_EQ(shot.At(origin.x + 12, origin.y + 26), skin::SHADOW) << "the open File button's frame";
    EXPECT_EQ(shot.At(origin.x + 14, origin.y + 28), hilight) << "the open File button is highlighted";
    // The window has grown by the bar: the status bars sit the bar's height lower, whole, over
    // the skin's bottom border.
    GalleryGeometry belowBar = m_skinnedAt;
    belowBar.clientOrigin.y += GetSystemMetrics(SM_CYMENU);
    const RECT status = belowBar.OnScreen(gallery::DISABLED_COLUMN, gallery::STATUS_BAR);
    EXPECT_EQ(shot.At(status.left + 60, (status.top + status.bottom) / 2), skin::STATUS_PANEL);
    const int bottom = belowBar.clientOrigin.y + gallery::WINDOW_RECT.bottom - gallery::WINDOW_RECT.top -
                       GetSystemMetrics(SM_CYFRAME) * 2 - GetSystemMetrics(SM_CYCAPTION);
    EXPECT_NE(shot.At((status.left + status.right) / 2, bottom + 1), 0x000000u) << "the bottom border is painted";
    EXPECT_EQ(shot.At(origin.x + 18, origin.y + 84), separatorShadow) << "the first separator";
    EXPECT_TRUE(Shows(shot, RECT{origin.x + 14, origin.y + 90, origin.x + 34, origin.y + 104}, 0, checkMark))
        << "Show grid is checked";
}

// Every way of closing the gallery ends it with status 0: a fault while Application frees the
// forms at exit (after the display's own teardown has begun) must not show as a crash.
TEST_F(GalleryOnXTest, EndsCleanlyByItsCloseButton)
{
    const auto xdotool = Xdotool::Find(m_server->Name(), m_dir / "xdotool.txt");
    if (!xdotool)
        GTEST_SKIP() << "xdotool is not installed (Debian package xdotool): the close button is not clicked";
    ASSERT_TRUE(Shown(AwaitGallery()));
    ASSERT_TRUE(xdotool->Click(gallery::WINDOW_RECT.right - GetSystemMetrics(SM_CXFRAME) - 2 - 8,
                               gallery::WINDOW_RECT.top + GetSystemMetrics(SM_CYFRAME) + 8))
        << ReadWholeFile(m_dir / "xdotool.txt");
    EXPECT_EQ(m_gallery->AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
}

TEST_F(GalleryOnXTest, EndsCleanlyByItsTimer)
{
    ChildProgram gallery(GALLERY_PROGRAM, {"--quit-after", "300"}, {{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}},
                         m_dir / "stderr.txt");
    EXPECT_EQ(gallery.AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
}

TEST_F(GalleryTest, HeadlessRunEndsCleanlyByItsTimer)
{
    ChildProgram gallery(GALLERY_PROGRAM, {"--quit-after", "300"}, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
    EXPECT_EQ(gallery.AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
}

TEST_F(GalleryTest, HeadlessRunSavesTheScreenAndEndsCleanly)
{
    for (const std::vector<std::string>& page : {std::vector<std::string>{}, std::vector<std::string>{"--controls"},
                                                 std::vector<std::string>{"--tabs"},
                                                 std::vector<std::string>{"--grid-tools"}}) {
        const auto png = m_dir / "screen.png";
        std::vector<std::string> args = page;
        args.insert(args.end(), {"--screenshot", png.string()});
        ChildProgram gallery(GALLERY_PROGRAM, args, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
        // Under the sanitizers a fault while Application frees the forms at exit fails the run here.
        ASSERT_EQ(gallery.AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
        EXPECT_EQ(ReadWholeFile(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
    }
}

TEST_F(GalleryTest, UnknownOptionsAreRefused)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--no-such-option"}, std::vector<std::string>{"--quit-after", "soon"}}) {
        ChildProgram gallery(GALLERY_PROGRAM, args, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
        EXPECT_EQ(gallery.AwaitExit(), 2);
        EXPECT_NE(ReadWholeFile(m_dir / "stderr.txt").find("usage"), std::string::npos);
    }
}

} // namespace
