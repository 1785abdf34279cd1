// Every message a built-in control sends its parent may be answered by destroying the control.
// Each row makes one control, drives it the way a user or a caller would until it sends one
// message, and has the parent destroy the control right there; the control must then leave its
// freed state alone (AddressSanitizer reports it otherwise) and the window must be gone.

#include "tests/support/windows/HeadlessWindows.h"
#include "platform/winapi/user/Button.h"
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
#include "platform/winapi/user/ScrollBarControl.h"
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
        return {reinterpret_cast<HWND>(lParam), LOWORD(wParam)};
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

// The control itself or one of its parts (a combo box's edit and drop-down list report through it).
bool FromTrapped(HWND sender)
{
    if (sender == nullptr)
        return false;
    if (sender == g_trap.control || IsChild(g_trap.control, sender))
        return true;
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    return GetComboBoxInfo(g_trap.control, &parts) && (sender == parts.hwndList || sender == parts.hwndItem);
}

// Runs `step` with the trap open, for the steps that only lead up to the message a row is about.
template <class Step>
void Unarmed(Step step)
{
    const Trap armed = g_trap;
    g_trap.control = nullptr;
    step();
    g_trap = armed;
}

POINT Center(RECT rect) { return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// Whether the parent destroys each child as it hears of its creation.
bool g_destroyNewChildren = false;

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (g_destroyNewChildren && message == WM_PARENTNOTIFY && LOWORD(wParam) == WM_CREATE) {
        (void)DestroyWindow(reinterpret_cast<HWND>(lParam));
        return 0;
    }
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

// What a row's steps may use: the injected mouse, plus the keyboard, the clock and painting, as the rows drive a control.
class Driver : public MouseInput {
public:
    Driver(HeadlessDisplay& display, FakeClock& clock) : MouseInput(display), m_display(display), m_clock(clock) {}

    void DoubleClick(HWND control, POINT client) const
    {
        Click(control, client);
        Click(control, client);
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
    // Makes the control when it is no plain child of the parent (a tooltip); may be null.
    HWND (*make)(HWND parent) = nullptr;
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

// A sibling edit before the up-down, which drives it with the arrow keys.
void GiveUpDownABuddy(HWND upDown)
{
    SetUpDownRange(upDown);
    const HWND buddy = MakeChild(GetParent(upDown), WC_EDITA, "50", 0, {320, 20, 380, 40}, CONTROL_ID + 1);
    (void)SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy), 0);
}

void BuddyArrowKey(Driver& driver, HWND upDown)
{
    driver.Key(reinterpret_cast<HWND>(SendMessageA(upDown, UDM_GETBUDDY, 0, 0)), VK_UP);
}

void AddListStrings(HWND list)
{
    for (const char* text : {"One", "Two", "Three"})
        (void)SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void AddComboStrings(HWND combo)
{
    for (const char* text : {"One", "Two", "Three"})
        (void)SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    (void)SendMessageA(combo, CB_SETCURSEL, 0, 0);
}

COMBOBOXINFO ComboParts(HWND combo)
{
    COMBOBOXINFO parts{};
    parts.cbSize = sizeof parts;
    (void)GetComboBoxInfo(combo, &parts);
    return parts;
}

void DropCombo(Driver& driver, HWND combo)
{
    Unarmed([&] { driver.Click(combo, Center(ComboParts(combo).rcButton)); });
}

void Focus(HWND control)
{
    (void)SetFocus(control);
    PumpMessages();
}

void FocusElsewhere(Driver&, HWND control)
{
    Unarmed([&] { Focus(control); });
    Focus(GetParent(control));
}

void SetScrollRange(HWND bar)
{
    (void)SendMessageA(bar, SBM_SETRANGE, 0, 100);
    (void)SendMessageA(bar, SBM_SETPOS, 50, TRUE);
}

void SetTrackRange(HWND bar)
{
    (void)SendMessageA(bar, TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
    (void)SendMessageA(bar, TBM_SETPOS, TRUE, 50);
}

POINT Thumb(HWND bar)
{
    RECT rect{};
    (void)SendMessageA(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&rect));
    return Center(rect);
}

// A point on the channel well right of the thumb, where a click pages.
POINT PastThumb(HWND bar) { return {250, Thumb(bar).y}; }

void DragThumb(Driver& driver, HWND bar) { driver.Drag(bar, Thumb(bar), {Thumb(bar).x + 60, Thumb(bar).y}); }

void AddHeaderItems(HWND header, int format)
{
    for (const char* text : {"Name", "Size"}) {
        HDITEMA item{};
        item.mask = HDI_TEXT | HDI_WIDTH | HDI_FORMAT;
        item.cxy = 100;
        item.fmt = format;
        item.pszText = const_cast<char*>(text);
        (void)SendMessageA(header, HDM_INSERTITEMA, 2, reinterpret_cast<LPARAM>(&item));
    }
}
void AddHeaderButtons(HWND header) { AddHeaderItems(header, HDF_STRING); }
void AddOwnerDrawnHeader(HWND header) { AddHeaderItems(header, HDF_OWNERDRAW); }

// The divider between the two items, and a point inside the first.
constexpr POINT DIVIDER{100, 5};
constexpr POINT FIRST_ITEM{50, 5};

void FillListView(HWND view)
{
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.cx = 120;
    column.pszText = const_cast<char*>("Name");
    (void)SendMessageA(view, LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    for (int i = 0; i < 3; ++i) {
        LVITEMA item{};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = const_cast<char*>("Item");
        (void)SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
}

POINT SecondRow(HWND view)
{
    RECT rect{};
    rect.left = LVIR_BOUNDS;
    (void)SendMessageA(view, LVM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&rect));
    return {rect.left + 10, (rect.top + rect.bottom) / 2};
}

void InsertListViewItem(Driver&, HWND view)
{
    LVITEMA item{};
    item.mask = LVIF_TEXT;
    item.iItem = 0;
    item.pszText = const_cast<char*>("New");
    (void)SendMessageA(view, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ClickColumnTitle(Driver& driver, HWND view)
{
    driver.Click(reinterpret_cast<HWND>(SendMessageA(view, LVM_GETHEADER, 0, 0)), {30, 5});
}

// A day of the calendar other than the selected one, where a click changes the selection.
POINT OtherDay(HWND calendar)
{
    SYSTEMTIME selected{};
    (void)SendMessageA(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&selected));
    for (int y = 0; y < 180; y += 3)
        for (int x = 0; x < 280; x += 3) {
            MCHITTESTINFO hit{};
            hit.cbSize = sizeof hit;
            hit.pt = {x, y};
            (void)SendMessageA(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            if (hit.uHit == MCHT_CALENDARDATE && hit.st.wDay != selected.wDay)
                return hit.pt;
        }
    return {};
}

HWND MakeTooltip(HWND parent)
{
    return CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, "", 0, 0, 0, 0, 0, parent, nullptr, nullptr, nullptr);
}

TOOLINFOA ToolOf(HWND tooltip, UINT flags, LPSTR text)
{
    TOOLINFOA tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = flags;
    tool.hwnd = GetWindow(tooltip, GW_OWNER);
    tool.uId = 1;
    tool.rect = {0, 0, 200, 200};
    tool.lpszText = text;
    return tool;
}

void AddTrackingTool(HWND tooltip)
{
    TOOLINFOA tool = ToolOf(tooltip, TTF_TRACK | TTF_ABSOLUTE, const_cast<char*>("Tip"));
    (void)SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void AddCallbackTool(HWND tooltip)
{
    TOOLINFOA tool = ToolOf(tooltip, TTF_TRACK | TTF_ABSOLUTE, LPSTR_TEXTCALLBACKA);
    (void)SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void AddHoverTool(HWND tooltip)
{
    TOOLINFOA tool = ToolOf(tooltip, 0, const_cast<char*>("Tip"));
    (void)SendMessageA(tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}

void TrackTool(Driver&, HWND tooltip)
{
    TOOLINFOA tool = ToolOf(tooltip, 0, nullptr);
    (void)SendMessageA(tooltip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
    PumpMessages();
}

// The tool's window passes its mouse moves on, and the tip shows once the pointer rests.
void HoverTool(Driver& driver, HWND tooltip)
{
    MSG move{};
    move.hwnd = GetWindow(tooltip, GW_OWNER);
    move.message = WM_MOUSEMOVE;
    move.lParam = MAKELPARAM(10, 10);
    (void)SendMessageA(tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&move));
    driver.Wait(2000);
}

const Row ROWS[] = {
    {"ButtonClicked", WC_BUTTONA, BS_PUSHBUTTON, WM_COMMAND, BN_CLICKED, nullptr,
     [](Driver& d, HWND c) { d.Click(c, {10, 10}); }},
    {"ButtonDoubleClicked", WC_BUTTONA, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_DOUBLECLICKED, nullptr,
     [](Driver& d, HWND c) { d.DoubleClick(c, {10, 10}); }},
    {"ButtonHilite", WC_BUTTONA, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_HILITE, nullptr,
     [](Driver& d, HWND c) { d.Click(c, {10, 10}); }},
    {"ButtonUnhilite", WC_BUTTONA, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_UNHILITE, nullptr,
     [](Driver& d, HWND c) { d.Click(c, {10, 10}); }},
    {"ButtonSetFocus", WC_BUTTONA, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_SETFOCUS, nullptr,
     [](Driver& d, HWND c) { d.Click(c, {10, 10}); }},
    {"ButtonKillFocus", WC_BUTTONA, BS_PUSHBUTTON | BS_NOTIFY, WM_COMMAND, BN_KILLFOCUS, nullptr, FocusElsewhere},
    {"ButtonSpaceBar", WC_BUTTONA, BS_AUTOCHECKBOX, WM_COMMAND, BN_CLICKED, nullptr,
     [](Driver& d, HWND c) { d.Key(c, VK_SPACE); }},
    {"ButtonClickMessage", WC_BUTTONA, BS_AUTORADIOBUTTON, WM_COMMAND, BN_CLICKED, nullptr,
     [](Driver&, HWND c) { (void)SendMessageA(c, BM_CLICK, 0, 0); }},
    {"ButtonColorBtn", WC_BUTTONA, BS_PUSHBUTTON, WM_CTLCOLORBTN, ANY_CODE, nullptr,
     [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ButtonColorStatic", WC_BUTTONA, BS_CHECKBOX, WM_CTLCOLORSTATIC, ANY_CODE, nullptr,
     [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ButtonDrawItem", WC_BUTTONA, BS_OWNERDRAW, WM_DRAWITEM, ANY_CODE, nullptr,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"EditUpdate", WC_EDITA, 0, WM_COMMAND, EN_UPDATE, nullptr, [](Driver& d, HWND c) { d.Type(c, "a"); }},
    {"EditChange", WC_EDITA, 0, WM_COMMAND, EN_CHANGE, nullptr, [](Driver& d, HWND c) { d.Type(c, "a"); }},
    {"EditMaxText", WC_EDITA, 0, WM_COMMAND, EN_MAXTEXT,
     [](HWND c) { (void)SendMessageA(c, EM_LIMITTEXT, 1, 0); }, [](Driver& d, HWND c) { d.Type(c, "ab"); }},
    {"EditSetFocus", WC_EDITA, 0, WM_COMMAND, EN_SETFOCUS, nullptr, [](Driver&, HWND c) { Focus(c); }},
    {"EditKillFocus", WC_EDITA, 0, WM_COMMAND, EN_KILLFOCUS, nullptr, FocusElsewhere},
    {"EditVScroll", WC_EDITA, ES_MULTILINE, WM_COMMAND, EN_VSCROLL,
     [](HWND c) { (void)SetWindowTextA(c, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n11\r\n12\r\n13\r\n14"); },
     [](Driver&, HWND c) { (void)SendMessageA(c, WM_VSCROLL, SB_LINEDOWN, 0); }},
    {"EditColorEdit", WC_EDITA, 0, WM_CTLCOLOREDIT, ANY_CODE, nullptr, [](Driver&, HWND c) { Driver::Paint(c); }},
    {"EditColorStatic", WC_EDITA, ES_READONLY, WM_CTLCOLORSTATIC, ANY_CODE, nullptr,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"RichEditChange", RICHEDIT_CLASSA, 0, WM_COMMAND, EN_CHANGE,
     [](HWND c) { (void)SendMessageA(c, EM_SETEVENTMASK, 0, ENM_CHANGE | ENM_UPDATE); },
     [](Driver& d, HWND c) { d.Type(c, "a"); }},
    {"RichEditSetFocus", RICHEDIT_CLASSA, 0, WM_COMMAND, EN_SETFOCUS, nullptr, [](Driver&, HWND c) { Focus(c); }},
    {"RichEditKillFocus", RICHEDIT_CLASSA, 0, WM_COMMAND, EN_KILLFOCUS, nullptr, FocusElsewhere},

    {"ListBoxSelChange", "ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SELCHANGE, AddListStrings,
     [](Driver& d, HWND c) { d.Click(c, {10, 20}); }},
    {"ListBoxKeySelChange", "ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SELCHANGE, AddListStrings,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"ListBoxDoubleClick", "ListBox", LBS_NOTIFY, WM_COMMAND, LBN_DBLCLK, AddListStrings,
     [](Driver& d, HWND c) { d.DoubleClick(c, {10, 5}); }},
    {"ListBoxSetFocus", "ListBox", LBS_NOTIFY, WM_COMMAND, LBN_SETFOCUS, AddListStrings,
     [](Driver&, HWND c) { Focus(c); }},
    {"ListBoxKillFocus", "ListBox", LBS_NOTIFY, WM_COMMAND, LBN_KILLFOCUS, AddListStrings, FocusElsewhere},
    {"ListBoxColor", "ListBox", 0, WM_CTLCOLORLISTBOX, ANY_CODE, AddListStrings,
     [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ListBoxDrawItem", "ListBox", LBS_OWNERDRAWFIXED | LBS_HASSTRINGS, WM_DRAWITEM, ANY_CODE, AddListStrings,
     [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ListBoxMeasureItem", "ListBox", LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS, WM_MEASUREITEM, ANY_CODE, nullptr,
     [](Driver&, HWND c) { AddListStrings(c); }},

    {"ComboDropDown", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_DROPDOWN, AddComboStrings,
     [](Driver& d, HWND c) { d.Click(c, Center(ComboParts(c).rcButton)); }},
    {"ComboCloseUp", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_CLOSEUP, AddComboStrings,
     [](Driver& d, HWND c) {
         DropCombo(d, c);
         d.Key(c, VK_ESCAPE);
     }},
    {"ComboSelEndCancel", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELENDCANCEL, AddComboStrings,
     [](Driver& d, HWND c) {
         DropCombo(d, c);
         d.Key(c, VK_ESCAPE);
     }},
    {"ComboSelEndOk", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELENDOK, AddComboStrings,
     [](Driver& d, HWND c) {
         DropCombo(d, c);
         d.Key(c, VK_RETURN);
     }},
    {"ComboListPick", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELCHANGE, AddComboStrings,
     [](Driver& d, HWND c) {
         DropCombo(d, c);
         d.Click(ComboParts(c).hwndList, {10, 20});
     }},
    {"ComboKeySelChange", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SELCHANGE, AddComboStrings,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"ComboDoubleClick", "ComboBox", CBS_SIMPLE, WM_COMMAND, CBN_DBLCLK, AddComboStrings,
     [](Driver& d, HWND c) { d.DoubleClick(ComboParts(c).hwndList, {10, 5}); }},
    {"ComboSetFocus", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_SETFOCUS, AddComboStrings,
     [](Driver&, HWND c) { Focus(c); }},
    {"ComboKillFocus", "ComboBox", CBS_DROPDOWNLIST, WM_COMMAND, CBN_KILLFOCUS, AddComboStrings, FocusElsewhere},
    {"ComboEditSetFocus", "ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_SETFOCUS, AddComboStrings,
     [](Driver&, HWND c) { Focus(c); }},
    {"ComboEditKillFocus", "ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_KILLFOCUS, AddComboStrings, FocusElsewhere},
    {"ComboEditUpdate", "ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_EDITUPDATE, AddComboStrings,
     [](Driver& d, HWND c) { d.Type(ComboParts(c).hwndItem, "a"); }},
    {"ComboEditChange", "ComboBox", CBS_DROPDOWN, WM_COMMAND, CBN_EDITCHANGE, AddComboStrings,
     [](Driver& d, HWND c) { d.Type(ComboParts(c).hwndItem, "a"); }},
    {"ComboColorEdit", "ComboBox", CBS_DROPDOWNLIST, WM_CTLCOLOREDIT, ANY_CODE, AddComboStrings,
     [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ComboColorList", "ComboBox", CBS_DROPDOWNLIST, WM_CTLCOLORLISTBOX, ANY_CODE, AddComboStrings,
     [](Driver& d, HWND c) {
         DropCombo(d, c);
         Driver::Paint(ComboParts(c).hwndList);
     }},
    {"ComboDrawItem", "ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, WM_DRAWITEM, ANY_CODE,
     AddComboStrings, [](Driver&, HWND c) { Driver::Paint(c); }},
    {"ComboMeasureItem", "ComboBox", CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE | CBS_HASSTRINGS, WM_MEASUREITEM,
     ANY_CODE, nullptr, [](Driver&, HWND c) { AddComboStrings(c); }},

    {"ScrollBarArrow", WC_SCROLLBARA, SBS_HORZ, WM_HSCROLL, SB_LINEDOWN, SetScrollRange,
     [](Driver& d, HWND c) { d.Click(c, {275, 90}); }},
    {"ScrollBarArrowEnd", WC_SCROLLBARA, SBS_HORZ, WM_HSCROLL, SB_ENDSCROLL, SetScrollRange,
     [](Driver& d, HWND c) { d.Click(c, {275, 90}); }},
    {"ScrollBarKey", WC_SCROLLBARA, SBS_VERT, WM_VSCROLL, SB_LINEDOWN, SetScrollRange,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"ScrollBarKeyEnd", WC_SCROLLBARA, SBS_VERT, WM_VSCROLL, SB_ENDSCROLL, SetScrollRange,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},

    {"StatusBarDrawItem", STATUSCLASSNAMEA, 0, WM_DRAWITEM, ANY_CODE,
     [](HWND c) { (void)SendMessageA(c, SB_SETTEXTA, SBT_OWNERDRAW, 0); }, [](Driver&, HWND c) { Driver::Paint(c); }},

    {"TabSelChanging", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_SELCHANGING, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabSelChange", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_SELCHANGE, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabKeyDown", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_KEYDOWN, AddTabs, [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"TabKeySelChanging", WC_TABCONTROLA, 0, WM_NOTIFY, TCN_SELCHANGING, AddTabs,
     [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"TabClick", WC_TABCONTROLA, 0, WM_NOTIFY, NM_CLICK, AddTabs, [](Driver& d, HWND c) { d.Click(c, SecondTab(c)); }},
    {"TabRightClick", WC_TABCONTROLA, 0, WM_NOTIFY, NM_RCLICK, AddTabs,
     [](Driver& d, HWND c) { d.Click(c, SecondTab(c), MouseButton::Right); }},
    {"TabDrawItem", WC_TABCONTROLA, TCS_OWNERDRAWFIXED, WM_DRAWITEM, ANY_CODE, AddTabs,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"TrackBarLineDown", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_LINEDOWN, SetTrackRange,
     [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"TrackBarKeyEndTrack", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_ENDTRACK, SetTrackRange,
     [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"TrackBarBottom", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_BOTTOM, SetTrackRange,
     [](Driver& d, HWND c) { d.Key(c, VK_END); }},
    {"TrackBarPageDown", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_PAGEDOWN, SetTrackRange,
     [](Driver& d, HWND c) { d.Click(c, PastThumb(c)); }},
    {"TrackBarPageRepeat", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_PAGEDOWN, SetTrackRange,
     [](Driver& d, HWND c) {
         Unarmed([&] { d.Press(c, PastThumb(c), true); });
         d.Wait(600);
     }},
    {"TrackBarThumbTrack", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_THUMBTRACK, SetTrackRange, DragThumb},
    {"TrackBarThumbPosition", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_THUMBPOSITION, SetTrackRange, DragThumb},
    {"TrackBarDragEndTrack", TRACKBAR_CLASSA, 0, WM_HSCROLL, TB_ENDTRACK, SetTrackRange, DragThumb},
    {"TrackBarVertical", TRACKBAR_CLASSA, TBS_VERT, WM_VSCROLL, TB_LINEDOWN, SetTrackRange,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"TrackBarCustomDraw", TRACKBAR_CLASSA, 0, WM_NOTIFY, NM_CUSTOMDRAW, SetTrackRange,
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
         Unarmed([&] { d.Press(c, {8, 3}, true); });
         d.Wait(600);
     }},
    {"UpDownArrowKey", UPDOWN_CLASSA, UDS_ARROWKEYS, WM_NOTIFY, UDN_DELTAPOS, SetUpDownRange,
     [](Driver& d, HWND c) { d.Key(c, VK_UP); }},
    {"UpDownBuddyArrowKey", UPDOWN_CLASSA, UDS_ARROWKEYS | UDS_SETBUDDYINT, WM_NOTIFY, UDN_DELTAPOS, GiveUpDownABuddy,
     BuddyArrowKey},
    {"UpDownHorizontal", UPDOWN_CLASSA, UDS_HORZ, WM_HSCROLL, SB_THUMBPOSITION, SetUpDownRange,
     [](Driver& d, HWND c) { d.Click(c, {270, 8}); }},

    {"HeaderItemClick", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCLICK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Click(c, FIRST_ITEM); }},
    {"HeaderItemDoubleClick", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMDBLCLICK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.DoubleClick(c, FIRST_ITEM); }},
    {"HeaderDividerDoubleClick", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_DIVIDERDBLCLICK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.DoubleClick(c, DIVIDER); }},
    {"HeaderBeginTrack", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_BEGINTRACK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderTrack", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_TRACK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderFullDragChanging", WC_HEADERA, HDS_BUTTONS | HDS_FULLDRAG, WM_NOTIFY, HDN_ITEMCHANGING, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderEndTrack", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_ENDTRACK, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderItemChanging", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCHANGING, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderItemChanged", WC_HEADERA, HDS_BUTTONS, WM_NOTIFY, HDN_ITEMCHANGED, AddHeaderButtons,
     [](Driver& d, HWND c) { d.Drag(c, DIVIDER, {140, 5}); }},
    {"HeaderSetItem", WC_HEADERA, 0, WM_NOTIFY, HDN_ITEMCHANGING, AddHeaderButtons,
     [](Driver&, HWND c) {
         HDITEMA item{};
         item.mask = HDI_WIDTH;
         item.cxy = 60;
         (void)SendMessageA(c, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
     }},
    {"HeaderDrawItem", WC_HEADERA, 0, WM_DRAWITEM, ANY_CODE, AddOwnerDrawnHeader,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"ListViewItemChanging", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGING, FillListView,
     [](Driver& d, HWND c) { d.Click(c, SecondRow(c)); }},
    {"ListViewItemChanged", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGED, FillListView,
     [](Driver& d, HWND c) { d.Click(c, SecondRow(c)); }},
    {"ListViewClick", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_CLICK, FillListView,
     [](Driver& d, HWND c) { d.Click(c, SecondRow(c)); }},
    {"ListViewRightClick", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_RCLICK, FillListView,
     [](Driver& d, HWND c) { d.Click(c, SecondRow(c), MouseButton::Right); }},
    {"ListViewDoubleClick", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_DBLCLK, FillListView,
     [](Driver& d, HWND c) { d.DoubleClick(c, SecondRow(c)); }},
    {"ListViewKeyDown", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_KEYDOWN, FillListView,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"ListViewKeyItemChanged", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_ITEMCHANGED, FillListView,
     [](Driver& d, HWND c) { d.Key(c, VK_DOWN); }},
    {"ListViewSetFocus", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_SETFOCUS, FillListView,
     [](Driver&, HWND c) { Focus(c); }},
    {"ListViewKillFocus", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_KILLFOCUS, FillListView, FocusElsewhere},
    {"ListViewColumnClick", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_COLUMNCLICK, FillListView, ClickColumnTitle},
    {"ListViewInsertItem", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_INSERTITEM, FillListView, InsertListViewItem},
    {"ListViewDeleteItem", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_DELETEITEM, FillListView,
     [](Driver&, HWND c) { (void)SendMessageA(c, LVM_DELETEITEM, 1, 0); }},
    {"ListViewDeleteAllItems", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_DELETEALLITEMS, FillListView,
     [](Driver&, HWND c) { (void)SendMessageA(c, LVM_DELETEALLITEMS, 0, 0); }},
    {"ListViewDeleteEachItem", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, LVN_DELETEITEM, FillListView,
     [](Driver&, HWND c) { (void)SendMessageA(c, LVM_DELETEALLITEMS, 0, 0); }},
    {"ListViewCustomDraw", WC_LISTVIEWA, LVS_REPORT, WM_NOTIFY, NM_CUSTOMDRAW, FillListView,
     [](Driver&, HWND c) { Driver::Paint(c); }},

    {"MonthCalKeySelChange", MONTHCAL_CLASSA, 0, WM_NOTIFY, MCN_SELCHANGE, nullptr,
     [](Driver& d, HWND c) { d.Key(c, VK_RIGHT); }},
    {"MonthCalClickSelChange", MONTHCAL_CLASSA, 0, WM_NOTIFY, MCN_SELCHANGE, nullptr,
     [](Driver& d, HWND c) { d.Click(c, OtherDay(c)); }},
    {"MonthCalSelect", MONTHCAL_CLASSA, 0, WM_NOTIFY, MCN_SELECT, nullptr,
     [](Driver& d, HWND c) { d.Click(c, OtherDay(c)); }},

    {"DateTimeKeyChange", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_DATETIMECHANGE, nullptr,
     [](Driver& d, HWND c) { d.Key(c, VK_UP); }},
    {"DateTimeTypedChange", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_DATETIMECHANGE, nullptr,
     [](Driver& d, HWND c) { d.Type(c, "1"); }},
    {"DateTimeUpDownChange", DATETIMEPICK_CLASSA, DTS_UPDOWN, WM_NOTIFY, DTN_DATETIMECHANGE, nullptr,
     [](Driver& d, HWND c) {
         RECT client{};
         (void)GetClientRect(c, &client);
         d.Click(c, {client.right - 4, 2});
     }},
    {"DateTimeDropDown", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_DROPDOWN, nullptr,
     [](Driver& d, HWND c) { d.Key(c, VK_F4); }},
    {"DateTimeCloseUp", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_CLOSEUP, nullptr,
     [](Driver& d, HWND c) {
         Unarmed([&] { d.Key(c, VK_F4); });
         d.Key(c, VK_ESCAPE);
     }},
    {"DateTimeKillFocusCloseUp", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_CLOSEUP, nullptr,
     [](Driver& d, HWND c) {
         Unarmed([&] { d.Key(c, VK_F4); });
         Focus(GetParent(c));
     }},
    {"DateTimeCalendarChoice", DATETIMEPICK_CLASSA, 0, WM_NOTIFY, DTN_DATETIMECHANGE, nullptr,
     [](Driver& d, HWND c) {
         Unarmed([&] {
             d.Key(c, VK_F4);
             d.Key(c, VK_RIGHT);
         });
         d.Key(c, VK_RETURN);
     }},

    {"TooltipShow", TOOLTIPS_CLASSA, 0, WM_NOTIFY, TTN_SHOW, AddTrackingTool, TrackTool, MakeTooltip},
    {"TooltipPop", TOOLTIPS_CLASSA, 0, WM_NOTIFY, TTN_POP, AddTrackingTool,
     [](Driver& d, HWND c) {
         Unarmed([&] { TrackTool(d, c); });
         (void)SendMessageA(c, TTM_POP, 0, 0);
     },
     MakeTooltip},
    {"TooltipGetDispInfo", TOOLTIPS_CLASSA, 0, WM_NOTIFY, TTN_GETDISPINFOA, AddCallbackTool, TrackTool, MakeTooltip},
    {"TooltipHoverShow", TOOLTIPS_CLASSA, 0, WM_NOTIFY, TTN_SHOW, AddHoverTool, HoverTool, MakeTooltip},
    {"TooltipAutoPop", TOOLTIPS_CLASSA, 0, WM_NOTIFY, TTN_POP, AddHoverTool,
     [](Driver& d, HWND c) {
         Unarmed([&] { HoverTool(d, c); });
         d.Wait(60000);
     },
     MakeTooltip},
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
        g_destroyNewChildren = false;
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
    const HWND control = row.make ? row.make(m_parent)
                                  : MakeChild(m_parent, row.className, "", row.style, {20, 20, 300, 200}, CONTROL_ID);
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

// A parent hears of a new child (WM_PARENTNOTIFY) before CreateWindowEx returns, and may destroy it
// there: the control is destroyed before it has handled a single message of its own.
class DestroyOnCreation : public DestroyInNotification {};

TEST_P(DestroyOnCreation, TheControlIsGoneWhenCreateWindowReturns)
{
    const Row& row = GetParam();
    g_destroyNewChildren = true;
    const HWND control = row.make ? row.make(m_parent)
                                  : MakeChild(m_parent, row.className, "", row.style, {20, 20, 300, 200}, CONTROL_ID);
    PumpMessages();
    EXPECT_FALSE(IsWindow(control));
}

// One row per control class (the progress bar sends its parent nothing else).
const Row CLASSES[] = {
    {"Button", WC_BUTTONA, BS_PUSHBUTTON, 0, 0, nullptr, nullptr},
    {"Edit", WC_EDITA, 0, 0, 0, nullptr, nullptr},
    {"RichEdit", RICHEDIT_CLASSA, 0, 0, 0, nullptr, nullptr},
    {"ListBox", "ListBox", LBS_NOTIFY, 0, 0, nullptr, nullptr},
    {"ComboBox", "ComboBox", CBS_DROPDOWN, 0, 0, nullptr, nullptr},
    {"ScrollBar", WC_SCROLLBARA, SBS_HORZ, 0, 0, nullptr, nullptr},
    {"StatusBar", STATUSCLASSNAMEA, 0, 0, 0, nullptr, nullptr},
    {"Tab", WC_TABCONTROLA, 0, 0, 0, nullptr, nullptr},
    {"TrackBar", TRACKBAR_CLASSA, 0, 0, 0, nullptr, nullptr},
    {"ProgressBar", PROGRESS_CLASSA, 0, 0, 0, nullptr, nullptr},
    {"UpDown", UPDOWN_CLASSA, UDS_AUTOBUDDY | UDS_SETBUDDYINT, 0, 0, nullptr, nullptr},
    {"Header", WC_HEADERA, 0, 0, 0, nullptr, nullptr},
    {"ListView", WC_LISTVIEWA, LVS_REPORT, 0, 0, nullptr, nullptr},
    {"MonthCal", MONTHCAL_CLASSA, 0, 0, 0, nullptr, nullptr},
    {"DateTimePick", DATETIMEPICK_CLASSA, 0, 0, 0, nullptr, nullptr},
};

INSTANTIATE_TEST_SUITE_P(EveryClass, DestroyOnCreation, ::testing::ValuesIn(CLASSES),
                         [](const ::testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

} // namespace
