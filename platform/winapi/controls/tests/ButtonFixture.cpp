#include "ButtonFixture.h"

#include "platform/winapi/controls/Button.h"
#include "platform/winapi/controls/ScrollBarControl.h"
#include "platform/winapi/gdi/Gdi.h"

namespace {

constexpr const char* PARENT_CLASS = "ControlParent";

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        Record().notices.push_back({message, HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), 0});
        return 0;
    case WM_HSCROLL:
    case WM_VSCROLL:
        Record().notices.push_back({message, LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam), 0});
        return 0;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        Record().notices.push_back({message, static_cast<WORD>(item->itemAction), static_cast<WORD>(item->CtlID),
                                    item->hwndItem, item->itemState});
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        if (Record().staticBrush)
            return reinterpret_cast<LRESULT>(Record().staticBrush);
        break;
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

ParentRecord& Record()
{
    static ParentRecord record;
    return record;
}

void ControlFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    RegisterButtonClass();
    RegisterScrollBarClass();
    WNDCLASSA wc{};
    wc.lpfnWndProc = ParentProc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    wc.lpszClassName = PARENT_CLASS;
    (void)RegisterClassA(&wc);
    Record() = ParentRecord{};
    m_parent = CreateWindowExA(0, PARENT_CLASS, "", WS_POPUP | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr, nullptr,
                               nullptr);
    Pump();
}

void ControlFixture::TearDown()
{
    (void)ReleaseCapture();
    (void)DestroyWindow(m_parent);
    Pump();
    if (Record().staticBrush)
        (void)DeleteObject(Record().staticBrush);
    Record() = ParentRecord{};
}

HWND ControlFixture::Control(const char* className, const char* text, DWORD style, RECT rect, int id)
{
    const HWND hwnd = CreateWindowExA(0, className, text, WS_CHILD | WS_VISIBLE | style, rect.left, rect.top,
                                      rect.right - rect.left, rect.bottom - rect.top, m_parent,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    Pump();
    return hwnd;
}

void ControlFixture::Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

namespace {

POINT InParent(HWND control, POINT client)
{
    (void)MapWindowPoints(control, GetAncestor(control, GA_ROOT), &client, 1);
    return client;
}

WindowId Id(HWND hwnd) { return reinterpret_cast<WindowId>(GetAncestor(hwnd, GA_ROOT)); }

} // namespace

void ControlFixture::Click(HWND control, POINT client)
{
    m_display->InjectClick(Id(control), InParent(control, client));
    Pump();
}

void ControlFixture::Press(HWND control, POINT client, bool down)
{
    m_display->InjectMouseButton(Id(control), InParent(control, client), MouseButton::Left, down);
}

void ControlFixture::MoveTo(HWND control, POINT client, bool leftDown)
{
    const unsigned modifiers = leftDown ? static_cast<unsigned>(ModLeftButton) : 0u;
    m_display->InjectMouseMove(Id(control), InParent(control, client), modifiers);
}

void ControlFixture::Key(unsigned virtualKey, bool down)
{
    m_display->InjectKey(Id(m_parent), virtualKey, down);
    Pump();
}

std::uint32_t ControlFixture::Shown(HWND control, POINT client) const
{
    const POINT at = InParent(control, client);
    return m_display->WindowPixel(Id(control), at.x, at.y).value_or(0xDEADBEEF) & 0xFFFFFF;
}

std::uint32_t ControlFixture::Rgb(COLORREF color)
{
    return (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
}

std::vector<ParentNotice> ControlFixture::Notices(UINT message) const
{
    std::vector<ParentNotice> found;
    for (const ParentNotice& notice : Record().notices)
        if (notice.message == message)
            found.push_back(notice);
    return found;
}
