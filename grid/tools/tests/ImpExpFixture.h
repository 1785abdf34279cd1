#pragma once

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxMultiTitle.h"
#include "grid/tools/DBGridGxImpExp.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// A data grid whose selection, footers and multi-level titles the test sets.
class TTestImpExpGrid : public TDBGridGxImpExpAdapter {
public:
    using TDBGridGxImpExpAdapter::TDBGridGxImpExpAdapter;

    [[nodiscard]] TSelection SelectionKind() const override { return Kind; }
    [[nodiscard]] std::vector<TBookmark> SelectedBookmarks() const override { return Bookmarks; }
    [[nodiscard]] TRectangle SelectedRectangle() const override { return Rectangle; }
    [[nodiscard]] std::vector<TColumnGx*> SelectedColumns() const override { return Columns; }
    void ClearSelection() override
    {
        Kind = TSelection::None;
        Bookmarks.clear();
        Columns.clear();
    }

    [[nodiscard]] bool UseMultiTitle() const override { return !Leaves.empty(); }
    [[nodiscard]] std::vector<THeadTreeNode*> TitleLeaves() const override { return Leaves; }

    [[nodiscard]] int FooterRowCount() const override { return FooterRows; }
    [[nodiscard]] TFooter Footer(TColumnGx& column, int row) const override
    {
        const auto found = Footers.find({column.Index(), row});
        TFooter footer = found == Footers.end() ? TFooter{} : found->second;
        footer.Font = &FooterFont;
        return footer;
    }
    [[nodiscard]] std::string FooterText(TColumnGx& column, int row) const override
    {
        const auto found = FooterTexts.find({column.Index(), row});
        return found == FooterTexts.end() ? std::string{} : found->second;
    }

    TSelection Kind = TSelection::None;
    std::vector<TBookmark> Bookmarks;
    TRectangle Rectangle;
    std::vector<TColumnGx*> Columns;
    int FooterRows = 0;
    std::map<std::pair<int, int>, TFooter> Footers;
    std::map<std::pair<int, int>, std::string> FooterTexts;
    TFont FooterFont;
    std::unique_ptr<THeadTreeNode> TitleRoot;
    std::vector<THeadTreeNode*> Leaves;
};

// People in a temporary SQLite table, shown by a data grid on a form on the headless screen:
//   ID NAME          NUM AMOUNT
//   1  Ann           10  1.5
//   2  Bo "Boss"     20  2.25
//   3  Cy;<TAB>Dee   30  Null
class ImpExpFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Exec(const std::string& sql) const;
    [[nodiscard]] std::unique_ptr<TADOQuery> Query(const std::string& sql) const;
    // Opens `sql` in the grid's data set with a column for each of the fields named.
    void Show(const std::string& sql, const std::vector<std::string>& fields);
    void ShowPeople() { Show("SELECT * FROM P ORDER BY ID", {"NAME", "NUM", "AMOUNT"}); }
    [[nodiscard]] TColumnGx& Column(int index) const { return *m_db->Columns().ColumnAt(index); }
    // Sum of NUM and count of NAME in footer row 0.
    void AddFooters();
    // The bookmark of the record at `recNo` (the people's IDs are their record numbers).
    [[nodiscard]] TBookmark BookmarkOf(int recNo) const;
    // The stored table, one "NAME|NUM|AMOUNT" line per row in ID order.
    [[nodiscard]] std::vector<std::string> Stored(const std::string& table = "P") const;
    [[nodiscard]] std::string Export(TDBGridGxExportClass exportClass, bool all = false);
    static void Pump();

    HeadlessDisplay* m_display = nullptr;
    TempDir m_dir;
    std::unique_ptr<TForm> m_form;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
    TDBGridGx* m_db = nullptr;
    std::unique_ptr<TTestImpExpGrid> m_grid;
    std::vector<std::string> m_errors;
};

[[nodiscard]] std::string StreamText(TMemoryStreamGx& stream);
