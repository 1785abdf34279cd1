#include "CommTestSupport.h"

#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Threads.h"

#if defined(__SANITIZE_ADDRESS__)
#define SERIAL_TESTS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SERIAL_TESTS_ASAN 1
#endif
#endif
#ifdef SERIAL_TESTS_ASAN
#include <sanitizer/asan_interface.h>
#endif


std::string CommNotices::Received() const
{
    std::string all;
    for (const auto& block : blocks)
        all += block;
    return all;
}

void Record(TComm& comm, CommNotices& notices)
{
    comm.SetOnReceiveData(TReceiveDataEvent::FromFunction([&notices](TObject*, const void* buffer, WORD length) {
        const auto* bytes = static_cast<const char*>(buffer);
        notices.blocks.emplace_back(bytes, length);
        notices.blocksEndInZero = notices.blocksEndInZero && bytes[length] == 0;
        notices.threads.push_back(GetCurrentThreadId());
    }));
    comm.SetOnReceiveError(TReceiveErrorEvent::FromFunction([&notices](TObject*, DWORD errors) {
        notices.lineErrors.push_back(errors);
        notices.threads.push_back(GetCurrentThreadId());
    }));
    comm.SetOnModemStateChange(TModemStateChangeEvent::FromFunction([&notices](TObject*, DWORD events) {
        notices.modemEvents.push_back(events);
        notices.threads.push_back(GetCurrentThreadId());
    }));
    comm.SetOnRequestHangup(TNotifyEvent::FromFunction([&notices](TObject*) {
        ++notices.hangups;
        notices.threads.push_back(GetCurrentThreadId());
    }));
    comm.SetOnSendDataEmpty(TSendDataEmptyEvent::FromFunction([&notices](TObject*) {
        ++notices.sendEmpty;
        notices.threads.push_back(GetCurrentThreadId());
    }));
}

void ApplyManagerSettings(TComm& comm)
{
    comm.SetBaudRate(115200);
    comm.SetOutx_CtsFlow(true);
    comm.SetTxContinueOnXoff(false);
    comm.SetOutx_XonXoffFlow(false);
    comm.SetInx_XonXoffFlow(false);
    comm.SetRtsControl(TRtsControl::RtsHandshake);
}

bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&msg);
            continue;
        }
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
    }
    return true;
}

void PumpPending()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

bool AwaitQueued(HWND window, UINT message, std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    MSG msg;
    while (!PeekMessageA(&msg, window, message, message, PM_NOREMOVE)) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_POSTMESSAGE);
    }
    return true;
}

LPARAM QueuedBlock(HWND window, UINT message)
{
    MSG msg{};
    return PeekMessageA(&msg, window, message, message, PM_NOREMOVE) ? msg.lParam : 0;
}

bool BlockWasFreed(LPARAM block)
{
#ifdef SERIAL_TESTS_ASAN
    return __asan_address_is_poisoned(reinterpret_cast<const void*>(block)) != 0;
#else
    (void)block;
    return true;
#endif
}

CommTestBase::CommTestBase()
{
    (void)SelectHeadlessDisplay();
    SetCommLockFolder(m_dir.Path().string());
}

CommTestBase::~CommTestBase()
{
    m_comm.reset();
    PumpPending();
    SetCommLockFolder("");
}

void CommTestBase::MakeComm(const std::string& commName)
{
    m_comm = std::make_unique<TComm>(nullptr);
    m_comm->SetCommName(commName);
    ApplyManagerSettings(*m_comm);
    Record(*m_comm, m_notices);
}
