#pragma once

#include "grid/core/DBGridGxBookmarkList.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/data/DB.h"

#include <vector>

class TColumnGx;
class TCustomDBGridGx;

// The kinds of selection a data grid keeps, one at a time.
enum TDBGridGxSelectionType { gstNon, gstRecordBookmarks, gstRectangle, gstColumns, gstAll };
using TDBGridGxAllowedSelections = TSet<TDBGridGxSelectionType>;
inline constexpr TDBGridGxAllowedSelections DefaultAllowedSelections{gstRecordBookmarks, gstRectangle, gstColumns,
                                                                     gstAll};

// A list of columns it does not own.
class TColumnsGxList {
public:
    [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
    [[nodiscard]] TColumnGx* Items(int index) const { return m_items.at(static_cast<std::size_t>(index)); }
    void SetItems(int index, TColumnGx* column) { m_items.at(static_cast<std::size_t>(index)) = column; }
    [[nodiscard]] int IndexOf(const TColumnGx* column) const;
    [[nodiscard]] bool Contains(const TColumnGx* column) const { return IndexOf(column) >= 0; }
    void Append(TColumnGx* column) { m_items.push_back(column); }
    void Insert(int index, TColumnGx* column);
    void Remove(const TColumnGx* column);
    void ClearList() { m_items.clear(); }

protected:
    friend class TDBGridGxSelectionCols;

    std::vector<TColumnGx*> m_items;
};

// Whole columns, kept in the order of the grid's columns. Shift-clicks extend from the anchor
// column and take back what the last run of extensions added when they turn round.
class TDBGridGxSelectionCols : public TColumnsGxList {
public:
    explicit TDBGridGxSelectionCols(TCustomDBGridGx& grid) : m_grid(grid) {}

    void Add(TColumnGx* column);
    void Clear();
    void Toggle(TColumnGx* column);
    void Select(TColumnGx* column, bool keepOthers);
    void SelectShift(TColumnGx* column);
    // Drops columns the grid no longer has and puts the rest back in column order.
    void Refresh();
    [[nodiscard]] TGridRectGx SelectionToGridRect() const;
    [[nodiscard]] TColumnGx* Anchor() const { return m_anchor; }

private:
    void Changed(TColumnGx* column);
    void SortByIndex();

    TCustomDBGridGx& m_grid;
    TColumnGx* m_anchor = nullptr;
    TColumnGx* m_shiftCol = nullptr;
    TColumnsGxList m_shiftSelected;
};

// A rectangle of cells from an anchor cell to a shift cell, each a data column and a record's
// bookmark. One cell alone is no selection.
class TDBGridGxSelectionRect {
public:
    explicit TDBGridGxSelectionRect(TCustomDBGridGx& grid) : m_grid(grid) {}

    [[nodiscard]] bool DataSetActive() const;
    // Both raise EInvalidGridOperationGx without an active data set.
    [[nodiscard]] bool CellSelected(int dataCol, const TBookmarkStr& bookmark) const;
    [[nodiscard]] TBookmarkStr TopRow() const;
    [[nodiscard]] TBookmarkStr BottomRow() const;
    [[nodiscard]] int LeftCol() const;
    [[nodiscard]] int RightCol() const;
    void Clear();
    void Select(int dataCol, const TBookmarkStr& bookmark, bool extend);
    [[nodiscard]] TGridRectGx SelectionToGridRect() const;

private:
    void CheckActive(const char* message) const;
    [[nodiscard]] bool AnchorFirst() const;
    // The grid cells the rectangle covers on screen, by the rows of the shown records.
    [[nodiscard]] TGridRectGx ScreenCells(int left, int right, const TBookmarkStr& top,
                                          const TBookmarkStr& bottom) const;
    void InvalidateDifference(const TGridRectGx& before, const TGridRectGx& after) const;

    TCustomDBGridGx& m_grid;
    int m_anchorCol = -1;
    TBookmarkStr m_anchorRow;
    int m_shiftCol = -1;
    TBookmarkStr m_shiftRow;
};

// The grid's one selection: records (its SelectedRows), a rectangle, whole columns or everything.
class TDBGridGxSelection {
public:
    explicit TDBGridGxSelection(TCustomDBGridGx& grid);
    virtual ~TDBGridGxSelection() = default;
    TDBGridGxSelection(const TDBGridGxSelection&) = delete;
    TDBGridGxSelection& operator=(const TDBGridGxSelection&) = delete;

    [[nodiscard]] TDBGridGxSelectionType SelectionType() const { return m_type; }
    void SetSelectionType(TDBGridGxSelectionType type);
    [[nodiscard]] bool IsCellSelected(int dataCol, const TBookmarkStr& bookmark) const;
    void Clear();
    void SelectAll();
    void LinkActive(bool active);
    // An emptied record or column selection becomes none.
    void Refresh();
    [[nodiscard]] TGridRectGx SelectionToGridRect() const;
    virtual void SelectionChanged();

    [[nodiscard]] TDBGridGxSelectionCols& Columns() { return m_columns; }
    [[nodiscard]] TDBGridGxSelectionRect& Rect() { return m_rect; }

private:
    TCustomDBGridGx& m_grid;
    TDBGridGxSelectionType m_type = gstNon;
    TDBGridGxSelectionCols m_columns;
    TDBGridGxSelectionRect m_rect;
};
