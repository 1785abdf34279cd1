#include "platform/winapi/controls/DateTimePick.h"

#include "platform/rtl/LocaleSettings.h"
#include "platform/winapi/user/ControlInstance.h"
#include "platform/winapi/user/ControlPaint.h"
#include "platform/winapi/controls/DateTimePickFields.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/ImageLists.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>
#include <array>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace detail = winapi_controls::detail;

namespace {

using detail::DateTimeField;

constexpr LRESULT WANT_ARROWS_AND_CHARS = 0x0001 | 0x0080;
constexpr int TEXT_INDENT = 2;
// Closes the drop-down once the calendar has finished handling the click that chose a day.
constexpr UINT DTM_CLOSELATER = WM_USER + 300;
// The pop-up that carries the drop-down calendar: it never takes the activation and hands the
// calendar's notifications to the picker kept in its extra bytes.
constexpr const char* DROPDOWN_CLASS = "SysDateTimePick32DropDown";

LRESULT DropDownProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEACTIVATE)
        return MA_NOACTIVATE;
    if (message == WM_NOTIFY)
        return SendMessageA(reinterpret_cast<HWND>(GetWindowLongPtrA(hwnd, 0)), message, wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterDropDownClass()
{
    static std::once_flag once;
    std::call_once(once, [] {
        WNDCLASSA wc{};
        wc.style = CS_SAVEBITS;
        wc.lpfnWndProc = DropDownProc;
        wc.cbWndExtra = sizeof(HWND);
        wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        wc.lpszClassName = DROPDOWN_CLASS;
        (void)RegisterClassA(&wc);
    });
}

class DateTimePick final : public ControlInstance {
public:
    explicit DateTimePick(HWND hwnd) : ControlInstance(hwnd), m_value(DateTimeToSystemTime(Now())) {}
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    [[nodiscard]] bool HasStyle(DWORD bits) const { return (GetWindowLongA(Window(), GWL_STYLE) & bits) != 0; }
    [[nodiscard]] bool TimeFormat() const { return (GetWindowLongA(Window(), GWL_STYLE) & 0x0008) != 0; }
    [[nodiscard]] bool UpDownMode() const { return HasStyle(DTS_UPDOWN); }
    [[nodiscard]] HFONT Font() const;
    [[nodiscard]] std::vector<DateTimeField> Fields() const;
    // What the fields show, as WM_GETTEXT reads it.
    [[nodiscard]] std::string Text() const;
    [[nodiscard]] RECT ButtonRect() const;
    // The fields' rectangles along the text line, in the order of Fields().
    [[nodiscard]] std::vector<RECT> FieldRects(const std::vector<DateTimeField>& fields) const;
    [[nodiscard]] SYSTEMTIME Clamp(const SYSTEMTIME& value) const;
    [[nodiscard]] const DateTimeField* FocusedField(const std::vector<DateTimeField>& fields) const;

    // These are false when the parent destroyed the picker as it heard of the change.
    [[nodiscard]] bool Change(const SYSTEMTIME& value);
    void FocusFirstField();
    void MoveFocus(int direction);
    void OnKeyDown(WPARAM key);
    void OnChar(char key);
    void OnButtonDown(POINT point);
    // While the calendar is down the picker holds the mouse and passes on to the calendar what
    // happens over it; false when the point is elsewhere.
    bool ForwardToCalendar(UINT message, POINT point);
    // The drop-down's calendar, showing the value, range, font and colours of the picker.
    [[nodiscard]] HWND MakeCalendar(HWND host) const;
    void DropDown();
    [[nodiscard]] bool CloseUp();
    void OnCalendarNotify(const NMHDR& header);
    LRESULT SetRange(DWORD flags, const SYSTEMTIME* limits);
    void Paint(HDC dc) const;

    SYSTEMTIME m_value;
    DWORD m_rangeFlags = 0;
    SYSTEMTIME m_min{};
    SYSTEMTIME m_max{};
    std::string m_picture;
    std::size_t m_field = 0;
    std::string m_typed;
    HFONT m_font = nullptr;
    HFONT m_calendarFont = nullptr;
    std::array<COLORREF, 6> m_calendarColors{CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT,
                                             CLR_DEFAULT, CLR_DEFAULT, CLR_DEFAULT};
    HWND m_dropDown = nullptr;
    HWND m_calendar = nullptr;
    bool m_pressOnCalendar = false;
};

HFONT DateTimePick::Font() const
{
    return m_font != nullptr ? m_font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

std::vector<DateTimeField> DateTimePick::Fields() const
{
    if (!m_picture.empty())
        return detail::ParseDateTimePicture(m_picture, true);
    if (TimeFormat())
        return detail::ParseDateTimePicture(LongTimeFormat, false);
    return detail::ParseDateTimePicture(HasStyle(DTS_LONGDATEFORMAT) ? LongDateFormat : ShortDateFormat, false);
}

std::string DateTimePick::Text() const
{
    std::string text;
    for (const DateTimeField& field : Fields())
        text += detail::DateTimeFieldText(field, m_value);
    return text;
}

RECT DateTimePick::ButtonRect() const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    client.left = std::max(client.left, client.right - GetSystemMetrics(SM_CXVSCROLL));
    return client;
}

std::vector<RECT> DateTimePick::FieldRects(const std::vector<DateTimeField>& fields) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    const HDC dc = GetDC(nullptr);
    std::vector<RECT> rects;
    {
        const SelectionGuard font(dc, Font());
        int x = TEXT_INDENT;
        for (const DateTimeField& field : fields) {
            const std::string text = detail::DateTimeFieldText(field, m_value);
            SIZE size{};
            (void)GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
            rects.push_back(RECT{x, client.top, x + size.cx, client.bottom});
            x += size.cx;
        }
    }
    (void)ReleaseDC(nullptr, dc);
    return rects;
}

SYSTEMTIME DateTimePick::Clamp(const SYSTEMTIME& value) const
{
    const TDateTime time = SystemTimeToDateTime(value);
    if ((m_rangeFlags & GDTR_MIN) != 0 && time < SystemTimeToDateTime(m_min))
        return m_min;
    if ((m_rangeFlags & GDTR_MAX) != 0 && time > SystemTimeToDateTime(m_max))
        return m_max;
    return value;
}

const DateTimeField* DateTimePick::FocusedField(const std::vector<DateTimeField>& fields) const
{
    return m_field < fields.size() && fields[m_field].Editable() ? &fields[m_field] : nullptr;
}

bool DateTimePick::Change(const SYSTEMTIME& value)
{
    const SYSTEMTIME clamped = Clamp(value);
    if (SystemTimeToDateTime(clamped) == SystemTimeToDateTime(m_value))
        return true;
    m_value = clamped;
    (void)InvalidateRect(Window(), nullptr, FALSE);
    NMDATETIMECHANGE change{};
    change.dwFlags = static_cast<DWORD>(GDT_VALID);
    change.st = m_value;
    return NotifyParent(DTN_DATETIMECHANGE, change.nmhdr).stands;
}

void DateTimePick::FocusFirstField()
{
    const std::vector<DateTimeField> fields = Fields();
    const auto first = std::find_if(fields.begin(), fields.end(), [](const DateTimeField& f) { return f.Editable(); });
    m_field = first == fields.end() ? 0 : static_cast<std::size_t>(first - fields.begin());
    m_typed.clear();
    (void)InvalidateRect(Window(), nullptr, FALSE);
}

void DateTimePick::MoveFocus(int direction)
{
    const std::vector<DateTimeField> fields = Fields();
    for (auto index = static_cast<long long>(m_field) + direction;
         index >= 0 && index < static_cast<long long>(fields.size()); index += direction)
        if (fields[static_cast<std::size_t>(index)].Editable()) {
            m_field = static_cast<std::size_t>(index);
            break;
        }
    m_typed.clear();
    (void)InvalidateRect(Window(), nullptr, FALSE);
}

void DateTimePick::OnKeyDown(WPARAM key)
{
    if (m_dropDown != nullptr) {
        if (key == VK_ESCAPE || key == VK_F4) {
            (void)CloseUp();
        } else if (key == VK_RETURN) {
            OnCalendarNotify(NMHDR{m_calendar, 0, MCN_SELECT});
        } else {
            (void)SendMessageA(m_calendar, WM_KEYDOWN, key, 0);
        }
        return;
    }
    const std::vector<DateTimeField> fields = Fields();
    const DateTimeField* field = FocusedField(fields);
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        MoveFocus(key == VK_LEFT ? -1 : 1);
        break;
    case VK_UP:
    case VK_DOWN:
        m_typed.clear();
        if (field != nullptr)
            (void)Change(detail::StepDateTimeField(*field, m_value, key == VK_UP ? 1 : -1));
        break;
    case VK_F4:
        if (!UpDownMode())
            DropDown();
        break;
    default:
        break;
    }
}

void DateTimePick::OnChar(char key)
{
    const std::vector<DateTimeField> fields = Fields();
    const DateTimeField* field = FocusedField(fields);
    if (field == nullptr || key < '0' || key > '9')
        return;
    m_typed += key;
    std::optional<SYSTEMTIME> typed = detail::SetDateTimeField(*field, m_value, std::stoi(m_typed));
    if (!typed) {
        // A digit that does not fit what was typed before starts the field again.
        m_typed = std::string(1, key);
        typed = detail::SetDateTimeField(*field, m_value, key - '0');
    }
    if (typed && !Change(*typed))
        return;
    // The field is done when no further digit could make a value it holds.
    if (static_cast<int>(m_typed.size()) >= detail::DateTimeFieldDigits(*field) ||
        !detail::SetDateTimeField(*field, m_value, std::stoi(m_typed) * 10))
        MoveFocus(1);
}

bool DateTimePick::ForwardToCalendar(UINT message, POINT point)
{
    POINT screen = point;
    (void)ClientToScreen(Window(), &screen);
    RECT dropDown{};
    (void)GetWindowRect(m_dropDown, &dropDown);
    if (!PtInRect(&dropDown, screen))
        return false;
    POINT client = screen;
    (void)ScreenToClient(m_calendar, &client);
    const WPARAM keys = message == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
    (void)SendMessageA(m_calendar, message, keys,
                       MAKELPARAM(static_cast<WORD>(client.x), static_cast<WORD>(client.y)));
    return true;
}

void DateTimePick::OnButtonDown(POINT point)
{
    if (m_dropDown != nullptr && GetCapture() == Window()) {
        // A click anywhere but on the calendar only closes it.
        m_pressOnCalendar = ForwardToCalendar(WM_LBUTTONDOWN, point);
        if (!m_pressOnCalendar)
            (void)CloseUp();
        return;
    }
    (void)SetFocus(Window());
    const RECT button = ButtonRect();
    if (PtInRect(&button, point)) {
        if (!UpDownMode()) {
            if (m_dropDown != nullptr)
                (void)CloseUp();
            else
                DropDown();
            return;
        }
        const std::vector<DateTimeField> fields = Fields();
        const int step = point.y < (button.top + button.bottom) / 2 ? 1 : -1;
        if (const DateTimeField* field = FocusedField(fields))
            (void)Change(detail::StepDateTimeField(*field, m_value, step));
        return;
    }
    const std::vector<DateTimeField> fields = Fields();
    const std::vector<RECT> rects = FieldRects(fields);
    for (std::size_t index = 0; index < fields.size(); ++index)
        if (fields[index].Editable() && point.x >= rects[index].left && point.x < rects[index].right) {
            m_field = index;
            m_typed.clear();
            (void)InvalidateRect(Window(), nullptr, FALSE);
        }
}

HWND DateTimePick::MakeCalendar(HWND host) const
{
    const HWND calendar =
        CreateWindowExA(0, MONTHCAL_CLASSA, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, host, nullptr, nullptr, nullptr);
    (void)SendMessageA(calendar, WM_SETFONT, reinterpret_cast<WPARAM>(m_calendarFont), FALSE);
    for (std::size_t part = 0; part < m_calendarColors.size(); ++part)
        if (m_calendarColors[part] != CLR_DEFAULT)
            (void)SendMessageA(calendar, MCM_SETCOLOR, part, static_cast<LPARAM>(m_calendarColors[part]));
    const SYSTEMTIME limits[2] = {m_min, m_max};
    (void)SendMessageA(calendar, MCM_SETRANGE, m_rangeFlags, reinterpret_cast<LPARAM>(limits));
    (void)SendMessageA(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&m_value));
    return calendar;
}

void DateTimePick::DropDown()
{
    if (m_dropDown != nullptr || !IsWindowEnabled(Window()))
        return;
    RegisterMonthCalClass();
    RegisterDropDownClass();
    constexpr DWORD style = WS_POPUP | WS_BORDER;
    constexpr DWORD exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
    m_dropDown = CreateWindowExA(exStyle, DROPDOWN_CLASS, "", style, 0, 0, 10, 10, Window(), nullptr, nullptr, nullptr);
    (void)SetWindowLongPtrA(m_dropDown, 0, reinterpret_cast<LONG_PTR>(Window()));
    m_calendar = MakeCalendar(m_dropDown);

    RECT size{};
    (void)SendMessageA(m_calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&size));
    (void)SetWindowPos(m_calendar, nullptr, 0, 0, size.right, size.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
    (void)AdjustWindowRectEx(&size, style, FALSE, exStyle);
    RECT own{};
    (void)GetWindowRect(Window(), &own);
    const int width = size.right - size.left;
    const int x = HasStyle(DTS_RIGHTALIGN) ? own.right - width : own.left;
    NMHDR header{};
    if (!NotifyParent(DTN_DROPDOWN, header).stands || m_dropDown == nullptr)
        return;
    (void)SetWindowPos(m_dropDown, HWND_TOP, x, own.bottom, width, size.bottom - size.top,
                       SWP_NOACTIVATE | SWP_SHOWWINDOW);
    (void)SetCapture(Window());
    (void)InvalidateRect(Window(), nullptr, FALSE);
}

bool DateTimePick::CloseUp()
{
    if (m_dropDown == nullptr)
        return true;
    const HWND dropDown = std::exchange(m_dropDown, nullptr);
    m_calendar = nullptr;
    if (GetCapture() == Window())
        (void)ReleaseCapture();
    (void)DestroyWindow(dropDown);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    NMHDR header{};
    return NotifyParent(DTN_CLOSEUP, header).stands;
}

void DateTimePick::OnCalendarNotify(const NMHDR& header)
{
    if (header.hwndFrom != m_calendar || m_calendar == nullptr || header.code != MCN_SELECT)
        return;
    SYSTEMTIME chosen{};
    (void)SendMessageA(m_calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&chosen));
    SYSTEMTIME value = m_value;
    value.wYear = chosen.wYear;
    value.wMonth = chosen.wMonth;
    value.wDay = chosen.wDay;
    if (!Change(value))
        return;
    (void)PostMessageA(Window(), DTM_CLOSELATER, 0, 0);
}

LRESULT DateTimePick::SetRange(DWORD flags, const SYSTEMTIME* limits)
{
    if (limits == nullptr)
        return FALSE;
    m_rangeFlags = 0;
    if ((flags & GDTR_MIN) != 0 && IsValidSystemTime(limits[0])) {
        m_rangeFlags |= GDTR_MIN;
        m_min = limits[0];
    }
    if ((flags & GDTR_MAX) != 0 && IsValidSystemTime(limits[1])) {
        m_rangeFlags |= GDTR_MAX;
        m_max = limits[1];
    }
    m_value = Clamp(m_value);
    (void)InvalidateRect(Window(), nullptr, FALSE);
    return TRUE;
}

void DateTimePick::Paint(HDC dc) const
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    const bool enabled = IsWindowEnabled(Window()) != FALSE;
    // Disabled, the field keeps its window colour, as the edits beside it do; its text greys.
    (void)FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
    {
        const SelectionGuard font(dc, Font());
        (void)SetBkMode(dc, TRANSPARENT);
        const std::vector<DateTimeField> fields = Fields();
        const std::vector<RECT> rects = FieldRects(fields);
        const bool focused = GetFocus() == Window() && m_dropDown == nullptr;
        for (std::size_t index = 0; index < fields.size(); ++index) {
            RECT rect = rects[index];
            const bool selected = focused && index == m_field && fields[index].Editable();
            if (selected) {
                TEXTMETRICA metrics{};
                (void)GetTextMetricsA(dc, &metrics);
                RECT band{rect.left, (rect.top + rect.bottom - metrics.tmHeight) / 2, rect.right, 0};
                band.bottom = band.top + metrics.tmHeight;
                (void)FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            const int textColor = !enabled ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT;
            (void)SetTextColor(dc, GetSysColor(textColor));
            const std::string text = detail::DateTimeFieldText(fields[index], m_value);
            (void)DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect,
                            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
    }
    const UINT inactive = enabled ? 0U : DFCS_INACTIVE;
    RECT button = ButtonRect();
    if (!UpDownMode()) {
        (void)DrawFrameControl(dc, &button, DFC_SCROLL,
                               DFCS_SCROLLCOMBOBOX | inactive | (m_dropDown != nullptr ? DFCS_PUSHED : 0U));
        return;
    }
    RECT up = button;
    up.bottom = (button.top + button.bottom) / 2;
    RECT down = button;
    down.top = up.bottom;
    (void)DrawFrameControl(dc, &up, DFC_SCROLL, DFCS_SCROLLUP | inactive);
    (void)DrawFrameControl(dc, &down, DFC_SCROLL, DFCS_SCROLLDOWN | inactive);
}

LRESULT DateTimePick::Handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* times = reinterpret_cast<SYSTEMTIME*>(lParam);
    switch (message) {
    case WM_CREATE:
        FocusFirstField();
        return 0;
    case DTM_GETSYSTEMTIME:
        if (times == nullptr)
            return GDT_ERROR;
        *times = m_value;
        return GDT_VALID;
    case DTM_SETSYSTEMTIME:
        if (wParam != static_cast<WPARAM>(GDT_VALID) || times == nullptr || !IsValidSystemTime(*times))
            return FALSE;
        m_value = Clamp(*times);
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return TRUE;
    case DTM_SETRANGE:
        return SetRange(static_cast<DWORD>(wParam), times);
    case DTM_GETRANGE:
        if (times != nullptr) {
            times[0] = (m_rangeFlags & GDTR_MIN) != 0 ? m_min : SYSTEMTIME{};
            times[1] = (m_rangeFlags & GDTR_MAX) != 0 ? m_max : SYSTEMTIME{};
        }
        return static_cast<LRESULT>(m_rangeFlags);
    case DTM_SETFORMATA:
        m_picture = lParam != 0 ? reinterpret_cast<const char*>(lParam) : "";
        FocusFirstField();
        return TRUE;
    case DTM_GETMONTHCAL:
        return reinterpret_cast<LRESULT>(m_calendar);
    case DTM_SETMCCOLOR:
    case DTM_GETMCCOLOR: {
        if (wParam >= m_calendarColors.size())
            return static_cast<LRESULT>(CLR_NONE);
        const COLORREF previous = m_calendarColors[wParam];
        if (message == DTM_SETMCCOLOR)
            m_calendarColors[wParam] = static_cast<COLORREF>(lParam);
        return static_cast<LRESULT>(previous);
    }
    case DTM_SETMCFONT:
        m_calendarFont = reinterpret_cast<HFONT>(wParam);
        return 0;
    case DTM_GETMCFONT:
        return reinterpret_cast<LRESULT>(m_calendarFont);
    case DTM_CLOSELATER:
        (void)CloseUp();
        return 0;
    case WM_NOTIFY:
        if (lParam != 0)
            OnCalendarNotify(*reinterpret_cast<const NMHDR*>(lParam));
        return 0;
    case WM_GETTEXT: {
        const std::string text = Text();
        if (wParam == 0 || lParam == 0)
            return 0;
        const std::size_t count = std::min<std::size_t>(text.size(), wParam - 1);
        std::copy_n(text.begin(), count, reinterpret_cast<char*>(lParam));
        reinterpret_cast<char*>(lParam)[count] = '\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(Text().size());
    case WM_SETFONT:
        m_font = reinterpret_cast<HFONT>(wParam);
        if (lParam != 0)
            (void)InvalidateRect(Window(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(m_font);
    case WM_GETDLGCODE:
        return WANT_ARROWS_AND_CHARS;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (wParam == VK_DOWN && !UpDownMode()) {
            if (m_dropDown != nullptr)
                (void)CloseUp();
            else
                DropDown();
            return 0;
        }
        return DefWindowProcA(Window(), message, wParam, lParam);
    case WM_CHAR:
        OnChar(static_cast<char>(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        OnButtonDown(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        if (std::exchange(m_pressOnCalendar, false) && m_calendar != nullptr)
            (void)ForwardToCalendar(WM_LBUTTONUP, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_KILLFOCUS:
        if (!CloseUp())
            return 0;
        m_typed.clear();
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return DefWindowProcA(Window(), message, wParam, lParam);
    case WM_SETFOCUS:
    case WM_ENABLE:
    case WM_SIZE:
        (void)InvalidateRect(Window(), nullptr, FALSE);
        return DefWindowProcA(Window(), message, wParam, lParam);
    case WM_DESTROY:
        if (m_dropDown != nullptr)
            (void)DestroyWindow(std::exchange(m_dropDown, nullptr));
        m_calendar = nullptr;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
    case WM_PRINTCLIENT:
        return PaintControl(Window(), reinterpret_cast<HDC>(wParam), [this](HDC dc) { Paint(dc); });
    default:
        return DefWindowProcA(Window(), message, wParam, lParam);
    }
}

} // namespace

void RegisterDateTimePickClass()
{
    (void)RegisterControlInstanceClass<DateTimePick>(DATETIMEPICK_CLASSA, CS_DBLCLKS);
}
