#pragma once

#include "platform/rtl/Variant.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3_stmt;
struct sqlite3_value;
struct sqlite3_mutex;

// A connection to one SQLite file, the only place that knows SQLite. Every statement is
// prepared and every value travels as a bound parameter, never as SQL text. Values cross as
// Variants: Null, 64-bit integers, doubles and text; Booleans are written as -1/0 and date-times
// as ISO 8601 text ("2024-05-01 13:45:10.250"), so that the database orders them as the manager
// expects. Text compares and sorts without regard to case (the NOCASE collation follows the
// run-time library's dictionary order on this connection).
//
// Failures raise EDatabaseError with SQLite's own explanation.

struct TSqlColumn {
    std::string Name;
    // As declared in the table ("TEXT(50)", "BIT", "DATETIME"); empty for an expression.
    std::string DeclaredType;
    // The table the value comes from; empty for an expression.
    std::string Table;
    // The column's name in that table.
    std::string Origin;
};

struct TSqlRow {
    std::vector<Variant> Values;
};

struct TSqlResult {
    std::vector<TSqlColumn> Columns;
    std::vector<TSqlRow> Rows;
};

class TSqliteDatabase {
    friend class TSqlReader;

public:
    // Opens the file, creating it with `schema` (a script of statements) when it does not exist.
    // The same path opened twice on one thread shares one connection. Each thread has connections
    // of its own and a connection is used only on the thread that opened it, so SQLite takes no
    // lock of its own on every call.
    [[nodiscard]] static std::shared_ptr<TSqliteDatabase> Open(const std::string& path, std::string_view schema);
    ~TSqliteDatabase();
    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

    [[nodiscard]] const std::string& Path() const { return m_path; }

    // Runs one statement and returns every row it produces.
    [[nodiscard]] TSqlResult Query(std::string_view sql, const std::vector<Variant>& params = {});
    // Runs one statement; returns the number of rows changed.
    int Execute(std::string_view sql, const std::vector<Variant>& params = {});
    // Runs a script of several statements without parameters (schemas).
    void ExecuteScript(std::string_view script);
    [[nodiscard]] std::int64_t LastInsertRowId() const;
    // The table's INTEGER PRIMARY KEY column (the row id under its own name), or "".
    [[nodiscard]] std::string RowKeyColumn(const std::string& table);

    void BeginTransaction();
    void Commit();
    void Rollback();

private:
    struct Impl;
    TSqliteDatabase(std::string path, std::unique_ptr<Impl> impl);

    std::string m_path;
    std::unique_ptr<Impl> m_impl;
};

// Steps through the rows of one statement without holding them, for callers that keep the
// values in their own form. The connection must outlive the reader. A reader holds the
// connection's lock while it lives, so another thread's use of the same connection waits for it.
class TSqlReader {
public:
    enum TValueType { vtNull, vtInteger, vtFloat, vtText };

    TSqlReader(TSqliteDatabase& database, std::string_view sql, const std::vector<Variant>& params = {});
    ~TSqlReader();
    TSqlReader(const TSqlReader&) = delete;
    TSqlReader& operator=(const TSqlReader&) = delete;

    [[nodiscard]] const std::vector<TSqlColumn>& Columns() const { return m_columns; }
    [[nodiscard]] int ColumnCount() const { return static_cast<int>(m_columns.size()); }
    // Moves to the next row; false after the last. Raises EDatabaseError when the statement fails.
    [[nodiscard]] bool Next();

    // The current row's values. Blobs read as text; Text stays valid until the next call.
    [[nodiscard]] TValueType Type(int column) const;
    [[nodiscard]] std::int64_t Integer(int column) const;
    [[nodiscard]] double Float(int column) const;
    [[nodiscard]] std::string_view Text(int column) const;
    [[nodiscard]] Variant Value(int column) const;
    // The same, for the type Type(column) gave, without asking again.
    [[nodiscard]] Variant Value(int column, TValueType type) const;

private:
    // The current row's value in that column; nullptr outside a row or the columns, which read as
    // Null, as SQLite reads them.
    [[nodiscard]] sqlite3_value* At(int column) const;

    struct ConnectionUnlock {
        void operator()(sqlite3_mutex* lock) const;
    };

    TSqliteDatabase& m_database;
    std::string m_sql;
    sqlite3_stmt* m_statement = nullptr;
    std::unique_ptr<sqlite3_mutex, ConnectionUnlock> m_lock;
    std::vector<TSqlColumn> m_columns;
    std::vector<sqlite3_value*> m_row;  // the current row's values, valid until the next step
};

// Commits when Commit is called, rolls back when it goes out of scope without.
class TSqlTransaction {
public:
    explicit TSqlTransaction(TSqliteDatabase& database) : m_database(database) { m_database.BeginTransaction(); }
    ~TSqlTransaction();
    TSqlTransaction(const TSqlTransaction&) = delete;
    TSqlTransaction& operator=(const TSqlTransaction&) = delete;
    void Commit();

private:
    TSqliteDatabase& m_database;
    bool m_done = false;
};

// "YYYY-MM-DD HH:MM:SS" with ".zzz" when there are milliseconds.
[[nodiscard]] std::string DateTimeToIso(TDateTime value);
// Reads that form, "YYYY-MM-DD" alone, and a 'T' in place of the blank; false for anything else.
[[nodiscard]] bool TryIsoToDateTime(std::string_view text, TDateTime& value);
