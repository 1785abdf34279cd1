#include "dialup/RASDail.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <mutex>

std::atomic<HWND> RasNotifyWindow{nullptr};

namespace {

std::mutex g_errorTextMutex;
std::string g_errorText;

// The refusals that mean the port or the line could not be used.
constexpr std::array<DWORD, 11> PortRefusals = {602, 605, 633, 638, 645, 650, 718, 720, 734, 738, 797};

} // namespace

std::string RasErrorText()
{
    std::lock_guard lock(g_errorTextMutex);
    return g_errorText;
}

void SetRasErrorText(const std::string& text)
{
    std::lock_guard lock(g_errorTextMutex);
    g_errorText = text;
}

std::string RasErrorString(DWORD code)
{
    char text[256] = {};
    if (RasGetErrorStringA(code, text, sizeof text) != 0)
        return {};
    return std::string(text, strnlen(text, sizeof text));
}

void RasDialCallback(UINT, RASCONNSTATE rasconnstate, DWORD dwError)
{
    // An error with no text of its own clears the text rather than leave an older error's.
    if (dwError != 0)
        SetRasErrorText(RasErrorString(dwError));
    (void)SendMessageA(RasNotifyWindow, WM_RAS_NOTIFY, dwError != 0 ? dwError : rasconnstate, 0);
}

std::string RasRefusalMessage(DWORD code)
{
    return std::find(PortRefusals.begin(), PortRefusals.end(), code) != PortRefusals.end() ? "ERR" : "ERR!";
}
