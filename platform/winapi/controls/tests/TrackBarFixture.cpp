#include "TrackBarFixture.h"

#include "ControlHost.h"

#include "platform/winapi/gdi/Gdi.h"

namespace {

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

struct Access : ControlTest {
    static std::vector<ParentNote>& Notes() { return s_notes; }
    static std::function<LRESULT(NMHDR*)>& OnNotify() { return s_onNotify; }
};

LRESULT ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HSCROLL || message == WM_VSCROLL) {
        Access::Notes().push_back({message, LOWORD(wParam), HIWORD(wParam), 0, 0, 0});
        return 0;
    }
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        const LRESULT answer = Access::OnNotify() ? Access::OnNotify()(header) : 0;
        ParentNote note{message, static_cast<WORD>(header->code), 0, 0, 0, answer};
        if (header->code == NM_CUSTOMDRAW) {
            note.stage = reinterpret_cast<NMCUSTOMDRAW*>(lParam)->dwDrawStage;
            note.item = reinterpret_cast<NMCUSTOMDRAW*>(lParam)->dwItemSpec;
        }
        Access::Notes().push_back(note);
        return answer;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

} // namespace

void ControlTest::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    m_parent = MakeHostWindow("ControlTestParent", ParentProc, COLOR_BTNFACE, WS_POPUP | WS_VISIBLE, {50, 50, 450, 350});
    (void)SetForegroundWindow(m_parent);
    Pump();
    s_notes.clear();
    s_onNotify = nullptr;
}

void ControlTest::TearDown()
{
    (void)ReleaseCapture();
    (void)DestroyWindow(m_parent);
    Pump();
    s_onNotify = nullptr;
}

HWND ControlTest::Make(const char* className, DWORD style, RECT rect, int id)
{
    const HWND hwnd = MakeChild(m_parent, className, "", style, rect, id);
    Pump();
    return hwnd;
}

void ControlTest::Pump() { PumpMessages(); }

POINT ControlTest::InTop(HWND hwnd, POINT client) { return InTopLevel(hwnd, client); }

WindowId ControlTest::TopId(HWND hwnd) { return TopLevelId(hwnd); }
void ControlTest::Press(HWND hwnd, POINT client, bool down)
{
    m_display->InjectMouseButton(TopId(hwnd), InTop(hwnd, client), MouseButton::Left, down,
                                 down ? 0U : static_cast<unsigned>(ModLeftButton));
    Pump();
}

void ControlTest::Move(HWND hwnd, POINT client)
{
    m_display->InjectMouseMove(TopId(hwnd), InTop(hwnd, client), ModLeftButton);
    Pump();
}

void ControlTest::Click(HWND hwnd, POINT client)
{
    m_display->InjectClick(TopId(hwnd), InTop(hwnd, client));
    Pump();
}

void ControlTest::Key(unsigned virtualKey, unsigned modifiers)
{
    m_display->InjectKeyPress(reinterpret_cast<WindowId>(m_parent), virtualKey, {}, modifiers);
    Pump();
}

std::uint32_t ControlTest::Pixel(HWND hwnd, int x, int y) const { return ShownPixel(*m_display, hwnd, POINT{x, y}); }

std::uint32_t ControlTest::Rgb(COLORREF color) { return RgbOf(color); }

std::vector<ParentNote> ControlTest::Notes(UINT message) const
{
    std::vector<ParentNote> notes;
    for (const ParentNote& note : s_notes)
        if (note.message == message)
            notes.push_back(note);
    return notes;
}
