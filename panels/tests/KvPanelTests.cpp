#include "panels/KvPanel.h"

#include "controls/KvFrameController.h"
#include "controls/KvLabel.h"
#include "controls/KvProgressBar.h"
#include "panels/KvPanelLibrary.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/forms/Forms.h"
#include "tests/support/windows/HeadlessWindows.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

[[nodiscard]] std::uint32_t Rgb(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    return (GetRValue(rgb) << 16) | (GetGValue(rgb) << 8) | GetBValue(rgb);
}

[[nodiscard]] bool Near(std::uint32_t a, std::uint32_t b, int tolerance = 12)
{
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > tolerance)
            return false;
    return true;
}

// A panel of 200 x 150 at (10, 10) on a lime form of the headless screen.
class PanelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        RegisterKvPanelClass();
        RegisterKvProgressBarClass();
        m_form = std::make_unique<TForm>(nullptr);
        m_form->SetBounds(20, 20, 400, 300);
        m_form->SetColor(clLime);
        m_panel = new TKvPanel(m_form.get());
        m_panel->SetParent(m_form.get());
        m_panel->SetBounds(10, 10, 200, 150);
        m_panel->SetColor(clYellow);
        m_form->Show();
        Pump();
    }
    void TearDown() override { m_form.reset(); }

    static void Pump() { Application->ProcessMessages(); }
    [[nodiscard]] std::uint32_t Shown(TControl& control, POINT client) const
    {
        Pump();
        const TPoint screen = control.ClientToScreen(client);
        RECT window{};
        (void)GetWindowRect(m_form->Handle(), &window);
        const auto id = reinterpret_cast<WindowId>(m_form->Handle());
        return m_display->WindowPixel(id, screen.x - window.left, screen.y - window.top).value_or(0xDEADBEEF) &
               0xFFFFFF;
    }
    [[nodiscard]] std::uint32_t Shown(POINT client) const { return Shown(*m_panel, client); }
    // A child filling the panel's client area.
    TKvPanel* AddClientChild()
    {
        auto* child = new TKvPanel(m_form.get());
        child->SetParent(m_panel);
        child->SetAlign(alClient);
        return child;
    }

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    TKvPanel* m_panel = nullptr;
};

TEST_F(PanelTest, FramesTakeTheirWidthOnTheChosenSides)
{
    struct Case {
        TFrameStyleEx outer;
        TSides sides;
        TRect childBounds;
    };
    const Case cases[] = {
        {fsRaised, AllSides, Rect(2, 2, 198, 148)},
        {fsRaised, TSides{sdTop}, Rect(0, 2, 200, 150)},
        {fsFlat, TSides{sdLeft, sdBottom}, Rect(1, 0, 200, 149)},
        {fsNone, AllSides, Rect(0, 0, 200, 150)},
    };
    TKvPanel* child = AddClientChild();
    for (const Case& c : cases) {
        m_panel->SetBorderOuter(c.outer);
        m_panel->SetBorderSides(c.sides);
        const TRect bounds = child->BoundsRect();
        EXPECT_TRUE(EqualRect(&bounds, &c.childBounds))
            << "outer " << c.outer << ": " << bounds.left << "," << bounds.top << "," << bounds.right << ","
            << bounds.bottom;
    }
    // The inner frame adds its own width, the status frame its bevel width.
    m_panel->SetBorderSides(AllSides);
    m_panel->SetBorderOuter(fsStatus);
    m_panel->SetBevelWidth(3);
    m_panel->SetBorderInner(fsRaised);
    EXPECT_EQ(child->BoundsRect().left, 5);
    EXPECT_EQ(child->BoundsRect().bottom, 145);
}

TEST_F(PanelTest, BevelsDrawInTheirColoursOnlyOnTheChosenSides)
{
    m_panel->SetBorderOuter(fsPopup);
    m_panel->SetBevelWidth(2);
    m_panel->SetBorderHighlight(clRed);
    m_panel->SetBorderShadow(clBlue);
    EXPECT_EQ(Shown(POINT{0, 0}), Rgb(clRed));
    EXPECT_EQ(Shown(POINT{1, 70}), Rgb(clRed));
    EXPECT_EQ(Shown(POINT{2, 70}), Rgb(clYellow));
    EXPECT_EQ(Shown(POINT{199, 149}), Rgb(clBlue));
    EXPECT_EQ(Shown(POINT{100, 148}), Rgb(clBlue));

    m_panel->SetBorderSides(TSides{sdTop});
    EXPECT_EQ(Shown(POINT{100, 0}), Rgb(clRed));
    EXPECT_EQ(Shown(POINT{0, 70}), Rgb(clYellow));
    EXPECT_EQ(Shown(POINT{100, 149}), Rgb(clYellow));

    // A status frame is the same rings the other way round.
    m_panel->SetBorderSides(AllSides);
    m_panel->SetBorderOuter(fsStatus);
    EXPECT_EQ(Shown(POINT{0, 0}), Rgb(clBlue));
    EXPECT_EQ(Shown(POINT{199, 149}), Rgb(clRed));
}

TEST_F(PanelTest, FlatFramesTakeTheStylesColour)
{
    m_panel->SetBorderOuter(fsFlat);
    m_panel->SetFlatColor(clMaroon);
    m_panel->SetFlatColorAdjustment(0);
    EXPECT_EQ(Shown(POINT{0, 70}), Rgb(clMaroon));
    // A gradient face of the system colours brings its own frame colour.
    m_panel->SetVisualStyle(vsGradient);
    EXPECT_EQ(Shown(POINT{0, 70}), Rgb(LightenLuminance(clBtnShadow, 30)));
    m_panel->SetGradientColorStyle(gcsCustom);
    EXPECT_EQ(Shown(POINT{0, 70}), Rgb(clMaroon));
}

TEST_F(PanelTest, GradientFacesRunBetweenTheirColours)
{
    m_panel->SetBorderOuter(fsNone);
    m_panel->SetVisualStyle(vsGradient);
    struct Case {
        TKvGradientColorStyle style;
        TColor start;
        TColor stop;
    };
    // Without visual styles the Office colours are the system's.
    const Case cases[] = {
        {gcsSystem, clWindow, DarkenLuminance(clBtnFace, 10)},
        {gcsMSOffice, clWindow, DarkenLuminance(clBtnFace, 10)},
        {gcsCustom, clRed, clNavy},
    };
    m_panel->SetGradientColorStart(clRed);
    m_panel->SetGradientColorStop(clNavy);
    for (const Case& c : cases) {
        m_panel->SetGradientColorStyle(c.style);
        EXPECT_TRUE(Near(Shown(POINT{100, 0}), Rgb(c.start))) << std::hex << Shown(POINT{100, 0});
        EXPECT_TRUE(Near(Shown(POINT{100, 149}), Rgb(c.stop))) << std::hex << Shown(POINT{100, 149});
    }
    m_panel->SetVisualStyle(vsClassic);
    EXPECT_EQ(Shown(POINT{100, 0}), Rgb(clYellow));
}

TEST_F(PanelTest, TheGridFollowsItsStyleAndSize)
{
    m_panel->SetBorderOuter(fsNone);
    m_panel->SetGridColor(clBlack);
    m_panel->SetShowGrid(true);
    struct Case {
        TKvGridStyle style;
        int xSize;
        int ySize;
        POINT ink[2];
        POINT face[2];
    };
    const Case cases[] = {
        {gsDots, 8, 8, {{7, 7}, {15, 23}}, {{7, 6}, {6, 7}}},
        {gsSolidLines, 8, 10, {{7, 4}, {50, 9}}, {{6, 4}, {50, 8}}},
        {gsDottedLines, 8, 8, {{7, 1}, {1, 7}}, {{7, 2}, {2, 7}}},
        {gsDots, 0, 8, {}, {{7, 7}, {15, 23}}},
        {gsSolidLines, 8, 0, {{7, 4}, {7, 100}}, {{50, 7}, {50, 15}}},
    };
    for (const Case& c : cases) {
        m_panel->SetGridStyle(c.style);
        m_panel->SetGridXSize(c.xSize);
        m_panel->SetGridYSize(c.ySize);
        for (const POINT p : c.ink)
            if (p.x || p.y) {
                EXPECT_EQ(Shown(p), Rgb(clBlack)) << "style " << c.style << " at " << p.x << "," << p.y;
            }
        for (const POINT p : c.face)
            EXPECT_EQ(Shown(p), Rgb(clYellow)) << "style " << c.style << " at " << p.x << "," << p.y;
    }
    m_panel->SetGridXSize(0);
    m_panel->SetGridStyle(gsDots);
    int ink = 0;
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; x += 3)
            ink += Shown(POINT{x, y}) == Rgb(clBlack);
    EXPECT_EQ(ink, 0);
}

// The rows of the panel that hold caption ink (anything but the face).
[[nodiscard]] std::pair<int, int> InkRows(const std::function<std::uint32_t(POINT)>& shown, std::uint32_t face)
{
    int first = -1, last = -1;
    for (int y = 2; y < 148; ++y)
        for (int x = 2; x < 198; ++x)
            if (shown(POINT{x, y}) != face) {
                if (first < 0)
                    first = y;
                last = y;
                break;
            }
    return {first, last};
}

TEST_F(PanelTest, TheCaptionSitsWhereItsVerticalAlignmentSays)
{
    m_panel->SetCaption("Please wait...");
    auto shown = [this](POINT p) { return Shown(p); };
    m_panel->SetAlignmentVertical(avTop);
    const auto [topFirst, topLast] = InkRows(shown, Rgb(clYellow));
    m_panel->SetAlignmentVertical(avCenter);
    const auto [centreFirst, centreLast] = InkRows(shown, Rgb(clYellow));
    m_panel->SetAlignmentVertical(avBottom);
    const auto [bottomFirst, bottomLast] = InkRows(shown, Rgb(clYellow));
    EXPECT_LT(topLast, 25);
    EXPECT_GT(centreFirst, 55);
    EXPECT_LT(centreLast, 95);
    EXPECT_GT(bottomFirst, 120);
    EXPECT_LE(bottomLast, 147);

    // A caption taller than the room is not moved down by bottom alignment.
    m_panel->SetHeight(12);
    m_panel->SetBorderOuter(fsNone);
    int inkAtTop = 0;
    for (int x = 0; x < 200; ++x)
        inkAtTop += Shown(POINT{x, 3}) != Rgb(clYellow);
    EXPECT_GT(inkAtTop, 0);
}

TEST_F(PanelTest, ADisabledPanelGraysItsCaption)
{
    m_panel->SetCaption("WWWW");
    m_panel->Font()->SetColor(clBlack);
    m_panel->SetEnabled(false);
    int gray = 0, black = 0;
    for (int y = 60; y < 90; ++y)
        for (int x = 60; x < 140; ++x) {
            gray += Shown(POINT{x, y}) == Rgb(clGrayText);
            black += Shown(POINT{x, y}) == Rgb(clBlack);
        }
    EXPECT_GT(gray, 0);
    EXPECT_EQ(black, 0);
}

TEST_F(PanelTest, EnablingAgainRestoresEachChildsOwnState)
{
    TControl* children[3];
    for (TControl*& child : children) {
        child = new TKvProgressBar(m_form.get());
        child->SetParent(m_panel);
    }
    children[1]->SetEnabled(false);
    m_panel->SetEnabled(false);
    for (TControl* child : children)
        EXPECT_FALSE(child->Enabled());
    // Added while the panel is disabled: it has no record and comes back enabled.
    auto* late = new TKvProgressBar(m_form.get());
    late->SetParent(m_panel);
    late->SetEnabled(false);
    // Freed while the panel is disabled: its record goes with it.
    delete children[2];

    m_panel->SetEnabled(true);
    EXPECT_TRUE(children[0]->Enabled());
    EXPECT_FALSE(children[1]->Enabled());
    EXPECT_TRUE(late->Enabled());
}

TEST_F(PanelTest, ABottomOrRightPanelKeepsItsDockedEdge)
{
    m_panel->SetAlign(alBottom);
    const int bottom = m_panel->Top() + m_panel->Height();
    m_panel->SetHeight(m_panel->Height() + 10);
    EXPECT_EQ(m_panel->Top() + m_panel->Height(), bottom);

    m_panel->SetAlign(alRight);
    const int right = m_panel->Left() + m_panel->Width();
    m_panel->SetWidth(m_panel->Width() - 30);
    EXPECT_EQ(m_panel->Left() + m_panel->Width(), right);
}

TEST_F(PanelTest, ResizingRepaintsOnlyTheFramesThatMoveUnlessAskedForAll)
{
    struct Case {
        bool fullRepaint;
        const char* caption;
        RECT dirty;
    };
    // The raised frame ends 2 pixels in from the old edges (200 x 150); one more is repainted.
    const Case cases[] = {
        {false, "", {197, 0, 200, 150}},
        {true, "", {0, 0, 200, 150}},
        {false, "Wait", {0, 0, 200, 150}},
    };
    for (const Case& c : cases) {
        m_panel->SetFullRepaint(c.fullRepaint);
        m_panel->SetCaption(c.caption);
        Pump();
        ASSERT_TRUE(ValidateRect(m_panel->Handle(), nullptr));
        // What the window tells the panel when it grows 20 pixels wider; the window system here
        // repaints a resized window whole, so the message is sent on its own.
        WINDOWPOS wider{m_panel->Handle(), nullptr, 10, 10, 220, 150, SWP_NOZORDER | SWP_NOACTIVATE};
        (void)SendMessageA(m_panel->Handle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wider));
        WINDOWPOS back{m_panel->Handle(), nullptr, 10, 10, 200, 150, SWP_NOZORDER | SWP_NOACTIVATE};
        RECT dirty{};
        ASSERT_TRUE(GetUpdateRect(m_panel->Handle(), &dirty, FALSE));
        EXPECT_TRUE(EqualRect(&dirty, &c.dirty)) << "full " << c.fullRepaint << " caption '" << c.caption << "': "
                                                 << dirty.left << "," << dirty.top << "," << dirty.right << ","
                                                 << dirty.bottom;
        (void)SendMessageA(m_panel->Handle(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&back));
    }
}

TEST_F(PanelTest, ADockSitePanelRepaintsWhenItsClientsAreClickedOrCommand)
{
    m_panel->SetDockSite(true);
    ASSERT_NE(m_panel->DockManager(), nullptr);
    for (const UINT message : {WM_COMMAND, WM_MOUSEACTIVATE}) {
        Pump();
        ASSERT_TRUE(ValidateRect(m_panel->Handle(), nullptr));
        (void)SendMessageA(m_panel->Handle(), message, 0, 0);
        RECT dirty{};
        EXPECT_TRUE(GetUpdateRect(m_panel->Handle(), &dirty, FALSE)) << message;
    }
    // Without the dock manager the panel's own procedure is back.
    m_panel->SetDockSite(false);
    Pump();
    ASSERT_TRUE(ValidateRect(m_panel->Handle(), nullptr));
    (void)SendMessageA(m_panel->Handle(), WM_MOUSEACTIVATE, 0, 0);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(m_panel->Handle(), &dirty, FALSE));
}

// A hook put on the panel after the dock manager (as a skinner does) stays in place when the
// manager goes, and putting back what it found afterwards leaves a procedure that still works.
TEST_F(PanelTest, AHookAfterTheDockManagerOutlivesIt)
{
    m_panel->SetDockSite(true);
    ASSERT_NE(m_panel->DockManager(), nullptr);
    int seen = 0;
    const TWndMethod found = m_panel->WindowProc();
    m_panel->SetWindowProc([&seen, found](TMessage& message) {
        if (message.Msg == WM_MOUSEACTIVATE)
            ++seen;
        found(message);
    });
    m_panel->SetDockSite(false);
    ASSERT_EQ(m_panel->DockManager(), nullptr);
    (void)SendMessageA(m_panel->Handle(), WM_MOUSEACTIVATE, 0, 0);
    EXPECT_EQ(seen, 1);
    m_panel->SetWindowProc(found);
    Pump();
    ASSERT_TRUE(ValidateRect(m_panel->Handle(), nullptr));
    (void)SendMessageA(m_panel->Handle(), WM_MOUSEACTIVATE, 0, 0);
    (void)SendMessageA(m_panel->Handle(), WM_COMMAND, 0, 0);
    RECT dirty{};
    EXPECT_FALSE(GetUpdateRect(m_panel->Handle(), &dirty, FALSE));
    EXPECT_EQ(seen, 1);
}

TEST_F(PanelTest, ATransparentPanelShowsItsParent)
{
    m_panel->SetTransparent(true);
    EXPECT_FALSE(m_panel->ControlStyle().Contains(csOpaque));
    EXPECT_EQ(Shown(POINT{100, 70}), Rgb(clLime));
    m_panel->SetTransparent(false);
    EXPECT_EQ(Shown(POINT{100, 70}), Rgb(clYellow));
}

TEST_F(PanelTest, MouseEnterAndLeaveFire)
{
    std::string events;
    m_panel->SetOnMouseEnter(TNotifyEvent::FromFunction([&](TObject*) { events += "enter "; }));
    m_panel->SetOnMouseLeave(TNotifyEvent::FromFunction([&](TObject*) { events += "leave "; }));
    m_panel->Perform(CM_MOUSEENTER);
    m_panel->Perform(CM_MOUSELEAVE);
    EXPECT_EQ(events, "enter leave ");
}

// ---- Docking ------------------------------------------------------------------------------------

class PanelDockTest : public PanelTest {
protected:
    void SetUp() override
    {
        PanelTest::SetUp();
        m_form->SetDockSite(true);
        m_form->SetUseDockManager(false);
        m_panel->SetDockSite(true);
        m_bar = new TKvProgressBar(m_form.get());
        m_bar->SetParent(m_form.get());
        m_bar->SetBounds(250, 220, 100, 24);
        m_bar->SetDragKind(dkDock);
        m_bar->SetDragMode(dmAutomatic);
        Pump();
    }
    // A drag by the user's hand, between points of the form's client area; each step is taken
    // before the next one comes, as a hand's would be.
    void Drag(POINT from, POINT to) const
    {
        const MouseInput mouse(*m_display);
        mouse.Press(m_form->Handle(), from, true);
        mouse.MoveHeld(m_form->Handle(), to);
        mouse.Press(m_form->Handle(), to, false);
        Pump();
    }
    [[nodiscard]] static POINT OfPanel(POINT p) { return POINT{p.x + 10, p.y + 10}; }

    TKvProgressBar* m_bar = nullptr;
};

TEST_F(PanelDockTest, AControlDraggedOntoThePanelDocksUnderACaptionBar)
{
    Drag(POINT{300, 230}, OfPanel(POINT{100, 70}));
    ASSERT_EQ(m_bar->Parent(), m_panel);
    EXPECT_EQ(m_bar->HostDockSite(), m_panel);
    EXPECT_EQ(m_panel->DockClientCount(), 1);
    EXPECT_NE(dynamic_cast<TKvPanelDockManager*>(m_panel->DockManager()), nullptr);
    // Inside the raised frame, below a caption bar of 14 pixels.
    const TRect expected = Rect(2, 2 + 14, 198, 148);
    const TRect bounds = m_bar->BoundsRect();
    EXPECT_TRUE(EqualRect(&bounds, &expected))
        << bounds.left << "," << bounds.top << "," << bounds.right << "," << bounds.bottom;
    // A windowless client counts as active.
    EXPECT_EQ(Shown(POINT{60, 8}), Rgb(clActiveCaption));

    // Without captions, the plain grabber is drawn instead.
    m_panel->SetShowDockClientCaptions(false);
    m_panel->Invalidate();
    EXPECT_NE(Shown(POINT{60, 8}), Rgb(clActiveCaption));
}

TEST_F(PanelDockTest, ATopAlignedPanelPutsTheGrabberBeside)
{
    m_panel->SetAlign(alTop);
    Drag(POINT{300, 230}, OfPanel(POINT{100, 70}));
    ASSERT_EQ(m_bar->Parent(), m_panel);
    EXPECT_EQ(m_bar->Left(), 2 + 14);
    EXPECT_EQ(m_bar->Top(), 2);
    // The grabber strip runs down the left of the zone, under the close glyph's box.
    EXPECT_EQ(Shown(POINT{8, 100}), Rgb(clActiveCaption));
}

TEST_F(PanelDockTest, DraggingTheCaptionBarAwayUndocks)
{
    Drag(POINT{300, 230}, OfPanel(POINT{100, 70}));
    ASSERT_EQ(m_bar->Parent(), m_panel);

    Drag(OfPanel(POINT{60, 8}), POINT{300, 180});
    EXPECT_EQ(m_bar->Parent(), m_form.get());
    EXPECT_EQ(m_panel->DockClientCount(), 0);
    EXPECT_EQ(m_bar->Left(), 300);
    EXPECT_EQ(m_bar->Top(), 180);
    // The caption bar is gone with its client.
    EXPECT_EQ(Shown(POINT{60, 8}), Rgb(clYellow));
}

TEST_F(PanelDockTest, TheCloseGlyphHidesItsClient)
{
    const struct {
        TAlign align;
        POINT closeGlyph;
    } cases[] = {{alNone, POINT{189, 8}}, {alTop, POINT{8, 8}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.align == alTop ? "grabber" : "caption bar");
        m_panel->SetAlign(c.align);
        m_bar->SetVisible(true);
        m_bar->ManualDock(m_panel);
        Pump();
        const auto onPanel = [this](POINT p) { return POINT{p.x + m_panel->Left(), p.y + m_panel->Top()}; };
        // A click on the bar or strip away from the glyph closes nothing.
        MouseInput(*m_display).Click(m_form->Handle(), onPanel(POINT{40, 40}));
        Pump();
        EXPECT_TRUE(m_bar->Visible());
        MouseInput(*m_display).Click(m_form->Handle(), onPanel(c.closeGlyph));
        Pump();
        EXPECT_FALSE(m_bar->Visible());
        EXPECT_EQ(m_bar->HostDockSite(), m_panel);
        m_bar->ManualDock(m_form.get());
    }
}

TEST_F(PanelDockTest, AClickIsNoDrag)
{
    MouseInput(*m_display).Click(m_form->Handle(), POINT{300, 230});
    Pump();
    EXPECT_EQ(m_bar->Parent(), m_form.get());
    EXPECT_EQ(m_bar->Left(), 250);
}

// ---- Form data ----------------------------------------------------------------------------------

constexpr const char* OldPanelForm = R"(object Holder: TForm
  object Pwait: TKvPanel
    Left = 8
    Top = 8
    Width = 193
    Height = 57
    About = 'anything'
    FrameSides = [sdLeft, sdTop]
    ThemeAware = False
    UseGradients = True
    BorderSides = [sdTop, sdBottom]
    GridStyle = gsSolidLines
    AlignmentVertical = avBottom
    Caption = 'Please wait...'
  end
end
)";

TEST_F(PanelTest, OldFormDataLoadsAndWritesBackWithoutItsObsoleteProperties)
{
    TForm holder(nullptr);
    (void)ReadComponentText(OldPanelForm, &holder);
    auto* panel = dynamic_cast<TKvPanel*>(holder.FindComponent("Pwait"));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->VisualStyle(), vsGradient);
    EXPECT_EQ(panel->BorderSides(), (TSides{sdTop, sdBottom}));
    EXPECT_EQ(panel->GridStyle(), gsSolidLines);
    EXPECT_EQ(panel->AlignmentVertical(), avBottom);

    const std::string text = WriteComponentText(&holder);
    for (const char* gone : {"About", "FrameSides", "ThemeAware", "UseGradients"})
        EXPECT_EQ(text.find(gone), std::string::npos) << gone;
    EXPECT_NE(text.find("VisualStyle = vsGradient"), std::string::npos);
    TForm copy(nullptr);
    (void)ReadComponentText(text, &copy);
    EXPECT_EQ(WriteComponentText(&copy), text);
}

TEST_F(PanelTest, ADefaultPanelWritesNoneOfItsOwnProperties)
{
    TForm holder(nullptr);
    auto* panel = new TKvPanel(&holder);
    panel->SetName("Pwait");
    panel->SetParent(&holder);
    const std::string text = WriteComponentText(&holder);
    for (const char* name : {"BorderOuter", "VisualStyle", "UseDockManager", "GridXSize", "WordWrap"})
        EXPECT_EQ(text.find(name), std::string::npos) << name;
}

TEST_F(PanelTest, AControllerThatShowsFramesRestylesThePanel)
{
    auto* controller = new TKvFrameController(m_form.get());
    controller->SetFrameStyle(fsFlat);
    controller->SetFrameColor(clRed);
    controller->SetFrameSides(TSides{sdLeft});
    controller->SetColor(clNavy);
    m_panel->SetFrameController(controller);
    EXPECT_TRUE(controller->IsAttached(m_panel));
    EXPECT_EQ(m_panel->BorderOuter(), fsRaised) << "the controller's frames are not visible";
    EXPECT_EQ(m_panel->Color(), clYellow);

    controller->SetFrameVisible(true);
    EXPECT_EQ(m_panel->BorderOuter(), fsFlat);
    EXPECT_EQ(m_panel->BorderSides(), TSides{sdLeft});
    EXPECT_EQ(m_panel->FlatColor(), clRed);
    EXPECT_EQ(m_panel->FlatColorAdjustment(), 0);
    EXPECT_EQ(m_panel->Color(), clNavy);
    EXPECT_EQ(m_panel->BorderHighlight(), LightenLuminance(clNavy, 100));
    EXPECT_EQ(m_panel->BorderShadow(), DarkenLuminance(clNavy, 50));
    EXPECT_EQ(Shown(POINT{0, 75}), Rgb(clRed));
    EXPECT_EQ(Shown(POINT{100, 0}), Rgb(clNavy)) << "no frame on the top";

    // Only the accepted settings.
    m_panel->SetFrameControllerNotifications(TKvFrameControllerNotifications{fcpFrameSides});
    controller->SetFrameStyle(fsBump);
    controller->SetColor(clTeal);
    controller->SetFrameSides(TSides{sdTop});
    EXPECT_EQ(m_panel->BorderOuter(), fsFlat);
    EXPECT_EQ(m_panel->Color(), clNavy);
    EXPECT_EQ(m_panel->BorderSides(), TSides{sdTop});

    delete controller;
    EXPECT_EQ(m_panel->FrameController(), nullptr);
}

TEST_F(PanelTest, APanelThatGoesFirstLeavesItsController)
{
    auto* controller = new TKvFrameController(m_form.get());
    m_panel->SetFrameController(controller);
    delete m_panel;
    EXPECT_FALSE(controller->IsAttached(m_panel));
    controller->SetFrameVisible(true);
}

// The manager's wait panel, restyled with its label by one controller.
const char* const ControlledWaitPanelForm = R"(object Host: TForm
  object Controller: TKvFrameController
    Color = clSilver
    FrameColor = clMaroon
    FrameVisible = True
  end
  object Pwait: TKvPanel
    Width = 193
    Height = 57
    FrameController = Controller
    FrameControllerNotifications = [fcpFrameColor, fcpFrameStyle]
    object Wait: TKvLabel
      Left = 40
      Top = 20
      Caption = 'Please wait...'
      FrameController = Controller
    end
  end
end
)";

TEST_F(PanelTest, AFormNamingTheControllerLoadsThePanelAndItsLabelTiedToIt)
{
    RegisterPanelLibraryClasses();
    TForm holder(nullptr);
    (void)ReadComponentText(ControlledWaitPanelForm, &holder);
    auto* controller = dynamic_cast<TKvFrameController*>(holder.FindComponent("Controller"));
    auto* panel = dynamic_cast<TKvPanel*>(holder.FindComponent("Pwait"));
    auto* label = dynamic_cast<TKvLabel*>(holder.FindComponent("Wait"));
    ASSERT_TRUE(controller && panel && label);
    EXPECT_EQ(panel->FrameController(), controller);
    EXPECT_EQ(label->FrameController(), controller);
    EXPECT_EQ(panel->BorderOuter(), fsFlat);
    EXPECT_EQ(panel->FlatColor(), clMaroon);
    EXPECT_EQ(panel->Color(), clBtnFace) << "the panel accepts no colour";
    EXPECT_EQ(label->Color(), clSilver);

    const std::string text = WriteComponentText(&holder);
    EXPECT_NE(text.find("FrameControllerNotifications = [fcpFrameColor, fcpFrameStyle]"), std::string::npos);
    TForm copy(nullptr);
    (void)ReadComponentText(text, &copy);
    EXPECT_EQ(WriteComponentText(&copy), text);
    auto* copiedPanel = dynamic_cast<TKvPanel*>(copy.FindComponent("Pwait"));
    EXPECT_EQ(copiedPanel->FrameController(), copy.FindComponent("Controller"));
}

} // namespace
