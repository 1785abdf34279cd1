#include "PopupMenuClicks.h"

#include <utility>

namespace {

constexpr UINT PollMs = 10;

struct PendingClicks {
    HeadlessDisplay* display = nullptr;
    HWND topLevel = nullptr;
    std::vector<PopupMenuClick> clicks;
    std::size_t next = 0;
    UINT_PTR timer = 0;
};

PendingClicks& Pending()
{
    static PendingClicks pending;
    return pending;
}

void ClickWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    PendingClicks& pending = Pending();
    if (pending.next >= pending.clicks.size())
        return;
    const PopupMenuClick& click = pending.clicks[pending.next];
    RECT item{};
    if (!GetMenuItemRect(nullptr, click.menu(), static_cast<UINT>(click.index()), &item))
        return;
    if (click.whileShown)
        click.whileShown();
    if (++pending.next == pending.clicks.size()) {
        (void)KillTimer(nullptr, pending.timer);
        pending.timer = 0;
    }
    RECT window{};
    (void)GetWindowRect(pending.topLevel, &window);
    const POINT at{(item.left + item.right) / 2 - window.left, (item.top + item.bottom) / 2 - window.top};
    pending.display->InjectClick(reinterpret_cast<WindowId>(pending.topLevel), at);
}

} // namespace

void ClickPopupMenuItems(HeadlessDisplay& display, HWND topLevel, std::vector<PopupMenuClick> clicks)
{
    PendingClicks& pending = Pending();
    if (pending.timer)
        (void)KillTimer(nullptr, pending.timer);
    pending = PendingClicks{&display, topLevel, std::move(clicks), 0, 0};
    pending.timer = SetTimer(nullptr, 0, PollMs, &ClickWhenShown);
}

bool PopupMenuClicksPending()
{
    const PendingClicks& pending = Pending();
    return pending.next < pending.clicks.size();
}
