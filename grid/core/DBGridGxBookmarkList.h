#pragma once

#include "grid/core/BMListGx.h"

class IDataGridGx;

// A grid rectangle of cells: left column, top row, right column, bottom row.
struct TGridRectGx {
    int Left = -1;
    int Top = -1;
    int Right = -1;
    int Bottom = -1;
    friend bool operator==(const TGridRectGx&, const TGridRectGx&) = default;
};

// The data grid's selected rows (SelectedRows): the bookmark list bound to one grid, its data set,
// its repainting and its selection.
class TBookmarkListGx : public TBMListGx {
public:
    explicit TBookmarkListGx(IDataGridGx& grid) : m_grid(grid) {}

    void MarkCurrent(bool value) override;
    void ClearBookmarks() override;
    // The rows of the shown selected records, (-1, -1, -1, -1) when none of them is selected.
    [[nodiscard]] TGridRectGx SelectionToGridRect(int colCount);

protected:
    [[nodiscard]] TDataSet* ListDataSet() const override;
    void RepaintSelection() override;
    void StateChanged() override;

private:
    // Widens first..last by the row when the record shown there is selected.
    void CountRow(int& first, int& last, int row);

    IDataGridGx& m_grid;
};
