#include "grid/core/GridsGx.h"

#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"

#include <algorithm>

namespace {

constexpr int MaxExtentCount = 0x7FFFFFD;

[[noreturn]] void IndexOutOfRange() { throw EInvalidGridOperationGx("Grid index out of range"); }

bool Allocated(const TIntegerArray& extents) { return !extents.empty(); }

// Resizes an allocated array to a new total; an unallocated one keeps meaning "all default".
void ResizeIfAllocated(TIntegerArray& extents, int total, int defaultValue)
{
    if (Allocated(extents))
        UpdateExtents(extents, total, defaultValue);
}

// Where an index of the moved axis ends up when the entry at `from` moves to `to`.
int RemapMovedIndex(int value, int from, int to)
{
    if (value == from)
        return to;
    if (from < to && value > from && value <= to)
        return value - 1;
    if (from > to && value >= to && value < from)
        return value + 1;
    return value;
}

} // namespace

// ---- Extent arrays ------------------------------------------------------------------------------

void ModifyExtents(TIntegerArray& extents, int index, int amount, int defaultValue)
{
    if (amount == 0)
        return;
    const int oldCount = Allocated(extents) ? extents[0] : 0;
    if (index < 0 || index > oldCount)
        IndexOutOfRange();
    const std::int64_t newCount = std::int64_t{oldCount} + amount;
    if (newCount < 0)
        throw EInvalidGridOperationGx("Too many rows or columns deleted");
    if (newCount > MaxExtentCount)
        throw EInvalidGridOperationGx("Grid too large for operation");
    if (newCount == 0) {
        extents.clear();
        return;
    }
    extents.resize(static_cast<std::size_t>(newCount) + 1);
    for (auto i = static_cast<std::size_t>(index) + 1; i <= static_cast<std::size_t>(newCount); ++i)
        extents[i] = defaultValue;
    extents[0] = static_cast<int>(newCount);
}

void UpdateExtents(TIntegerArray& extents, int newCount, int defaultValue)
{
    const int oldCount = Allocated(extents) ? extents[0] : 0;
    ModifyExtents(extents, oldCount, newCount - oldCount, defaultValue);
}

void MoveExtent(TIntegerArray& extents, int from, int to)
{
    const int count = Allocated(extents) ? extents[0] : 0;
    if (from < 1 || to < 1 || from > count || to > count)
        IndexOutOfRange();
    const int value = extents[static_cast<std::size_t>(from)];
    if (from < to)
        std::copy(extents.begin() + from + 1, extents.begin() + to + 1, extents.begin() + from);
    else if (from > to)
        std::copy_backward(extents.begin() + to, extents.begin() + from, extents.begin() + from + 1);
    extents[static_cast<std::size_t>(to)] = value;
}

bool CompareExtents(const TIntegerArray& a, const TIntegerArray& b) { return a == b; }

int ExtentAt(const TIntegerArray& extents, int index, int totalCount, int defaultValue)
{
    // A negative index or one past the array's own count reads the default, never the count
    // element or memory before the array.
    if (index < 0 || !Allocated(extents) || index >= totalCount || index >= extents[0])
        return defaultValue;
    return extents[static_cast<std::size_t>(index) + 1];
}

// ---- TGridLineColorsGx ----------------------------------------------------------------------------

TGridLineColorsGx::TGridLineColorsGx(TCustomGridGx* grid) : m_grid(grid), m_slots(SlotCount, clDefault) {}

TPersistent* TGridLineColorsGx::GetOwner() const { return m_grid; }

void TGridLineColorsGx::Assign(const TPersistent* source)
{
    if (const auto* other = dynamic_cast<const TGridLineColorsGx*>(source)) {
        m_slots = other->m_slots;
        if (m_grid)
            m_grid->Invalidate();
        return;
    }
    TPersistent::Assign(source);
}

void TGridLineColorsGx::SetSlot(int slot, TColor color)
{
    TColor& stored = m_slots.at(static_cast<std::size_t>(slot - 1));
    if (stored == color)
        return;
    stored = color;
    if (m_grid)
        m_grid->Invalidate();
}

TColor TGridLineColorsGx::FixedLineColor() const
{
    if (Slot(2) != clDefault)
        return Slot(2);
    return m_grid && m_grid->Flat() ? clGray : clBlack;
}

TColor TGridLineColorsGx::DataLineColor() const
{
    if (Slot(1) != clDefault)
        return Slot(1);
    // Silver lines would vanish on a silver grid.
    return m_grid && ColorToRGB(m_grid->Color()) == RGB(0xC0, 0xC0, 0xC0) ? clGray : clSilver;
}

TColor TGridLineColorsGx::LineColorForCell(int col, int row) const
{
    if (col < m_grid->FixedCols() - m_grid->FrozenColCount() || row < m_grid->FixedRows())
        return FixedLineColor();
    return DataLineColor();
}

TColor TGridLineColorsGx::VertLineColor(int col) const
{
    return col == m_grid->ColCount() ? ContraBoundaryColor() : DataLineColor();
}

TColor TGridLineColorsGx::HorzLineColor(int row) const
{
    return row == m_grid->RowCount() ? FooterBoundaryColor() : DataLineColor();
}

TColor TGridLineColorsGx::FrozenVertLineColor(int col) const
{
    if (m_grid->FrozenColCount() > 0 && col == m_grid->FixedCols() - 1)
        return FrozenBoundaryColor();
    return DataLineColor();
}

TColor TGridLineColorsGx::FixedHorzLineColor(int /*row*/) const { return DataLineColor(); }

TColor TGridLineColorsGx::SlotOrFixed(int slot) const { return Slot(slot) != clDefault ? Slot(slot) : FixedLineColor(); }

TColor TGridLineColorsGx::SlotOrData(int slot) const { return Slot(slot) != clDefault ? Slot(slot) : DataLineColor(); }

// ---- TCustomGridGx: life and sizes ------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TCustomGridGx, TCustomControl, nullptr, nullptr)

TCustomGridGx::TCustomGridGx(TComponent* owner) : TCustomControl(owner)
{
    SetControlStyle(TControlStyle{csCaptureMouse, csOpaque, csDoubleClicks, csNeedsBorderPaint});
    SetColor(clWindow);
    SetParentColor(false);
    SetTabStop(true);
    m_gridLineColors = CreateGridLineColors();
    SetBounds(Left(), Top(), m_colCount * m_defaultColWidth, m_rowCount * m_defaultRowHeight);
    Initialize();
    m_mouseDownCell = CellAtPoint(-1, -1);
}

TCustomGridGx::~TCustomGridGx()
{
    // The editor is a component of the grid and a child of its window: it goes while the grid
    // is still whole.
    DestroyComponents();
    m_inplaceEditor = nullptr;
}

std::unique_ptr<TGridLineColorsGx> TCustomGridGx::CreateGridLineColors()
{
    return std::make_unique<TGridLineColorsGx>(this);
}

void TCustomGridGx::Initialize()
{
    m_topLeft = TGridCoord{m_fixedCols, m_fixedRows};
    m_current = m_topLeft;
    m_anchor = m_current;
    if (m_options.Contains(goRowSelect))
        m_anchor.X = m_colCount - 1;
}

void TCustomGridGx::SetColCount(int value)
{
    value = std::max(value, 1);
    if (value == m_colCount)
        return;
    if (m_fixedCols >= value)
        SetFixedCols(value - 1);
    if (m_contraColCount == 0)
        ChangeSize(value, m_rowCount);
    else
        AdjustSize(std::min(m_colCount, value), value - m_colCount, false);
    if (m_options.Contains(goRowSelect)) {
        m_anchor.X = m_colCount - 1;
        Invalidate();
    }
}

void TCustomGridGx::SetRowCount(int value)
{
    value = std::max(value, 1);
    if (value == m_rowCount)
        return;
    if (m_fixedRows >= value)
        SetFixedRows(value - 1);
    if (m_contraRowCount == 0)
        ChangeSize(m_colCount, value);
    else
        AdjustSize(std::min(m_rowCount, value), value - m_rowCount, true);
}

void TCustomGridGx::SetContraColCount(int value)
{
    if (value == m_contraColCount)
        return;
    if (value < 0)
        throw EInvalidGridOperationGx("FContraColCount can not be negative.");
    SetContraCounts(value, m_contraRowCount);
}

void TCustomGridGx::SetContraRowCount(int value)
{
    if (value == m_contraRowCount)
        return;
    if (value < 0)
        throw EInvalidGridOperationGx("FContraRowCount can not be negative.");
    SetContraCounts(m_contraColCount, value);
}

void TCustomGridGx::SetContraCounts(int cols, int rows)
{
    const int oldCols = m_contraColCount;
    const int oldRows = m_contraRowCount;
    m_contraColCount = cols;
    m_contraRowCount = rows;
    try {
        ResizeIfAllocated(m_colWidths, TotalColCount(), m_defaultColWidth);
        ResizeIfAllocated(m_tabStops, TotalColCount(), 1);
        ResizeIfAllocated(m_rowHeights, TotalRowCount(), m_defaultRowHeight);
    } catch (...) {
        m_contraColCount = oldCols;
        m_contraRowCount = oldRows;
        InvalidateGrid();
        throw;
    }
    InvalidateGrid();
    UpdateScrollRange();
}

void TCustomGridGx::SetFixedCols(int value)
{
    if (value == m_fixedCols)
        return;
    if (value < 0)
        IndexOutOfRange();
    if (value >= m_colCount)
        throw EInvalidGridOperationGx("Fixed column count must be less than column count");
    m_fixedCols = value;
    Initialize();
    InvalidateGrid();
}

void TCustomGridGx::SetFixedRows(int value)
{
    if (value == m_fixedRows)
        return;
    if (value < 0)
        IndexOutOfRange();
    if (value >= m_rowCount)
        throw EInvalidGridOperationGx("Fixed row count must be less than row count");
    m_fixedRows = value;
    Initialize();
    InvalidateGrid();
}

void TCustomGridGx::SetFrozenColCount(int value)
{
    if (value == m_frozenColCount)
        return;
    m_frozenColCount = value;
    InvalidateGrid();
}

void TCustomGridGx::SetDefaultRowHeight(int value)
{
    if (value == m_defaultRowHeight)
        return;
    UpdateExtents(m_rowHeights, 0, value);
    m_defaultRowHeight = value;
    RowHeightsChanged();
    InvalidateGrid();
}

void TCustomGridGx::CheckExtentIndex(const TIntegerArray& extents, int index, int totalCount) const
{
    if (index < 0 || index >= totalCount || (Allocated(extents) && index >= extents[0]))
        IndexOutOfRange();
}

int TCustomGridGx::ColumnWidthAt(int index) const
{
    return ExtentAt(m_colWidths, index, TotalColCount(), m_defaultColWidth);
}

int TCustomGridGx::RowHeightAt(int index) const
{
    return ExtentAt(m_rowHeights, index, TotalRowCount(), m_defaultRowHeight);
}

bool TCustomGridGx::TabStops(int index) const { return ExtentAt(m_tabStops, index, TotalColCount(), 1) != 0; }

void TCustomGridGx::SetColWidths(int index, int value)
{
    if (index < 0 || index >= TotalColCount())
        IndexOutOfRange();
    if (!Allocated(m_colWidths))
        UpdateExtents(m_colWidths, TotalColCount(), m_defaultColWidth);
    CheckExtentIndex(m_colWidths, index, TotalColCount());
    int& stored = m_colWidths[static_cast<std::size_t>(index) + 1];
    if (stored == value)
        return;
    InvalidateGrid();
    stored = value;
    ColWidthsChanged();
}

void TCustomGridGx::SetRowHeights(int index, int value)
{
    if (index < 0 || index >= TotalRowCount())
        IndexOutOfRange();
    if (!Allocated(m_rowHeights))
        UpdateExtents(m_rowHeights, TotalRowCount(), m_defaultRowHeight);
    CheckExtentIndex(m_rowHeights, index, TotalRowCount());
    int& stored = m_rowHeights[static_cast<std::size_t>(index) + 1];
    if (stored == value)
        return;
    InvalidateGrid();
    stored = value;
    RowHeightsChanged();
}

void TCustomGridGx::SetTabStops(int index, bool value)
{
    if (index < 0 || index >= TotalColCount())
        IndexOutOfRange();
    if (!Allocated(m_tabStops))
        UpdateExtents(m_tabStops, TotalColCount(), 1);
    CheckExtentIndex(m_tabStops, index, TotalColCount());
    m_tabStops[static_cast<std::size_t>(index) + 1] = value ? 1 : 0;
}

void TCustomGridGx::ChangeSize(int newColCount, int newRowCount)
{
    const int oldColCount = m_colCount;
    const int oldRowCount = m_rowCount;
    TGridDrawInfoGx oldInfo;
    CalcDrawInfo(oldInfo);
    try {
        m_colCount = newColCount;
        m_rowCount = newRowCount;
        ApplySizeChange(oldColCount, oldRowCount, oldInfo);
    } catch (...) {
        m_colCount = oldColCount;
        m_rowCount = oldRowCount;
        ApplySizeChange(oldColCount, oldRowCount, oldInfo);
        InvalidateGrid();
        throw;
    }
}

void TCustomGridGx::ApplySizeChange(int oldColCount, int oldRowCount, const TGridDrawInfoGx& oldInfo)
{
    m_fixedCols = std::min(m_fixedCols, m_colCount - 1);
    m_fixedRows = std::min(m_fixedRows, m_rowCount - 1);
    const TGridCoord oldTopLeft = m_topLeft;
    ResizeIfAllocated(m_colWidths, TotalColCount(), m_defaultColWidth);
    ResizeIfAllocated(m_tabStops, TotalColCount(), 1);
    ResizeIfAllocated(m_rowHeights, TotalRowCount(), m_defaultRowHeight);
    const TGridCoord clipped{std::min(m_current.X, m_colCount - 1), std::min(m_current.Y, m_rowCount - 1)};
    if (clipped != m_current)
        MoveCurrent(clipped.X, clipped.Y, true, true);
    if (m_anchor != m_current)
        MoveAnchor(m_current);
    if (m_invalidateAllOnSizeChange || m_topLeft != oldTopLeft)
        InvalidateGrid();
    else
        InvalidateSizeStrips(oldInfo, oldColCount, oldRowCount);
    UpdateScrollRange();
    SizeChanged(oldColCount, oldRowCount);
}

void TCustomGridGx::InvalidateSizeStrips(const TGridDrawInfoGx& oldInfo, int oldColCount, int oldRowCount)
{
    if (!HandleAllocated())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    if (oldColCount != m_colCount) {
        const RECT strip{std::min(oldInfo.Horz.GridBoundary, info.Horz.GridBoundary), 0, info.Horz.ClientExtent,
                         info.Vert.ClientExtent};
        (void)InvalidateRect(Handle(), &strip, FALSE);
    }
    if (oldRowCount != m_rowCount) {
        const RECT strip{0, std::min(oldInfo.Vert.GridBoundary, info.Vert.GridBoundary), info.Horz.ClientExtent,
                         info.Vert.ClientExtent};
        (void)InvalidateRect(Handle(), &strip, FALSE);
    }
}

void TCustomGridGx::ShiftIndexAfterAdjust(int& value, int index, int amount, int count) const
{
    if (value >= index) {
        value = (amount < 0 && value < index - amount) ? index : value + amount;
    }
    value = std::clamp(value, 0, std::max(0, count - 1));
}

void TCustomGridGx::AdjustSize(int index, int amount, bool rows)
{
    if (amount == 0)
        return;
    const int count = rows ? m_rowCount : m_colCount;
    if (count + amount < index)
        throw EInvalidGridOperationGx("Too many rows or columns deleted");
    const int oldColCount = m_colCount;
    const int oldRowCount = m_rowCount;
    if (rows) {
        if (Allocated(m_rowHeights))
            ModifyExtents(m_rowHeights, index, amount, m_defaultRowHeight);
        m_rowCount += amount;
    } else {
        if (Allocated(m_colWidths))
            ModifyExtents(m_colWidths, index, amount, m_defaultColWidth);
        if (Allocated(m_tabStops))
            ModifyExtents(m_tabStops, index, amount, 1);
        m_colCount += amount;
    }
    TGridCoord cell = m_current;
    ShiftIndexAfterAdjust(rows ? cell.Y : cell.X, index, amount, rows ? m_rowCount : m_colCount);
    // The contra cells at the far edge move with the count: the whole control repaints.
    InvalidateGrid();
    SizeChanged(oldColCount, oldRowCount);
    if (cell != m_current)
        MoveCurrent(cell.X, cell.Y, true, true);
    UpdateScrollRange();
}

void TCustomGridGx::MoveColumn(int from, int to)
{
    if (from == to)
        return;
    if (from < 0 || to < 0 || from >= m_colCount || to >= m_colCount)
        IndexOutOfRange();
    if (Allocated(m_colWidths))
        MoveExtent(m_colWidths, from + 1, to + 1);
    if (Allocated(m_tabStops))
        MoveExtent(m_tabStops, from + 1, to + 1);
    m_current.X = RemapMovedIndex(m_current.X, from, to);
    m_anchor.X = RemapMovedIndex(m_anchor.X, from, to);
    if (m_inplaceCol != -1)
        m_inplaceCol = RemapMovedIndex(m_inplaceCol, from, to);
    InvalidateGridRect(TGridRect{std::min(from, to), m_topLeft.Y, std::max(from, to), m_rowCount - 1});
    ColumnMoved(from, to);
    if (Allocated(m_colWidths))
        ColWidthsChanged();
    UpdateEdit();
}

void TCustomGridGx::MoveRow(int from, int to)
{
    if (from == to)
        return;
    if (from < 0 || to < 0 || from >= m_rowCount || to >= m_rowCount)
        IndexOutOfRange();
    if (Allocated(m_rowHeights))
        MoveExtent(m_rowHeights, from + 1, to + 1);
    m_current.Y = RemapMovedIndex(m_current.Y, from, to);
    m_anchor.Y = RemapMovedIndex(m_anchor.Y, from, to);
    if (m_inplaceRow != -1)
        m_inplaceRow = RemapMovedIndex(m_inplaceRow, from, to);
    InvalidateGridRect(TGridRect{m_topLeft.X, std::min(from, to), m_colCount - 1, std::max(from, to)});
    RowMoved(from, to);
    if (Allocated(m_rowHeights))
        RowHeightsChanged();
    UpdateEdit();
}

void TCustomGridGx::DeleteColumn(int index)
{
    MoveColumn(index, m_colCount - 1);
    SetColCount(m_colCount - 1);
}

void TCustomGridGx::DeleteRow(int index)
{
    MoveRow(index, m_rowCount - 1);
    SetRowCount(m_rowCount - 1);
}

// ---- Properties -----------------------------------------------------------------------------------

void TCustomGridGx::SetCol(int value)
{
    if (value != m_current.X)
        FocusCell(value, m_current.Y, true);
}

void TCustomGridGx::SetRow(int value)
{
    if (value != m_current.Y)
        FocusCell(m_current.X, value, true);
}

void TCustomGridGx::SetLeftCol(int value)
{
    if (value != m_topLeft.X)
        MoveTopLeft(value, m_topLeft.Y);
}

void TCustomGridGx::SetTopRow(int value)
{
    if (value != m_topLeft.Y)
        MoveTopLeft(m_topLeft.X, value);
}

TGridRect TCustomGridGx::Selection() const
{
    return TGridRect{std::min(m_current.X, m_anchor.X), std::min(m_current.Y, m_anchor.Y),
                     std::max(m_current.X, m_anchor.X), std::max(m_current.Y, m_anchor.Y)};
}

int TCustomGridGx::VisibleColCount() const
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    return info.Horz.LastFullVisibleCell - m_topLeft.X + 1;
}

int TCustomGridGx::VisibleRowCount() const
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    return info.Vert.LastFullVisibleCell - m_topLeft.Y + 1;
}

void TCustomGridGx::SetOptions(TGridOptionsGx value)
{
    if (value == m_options)
        return;
    if (value.Contains(goRowSelect))
        value.Exclude(goAlwaysShowEditor);
    m_options = value;
    if (!m_editorMode) {
        if (m_options.Contains(goAlwaysShowEditor))
            ShowEditor();
        else
            HideEditor();
    }
    if (m_options.Contains(goRowSelect))
        MoveCurrent(m_current.X, m_current.Y, true, false);
    InvalidateGrid();
}

void TCustomGridGx::SetBorderStyle(TGridBorderStyleGx value)
{
    if (value == m_borderStyle)
        return;
    m_borderStyle = value;
    RecreateWnd();
}

void TCustomGridGx::SetScrollBars(TGridScrollBarsGx value)
{
    if (value == m_scrollBars)
        return;
    m_scrollBars = value;
    RecreateWnd();
}

void TCustomGridGx::SetFixedColor(TColor value)
{
    if (value == m_fixedColor)
        return;
    m_fixedColor = value;
    InvalidateGrid();
}

void TCustomGridGx::SetFlat(bool value)
{
    if (value == m_flat)
        return;
    m_flat = value;
    FlatChanged();
    FlatStyleChanged();
    InvalidateGrid();
}

void TCustomGridGx::PaintUnlock() { m_paintLockCount = std::max(0, m_paintLockCount - 1); }

// ---- Form data ---------------------------------------------------------------------------------------

void TCustomGridGx::DefineProperties(TFiler& filer)
{
    TCustomControl::DefineProperties(filer);
    const auto reader = [this](bool rows) {
        return [this, rows](TReader& input) {
            input.ReadListBegin();
            for (int i = 0; !input.EndOfList(); ++i) {
                const int value = input.ReadInteger();
                rows ? SetRowHeights(i, value) : SetColWidths(i, value);
            }
            input.ReadListEnd();
        };
    };
    const auto writer = [this](bool rows) {
        return [this, rows](TWriter& output) {
            output.WriteListBegin();
            const int count = rows ? m_rowCount : m_colCount;
            for (int i = 0; i < count; ++i)
                output.WriteInteger(rows ? RowHeightAt(i) : ColumnWidthAt(i));
            output.WriteListEnd();
        };
    };
    filer.DefineProperty("ColWidths", reader(false), writer(false), Allocated(m_colWidths));
    filer.DefineProperty("RowHeights", reader(true), writer(true), Allocated(m_rowHeights));
}
