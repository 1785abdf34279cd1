#include "platform/classlib/core/ApplicationHandleException.h"

#include <mutex>
#include <utility>

namespace {

std::mutex& HandlerLock()
{
    static std::mutex lock;
    return lock;
}

std::function<void(TObject*)>& Handler()
{
    static std::function<void(TObject*)> handler;
    return handler;
}

} // namespace

void SetApplicationHandleException(std::function<void(TObject* sender)> handler)
{
    const std::lock_guard guard(HandlerLock());
    Handler() = std::move(handler);
}

void ApplicationHandleException(TObject* sender)
{
    std::function<void(TObject*)> handler;
    {
        const std::lock_guard guard(HandlerLock());
        handler = Handler();
    }
    if (handler)
        handler(sender);
}
