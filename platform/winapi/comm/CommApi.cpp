#include "platform/winapi/comm/Comm.h"
#include "platform/winapi/comm/CommLock.h"
#include "platform/winapi/comm/CommPort.h"
#include "platform/winapi/devices/ComPorts.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

#include <atomic>
#include <functional>
#include <optional>

namespace detail = winapi_comm::detail;

namespace {

std::shared_ptr<detail::CommPort> FindPort(HANDLE handle)
{
    return winapi_kernel::Lookup<detail::CommPort>(handle);
}

std::optional<std::string> DevicePathFor(const std::string& name)
{
    if (!name.empty() && name.front() == '/')
        return name;
    const std::string prefix = "\\\\.\\";
    return ComPortDevicePath(name.rfind(prefix, 0) == 0 ? name.substr(prefix.size()) : name);
}

ULONG_PTR StatusOf(LPOVERLAPPED overlapped)
{
    return std::atomic_ref<ULONG_PTR>(overlapped->Internal).load(std::memory_order_acquire);
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

// Runs a call that needs the handle's port and a record to read or fill: an unknown handle fails
// with the error the handle lookup set, a missing record with ERROR_INVALID_PARAMETER.
template <typename Record, typename Call>
BOOL WithPortRecord(HANDLE hFile, Record* record, Call call)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    if (!record)
        return Fail(ERROR_INVALID_PARAMETER);
    return call(*port, *record);
}

// A call made without an OVERLAPPED blocks until its operation completes, as on a handle opened
// for plain I/O.
BOOL RunToCompletion(HANDLE hFile, LPDWORD transferred, const std::function<BOOL(LPOVERLAPPED)>& issue)
{
    OVERLAPPED overlapped{};
    overlapped.hEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    BOOL result = issue(&overlapped);
    if (!result && GetLastError() == ERROR_IO_PENDING)
        result = GetOverlappedResult(hFile, &overlapped, transferred, TRUE);
    const DWORD lastError = GetLastError();
    CloseHandle(overlapped.hEvent);
    SetLastError(lastError);
    return result;
}

} // namespace

HANDLE CreateFileA(LPCSTR lpFileName, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD dwCreationDisposition, DWORD, HANDLE)
{
    if (!lpFileName || dwCreationDisposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const auto path = DevicePathFor(lpFileName);
    if (!path) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto port = detail::CommPort::Open(*path);
    if (!port)
        return INVALID_HANDLE_VALUE;
    return winapi_kernel::NewHandle(std::move(port));
}

BOOL ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
              LPOVERLAPPED lpOverlapped)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    if (!lpBuffer && nNumberOfBytesToRead > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!lpOverlapped) {
        return RunToCompletion(hFile, lpNumberOfBytesRead, [&](LPOVERLAPPED overlapped) {
            return port->Read(lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, overlapped);
        });
    }
    return port->Read(lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead, lpOverlapped);
}

BOOL WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
               LPOVERLAPPED lpOverlapped)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    if (!lpBuffer && nNumberOfBytesToWrite > 0)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!lpOverlapped) {
        return RunToCompletion(hFile, lpNumberOfBytesWritten, [&](LPOVERLAPPED overlapped) {
            return port->Write(lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, overlapped);
        });
    }
    return port->Write(lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten, lpOverlapped);
}

BOOL GetOverlappedResult(HANDLE hFile, LPOVERLAPPED lpOverlapped, LPDWORD lpNumberOfBytesTransferred, BOOL bWait)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    if (!lpOverlapped)
        return Fail(ERROR_INVALID_PARAMETER);
    if (StatusOf(lpOverlapped) == STATUS_PENDING) {
        if (!bWait)
            return Fail(ERROR_IO_INCOMPLETE);
        if (lpOverlapped->hEvent) {
            // As in Win32, an event set by someone else while the operation still runs ends the wait
            // with ERROR_IO_INCOMPLETE.
            if (WaitForSingleObject(lpOverlapped->hEvent, INFINITE) == WAIT_FAILED)
                return FALSE;
            if (StatusOf(lpOverlapped) == STATUS_PENDING)
                return Fail(ERROR_IO_INCOMPLETE);
        } else {
            // Without an event the port itself is waited on; it is signalled by every completion.
            const std::shared_ptr<winapi_kernel::Waitable> portObject = port;
            while (StatusOf(lpOverlapped) == STATUS_PENDING)
                (void)winapi_kernel::WaitForObjects({&portObject, 1}, false, INFINITE);
        }
    }
    if (lpNumberOfBytesTransferred)
        *lpNumberOfBytesTransferred = static_cast<DWORD>(lpOverlapped->InternalHigh);
    const auto status = static_cast<DWORD>(StatusOf(lpOverlapped));
    return status == ERROR_SUCCESS ? TRUE : Fail(status);
}

BOOL SetupComm(HANDLE hFile, DWORD, DWORD)
{
    return FindPort(hFile) ? TRUE : FALSE;
}

BOOL PurgeComm(HANDLE hFile, DWORD dwFlags)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    port->Purge(dwFlags);
    return TRUE;
}

BOOL GetCommState(HANDLE hFile, LPDCB lpDCB)
{
    return WithPortRecord(hFile, lpDCB, [](detail::CommPort& port, DCB& dcb) { return port.GetState(dcb); });
}

BOOL SetCommState(HANDLE hFile, LPDCB lpDCB)
{
    return WithPortRecord(hFile, lpDCB, [](detail::CommPort& port, DCB& dcb) { return port.SetState(dcb); });
}

BOOL GetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts)
{
    return WithPortRecord(hFile, lpCommTimeouts, [](detail::CommPort& port, COMMTIMEOUTS& timeouts) {
        port.GetTimeouts(timeouts);
        return TRUE;
    });
}

BOOL SetCommTimeouts(HANDLE hFile, LPCOMMTIMEOUTS lpCommTimeouts)
{
    return WithPortRecord(hFile, lpCommTimeouts, [](detail::CommPort& port, COMMTIMEOUTS& timeouts) {
        port.SetTimeouts(timeouts);
        return TRUE;
    });
}

BOOL SetCommMask(HANDLE hFile, DWORD dwEvtMask)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    port->SetMask(dwEvtMask);
    return TRUE;
}

BOOL WaitCommEvent(HANDLE hFile, LPDWORD lpEvtMask, LPOVERLAPPED lpOverlapped)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    if (!lpOverlapped) {
        return RunToCompletion(hFile, nullptr,
                               [&](LPOVERLAPPED overlapped) { return port->WaitEvent(lpEvtMask, overlapped); });
    }
    return port->WaitEvent(lpEvtMask, lpOverlapped);
}

BOOL ClearCommError(HANDLE hFile, LPDWORD lpErrors, LPCOMSTAT lpStat)
{
    const auto port = FindPort(hFile);
    if (!port)
        return FALSE;
    port->ClearErrors(lpErrors, lpStat);
    return TRUE;
}

void SetCommLockFolder(const std::string& folder)
{
    detail::CommLock::SetFolder(folder);
}
