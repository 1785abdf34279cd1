// The cost of repainting one visible page of a base grid (400 x 300 pixels, about 5 columns by 11
// rows shown, each cell with a line of text) in a grid of 100 rows and in one of 100,000 rows: the
// two must cost the same, since painting walks only the rows on the screen.
//
// The data grid over a TADOQuery on an SQLite table does the same: repainting a page over 100 and
// 100,000 records, and paging from the first record to the last of 100,000; each is set beside
// SQLite's own C API stepping the same rows, the floor any grid over that table stands on.
// Opening a grid on the query and painting its first page is set beside opening the query alone
// (what the data set costs) and beside SQLite preparing the query and stepping the first page.

#include "grid/core/DBGridGx.h"
#include "grid/core/GridsGx.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

namespace {

class TBenchGrid : public TCustomGridGx {
public:
    using TCustomGridGx::TCustomGridGx;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState /*state*/) override
    {
        const std::string text = std::to_string(row) + ":" + std::to_string(col);
        Canvas()->TextRect(rect, rect.left + 2, rect.top + 2, text);
    }
};

void RepaintVisiblePage(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    const auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 340);
    auto* grid = new TBenchGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCount(10);
    grid->SetRowCount(static_cast<int>(state.range(0)));
    form->Show();
    grid->FocusCell(1, grid->RowCount() / 2, true); // a page in the middle
    grid->Update();
    for (auto _ : state) {
        grid->Invalidate();
        grid->Update();
    }
    state.counters["rows"] = static_cast<double>(grid->RowCount());
}

// A table of `rows` people (ID, NAME, SEL) in a database file made once per size and process.
std::string PeopleDatabase(int rows)
{
    static std::map<int, std::string> made;
    if (const auto found = made.find(rows); found != made.end())
        return found->second;
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("gridbench-" + std::to_string(getpid()) + "-" + std::to_string(rows) + ".db");
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    (void)sqlite3_open(path.c_str(), &db);
    const std::string sql = "CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), SEL BOOLEAN);"
                            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < " +
                            std::to_string(rows) + ") INSERT INTO P SELECT x, 'Name ' || x, x % 2 FROM n;";
    (void)sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
    (void)sqlite3_close(db);
    return made.emplace(rows, path.string()).first->second;
}

// The people query of one database, open.
std::unique_ptr<TADOQuery> OpenPeople(int rows)
{
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + PeopleDatabase(rows));
    query->SQL()->SetText("SELECT ID, NAME, SEL FROM P ORDER BY ID");
    query->Open();
    return query;
}

// A data grid bound to the people of one database, shown on its own form.
struct TShownPeople {
    explicit TShownPeople(int rows)
    {
        (void)SelectHeadlessDisplay();
        Query = OpenPeople(rows);
        Source = std::make_unique<TDataSource>(nullptr);
        Source->SetDataSet(Query.get());
        Form = std::make_unique<TForm>(nullptr);
        Form->SetBounds(0, 0, 440, 340);
        Grid = new TDBGridGx(Form.get());
        Grid->SetParent(Form.get());
        Grid->SetBounds(0, 0, 400, 300);
        Grid->SetOptions({dgTitles, dgIndicator, dgColLines, dgRowLines, dgRowSelect});
        for (const char* name : {"NAME", "SEL"})
            Grid->Columns().Add()->SetFieldName(name);
        Grid->SetDataSource(Source.get());
        Form->Show();
        Application->ProcessMessages();
    }
    ~TShownPeople()
    {
        Form.reset();
        Source.reset();
        Query.reset();
    }
    TShownPeople(const TShownPeople&) = delete;
    TShownPeople& operator=(const TShownPeople&) = delete;

    std::unique_ptr<TADOQuery> Query;
    std::unique_ptr<TDataSource> Source;
    std::unique_ptr<TForm> Form;
    TDBGridGx* Grid = nullptr;
};

// SQLite reads `count` rows from `first` (1-based), touching each column as a painted row does.
void StepRows(sqlite3* db, int first, int count)
{
    sqlite3_stmt* statement = nullptr;
    (void)sqlite3_prepare_v2(db, "SELECT ID, NAME, SEL FROM P ORDER BY ID LIMIT ? OFFSET ?", -1, &statement, nullptr);
    (void)sqlite3_bind_int(statement, 1, count);
    (void)sqlite3_bind_int(statement, 2, first - 1);
    while (sqlite3_step(statement) == SQLITE_ROW) {
        benchmark::DoNotOptimize(sqlite3_column_int(statement, 0));
        benchmark::DoNotOptimize(sqlite3_column_text(statement, 1));
        benchmark::DoNotOptimize(sqlite3_column_int(statement, 2));
    }
    (void)sqlite3_finalize(statement);
}

void DataGridRepaintPage(benchmark::State& state)
{
    TShownPeople shown(static_cast<int>(state.range(0)));
    shown.Query->SetRecNo(shown.Query->RecordCount() / 2); // a page in the middle
    shown.Grid->Update();
    for (auto _ : state) {
        shown.Grid->Invalidate();
        shown.Grid->Update();
    }
    state.counters["visible"] = shown.Grid->VisibleDataRowCount();
}

void SqliteStepPage(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    sqlite3* db = nullptr;
    (void)sqlite3_open_v2(PeopleDatabase(rows).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    TShownPeople shown(rows); // only for the page size the grid shows
    const int page = shown.Grid->VisibleDataRowCount();
    for (auto _ : state)
        StepRows(db, rows / 2, page);
    (void)sqlite3_close(db);
    state.counters["visible"] = page;
}

void DataGridPageToTheEnd(benchmark::State& state)
{
    TShownPeople shown(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        shown.Query->First();
        while (!shown.Query->Eof()) {
            shown.Grid->Perform(WM_VSCROLL, SB_PAGEDOWN, 0);
            shown.Grid->Update();
        }
    }
    state.counters["rows"] = shown.Query->RecordCount();
}

void SqliteStepToTheEnd(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    sqlite3* db = nullptr;
    (void)sqlite3_open_v2(PeopleDatabase(rows).c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    for (auto _ : state)
        StepRows(db, 1, rows);
    (void)sqlite3_close(db);
    state.counters["rows"] = rows;
}

void DataGridOpenFirstPage(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    (void)PeopleDatabase(rows);
    for (auto _ : state) {
        TShownPeople shown(rows);
        shown.Grid->Update();
        benchmark::DoNotOptimize(shown.Grid->VisibleDataRowCount());
    }
}

void QueryOpenOnly(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    (void)PeopleDatabase(rows);
    for (auto _ : state)
        benchmark::DoNotOptimize(OpenPeople(rows)->RecordCount());
}

void SqliteOpenFirstPage(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    const std::string path = PeopleDatabase(rows);
    int page = 0;
    {
        TShownPeople shown(rows); // only for the page size the grid shows
        page = shown.Grid->VisibleDataRowCount();
    }
    for (auto _ : state) {
        sqlite3* db = nullptr;
        (void)sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
        StepRows(db, 1, page);
        (void)sqlite3_close(db);
    }
    state.counters["visible"] = page;
}

} // namespace

BENCHMARK(DataGridOpenFirstPage)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(QueryOpenOnly)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteOpenFirstPage)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(RepaintVisiblePage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataGridRepaintPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(SqliteStepPage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(DataGridPageToTheEnd)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(SqliteStepToTheEnd)->Arg(100000)->Unit(benchmark::kMillisecond);
