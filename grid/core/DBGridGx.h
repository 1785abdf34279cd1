#pragma once

#include "grid/core/DataGridGx.h"
#include "grid/core/DBGridGxColumnDefValues.h"
#include "grid/core/DBGridGxColumnFilter.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxColumns.h"
#include "grid/core/DBGridGxDataLink.h"
#include "grid/core/DBGridGxEvents.h"
#include "grid/core/DBGridGxFooter.h"
#include "grid/core/DBGridGxScrollBar.h"
#include "grid/core/DBGridGxSelection.h"
#include "grid/core/GridsGx.h"
#include "grid/core/InplaceEditHolderGx.h"

#include <memory>
#include <string>
#include <vector>

class TDataSource;
class TDBGridGxCenter;
class TDBGridGxIndicatorTitle;
class TDBGridGxStyle;
class TPopupMenu;
class TColumnTitleGx;
class TDBGridGxFilterRow;
class TCustomImageList;
struct THintInfo;
class THeadTreeNode;

// The bit positions are fixed: form data relies on them.
enum TDBGridOption {
    dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs,
    dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect
};
using TDBGridOptions = TSet<TDBGridOption>;
[[nodiscard]] const TTypeInfo& DBGridOptionsTypeInfo();
inline constexpr TDBGridOptions DefaultDBGridOptions{dgEditing, dgTitles,   dgIndicator,     dgColumnResize, dgColLines,
                                                     dgRowLines, dgTabs,    dgConfirmDelete, dgCancelOnExit};

enum TDBGridGxOption {
    dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus, dghClearSelection,
    dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab, dghTraceColSizing, dghIncSearch,
    dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth, dghDialogFind, dghRecordMoving
};
using TDBGridGxOptions = TSet<TDBGridGxOption>;
inline constexpr TDBGridGxOptions DefaultDBGridGxOptions{dghFixed3D, dghHighlightFocus, dghClearSelection,
                                                         dghDialogFind};

enum TDBGridGxAllowedOperation { alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx };
using TDBGridGxAllowedOperations = TSet<TDBGridGxAllowedOperation>;

// The standard edit actions a grid takes (its EditActions; none by default).
enum TDBGridGxEditAction { geaCutGx, geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx };
using TDBGridGxEditActions = TSet<TDBGridGxEditAction>;

class TCustomDBGridGx;
using TBuildIndicatorTitleMenuEventGx = TEvent<TCustomDBGridGx*, TPopupMenu*&>;
using TColumnEventGx = TEvent<TColumnGx*>;
// OnGetFooterParams(Sender, DataCol, FooterRow, Column, Font, Background, Alignment, State, Text).
using TGetFooterParamsEventGx =
    TEvent<TObject*, int, int, TColumnGx*, TFont*, TColor&, TAlignment&, TGridDrawState, std::string&>;
// OnColumnMoved(Sender, FromIndex, ToIndex): column indices before and after the move.
using TMovedEventGx = TEvent<TObject*, int, int>;
// OnDrawDataCell(Sender, Rect, Field, State): for grids showing the columns they made themselves.
using TDrawDataCellEventGx = TEvent<TObject*, const TRect&, TField*, TGridDrawState>;
// OnDrawFooterCell(Sender, DataCol, FooterRow, Column, Rect, State).
using TDrawFooterCellEventGx = TEvent<TObject*, int, int, TColumnGx*, const TRect&, TGridDrawState>;
// OnGetBtnParams(Sender, Column, Font, Background, SortMarker, IsDown): a title's look.
using TGetBtnParamsEventGx = TEvent<TObject*, TColumnGx*, TFont*, TColor&, TSortMarkerGx&, bool>;

// The data-aware grid: columns bound to the fields of a data set through a data link, a title
// row, an indicator column marking the current record, and rows that are the records the link
// buffers. The grid's rows never outnumber the rows on screen: moving through the data set moves
// the link's window, so the cost of a paint follows the visible rows, not the records.
class TCustomDBGridGx : public TCustomGridGx, public IDataGridGx, public IInplaceEditHolderGx {
    CLASSLIB_DECLARE_CLASS;

    // Posted to the grid's own window to run a layout once the current change is over.
    static constexpr UINT WM_DEFERRED_LAYOUT = WM_USER + 100;
    // Timer 2 ends an incremental search this long after the last key.
    static constexpr UINT_PTR IncSearchTimerId = 2;
    static constexpr UINT IncSearchTimeoutMs = 1500;
    // The strip along the bottom of the titles where clicks select columns.
    static constexpr int ColumnSelectZoneHeight = 7;
    // Width of the indicator column.
    static constexpr int IndicatorWidth = 11;
    // The side of a drawn check box.
    static constexpr int CheckBoxSize = 13;

    explicit TCustomDBGridGx(TComponent* owner);
    ~TCustomDBGridGx() override;

    // ---- Data
    [[nodiscard]] TDataSource* DataSource() const;
    void SetDataSource(TDataSource* source);
    [[nodiscard]] TField* SelectedField() const;
    [[nodiscard]] TColumnGx* ColumnByFieldName(const std::string& name) const;
    [[nodiscard]] int SelectedIndex() const { return Col() - m_indicatorOffset; }

    // ---- Options
    [[nodiscard]] TDBGridOptions Options() const { return m_options; }
    void SetOptions(TDBGridOptions value);
    [[nodiscard]] TDBGridGxOptions OptionsGx() const { return m_optionsGx; }
    void SetOptionsGx(TDBGridGxOptions value);
    [[nodiscard]] TDBGridGxAllowedOperations AllowedOperations() const { return m_allowedOperations; }
    void SetAllowedOperations(TDBGridGxAllowedOperations value) { m_allowedOperations = value; }
    [[nodiscard]] bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }
    [[nodiscard]] TColor EvenRowColor() const { return m_evenRowColor; }
    void SetEvenRowColor(TColor value);
    [[nodiscard]] TColor OddRowColor() const { return m_oddRowColor; }
    void SetOddRowColor(TColor value);
    [[nodiscard]] TFont* TitleFont() const { return m_titleFont.get(); }
    [[nodiscard]] int FrozenCols() const { return m_frozenCols; }
    void SetFrozenCols(int value);
    [[nodiscard]] int RowLines() const { return m_rowLines; }
    void SetRowLines(int value);
    [[nodiscard]] int RowHeight() const { return m_rowHeight; }
    void SetRowHeight(int value);
    [[nodiscard]] TDBGridGxStyle* Style() const { return m_style; }
    [[nodiscard]] TDBGridGxCenter* Center() const { return m_center; }
    // The centre the grid registered with is going away; the grid drops it.
    void CenterGone(TDBGridGxCenter* center);

    // ---- Edit actions (DBGridGxEditActions.cpp): what the grid can do now, and doing it
    [[nodiscard]] TDBGridGxEditActions EditActions() const { return m_editActions; }
    void SetEditActions(TDBGridGxEditActions value) { m_editActions = value; }
    [[nodiscard]] bool CanEditAction(TDBGridGxEditAction action);
    void ExecuteEditAction(TDBGridGxEditAction action);

    // ---- The indicator title (DBGridGxIndicatorTitle.cpp): a button with a menu
    [[nodiscard]] TDBGridGxIndicatorTitle* IndicatorTitle() const { return m_indicatorTitle.get(); }
    void SetOnBuildIndicatorTitleMenu(const TBuildIndicatorTitleMenuEventGx& handler)
    {
        m_onBuildIndicatorTitleMenu = handler;
    }

    // ---- Fitting the columns to the client width (DBGridGxAutoFit.cpp): autofit columns share
    // what the others leave in proportion to their widths when fitting was switched on.
    [[nodiscard]] bool AutoFitColWidths() const { return m_autoFitColWidths; }
    void SetAutoFitColWidths(bool value);
    [[nodiscard]] int MinAutoFitWidth() const { return m_minAutoFitWidth; }
    void SetMinAutoFitWidth(int value);

    // ---- Selection (DBGridGxSelectionInput.cpp): the selected records, a rectangle of cells,
    // whole columns or everything. The base grid's Selection is its current cell range.
    [[nodiscard]] TBookmarkListGx& SelectedRows() { return *m_selectedRows; }
    [[nodiscard]] TDBGridGxSelection& DataSelection() { return *m_selection; }
    [[nodiscard]] TDBGridGxAllowedSelections AllowedSelections() const { return m_allowedSelections; }
    void SetAllowedSelections(TDBGridGxAllowedSelections value);
    // The bookmark of the record shown in data row `dataRow`.
    [[nodiscard]] TBookmarkStr BookmarkOfRow(int dataRow);
    void SetOnSelectionChanged(const TNotifyEvent& handler) { m_onSelectionChanged = handler; }
    void DoSelectionChanged();

    // ---- Defaults of the columns' unassigned flags, titles and footers
    [[nodiscard]] TColumnDefValuesGx* ColumnDefValues() const { return m_columnDefValues.get(); }
    void SetColumnDefValues(TColumnDefValuesGx* value) { m_columnDefValues->Assign(value); }

    // ---- Title images (DBGridGxTitleCells.cpp): a title with an ImageIndex shows that image
    [[nodiscard]] TCustomImageList* TitleImages() const { return m_titleImages; }
    void SetTitleImages(TCustomImageList* images);

    // ---- Incremental search (DBGridGxIncSearch.cpp), with dghIncSearch
    [[nodiscard]] const std::string& IncSearchText() const { return m_incSearchText; }
    void EndIncSearch();

    // ---- Footers (DBGridGxFooterCells.cpp): rows below the data, fixed to the bottom edge
    [[nodiscard]] int FooterRowCount() const { return m_footerRowCount; }
    void SetFooterRowCount(int value);
    [[nodiscard]] TColor FooterColor() const override { return m_footerColor; }
    [[nodiscard]] TFont* GridFooterFont() const override { return m_footerFont.get(); }
    void SetFooterColor(TColor value);
    [[nodiscard]] TFont* FooterFont() const { return m_footerFont.get(); }
    // Starts inactive: set it active for sum, average and count footers.
    [[nodiscard]] TDBGridGxSumList* SumList() const { return m_sumList.get(); }
    // The text of a column's footer in footer row `footerRow`.
    [[nodiscard]] virtual std::string GetFooterValue(int footerRow, TColumnGx& column);
    void InvalidateFooter();
    void FootersChanged(bool sums) override;

    // ---- Filter row (DBGridGxFilterRow.h): a row under the titles where each column's condition
    // is typed or chosen from a list; applying filters the records through OnApplyFilter, or
    // without a handler in memory.
    [[nodiscard]] TSTDBGridGxFilter* STFilter() const { return m_stFilter.get(); }
    [[nodiscard]] TDBGridGxFilterRow& FilterRow() const { return *m_filterRow; }
    [[nodiscard]] const TNotifyEvent& OnApplyFilter() const { return m_onApplyFilter; }
    void SetOnApplyFilter(const TNotifyEvent& handler) { m_onApplyFilter = handler; }
    void ApplyFilter();
    void ClearColumnFilters();

    // ---- Scroll bars (DBGridGxScrolling.cpp): the vertical one counts records (three positions,
    // first, between and last, for a data set without record numbers); either may be an external
    // TScrollBar.
    [[nodiscard]] TDBGridGxScrollBar* HorzScrollBar() const { return m_horzScrollBar.get(); }
    [[nodiscard]] TVertDBGridGxScrollBar* VertScrollBar() const { return m_vertScrollBar.get(); }
    void ScrollBarsChanged();

    // ---- Layout
    void BeginLayout();
    void EndLayout();
    [[nodiscard]] bool LayoutLocked() const { return m_layoutLock > 0; }
    void LayoutChanged();
    [[nodiscard]] int TitleOffset() const { return m_titleOffset; }
    [[nodiscard]] int DataRowHeight() const { return DefaultRowHeight(); }

    // ---- The cell editor (DBGridGxEditing.cpp)
    // The column of the current cell; none on the indicator or without columns.
    [[nodiscard]] TColumnGx* SelectedColumn() const { return ColumnAtGridCol(Col()); }
    // The text the grid holds for the editor: the cell's text, then what the user typed.
    [[nodiscard]] const std::string& EditText() const { return m_editText; }
    // The editor's text becomes the cell's pending text; false when the cell cannot change now
    // (the data set is put into edit state otherwise).
    bool SetCellEditText(const std::string& text);
    // The button of an ellipsis or drop-down column was clicked.
    virtual void EditButtonClick();
    void SetOnEditButtonClick(const TNotifyEvent& handler) { m_onEditButtonClick = handler; }

    // Scales the grid by multiplier / divisor for a form shown at another resolution (DBGridGxScale.cpp):
    // the grid's fonts and bounds, the fonts set on columns and titles, and the column widths,
    // which keep adding up to the scaled total.
    void ChangeScale(int multiplier, int divisor);

    // The default look of a data cell, for OnDrawColumnCell handlers that set colours first.
    void DrawColumnCellDefault(const TRect& rect, int dataCol, TColumnGx* column, TGridDrawState state);

    // ---- Events
    void SetOnDrawColumnCell(const TDrawColumnCellEventGx& handler) { m_onDrawColumnCell = handler; }
    void SetOnGetCellParams(const TGetCellParamsEventGx& handler) { m_onGetCellParams = handler; }
    [[nodiscard]] const TGetCellParamsEventGx& OnGetCellParams() const { return m_onGetCellParams; }
    void SetOnCellClick(const TColumnEventGx& handler) { m_onCellClick = handler; }
    void SetOnTitleClick(const TColumnEventGx& handler) { m_onTitleClick = handler; }
    [[nodiscard]] const TDrawColumnCellEventGx& OnDrawColumnCell() const { return m_onDrawColumnCell; }
    [[nodiscard]] const TCheckTitleButtonEventGx& OnCheckButton() const { return m_onCheckButton; }
    void SetOnCheckButton(const TCheckTitleButtonEventGx& handler) { m_onCheckButton = handler; }
    [[nodiscard]] const TTitleButtonClickEventGx& OnTitleBtnClick() const { return m_onTitleBtnClick; }
    void SetOnTitleBtnClick(const TTitleButtonClickEventGx& handler) { m_onTitleBtnClick = handler; }
    [[nodiscard]] const TNotifyEvent& OnSortMarkingChanged() const { return m_onSortMarkingChanged; }
    // Replaces the centre's sorting after a sort marker changed by a title click.
    void SetOnSortMarkingChanged(const TNotifyEvent& handler) { m_onSortMarkingChanged = handler; }
    // Kept for the program: whether it sorts the records itself rather than the data set.
    [[nodiscard]] bool SortLocal() const { return m_sortLocal; }
    void SetSortLocal(bool value) { m_sortLocal = value; }
    void SetOnGetFooterParams(const TGetFooterParamsEventGx& handler) { m_onGetFooterParams = handler; }
    [[nodiscard]] const TGetFooterParamsEventGx& OnGetFooterParams() const { return m_onGetFooterParams; }

    // ---- Title row and cell looks (DBGridGxTitleLayout.cpp). A fixed title height: TitleLines
    // lines of the title font plus TitleHeight pixels (both 0: as high as the titles need).
    [[nodiscard]] int TitleHeight() const { return m_titleHeight; }
    void SetTitleHeight(int value);
    [[nodiscard]] int TitleLines() const { return m_titleLines; }
    void SetTitleLines(int value);
    // The room left above and below a vertical title's text.
    [[nodiscard]] int VTitleMargin() const { return m_vTitleMargin; }
    void SetVTitleMargin(int value);
    // The user may size the data rows by dragging a row line; all rows take the new height.
    [[nodiscard]] bool RowSizingAllowed() const { return m_rowSizingAllowed; }
    void SetRowSizingAllowed(bool value);
    // Titles "Group|Caption" share a title cell over neighbouring columns of the same group.
    void SetUseMultiTitle(bool value);
    // The title tree and the leaf of each column, in column order (empty without multi-titles).
    [[nodiscard]] const THeadTreeNode* TitleRoot() const { return m_titleRoot.get(); }
    [[nodiscard]] const std::vector<THeadTreeNode*>& TitleLeaves() const { return m_titleLeaves; }
    // The columns as form data reads and writes them: stored when the program set them up.
    [[nodiscard]] TDBGridColumnsGx* ColumnsCollection() const { return m_columns.get(); }
    [[nodiscard]] bool ColumnsCustomized() const { return m_columns->State() == csCustomizedGx; }
    void SetOnColEnter(const TNotifyEvent& handler) { m_onColEnter = handler; }
    void SetOnColExit(const TNotifyEvent& handler) { m_onColExit = handler; }
    void SetOnColumnMoved(const TMovedEventGx& handler) { m_onColumnMoved = handler; }
    void SetOnDrawDataCell(const TDrawDataCellEventGx& handler) { m_onDrawDataCell = handler; }
    void SetOnDrawFooterCell(const TDrawFooterCellEventGx& handler) { m_onDrawFooterCell = handler; }
    void SetOnGetBtnParams(const TGetBtnParamsEventGx& handler) { m_onGetBtnParams = handler; }

    // ---- IInplaceEditHolderGx (DBGridGxEditorHolder.cpp): the grid hosts editors over its cells
    bool EditorMayModify() const override { return true; }
    void PendingMouseDown(POINT& screenPos, DWORD& time) override;
    bool EditorMessageHook(TWinControl& editor, TMessage& message) override;
    void EditorKeyDown(TWinControl& editor, WORD& key, TShiftState shift) override;
    void EditorKeyPress(TWinControl& editor, char& key) override;
    void EditorKeyUp(TWinControl& editor, WORD& key, TShiftState shift) override;
    bool EditorWantsTabs() const override { return m_options.Contains(dgTabs); }

    // ---- IDataGridGx
    TComponent* GridComponent() override { return this; }
    bool GridLoading() const override;
    bool GridReadOnly() const override { return m_readOnly; }
    bool GridHasWindow() const override { return HandleAllocated(); }
    TGridDataLinkGx& DataLink() override { return *m_dataLink; }
    TDBGridColumnsGx& Columns() override { return *m_columns; }
    TColor GridColor() const override { return Color(); }
    TFont& GridFont() override { return *Font(); }
    TFont& GridTitleFont() override { return *m_titleFont; }
    TImeMode GridImeMode() const override { return imDontCare; }
    std::string GridImeName() const override { return {}; }
    TBiDiMode GridBiDiMode() const override { return bdLeftToRight; }
    int DefaultColWidth() const override { return TCustomGridGx::DefaultColWidth(); }
    bool ColumnDefaultFlag(TColumnDefaultFlagGx flag) const override { return m_columnDefValues->Flag(flag); }
    TTextLayout ColumnDefaultLayout() const override { return m_columnDefValues->Layout(); }
    TColumnTitleDefaultsGx TitleDefaults() const override;
    bool DrawMemoText() const override { return false; }
    bool MultiSortMarking() const override { return m_optionsGx.Contains(dghMultiSortMarking); }
    std::vector<TColumnGx*>& SortMarkedColumns() override { return m_sortMarked; }
    int SortNumberWidth(int sortIndex) override;
    void LockLayout() override { BeginLayout(); }
    void UnlockLayout() override { EndLayout(); }
    bool LayoutFromDataSet() const override { return m_layoutFromDataSet; }
    void SetLayoutFromDataSet(bool value) override { m_layoutFromDataSet = value; }
    bool FitsColumnWidths() const override { return m_autoFitColWidths && HandleAllocated(); }
    bool ColumnLines() const override { return m_options.Contains(dgColLines); }
    bool UseMultiTitle() const override { return m_useMultiTitle; }
    void ColumnIndexChanged(int from, int to) override;
    int IndicatorOffset() const override { return m_indicatorOffset; }
    int GridColCount() const override { return ColCount(); }
    int GridColWidth(int gridCol) const override { return ColumnWidthAt(gridCol); }
    void SetGridColWidth(int gridCol, int width) override { SetColWidths(gridCol, width); }
    void InvalidateGridCol(int gridCol) override { InvalidateCol(gridCol); }
    void InvalidateGrid() override { TCustomGridGx::InvalidateGrid(); }
    void RelayoutTitles() override;
    void RelayoutColumns() override { LayoutChanged(); }
    void RebuildColumns() override { LayoutChanged(); }
    void ColumnsUpdated() override;
    void FitColumnsToContent(const std::vector<TColumnGx*>& columns) override;
    bool EditorShowing() const override;
    std::string EditorText() const override;
    bool AllowsChange(bool dataSetEmpty) const override;
    void LinkActiveChanged(bool active) override;
    void LinkDataSetChanged() override;
    void LinkDataSetScrolled(int distance) override;
    void LinkLayoutChanged() override;
    void LinkRecordChanged(TField* field) override;
    void LinkEditingChanged() override;
    bool FocusField(TField* field) override;
    void ShowCellEditor() override { ShowEditor(); }
    void WriteEditorToField() override;
    void InvalidateCurrentRow() override;
    // The title row and the filter row.
    int TitleRowCount() const override
    {
        return (m_options.Contains(dgTitles) ? 1 : 0) + (m_stFilter->Visible() ? 1 : 0);
    }
    int VisibleDataRowCount() const override;
    int TopRecordNumber() const override;
    bool RecordsNumbered() const override;
    bool SelectingRecordBookmarks() const override { return m_selection->SelectionType() == gstRecordBookmarks; }
    void SelectRecordBookmarks() override;
    void RefreshSelection() override { m_selection->Refresh(); }
    void SelectionChanged() override { m_selection->SelectionChanged(); }
    void StyleGone(TDBGridGxStyle* style) override;

protected:
    // ---- Overridable operations
    virtual void TitleClick(TColumnGx* column);
    // A title pressed: whether it acts as a button (its Title.TitleButton unless OnCheckButton says).
    virtual void CheckTitleButton(int dataCol, bool& enabled);
    virtual void TitleBtnClick(int dataCol, TColumnGx* column);
    virtual void SortMarkingChanged();
    virtual void DrawColumnCell(const TRect& rect, int dataCol, TColumnGx* column, TGridDrawState state);
    virtual void UpdateLayout();
    virtual void UpdateRowCountAndTop();
    virtual void UpdateVertScrollBar();
    virtual void ScrollRows(int distance);
    virtual void SetColumnAttributes();
    [[nodiscard]] virtual bool DataCellColors(bool selected, bool currentRow, TFont& font, TColor& background);
    [[nodiscard]] virtual bool GridHasFocus() const;
    virtual void DeleteCurrentRecord();
    // Steps a check-box or image cell to its next value and posts it.
    virtual void StepCellValue(TColumnGx& column, bool backwards);
    // How Ctrl+F shows the find dialog.
    [[nodiscard]] virtual bool FindDialogModal() const { return true; }
    // Rows a descendant keeps between the titles and the records (a lookup list's special row):
    // fixed like the titles, as tall as a record row, and painted by the descendant.
    [[nodiscard]] virtual int LeadingRowCount() const { return 0; }
    virtual void DrawLeadingCell(int dataCol, int leadingRow, const TRect& rect, TGridDrawState state);
    // The fields the grid makes its own columns for, when the program adds none: the data set's
    // visible fields, in order.
    [[nodiscard]] virtual std::vector<std::string> DefaultColumnFields() const;

    // A grid whose columns are of a class derived from TColumnGx.
    TCustomDBGridGx(TComponent* owner, TClass columnClass);

    // ---- Base grid operations: the cell editor
    [[nodiscard]] TInplaceEdit* CreateEditor() override;
    [[nodiscard]] bool CanEditShow() override;
    [[nodiscard]] bool CanEditModify() override;
    [[nodiscard]] bool CanEditAcceptKey(char key) override;
    [[nodiscard]] std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
    [[nodiscard]] int GetEditLimit() override;
    [[nodiscard]] std::string GetEditMask(int col, int row) override;

    // ---- Base grid operations
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    [[nodiscard]] bool FixedCellPressed(int col, int row) const override;
    bool SelectCell(int col, int row) override;
    void TopLeftChanged() override;
    void ColWidthsChanged() override;
    void Paint() override;
    void CurrentColLeaving() override;
    void CurrentColEntered() override;
    void RowHeightsChanged() override;
    void CellClick() override;
    [[nodiscard]] bool CanCellClick(int x, int y) const override;
    void CellMouseClick(TGridCoord cell, TMouseButton button, TShiftState shift, int x, int y) override;
    // A title dragged to another place takes its column there.
    void ColumnMoved(int from, int to) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void TimedScroll(int direction) override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Loaded() override;
    void DoExit() override;
    void Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    // The rectangle repaints the cells it gained or lost.
    friend class TDBGridGxSelectionRect;
    friend class TDBGridGxFilterRow;

    // ---- Layout (DBGridGxLayout.cpp)
    void BuildDefaultColumns();
    void DropGridMadeColumns();
    [[nodiscard]] bool HasProgramColumns() const;
    void UpdateRowHeights();
    void PostDeferredLayout();
    void DropDeferredLayout();
    void SyncCurrentRow();

    // ---- Painting (DBGridGxPaint.cpp)
    void PaintIndicatorCell(int row, TRect rect);
    void PaintTitleCell(TColumnGx& column, TRect rect);
    void PaintDataCell(int dataCol, int dataRow, TRect rect, TGridDrawState state);
    void FillEmptyCell(TColumnGx* column, const TRect& rect);
    [[nodiscard]] TColor RowColor(TColumnGx& column) const;
    void DrawCheckBox(const TRect& rect, TCheckBoxStateGx state);
    void DrawCellImage(const TRect& rect, TColumnGx& column);
    enum TIndicatorMarkGx { imCurrentGx, imEditingGx, imInsertingGx };
    void DrawIndicatorMark(const TRect& rect, TIndicatorMarkGx mark, TColor color);
    void DrawRaisedEdge(const TRect& rect);

    // ---- Selection by mouse and keys (DBGridGxSelectionInput.cpp)
    [[nodiscard]] bool SelectByTitleClick(TColumnGx* column, TShiftState shift, TGridCoord cell, int y);
    void MarkRowsFromAnchor();
    void StartRectangleDrag(TGridCoord cell, TShiftState shift);
    void DragRectangleTo(int x, int y);
    void StartRowDrag(TGridCoord cell, TShiftState shift);
    void DragRowsTo(int y);
    void MarkRecordsBetween(const TBookmarkStr& from, const TBookmarkStr& to, bool mark);
    void DragColumnsTo(int x);
    void FollowDragToCursor();
    void SelectByDataClick(TGridCoord before, TGridCoord cell, TShiftState shift);
    [[nodiscard]] bool SelectByKey(WORD key, TShiftState shift);
    [[nodiscard]] bool CellSelectedNow(int dataCol);

    // ---- Title cells (DBGridGxTitleCells.cpp)
    void PaintSortMarker(const TColumnTitleGx& title, TSortMarkerGx marker, const TRect& rect);
    void MarkSortOnTitleClick(TColumnGx& column, TShiftState shift, bool button);

    // ---- Title layout (DBGridGxTitleLayout.cpp)
    [[nodiscard]] int TitleRowHeight();
    [[nodiscard]] int TitleNeededHeight(const TColumnGx& column);
    [[nodiscard]] bool FixedTitleHeight() const { return m_titleHeight > 0 || m_titleLines > 0; }
    void MeasureTitleTree();
    [[nodiscard]] int MeasureTitleLevel(THeadTreeNode& parent);
    [[nodiscard]] int MeasureTitleNode(const THeadTreeNode& node);
    // The column's leaf of the multi-line title; null without multi-line titles.
    [[nodiscard]] const THeadTreeNode* TitleLeafOf(int dataCol) const;
    // Where `node` (a leaf, or a band above leaves) stands in client pixels, given the title cell
    // of one of its columns.
    [[nodiscard]] TRect TitleBandRect(const THeadTreeNode& node, int dataCol, const TRect& cell) const;
    void PaintTitleBands();
    void PaintTitleBand(const THeadTreeNode& band, int dataCol, const TRect& cell);
    void PaintTitleCaption(const TColumnTitleGx& title, const TRect& rect, const std::string& caption, bool leaf);

    // ---- Data cell looks (DBGridGxPaint.cpp)
    [[nodiscard]] bool DuplicateOfRecord(TColumnGx& column, int dataRow, int otherRow);
    void PaintRequiredMark(TColumnGx& column, bool currentRow, const TRect& rect);
    void CoverRowLine(TColumnGx& column, const TRect& rect, bool above);

    // ---- Cell tool tips (DBGridGxHints.cpp)
    void CellHint(THintInfo& info);

    // ---- Incremental search (DBGridGxIncSearch.cpp)
    [[nodiscard]] bool IncSearchApplies() const;
    [[nodiscard]] bool IncSearchKey(char key);
    [[nodiscard]] bool IncSearchControlKey(WORD key);
    [[nodiscard]] bool LocateIncSearch(const std::string& wanted);
    void RestartIncSearchTimer();
    void PaintIncSearchMark(const TRect& rect);

    // ---- The indicator title (DBGridGxIndicatorTitle.cpp): false when the press is not its own
    bool IndicatorTitleClick();
    void PopupIndicatorTitleMenu(TPopupMenu& menu);

    // ---- Fitting (DBGridGxAutoFit.cpp)
    void FitColumnsToClient();
    void RebaseSizedColumn(int index, int newWidth);
    [[nodiscard]] int AvailableFitWidth(int othersWidth, int visibleCount) const;

    // ---- Footers (DBGridGxFooterCells.cpp)
    void PaintFooterCell(int dataCol, int footerRow, TRect rect, TGridDrawState state);
    [[nodiscard]] std::string SumText(const TColumnFooterGx& footer, TGroupOperation operation) const;
    [[nodiscard]] int FooterHeight() const;
    void BindFooterSums();
    void FollowDataSetWithSums();

    // ---- The cell editor (DBGridGxEditing.cpp)
    // The key value the pick list's text stands for (Null when none).
    [[nodiscard]] Variant KeyOfPickText(TColumnGx& column, const std::string& text) const;
    [[nodiscard]] static bool AcceptNotInList(TColumnGx& column, const std::string& text);
    void RefreshEditorFromField(TField* field);
    void CancelEditorChange();

    // ---- Scrolling (DBGridGxScrolling.cpp)
    void ShowOwnHorzScrollBar();
    void UpdateHorzExtScrollBar();
    void VertThumbMoved(int code, int position);

    // ---- Filter row (DBGridGxFilterRowCells.cpp)
    void FilterRowSwitched();
    // Keeps the filter editor over its cell after a scroll or a relayout.
    void PlaceFilterEditor();
    [[nodiscard]] bool IsFilterRow(int row) const { return m_stFilter->Visible() && row == TitleRowCount() - 1; }
    [[nodiscard]] bool FilterRowMouseDown(TMouseButton button, TGridCoord cell, int x);
    void RememberPress(int x, int y);
    [[nodiscard]] static bool IsNavigationKey(WORD key);
    void ClearSelectionUnlessShifted(TShiftState shift);
    [[nodiscard]] bool TypeIntoFilterRow(char key);
    // Hands a wheel or cancel-mode message to an active filter editor; false when none is active.
    [[nodiscard]] bool FilterRowMessage(TMessage& message);
    void FilterRowTakesFocus();

    // ---- Best widths (DBGridGxBestWidth.cpp)
    [[nodiscard]] int TitleWidth(TColumnGx& column);
    [[nodiscard]] int RecordsWidth(TColumnGx& column);
    [[nodiscard]] int FootersWidth(TColumnGx& column);

    // ---- Freed components (DBGridGxNotifications.cpp)
    void FieldFreed();

    // ---- Keyboard and mouse (DBGridGxInput.cpp)
    [[nodiscard]] bool MoveRecordBy(int distance);
    // Keys the grid takes itself: false when the base grid is to have them.
    [[nodiscard]] bool ClipboardKey(WORD key, TShiftState shift);
    [[nodiscard]] bool ControlKey(WORD key, TShiftState shift);
    [[nodiscard]] bool PlainKey(WORD key, TShiftState shift);
    bool MoveRows(int distance, TShiftState shift);
    void MoveToScreenEdge(int direction, bool extend);
    [[nodiscard]] bool CanAppendByKey() const;
    void InsertByKey();
    void TabToNextCell(bool backwards);
    void CopyPreviousRecordValue();
    [[nodiscard]] bool ClearSteppedCell();
    void ScrollMessage(int code, int position);
    [[nodiscard]] TColumnGx* ColumnAtGridCol(int gridCol) const;
    [[nodiscard]] bool ColumnCanToggle(TColumnGx& column);
    [[nodiscard]] static bool IsSteppedCell(const TColumnGx& column);
    [[nodiscard]] TColumnGx* KeyedColumn() const;
    void ConfirmAndDelete();
    // Ctrl+F: false when the grid has no find dialog to open.
    bool OpenFindDialog();
    void TakeMouseFocus();
    [[nodiscard]] int DividerColumnAt(int x, int y);

    std::unique_ptr<TDBGridColumnsGx> m_columns;
    std::unique_ptr<TGridDataLinkGx> m_dataLink;
    std::unique_ptr<TFont> m_titleFont;
    std::unique_ptr<TFont> m_footerFont;
    std::unique_ptr<TColumnDefValuesGx> m_columnDefValues;
    std::unique_ptr<TDBGridGxSumList> m_sumList;
    std::unique_ptr<TBookmarkListGx> m_selectedRows;
    std::unique_ptr<TDBGridGxSelection> m_selection;
    TDBGridGxAllowedSelections m_allowedSelections = DefaultAllowedSelections;
    TNotifyEvent m_onSelectionChanged;
    int m_footerRowCount = 0;
    bool m_autoFitColWidths = false;
    int m_minAutoFitWidth = 0;
    TColor m_footerColor = clWindow;
    std::vector<TColumnGx*> m_sortMarked;
    TDBGridGxStyle* m_style = nullptr;
    TDBGridGxCenter* m_center = nullptr;
    TDBGridGxEditActions m_editActions;
    std::unique_ptr<TDBGridGxIndicatorTitle> m_indicatorTitle;
    TBuildIndicatorTitleMenuEventGx m_onBuildIndicatorTitleMenu;
    TCustomImageList* m_titleImages = nullptr;
    TDBGridOptions m_options = DefaultDBGridOptions;
    TDBGridGxOptions m_optionsGx = DefaultDBGridGxOptions;
    TDBGridGxAllowedOperations m_allowedOperations{alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx};
    bool m_readOnly = false;
    TColor m_evenRowColor = clWindow;
    TColor m_oddRowColor = clWindow;
    int m_indicatorOffset = 1;
    int m_titleOffset = 1;
    int m_frozenCols = 0;
    int m_rowLines = 0;
    int m_rowHeight = 0;
    int m_titleRowHeight = 0;
    int m_layoutLock = 0;
    bool m_layoutQueued = false;
    bool m_layoutFromDataSet = false;
    bool m_inLayout = false;
    bool m_syncingRow = false;
    std::string m_editText;
    TNotifyEvent m_onEditButtonClick;
    TGridCoord m_pressedCheckBox{-1, -1};
    int m_clickedCol = -1;
    // The last left press, for a hosted editor to pair its first press with.
    POINT m_pressScreenPos{};
    DWORD m_pressTime = 0;
    // Where Shift with the keys or the mouse began marking rows.
    TBookmarkStr m_rowAnchor;
    // A press on a data cell that dragging turns into a rectangle of cells.
    struct TRectangleDrag {
        bool Active = false;
        TGridCoord Last{-1, -1};
        int AnchorCol = -1;
        TBookmarkStr Anchor;
    } m_rectangleDrag;
    // A press that dragging turns into marked records (over the indicator, or the rows of a
    // row-select grid) or into selected whole columns (over the titles' select zone).
    struct TSelectDrag {
        enum TKind { None, Rows, Columns } Kind = None;
        TBookmarkStr Anchor;
        TBookmarkStr Last;
        bool Mark = true;
    } m_selectDrag;
    std::string m_incSearchText;
    std::string m_incSearchPending;
    struct TPressedTitle {
        TGridCoord Cell{-1, -1};
        TColumnGx* Column = nullptr;
        bool Button = false;
    } m_pressedTitle;
    TDrawColumnCellEventGx m_onDrawColumnCell;
    TGetCellParamsEventGx m_onGetCellParams;
    TColumnEventGx m_onCellClick;
    TColumnEventGx m_onTitleClick;
    TCheckTitleButtonEventGx m_onCheckButton;
    TTitleButtonClickEventGx m_onTitleBtnClick;
    TNotifyEvent m_onSortMarkingChanged;
    bool m_sortLocal = false;
    TGetFooterParamsEventGx m_onGetFooterParams;
    std::unique_ptr<TDBGridGxScrollBar> m_horzScrollBar;
    std::unique_ptr<TVertDBGridGxScrollBar> m_vertScrollBar;
    std::unique_ptr<TSTDBGridGxFilter> m_stFilter;
    std::unique_ptr<TDBGridGxFilterRow> m_filterRow;
    TNotifyEvent m_onApplyFilter;
    int m_titleHeight = 0;
    int m_titleLines = 0;
    int m_vTitleMargin = 10;
    bool m_rowSizingAllowed = false;
    bool m_useMultiTitle = false;
    // Data rows are high enough for wrapped text: more than a line of the grid's font.
    bool m_wordWrapFits = false;
    std::unique_ptr<THeadTreeNode> m_titleRoot;
    std::vector<THeadTreeNode*> m_titleLeaves;
    TNotifyEvent m_onColEnter;
    TNotifyEvent m_onColExit;
    TMovedEventGx m_onColumnMoved;
    TDrawDataCellEventGx m_onDrawDataCell;
    TDrawFooterCellEventGx m_onDrawFooterCell;
    TGetBtnParamsEventGx m_onGetBtnParams;
};

// The grid as forms place it.
class TDBGridGx : public TCustomDBGridGx {
    CLASSLIB_DECLARE_CLASS;
    using TCustomDBGridGx::TCustomDBGridGx;
};
