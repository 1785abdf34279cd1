// windemo: a small look at the window system on a real screen. It opens a window with a caption,
// a client area in the button-face colour and a coloured child window; on request it opens a
// popup menu and a message box over it. The display is chosen as every program of ours chooses
// it: MODEM_DISPLAY=headless keeps the screen in memory, otherwise X11 (DISPLAY).
//
//   --menu             open a popup menu after the first paint
//   --message-box      open a message box after the first paint (after the menu, if both)
//   --screenshot FILE  headless only: save the screen as a PNG once everything is shown, then end
//   --quit-after MS    end after MS milliseconds (an outside tool takes its picture meanwhile)

#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/user/WinUser.h"
#include "tools/windemo/DemoLayout.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

constexpr UINT WM_APP_POPUPS = WM_APP + 1;
constexpr UINT_PTR SCREENSHOT_TIMER = 1;
constexpr UINT_PTR QUIT_TIMER = 2;
// Long enough for the posted popups to open and paint: the timers run inside their loops.
constexpr UINT SCREENSHOT_DELAY_MS = 300;
constexpr UINT_PTR MENU_OPEN = 100;
constexpr UINT_PTR MENU_EXIT = 101;

struct Options {
    bool menu = false;
    bool messageBox = false;
    std::string screenshot;
    std::optional<UINT> quitAfterMs;
};

void PrintUsage(std::ostream& out)
{
    out << "usage: windemo [--menu] [--message-box] [--screenshot FILE] [--quit-after MS]\n";
}

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--menu") {
            options.menu = true;
        } else if (arg == "--message-box") {
            options.messageBox = true;
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else if (arg == "--quit-after" && hasValue) {
            const std::string value = argv[++i];
            UINT ms = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
            if (error != std::errc() || end != value.data() + value.size())
                return std::nullopt;
            options.quitAfterMs = ms;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

// The running demo: one main window, what it was asked to show, and how it ends.
class Demo {
public:
    explicit Demo(Options options) : m_options(std::move(options)) {}

    [[nodiscard]] bool Create();
    [[nodiscard]] int Run();

private:
    static LRESULT MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void ShowPopups();
    void TakeScreenshot();
    void End();

    static Demo* s_instance;
    Options m_options;
    HWND m_main = nullptr;
    GdiObject<HBRUSH> m_childBrush;
    int m_exitCode = 0;
    bool m_ending = false;
};

Demo* Demo::s_instance = nullptr;

bool Demo::Create()
{
    s_instance = this;
    WNDCLASSA mainClass{};
    mainClass.lpfnWndProc = MainProc;
    mainClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    mainClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    mainClass.lpszClassName = "WindowDemo";
    m_childBrush.Reset(CreateSolidBrush(windemo::CHILD_COLOR));
    WNDCLASSA childClass{};
    childClass.lpfnWndProc = DefWindowProcA;
    childClass.hbrBackground = m_childBrush.Get();
    childClass.lpszClassName = "WindowDemoChild";
    if (!RegisterClassA(&mainClass) || !RegisterClassA(&childClass))
        return false;

    const RECT& r = windemo::WINDOW_RECT;
    m_main = CreateWindowExA(0, "WindowDemo", windemo::CAPTION, WS_OVERLAPPEDWINDOW, r.left, r.top, r.right - r.left,
                             r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    const RECT& c = windemo::CHILD_RECT;
    if (!m_main || !CreateWindowExA(0, "WindowDemoChild", "", WS_CHILD | WS_VISIBLE, c.left, c.top, c.right - c.left,
                                    c.bottom - c.top, m_main, nullptr, nullptr, nullptr))
        return false;
    (void)ShowWindow(m_main, SW_SHOW);
    (void)UpdateWindow(m_main);
    return true;
}

int Demo::Run()
{
    if (m_options.menu || m_options.messageBox)
        (void)PostMessageA(m_main, WM_APP_POPUPS, 0, 0);
    if (!m_options.screenshot.empty())
        (void)SetTimer(m_main, SCREENSHOT_TIMER, SCREENSHOT_DELAY_MS, nullptr);
    if (m_options.quitAfterMs)
        (void)SetTimer(m_main, QUIT_TIMER, *m_options.quitAfterMs, nullptr);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        (void)TranslateMessage(&msg);
        (void)DispatchMessageA(&msg);
    }
    if (IsWindow(m_main))
        (void)DestroyWindow(m_main);
    m_childBrush.Reset();
    return m_exitCode;
}

LRESULT Demo::MainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    Demo& demo = *s_instance;
    switch (message) {
    case WM_APP_POPUPS:
        demo.ShowPopups();
        return 0;
    case WM_TIMER:
        if (wParam == SCREENSHOT_TIMER)
            demo.TakeScreenshot();
        else if (wParam == QUIT_TIMER)
            demo.End();
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, message, wParam, lParam);
    }
}

void Demo::ShowPopups()
{
    if (m_options.menu) {
        const HMENU menu = CreatePopupMenu();
        (void)AppendMenuA(menu, MF_STRING, MENU_OPEN, "&Open");
        (void)AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        (void)AppendMenuA(menu, MF_STRING, MENU_EXIT, "E&xit");
        POINT at = windemo::MENU_POINT;
        (void)ClientToScreen(m_main, &at);
        const BOOL chosen = TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD, at.x, at.y, 0, m_main, nullptr);
        (void)DestroyMenu(menu);
        if (chosen == static_cast<BOOL>(MENU_EXIT))
            End();
    }
    if (m_options.messageBox && !m_ending)
        (void)MessageBoxA(m_main, "Hello from the window demo.", windemo::CAPTION, MB_OKCANCEL | MB_ICONINFORMATION);
}

void Demo::TakeScreenshot()
{
    (void)KillTimer(m_main, SCREENSHOT_TIMER);
    auto* headless = dynamic_cast<HeadlessDisplay*>(&Display());
    if (!headless || !headless->SaveScreenPng(m_options.screenshot)) {
        std::cerr << "windemo: cannot save the screen to " << m_options.screenshot << "\n";
        m_exitCode = 1;
    }
    End();
}

// Closes whatever is open over the main window, then the window itself. The quit timer stays set,
// so a popup that ignores the first request is asked again.
void Demo::End()
{
    m_ending = true;
    (void)EndMenu();
    if (const HWND box = FindWindowA("#32770", nullptr))
        (void)PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
    (void)PostMessageA(m_main, WM_CLOSE, 0, 0);
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        PrintUsage(std::cerr);
        return 2;
    }
    const DisplayBackend* display = SelectProgramDisplay("windemo");
    if (!display)
        return 1;
    if (!options->screenshot.empty() && display->Name() != "headless") {
        std::cerr << "windemo: --screenshot needs MODEM_DISPLAY=headless; on X11 take the picture from outside "
                     "(with --quit-after)\n";
        return 2;
    }
    Demo demo(*options);
    if (!demo.Create()) {
        std::cerr << "windemo: cannot create the window\n";
        return 1;
    }
    return demo.Run();
}
