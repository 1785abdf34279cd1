#include "EditFixture.h"

#include "tests/support/windows/HeadlessWindows.h"

#include "platform/winapi/controls/RichEdit.h"

#include <functional>
#include <map>
#include <utility>

namespace {

constexpr char PARENT_CLASS[] = "EditTestParent";

std::map<WORD, int>& Notifications()
{
    static std::map<WORD, int> counts;
    return counts;
}

std::function<void(HWND, WORD)>& Reaction()
{
    static std::function<void(HWND, WORD)> react;
    return react;
}

LRESULT ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_COMMAND && lParam != 0) {
        ++Notifications()[HIWORD(wParam)];
        if (Reaction())
            Reaction()(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

void EditFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    RegisterEditClass();
    RegisterRichEditClass();
    m_main = MakeHostWindow(PARENT_CLASS, ParentProc, COLOR_3DFACE, WS_OVERLAPPEDWINDOW | WS_VISIBLE, {50, 50, 450, 350},
                            "Edits");
    Pump();
    ClearNotifications();
}

void EditFixture::TearDown()
{
    Reaction() = nullptr;
    (void)DestroyWindow(m_main);
    Pump();
}

HWND EditFixture::MakeEdit(DWORD style, const char* text, RECT rect, const char* className)
{
    const HWND edit = MakeChild(m_main, className, text, style, rect, 100, WS_EX_CLIENTEDGE);
    (void)SetFocus(edit);
    Pump();
    ClearNotifications();
    return edit;
}

void EditFixture::Pump() { PumpMessages(); }

std::string EditFixture::Text(HWND edit)
{
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(edit)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::pair<DWORD, DWORD> EditFixture::Selection(HWND edit)
{
    DWORD start = 0, end = 0;
    (void)SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return {start, end};
}

int EditFixture::Count(WORD code)
{
    const auto it = Notifications().find(code);
    return it == Notifications().end() ? 0 : it->second;
}

void EditFixture::ClearNotifications() { Notifications().clear(); }

void EditFixture::ReactWith(std::function<void(HWND from, WORD code)> react) { Reaction() = std::move(react); }

void EditFixture::Type(const std::string& text)
{
    m_display->InjectText(Id(), text);
    Pump();
}

void EditFixture::Press(unsigned key)
{
    // The keys that type a control character send it as their text, as the keyboard does.
    std::string text;
    if (key == VK_BACK)
        text = "\b";
    else if (key == VK_RETURN)
        text = "\r";
    else if (key == VK_TAB)
        text = "\t";
    else if (key == VK_ESCAPE)
        text = "\x1B";
    else if ((GetKeyState(VK_CONTROL) & 0x8000) && key >= 'A' && key <= 'Z')
        text = std::string(1, static_cast<char>(key - 'A' + 1));
    m_display->InjectKeyPress(Id(), key, text);
    Pump();
}

void EditFixture::Hold(unsigned key, bool down)
{
    m_display->InjectKey(Id(), key, down);
    Pump();
}

void EditFixture::PressWith(unsigned modifierKey, unsigned key)
{
    Hold(modifierKey, true);
    Press(key);
    Hold(modifierKey, false);
}

void EditFixture::ButtonAt(HWND child, POINT client, bool down)
{
    const unsigned modifiers = (GetKeyState(VK_SHIFT) & 0x8000) ? static_cast<unsigned>(ModShift) : 0U;
    m_display->InjectMouseButton(Id(), InTopLevel(child, client), MouseButton::Left, down, modifiers);
    Pump();
}

void EditFixture::MoveTo(HWND child, POINT client)
{
    m_display->InjectMouseMove(Id(), InTopLevel(child, client), ModLeftButton);
    Pump();
}

void EditFixture::DoubleClickAt(HWND child, POINT client)
{
    m_display->InjectClick(Id(), InTopLevel(child, client));
    m_display->InjectClick(Id(), InTopLevel(child, client));
    Pump();
}

std::uint32_t EditFixture::Pixel(HWND child, POINT client) const
{
    Pump();
    return ShownPixel(*m_display, child, client);
}

std::uint32_t EditFixture::Rgb(COLORREF color) { return RgbOf(color); }
