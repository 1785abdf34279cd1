#include "platform/winapi/user/Hooks.h"
#include "platform/winapi/kernel/Threads.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace detail = winapi_user::detail;

namespace {

struct Hook {
    HHOOK handle = nullptr;
    int kind = 0;
    HOOKPROC proc = nullptr;
    DWORD threadId = 0; // 0: every thread
};

// Hooks by handle; the chain of a thread is its own hooks (newest first) then the program-wide
// ones (newest first). A hook removed while its chain runs is skipped from then on.
class HookTable {
public:
    static HookTable& Instance()
    {
        // Never destroyed: objects freed at program exit (the class library's Application and its
        // forms) still reach it after static destructors have begun.
        static HookTable& table = *new HookTable;
        return table;
    }

    HHOOK Add(int kind, HOOKPROC proc, DWORD threadId)
    {
        std::lock_guard lock(m_mutex);
        const auto handle = reinterpret_cast<HHOOK>(++m_lastHandle);
        m_hooks.insert(m_hooks.begin(), Hook{handle, kind, proc, threadId});
        return handle;
    }

    bool Remove(HHOOK handle)
    {
        std::lock_guard lock(m_mutex);
        return std::erase_if(m_hooks, [&](const Hook& hook) { return hook.handle == handle; }) != 0;
    }

    // The chain of the calling thread for a kind.
    std::vector<Hook> Chain(int kind)
    {
        const DWORD thread = GetCurrentThreadId();
        std::lock_guard lock(m_mutex);
        std::vector<Hook> chain;
        for (const Hook& hook : m_hooks)
            if (hook.kind == kind && hook.threadId == thread)
                chain.push_back(hook);
        for (const Hook& hook : m_hooks)
            if (hook.kind == kind && hook.threadId == 0)
                chain.push_back(hook);
        return chain;
    }

    bool Contains(HHOOK handle)
    {
        std::lock_guard lock(m_mutex);
        return std::any_of(m_hooks.begin(), m_hooks.end(), [&](const Hook& hook) { return hook.handle == handle; });
    }

    int KindOf(HHOOK handle)
    {
        std::lock_guard lock(m_mutex);
        for (const Hook& hook : m_hooks)
            if (hook.handle == handle)
                return hook.kind;
        return 0;
    }

private:
    std::mutex m_mutex;
    std::vector<Hook> m_hooks;
    ULONG_PTR m_lastHandle = 0;
};

// Calls the first live hook of the chain from `position` on.
LRESULT CallFrom(const std::vector<Hook>& chain, std::size_t position, int code, WPARAM wParam, LPARAM lParam)
{
    for (; position < chain.size(); ++position)
        if (HookTable::Instance().Contains(chain[position].handle))
            return chain[position].proc(code, wParam, lParam);
    return 0;
}

} // namespace

namespace winapi_user::detail {

LRESULT CallHooks(int idHook, int code, WPARAM wParam, LPARAM lParam)
{
    return CallFrom(HookTable::Instance().Chain(idHook), 0, code, wParam, lParam);
}

} // namespace winapi_user::detail

HHOOK SetWindowsHookExA(int idHook, HOOKPROC lpfn, HINSTANCE, DWORD dwThreadId)
{
    if (idHook != WH_CBT && idHook != WH_MSGFILTER) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (!lpfn) {
        SetLastError(ERROR_INVALID_FILTER_PROC);
        return nullptr;
    }
    return HookTable::Instance().Add(idHook, lpfn, dwThreadId);
}

BOOL UnhookWindowsHookEx(HHOOK hhk)
{
    if (HookTable::Instance().Remove(hhk))
        return TRUE;
    SetLastError(ERROR_INVALID_HOOK_HANDLE);
    return FALSE;
}

LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam)
{
    const int kind = HookTable::Instance().KindOf(hhk);
    if (!kind)
        return 0;
    const auto chain = HookTable::Instance().Chain(kind);
    const auto self = std::find_if(chain.begin(), chain.end(), [&](const Hook& hook) { return hook.handle == hhk; });
    if (self == chain.end())
        return 0;
    return CallFrom(chain, static_cast<std::size_t>(self - chain.begin()) + 1, nCode, wParam, lParam);
}

BOOL CallMsgFilterA(LPMSG lpMsg, int nCode)
{
    if (!lpMsg)
        return FALSE;
    return detail::CallHooks(WH_MSGFILTER, nCode, 0, reinterpret_cast<LPARAM>(lpMsg)) ? TRUE : FALSE;
}
