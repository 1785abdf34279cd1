// Every message a built-in control sends its parent may be answered by destroying the control.
// Each row makes one control, drives it the way a user or a caller would until it sends one
// message, and has the parent destroy the control right there; the control must then leave its
// freed state alone (AddressSanitizer reports it otherwise) and the window must be gone.

#include "ControlHost.h"
#include "platform/winapi/controls/Button.h"
#include "platform/winapi/controls/ComboBox.h"
#include "platform/winapi/controls/CommCtrl.h"
#include "platform/winapi/controls/DateTimePick.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/controls/Header.h"
#include "platform/winapi/controls/ListBox.h"
#include "platform/winapi/controls/ListView.h"
#include "platform/winapi/controls/MonthCal.h"
#include "platform/winapi/controls/ProgressBar.h"
#include "platform/winapi/controls/RichEdit.h"
#include "platform/winapi/controls/ScrollBarControl.h"
#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/controls/TabControl.h"
#include "platform/winapi/controls/Tooltips.h"
#include "platform/winapi/controls/TrackBar.h"
#include "platform/winapi/controls/UpDown.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace {

constexpr int CONTROL_ID = 7;
// A row that fires on every code the message carries (WM_CTLCOLOR*, WM_DRAWITEM...).
constexpr UINT ANY_CODE = 0xFFFFFFFF;

// What the parent waits for, and what it saw.
struct Trap {
    HWND control = nullptr;
    UINT message = 0;
    UINT code = ANY_CODE;
    bool sprung = false;
};
Trap g_trap;

// The window that sent `message`, and the code it carries, as the parent reads them.
struct Sender {
    HWND window = nullptr;
    UINT code = ANY_CODE;
};

Sender SenderOf(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        return {header->hwndFrom, header->code};
    }
    case WM_COMMAND:
        return {reinterpret_cast<HWND>(lParam), HIWORD(wParam)};
    case WM_HSCROLL:
    case WM_VSCROLL:
        return {reinterpret_cast<HWND>(lParam), LOWORD(wParam)};
    case WM_DRAWITEM:
        return {reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem};
    case WM_MEASUREITEM:
        // Sent while the control is being made, before the parent knows its handle.
        return {reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam)->CtlID == CONTROL_ID ? g_trap.control : nullptr};
    case WM_PARENTNOTIFY:
        return {g_trap.control, LOWORD(wParam)};
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return {reinterpret_cast<HWND>(lParam)};
    default:
        return {};
    }
}

// The control itself or one of its parts (a combo box's edit and list report through it).
bool FromTrapped(HWND sender)
{
    return sender != nullptr && (sender == g_trap.control || IsChild(g_trap.control, sender) ||
                                 GetWindow(sender, GW_OWNER) == g_trap.control);
}

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!g_trap.sprung && g_trap.control != nullptr && message == g_trap.message) {
        const Sender sender = SenderOf(message, wParam, lParam);
        if (FromTrapped(sender.window) && (g_trap.code == ANY_CODE || sender.code == g_trap.code)) {
            g_trap.sprung = true;
            (void)DestroyWindow(g_trap.control);
            return 0;
        }
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// What a row's steps may use: the control's host, the screen and the clock.
class Driver {
public:
    Driver(HeadlessDisplay& display, FakeClock& clock) : m_display(display), m_clock(clock) {}

    void Click(HWND control, POINT client, MouseButton button = MouseButton::Left)
    {
        m_display.InjectClick(TopLevelId(control), InTopLevel(control, client), button);
        PumpMessages();
    }
    void DoubleClick(HWND control, POINT client)
    {
        Click(control, client);
        Click(control, client);
    }
    void Press(HWND control, POINT client, bool down)
    {
        m_display.InjectMouseButton(TopLevelId(control), InTopLevel(control, client), MouseButton::Left, down,
                                    down ? 0 : ModLeftButton);
        PumpMessages();
    }
    void Move(HWND control, POINT client, bool buttonDown = false)
    {
        m_display.InjectMouseMove(TopLevelId(control), InTopLevel(control, client), buttonDown ? ModLeftButton : 0);
        PumpMessages();
    }
    void Drag(HWND control, POINT from, POINT to)
    {
        Press(control, from, true);
        Move(control, to, true);
        m_display.InjectMouseButton(TopLevelId(control), InTopLevel(control, to), MouseButton::Left, false,
                                    ModLeftButton);
        PumpMessages();
    }
    void Key(HWND control, unsigned virtualKey, std::string text = {})
    {
        (void)SetFocus(control);
        PumpMessages();
        m_display.InjectKeyPress(TopLevelId(control), virtualKey, std::move(text));
        PumpMessages();
    }
    void Type(HWND control, const std::string& text)
    {
        (void)SetFocus(control);
        PumpMessages();
        m_display.InjectText(TopLevelId(control), text);
        PumpMessages();
    }
    void Wait(std::uint64_t ms)
    {
        m_clock.Advance(ms);
        PumpMessages();
    }
    // Paints the control now (its owner-drawn parts and colours ask the parent while it paints).
    static void Paint(HWND control)
    {
        (void)InvalidateRect(control, nullptr, TRUE);
        (void)UpdateWindow(control);
        PumpMessages();
    }

private:
    HeadlessDisplay& m_display;
    FakeClock& m_clock;
};

struct Row {
    const char* name;
    const char* className;
    DWORD style;
    UINT message;
    UINT code;
    // Fills the control before the trap is set (items, ranges, buddies); may be null.
    void (*prepare)(HWND control);
    // What the user or caller does to make the control send the message.
    void (*drive)(Driver& driver, HWND control);
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

void AddTabs(HWND tabs)
{
    for (const char* text : {"One", "Two", "Three"}) {
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(text);
        (void)SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0)),
                           reinterpret_cast<LPARAM>(&item));
    }
}
POINT SecondTab(HWND tabs)
{
    RECT rect{};
    (void)SendMessageA(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

void SetUpDownRange(HWND upDown)
{
    (void)SendMessageA(upDown, UDM_SETRANGE32, 0, 100);
    (void)SendMessageA(upDown, UDM_SETPOS32, 0, 50);
}

const Row ROWS[] = {
    {"TabSelChanging", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_SELCHANGING, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabSelChange", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_SELCHANGE, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabKeyDown", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_KEYDOWN, AddTabs,
     [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"TabClick", WC_TABCONTROLA, 0, WM_NOTIFY, NM_CLICK, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabRightClick", WC_TABCONTROLA, 0, WM_NOTIFY, NM_RCLICK, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c), MouseButton::Right); }},
    {"TabDrawItem", WC_TABCONTROLA, TCS_OWNERDRAWFIXED, WM_DRAWITEM, ANY_CODE, AddTabs,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"UpDownDeltaPos", UPDOWN_CLASSA, 0, WM_NOTIFY, UDN_DELTAPOS, SetUpDownRange,
     [](Driver& d, HWND c) { d.Click(c, {8, 3}); }},
    {"UpDownThumbPosition", UPDOWN_CLASSA, 0, WM_VSCROLL, SB_THUMBPOSITION, SetUpDownRange,
     [](Driver& d, HWND c) { d.Click(c, {8, 3}); }},
    {"UpDownEndScroll", UPDOWN_CLASSA, 0, WM_VSCROLL, SB_ENDSCROLL, SetUpDownRange,
     [](Driver& d, HWND c) { d.Click(c, {8, 3}); }},
    {"UpDownRepeat", UPDOWN_CLASSA, 0, WM_NOTIFY, UDN_DELTAPOS, SetUpDownRange,
     [](Driver& d, HWND c) {
         // The press steps once and starts the repeat; the trap waits for the timer's step.
         const Trap armed = g_trap;
         g_trap.control = nullptr;
         d.Press(c, {8, 3}, true);
         g_trap = armed;
         d.Wait(600);
     }},
    {"UpDownArrowKey", UPDOWN_CLASSA, UDS_ARROWKEYS, WM_NOTIFY, UDN_DELTAPOS, SetUpDownRange,
     [](Driver& d, HWND c) { d.Key(c, VK_UP); }},
};

class DestroyInNotification : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        m_clock = std::make_unique<FakeClock>();
        InitCommonControls();
        m_parent = MakeHostWindow("DestroyInNotificationParent", ParentProc, COLOR_BTNFACE,
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, {40, 40, 480, 400}, "Parent");
        g_trap = Trap{};
    }
    void TearDown() override
    {
        g_trap = Trap{};
        (void)ReleaseCapture();
        (void)DestroyWindow(m_parent);
        PumpMessages();
    }

    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<FakeClock> m_clock;
    HWND m_parent = nullptr;
};

TEST_P(DestroyInNotification, TheControlLeavesItsStateAloneOnceTheParentDestroysIt)
{
    const Row& row = GetParam();
    const HWND control = MakeChild(m_parent, row.className, "", row.style, {20, 20, 300, 200}, CONTROL_ID);
    ASSERT_NE(control, nullptr);
    if (row.prepare)
        row.prepare(control);
    PumpMessages();
    g_trap = Trap{control, row.message, row.code, false};
    Driver driver(*m_display, *m_clock);
    row.drive(driver, control);
    EXPECT_TRUE(g_trap.sprung) << "the control never sent the message";
    EXPECT_FALSE(IsWindow(control));
}

INSTANTIATE_TEST_SUITE_P(EveryControl, DestroyInNotification, ::testing::ValuesIn(ROWS),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
