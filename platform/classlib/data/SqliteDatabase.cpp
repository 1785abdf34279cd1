#include "platform/classlib/data/SqliteDatabase.h"

#include "platform/classlib/data/DB.h"
#include "platform/rtl/Strings.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <thread>
#include <utility>
#include <mutex>
#include <new>

namespace {

struct StatementCloser {
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementCloser>;

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// How many leading bytes the two texts share that are ASCII: eight bytes at a time, since equal
// ASCII bytes fold to equal letters and decide nothing.
std::size_t EqualAsciiPrefix(const char* left, const char* right, std::size_t length)
{
    constexpr std::uint64_t HighBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t x, y;
        std::memcpy(&x, left + i, 8);
        std::memcpy(&y, right + i, 8);
        const std::uint64_t stop = (x ^ y) | ((x | y) & HighBits);
        if (stop == 0)
            continue;
        // The first byte in memory that differs or is not ASCII.
        const int bit = std::endian::native == std::endian::little ? std::countr_zero(stop) : std::countl_zero(stop);
        return i + static_cast<std::size_t>(bit / 8);
    }
    return i;
}

// AnsiCompareText's order. Sorting calls this for every pair compared, so text that is ASCII up
// to its first difference, where case folding is all the dictionary order does, is decided here
// without decoding.
int CompareNoCase(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const std::string_view left(static_cast<const char*>(a), static_cast<std::size_t>(lengthA));
    const std::string_view right(static_cast<const char*>(b), static_cast<std::size_t>(lengthB));
    const std::size_t common = std::min(left.size(), right.size());
    for (std::size_t i = EqualAsciiPrefix(left.data(), right.data(), common); i < common; ++i) {
        if ((left[i] & 0x80) || (right[i] & 0x80))
            return AnsiCompareText(left, right);
        const char x = AsciiLower(left[i]);
        const char y = AsciiLower(right[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    const std::string_view rest = left.size() > common ? left.substr(common) : right.substr(common);
    if (std::any_of(rest.begin(), rest.end(), [](char c) { return (c & 0x80) != 0; }))
        return AnsiCompareText(left, right);
    return left.size() == right.size() ? 0 : (left.size() < right.size() ? -1 : 1);
}

std::string TextOrEmpty(const char* text)
{
    return text ? std::string(text) : std::string();
}

}  // namespace

struct TSqliteDatabase::Impl {
    static constexpr std::size_t MaxIdle = 32;

    sqlite3* Handle = nullptr;
    std::map<std::string, std::string, std::less<>> RowKeys;
    // Prepared statements not in use, by their text: a data set runs the same few statements for
    // every Post, and parsing them each time cost more than running them.
    std::map<std::string, Statement, std::less<>> Idle;

    ~Impl()
    {
        Idle.clear();
        sqlite3_close_v2(Handle);
    }

    [[noreturn]] void Fail(std::string_view what) const
    {
        DatabaseError(std::string(what) + ": " + sqlite3_errmsg(Handle));
    }

    Statement Prepare(std::string_view sql)
    {
        if (const auto idle = Idle.find(sql); idle != Idle.end()) {
            Statement statement = std::move(idle->second);
            Idle.erase(idle);
            return statement;
        }
        sqlite3_stmt* raw = nullptr;
        if (sqlite3_prepare_v2(Handle, sql.data(), static_cast<int>(sql.size()), &raw, nullptr) != SQLITE_OK)
            Fail("Cannot prepare the statement");
        if (!raw)
            DatabaseError("The statement is empty");
        return Statement(raw);
    }

    // Keeps a statement that ran for the next use of the same text; one left over is finalized.
    void Recycle(std::string_view sql, Statement statement) noexcept
    {
        sqlite3_reset(statement.get());
        sqlite3_clear_bindings(statement.get());
        if (Idle.size() >= MaxIdle)
            return;
        try {
            Idle.emplace(std::string(sql), std::move(statement));
        } catch (const std::bad_alloc&) {
            // Not kept: prepared again next time.
        }
    }

    void Bind(sqlite3_stmt* statement, int index, const Variant& value) const
    {
        int rc = SQLITE_OK;
        switch (value.VType()) {
        case varEmpty:
        case varNull:
            rc = sqlite3_bind_null(statement, index);
            break;
        case varBoolean:
            rc = sqlite3_bind_int64(statement, index, value.ToBoolean() ? -1 : 0);
            break;
        case varInteger:
        case varInt64:
            rc = sqlite3_bind_int64(statement, index, value.ToInt64());
            break;
        case varDouble:
        case varCurrency:
            rc = sqlite3_bind_double(statement, index, value.ToDouble());
            break;
        case varDate: {
            const std::string iso = DateTimeToIso(value.ToDateTime());
            rc = sqlite3_bind_text(statement, index, iso.data(), static_cast<int>(iso.size()), SQLITE_TRANSIENT);
            break;
        }
        default: {
            const std::string text = value.ToString();
            rc = sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
            break;
        }
        }
        if (rc != SQLITE_OK)
            Fail("Cannot bind a parameter");
    }

    Statement PrepareBound(std::string_view sql, const std::vector<Variant>& params)
    {
        Statement statement = Prepare(sql);
        if (sqlite3_bind_parameter_count(statement.get()) != static_cast<int>(params.size()))
            DatabaseError("The statement's parameters do not match the values given");
        for (std::size_t i = 0; i < params.size(); ++i)
            Bind(statement.get(), static_cast<int>(i) + 1, params[i]);
        return statement;
    }

};

TSqliteDatabase::TSqliteDatabase(std::string path, std::unique_ptr<Impl> impl)
    : m_path(std::move(path)), m_impl(std::move(impl))
{
}

TSqliteDatabase::~TSqliteDatabase() = default;

std::shared_ptr<TSqliteDatabase> TSqliteDatabase::Open(const std::string& path, std::string_view schema)
{
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::thread::id>, std::weak_ptr<TSqliteDatabase>> open;
    std::lock_guard lock(mutex);
    std::error_code error;
    const auto key = std::make_pair(std::filesystem::weakly_canonical(path, error).string(), std::this_thread::get_id());
    if (auto existing = open[key].lock())
        return existing;

    const bool created = !std::filesystem::exists(path, error);
    auto impl = std::make_unique<Impl>();
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (created ? SQLITE_OPEN_CREATE : 0);
    if (sqlite3_open_v2(path.c_str(), &impl->Handle, flags, nullptr) != SQLITE_OK) {
        const std::string reason = impl->Handle ? sqlite3_errmsg(impl->Handle) : "out of memory";
        DatabaseError("Cannot open the database '" + path + "': " + reason);
    }
    sqlite3_extended_result_codes(impl->Handle, 1);
    sqlite3_busy_timeout(impl->Handle, 5000);
    sqlite3_create_collation_v2(impl->Handle, "NOCASE", SQLITE_UTF8, nullptr, CompareNoCase, nullptr);
    std::shared_ptr<TSqliteDatabase> database(new TSqliteDatabase(path, std::move(impl)));
    try {
        // A file that is not a database fails here rather than on the first query.
        (void)database->Query("SELECT COUNT(*) FROM sqlite_master");
        if (created)
            database->ExecuteScript(schema);
    } catch (const EDatabaseError& e) {
        if (created)
            std::remove(path.c_str());
        DatabaseError("Cannot open the database '" + path + "': " + e.Message());
    }
    open[key] = database;
    return database;
}

TSqlResult TSqliteDatabase::Query(std::string_view sql, const std::vector<Variant>& params)
{
    TSqlReader reader(*this, sql, params);
    TSqlResult result;
    result.Columns = reader.Columns();
    while (reader.Next()) {
        TSqlRow row;
        row.Values.reserve(result.Columns.size());
        for (int i = 0; i < reader.ColumnCount(); ++i)
            row.Values.push_back(reader.Value(i));
        result.Rows.push_back(std::move(row));
    }
    return result;
}

int TSqliteDatabase::Execute(std::string_view sql, const std::vector<Variant>& params)
{
    Statement statement = m_impl->PrepareBound(sql, params);
    int rc;
    while ((rc = sqlite3_step(statement.get())) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE)
        m_impl->Fail("The statement failed");
    m_impl->Recycle(sql, std::move(statement));
    return sqlite3_changes(m_impl->Handle);
}

void TSqliteDatabase::ExecuteScript(std::string_view script)
{
    const std::string text(script);
    char* message = nullptr;
    if (sqlite3_exec(m_impl->Handle, text.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string reason = message ? message : "unknown error";
        sqlite3_free(message);
        DatabaseError("The script failed: " + reason);
    }
}

std::int64_t TSqliteDatabase::LastInsertRowId() const
{
    return sqlite3_last_insert_rowid(m_impl->Handle);
}

std::string TSqliteDatabase::RowKeyColumn(const std::string& table)
{
    if (auto found = m_impl->RowKeys.find(table); found != m_impl->RowKeys.end())
        return found->second;
    std::string key;
    // The table name comes from SQLite itself; bound as a value to the table-valued pragma.
    const TSqlResult info = Query("SELECT name, type, pk FROM pragma_table_info(?)", {Variant(table)});
    int keyColumns = 0;
    for (const TSqlRow& row : info.Rows) {
        if (row.Values[2].ToInteger() == 0)
            continue;
        ++keyColumns;
        if (SameText(row.Values[1].ToString(), "INTEGER"))
            key = row.Values[0].ToString();
    }
    if (keyColumns != 1)
        key.clear();
    m_impl->RowKeys[table] = key;
    return key;
}

void TSqliteDatabase::BeginTransaction()
{
    Execute("BEGIN IMMEDIATE");
}

void TSqliteDatabase::Commit()
{
    Execute("COMMIT");
}

void TSqliteDatabase::Rollback()
{
    Execute("ROLLBACK");
}

namespace {

// Reading a value through the statement takes the connection's lock for every call; a reader
// takes it once and reads the row's value objects, which SQLite leaves unlocked to whoever holds
// it. The lock is recursive, so the reader's own calls pass it.
sqlite3_mutex* LockConnection(sqlite3* connection)
{
    sqlite3_mutex* lock = sqlite3_db_mutex(connection);
    sqlite3_mutex_enter(lock);
    return lock;
}

}  // namespace

void TSqlReader::ConnectionUnlock::operator()(sqlite3_mutex* lock) const
{
    sqlite3_mutex_leave(lock);
}

TSqlReader::TSqlReader(TSqliteDatabase& database, std::string_view sql, const std::vector<Variant>& params)
    : m_database(database), m_sql(sql), m_statement(database.m_impl->PrepareBound(sql, params).release()),
      m_lock(LockConnection(database.m_impl->Handle))
{
    const int columnCount = sqlite3_column_count(m_statement);
    m_columns.reserve(static_cast<std::size_t>(columnCount));
    for (int i = 0; i < columnCount; ++i)
        m_columns.push_back({TextOrEmpty(sqlite3_column_name(m_statement, i)),
                             TextOrEmpty(sqlite3_column_decltype(m_statement, i)),
                             TextOrEmpty(sqlite3_column_table_name(m_statement, i)),
                             TextOrEmpty(sqlite3_column_origin_name(m_statement, i))});
    m_row.resize(m_columns.size());
}

TSqlReader::~TSqlReader()
{
    m_database.m_impl->Recycle(m_sql, Statement(m_statement));
}

bool TSqlReader::Next()
{
    const int rc = sqlite3_step(m_statement);
    if (rc == SQLITE_ROW) {
        for (std::size_t i = 0; i < m_row.size(); ++i)
            m_row[i] = sqlite3_column_value(m_statement, static_cast<int>(i));
        return true;
    }
    std::fill(m_row.begin(), m_row.end(), nullptr);
    if (rc != SQLITE_DONE)
        m_database.m_impl->Fail("The query failed");
    return false;
}

sqlite3_value* TSqlReader::At(int column) const
{
    return column >= 0 && static_cast<std::size_t>(column) < m_row.size() ? m_row[static_cast<std::size_t>(column)]
                                                                           : nullptr;
}

TSqlReader::TValueType TSqlReader::Type(int column) const
{
    sqlite3_value* value = At(column);
    switch (value ? sqlite3_value_type(value) : SQLITE_NULL) {
    case SQLITE_NULL:
        return vtNull;
    case SQLITE_INTEGER:
        return vtInteger;
    case SQLITE_FLOAT:
        return vtFloat;
    default:
        return vtText;
    }
}

std::int64_t TSqlReader::Integer(int column) const
{
    sqlite3_value* value = At(column);
    return value ? sqlite3_value_int64(value) : 0;
}

double TSqlReader::Float(int column) const
{
    sqlite3_value* value = At(column);
    return value ? sqlite3_value_double(value) : 0;
}

std::string_view TSqlReader::Text(int column) const
{
    sqlite3_value* value = At(column);
    const unsigned char* text = value ? sqlite3_value_text(value) : nullptr;
    if (!text)
        return {};
    return {reinterpret_cast<const char*>(text), static_cast<std::size_t>(sqlite3_value_bytes(value))};
}

Variant TSqlReader::Value(int column) const
{
    return Value(column, Type(column));
}

Variant TSqlReader::Value(int column, TValueType type) const
{
    switch (type) {
    case vtNull:
        return Variant::MakeNull();
    case vtInteger:
        return Variant(static_cast<long long>(Integer(column)));
    case vtFloat:
        return Variant(Float(column));
    case vtText:
        break;
    }
    return Variant(Text(column));
}

TSqlTransaction::~TSqlTransaction()
{
    if (m_done)
        return;
    try {
        m_database.Rollback();
    } catch (const EDatabaseError&) {
        // Nothing left to undo: SQLite already rolled back after the failure.
    }
}

void TSqlTransaction::Commit()
{
    m_database.Commit();
    m_done = true;
}

std::string DateTimeToIso(TDateTime value)
{
    std::uint16_t year, month, day, hour, minute, second, msec;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    char text[48];  // room for the widest value of every part, so nothing can be cut
    if (msec)
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", year, month, day, hour, minute, second, msec);
    else
        std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", year, month, day, hour, minute, second);
    return text;
}

namespace {

bool ReadNumber(std::string_view text, std::size_t at, std::size_t digits, int& value)
{
    if (at + digits > text.size())
        return false;
    value = 0;
    for (std::size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

}  // namespace

bool TryIsoToDateTime(std::string_view text, TDateTime& value)
{
    int year, month, day;
    if (!ReadNumber(text, 0, 4, year) || text.size() < 10 || text[4] != '-' || !ReadNumber(text, 5, 2, month) ||
        text[7] != '-' || !ReadNumber(text, 8, 2, day))
        return false;
    TDateTime date;
    if (!TryEncodeDate(year, month, day, date))
        return false;
    if (text.size() == 10) {
        value = date;
        return true;
    }
    int hour, minute, second = 0, msec = 0;
    if ((text[10] != ' ' && text[10] != 'T') || !ReadNumber(text, 11, 2, hour) || text.size() < 16 ||
        text[13] != ':' || !ReadNumber(text, 14, 2, minute))
        return false;
    std::size_t at = 16;
    if (at < text.size() && text[at] == ':') {
        if (!ReadNumber(text, at + 1, 2, second))
            return false;
        at += 3;
        if (at < text.size() && text[at] == '.') {
            if (!ReadNumber(text, at + 1, 3, msec))
                return false;
            at += 4;
        }
    }
    TDateTime time;
    if (at != text.size() || !TryEncodeTime(hour, minute, second, msec, time))
        return false;
    value = date >= 0 ? date + time : date - time;
    return true;
}
