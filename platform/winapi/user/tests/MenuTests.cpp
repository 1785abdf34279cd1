#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/Menus.h"
#include "platform/winapi/user/WinUser.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// ---- Menus as data ---------------------------------------------------------------------------

TEST(MenuItems, ItemsAreFoundByPositionAndByCommandThroughSubmenus)
{
    const HMENU sub = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(sub, MF_STRING, 201, "&Deep"));
    const HMENU menu = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuA(menu, MF_STRING, 101, "&Open\tCtrl+O"));
    ASSERT_TRUE(AppendMenuA(menu, MF_SEPARATOR, 0, nullptr));
    ASSERT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More"));
    ASSERT_TRUE(InsertMenuA(menu, 0, MF_BYPOSITION | MF_STRING | MF_GRAYED, 100, "First"));

    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 100u);
    EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu) << "a submenu item has no command";
    EXPECT_EQ(GetSubMenu(menu, 3), sub);
    EXPECT_EQ(GetMenuState(menu, 100, MF_BYCOMMAND), MF_GRAYED);
    EXPECT_EQ(GetMenuState(menu, 2, MF_BYPOSITION) & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(GetMenuState(menu, 3, MF_BYPOSITION), MF_POPUP | (1u << 8));
    EXPECT_EQ(GetMenuState(menu, 999, MF_BYCOMMAND), 0xFFFFFFFFu);

    char text[80];
    EXPECT_EQ(GetMenuStringA(menu, 201, text, sizeof(text), MF_BYCOMMAND), 5) << "found inside the submenu";
    EXPECT_STREQ(text, "&Deep");
    EXPECT_EQ(CheckMenuItem(menu, 201, MF_BYCOMMAND | MF_CHECKED), 0u);
    EXPECT_EQ(CheckMenuItem(menu, 201, MF_BYCOMMAND | MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(menu, 100, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
    EXPECT_EQ(GetMenuState(menu, 100, MF_BYCOMMAND), 0u);
    EXPECT_EQ(EnableMenuItem(menu, 999, MF_BYCOMMAND), -1);

    ASSERT_TRUE(RemoveMenu(menu, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(sub)) << "RemoveMenu keeps the submenu";
    ASSERT_TRUE(AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "&More"));
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_FALSE(IsMenu(sub)) << "DestroyMenu destroys submenus";
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_FALSE(AppendMenuA(menu, MF_STRING, 1, "x"));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
}

TEST(MenuItems, ItemInfoReadsAndWritesTheFieldsTheMaskNames)
{
    const HMENU menu = CreatePopupMenu();
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_ID | MIIM_STRING | MIIM_DATA | MIIM_STATE | MIIM_FTYPE;
    info.wID = 7;
    info.dwTypeData = const_cast<char*>("Seven");
    info.dwItemData = 0xBEEF;
    info.fState = MFS_CHECKED;
    info.fType = MFT_RADIOCHECK;
    ASSERT_TRUE(InsertMenuItemA(menu, 0, TRUE, &info));

    MENUITEMINFOA read{};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_STRING;
    ASSERT_TRUE(GetMenuItemInfoA(menu, 7, FALSE, &read));
    EXPECT_EQ(read.cch, 5u) << "a null buffer asks for the length";

    char buffer[4];
    read = MENUITEMINFOA{};
    read.cbSize = sizeof(read);
    read.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
    read.dwTypeData = buffer;
    read.cch = sizeof(buffer);
    ASSERT_TRUE(GetMenuItemInfoA(menu, 0, TRUE, &read));
    EXPECT_STREQ(buffer, "Sev") << "the text is cut to the buffer";
    EXPECT_EQ(read.wID, 7u);
    EXPECT_EQ(read.fState, MFS_CHECKED);
    EXPECT_EQ(read.fType, MFT_RADIOCHECK);
    EXPECT_EQ(read.dwItemData, 0xBEEFu);
    EXPECT_EQ(read.hSubMenu, nullptr);

    MENUITEMINFOA ownerDraw{};
    ownerDraw.cbSize = sizeof(ownerDraw);
    ownerDraw.fMask = MIIM_FTYPE;
    ownerDraw.fType = MFT_OWNERDRAW;
    ASSERT_TRUE(SetMenuItemInfoA(menu, 7, FALSE, &ownerDraw));
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION), MF_OWNERDRAW | MF_CHECKED);
    EXPECT_FALSE(SetMenuItemInfoA(menu, 8, FALSE, &ownerDraw));
    (void)DestroyMenu(menu);
}

TEST(MenuItems, RadioCheckLeavesOneItemOfTheGroupChecked)
{
    const HMENU menu = CreatePopupMenu();
    for (UINT id = 10; id < 14; ++id)
        (void)AppendMenuA(menu, MF_STRING | (id == 10 ? MF_CHECKED : 0), id, "item");
    ASSERT_TRUE(CheckMenuRadioItem(menu, 10, 12, 11, MF_BYCOMMAND));
    EXPECT_EQ(GetMenuState(menu, 10, MF_BYCOMMAND) & MF_CHECKED, 0u);
    EXPECT_EQ(GetMenuState(menu, 11, MF_BYCOMMAND), MF_CHECKED | MFT_RADIOCHECK);
    EXPECT_EQ(GetMenuState(menu, 13, MF_BYCOMMAND) & MF_CHECKED, 0u);
    (void)DestroyMenu(menu);
}

// ---- The pop-up and its loop -----------------------------------------------------------------

struct Notification {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

std::vector<Notification> g_notes;
std::vector<DRAWITEMSTRUCT> g_drawn;
std::vector<MEASUREITEMSTRUCT> g_measured;
std::function<void()> g_inLoop; // run once, at the first message the menu loop reads

bool IsMenuNotification(UINT message)
{
    return message == WM_ENTERMENULOOP || message == WM_EXITMENULOOP || message == WM_INITMENU ||
           message == WM_INITMENUPOPUP || message == WM_UNINITMENUPOPUP || message == WM_MENUSELECT ||
           message == WM_COMMAND || message == WM_SYSCOMMAND;
}

LRESULT OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (IsMenuNotification(message))
        g_notes.push_back({message, wParam, lParam});
    if (message == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        g_measured.push_back(*mis);
        mis->itemWidth = 120;
        mis->itemHeight = 30;
        return TRUE;
    }
    if (message == WM_DRAWITEM) {
        g_drawn.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT MenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == MSGF_MENU && g_inLoop) {
        const auto action = std::move(g_inLoop);
        g_inLoop = nullptr;
        action();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ClassOf(HWND hwnd)
{
    char name[64] = {};
    (void)GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

class MenuLoopTest : public ::testing::Test {
protected:
    static constexpr UINT OPEN = 101, LOCKED = 102, SAVE = 103, DEEP = 201;

    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
        wc.lpszClassName = "MenuOwner";
        (void)RegisterClassA(&wc);
        m_owner = CreateWindowExA(0, "MenuOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400, 300,
                                  nullptr, nullptr, nullptr, nullptr);
        m_hook = SetWindowsHookExA(WH_MSGFILTER, MenuFilter, nullptr, GetCurrentThreadId());
        m_sub = CreatePopupMenu();
        (void)AppendMenuA(m_sub, MF_STRING, DEEP, "&Deep");
        m_menu = CreatePopupMenu();
        (void)AppendMenuA(m_menu, MF_STRING, OPEN, "&Open");
        (void)AppendMenuA(m_menu, MF_SEPARATOR, 0, nullptr);
        (void)AppendMenuA(m_menu, MF_STRING | MF_GRAYED, LOCKED, "&Locked");
        (void)AppendMenuA(m_menu, MF_STRING, SAVE, "&Save\tCtrl+S");
        (void)AppendMenuA(m_menu, MF_POPUP, reinterpret_cast<UINT_PTR>(m_sub), "&More");
        Pump();
        g_notes.clear();
        g_drawn.clear();
        g_measured.clear();
    }

    void TearDown() override
    {
        g_inLoop = nullptr;
        (void)UnhookWindowsHookEx(m_hook);
        (void)DestroyMenu(m_menu);
        (void)DestroyWindow(m_owner);
        Pump();
    }

    static void Pump()
    {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            (void)TranslateMessage(&msg);
            (void)DispatchMessageA(&msg);
        }
    }

    void Keys(std::initializer_list<std::pair<UINT, const char*>> keys)
    {
        for (const auto& [key, text] : keys)
            m_display->InjectKeyPress(Id(m_owner), key, text);
    }

    // Runs the menu at the owner's client origin; `inLoop` runs inside the loop.
    BOOL Track(UINT flags, std::function<void()> inLoop = nullptr)
    {
        g_inLoop = std::move(inLoop);
        (void)PostMessageA(m_owner, WM_NULL, 0, 0); // so that the loop reads a message at once
        POINT at{0, 0};
        (void)ClientToScreen(m_owner, &at);
        return TrackPopupMenu(m_menu, flags, at.x, at.y, 0, m_owner, nullptr);
    }

    static WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(hwnd); }

    static std::vector<UINT> Messages()
    {
        std::vector<UINT> messages;
        for (const auto& note : g_notes)
            messages.push_back(note.message);
        return messages;
    }

    static std::vector<WORD> Selected()
    {
        std::vector<WORD> items;
        for (const auto& note : g_notes)
            if (note.message == WM_MENUSELECT)
                items.push_back(LOWORD(note.wParam));
        return items;
    }

    void ClickAt(POINT screen)
    {
        RECT owner{};
        (void)GetWindowRect(m_owner, &owner);
        m_display->InjectClick(Id(m_owner), POINT{screen.x - owner.left, screen.y - owner.top});
    }

    HeadlessDisplay* m_display = nullptr;
    HWND m_owner = nullptr;
    HHOOK m_hook = nullptr;
    HMENU m_menu = nullptr;
    HMENU m_sub = nullptr;
};

TEST_F(MenuLoopTest, KeyboardChoiceSkipsSeparatorsAndGrayedItemsAndIsPostedAsCommand)
{
    Keys({{VK_DOWN, ""}, {VK_DOWN, ""}, {VK_RETURN, ""}});
    EXPECT_EQ(Track(TPM_LEFTALIGN | TPM_TOPALIGN), TRUE);
    Pump();

    const std::vector<UINT> expected{WM_ENTERMENULOOP, WM_INITMENU,        WM_INITMENUPOPUP, WM_MENUSELECT,
                                     WM_MENUSELECT,    WM_MENUSELECT,      WM_UNINITMENUPOPUP, WM_EXITMENULOOP,
                                     WM_COMMAND};
    EXPECT_EQ(Messages(), expected);
    EXPECT_EQ(Selected(), (std::vector<WORD>{OPEN, SAVE, 0}));
    EXPECT_EQ(g_notes[2].wParam, reinterpret_cast<WPARAM>(m_menu));
    EXPECT_EQ(HIWORD(g_notes[5].wParam), 0xFFFF) << "the closing WM_MENUSELECT";
    EXPECT_EQ(g_notes[5].lParam, 0);
    EXPECT_EQ(g_notes.back().wParam, SAVE);
}

TEST_F(MenuLoopTest, ReturnCmdGivesTheChoiceAndPostsNothing)
{
    Keys({{VK_UP, ""}, {VK_UP, ""}, {VK_RETURN, ""}}); // up wraps to the last item, then Save
    EXPECT_EQ(Track(TPM_RETURNCMD), static_cast<BOOL>(SAVE));
    Pump();
    EXPECT_EQ(Messages().back(), WM_EXITMENULOOP);
}

TEST_F(MenuLoopTest, EscapeCancelsAndAMnemonicChoosesAtOnce)
{
    Keys({{VK_DOWN, ""}, {VK_ESCAPE, ""}});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0);
    Keys({{'S', "s"}});
    EXPECT_EQ(Track(TPM_RETURNCMD), static_cast<BOOL>(SAVE));
    Keys({{'L', "l"}, {VK_ESCAPE, ""}});
    EXPECT_EQ(Track(TPM_RETURNCMD), 0) << "the mnemonic of a grayed item chooses nothing";
    Pump();
    for (const auto& note : g_notes)
        EXPECT_NE(note.message, WM_COMMAND);
}

TEST_F(MenuLoopTest, RightOpensTheSubmenuAndEscapeClosesOnlyIt)
{
    Keys({{'M', "m"}, {VK_ESCAPE, ""}, {VK_RIGHT, ""}, {VK_RETURN, ""}});
    // "m" opens the submenu (with its first item hot), Escape closes it, Right opens it again.
    EXPECT_EQ(Track(TPM_RETURNCMD), static_cast<BOOL>(DEEP));
    std::vector<WPARAM> initialised;
    for (const auto& note : g_notes)
        if (note.message == WM_INITMENUPOPUP)
            initialised.push_back(note.wParam);
    EXPECT_EQ(initialised, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(m_menu), reinterpret_cast<WPARAM>(m_sub),
                                                reinterpret_cast<WPARAM>(m_sub)}));
    const auto selected = Selected();
    ASSERT_GE(selected.size(), 2u);
    EXPECT_EQ(selected[0], 4) << "a submenu item is named by its position";
    EXPECT_EQ(selected[1], DEEP);
}

TEST_F(MenuLoopTest, ThePopupIsATopmostMenuWindowThatNeverTakesTheActivation)
{
    HWND popup = nullptr;
    EXPECT_EQ(Track(TPM_RETURNCMD,
                    [&] {
                        popup = FindWindowA("#32768", nullptr);
                        ASSERT_NE(popup, nullptr);
                        EXPECT_EQ(ClassOf(popup), "#32768");
                        EXPECT_EQ(GetActiveWindow(), m_owner);
                        EXPECT_EQ(GetWindow(popup, GW_OWNER), m_owner);
                        EXPECT_TRUE(IsWindowVisible(popup));
                        EXPECT_EQ(GetWindowLongA(popup, GWL_EXSTYLE) & (WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
                                  static_cast<LONG>(WS_EX_TOPMOST | WS_EX_TOOLWINDOW));
                        EXPECT_EQ(SendMessageA(popup, MN_GETHMENU, 0, 0), reinterpret_cast<LRESULT>(m_menu));
                        RECT item{};
                        ASSERT_TRUE(GetMenuItemRect(nullptr, m_menu, 0, &item));
                        ClickAt(POINT{(item.left + item.right) / 2, (item.top + item.bottom) / 2});
                    }),
              static_cast<BOOL>(OPEN));
    EXPECT_EQ(GetActiveWindow(), m_owner) << "clicking the pop-up left the activation alone";
    EXPECT_FALSE(IsWindow(popup));
}

TEST_F(MenuLoopTest, AClickOutsideOrEndMenuCancels)
{
    EXPECT_EQ(Track(TPM_RETURNCMD, [&] { ClickAt(POINT{5, 5}); }), 0);
    EXPECT_EQ(Track(TPM_RETURNCMD, [] { EXPECT_TRUE(EndMenu()); }), 0);
    EXPECT_EQ(Track(TPM_RETURNCMD, [] { (void)SendMessageA(FindWindowA("#32768", nullptr), WM_CANCELMODE, 0, 0); }),
              0);
    EXPECT_FALSE(EndMenu()) << "no menu is open";
}

TEST_F(MenuLoopTest, OwnerDrawnItemsAreMeasuredAndDrawnWithTheirState)
{
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STATE;
    info.fType = MFT_OWNERDRAW;
    info.dwItemData = 0x5EED;
    info.fState = MFS_CHECKED;
    ASSERT_TRUE(SetMenuItemInfoA(m_menu, OPEN, FALSE, &info));
    info.fState = MFS_GRAYED;
    ASSERT_TRUE(SetMenuItemInfoA(m_menu, LOCKED, FALSE, &info));

    EXPECT_EQ(Track(TPM_RETURNCMD,
                    [&] {
                        // A key sent to the menu window moves the hot item, as the skin engine
                        // does it; then the change is painted.
                        const HWND popup = FindWindowA("#32768", nullptr);
                        (void)SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
                        (void)UpdateWindow(popup);
                        EndMenu();
                    }),
              0);
    ASSERT_EQ(g_measured.size(), 2u);
    EXPECT_EQ(g_measured[0].CtlType, ODT_MENU);
    EXPECT_EQ(g_measured[0].itemID, OPEN);
    EXPECT_EQ(g_measured[0].itemData, 0x5EEDu);

    bool sawPlain = false, sawSelected = false, sawGrayed = false;
    for (const auto& dis : g_drawn) {
        EXPECT_EQ(dis.CtlType, ODT_MENU);
        EXPECT_EQ(dis.hwndItem, reinterpret_cast<HWND>(m_menu));
        EXPECT_EQ(dis.rcItem.bottom - dis.rcItem.top, 30);
        EXPECT_GE(dis.rcItem.right - dis.rcItem.left, 120);
        if (dis.itemID == OPEN) {
            EXPECT_TRUE(dis.itemState & ODS_CHECKED);
            (dis.itemState & ODS_SELECTED ? sawSelected : sawPlain) = true;
        }
        if (dis.itemID == LOCKED)
            sawGrayed = (dis.itemState & ODS_GRAYED) != 0;
    }
    EXPECT_TRUE(sawPlain);
    EXPECT_TRUE(sawSelected) << "the hot item is drawn again as selected";
    EXPECT_TRUE(sawGrayed);
}

TEST_F(MenuLoopTest, PrintRendersTheFrameAndTheHotItemIntoAnyDc)
{
    std::uint32_t hot = 0, background = 0;
    (void)Track(TPM_RETURNCMD, [&] {
        const HWND popup = FindWindowA("#32768", nullptr);
        (void)SendMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
        RECT window{}, item{};
        (void)GetWindowRect(popup, &window);
        ASSERT_TRUE(GetMenuItemRect(nullptr, m_menu, 0, &item));
        const HDC screen = GetDC(nullptr);
        const HDC dc = CreateCompatibleDC(screen);
        const HBITMAP bitmap = CreateCompatibleBitmap(screen, window.right - window.left, window.bottom - window.top);
        const HGDIOBJ old = SelectObject(dc, bitmap);
        (void)SendMessageA(popup, WM_PRINT, reinterpret_cast<WPARAM>(dc), PRF_NONCLIENT | PRF_ERASEBKGND | PRF_CLIENT);
        hot = GetPixel(dc, item.left - window.left + 2, item.top - window.top + 2);
        background = GetPixel(dc, item.left - window.left + 2, item.bottom - window.top + 8); // beside the separator
        (void)SelectObject(dc, old);
        (void)DeleteObject(bitmap);
        (void)DeleteDC(dc);
        (void)ReleaseDC(nullptr, screen);
        EndMenu();
    });
    EXPECT_EQ(hot, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_EQ(background, GetSysColor(COLOR_MENU));
}

// The default item (Close in the system menu) is written in bold: the same label carries more ink.
TEST_F(MenuLoopTest, TheDefaultItemIsWrittenInBold)
{
    const HMENU menu = CreatePopupMenu();
    (void)AppendMenuA(menu, MF_STRING, 1, "Close");
    (void)AppendMenuA(menu, MF_STRING | MF_DEFAULT, 2, "Close");
    namespace detail = winapi_user::detail;
    const detail::MenuLayout layout = detail::LayoutMenu(menu, m_owner);
    ASSERT_EQ(layout.items.size(), 2U);
    const HDC screen = GetDC(nullptr);
    const HDC dc = CreateCompatibleDC(screen);
    const HBITMAP bitmap = CreateCompatibleBitmap(screen, layout.size.cx, layout.size.cy);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    const RECT all{0, 0, layout.size.cx, layout.size.cy};
    (void)FillRect(dc, &all, GetSysColorBrush(COLOR_MENU));
    detail::PaintMenuItems(dc, menu, layout, -1, m_owner);
    const auto ink = [&](const RECT& item) {
        int count = 0;
        for (int y = item.top; y < item.bottom; ++y)
            for (int x = item.left; x < item.right; ++x)
                count += GetPixel(dc, x, y) == GetSysColor(COLOR_MENUTEXT);
        return count;
    };
    const int plain = ink(layout.items[0]);
    const int bold = ink(layout.items[1]);
    (void)SelectObject(dc, old);
    (void)DeleteObject(bitmap);
    (void)DeleteDC(dc);
    (void)ReleaseDC(nullptr, screen);
    (void)DestroyMenu(menu);
    EXPECT_GT(plain, 0);
    EXPECT_GT(bold, plain + plain / 4);
}

TEST_F(MenuLoopTest, AltSpaceOpensTheSystemMenuWhoseChoiceIsASystemCommand)
{
    m_display->InjectKeyPress(Id(m_owner), VK_SPACE, " ", ModAlt);
    m_display->InjectKeyPress(Id(m_owner), 'N', "n"); // Mi&nimize
    HMENU shown = nullptr;
    g_inLoop = [&] { shown = reinterpret_cast<HMENU>(SendMessageA(FindWindowA("#32768", nullptr), MN_GETHMENU, 0, 0)); };
    Pump();
    EXPECT_EQ(shown, GetSystemMenu(m_owner, FALSE));
    EXPECT_TRUE(IsIconic(m_owner));
    EXPECT_EQ(GetMenuState(shown, static_cast<UINT>(SC_RESTORE), MF_BYCOMMAND) & MF_GRAYED, MF_GRAYED)
        << "the window was neither minimised nor maximised when the menu opened";
    bool sawMinimize = false;
    for (const auto& note : g_notes)
        sawMinimize |= note.message == WM_SYSCOMMAND && (note.wParam & 0xFFF0) == SC_MINIMIZE;
    EXPECT_TRUE(sawMinimize);
}

TEST_F(MenuLoopTest, AClickOnTheCaptionIconOpensTheSystemMenuUnderIt)
{
    HMENU shown = nullptr;
    RECT popup{};
    g_inLoop = [&] {
        const HWND window = FindWindowA("#32768", nullptr);
        shown = reinterpret_cast<HMENU>(SendMessageA(window, MN_GETHMENU, 0, 0));
        (void)GetWindowRect(window, &popup);
        EndMenu();
    };
    (void)PostMessageA(m_owner, WM_NULL, 0, 0);
    RECT frame{};
    (void)GetWindowRect(m_owner, &frame);
    (void)SendMessageA(m_owner, WM_NCLBUTTONDOWN, HTSYSMENU, MAKELPARAM(frame.left + 8, frame.top + 8));
    EXPECT_EQ(shown, GetSystemMenu(m_owner, FALSE));
    POINT client{0, 0};
    (void)ClientToScreen(m_owner, &client);
    EXPECT_EQ(popup.top, client.y) << "right under the caption";
    EXPECT_EQ(GetMenuState(shown, static_cast<UINT>(SC_SIZE), MF_BYCOMMAND) & MF_GRAYED, 0u);
    EXPECT_FALSE(IsWindow(FindWindowA("#32768", nullptr)));
}

// ---- The menu bar ----------------------------------------------------------------------------

class MenuBarTest : public MenuLoopTest {
protected:
    static constexpr UINT CUT = 301, ABOUT = 401;

    void SetUp() override
    {
        MenuLoopTest::SetUp();
        m_edit = CreatePopupMenu();
        (void)AppendMenuA(m_edit, MF_STRING, CUT, "Cu&t");
        m_bar = CreateMenu();
        (void)AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_menu), "&File");
        (void)AppendMenuA(m_bar, MF_POPUP, reinterpret_cast<UINT_PTR>(m_edit), "&Edit");
        (void)AppendMenuA(m_bar, MF_STRING, ABOUT, "&About");
        (void)GetClientRect(m_owner, &m_clientWithout);
        ASSERT_TRUE(SetMenu(m_owner, m_bar));
        Pump();
        g_notes.clear();
    }

    void TearDown() override
    {
        (void)SetMenu(m_owner, nullptr);
        (void)RemoveMenu(m_bar, 0, MF_BYPOSITION); // the fixture destroys the File menu itself
        (void)DestroyMenu(m_bar);
        MenuLoopTest::TearDown();
    }

    RECT BarItem(UINT index) const
    {
        RECT rect{};
        EXPECT_TRUE(GetMenuItemRect(m_owner, m_bar, index, &rect));
        return rect;
    }

    static POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

    // The drop-downs in the order they opened.
    static std::vector<HMENU> Opened()
    {
        std::vector<HMENU> menus;
        for (const auto& note : g_notes)
            if (note.message == WM_INITMENUPOPUP)
                menus.push_back(reinterpret_cast<HMENU>(note.wParam));
        return menus;
    }

    static std::vector<UINT> Commands()
    {
        std::vector<UINT> commands;
        for (const auto& note : g_notes)
            if (note.message == WM_COMMAND)
                commands.push_back(LOWORD(note.wParam));
        return commands;
    }

    COLORREF FramePixel(POINT screen) const
    {
        RECT frame{};
        (void)GetWindowRect(m_owner, &frame);
        const HDC dc = GetWindowDC(m_owner);
        const COLORREF color = GetPixel(dc, screen.x - frame.left, screen.y - frame.top);
        (void)ReleaseDC(m_owner, dc);
        return color;
    }

    HMENU m_edit = nullptr;
    HMENU m_bar = nullptr;
    RECT m_clientWithout{};
};

TEST_F(MenuBarTest, TheBarTakesItsHeightFromTheClientAreaUnderTheCaption)
{
    EXPECT_EQ(GetMenu(m_owner), m_bar);
    RECT client{}, frame{};
    (void)GetClientRect(m_owner, &client);
    (void)GetWindowRect(m_owner, &frame);
    EXPECT_EQ(client.bottom, m_clientWithout.bottom - GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(frame.right - frame.left, 400) << "the window keeps its outer size";
    RECT adjusted = client;
    ASSERT_TRUE(AdjustWindowRectEx(&adjusted, WS_OVERLAPPEDWINDOW, TRUE, 0));
    EXPECT_EQ(adjusted.bottom - adjusted.top, frame.bottom - frame.top) << "AdjustWindowRectEx agrees with the frame";

    const RECT file = BarItem(0), edit = BarItem(1), about = BarItem(2);
    POINT clientOrigin{0, 0};
    (void)ClientToScreen(m_owner, &clientOrigin);
    EXPECT_EQ(file.bottom, clientOrigin.y) << "the bar ends where the client area begins";
    EXPECT_EQ(file.right, edit.left);
    EXPECT_EQ(edit.right, about.left);
    EXPECT_EQ(SendMessageA(m_owner, WM_NCHITTEST, 0, MAKELPARAM(Centre(edit).x, Centre(edit).y)), HTMENU);
    EXPECT_EQ(FramePixel(POINT{frame.right - 12, Centre(file).y}), GetSysColor(COLOR_MENU));

    HWND child = CreateWindowExA(0, "MenuOwner", "", WS_CHILD, 0, 0, 10, 10, m_owner, nullptr, nullptr, nullptr);
    EXPECT_FALSE(SetMenu(child, m_edit)) << "child windows have no menu bar";
    ASSERT_TRUE(SetMenu(m_owner, nullptr));
    (void)GetClientRect(m_owner, &client);
    EXPECT_EQ(client.bottom, m_clientWithout.bottom);
    EXPECT_EQ(GetMenu(m_owner), nullptr);
}

TEST_F(MenuBarTest, AClickOpensTheDropDownUnderItsItemAndItsChoiceIsACommand)
{
    const RECT file = BarItem(0);
    RECT popup{};
    COLORREF hot = 0;
    g_inLoop = [&] {
        (void)GetWindowRect(FindWindowA("#32768", nullptr), &popup);
        hot = FramePixel(POINT{file.left + 2, file.top + 2});
    };
    ClickAt(Centre(file));
    Keys({{VK_DOWN, ""}, {VK_RETURN, ""}});
    Pump();
    EXPECT_EQ(Opened(), std::vector<HMENU>{m_menu});
    EXPECT_EQ(popup.left, file.left);
    EXPECT_EQ(popup.top, file.bottom);
    EXPECT_EQ(hot, GetSysColor(COLOR_HIGHLIGHT)) << "the open item is highlighted on the bar";
    EXPECT_EQ(Commands(), std::vector<UINT>{OPEN});
    EXPECT_EQ(FramePixel(POINT{file.left + 2, file.top + 2}), GetSysColor(COLOR_MENU)) << "and plain again after";

    g_notes.clear();
    ClickAt(Centre(BarItem(2)));
    Pump();
    EXPECT_TRUE(Opened().empty());
    EXPECT_EQ(Commands(), std::vector<UINT>{ABOUT}) << "an item without a drop-down is a command at once";
}

TEST_F(MenuBarTest, KeyboardEntersTheBarAndArrowsWalkAlongIt)
{
    struct Case {
        const char* name;
        std::vector<std::pair<UINT, unsigned>> keys; // key, modifiers
        std::vector<HMENU> opened;
        std::vector<UINT> commands;
    };
    const std::vector<Case> cases = {
        {"Alt alone opens the first", {{VK_MENU, 0}, {VK_ESCAPE, 0}}, {m_menu}, {}},
        {"F10 opens the first", {{VK_F10, 0}, {VK_ESCAPE, 0}}, {m_menu}, {}},
        {"Right moves on, skipping an item without a drop-down, and wraps",
         {{VK_F10, 0}, {VK_RIGHT, 0}, {VK_RIGHT, 0}, {VK_ESCAPE, 0}}, {m_menu, m_edit, m_menu}, {}},
        {"Left wraps to the last", {{VK_F10, 0}, {VK_LEFT, 0}, {VK_ESCAPE, 0}}, {m_menu, m_edit}, {}},
        {"Alt and a mnemonic open that item", {{'E', ModAlt}, {VK_DOWN, 0}, {VK_RETURN, 0}}, {m_edit}, {CUT}},
        {"Right on an item with a submenu opens the submenu",
         {{VK_F10, 0}, {VK_UP, 0}, {VK_RIGHT, 0}, {VK_RETURN, 0}}, {m_menu, m_sub}, {DEEP}},
    };
    for (const Case& c : cases) {
        g_notes.clear();
        for (const auto& [key, modifiers] : c.keys) {
            const std::string text = key == 'E' ? "e" : "";
            m_display->InjectKeyPress(Id(m_owner), key, text, modifiers);
        }
        Pump();
        EXPECT_EQ(Opened(), c.opened) << c.name;
        EXPECT_EQ(Commands(), c.commands) << c.name;
        EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr) << c.name;
    }
}

TEST_F(MenuBarTest, TheMouseMovesFromOneDropDownToAnother)
{
    const RECT edit = BarItem(1);
    g_inLoop = [&] {
        RECT owner{};
        (void)GetWindowRect(m_owner, &owner);
        m_display->InjectMouseMove(Id(m_owner), POINT{Centre(edit).x - owner.left, Centre(edit).y - owner.top});
        m_display->InjectKeyPress(Id(m_owner), VK_ESCAPE);
    };
    ClickAt(Centre(BarItem(0)));
    Pump();
    EXPECT_EQ(Opened(), (std::vector<HMENU>{m_menu, m_edit}));
}

} // namespace
