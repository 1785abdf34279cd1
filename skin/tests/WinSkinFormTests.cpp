#include "SkinnedFormFixture.h"

#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/ScrollBarControl.h"

namespace {

// Our skin: borders 4 wide, a caption bar 26 high, the close button 21 x 17 at 27 from the right.
constexpr int Border = 4;
constexpr int Caption = 26;
constexpr int CloseFromRight = 27;
constexpr int ButtonTop = 4;

// Colours of our skin's pictures (tools/skingen draws them).
constexpr std::uint32_t CaptionActiveRow12 = 0x4770A7;
constexpr std::uint32_t CaptionInactiveRow12 = 0xA0ADBF;
constexpr std::uint32_t LeftBorderOutline = 0x1A3050;
// The left edge of the close button's cross cell in each of its four frames.
constexpr std::uint32_t CloseNormal = 0x601C18;
constexpr std::uint32_t ClosePressed = 0x501410;
constexpr std::uint32_t CloseHot = 0x6E1E18;
constexpr std::uint32_t CloseInactive = 0x687486;

} // namespace

using WinSkinFormTest = SkinnedFormFixture;

TEST_F(WinSkinFormTest, TheFormGetsTheSkinsFrameAroundAnUnchangedClientArea)
{
    ShowSkinned();
    const SIZE client = ClientSize();
    EXPECT_EQ(client.cx, m_clientBefore.cx);
    EXPECT_EQ(client.cy, m_clientBefore.cy);
    const SIZE window = WindowSize();
    EXPECT_EQ(window.cx, client.cx + 2 * Border);
    EXPECT_EQ(window.cy, client.cy + Caption + Border);
    const RECT borders = Skinner()->Borders();
    EXPECT_EQ(borders.left, Border);
    EXPECT_EQ(borders.top, Caption);
    EXPECT_EQ(borders.right, Border);
    EXPECT_EQ(borders.bottom, Border);
    EXPECT_EQ(SendMessageA(Window(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
    // The form takes the skin's face colour.
    EXPECT_EQ(m_form->Color(), m_data->Elements().Colours().ButtonFace);
}

TEST_F(WinSkinFormTest, CaptionBordersButtonsAndTitleAreDrawnFromTheSkin)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    EXPECT_EQ(Shown({window.cx / 2, 12}), CaptionActiveRow12);
    EXPECT_EQ(Shown({0, window.cy / 2}), LeftBorderOutline);
    EXPECT_EQ(Shown({window.cx - CloseFromRight, ButtonTop + 8}), CloseNormal);
    // The title in the skin's active text colour (white), after the icon button.
    const RECT text = Skinner()->CaptionTextRect();
    ASSERT_GT(text.right, text.left);
    bool white = false;
    for (int x = text.left; x < text.right && !white; ++x)
        for (int y = text.top; y < text.bottom && !white; ++y)
            white = Shown({x, y}) == 0xFFFFFF;
    EXPECT_TRUE(white);
    // The client area shows the skin's face colour.
    EXPECT_EQ(Shown({window.cx / 2, window.cy / 2}), 0xE8EDF3u);
}

TEST_F(WinSkinFormTest, TheWindowRegionCutsTheBordersKeyColouredCorners)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(Window(), region.Get()), ERROR);
    EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
    EXPECT_FALSE(PtInRegion(region.Get(), 1, 0));
    EXPECT_FALSE(PtInRegion(region.Get(), window.cx - 1, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 2, 0));
    EXPECT_TRUE(PtInRegion(region.Get(), 0, 2));
    EXPECT_TRUE(PtInRegion(region.Get(), window.cx / 2, window.cy / 2));
    EXPECT_TRUE(PtInRegion(region.Get(), window.cx / 2, 0));
}

TEST_F(WinSkinFormTest, DeactivationSwitchesTheCaptionAndButtonsToTheirInactivePictures)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    (void)SendMessageA(Window(), WM_NCACTIVATE, FALSE, 0);
    Pump();
    EXPECT_FALSE(Skinner()->Active());
    EXPECT_EQ(Shown({window.cx / 2, 12}), CaptionInactiveRow12);
    EXPECT_EQ(Shown({window.cx - CloseFromRight, ButtonTop + 8}), CloseInactive);
    (void)SendMessageA(Window(), WM_NCACTIVATE, TRUE, 0);
    Pump();
    EXPECT_EQ(Shown({window.cx / 2, 12}), CaptionActiveRow12);
}

TEST_F(WinSkinFormTest, TheCloseButtonShowsHoverAndPressAndClosesOnRelease)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    const POINT close{window.cx - CloseFromRight + 10, ButtonTop + 8};
    const POINT closeEdge{window.cx - CloseFromRight, ButtonTop + 8};
    MoveMouse(close);
    EXPECT_EQ(Shown(closeEdge), CloseHot);
    Button(close, true);
    EXPECT_EQ(Shown(closeEdge), ClosePressed);
    EXPECT_TRUE(IsWindowVisible(Window()));
    Button(close, false);
    EXPECT_FALSE(m_form->Visible());
}

TEST_F(WinSkinFormTest, LeavingAButtonTurnsItBackToNormal)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    const POINT closeEdge{window.cx - CloseFromRight, ButtonTop + 8};
    MoveMouse({window.cx - CloseFromRight + 10, ButtonTop + 8});
    ASSERT_NE(Skinner()->HotObject(), nullptr);
    MoveMouse({window.cx / 2, 12});
    EXPECT_EQ(Skinner()->HotObject(), nullptr);
    EXPECT_EQ(Shown(closeEdge), CloseNormal);
}

TEST_F(WinSkinFormTest, TheMinimiseButtonMinimisesTheWindow)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    const POINT minimise{window.cx - 73 + 10, ButtonTop + 8};
    Button(minimise, true);
    Button(minimise, false);
    EXPECT_TRUE(IsIconic(Window()));
}

TEST_F(WinSkinFormTest, DraggingTheCaptionMovesTheWindow)
{
    ShowSkinned();
    RECT before{};
    (void)GetWindowRect(Window(), &before);
    const POINT grip{150, 12};
    const POINT dropped{grip.x + 30, grip.y + 20};
    const auto id = reinterpret_cast<WindowId>(Window());
    // The move runs a loop of its own: the whole gesture is queued before it starts.
    m_display->InjectMouseMove(id, grip);
    m_display->InjectMouseButton(id, grip, MouseButton::Left, true);
    m_display->InjectMouseMove(id, dropped);
    m_display->InjectMouseButton(id, dropped, MouseButton::Left, false);
    Pump();
    RECT after{};
    (void)GetWindowRect(Window(), &after);
    EXPECT_EQ(after.left - before.left, 30);
    EXPECT_EQ(after.top - before.top, 20);
}

TEST_F(WinSkinFormTest, UnskinningGivesBackTheWindowAsItWas)
{
    (void)m_form->Handle();
    const WNDPROC procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window(), GWLP_WNDPROC));
    const TColor colour = m_form->Color();
    const SIZE windowBefore = WindowSize();
    ShowSkinned();
    m_data->SetActive(false);
    Advance(TSkinManage::ActionDelay);
    EXPECT_EQ(Skinner(), nullptr);
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(Window(), GWLP_WNDPROC)), procedure);
    EXPECT_EQ(m_form->Color(), colour);
    EXPECT_EQ(WindowSize().cx, windowBefore.cx);
    EXPECT_EQ(WindowSize().cy, windowBefore.cy);
    EXPECT_EQ(ClientSize().cx, m_clientBefore.cx);
    EXPECT_EQ(ClientSize().cy, m_clientBefore.cy);
    const GdiObject<HRGN> region(CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(GetWindowRgn(Window(), region.Get()), ERROR);
    EXPECT_NE(SendMessageA(Window(), WM_SKIN_QUERYSKINNED, 0, 0), 1);
}

TEST_F(WinSkinFormTest, ASecondStartDoesNotSubclassAgain)
{
    ShowSkinned();
    const LONG_PTR procedure = GetWindowLongPtrA(Window(), GWLP_WNDPROC);
    const SIZE window = WindowSize();
    (void)SendMessageA(Window(), WM_SKIN_START, 0, SkinStartParam);
    Pump();
    EXPECT_EQ(GetWindowLongPtrA(Window(), GWLP_WNDPROC), procedure);
    EXPECT_EQ(WindowSize().cx, window.cx);
    EXPECT_EQ(WindowSize().cy, window.cy);
}

TEST_F(WinSkinFormTest, AFormTaggedNinetyNineStaysUnskinned)
{
    m_form->SetTag(99);
    m_form->Show();
    Pump();
    EXPECT_EQ(Skinner(), nullptr);
}

TEST_F(WinSkinFormTest, DestroyingTheSkinnedFormLeavesADeadSkinnerThatIsDropped)
{
    ShowSkinned();
    m_form.reset();
    Pump();
    SkinManager()->Purge();
    EXPECT_TRUE(SkinManager()->FormSkinners().empty());
}

TEST_F(WinSkinFormTest, ANewCaptionIsPaintedAtOnceWithoutRunningQueuedMessages)
{
    ShowSkinned();
    const RECT before = Skinner()->CaptionTextRect();
    // A close request waits in the queue: painting the caption must not run it.
    (void)PostMessageA(Window(), WM_CLOSE, 0, 0);
    m_form->SetCaption("A much longer caption than the one before");
    EXPECT_TRUE(m_form->Visible());
    EXPECT_GT(Skinner()->CaptionTextRect().right, before.right);
    Pump();
    EXPECT_FALSE(m_form->Visible());
}

TEST_F(WinSkinFormTest, AHotButtonIsLeftByTheTimerOnceTheMouseIsElsewhere)
{
    ShowSkinned();
    const SIZE window = WindowSize();
    MoveMouse({window.cx - CloseFromRight + 10, ButtonTop + 8});
    ASSERT_NE(Skinner()->HotObject(), nullptr);
    // The mouse moves into the client area, where no non-client message tells the frame.
    MoveMouse({window.cx / 2, window.cy / 2});
    Advance(250);
    EXPECT_EQ(Skinner()->HotObject(), nullptr);
    EXPECT_EQ(Shown({window.cx - CloseFromRight, ButtonTop + 8}), CloseNormal);
}

TEST_F(WinSkinFormTest, TheMaximiseButtonMaximisesAndItsRestoreTwinRestores)
{
    ShowSkinned();
    const auto clickMaximise = [this] {
        const POINT at{WindowSize().cx - 50 + 10, ButtonTop + 8};
        Button(at, true);
        Button(at, false);
    };
    clickMaximise();
    ASSERT_TRUE(IsZoomed(Window()));
    // The frame keeps its skin while maximised, and a press on the caption does not move it.
    EXPECT_EQ(Skinner()->Borders().top, Caption);
    RECT before{};
    (void)GetWindowRect(Window(), &before);
    const auto id = reinterpret_cast<WindowId>(Window());
    m_display->InjectMouseButton(id, {150, 12}, MouseButton::Left, true);
    m_display->InjectMouseMove(id, {200, 60});
    m_display->InjectMouseButton(id, {200, 60}, MouseButton::Left, false);
    Pump();
    RECT after{};
    (void)GetWindowRect(Window(), &after);
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    clickMaximise();
    EXPECT_FALSE(IsZoomed(Window()));
}

TEST_F(WinSkinFormTest, UnderTheHideWhileStartingFlagTheWindowShowsOnlyOnceStarted)
{
    (void)m_form->Handle();
    EnsureSkinManager().SetHideWhileStarting(true);
    m_form->Show();
    EXPECT_FALSE(GetWindowLongA(Window(), GWL_STYLE) & WS_VISIBLE) << "hidden from the skinning on";
    Pump();
    ASSERT_NE(Skinner(), nullptr);
    EXPECT_TRUE(GetWindowLongA(Window(), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(SkinManager()->HideWhileStarting());
}

TEST_F(WinSkinFormTest, ASizeGripScrollBarCreatedOnASkinnedFormIsSkinned)
{
    m_data->Loaded(); // as after form data: the manager watches windows being created
    RegisterScrollBarClass();
    ShowSkinned();
    const HWND grip = CreateWindowExA(0, "ScrollBar", "", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 300, 300, 16, 16,
                                      Window(), nullptr, nullptr, nullptr);
    ASSERT_NE(grip, nullptr);
    Pump();
    EXPECT_NE(Skinner()->FindSkinner(grip), nullptr);
    (void)DestroyWindow(grip);
}
