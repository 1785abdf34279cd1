#include "platform/winapi/user/MessageSources.h"
#include "platform/winapi/user/Painting.h"

#include <atomic>

namespace detail = winapi_user::detail;

namespace {

std::atomic<detail::PaintSource> g_paintSource{&detail::TakeUpdatePaint};

} // namespace

namespace winapi_user::detail {

void SetPaintSource(PaintSource source)
{
    g_paintSource = source;
}

bool TakePaint(const MessageFilter& filter, MSG& out)
{
    const PaintSource source = g_paintSource;
    return filter.Admits(WM_PAINT) && source && source(filter, out);
}

} // namespace winapi_user::detail
