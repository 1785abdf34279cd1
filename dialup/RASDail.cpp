#include "dialup/RASDail.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/kernel/SystemInfo.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The phonebook or the connection list may grow between the call that sizes the buffer and the
// one that fills it; a few rounds settle that, and a list that keeps changing reads as empty.
constexpr int EnumerationRounds = 4;

// The grow-and-retry protocol of the service's enumerations. Only records the service filled in
// are returned, never more than the buffer holds.
template <class Record, class Enumerate>
std::vector<Record> EnumerateRecords(Enumerate enumerate)
{
    std::vector<Record> records(1);
    for (int round = 0; round < EnumerationRounds; ++round) {
        records[0].dwSize = sizeof(Record);
        auto bytes = static_cast<DWORD>(records.size() * sizeof(Record));
        DWORD count = 0;
        const DWORD result = enumerate(records.data(), &bytes, &count);
        if (result == 0) {
            records.resize(std::min<std::size_t>(count, records.size()));
            return records;
        }
        if (result != ERROR_BUFFER_TOO_SMALL || count <= records.size())
            break;
        records.resize(count);
    }
    return {};
}

std::string FieldText(const char* field, std::size_t size)
{
    return std::string(field, strnlen(field, size));
}

void SendRasNotify(DWORD code)
{
    (void)SendMessageA(RasNotifyWindow, WM_RAS_NOTIFY, code, 0);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TRASConnection, TObject, nullptr, nullptr)

TRASConnection::TRASConnection(HWND ownerWindow)
    : m_entries(std::make_unique<TStringList>())
    , m_statistics(std::make_unique<RAS_STATS>())
    , m_ownerWindow(ownerWindow)
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (GetVersionExA(&version))
        m_platformId = version.dwPlatformId;
    m_statistics->dwSize = sizeof(RAS_STATS);
    (void)RefreshEntries();
}

TRASConnection::~TRASConnection() = default;

TStringList& TRASConnection::RefreshEntries()
{
    m_entries->Clear();
    const auto records = EnumerateRecords<RASENTRYNAMEA>([](LPRASENTRYNAMEA buffer, LPDWORD bytes, LPDWORD count) {
        return RasEnumEntriesA(nullptr, nullptr, buffer, bytes, count);
    });
    for (auto record = records.rbegin(); record != records.rend(); ++record)
        m_entries->Add(FieldText(record->szEntryName, sizeof record->szEntryName));
    // An empty phonebook must not leave an empty name behind: that would dial without an entry.
    SetEntryName(m_entries->Count() > 0 ? m_entries->Strings(0) : std::string(NoEntryName));
    return *m_entries;
}

void TRASConnection::SetEntryName(const std::string& name)
{
    bool listed = false;
    for (int i = 0; i < m_entries->Count() && !listed; ++i)
        listed = m_entries->Strings(i) == name;
    (void)StrPLCopy(m_dialParams.szEntryName, listed ? name : NoEntryName, RAS_MaxEntryName);
}

std::string TRASConnection::GetEntryName() const
{
    return FieldText(m_dialParams.szEntryName, sizeof m_dialParams.szEntryName);
}

void TRASConnection::SetPhoneNumber(const std::string& number)
{
    (void)StrPLCopy(m_dialParams.szPhoneNumber, number, RAS_MaxPhoneNumber);
}

void TRASConnection::SetUserName(const std::string& userName)
{
    (void)StrPLCopy(m_dialParams.szUserName, userName, UNLEN);
}

void TRASConnection::SetPassword(const std::string& password)
{
    (void)StrPLCopy(m_dialParams.szPassword, password, PWLEN);
}

void TRASConnection::Connect()
{
    m_dialParams.dwSize = sizeof(RASDIALPARAMSA);
    const DWORD result = RasDialA(nullptr, nullptr, &m_dialParams, 0, reinterpret_cast<LPVOID>(&RasDialCallback),
                                  &m_handle);
    if (result == 0)
        return;
    m_lastDialError = result;
    (void)RasHangUpA(m_handle);
    throw Exception(RasRefusalMessage(result));
}

void TRASConnection::Disconnect()
{
    (void)RasHangUpA(m_handle);
    m_handle = nullptr;
}

bool TRASConnection::FindActiveConnection()
{
    const auto connections = EnumerateRecords<RASCONNA>(
        [](LPRASCONNA buffer, LPDWORD bytes, LPDWORD count) { return RasEnumConnectionsA(buffer, bytes, count); });
    const std::string entryName = GetEntryName();
    for (const auto& connection : connections) {
        if (FieldText(connection.szEntryName, sizeof connection.szEntryName) == entryName) {
            m_handle = connection.hrasconn;
            return true;
        }
    }
    return false;
}

bool TRASConnection::UpdateStatistics()
{
    m_statistics->dwSize = sizeof(RAS_STATS);
    return RasGetConnectionStatistics(m_handle, m_statistics.get()) == 0;
}

DWORD TRASConnection::BytesSent() const
{
    return m_statistics->dwBytesXmited;
}

DWORD TRASConnection::BytesReceived() const
{
    return m_statistics->dwBytesRcved;
}

DWORD TRASConnection::ConnectDuration() const
{
    return m_statistics->dwConnectDuration;
}

void TRASConnection::CheckStatus()
{
    m_status.dwSize = sizeof(RASCONNSTATUSA);
    const DWORD result = RasGetConnectStatusA(m_handle, &m_status);
    if (result == 0 && m_status.dwError != 0) {
        // The window shows RasErrorText with the error, so it must be this error's text, not
        // whatever the dial reported last.
        SetRasErrorText(RasErrorString(m_status.dwError));
        SendRasNotify(m_status.dwError);
    } else if (result == ERROR_INVALID_HANDLE) {
        Disconnect();
        SendRasNotify(RASCS_Disconnected);
    }
}
