#pragma once

#include "platform/classlib/data/DBDataSet.h"

#include <memory>
#include <string>

class TStrings;
class TStringList;
class TSqliteDatabase;

// The parts of an ADO connection string this stand-in reads: "Provider=...;Data Source=<path>;
// Persist Security Info=True". Names are case-insensitive; values may be quoted. The path may use
// '\' or '/' separators. Raises EDatabaseError when there is no Data Source.
[[nodiscard]] std::string DataSourceOfConnectionString(std::string_view connectionString);

// A query over the SQLite file named by the connection string (created with the manager's schema
// when missing). Open runs SQL and holds every row in memory in the query's order; edits are
// written back to the source table by row key inside a transaction, with bound values. The
// table's integer key column is kept out of the fields. Close and Open run the query again; the
// filter stays.
class TADOQuery : public TDataSet {
    CLASSLIB_DECLARE_CLASS;

    explicit TADOQuery(TComponent* owner);
    ~TADOQuery() override;

    [[nodiscard]] const std::string& ConnectionString() const { return m_connectionString; }
    void SetConnectionString(const std::string& connectionString);
    [[nodiscard]] TStrings* SQL() const;
    void SetSQL(TStrings* sql);
    // Runs SQL as a statement that returns no rows; returns the rows it changed.
    int ExecSQL();
    [[nodiscard]] int RowsAffected() const { return m_rowsAffected; }
    // Writable when the rows come from one table and carry its key.
    [[nodiscard]] bool CanModify() const override;

protected:
    void InternalOpen() override;
    void InternalClose() override;
    void InternalPost(TRecordData& record, bool inserting) override;
    void InternalDelete(const TRecordData& record) override;

private:
    struct Source;

    [[nodiscard]] TSqliteDatabase& Database();
    [[nodiscard]] std::string SqlText() const;

    std::string m_connectionString;
    std::unique_ptr<TStringList> m_sql;
    std::shared_ptr<TSqliteDatabase> m_database;
    std::unique_ptr<Source> m_source;
    int m_rowsAffected = 0;
};
