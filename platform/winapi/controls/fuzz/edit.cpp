// Random keys, characters, mouse and edit messages against a plain and a rich edit; after each
// step the selection must lie on the text and the text must read back whole.

#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/controls/RichEdit.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/fuzz/TextFuzzSetup.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

struct Windows {
    HWND top;
    HWND edits[4];
};

const Windows& Setup()
{
    static const Windows windows = [] {
        (void)SelectHeadlessDisplay();
        RegisterEditClass();
        RegisterRichEditClass();
        Windows w{};
        w.top = CreateWindowExA(0, WC_EDITA, "", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200, nullptr, nullptr,
                                nullptr, nullptr);
        const DWORD styles[] = {ES_AUTOHSCROLL, ES_MULTILINE | WS_VSCROLL, ES_MULTILINE | ES_AUTOHSCROLL | WS_HSCROLL,
                                ES_MULTILINE | WS_VSCROLL};
        for (int i = 0; i < 4; ++i)
            w.edits[i] = CreateWindowExA(WS_EX_CLIENTEDGE, i == 3 ? RICHEDIT_CLASSA : WC_EDITA, "",
                                         WS_CHILD | WS_VISIBLE | styles[i], 5, 5, 120, 60, w.top, nullptr, nullptr,
                                         nullptr);
        return w;
    }();
    return windows;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
}

class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    [[nodiscard]] bool More() const { return m_pos < m_size; }
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string Text()
    {
        const std::size_t length = Byte() % 12;
        std::string text;
        for (std::size_t i = 0; i < length && More(); ++i)
            text += static_cast<char>(Byte());
        return text;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

void Step(HWND edit, Reader& in)
{
    static const WPARAM keys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN, VK_HOME, VK_END, VK_PRIOR, VK_NEXT, VK_DELETE,
                                  VK_INSERT};
    const std::uint8_t op = in.Byte();
    const std::uint8_t a = in.Byte();
    const std::uint8_t b = in.Byte();
    switch (op % 14) {
    case 0: (void)SendMessageA(edit, WM_CHAR, a, 0); break;
    case 1: (void)SendMessageA(edit, WM_KEYDOWN, keys[a % 10], 0); break;
    case 2: (void)SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(static_cast<int>(a) - 2), static_cast<int>(b) - 2); break;
    case 3: {
        const std::string text = in.Text();
        (void)SendMessageA(edit, EM_REPLACESEL, a & 1, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    }
    case 4: {
        const std::string text = in.Text();
        (void)SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        break;
    }
    case 5: (void)SendMessageA(edit, WM_CUT + (a % 5), 0, 0); break;
    case 6: (void)SendMessageA(edit, EM_LIMITTEXT, a % 40, 0); break;
    case 7: {
        const RECT rect{a % 30, b % 30, 10 + a, 10 + b};
        (void)SendMessageA(edit, EM_SETRECTNP, 0, reinterpret_cast<LPARAM>(&rect));
        break;
    }
    case 8: (void)SendMessageA(edit, WM_LBUTTONDOWN + (a % 3), b & 4 ? MK_SHIFT : 0, MAKELPARAM(a, b % 70)); break;
    case 9: (void)SendMessageA(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(a, b)); break;
    case 10: (void)SendMessageA(edit, EM_LINESCROLL, static_cast<WPARAM>(static_cast<int>(a % 5) - 2), static_cast<int>(b % 9) - 4); break;
    case 11: (void)SendMessageA(edit, WM_VSCROLL, a % 9, 0); break;
    case 12: {
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR | CFM_BOLD | CFM_SIZE;
        format.dwEffects = a & 1 ? CFE_BOLD : 0;
        format.crTextColor = RGB(a, b, 0);
        format.yHeight = (b % 30) * 20;
        (void)SendMessageA(edit, EM_SETCHARFORMAT, a & 2 ? SCF_ALL : SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
        break;
    }
    default: (void)UpdateWindow(edit); break;
    }
    Pump();
}

void Check(HWND edit)
{
    const auto length = static_cast<DWORD>(GetWindowTextLengthA(edit));
    std::string text(length + 1, '\0');
    if (static_cast<DWORD>(GetWindowTextA(edit, text.data(), static_cast<int>(text.size()))) != length)
        std::abort();
    DWORD start = 0, end = 0;
    (void)SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (start > end || end > length)
        std::abort();
    if (SendMessageA(edit, EM_GETLINECOUNT, 0, 0) < 1)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const Windows& windows = Setup();
    Reader in(data, size);
    const HWND edit = windows.edits[in.Byte() % 4];
    (void)SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("seed text\r\nsecond line"));
    (void)SendMessageA(edit, EM_LIMITTEXT, 0, 0);
    (void)SetFocus(edit);
    for (int steps = 0; in.More() && steps < 64; ++steps) {
        Step(edit, in);
        Check(edit);
    }
    return 0;
}
