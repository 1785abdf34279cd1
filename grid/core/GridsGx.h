#pragma once

#include "platform/classlib/forms/Controls.h"
#include "platform/classlib/forms/Mask.h"
#include "grid/core/InvalidGridOperationGx.h"

#include <cstdint>
#include <memory>
#include <vector>

// The base grid of the grid library: a custom-drawn window of cells addressed by column and row,
// with fixed columns and rows at the top left, frozen columns (the rightmost fixed ones, painted
// and selected like data cells), contra columns and rows kept at the right and bottom edges, per
// column widths and per row heights, a current cell, a selection and an in-place editor. It paints
// cells only through DrawCell, which a descendant supplies.

struct TGridCoord {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend constexpr bool operator==(TGridCoord, TGridCoord) = default;
};

struct TGridRect {
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    friend constexpr bool operator==(TGridRect, TGridRect) = default;
};

enum TGridDrawStateFlag { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateFlag>;

using TIntegerArray = std::vector<std::int32_t>;
using TPointArray = std::vector<POINT>;
using TDWORDArray = std::vector<DWORD>;

// The bit positions are fixed: form data and the data grid's option mapping rely on them.
enum TGridOptionGx {
    goFixedVertLines, goFixedHorzLines, goVertLines, goHorzLines, goRangeSelect, goDrawFocusSelected,
    goRowSizing, goColSizing, goRowMoving, goColMoving, goEditing, goTabs, goRowSelect, goAlwaysShowEditor,
    goThumbTracking
};
using TGridOptionsGx = TSet<TGridOptionGx>;
inline constexpr TGridOptionsGx DefaultGridOptionsGx{goFixedVertLines, goFixedHorzLines, goVertLines, goHorzLines,
                                                     goRangeSelect};

enum TGridStateGx { gsNormalGx, gsSelectingGx, gsRowSizingGx, gsColSizingGx, gsRowMovingGx, gsColMovingGx };
enum TGridBorderStyleGx { bsNoneGx, bsSingleGx };
enum TGridScrollBarsGx { ssNoneGx, ssHorizontalGx, ssVerticalGx, ssBothGx };

// Directions of the timed scroll while the mouse is held outside the data area.
enum : int { sdLeftGx = 1, sdRightGx = 2, sdUpGx = 4, sdDownGx = 8 };

class TCustomGridGx;
class TInplaceEdit;

using TGridGxCellMouseEvent = TEvent<TCustomGridGx*, TGridCoord, TMouseButton, TShiftState, int, int>;
using TMovedEvent = TEvent<TObject*, int, int>;

// Extent arrays (column widths, row heights, tab stops): element 0 holds the count n, elements
// 1..n the values of indices 0..n-1; an empty array means every entry has its default.
void ModifyExtents(TIntegerArray& extents, int index, int amount, int defaultValue);
void UpdateExtents(TIntegerArray& extents, int newCount, int defaultValue);
// Moves the entry at array position `from` to `to` (grid index + 1), shifting those between.
void MoveExtent(TIntegerArray& extents, int from, int to);
[[nodiscard]] bool CompareExtents(const TIntegerArray& a, const TIntegerArray& b);
// Entry `index`, or the default when the array is empty or does not reach it (negative included).
[[nodiscard]] int ExtentAt(const TIntegerArray& extents, int index, int totalCount, int defaultValue);

// What painting collects of one direction's lines before one poly-polyline call.
struct TDrawLinesInfoGx {
    TPointArray Points;
    TDWORDArray Counts;
    int Capacity = 0; // in lines
    int HorzExtent = 0;
    int VertExtent = 0;
};

// One axis of the grid's geometry, computed on demand from the current sizes and never stored.
struct TGridAxisDrawInfoGx {
    int EffectiveLineWidth = 0;
    int FixedBoundary = 0;
    int FrozenBoundary = 0;
    int FrozenCount = 0;
    int GridBoundary = 0;
    int GridExtent = 0;
    int LastFullVisibleCell = 0;
    int FullVisBoundary = 0;
    int FixedCellCount = 0;
    int FirstGridCell = 0;
    int GridCellCount = 0;
    int TotalCount = 0;
    int ContraCount = 0;
    int ContraBoundary = 0;
    int ClientExtent = 0;
    int PaintEnd = 0;
    const TCustomGridGx* Grid = nullptr;
    bool Rows = false;

    [[nodiscard]] int Extent(int index) const;
};

struct TGridDrawInfoGx {
    TGridAxisDrawInfoGx Horz;
    TGridAxisDrawInfoGx Vert;
};

// The colours of the grid's lines. Each slot holds clDefault until set; an unset slot falls back
// to the fixed or the data line colour.
class TGridLineColorsGx : public TPersistent {
public:
    static constexpr int SlotCount = 18;

    explicit TGridLineColorsGx(TCustomGridGx* grid);
    void Assign(const TPersistent* source) override;
    [[nodiscard]] TPersistent* GetOwner() const override;

    [[nodiscard]] TCustomGridGx* Grid() const { return m_grid; }
    [[nodiscard]] TColor Slot(int slot) const { return m_slots.at(static_cast<std::size_t>(slot - 1)); }
    void SetSlot(int slot, TColor color);

    [[nodiscard]] virtual TColor FixedLineColor() const;
    [[nodiscard]] virtual TColor DataLineColor() const;
    [[nodiscard]] virtual TColor LineColorForCell(int col, int row) const;
    [[nodiscard]] virtual TColor VertLineColor(int col) const;
    [[nodiscard]] virtual TColor HorzLineColor(int row) const;
    [[nodiscard]] virtual TColor FrozenVertLineColor(int col) const;
    [[nodiscard]] virtual TColor FixedHorzLineColor(int row) const;
    // The slots the base grid reads; the data grid reads the others through Slot and the
    // fallback rule (SlotOrFixed / SlotOrData).
    [[nodiscard]] TColor ContraBoundaryColor() const { return SlotOrFixed(13); }
    [[nodiscard]] TColor FooterBoundaryColor() const { return SlotOrFixed(7); }
    [[nodiscard]] TColor FrozenBoundaryColor() const { return SlotOrFixed(16); }
    [[nodiscard]] TColor SlotOrFixed(int slot) const;
    [[nodiscard]] TColor SlotOrData(int slot) const;

private:
    TCustomGridGx* m_grid;
    std::vector<TColor> m_slots;
};

// The single-line editor the grid lays over the current cell. The grid creates it on first need,
// owns it and hides it between edits.
class TInplaceEdit : public TCustomMaskEdit {
    CLASSLIB_DECLARE_CLASS;

    explicit TInplaceEdit(TComponent* owner);

    [[nodiscard]] TCustomGridGx* Grid() const { return m_grid; }
    void SetGrid(TCustomGridGx* grid) { m_grid = grid; }
    [[nodiscard]] LONG ClickTime() const { return m_clickTime; }
    void SetClickTime(LONG time) { m_clickTime = time; }
    // The limit the grid gave with the contents; -1 (no change allowed) reaches no edit window,
    // which takes only lengths from 0.
    [[nodiscard]] int EditLimit() const { return m_editLimit; }

    // Caret at the end, nothing selected.
    void Deselect();
    void Hide();
    void Move(const TRect& rect) { UpdateLoc(rect, false); }
    void UpdateLoc(const TRect& rect, bool redraw);
    [[nodiscard]] bool IsVisible() const;
    void SetFocus() override;
    virtual void BoundsChanged();
    virtual void UpdateContents();

protected:
    void CreateParams(TCreateParams& params) override;
    [[nodiscard]] bool EditCanModify() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DblClick() override;
    void Dispatch(TMessage& message) override;
    // A character the grid let through, before the edit types it: true when a descendant took it.
    [[nodiscard]] virtual bool TypeCharacter(char /*key*/) { return false; }
    // The key goes to the grid's key handling instead of the text.
    void SendToGrid(WORD& key, TShiftState shift);

private:
    // Repaints the grid's cell under the editor once.
    void InvalidateArea();
    void RaiseGridEvent(WORD& key, TShiftState shift);
    [[nodiscard]] bool AtLeftSide();
    [[nodiscard]] bool AtRightSide();
    void CycleSelection();
    void ForwardToGrid(TMessage& message);
    void SetFocusMessage(TMessage& message);
    // The limit counts characters, the edit window bytes: typing and pasting keep the count here.
    [[nodiscard]] int CharacterRoom();
    [[nodiscard]] bool OverCharacterLimit(char key);
    void PasteWithinLimit();

    TCustomGridGx* m_grid = nullptr;
    LONG m_clickTime = 0;
    int m_editLimit = 0;
    bool m_droppingCharacter = false;
};

class TCustomGridGx : public TCustomControl {
    CLASSLIB_DECLARE_CLASS;

    explicit TCustomGridGx(TComponent* owner);
    ~TCustomGridGx() override;

    // ---- Counts and sizes
    [[nodiscard]] int ColCount() const { return m_colCount; }
    void SetColCount(int value);
    [[nodiscard]] int RowCount() const { return m_rowCount; }
    void SetRowCount(int value);
    [[nodiscard]] int ContraColCount() const { return m_contraColCount; }
    void SetContraColCount(int value);
    [[nodiscard]] int ContraRowCount() const { return m_contraRowCount; }
    void SetContraRowCount(int value);
    [[nodiscard]] int TotalColCount() const { return m_colCount + m_contraColCount; }
    [[nodiscard]] int TotalRowCount() const { return m_rowCount + m_contraRowCount; }
    [[nodiscard]] int FixedCols() const { return m_fixedCols; }
    void SetFixedCols(int value);
    [[nodiscard]] int FixedRows() const { return m_fixedRows; }
    void SetFixedRows(int value);
    [[nodiscard]] int FrozenColCount() const { return m_frozenColCount; }
    void SetFrozenColCount(int value);
    [[nodiscard]] int DefaultColWidth() const { return m_defaultColWidth; }
    [[nodiscard]] int DefaultRowHeight() const { return m_defaultRowHeight; }
    void SetDefaultRowHeight(int value);
    [[nodiscard]] int GridLineWidth() const { return m_gridLineWidth; }

    [[nodiscard]] int ColumnWidthAt(int index) const;
    void SetColWidths(int index, int value);
    [[nodiscard]] int RowHeightAt(int index) const;
    void SetRowHeights(int index, int value);
    [[nodiscard]] bool TabStops(int index) const;
    void SetTabStops(int index, bool value);

    // ---- Position and selection
    [[nodiscard]] int Col() const { return m_current.X; }
    void SetCol(int value);
    [[nodiscard]] int Row() const { return m_current.Y; }
    void SetRow(int value);
    [[nodiscard]] TGridCoord Current() const { return m_current; }
    [[nodiscard]] TGridCoord Anchor() const { return m_anchor; }
    [[nodiscard]] int LeftCol() const { return m_topLeft.X; }
    void SetLeftCol(int value);
    [[nodiscard]] int TopRow() const { return m_topLeft.Y; }
    void SetTopRow(int value);
    [[nodiscard]] TGridCoord TopLeft() const { return m_topLeft; }
    [[nodiscard]] int ColOffset() const { return m_colOffset; }
    [[nodiscard]] TGridRect Selection() const;
    [[nodiscard]] int VisibleColCount() const;
    [[nodiscard]] int VisibleRowCount() const;

    // ---- Appearance and behaviour
    [[nodiscard]] TGridOptionsGx Options() const { return m_options; }
    void SetOptions(TGridOptionsGx value);
    [[nodiscard]] TGridBorderStyleGx BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TGridBorderStyleGx value);
    [[nodiscard]] TGridScrollBarsGx ScrollBars() const { return m_scrollBars; }
    void SetScrollBars(TGridScrollBarsGx value);
    [[nodiscard]] TColor FixedColor() const { return m_fixedColor; }
    void SetFixedColor(TColor value);
    [[nodiscard]] bool Flat() const { return m_flat; }
    void SetFlat(bool value);
    [[nodiscard]] bool DefaultDrawing() const { return m_defaultDrawing; }
    void SetDefaultDrawing(bool value) { m_defaultDrawing = value; }
    [[nodiscard]] bool InvalidateAllOnSizeChange() const { return m_invalidateAllOnSizeChange; }
    void SetInvalidateAllOnSizeChange(bool value) { m_invalidateAllOnSizeChange = value; }
    [[nodiscard]] TGridLineColorsGx* GridLineColors() const { return m_gridLineColors.get(); }
    [[nodiscard]] TGridStateGx GridState() const { return m_gridState; }

    // ---- Editor
    [[nodiscard]] bool EditorMode() const { return m_editorMode; }
    void SetEditorMode(bool value);
    [[nodiscard]] TInplaceEdit* InplaceEditor() const { return m_inplaceEditor; }
    [[nodiscard]] int InplaceCol() const { return m_inplaceCol; }
    [[nodiscard]] int InplaceRow() const { return m_inplaceRow; }
    void ShowEditor();
    void HideEditor();
    // Shows the editor and hands it the character (a WM_CHAR code).
    void ShowEditorChar(WPARAM c);
    void InvalidateEditor();
    void UpdateEdit();

    // ---- Geometry
    void CalcDrawInfo(TGridDrawInfoGx& drawInfo) const;
    [[nodiscard]] TGridCoord CellAtPoint(int x, int y) const;
    [[nodiscard]] TRect CellRect(int col, int row) const;
    [[nodiscard]] TRect BoxRect(const TGridRect& cells, bool includeLines) const;
    [[nodiscard]] TGridCoord CalcMaxTopLeft(TGridCoord cell, const TGridDrawInfoGx& drawInfo) const;
    [[nodiscard]] bool IsActiveControl() const;

    // ---- Operations
    void FocusCell(int col, int row, bool moveAnchor);
    void MoveColumn(int from, int to);
    void MoveRow(int from, int to);
    virtual void DeleteColumn(int index);
    virtual void DeleteRow(int index);
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateGrid();
    void PaintLock() { ++m_paintLockCount; }
    void PaintUnlock();
    [[nodiscard]] bool IsPaintLocked() const { return m_paintLockCount > 0; }

    [[nodiscard]] const TGridGxCellMouseEvent& OnCellMouseClick() const { return m_onCellMouseClick; }
    void SetOnCellMouseClick(const TGridGxCellMouseEvent& handler) { m_onCellMouseClick = handler; }

protected:
    friend class TInplaceEdit;
    friend struct TGridAxisDrawInfoGx;

    // ---- Virtual operations
    [[nodiscard]] virtual TInplaceEdit* CreateEditor();
    virtual void SizingHitTest(int x, int y, const TGridDrawInfoGx& drawInfo, TGridStateGx& state, int& index,
                               int& sizingPos, int& sizingOfs) const;
    virtual void CellMouseClick(TGridCoord cell, TMouseButton button, TShiftState shift, int x, int y);
    [[nodiscard]] virtual bool CanEditShow();
    [[nodiscard]] virtual bool CanCellClick(int x, int y) const;
    virtual void FlatChanged() {}
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) = 0;
    // A fixed cell acting as a button that is down: its edge is drawn sunken.
    [[nodiscard]] virtual bool FixedCellPressed(int /*col*/, int /*row*/) const { return false; }
    [[nodiscard]] virtual bool SelectCell(int /*col*/, int /*row*/) { return true; }
    virtual void FlatStyleChanged() {}
    [[nodiscard]] virtual std::unique_ptr<TGridLineColorsGx> CreateGridLineColors();
    virtual void SetContraCounts(int cols, int rows);
    virtual void CellClick() {}

    // ---- Dynamic operations
    virtual void AdjustSize(int index, int amount, bool rows);
    [[nodiscard]] virtual bool CanEditAcceptKey(char /*key*/) { return true; }
    [[nodiscard]] virtual bool CanGridAcceptKey(WORD /*key*/, TShiftState /*shift*/) { return true; }
    [[nodiscard]] virtual bool CanEditModify() { return m_canEditModify; }
    [[nodiscard]] virtual std::string GetEditText(int /*col*/, int /*row*/) { return {}; }
    virtual void SetEditText(int /*col*/, int /*row*/, const std::string& /*value*/) {}
    [[nodiscard]] virtual int GetEditLimit() { return 0; }
    [[nodiscard]] virtual std::string GetEditMask(int /*col*/, int /*row*/) { return {}; }
    virtual void ColumnMoved(int /*from*/, int /*to*/) {}
    // The current cell is about to leave its column, and has entered another.
    virtual void CurrentColLeaving() {}
    virtual void CurrentColEntered() {}
    virtual void RowMoved(int /*from*/, int /*to*/) {}
    virtual void SizeChanged(int /*oldColCount*/, int /*oldRowCount*/) {}
    virtual void TopLeftChanged();
    virtual void TimedScroll(int direction);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    [[nodiscard]] virtual bool BeginColumnDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }
    [[nodiscard]] virtual bool CheckColumnDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }
    [[nodiscard]] virtual bool EndColumnDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }
    [[nodiscard]] virtual bool BeginRowDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }
    [[nodiscard]] virtual bool CheckRowDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }
    [[nodiscard]] virtual bool EndRowDrag(int& /*origin*/, int& /*destination*/, TPoint /*point*/) { return true; }

    // ---- Moving and scrolling
    void MoveCurrent(int col, int row, bool moveAnchor, bool show);
    void MoveAnchor(TGridCoord cell);
    void ClampInView(TGridCoord cell);
    void MoveTopLeft(int col, int row);
    void TopLeftMoved(TGridCoord oldTopLeft);
    void ScrollData(int dx, int dy);
    void UpdateScrollPos();
    void UpdateScrollRange();
    void ModifyScrollBar(int bar, int code, int position);
    void InvalidateGridRect(const TGridRect& cells);
    void Initialize();

    // ---- Control overrides
    void Paint() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyPress(char& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoExit() override;
    void Dispatch(TMessage& message) override;
    void DefineProperties(TFiler& filer) override;

private:
    // ---- Sizes (GridsGx.cpp)
    void ChangeSize(int newColCount, int newRowCount);
    void ApplySizeChange(int oldColCount, int oldRowCount, const TGridDrawInfoGx& oldInfo);
    void CheckExtentIndex(const TIntegerArray& extents, int index, int totalCount) const;
    void ShiftIndexAfterAdjust(int& value, int index, int amount, int count) const;
    void InvalidateSizeStrips(const TGridDrawInfoGx& oldInfo, int oldColCount, int oldRowCount);

    // ---- Geometry (GridsGxGeometry.cpp)
    void CalcAxis(TGridAxisDrawInfoGx& axis, bool rows, int clientExtent) const;
    [[nodiscard]] int AxisCellAt(const TGridAxisDrawInfoGx& axis, int position) const;
    [[nodiscard]] bool AxisRange(const TGridAxisDrawInfoGx& axis, int first, int last, int& start, int& end) const;
    [[nodiscard]] int AxisStart(const TGridAxisDrawInfoGx& axis, int index) const;
    [[nodiscard]] bool HitSizingLine(const TGridAxisDrawInfoGx& axis, int position, int& index, int& linePos) const;

    // ---- Painting (GridsGxPaint.cpp)
    struct TLineRegion;
    struct TCellRegion;
    void PaintLines(const TGridDrawInfoGx& info, TDrawLinesInfoGx& lines);
    void PaintContraLines(const TGridDrawInfoGx& info, TDrawLinesInfoGx& lines);
    void DrawRegionLines(const TGridDrawInfoGx& info, const TLineRegion& region, TDrawLinesInfoGx& lines);
    void DrawAxisLines(const TGridDrawInfoGx& info, const TLineRegion& region, bool vertical, TColor color,
                       TDrawLinesInfoGx& lines);
    void DrawSingleLine(int x1, int y1, int x2, int y2, TColor color);
    void DrawPolyLines(const TDrawLinesInfoGx& lines, int count);
    void DrawCells(const TGridDrawInfoGx& info, const TCellRegion& region, bool contraPass);
    void DrawOneCell(const TGridDrawInfoGx& info, int col, int row, const TRect& rect, const TCellRegion& region,
                     bool contraPass);
    void DrawCellEdge(TRect rect, bool pressed);
    void PaintContraCells(const TGridDrawInfoGx& info);
    [[nodiscard]] bool CellIsFocusedByEditor(int col, int row) const;
    [[nodiscard]] bool InSelection(int col, int row) const;

    // ---- Navigation (GridsGxNavigation.cpp)
    void InvalidateSelectionChange(const TGridRect& oldSelection);
    void TabToNextStop(TGridCoord& cell, bool backward) const;
    void ApplyKeyMove(TGridCoord topLeft, TGridCoord cell, bool moveAnchor, const TGridDrawInfoGx& info);
    void ScrollOneColumnByPixels(int code, int position, const TGridDrawInfoGx& info);
    [[nodiscard]] int ScrollBarPosition(int first, int fixedCount, int maxFirst) const;

    // ---- Mouse (GridsGxMouse.cpp)
    void StartSizing(TGridStateGx state, int index, int sizingPos, int sizingOfs);
    void StartDrag(TGridStateGx state, int index, TPoint point);
    void PressDataCell(TGridCoord cell, TShiftState shift);
    void FinishSizing();
    void FinishMoving(TPoint point);
    void MoveAndScroll(int mouse, int cell, TPoint point, bool rows);
    void DrawSizingLine(const TGridDrawInfoGx& info);
    void DrawMoveLine();
    void XorLine(int x1, int y1, int x2, int y2, int width, TPenStyle style);
    void TimerTick();
    void CancelMode();
    void StopTimer();
    void StartTimer();
    void TakeFocus();
    void PressForCellClick(const TMessage& message);
    void ReleaseForCellClick(const TMessage& message, bool canClick);
    [[nodiscard]] LRESULT DialogCode() const;
    void SetCursorMessage(TMessage& message);
    bool MouseWheel(bool down);

    // ---- Editor (GridsGxEditor.cpp)
    void FillEditor();
    void HideEdit();
    void UpdateText();

    TGridCoord m_anchor;
    TGridBorderStyleGx m_borderStyle = bsSingleGx;
    bool m_canEditModify = true;
    int m_colCount = 5;
    int m_colOffset = 0;
    TIntegerArray m_colWidths;
    int m_contraColCount = 0;
    int m_contraRowCount = 0;
    TGridCoord m_current;
    int m_defaultColWidth = 64;
    bool m_defaultDrawing = true;
    int m_defaultRowHeight = 24;
    bool m_editorMode = false;
    TColor m_fixedColor = clBtnFace;
    int m_fixedCols = 1;
    int m_fixedRows = 1;
    bool m_flat = false;
    int m_frozenColCount = 0;
    std::unique_ptr<TGridLineColorsGx> m_gridLineColors;
    int m_gridLineWidth = 1;
    TPoint m_lastHitPoint{0, 0};
    int m_inplaceCol = -1;
    int m_inplaceRow = -1;
    TInplaceEdit* m_inplaceEditor = nullptr; // owned as a component of the grid
    int m_moveIndex = 0;
    int m_movePos = 0;
    bool m_moveLineShown = false;
    TGridGxCellMouseEvent m_onCellMouseClick;
    TGridOptionsGx m_options = DefaultGridOptionsGx;
    int m_rowCount = 5;
    TIntegerArray m_rowHeights;
    TGridScrollBarsGx m_scrollBars = ssBothGx;
    int m_sizingIndex = 0;
    int m_sizingOfs = 0;
    int m_sizingPos = 0;
    TIntegerArray m_tabStops;
    TGridCoord m_topLeft;
    TGridStateGx m_gridState = gsNormalGx;
    int m_paintLockCount = 0;
    TGridCoord m_mouseDownCell;
    bool m_invalidateAllOnSizeChange = false;
    bool m_timerRunning = false;
};
