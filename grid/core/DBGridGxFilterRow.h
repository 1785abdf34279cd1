#pragma once

#include "grid/core/DBGridGxLocalFilter.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TColumnGx;
class TCustomDBGridGx;
class TDataSet;
class TField;

// The special items on top of a filter cell's list, by their tags; value items have none.
enum TFilterItemTagGx {
    fitValueGx, fitEmptyGx, fitNotEmptyGx, fitAllGx, fitClearFilterGx, fitLineGx, fitOrderAscendingGx,
    fitOrderDescendingGx
};

// The editor of a filter cell: a drop-down combo box whose list holds the special items and the
// values of the column. Enter applies, Esc closes, Tab is swallowed. An item becomes the choice
// when the list closes on it (or when Enter is pressed after stepping to it in the closed box),
// never while the keys merely pass over it; the close-up then applies.
class TInplaceFilterEditGx : public TCustomComboBox {
    CLASSLIB_DECLARE_CLASS;

    explicit TInplaceFilterEditGx(TComponent* owner);

    std::function<void()> OnApply;
    std::function<void()> OnCancel;
    std::function<void(int index)> OnChoose;

    // Whether the box or its edit has the focus.
    [[nodiscard]] bool HasFocus();

protected:
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void Select() override;
    // Filling the list leaves the typed condition in the box.
    void DropDown() override;
    void CloseUp() override;
    void Dispatch(TMessage& message) override;

private:
    void TakePendingItem();
    // Closes an open list without choosing or applying.
    void CloseListUnchosen();

    std::string m_textBeforeList;
    int m_pendingItem = -1;
    bool m_closedUp = false;
    bool m_cancelled = false;

    // Posted by the close-up so that the list's choice (reported after the close-up) comes first.
    static constexpr UINT WM_APPLY_AFTER_CLOSEUP = WM_USER + 101;
};

// The grid's filter row: a fixed row under the titles with one cell per visible column whose
// filter is visible. It places the one filter editor over the cell being edited, fills its list,
// takes the chosen items and applies the conditions to the data set.
class TDBGridGxFilterRow {
public:
    explicit TDBGridGxFilterRow(TCustomDBGridGx& grid);
    ~TDBGridGxFilterRow();

    [[nodiscard]] bool Active() const { return m_active; }
    // The data column whose cell is being edited, -1 for none.
    [[nodiscard]] int EditedColumn() const { return m_active ? m_dataCol : -1; }
    [[nodiscard]] TInplaceFilterEditGx* Editor() const { return m_editor.get(); }
    [[nodiscard]] bool HasCell(int dataCol) const;

    void ShowEditor(int dataCol);
    // Opens the list of the cell being edited.
    void DropDown();
    void PlaceEditor(bool refill);
    void CloseEditor();
    void Apply();
    // Filters the grid's records in memory by the columns' conditions: what applying does when
    // neither the program nor the data set's class filters.
    void ApplyInMemory();
    void ClearColumnFilters();
    // Fills the editor's list for the column: the special items, then the column's values.
    void FillItems(TColumnGx& column);
    // Takes the item of the editor's list at `index` as the column's condition.
    void ChooseItem(int index);

    void PaintCell(TColumnGx& column, TRect rect);

private:
    void CreateEditor();
    void SetupEditor();
    [[nodiscard]] std::vector<std::string> ColumnValues(TColumnGx& column) const;
    // Over every record, the row's own conditions lifted meanwhile.
    [[nodiscard]] std::vector<std::string> DistinctValues(TDataSet& dataSet, const TField& field) const;
    void TakeEditorText();
    void SortByItem(TColumnGx& column, bool ascending);
    [[nodiscard]] TColumnGx* EditedColumnObject() const;

    TCustomDBGridGx& m_grid;
    std::unique_ptr<TInplaceFilterEditGx> m_editor;
    std::unique_ptr<TDBGridGxLocalFilter> m_localFilter;
    std::vector<int> m_itemTags;
    int m_dataCol = -1;
    bool m_active = false;
};
