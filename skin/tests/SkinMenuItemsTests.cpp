#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/kernel/Threads.h"
#include "skin/SkinMenuItem.h"
#include "skin/WinSkinMenuBar.h"

#include <functional>
#include <string>
#include <vector>

namespace {

// Called for every message the menu loop reads while a popup menu shows, until it answers true.
std::function<bool(HWND popup, const MSG& msg)> g_look;

LRESULT LookFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND popup = FindWindowA("#32768", nullptr);
    if (code == MSGF_MENU && popup && g_look && g_look(popup, *reinterpret_cast<const MSG*>(lParam)))
        g_look = nullptr;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::uint32_t Rgb(TColor colour)
{
    const COLORREF c = ColorToRGB(colour);
    return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
}

class SkinMenuItemsTest : public SkinnedMenuFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_hook = SetWindowsHookExA(WH_MSGFILTER, LookFilter, nullptr, GetCurrentThreadId());
    }

    void TearDown() override
    {
        g_look = nullptr;
        (void)UnhookWindowsHookEx(m_hook);
        SkinnedFormFixture::TearDown();
    }

    // The pixel of a popup window at a point of the screen.
    [[nodiscard]] std::uint32_t PopupPixel(HWND popup, POINT screen) const
    {
        RECT window{};
        (void)GetWindowRect(popup, &window);
        return m_display->WindowPixel(reinterpret_cast<WindowId>(popup), screen.x - window.left, screen.y - window.top)
                   .value_or(0xDEADBEEF) &
               0xFFFFFF;
    }

    // How many pixels of `rect` (screen) show `colour` in the popup window.
    [[nodiscard]] int CountPixels(HWND popup, const RECT& rect, std::uint32_t colour) const
    {
        int count = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                count += PopupPixel(popup, {x, y}) == colour ? 1 : 0;
        return count;
    }

    static std::uint32_t ImagePixel(TBitmap& image, int x, int y)
    {
        const COLORREF c = GetPixel(image.Canvas()->Handle(), x, y);
        return GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c);
    }

    // A mouse move over the client area, which no menu acts on: the first message a menu opened by
    // the input before it reads.
    void Nudge()
    {
        m_display->InjectMouseMove(reinterpret_cast<WindowId>(Window()), POINT{WindowSize().cx / 2, WindowSize().cy / 2});
    }

    // An item of the skinned system menu by its command.
    [[nodiscard]] TMenuItem* SystemItem(UINT command) const
    {
        TPopupMenu* menu = Skinner()->SystemMenu();
        for (int i = 0; menu && i < menu->Items()->Count(); ++i)
            if (menu->Items()->Items(i)->Tag() == static_cast<int>(command))
                return menu->Items()->Items(i);
        return nullptr;
    }

    void Key(unsigned key) { m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), key); }

    // Types the keys into the menu once it shows, then runs `look` once the menu has painted what
    // they did.
    void AfterKeys(std::vector<unsigned> keys, std::function<void(HWND popup)> look)
    {
        g_look = [this, keys, look, typed = false, seen = std::size_t{0}, painted = false](HWND popup,
                                                                                         const MSG& msg) mutable {
            if (!typed) {
                typed = true;
                for (unsigned key : keys)
                    Key(key);
            }
            if (msg.message == WM_KEYDOWN)
                ++seen;
            if (seen >= keys.size() && msg.message == WM_PAINT && msg.hwnd == popup && !painted) {
                painted = true;
                (void)PostMessageA(Window(), WM_NULL, 0, 0);
                return false;
            }
            if (!painted || msg.message != WM_NULL)
                return false;
            (void)UpdateWindow(popup); // shows what the paint drew
            look(popup);
            return true;
        };
    }

    HHOOK m_hook = nullptr;
};

} // namespace

TEST_F(SkinMenuItemsTest, PopupMenuItemsAreDrawnFromTheSkinAndChosenByKeysAndMouse)
{
    auto* menu = new TPopupMenu(m_form.get());
    AddItem(menu->Items(), "&First");
    TMenuItem* checked = AddItem(menu->Items(), "&Checked");
    checked->SetChecked(true);
    AddItem(menu->Items(), cLineCaption);
    TMenuItem* disabled = AddItem(menu->Items(), "&Disabled");
    disabled->SetEnabled(false);
    AddItem(menu->Items(), "&Last");
    ShowSkinned();
    EXPECT_TRUE(menu->OwnerDraw()) << "the form's popup menus are drawn by the skin";

    TDataSkinObject& item = *m_data->Elements().Element("MenuItem");
    TDataSkinObject& ground = *m_data->Elements().Element("MenuBackground");
    const TSkinColours& colours = m_data->Elements().Colours();
    const int frameWidth = item.Image.Width() / 5;
    const std::uint32_t selection = ImagePixel(item.Image, 3 * frameWidth + frameWidth / 2, item.Image.Height() / 2);
    const std::uint32_t separatorLine = ImagePixel(item.Image, frameWidth + frameWidth / 2, item.Image.Height() / 2 - 1);
    bool looked = false;
    AfterKeys({VK_DOWN, VK_DOWN}, [&](HWND popup) {
        looked = true;
        const auto rect = [&](UINT index) {
            RECT r{};
            EXPECT_TRUE(GetMenuItemRect(nullptr, menu->Handle(), index, &r));
            return r;
        };
        RECT window{};
        (void)GetWindowRect(popup, &window);
        const RECT first = rect(0), highlighted = rect(1), separator = rect(2), grey = rect(3);
        const int middle = (first.top + first.bottom) / 2;
        // An item in the normal state shows the popup's skinned ground through the item picture.
        EXPECT_EQ(PopupPixel(popup, {first.left + 1, middle}), ImagePixel(ground.Image, first.left + 1 - window.left, 12));
        EXPECT_EQ(PopupPixel(popup, {highlighted.right - 8, (highlighted.top + highlighted.bottom) / 2}), selection)
            << "the highlighted item wears the picture's selected frame";
        EXPECT_GT(CountPixels(popup, separator, separatorLine), 10) << "the separator is the picture's line";
        const RECT checkColumn{highlighted.left, highlighted.top, highlighted.left + 24, highlighted.bottom};
        EXPECT_GT(CountPixels(popup, checkColumn, Rgb(colours.ButtonText)), 5) << "the check mark";
        EXPECT_GT(CountPixels(popup, grey, Rgb(colours.ButtonShadow)), 5) << "disabled text";
        EXPECT_EQ(CountPixels(popup, grey, Rgb(colours.MenuText)), 0);
        Key(VK_RETURN);
    });
    (void)PostMessageA(Window(), WM_NULL, 0, 0); // the first message the menu's loop reads
    menu->Popup(100, 100);
    Pump();
    EXPECT_TRUE(looked);
    EXPECT_EQ(m_clicks, std::vector<std::string>{"&Checked"}) << "Down skips nothing before the second item";

    // The mouse chooses too.
    m_clicks.clear();
    g_look = [&](HWND popup, const MSG&) {
        RECT last{};
        RECT window{};
        (void)GetMenuItemRect(nullptr, menu->Handle(), 4, &last);
        (void)GetWindowRect(popup, &window);
        const POINT at{(last.left + last.right) / 2 - window.left, (last.top + last.bottom) / 2 - window.top};
        m_display->InjectMouseButton(reinterpret_cast<WindowId>(popup), at, MouseButton::Left, true);
        m_display->InjectMouseButton(reinterpret_cast<WindowId>(popup), at, MouseButton::Left, false);
        return true;
    };
    (void)PostMessageA(Window(), WM_NULL, 0, 0);
    menu->Popup(100, 100);
    Pump();
    EXPECT_EQ(m_clicks, std::vector<std::string>{"&Last"});
}

TEST_F(SkinMenuItemsTest, UnskinningTakesBackOnlyTheDrawingTheSkinGave)
{
    auto* menu = new TPopupMenu(m_form.get());
    TMenuItem* plain = AddItem(menu->Items(), "&Plain");
    TMenuItem* own = AddItem(menu->Items(), "&Own");
    const TMenuDrawItemEvent ownDrawing =
        TMenuDrawItemEvent::FromFunction([](TObject*, TCanvas*, TRect, bool) {});
    own->SetOnDrawItem(ownDrawing);
    auto* excluded = new TPopupMenu(m_form.get());
    excluded->SetTag(m_data->DisableTag());
    TMenuItem* untouched = AddItem(excluded->Items(), "&Untouched");
    ShowSkinned();
    EXPECT_TRUE(plain->OnDrawItem() == SkinnedDrawItem());
    EXPECT_TRUE(plain->OnMeasureItem() == SkinnedMeasureItem());
    EXPECT_TRUE(own->OnDrawItem() == ownDrawing) << "an item that draws itself keeps its handler";
    EXPECT_FALSE(excluded->OwnerDraw());
    EXPECT_FALSE(untouched->OnDrawItem().Assigned());

    m_data->SetActive(false);
    Advance(TSkinManage::ActionDelay);
    ASSERT_EQ(Skinner(), nullptr);
    EXPECT_FALSE(plain->OnDrawItem().Assigned());
    EXPECT_FALSE(plain->OnMeasureItem().Assigned());
    EXPECT_TRUE(own->OnDrawItem() == ownDrawing);
    EXPECT_TRUE(menu->OwnerDraw()) << "the application's own drawing still needs it";
}

TEST_F(SkinMenuItemsTest, TheSystemMenuIsTheSkinsOwnAndFollowsTheWindowsState)
{
    ShowSkinned();
    struct Case {
        const char* name;
        int show;
        std::vector<std::pair<UINT, bool>> enabled;
    };
    const Case cases[] = {
        {"normal", SW_SHOWNORMAL,
         {{SC_RESTORE, false}, {SC_MOVE, true}, {SC_SIZE, true}, {SC_MINIMIZE, true}, {SC_MAXIMIZE, true}, {SC_CLOSE, true}}},
        {"maximized", SW_SHOWMAXIMIZED,
         {{SC_RESTORE, true}, {SC_MOVE, false}, {SC_SIZE, false}, {SC_MINIMIZE, true}, {SC_MAXIMIZE, false}, {SC_CLOSE, true}}},
    };
    const std::pair<UINT, int> glyphs[] = {{SC_RESTORE, 0}, {SC_MAXIMIZE, 1}, {SC_MINIMIZE, 2}, {SC_CLOSE, 3}, {SC_MOVE, -1}};
    for (const Case& c : cases) {
        (void)ShowWindow(Window(), c.show);
        Pump();
        bool looked = false;
        g_look = [&](HWND popup, const MSG&) -> bool {
            looked = true;
            Key(VK_ESCAPE);
            TPopupMenu* menu = Skinner()->SystemMenu();
            EXPECT_EQ(menu->Tag(), SystemMenuPopupTag);
            EXPECT_TRUE(SkinManager()->IsPopupSkinned(popup)) << c.name;
            for (const auto& [command, on] : c.enabled) {
                const TMenuItem* item = SystemItem(command);
                EXPECT_TRUE(item && item->Enabled() == on) << c.name << " " << command;
            }
            for (const auto& [command, glyph] : glyphs)
                EXPECT_TRUE(SystemItem(command) && SystemItem(command)->ImageIndex() == glyph) << command;
            return true;
        };
        // A right click on the caption.
        m_display->InjectMouseButton(reinterpret_cast<WindowId>(Window()), {WindowSize().cx / 2, 12}, MouseButton::Right,
                                     true);
        Nudge();
        Pump();
        EXPECT_TRUE(looked) << c.name;
        Advance(GetDoubleClickTime() + 1);
    }
    ASSERT_NE(m_data->MenuImages(), nullptr);
    EXPECT_EQ(m_data->MenuImages()->Count(), 4) << "the program's own system menu glyphs";
}

TEST_F(SkinMenuItemsTest, TheSystemMenuIsChosenByKeysAndByMouse)
{
    ShowSkinned();
    // Alt+Space opens it; Up from the top wraps to Close, which Enter chooses.
    g_look = [&](HWND, const MSG&) {
        Key(VK_UP);
        Key(VK_RETURN);
        return true;
    };
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_SPACE, " ", ModAlt);
    Nudge();
    Pump();
    EXPECT_FALSE(IsWindowVisible(Window())) << "Close closed the form";

    m_form->Show();
    Pump();
    Advance(GetDoubleClickTime() + 1);
    // The icon button opens it under itself; a click on Minimize minimizes.
    const TWinSysButton* icon = nullptr;
    for (const auto& button : Skinner()->Buttons())
        if (button->Visible && button->Element.Action == 3)
            icon = button.get();
    ASSERT_NE(icon, nullptr);
    const RECT iconRect = icon->Rect;
    RECT windowBefore{};
    (void)GetWindowRect(Window(), &windowBefore);
    RECT popupRect{};
    g_look = [&](HWND popup, const MSG&) {
        (void)GetWindowRect(popup, &popupRect);
        const TMenuItem* minimize = SystemItem(SC_MINIMIZE);
        RECT item{};
        EXPECT_TRUE(GetMenuItemRect(nullptr, Skinner()->SystemMenu()->Handle(), static_cast<UINT>(minimize->MenuIndex()),
                                    &item));
        const POINT at{(item.left + item.right) / 2 - popupRect.left, (item.top + item.bottom) / 2 - popupRect.top};
        m_display->InjectMouseButton(reinterpret_cast<WindowId>(popup), at, MouseButton::Left, true);
        m_display->InjectMouseButton(reinterpret_cast<WindowId>(popup), at, MouseButton::Left, false);
        return true;
    };
    const POINT centre{(iconRect.left + iconRect.right) / 2, (iconRect.top + iconRect.bottom) / 2};
    const auto id = reinterpret_cast<WindowId>(Window());
    m_display->InjectMouseMove(id, centre);
    m_display->InjectMouseButton(id, centre, MouseButton::Left, true);
    m_display->InjectMouseButton(id, centre, MouseButton::Left, false);
    Nudge();
    Pump();
    EXPECT_TRUE(IsIconic(Window()));
    EXPECT_EQ(popupRect.left, windowBefore.left + iconRect.left + 1) << "the menu opens under the button";
    EXPECT_EQ(popupRect.top, windowBefore.top + iconRect.bottom + 1);
}

TEST_F(SkinMenuItemsTest, TheIconButtonClickedTwiceQuicklyClosesTheWindow)
{
    ShowSkinned();
    const TWinSysButton* icon = nullptr;
    for (const auto& button : Skinner()->Buttons())
        if (button->Visible && button->Element.Action == 3)
            icon = button.get();
    ASSERT_NE(icon, nullptr);
    const POINT centre{(icon->Rect.left + icon->Rect.right) / 2, (icon->Rect.top + icon->Rect.bottom) / 2};
    const auto id = reinterpret_cast<WindowId>(Window());
    int menus = 0;
    const auto escape = [&](HWND, const MSG&) {
        ++menus;
        Key(VK_ESCAPE);
        return true;
    };
    g_look = escape;
    m_display->InjectMouseMove(id, centre);
    m_display->InjectMouseButton(id, centre, MouseButton::Left, true);
    m_display->InjectMouseButton(id, centre, MouseButton::Left, false);
    Nudge();
    Pump();
    EXPECT_EQ(menus, 1);
    EXPECT_TRUE(IsWindowVisible(Window()));
    g_look = escape;
    m_display->InjectMouseButton(id, centre, MouseButton::Left, true);
    m_display->InjectMouseButton(id, centre, MouseButton::Left, false);
    Nudge();
    Pump();
    EXPECT_EQ(menus, 1) << "the second click within the double-click time opens no menu";
    EXPECT_FALSE(IsWindowVisible(Window()));
}

TEST_F(SkinMenuItemsTest, TheBarsDropDownItemsAreDrawnFromTheSkinAndTheSkinnerMayGoMeanwhile)
{
    auto* mainMenu = new TMainMenu(m_form.get());
    TMenuItem* file = AddItem(mainMenu->Items(), "&File");
    AddItem(file, "&Open");
    AddItem(file, "&Save");
    m_form->SetMenu(mainMenu);
    ShowSkinned();
    TDataSkinObject& item = *m_data->Elements().Element("MenuItem");
    const int frameWidth = item.Image.Width() / 5;
    const std::uint32_t selection = ImagePixel(item.Image, 3 * frameWidth + frameWidth / 2, item.Image.Height() / 2);
    std::uint32_t highlighted = 0;
    bool ownerDrawn = false;
    AfterKeys({}, [&](HWND popup) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE;
        (void)GetMenuItemInfoA(file->Handle(), 0, TRUE, &info);
        ownerDrawn = (info.fType & MFT_OWNERDRAW) != 0;
        RECT open{};
        (void)GetMenuItemRect(nullptr, file->Handle(), 0, &open);
        highlighted = PopupPixel(popup, {open.right - 8, (open.top + open.bottom) / 2});
        // The skin goes away while the drop-down shows: its skinner with it.
        FreeSkinManager();
        Key(VK_ESCAPE);
    });
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_F10);
    Nudge();
    Pump();
    EXPECT_TRUE(ownerDrawn);
    EXPECT_EQ(highlighted, selection) << "the first item opens highlighted in the skin's picture";
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    (void)GetMenuItemInfoA(file->Handle(), 0, TRUE, &info);
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u) << "the items draw themselves again once the drop-down closes";
    EXPECT_EQ(GetMenu(Window()), mainMenu->Handle()) << "the window has its own bar back";
}

TEST_F(SkinMenuItemsTest, TheSkinMayGoWhileTheSystemMenuShows)
{
    ShowSkinned();
    g_look = [&](HWND, const MSG&) {
        // The skin is switched off from within the menu's loop: the skinner and its menu go.
        FreeSkinManager();
        Key(VK_UP);
        Key(VK_RETURN);
        return true;
    };
    m_display->InjectMouseButton(reinterpret_cast<WindowId>(Window()), {WindowSize().cx / 2, 12}, MouseButton::Right,
                                 true);
    Nudge();
    Pump();
    EXPECT_EQ(SkinManager(), nullptr);
    EXPECT_TRUE(IsWindowVisible(Window())) << "a choice from the skin's menu goes with the skin";
    EXPECT_FALSE(GetWindowSubclass(Window(), &TWinSkinForm::SkinWndProc, 0, nullptr));
}

namespace {

std::vector<WPARAM> g_commands;

LRESULT RecordCommands(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND)
        g_commands.push_back(wParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

} // namespace

// A window of no form object with a menu of its own (as a foreign program's window has): its bar
// is skinned, and its drop-down's items are drawn from their text by the skinner while it shows.
TEST_F(SkinMenuItemsTest, ABareWindowsMenuItemsAreDrawnFromTheirText)
{
    ShowSkinned();
    WNDCLASSA wc{};
    wc.lpfnWndProc = RecordCommands;
    wc.lpszClassName = "BareWithMenu";
    (void)RegisterClassA(&wc);
    const HMENU bar = CreateMenu();
    const HMENU file = CreatePopupMenu();
    (void)AppendMenuA(file, MF_STRING, 101, "&Open");
    (void)AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    (void)AppendMenuA(file, MF_STRING | MF_GRAYED, 102, "&Print");
    (void)AppendMenuA(file, MF_STRING, 103, "&Quit");
    (void)AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    const HWND window = CreateWindowExA(0, "BareWithMenu", "Bare", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 60, 60, 300, 200,
                                        nullptr, bar, nullptr, nullptr);
    Pump();
    ASSERT_TRUE(SkinManager()->SkinWindow(window) || SkinManager()->FindFormSkinner(window));
    Pump();
    TWinSkinForm* skinner = SkinManager()->FindFormSkinner(window);
    ASSERT_NE(skinner, nullptr);
    ASSERT_NE(skinner->MenuBar(), nullptr);

    TDataSkinObject& item = *m_data->Elements().Element("MenuItem");
    const int frameWidth = item.Image.Width() / 5;
    const std::uint32_t selection = ImagePixel(item.Image, 3 * frameWidth + frameWidth / 2, item.Image.Height() / 2);
    std::uint32_t highlighted = 0;
    int quitHeight = 0;
    const auto id = reinterpret_cast<WindowId>(window);
    g_look = [&](HWND popup, const MSG& msg) {
        if (msg.message != WM_PAINT || msg.hwnd != popup)
            return false;
        (void)UpdateWindow(popup);
        RECT open{};
        RECT quit{};
        (void)GetMenuItemRect(nullptr, file, 0, &open);
        (void)GetMenuItemRect(nullptr, file, 3, &quit);
        quitHeight = quit.bottom - quit.top;
        highlighted = PopupPixel(popup, {open.right - 8, (open.top + open.bottom) / 2});
        // Down skips the separator and the grayed item.
        m_display->InjectKeyPress(id, VK_DOWN);
        m_display->InjectKeyPress(id, VK_RETURN);
        return true;
    };
    m_display->InjectKeyPress(id, VK_F10);
    m_display->InjectMouseMove(id, POINT{150, 150});
    Pump();
    EXPECT_EQ(highlighted, selection) << "the first item opens highlighted in the skin's picture";
    EXPECT_GT(quitHeight, 8) << "measured from its text";
    EXPECT_EQ(g_commands, std::vector<WPARAM>{103});
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE;
    (void)GetMenuItemInfoA(file, 0, TRUE, &info);
    EXPECT_EQ(info.fType & MFT_OWNERDRAW, 0u) << "the items draw themselves again once the drop-down closes";
    (void)DestroyWindow(window);
    Pump();
}

TEST_F(SkinMenuItemsTest, ItemsMakeRoomForTheSkinsPictureButNoMoreThanItHolds)
{
    TDataSkinObject& element = *m_data->Elements().Element("MenuItem");
    const int frameWidth = element.Image.Width() / 5;
    struct Case {
        TMenuMeasure kind;
        bool hasImages;
        int leftWidth;
        int added;
    };
    const Case cases[] = {
        {TMenuMeasure::PopupMenu, true, 4, 4 + 12},
        {TMenuMeasure::PopupMenu, false, 4, 4 + 12 + 23},
        {TMenuMeasure::MainMenu, true, 4, 4 + 10},
        {TMenuMeasure::MainMenu, false, 4, 4 + 10 + 25},
        {TMenuMeasure::WindowMenu, false, 4, 4 + 26},
        {TMenuMeasure::PopupMenu, true, 100000, frameWidth + 12},
        {TMenuMeasure::PopupMenu, true, -30, 12},
    };
    for (const Case& c : cases) {
        element.LeftWidth = c.leftWidth;
        int width = 50;
        MeasureSkinMenuItem(m_data, c.kind, c.hasImages, width);
        EXPECT_EQ(width, 50 + c.added) << static_cast<int>(c.kind) << " " << c.hasImages << " " << c.leftWidth;
    }
    int width = 50;
    MeasureSkinMenuItem(nullptr, TMenuMeasure::PopupMenu, true, width);
    EXPECT_EQ(width, 50 + 12) << "without a skin only the fixed room";
}
