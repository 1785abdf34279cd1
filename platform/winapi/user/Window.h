#pragma once

#include "platform/winapi/gdi/Region.h"
#include "platform/winapi/kernel/Threads.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Surface;

namespace winapi_user::detail {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC proc = nullptr;
    HINSTANCE instance = nullptr;
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    std::string menuName;
    int windowExtraBytes = 0;
    std::vector<BYTE> extra;
    std::atomic<int> windowCount{0};
};

// What a window still has to paint: the update region (client coordinates) and the messages due
// before WM_PAINT.
struct PaintState {
    Region update;
    bool erase = false;         // WM_ERASEBKGND is due
    bool frame = false;         // WM_NCPAINT is due
    bool internalPaint = false; // RDW_INTERNALPAINT: one WM_PAINT even with nothing invalid
};

// One scroll bar of a WS_HSCROLL/WS_VSCROLL window.
struct ScrollBarState {
    int min = 0;
    int max = 100;
    UINT page = 0;
    int pos = 0;
    int trackPos = 0;
    UINT disabledArrows = 0; // ESB_DISABLE_* bits
    bool used = false;       // the window had this bar, or its data was set
    bool control = false;    // a scroll bar control: the bar is its client area, its parent hears
};

// One procedure of a window's subclass chain (SetWindowSubclass).
struct Subclass {
    SUBCLASSPROC proc = nullptr;
    UINT_PTR id = 0;
    DWORD_PTR refData = 0;
};

// A window's subclass procedures, the latest first, and the procedure they pass messages on to.
// It exists while the chain's own procedure is one of the window's procedures.
struct SubclassChain {
    WNDPROC below = nullptr;
    std::vector<Subclass> subclasses;
};

// One window. Its data is used by its own thread; other threads only look up its thread and
// post or send to it.
struct Window {
    HWND handle = nullptr;
    DWORD threadId = 0;
    std::shared_ptr<WindowClass> windowClass;
    DWORD style = 0;
    DWORD exStyle = 0;
    WNDPROC proc = nullptr;
    std::optional<SubclassChain> subclassing;
    HINSTANCE instance = nullptr;
    LONG_PTR id = 0;
    LONG_PTR userData = 0;
    HWND parent = nullptr; // the desktop for a top-level window; null only for the desktop
    HWND owner = nullptr;
    std::vector<HWND> children; // in z-order, topmost first
    RECT windowRect{};          // relative to the parent's client area (screen for top-level)
    RECT clientRect{};          // likewise
    RECT normalRect{};          // the restored position of a minimised or maximised window
    bool restoreMaximized = false; // minimised from maximised: a restore maximises again
    std::string text;
    std::vector<BYTE> extra;
    std::map<ATOM, HANDLE> props;
    bool created = false;       // WM_NCCREATE has been sent
    bool destroying = false;    // DestroyWindow has begun
    std::shared_ptr<Surface> surface; // top-level windows only
    bool announced = false;     // known to the display backend
    PaintState paint;
    std::optional<Region> shape; // SetWindowRgn, window coordinates
    Region dirty;                // top-level windows: surface pixels painted but not yet presented
    ScrollBarState horizontal;
    ScrollBarState vertical;
    HICON smallIcon = nullptr;   // WM_SETICON
    HICON bigIcon = nullptr;
    HMENU menu = nullptr;        // top-level windows: the menu of the menu bar (SetMenu)
};

// The window a handle names, or nullptr with ERROR_INVALID_WINDOW_HANDLE.
[[nodiscard]] std::shared_ptr<Window> FindWindowObject(HWND hwnd);
// The window when it belongs to the calling thread; ERROR_ACCESS_DENIED otherwise.
[[nodiscard]] std::shared_ptr<Window> FindOwnWindow(HWND hwnd);
[[nodiscard]] HWND AddWindow(std::shared_ptr<Window> window);
void RemoveWindow(HWND hwnd);
[[nodiscard]] Window& Desktop();
[[nodiscard]] bool IsTopLevel(const Window& window);
[[nodiscard]] std::vector<HWND> AllWindows();

// Calls the window's procedure (the one in force now), as SendMessage does within a thread. No
// exception leaves it (ProcedureBarrier.h).
LRESULT CallWindow(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Geometry in screen coordinates.
[[nodiscard]] POINT ClientOrigin(const Window& window);
[[nodiscard]] RECT ScreenWindowRect(const Window& window);
[[nodiscard]] RECT ScreenClientRect(const Window& window);

// Unlinks the window from its parent's list of children, and links it before `insertAfter`'s
// successor (HWND_TOP: first; HWND_BOTTOM: last).
void UnlinkWindow(Window& window);
void LinkWindow(Window& window, HWND insertAfter);

[[nodiscard]] bool IsVisibleChain(const Window& window);

} // namespace winapi_user::detail
