#pragma once

#include "platform/classlib/core/Alignment.h"
#include "platform/classlib/core/Colors.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"

#include <string>
#include <vector>

class TColumnGx;
class TComponent;
class TDBGridColumnsGx;
class TField;
class TFont;
class TDBGridGxStyle;
class TGridDataLinkGx;

// The class library's input-method and reading-direction vocabulary, as far as columns keep it.
enum TImeMode {
    imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese, imSHanguel,
    imHanguel
};
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TTextOrientationGx { tohHorizontal, tohVertical };

// The Boolean column defaults a grid keeps for its columns (its ColumnDefValues).
enum TColumnDefaultFlagGx {
    cdfAlwaysShowEditButton,
    cdfAutoDropDown,
    cdfDblClickNextVal,
    cdfDropDownShowTitles,
    cdfDropDownSizing,
    cdfEndEllipsis,
    cdfHighlightRequired,
    cdfToolTips,
};

// What an unassigned column title reads from its grid (the grid's ColumnDefValues.Title).
struct TColumnTitleDefaultsGx {
    TAlignment Alignment = taLeftJustify;
    TColor Color = clBtnFace;
    bool EndEllipsis = false;
    TTextOrientationGx Orientation = tohHorizontal;
    bool TitleButton = false;
    bool ToolTips = false;
};

// The data grid as its columns, its data link and its list of selected rows see it. The data
// grid (TCustomDBGridGx) implements it; the column model, the link and the list know the grid only
// through here, so each can be built and tested without the grid's window.
class IDataGridGx {
public:
    // ---- The grid as a component, its state and its parts
    [[nodiscard]] virtual TComponent* GridComponent() = 0;
    [[nodiscard]] virtual bool GridLoading() const = 0;
    [[nodiscard]] virtual bool GridReadOnly() const = 0;
    [[nodiscard]] virtual bool GridHasWindow() const = 0;
    [[nodiscard]] virtual TGridDataLinkGx& DataLink() = 0;
    [[nodiscard]] virtual TDBGridColumnsGx& Columns() = 0;

    // ---- Defaults of unassigned column and title properties
    [[nodiscard]] virtual TColor GridColor() const = 0;
    [[nodiscard]] virtual TFont& GridFont() = 0;
    [[nodiscard]] virtual TFont& GridTitleFont() = 0;
    [[nodiscard]] virtual TImeMode GridImeMode() const = 0;
    [[nodiscard]] virtual std::string GridImeName() const = 0;
    [[nodiscard]] virtual TBiDiMode GridBiDiMode() const = 0;
    [[nodiscard]] virtual int DefaultColWidth() const = 0;
    [[nodiscard]] virtual bool ColumnDefaultFlag(TColumnDefaultFlagGx flag) const = 0;
    [[nodiscard]] virtual TTextLayout ColumnDefaultLayout() const = 0;
    [[nodiscard]] virtual TColumnTitleDefaultsGx TitleDefaults() const = 0;
    // The grid draws a memo field's text (DrawMemoText).
    [[nodiscard]] virtual bool DrawMemoText() const = 0;

    // ---- Sort markers: the columns marked for sorting, in sort order (the grid owns the list)
    [[nodiscard]] virtual bool MultiSortMarking() const = 0;
    [[nodiscard]] virtual std::vector<TColumnGx*>& SortMarkedColumns() = 0;
    // Width of a sort number in the library's sort-number font.
    [[nodiscard]] virtual int SortNumberWidth(int sortIndex) = 0;

    // ---- Layout, for the columns collection's change notification
    virtual void LockLayout() = 0;
    virtual void UnlockLayout() = 0;
    // A layout change coming from the data set is being applied.
    [[nodiscard]] virtual bool LayoutFromDataSet() const = 0;
    virtual void SetLayoutFromDataSet(bool value) = 0;
    // The grid fits its columns to its client width (and is not being designed).
    [[nodiscard]] virtual bool FitsColumnWidths() const = 0;
    [[nodiscard]] virtual bool ColumnLines() const = 0;
    [[nodiscard]] virtual bool UseMultiTitle() const = 0;
    // Grid column of the first data column (the indicator column before it, if any).
    [[nodiscard]] virtual int IndicatorOffset() const = 0;
    [[nodiscard]] virtual int GridColCount() const = 0;
    [[nodiscard]] virtual int GridColWidth(int gridCol) const = 0;
    virtual void SetGridColWidth(int gridCol, int width) = 0;
    virtual void InvalidateGridCol(int gridCol) = 0;
    virtual void InvalidateGrid() = 0;
    virtual void RelayoutTitles() = 0;
    virtual void RelayoutColumns() = 0;
    // Rebuilds the grid's columns from the collection (a change of everything).
    virtual void RebuildColumns() = 0;
    // After a column change: select a visible column when the selected one is hidden, and
    // refresh unless the grid's update lock is held.
    virtual void ColumnsUpdated() = 0;
    // A column moved from one place in the collection to another.
    virtual void ColumnIndexChanged(int /*from*/, int /*to*/) {}
    // Fits the columns' widths to their content.
    virtual void FitColumnsToContent(const std::vector<TColumnGx*>& columns) = 0;

    // ---- Editing
    [[nodiscard]] virtual bool EditorShowing() const = 0;
    [[nodiscard]] virtual std::string EditorText() const = 0;
    // The grid's allowed operations permit changing the current record (with an empty data set:
    // inserting or appending).
    [[nodiscard]] virtual bool AllowsChange(bool dataSetEmpty) const = 0;

    // ---- Notifications the data link forwards
    virtual void LinkActiveChanged(bool active) = 0;
    virtual void LinkDataSetChanged() = 0;
    virtual void LinkDataSetScrolled(int distance) = 0;
    virtual void LinkLayoutChanged() = 0;
    virtual void LinkRecordChanged(TField* field) = 0;
    virtual void LinkEditingChanged() = 0;
    // Selects the column bound to field; answers whether the grid then has field selected and
    // took the focus (the request is then consumed and the cell editor shown).
    [[nodiscard]] virtual bool FocusField(TField* field) = 0;
    virtual void ShowCellEditor() = 0;
    // Writes the editor's text into the current field.
    virtual void WriteEditorToField() = 0;

    // ---- The list of selected rows
    virtual void InvalidateCurrentRow() = 0;
    // The shown data rows: title rows above them, the first shown record's number (records with
    // numbers) and how many are visible.
    [[nodiscard]] virtual int TitleRowCount() const = 0;
    [[nodiscard]] virtual int VisibleDataRowCount() const = 0;
    [[nodiscard]] virtual int TopRecordNumber() const = 0;
    [[nodiscard]] virtual bool RecordsNumbered() const = 0;
    // The selection object: Refresh (an empty bookmark selection falls back to none), clearing a
    // different kind of selection for record bookmarks, and SelectionChanged.
    [[nodiscard]] virtual bool SelectingRecordBookmarks() const = 0;
    virtual void SelectRecordBookmarks() = 0;
    virtual void RefreshSelection() = 0;
    virtual void SelectionChanged() = 0;

    // ---- Footers: the colour of an unassigned footer, and a footer changed (`sums`: what it adds
    // up changed too).
    [[nodiscard]] virtual TColor FooterColor() const { return clWindow; }
    // The font of an unassigned footer; none: the column's.
    [[nodiscard]] virtual TFont* GridFooterFont() const { return nullptr; }
    virtual void FootersChanged(bool /*sums*/) {}

    // ---- The style the grid registered with is going away; the grid drops it.
    virtual void StyleGone(TDBGridGxStyle* style) = 0;

protected:
    ~IDataGridGx() = default;
};
