#include "SkinnedFormFixture.h"

#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/kernel/Threads.h"
#include "skin/WinSkinMenuBar.h"

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int Border = 4;
constexpr int Caption = 26;

// Run one after another, each when a new drop-down has opened and reads its first message.
std::deque<std::function<void()>> g_inMenu;
HWND g_lastPopup = nullptr;

LRESULT InMenuFilter(int code, WPARAM wParam, LPARAM lParam)
{
    const HWND popup = FindWindowA("#32768", nullptr);
    if (code == MSGF_MENU && popup && popup != g_lastPopup && !g_inMenu.empty()) {
        g_lastPopup = popup;
        const auto action = std::move(g_inMenu.front());
        g_inMenu.pop_front();
        action();
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class WinSkinMenuBarTest : public SkinnedMenuFixture {
protected:
    void SetUp() override
    {
        SkinnedFormFixture::SetUp();
        m_menu = new TMainMenu(m_form.get());
        m_file = AddItem(m_menu->Items(), "&File");
        m_open = AddItem(m_file, "&Open");
        m_more = AddItem(m_file, "&More");
        m_deep = AddItem(m_more, "&Deep");
        m_edit = AddItem(m_menu->Items(), "&Edit");
        m_cut = AddItem(m_edit, "Cu&t");
        m_help = AddItem(m_menu->Items(), "&Help");
        m_form->SetMenu(m_menu);
        m_hook = SetWindowsHookExA(WH_MSGFILTER, InMenuFilter, nullptr, GetCurrentThreadId());
        g_lastPopup = nullptr;
    }

    void TearDown() override
    {
        g_inMenu.clear();
        (void)UnhookWindowsHookEx(m_hook);
        SkinnedFormFixture::TearDown();
    }

    [[nodiscard]] TWinSkinMenu& Bar() const { return *Skinner()->MenuBar(); }
    [[nodiscard]] RECT ButtonRect(std::size_t index) const { return Bar().Buttons().at(index)->Rect; }
    static POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

    void Inject(const std::vector<std::pair<unsigned, unsigned>>& keys)
    {
        for (const auto& [key, modifiers] : keys) {
            const std::string text = key >= 'A' && key <= 'Z' ? std::string(1, static_cast<char>(key + 32)) : "";
            m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), key, text, modifiers);
        }
    }

    // A mouse move over the client area, which no menu acts on.
    void Nudge()
    {
        m_display->InjectMouseMove(reinterpret_cast<WindowId>(Window()), POINT{WindowSize().cx / 2, WindowSize().cy / 2});
    }

    // Press and release are both queued before anything runs: the drop-down's loop reads the
    // release.
    void Click(POINT window)
    {
        const auto id = reinterpret_cast<WindowId>(Window());
        m_display->InjectMouseMove(id, window);
        m_display->InjectMouseButton(id, window, MouseButton::Left, true);
        m_display->InjectMouseButton(id, window, MouseButton::Left, false);
        Pump();
    }

    TMainMenu* m_menu = nullptr;
    TMenuItem *m_file = nullptr, *m_open = nullptr, *m_more = nullptr, *m_deep = nullptr;
    TMenuItem *m_edit = nullptr, *m_cut = nullptr, *m_help = nullptr;
    HHOOK m_hook = nullptr;
};

TEST_F(WinSkinMenuBarTest, TheFormsMenuIsDrawnAsTheSkinsBarUnderTheCaption)
{
    ShowSkinned();
    ASSERT_NE(Skinner()->MenuBar(), nullptr);
    EXPECT_EQ(GetMenu(Window()), nullptr) << "the window system draws no bar of its own meanwhile";
    EXPECT_EQ(Bar().WindowMenu(), m_menu->Handle());
    const int barHeight = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(ClientSize().cy, m_clientBefore.cy) << "the client area keeps its size under the skinned bar";
    EXPECT_EQ(WindowSize().cy, ClientSize().cy + Caption + barHeight + Border);

    ASSERT_EQ(Bar().Buttons().size(), 3u);
    const TDataSkinObject* picture = m_data->Elements().Element("MenuBar");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ButtonRect(0).left, Border + picture->LeftWidth + 4);
    EXPECT_EQ(ButtonRect(0).top, Caption);
    EXPECT_EQ(ButtonRect(0).bottom, Caption + barHeight - 1);
    EXPECT_EQ(ButtonRect(1).left, ButtonRect(0).right);
    EXPECT_EQ(ButtonRect(2).left, ButtonRect(1).right);

    // The captions in the skin's bar text colour; the bar beyond them from the skin's picture,
    // not the form's face colour.
    const std::uint32_t text = ColorToRGB(m_data->Elements().Colours().MenuBarText);
    const std::uint32_t textRgb = ((text & 0xFF) << 16) | (text & 0xFF00) | ((text >> 16) & 0xFF);
    int inked = 0;
    const RECT file = ButtonRect(0);
    for (int x = file.left; x < file.right; ++x)
        for (int y = file.top; y < file.bottom; ++y)
            inked += Shown({x, y}) == textRgb ? 1 : 0;
    EXPECT_GT(inked, 5);
    const int empty = (ButtonRect(2).right + WindowSize().cx) / 2;
    EXPECT_NE(Shown({empty, Caption + barHeight / 2}), 0xE8EDF3u);
}

TEST_F(WinSkinMenuBarTest, AClickOpensTheDropDownUnderItsButtonWithTheFirstItemHighlighted)
{
    ShowSkinned();
    const RECT file = ButtonRect(0);
    RECT popup{};
    std::uint32_t frame = 0;
    std::uint32_t fill = 0;
    g_inMenu.push_back([&] {
        (void)GetWindowRect(FindWindowA("#32768", nullptr), &popup);
        frame = Shown({file.left, Centre(file).y});
        fill = Shown({file.left + 2, file.top + 2});
        m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_RETURN);
    });
    Click(Centre(file));
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    EXPECT_EQ(popup.left, window.left + file.left);
    EXPECT_EQ(popup.top, window.top + file.bottom);
    const auto shown = [](TColor colour) {
        const std::uint32_t rgb = ColorToRGB(colour);
        return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
    };
    EXPECT_EQ(frame, shown(m_data->Elements().Colours().ButtonShadow)) << "the open button wears its frame";
    EXPECT_EQ(fill, shown(m_data->Elements().Colours().Hilight)) << "and is highlighted";
    EXPECT_EQ(m_clicks, (std::vector<std::string>{"&File", "&Open"})) << "Enter chose the first item";
    EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);

    m_clicks.clear();
    Click(Centre(ButtonRect(2)));
    EXPECT_EQ(m_clicks, std::vector<std::string>{"&Help"}) << "a button without a drop-down is a command";
}

TEST_F(WinSkinMenuBarTest, KeysOpenTheBarAndWalkAlongIt)
{
    // The keys that open the bar, then those typed once the first drop-down shows.
    struct Case {
        const char* name;
        std::vector<std::pair<unsigned, unsigned>> opening;
        std::vector<std::pair<unsigned, unsigned>> inMenu;
        std::vector<std::string> clicks;
    };
    const std::vector<Case> cases = {
        {"Alt alone opens the first button", {{VK_MENU, 0}}, {{VK_ESCAPE, 0}}, {"&File"}},
        {"F10 opens the first button; Enter takes the first item", {{VK_F10, 0}}, {{VK_RETURN, 0}}, {"&File", "&Open"}},
        {"Right moves on, passing a button without a drop-down, and wraps",
         {{VK_F10, 0}},
         {{VK_RIGHT, 0}, {VK_RIGHT, 0}, {VK_ESCAPE, 0}},
         {"&File", "&Edit", "&File"}},
        {"Left from the first wraps to the last with a drop-down", {{VK_F10, 0}}, {{VK_LEFT, 0}, {VK_ESCAPE, 0}},
         {"&File", "&Edit"}},
        {"Alt and an accelerator open that button", {{'E', ModAlt}}, {{VK_RETURN, 0}}, {"&Edit", "Cu&t"}},
        {"Right on an item with a sub-menu opens the sub-menu",
         {{VK_F10, 0}},
         {{VK_DOWN, 0}, {VK_RIGHT, 0}, {VK_RETURN, 0}},
         {"&File", "&More", "&Deep"}},
    };
    ShowSkinned();
    for (const Case& c : cases) {
        m_clicks.clear();
        g_lastPopup = nullptr;
        g_inMenu.push_back([this, &c] { Inject(c.inMenu); });
        Inject(c.opening);
        Nudge(); // the first message the drop-down's loop reads
        Pump();
        EXPECT_EQ(m_clicks, c.clicks) << c.name;
        EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr) << c.name;
        g_inMenu.clear();
    }
}

TEST_F(WinSkinMenuBarTest, TheMouseMovesFromOneDropDownToAnother)
{
    ShowSkinned();
    // The move ends the first drop-down's loop; the second one reads the Escape.
    g_inMenu.push_back([&] {
        m_display->InjectMouseMove(reinterpret_cast<WindowId>(Window()), Centre(ButtonRect(1)));
        m_display->InjectKeyPress(reinterpret_cast<WindowId>(Window()), VK_ESCAPE);
    });
    Click(Centre(ButtonRect(0)));
    EXPECT_EQ(m_clicks, (std::vector<std::string>{"&File", "&Edit"}));
}

TEST_F(WinSkinMenuBarTest, TheBarFollowsChangesOfTheMenuItsButtonsCameFrom)
{
    ShowSkinned();
    MoveMouse(Centre(ButtonRect(1)));
    ASSERT_TRUE(Bar().Owns(Skinner()->HotObject()));
    m_edit->SetCaption("&Change");
    m_help->SetEnabled(false);
    Pump();
    EXPECT_EQ(Skinner()->HotObject(), nullptr) << "the rebuilt bar's buttons are new";
    ASSERT_EQ(Bar().Buttons().size(), 3u);
    EXPECT_EQ(Bar().Buttons()[1]->Caption, "&Change");
    EXPECT_FALSE(Bar().Buttons()[2]->Enabled);
    EXPECT_EQ(GetMenu(Window()), nullptr) << "the window system still draws no bar of its own";
    MoveMouse(Centre(ButtonRect(1)));
    EXPECT_TRUE(Bar().Owns(Skinner()->HotObject()));
}

TEST_F(WinSkinMenuBarTest, UnskinningGivesTheWindowItsOwnBarBack)
{
    (void)m_form->Handle();
    const SIZE windowBefore = WindowSize();
    ShowSkinned();
    MoveMouse(Centre(ButtonRect(0)));
    EXPECT_TRUE(Bar().Owns(Skinner()->HotObject())) << "a hovered button is the hot object";
    m_data->SetActive(false);
    Advance(TSkinManage::ActionDelay);
    EXPECT_EQ(Skinner(), nullptr);
    EXPECT_EQ(GetMenu(Window()), m_menu->Handle());
    EXPECT_EQ(WindowSize().cy, windowBefore.cy);
    EXPECT_EQ(ClientSize().cy, m_clientBefore.cy);
}

} // namespace

TEST_F(WinSkinMenuBarTest, CaptionButtonsInTheBarKeepClearOfItsPicturesLeftMargin)
{
    ShowSkinned();
    ASSERT_TRUE(LoadPackage(OurSkinPackage(Setting("Align", "100"))));
    const TDataSkinObject* picture = m_data->Elements().Element("MenuBar");
    ASSERT_NE(picture, nullptr);
    ASSERT_GT(picture->LeftWidth, 0);
    const auto& buttons = Skinner()->Buttons();
    const auto close = std::find_if(buttons.begin(), buttons.end(), [](const auto& button) {
        return button->Element.Action == 0 && button->Visible;
    });
    ASSERT_NE(close, buttons.end());
    EXPECT_EQ((*close)->Rect.left, WindowSize().cx - (*close)->Element.XCoord - Border - picture->LeftWidth);
}

TEST_F(WinSkinMenuBarTest, AButtonOpensForAPointOnItAndForAltAndItsAccelerator)
{
    ShowSkinned();
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    const POINT onEdit{window.left + Centre(ButtonRect(1)).x, window.top + Centre(ButtonRect(1)).y};
    constexpr LPARAM AltDown = 0x20000000;
    const struct {
        const char* what;
        std::function<void()> open;
    } cases[] = {
        {"a screen point", [&] { (void)PostMessageA(Window(), WM_SKIN_OPENMENUBARBUTTON, 0, MAKELPARAM(onEdit.x, onEdit.y)); }},
        {"Alt and the accelerator through the form",
         [&] { EXPECT_EQ(m_form->Perform(CM_DIALOGCHAR, 'e', AltDown), 1); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        m_clicks.clear();
        g_lastPopup = nullptr;
        g_inMenu.push_back([this] { Inject({{VK_RETURN, 0}}); });
        Nudge(); // the first message the drop-down's loop reads, should it open at once
        c.open();
        Pump();
        EXPECT_EQ(m_clicks, (std::vector<std::string>{"&Edit", "Cu&t"}));
    }
    // Without Alt the character is the form's to handle.
    m_clicks.clear();
    EXPECT_EQ(m_form->Perform(CM_DIALOGCHAR, 'e', 0), 0);
    Pump();
    EXPECT_TRUE(m_clicks.empty());
}

TEST_F(WinSkinMenuBarTest, ARightToLeftBarRunsFromTheRightAndItsDropDownsHangFromTheRight)
{
    const HWND handle = m_form->Handle();
    (void)SetWindowLongA(handle, GWL_EXSTYLE, GetWindowLongA(handle, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR);
    ShowSkinned();
    const TDataSkinObject* picture = m_data->Elements().Element("MenuBar");
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(ButtonRect(0).right, WindowSize().cx - Border - picture->RightWidth - 8);
    EXPECT_EQ(ButtonRect(1).right, ButtonRect(0).left);
    EXPECT_EQ(ButtonRect(2).right, ButtonRect(1).left);

    RECT popup{};
    g_inMenu.push_back([&] {
        (void)GetWindowRect(FindWindowA("#32768", nullptr), &popup);
        // Left goes on to the next button, which stands to the left.
        Inject({{VK_LEFT, 0}, {VK_ESCAPE, 0}});
    });
    Click(Centre(ButtonRect(0)));
    RECT window{};
    (void)GetWindowRect(Window(), &window);
    EXPECT_EQ(popup.right, window.left + ButtonRect(0).right);
    EXPECT_EQ(m_clicks, (std::vector<std::string>{"&File", "&Edit"}));
    EXPECT_EQ(FindWindowA("#32768", nullptr), nullptr);
}
