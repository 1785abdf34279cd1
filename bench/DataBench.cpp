#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "modem/ModemSchema.h"
#include "platform/classlib/data/SqliteDatabase.h"
#include "platform/classlib/core/StringLists.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <string>

// Each data-layer figure beside the same work done with the SQLite C API directly.

namespace {

std::filesystem::path BenchFile(const char* name)
{
    return std::filesystem::temp_directory_path() / name;
}

// A phonebook of `rows` contacts, made once per file.
std::string Phonebook(int rows)
{
    const auto path = BenchFile("databench-phonebook.mdb");
    if (!std::filesystem::exists(path)) {
        auto database = TSqliteDatabase::Open(path.string(), ModemSchemaSql());
        TSqlTransaction transaction(*database);
        for (int i = 0; i < rows; ++i)
            database->Execute("INSERT INTO PB (NAME, NUM) VALUES (?, ?)",
                              {Variant("Name " + std::to_string(i)), Variant(std::to_string(5550000 + i))});
        transaction.Commit();
    }
    return path.string();
}

std::unique_ptr<TADOQuery> PhonebookQuery(const std::string& path, const char* sql)
{
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + path + ";Persist Security Info=True");
    query->SQL()->SetText(sql);
    return query;
}

constexpr int Rows = 100000;

void OpenQuery(benchmark::State& state)
{
    const std::string path = Phonebook(Rows);
    for (auto _ : state) {
        auto query = PhonebookQuery(path, "SELECT * FROM PB ORDER BY NAME ASC");
        query->Open();
        benchmark::DoNotOptimize(query->RecordCount());
    }
}
BENCHMARK(OpenQuery)->Unit(benchmark::kMillisecond);

void OpenQuerySqlite(benchmark::State& state)
{
    const std::string path = Phonebook(Rows);
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT * FROM PB ORDER BY NAME COLLATE NOCASE ASC", -1, &statement, nullptr);
        std::vector<std::string> names;
        while (sqlite3_step(statement) == SQLITE_ROW)
            names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)));
        sqlite3_finalize(statement);
        sqlite3_close(db);
        benchmark::DoNotOptimize(names.size());
    }
}
BENCHMARK(OpenQuerySqlite)->Unit(benchmark::kMillisecond);

class GridLink : public TDataLink {};

void ScrollWindow(benchmark::State& state)
{
    auto query = PhonebookQuery(Phonebook(Rows), "SELECT * FROM PB ORDER BY NAME ASC");
    TDataSource source(nullptr);
    source.SetDataSet(query.get());
    GridLink link;
    link.SetDataSource(&source);
    link.SetBufferCount(30);
    query->Open();
    TField* name = query->FieldByName("NAME");
    for (auto _ : state) {
        std::size_t length = 0;
        for (query->First(); !query->Eof(); query->Next()) {
            for (int row = 0; row < link.RecordCount(); ++row) {
                link.SetActiveRecord(row);
                length += name->AsString().size();
            }
        }
        benchmark::DoNotOptimize(length);
    }
}
BENCHMARK(ScrollWindow)->Unit(benchmark::kMillisecond);

void ScrollWindowSqlite(benchmark::State& state)
{
    const std::string path = Phonebook(Rows);
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state) {
        // Every row read 30 times, as a 30-row window painted at each step reads it.
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "SELECT NAME FROM PB ORDER BY NAME COLLATE NOCASE", -1, &statement, nullptr);
        std::size_t length = 0;
        while (sqlite3_step(statement) == SQLITE_ROW)
            for (int paint = 0; paint < 30; ++paint)
                length += std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))).size();
        sqlite3_finalize(statement);
        benchmark::DoNotOptimize(length);
    }
    sqlite3_close(db);
}
BENCHMARK(ScrollWindowSqlite)->Unit(benchmark::kMillisecond);

constexpr int Inserts = 10000;

// A fresh call-log database that does not wait for the disk on each commit, so that both sides
// measure their own work rather than fsync. Only the benchmark turns this off: the manager keeps
// SQLite's default. The query shares the returned connection while it is held.
std::shared_ptr<TSqliteDatabase> FreshUnsyncedDatabase(const std::filesystem::path& path)
{
    std::filesystem::remove(path);
    auto database = TSqliteDatabase::Open(path.string(), ModemSchemaSql());
    database->Execute("PRAGMA synchronous = OFF");
    return database;
}

void InsertPosts(benchmark::State& state)
{
    for (auto _ : state) {
        const auto path = BenchFile("databench-insert.mdb");
        const auto database = FreshUnsyncedDatabase(path);
        auto query = PhonebookQuery(path.string(), "SELECT * FROM CI");
        query->Open();
        TField* name = query->FieldByName("NAME");
        TField* duration = query->FieldByName("DUR");
        for (int i = 0; i < Inserts; ++i) {
            query->Append();
            name->SetAsString("Unknown");
            duration->SetAsString("00:00:01");
            query->Post();
        }
        benchmark::DoNotOptimize(query->RecordCount());
    }
}
BENCHMARK(InsertPosts)->Unit(benchmark::kMillisecond)->Iterations(1);

void InsertPostsSqlite(benchmark::State& state)
{
    for (auto _ : state) {
        const auto path = BenchFile("databench-insert-c.mdb");
        (void)FreshUnsyncedDatabase(path);
        sqlite3* db = nullptr;
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_exec(db, "PRAGMA synchronous = OFF", nullptr, nullptr, nullptr);
        sqlite3_stmt* statement = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO CI (NAME, DUR) VALUES (?, ?)", -1, &statement, nullptr);
        for (int i = 0; i < Inserts; ++i) {
            // One transaction per row, as each Post is.
            sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
            sqlite3_bind_text(statement, 1, "Unknown", -1, SQLITE_STATIC);
            sqlite3_bind_text(statement, 2, "00:00:01", -1, SQLITE_STATIC);
            sqlite3_step(statement);
            sqlite3_reset(statement);
            sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        }
        sqlite3_finalize(statement);
        sqlite3_close(db);
    }
}
BENCHMARK(InsertPostsSqlite)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
