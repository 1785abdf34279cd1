#include "tests/support/controls/ControlTestHost.h"
#include "platform/winapi/controls/StatusBar.h"

#include <string>

namespace {

class StatusBarTest : public ControlTestHost {
protected:
    void SetUp() override
    {
        ControlTestHost::SetUp();
        RegisterStatusBarClass();
    }

    HWND Bar(DWORD style = SBARS_SIZEGRIP) { return Control(STATUSCLASSNAMEA, style, {0, 0, 0, 0}); }

    static RECT PartRect(HWND bar, int part)
    {
        RECT rect{};
        EXPECT_TRUE(SendMessageA(bar, SB_GETRECT, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(&rect)));
        return rect;
    }

    static std::string Text(HWND bar, WPARAM part)
    {
        char buffer[100] = {};
        (void)SendMessageA(bar, SB_GETTEXT, part, reinterpret_cast<LPARAM>(buffer));
        return buffer;
    }

    static void SetParts(HWND bar, std::initializer_list<int> rights)
    {
        ASSERT_TRUE(SendMessageA(bar, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.begin())));
    }
};

TEST_F(StatusBarTest, DocksAtTheParentsBottomAndFollowsItsSize)
{
    const HWND bar = Bar();
    RECT host{};
    (void)GetClientRect(m_host, &host);
    RECT own{};
    (void)GetWindowRect(bar, &own);
    POINT origin{own.left, own.top};
    (void)ScreenToClient(m_host, &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y + own.bottom - own.top, host.bottom);
    EXPECT_EQ(own.right - own.left, host.right);
    EXPECT_GE(own.bottom - own.top, 18);

    (void)SetWindowPos(m_host, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    (void)SendMessageA(bar, WM_SIZE, 0, 0);
    (void)GetClientRect(m_host, &host);
    (void)GetWindowRect(bar, &own);
    EXPECT_EQ(own.right - own.left, host.right);
    origin = {own.left, own.bottom};
    (void)ScreenToClient(m_host, &origin);
    EXPECT_EQ(origin.y, host.bottom);
}

TEST_F(StatusBarTest, PartsKeepTheirTextsTypesAndRectangles)
{
    const HWND bar = Bar();
    SetParts(bar, {100, 200, -1});
    int rights[3] = {};
    EXPECT_EQ(SendMessageA(bar, SB_GETPARTS, 3, reinterpret_cast<LPARAM>(rights)), 3);
    EXPECT_EQ(rights[1], 200);
    EXPECT_EQ(rights[2], -1);

    (void)SendMessageA(bar, SB_SETTEXT, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>("Ready"));
    (void)SetWindowTextA(bar, "First");
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXTLENGTH, 1, 0), MAKELONG(5, SBT_POPOUT));
    EXPECT_EQ(Text(bar, 1), "Ready");
    EXPECT_EQ(Text(bar, 0), "First");

    RECT client{};
    (void)GetClientRect(bar, &client);
    const RECT part0 = PartRect(bar, 0);
    const RECT part1 = PartRect(bar, 1);
    const RECT part2 = PartRect(bar, 2);
    EXPECT_EQ(part0.left, 0);
    EXPECT_EQ(part0.right, 100);
    EXPECT_EQ(part1.left, 102);
    EXPECT_EQ(part1.right, 200);
    EXPECT_EQ(part2.right, client.right);
    EXPECT_EQ(part1.bottom, client.bottom);
    RECT none{};
    EXPECT_FALSE(SendMessageA(bar, SB_GETRECT, 3, reinterpret_cast<LPARAM>(&none)));

    // A raised part shows its highlight on the top edge, a sunken one its shadow.
    Pump();
    EXPECT_EQ(Shown(bar, {part1.left + 5, part1.top}), Rgb(GetSysColor(COLOR_BTNHIGHLIGHT)));
    EXPECT_EQ(Shown(bar, {part0.left + 5, part0.top}), Rgb(GetSysColor(COLOR_BTNSHADOW)));
}

TEST_F(StatusBarTest, OwnerDrawnPartsAreDrawnByTheParent)
{
    const HWND bar = Bar();
    SetParts(bar, {120, -1});
    (void)SendMessageA(bar, SB_SETTEXT, 1 | SBT_OWNERDRAW, 0x1234);
    EXPECT_EQ(SendMessageA(bar, SB_GETTEXT, 1, 0), 0x1234);
    (void)InvalidateRect(bar, nullptr, TRUE);
    Pump();
    ASSERT_FALSE(DrawItems().empty());
    const DRAWITEMSTRUCT item = DrawItems().back();
    EXPECT_EQ(item.itemID, 1U);
    EXPECT_EQ(item.itemData, 0x1234U);
    EXPECT_EQ(item.hwndItem, bar);
    EXPECT_GE(item.rcItem.left, 122);
}

TEST_F(StatusBarTest, SimpleModeShowsOnePartAndKeepsThePartsForLater)
{
    const HWND bar = Bar();
    SetParts(bar, {80, -1});
    (void)SendMessageA(bar, SB_SETTEXT, 1, reinterpret_cast<LPARAM>("Kept"));
    (void)SendMessageA(bar, SB_SIMPLE, TRUE, 0);
    (void)SendMessageA(bar, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>("Busy"));
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    RECT client{};
    (void)GetClientRect(bar, &client);
    const RECT simple = PartRect(bar, 0);
    EXPECT_EQ(simple.left, 0);
    EXPECT_EQ(simple.right, client.right);
    EXPECT_EQ(Text(bar, SB_SIMPLEID), "Busy");

    (void)SendMessageA(bar, SB_SIMPLE, FALSE, 0);
    EXPECT_EQ(Text(bar, 1), "Kept");
    EXPECT_EQ(PartRect(bar, 0).right, 80);
}

TEST_F(StatusBarTest, TheGripSizesTheParentWindow)
{
    const HWND bar = Bar();
    RECT client{};
    (void)GetClientRect(bar, &client);
    POINT grip{client.right - 3, client.bottom - 3};
    (void)ClientToScreen(bar, &grip);
    EXPECT_EQ(SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(grip.x, grip.y)), HTBOTTOMRIGHT);
    POINT middle{client.right / 2, client.bottom / 2};
    (void)ClientToScreen(bar, &middle);
    EXPECT_EQ(SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(middle.x, middle.y)), HTCLIENT);

    RECT before{};
    (void)GetWindowRect(m_host, &before);
    // The sizing loop is modal: the whole drag is queued before it starts.
    Drag(bar, {client.right - 3, client.bottom - 3}, {client.right - 43, client.bottom - 23});
    RECT after{};
    (void)GetWindowRect(m_host, &after);
    EXPECT_EQ(before.right - after.right, 40);
    EXPECT_EQ(before.bottom - after.bottom, 20);
}

TEST_F(StatusBarTest, WithoutTheGripStyleTheCornerIsClientArea)
{
    const HWND bar = Bar(0);
    RECT client{};
    (void)GetClientRect(bar, &client);
    POINT corner{client.right - 3, client.bottom - 3};
    (void)ClientToScreen(bar, &corner);
    EXPECT_EQ(SendMessageA(bar, WM_NCHITTEST, 0, MAKELPARAM(corner.x, corner.y)), HTCLIENT);
}

} // namespace
