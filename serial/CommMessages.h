#pragma once

#include "platform/winapi/user/WinUser.h"

#include <atomic>

// What the serial worker threads post to the component's hidden window, and what the component
// posts to the writer's thread queue. Every message is posted, never sent.
constexpr UINT WM_COMM_DATA = WM_USER + 1;   // wParam byte count, lParam the block (count + 1 bytes)
constexpr UINT WM_COMM_ERROR = WM_USER + 2;  // lParam the line-error flags (CE_*)
constexpr UINT WM_COMM_HANGUP = WM_USER + 3; // a worker failed; the port is no longer served
constexpr UINT WM_COMM_MODEM = WM_USER + 4;  // lParam the modem event bits below
constexpr UINT WM_COMM_SENT = WM_USER + 5;   // the writer has nothing left to write
constexpr UINT WM_COMM_WRITE = WM_USER + 1;  // to the writer: wParam byte count, lParam the block

constexpr DWORD MODEM_EVENT_RLSD = 8;
constexpr DWORD MODEM_EVENT_RING = 4;

// The worker threads' line to the hidden window for one open port. A hang-up is told once per
// open, whichever thread notices first: a vanished device fails the reader and a pending write
// together, and the owner needs one notice, not one per thread.
class TCommNotifier {
public:
    explicit TCommNotifier(HWND window) : m_window(window) {}

    [[nodiscard]] bool Post(UINT message, WPARAM wParam, LPARAM lParam) const;
    // True when the owner has been told, now or earlier.
    bool RequestHangup();

private:
    HWND m_window;
    std::atomic<bool> m_hangupRequested{false};
};
