#include "ControlTestHost.h"

#include "tests/support/windows/HeadlessWindows.h"

#include <utility>

namespace {

constexpr const char* HOST_CLASS = "ControlTestHost";

struct HostRecord {
    std::vector<ParentNote> notes;
    std::vector<DRAWITEMSTRUCT> drawItems;
    std::function<LRESULT(NMHDR*)> answer;
};

// The window procedure is a plain function, so what it records lives here.
HostRecord& Record()
{
    static HostRecord record;
    return record;
}

ParentNote NotifyNote(NMHDR* header, LRESULT answer)
{
    ParentNote note{WM_NOTIFY, header->code, 0, 0, 0, answer};
    if (header->code == NM_CUSTOMDRAW) {
        const auto* draw = reinterpret_cast<const NMCUSTOMDRAW*>(header);
        note.stage = draw->dwDrawStage;
        note.item = draw->dwItemSpec;
    }
    return note;
}

LRESULT HostProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    HostRecord& record = Record();
    switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        record.notes.push_back({message, LOWORD(wParam), HIWORD(wParam), 0, 0, 0});
        return 0;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        const LRESULT answer = record.answer ? record.answer(header) : 0;
        record.notes.push_back(NotifyNote(header, answer));
        return answer;
    }
    case WM_DRAWITEM:
        record.drawItems.push_back(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

} // namespace

void ControlTestHost::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    m_host = MakeHostWindow(HOST_CLASS, HostProc, COLOR_BTNFACE, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                            {50, 50, 470, 370}, "Host");
    (void)SetForegroundWindow(m_host);
    Pump();
    Record() = HostRecord{};
}

void ControlTestHost::TearDown()
{
    (void)ReleaseCapture();
    (void)DestroyWindow(m_host);
    Record() = HostRecord{};
    Pump();
}

HWND ControlTestHost::Control(const char* className, DWORD style, RECT rect, const char* text, int id)
{
    const HWND control = MakeChild(m_host, className, text, style, rect, id);
    Pump();
    return control;
}

void ControlTestHost::Pump() { PumpMessages(); }

void ControlTestHost::Click(HWND control, POINT client, MouseButton button)
{
    MouseInput(*m_display).Click(control, client, button);
}

void ControlTestHost::Press(HWND control, POINT client, bool down) { MouseInput(*m_display).Press(control, client, down); }

void ControlTestHost::Move(HWND control, POINT client) { MouseInput(*m_display).MoveHeld(control, client); }

void ControlTestHost::Drag(HWND control, POINT from, POINT to) { MouseInput(*m_display).Drag(control, from, to); }

void ControlTestHost::Key(unsigned virtualKey, unsigned modifiers)
{
    const WindowId id = TopLevelId(m_host);
    m_display->InjectKeyChord(id, virtualKey, modifiers, {});
    Pump();
}

std::uint32_t ControlTestHost::Shown(HWND control, POINT client) const
{
    return ShownPixel(*m_display, control, client);
}

std::uint32_t ControlTestHost::Rgb(COLORREF color) { return RgbOf(color); }

std::vector<ParentNote> ControlTestHost::Notes(UINT message)
{
    std::vector<ParentNote> notes;
    for (const ParentNote& note : Record().notes)
        if (note.message == message)
            notes.push_back(note);
    return notes;
}

std::vector<UINT> ControlTestHost::NotifyCodes()
{
    std::vector<UINT> codes;
    for (const ParentNote& note : Notes(WM_NOTIFY))
        codes.push_back(note.code);
    return codes;
}

std::vector<DRAWITEMSTRUCT> ControlTestHost::DrawItems() { return Record().drawItems; }

void ControlTestHost::ForgetNotes()
{
    Record().notes.clear();
    Record().drawItems.clear();
}

void ControlTestHost::AnswerNotify(std::function<LRESULT(NMHDR*)> answer) { Record().answer = std::move(answer); }
