#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

class TADOQuery;
class TSqliteDatabase;

// The manager's database "USB MODEM.mdb" in the program's folder, reached through eight queries.

// The eight queries, in the order the main window opens them.
enum class TModemQuery { QAll, QIB, QOB, QSB, QTEMP, QIN, QOUT, QMISS };

struct TModemQueryInfo {
    std::string_view name;
    std::string_view sql;
};

inline constexpr std::array<TModemQueryInfo, 8> ModemQueries = {{
    {"QAll", "SELECT * FROM PB ORDER BY NAME ASC"},  // phonebook
    {"QIB", "SELECT * FROM IB ORDER BY R, DT DESC"}, // SMS inbox
    {"QOB", "SELECT * FROM OB ORDER BY DT DESC"},    // SMS outbox: failed sends and drafts
    {"QSB", "SELECT * FROM SB ORDER BY DT DESC"},    // SMS sent box
    {"QTEMP", "SELECT * FROM TP"},                   // SMS templates
    {"QIN", "SELECT * FROM CI ORDER BY DT DESC"},    // received calls
    {"QOUT", "SELECT * FROM CO ORDER BY DT DESC"},   // dialled calls
    {"QMISS", "SELECT * FROM CM ORDER BY DT DESC"},  // missed calls
}};

[[nodiscard]] constexpr const TModemQueryInfo& ModemQueryInfo(TModemQuery query)
{
    return ModemQueries[static_cast<std::size_t>(query)];
}

// "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=<folder>USB MODEM.mdb;Persist Security Info=True";
// `programFolder` ends with its delimiter.
[[nodiscard]] std::string ModemConnectionString(const std::string& programFolder);

// Tells the data library how a missing database is made: the tables, then the shipped templates.
// Once, before the first query opens.
void RegisterModemDatabase();

// The database in `programFolder` itself, for the statements that read or write rows by their key
// with bound values (created like the queries' file when missing).
[[nodiscard]] std::shared_ptr<TSqliteDatabase> OpenModemDatabase(const std::string& programFolder);

// Gives `query` the connection string of the database in `programFolder` and opens it.
void OpenModemQuery(TADOQuery& query, const std::string& programFolder);

// Waits while window messages are handled (the manager's Delay).
using TDelayFunction = std::function<void(unsigned milliseconds)>;

// After a write the query is run again so that its grid shows the new row: close, let the
// window messages run for a moment, reopen.
void RefreshQuery(TADOQuery& query, const TDelayFunction& delay);
