#pragma once

#include "grid/core/DataGridGx.h"
#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxBookmarkList.h"
#include "grid/core/DBGridGxDataLink.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <memory>
#include <string>
#include <vector>

// A stand-in for the data grid: it owns columns and a data link as the data grid will, and
// records what they ask of it.
class TTestDataGrid : public TComponent, public IDataGridGx {
    CLASSLIB_DECLARE_CLASS;

    explicit TTestDataGrid(TComponent* owner);
    ~TTestDataGrid() override;

    [[nodiscard]] TDBGridColumnsGx* ColumnsProperty() const { return m_columns.get(); }
    void SetColumnsProperty(TDBGridColumnsGx* columns) { m_columns->Assign(columns); }

    // ---- IDataGridGx
    TComponent* GridComponent() override { return this; }
    bool GridLoading() const override { return IsLoading() || Loading; }
    bool GridReadOnly() const override { return ReadOnlyGrid; }
    bool GridHasWindow() const override { return HasWindow; }
    TGridDataLinkGx& DataLink() override { return *m_link; }
    TDBGridColumnsGx& Columns() override { return *m_columns; }
    TColor GridColor() const override { return Color; }
    TFont& GridFont() override { return Font; }
    TFont& GridTitleFont() override { return TitleFont; }
    TImeMode GridImeMode() const override { return imDontCare; }
    std::string GridImeName() const override { return {}; }
    TBiDiMode GridBiDiMode() const override { return bdLeftToRight; }
    int DefaultColWidth() const override { return 64; }
    bool ColumnDefaultFlag(TColumnDefaultFlagGx flag) const override { return DefaultFlags.count(flag) > 0; }
    TTextLayout ColumnDefaultLayout() const override { return tlCenter; }
    TColumnTitleDefaultsGx TitleDefaults() const override { return Titles; }
    bool DrawMemoText() const override { return MemoText; }
    bool MultiSortMarking() const override { return MultiSort; }
    std::vector<TColumnGx*>& SortMarkedColumns() override { return SortList; }
    int SortNumberWidth(int sortIndex) override { return 6 * static_cast<int>(std::to_string(sortIndex).size()); }
    void LockLayout() override { ++LayoutLocks; }
    void UnlockLayout() override { --LayoutLocks; }
    bool LayoutFromDataSet() const override { return FromDataSet; }
    void SetLayoutFromDataSet(bool value) override { FromDataSet = value; }
    bool FitsColumnWidths() const override { return FitWidths; }
    bool ColumnLines() const override { return true; }
    bool UseMultiTitle() const override { return false; }
    int IndicatorOffset() const override { return 1; }
    int GridColCount() const override { return m_columns->Count() + 1; }
    int GridColWidth(int gridCol) const override;
    void SetGridColWidth(int gridCol, int width) override { ColWidths[gridCol] = width; }
    void InvalidateGridCol(int) override {}
    void InvalidateGrid() override { Log.push_back("invalidate"); }
    void RelayoutTitles() override {}
    void RelayoutColumns() override {}
    void RebuildColumns() override { Log.push_back("rebuild"); }
    void ColumnsUpdated() override {}
    void FitColumnsToContent(const std::vector<TColumnGx*>&) override { Log.push_back("fit"); }
    bool EditorShowing() const override { return false; }
    std::string EditorText() const override { return {}; }
    bool AllowsChange(bool) const override { return true; }
    void LinkActiveChanged(bool active) override { Log.push_back(active ? "active" : "inactive"); }
    void LinkDataSetChanged() override { Log.push_back("changed"); }
    void LinkDataSetScrolled(int distance) override { Log.push_back("scrolled " + std::to_string(distance)); }
    void LinkLayoutChanged() override { Log.push_back(FromDataSet ? "layout from data set" : "layout"); }
    void LinkRecordChanged(TField* field) override;
    void LinkEditingChanged() override { Log.push_back("editing"); }
    bool FocusField(TField* field) override;
    void ShowCellEditor() override { Log.push_back("show editor"); }
    void WriteEditorToField() override;
    void InvalidateCurrentRow() override { Log.push_back("invalidate row"); }
    int TitleRowCount() const override { return 1; }
    int VisibleDataRowCount() const override { return VisibleRows; }
    int TopRecordNumber() const override { return TopRecord; }
    bool RecordsNumbered() const override { return true; }
    bool SelectingRecordBookmarks() const override { return SelectionKind == "bookmarks"; }
    void SelectRecordBookmarks() override { SelectionKind = "bookmarks"; }
    void RefreshSelection() override;
    void SelectionChanged() override { Log.push_back("selection changed"); }
    void StyleGone(TDBGridGxStyle*) override { Log.push_back("style gone"); }

    // What the tests set and read.
    TFont Font;
    TFont TitleFont;
    TColor Color = clWindow;
    bool ReadOnlyGrid = false;
    bool HasWindow = false;
    bool Loading = false;
    bool MemoText = false;
    bool MultiSort = true;
    bool FitWidths = false;
    bool FromDataSet = false;
    std::set<TColumnDefaultFlagGx> DefaultFlags;
    TColumnTitleDefaultsGx Titles;
    std::vector<TColumnGx*> SortList;
    std::map<int, int> ColWidths;
    int LayoutLocks = 0;
    int VisibleRows = 10;
    int TopRecord = 1;
    std::string SelectionKind = "rectangle";
    std::vector<std::string> Log;
    // What WriteEditorToField does; it may call the link again.
    std::function<void()> OnWriteEditor;
    TBookmarkListGx* SelectedRows = nullptr;

private:
    std::unique_ptr<TGridDataLinkGx> m_link;
    std::unique_ptr<TDBGridColumnsGx> m_columns;
};

// A table in a temporary SQLite database behind a TADOQuery, shown by a TTestDataGrid.
class GridDataFixture : public ::testing::Test {
protected:
    GridDataFixture();
    ~GridDataFixture() override;

    // Runs `sql` on the database (CREATE, INSERT ...).
    void Exec(const std::string& sql);
    // A query on the database; not open.
    [[nodiscard]] std::unique_ptr<TADOQuery> Query(const std::string& sql) const;
    // Opens the query and binds the grid to it.
    void Show(const std::string& sql);
    TColumnGx& AddColumn(const std::string& fieldName);
    void Edit(const std::function<void()> change);

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
    std::unique_ptr<TTestDataGrid> m_grid;
};
