#include "platform/winapi/ras/Ras.h"

#include "platform/winapi/ras/Phonebook.h"
#include "platform/winapi/ras/RasConnection.h"

#include <cstring>
#include <map>
#include <mutex>
#include <vector>

namespace {

// The connections of this process by handle value. Values count up and are never reused, so a
// stale handle is simply absent.
class ConnectionTable {
public:
    HRASCONN Add(std::shared_ptr<RasConnection> connection)
    {
        std::lock_guard lock(m_mutex);
        const auto id = m_nextId++;
        m_connections.emplace(id, std::move(connection));
        return reinterpret_cast<HRASCONN>(id);
    }

    [[nodiscard]] std::shared_ptr<RasConnection> Find(HRASCONN handle) const
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(reinterpret_cast<std::uintptr_t>(handle));
        return found == m_connections.end() ? nullptr : found->second;
    }

    [[nodiscard]] std::shared_ptr<RasConnection> Remove(HRASCONN handle)
    {
        std::lock_guard lock(m_mutex);
        const auto found = m_connections.find(reinterpret_cast<std::uintptr_t>(handle));
        if (found == m_connections.end())
            return nullptr;
        auto connection = found->second;
        m_connections.erase(found);
        return connection;
    }

    [[nodiscard]] std::vector<std::pair<HRASCONN, std::shared_ptr<RasConnection>>> Running() const
    {
        std::lock_guard lock(m_mutex);
        std::vector<std::pair<HRASCONN, std::shared_ptr<RasConnection>>> running;
        for (const auto& [id, connection] : m_connections)
            if (connection->IsRunning())
                running.emplace_back(reinterpret_cast<HRASCONN>(id), connection);
        return running;
    }

private:
    mutable std::mutex m_mutex;
    std::uintptr_t m_nextId = 0x10001;
    std::map<std::uintptr_t, std::shared_ptr<RasConnection>> m_connections;
};

ConnectionTable& Connections()
{
    static ConnectionTable table;
    return table;
}

// The text of a fixed-size field, even when the caller left it unterminated.
std::string FieldText(const char* field, std::size_t size)
{
    return std::string(field, strnlen(field, size));
}

void CopyText(char* target, std::size_t size, const std::string& text)
{
    const auto length = std::min(text.size(), size - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

DWORD PlanDial(LPCSTR phonebook, const RASDIALPARAMSA& params, DialPlan& plan)
{
    const auto book = Phonebook::LoadForCall(phonebook);
    const auto* entry = book.Find(FieldText(params.szEntryName, sizeof params.szEntryName));
    if (!entry)
        return ERROR_CANNOT_FIND_PHONEBOOK_ENTRY;
    plan.entryName = entry->name;
    plan.deviceName = entry->Value("Device");
    plan.portName = entry->Value("Port");
    plan.phoneNumber = FieldText(params.szPhoneNumber, sizeof params.szPhoneNumber);
    if (plan.phoneNumber.empty())
        plan.phoneNumber = entry->Value("PhoneNumber");
    plan.phoneNumber = WithoutSeparators(plan.phoneNumber);
    plan.userName = FieldText(params.szUserName, sizeof params.szUserName);
    plan.password = FieldText(params.szPassword, sizeof params.szPassword);
    if (!IsDialableNumber(plan.phoneNumber) || !IsPlainText(plan.userName) || !IsPlainText(plan.password))
        return ERROR_BAD_STRING;
    return 0;
}

// The enumerations' buffer protocol: the needed size and count always come back; the records
// only when they fit.
template <class Record, class Fill>
DWORD FillRecords(Record* records, LPDWORD byteCount, LPDWORD recordCount, std::size_t count, Fill fill)
{
    if (!byteCount || !recordCount)
        return ERROR_INVALID_PARAMETER;
    if (records && *byteCount >= sizeof(Record) && records->dwSize != sizeof(Record))
        return ERROR_INVALID_SIZE;
    const auto needed = count * sizeof(Record);
    const bool fits = records && *byteCount >= needed;
    *byteCount = static_cast<DWORD>(needed);
    *recordCount = static_cast<DWORD>(count);
    if (!fits)
        return ERROR_BUFFER_TOO_SMALL;
    for (std::size_t i = 0; i < count; ++i) {
        records[i] = Record{};
        records[i].dwSize = sizeof(Record);
        fill(records[i], i);
    }
    return 0;
}

} // namespace

DWORD RasDialA(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook, LPRASDIALPARAMSA lpRasDialParams,
               DWORD dwNotifierType, LPVOID lpvNotifier, LPHRASCONN lphRasConn)
{
    if (lpRasDialExtensions || !lpRasDialParams || dwNotifierType != 0 || !lpvNotifier || !lphRasConn)
        return ERROR_INVALID_PARAMETER;
    if (lpRasDialParams->dwSize != sizeof(RASDIALPARAMSA))
        return ERROR_INVALID_SIZE;
    DialPlan plan;
    if (const DWORD refused = PlanDial(lpszPhonebook, *lpRasDialParams, plan))
        return refused;
    auto connection = RasConnection::Create(std::move(plan), reinterpret_cast<RASDIALFUNC>(lpvNotifier));
    *lphRasConn = Connections().Add(connection);
    connection->Begin();
    return 0;
}

DWORD RasHangUpA(HRASCONN hrasconn)
{
    const auto connection = Connections().Remove(hrasconn);
    if (!connection)
        return ERROR_INVALID_HANDLE;
    connection->HangUp();
    return 0;
}

DWORD RasEnumConnectionsA(LPRASCONNA lprasconn, LPDWORD lpcb, LPDWORD lpcConnections)
{
    const auto running = Connections().Running();
    return FillRecords(lprasconn, lpcb, lpcConnections, running.size(), [&](RASCONNA& record, std::size_t i) {
        const auto& [handle, connection] = running[i];
        record.hrasconn = handle;
        CopyText(record.szEntryName, sizeof record.szEntryName, connection->EntryName());
        CopyText(record.szDeviceType, sizeof record.szDeviceType, "modem");
        CopyText(record.szDeviceName, sizeof record.szDeviceName, connection->DeviceName());
    });
}

DWORD RasEnumEntriesA(LPCSTR reserved, LPCSTR lpszPhonebook, LPRASENTRYNAMEA lprasentryname, LPDWORD lpcb,
                      LPDWORD lpcEntries)
{
    if (reserved)
        return ERROR_INVALID_PARAMETER;
    const auto book = Phonebook::LoadForCall(lpszPhonebook);
    std::vector<std::string> names;
    for (const auto& entry : book.Entries())
        if (entry.name.size() <= static_cast<std::size_t>(RAS_MaxEntryName))
            names.push_back(entry.name);
    return FillRecords(lprasentryname, lpcb, lpcEntries, names.size(), [&](RASENTRYNAMEA& record, std::size_t i) {
        CopyText(record.szEntryName, sizeof record.szEntryName, names[i]);
    });
}

DWORD RasGetConnectStatusA(HRASCONN hrasconn, LPRASCONNSTATUSA lprasconnstatus)
{
    if (!lprasconnstatus)
        return ERROR_INVALID_PARAMETER;
    if (lprasconnstatus->dwSize != sizeof(RASCONNSTATUSA))
        return ERROR_INVALID_SIZE;
    const auto connection = Connections().Find(hrasconn);
    if (!connection)
        return ERROR_INVALID_HANDLE;
    connection->FillStatus(*lprasconnstatus);
    return 0;
}

DWORD RasGetConnectionStatistics(HRASCONN hRasConn, RAS_STATS* lpStatistics)
{
    if (!lpStatistics)
        return ERROR_INVALID_PARAMETER;
    if (lpStatistics->dwSize != sizeof(RAS_STATS))
        return ERROR_INVALID_SIZE;
    const auto connection = Connections().Find(hRasConn);
    if (!connection)
        return ERROR_INVALID_HANDLE;
    return connection->FillStatistics(*lpStatistics);
}
