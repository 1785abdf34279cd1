#include "ButtonFixture.h"

#include "tests/support/windows/HeadlessWindows.h"

#include "platform/winapi/user/Button.h"
#include "platform/winapi/user/ScrollBarControl.h"
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
    Record() = ParentRecord{};
    m_parent = MakeHostWindow(PARENT_CLASS, ParentProc, COLOR_WINDOW, WS_POPUP | WS_VISIBLE, {0, 0, 300, 200});
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
    const HWND hwnd = MakeChild(m_parent, className, text, style, rect, id);
    Pump();
    return hwnd;
}

void ControlFixture::Pump() { PumpMessages(); }

void ControlFixture::Click(HWND control, POINT client)
{
    m_display->InjectClick(TopLevelId(control), InTopLevel(control, client));
    Pump();
}

void ControlFixture::Press(HWND control, POINT client, bool down)
{
    m_display->InjectMouseButton(TopLevelId(control), InTopLevel(control, client), MouseButton::Left, down);
}

void ControlFixture::MoveTo(HWND control, POINT client, bool leftDown)
{
    const unsigned modifiers = leftDown ? static_cast<unsigned>(ModLeftButton) : 0u;
    m_display->InjectMouseMove(TopLevelId(control), InTopLevel(control, client), modifiers);
}

void ControlFixture::Key(unsigned virtualKey, bool down)
{
    m_display->InjectKey(TopLevelId(m_parent), virtualKey, down);
    Pump();
}

std::uint32_t ControlFixture::Shown(HWND control, POINT client) const { return ShownPixel(*m_display, control, client); }

std::uint32_t ControlFixture::Rgb(COLORREF color) { return RgbOf(color); }

std::vector<ParentNotice> ControlFixture::Notices(UINT message) const
{
    std::vector<ParentNotice> found;
    for (const ParentNotice& notice : Record().notices)
        if (notice.message == message)
            found.push_back(notice);
    return found;
}
