#include "platform/winapi/display/headless/PngWriter.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/ChildProgram.h"
#include "tests/support/TempDir.h"
#include "tests/support/Xdotool.h"
#include "tests/support/XScreenshot.h"
#include "tests/support/Xvfb.h"
#include "tools/gallery/GalleryLayout.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Generous: the gallery starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

std::uint32_t Rgb(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

// Screen points of the gallery's controls: the same control in either column.
struct GalleryGeometry {
    POINT clientOrigin{gallery::WINDOW_RECT.left + GetSystemMetrics(SM_CXFRAME),
                       gallery::WINDOW_RECT.top + GetSystemMetrics(SM_CYFRAME) + GetSystemMetrics(SM_CYCAPTION)};

    [[nodiscard]] RECT OnScreen(const RECT& column, const RECT& control) const
    {
        RECT r = control;
        (void)OffsetRect(&r, clientOrigin.x + column.left, clientOrigin.y + column.top);
        return r;
    }
};

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

    Screenshot AwaitGallery()
    {
        m_gallery = std::make_unique<ChildProgram>(GALLERY_PROGRAM, std::vector<std::string>{"--quit-after", "600000"},
                                                  ChildProgram::Environment{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}},
                                                  m_dir / "stderr.txt");
        Screenshot shot;
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (m_gallery->Running() && std::chrono::steady_clock::now() < deadline) {
            if (auto taken = TakeXScreenshot(m_server->Name())) {
                shot = std::move(*taken);
                if (Shown(shot))
                    break;
            }
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(m_gallery->Running()) << ReadWholeFile(m_dir / "stderr.txt");
        return shot;
    }

    GalleryGeometry m_at;
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
    const auto png = m_dir / "screen.png";
    ChildProgram gallery(GALLERY_PROGRAM, {"--screenshot", png.string()}, {{"MODEM_DISPLAY", "headless"}},
                         m_dir / "stderr.txt");
    // Under the sanitizers a fault while Application frees the forms at exit fails the run here.
    ASSERT_EQ(gallery.AwaitExit(), 0) << ReadWholeFile(m_dir / "stderr.txt");
    EXPECT_EQ(ReadWholeFile(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
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
