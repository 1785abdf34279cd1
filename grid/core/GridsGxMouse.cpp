#include "grid/core/GridsGx.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/controls/Edit.h"

#include <algorithm>

namespace {

constexpr UINT_PTR ScrollTimerId = 1;
constexpr UINT ScrollTimerInterval = 60;

} // namespace

// ---- Window ------------------------------------------------------------------------------------------

void TCustomGridGx::CreateParams(TCreateParams& params)
{
    TCustomControl::CreateParams(params);
    params.Style |= WS_TABSTOP;
    if (m_scrollBars == ssVerticalGx || m_scrollBars == ssBothGx)
        params.Style |= WS_VSCROLL;
    if (m_scrollBars == ssHorizontalGx || m_scrollBars == ssBothGx)
        params.Style |= WS_HSCROLL;
    params.WindowClass.style = CS_DBLCLKS;
    if (m_borderStyle == bsSingleGx)
        params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomGridGx::CreateWnd()
{
    TCustomControl::CreateWnd();
    UpdateScrollRange();
}

void TCustomGridGx::DoExit()
{
    TCustomControl::DoExit();
    if (!m_options.Contains(goAlwaysShowEditor))
        HideEditor();
}

// ---- Pressing, moving and releasing the mouse ------------------------------------------------------------

void TCustomGridGx::TakeFocus()
{
    if (GetParentForm(this)) {
        if (CanFocus())
            SetFocus();
    } else if (!(GetWindowLongPtrA(Handle(), GWL_EXSTYLE) & WS_EX_NOACTIVATE)) {
        // A drop-down that never activates leaves the focus with the control it drops from.
        (void)::SetFocus(Handle());
    }
}

void TCustomGridGx::MouseDown(TMouseButton button, TShiftState shift, int x, int y)
{
    HideEdit();
    TakeFocus();
    if (!IsActiveControl()) {
        if (GetCapture() == Handle())
            (void)ReleaseCapture();
        return;
    }
    // A double click was handed to DblClick by the control before this press arrived.
    if (button == mbLeft && !shift.Contains(ssDouble)) {
        TGridDrawInfoGx info;
        CalcDrawInfo(info);
        TGridStateGx state = gsNormalGx;
        int index = -1;
        int sizingPos = 0;
        int sizingOfs = 0;
        SizingHitTest(x, y, info, state, index, sizingPos, sizingOfs);
        if (state != gsNormalGx) {
            StartSizing(state, index, sizingPos, sizingOfs);
            return;
        }
        const TGridCoord cell = CellAtPoint(x, y);
        const int firstSelectable = m_fixedCols - info.Horz.FrozenCount;
        const bool inData = cell.X >= firstSelectable && cell.Y >= m_fixedRows;
        if (!inData) {
            if (m_options.Contains(goRowMoving) && cell.X >= 0 && cell.X < firstSelectable && cell.Y >= m_fixedRows)
                StartDrag(gsRowMovingGx, cell.Y, TPoint{x, y});
            else if (m_options.Contains(goColMoving) && cell.Y >= 0 && cell.Y < m_fixedRows &&
                     cell.X >= firstSelectable)
                StartDrag(gsColMovingGx, cell.X, TPoint{x, y});
        } else {
            PressDataCell(cell, shift);
        }
    }
    try {
        TCustomControl::MouseDown(button, shift, x, y);
    } catch (...) {
        // The application's handler failed: leave no move line behind, and let the failure show.
        if (m_moveLineShown)
            DrawMoveLine();
        throw;
    }
}

void TCustomGridGx::PressDataCell(TGridCoord cell, TShiftState shift)
{
    if (m_options.Contains(goEditing)) {
        if (cell == m_current) {
            ShowEditor();
        } else {
            MoveCurrent(cell.X, cell.Y, true, true);
            UpdateEdit();
        }
        Click();
        return;
    }
    m_gridState = gsSelectingGx;
    StartTimer();
    if (shift.Contains(ssShift))
        MoveAnchor(cell);
    else
        MoveCurrent(cell.X, cell.Y, true, true);
}

void TCustomGridGx::StartSizing(TGridStateGx state, int index, int sizingPos, int sizingOfs)
{
    m_gridState = state;
    m_sizingIndex = index;
    m_sizingPos = sizingPos;
    m_sizingOfs = sizingOfs;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    DrawSizingLine(info);
}

void TCustomGridGx::StartDrag(TGridStateGx state, int index, TPoint point)
{
    m_moveIndex = index;
    m_movePos = index;
    const bool begun = state == gsRowMovingGx ? BeginRowDrag(m_moveIndex, m_movePos, point)
                                              : BeginColumnDrag(m_moveIndex, m_movePos, point);
    if (!begun)
        return;
    m_gridState = state;
    Update();
    DrawMoveLine();
    StartTimer();
}

void TCustomGridGx::MouseMove(TShiftState shift, int x, int y)
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    switch (m_gridState) {
    case gsRowSizingGx:
    case gsColSizingGx:
        DrawSizingLine(info);
        m_sizingPos = (m_gridState == gsRowSizingGx ? y : x) + m_sizingOfs;
        DrawSizingLine(info);
        break;
    case gsSelectingGx:
    case gsRowMovingGx:
    case gsColMovingGx: {
        const TGridCoord cell = CellAtPoint(x, y);
        const bool inside = cell.X >= m_fixedCols && cell.Y >= m_fixedRows &&
                            cell.X <= std::min(info.Horz.LastFullVisibleCell + 1, m_colCount - 1) &&
                            cell.Y <= std::min(info.Vert.LastFullVisibleCell + 1, m_rowCount - 1);
        if (!inside)
            break;
        if (m_gridState == gsSelectingGx) {
            if (cell != m_anchor)
                MoveAnchor(cell);
        } else if (m_gridState == gsRowMovingGx) {
            MoveAndScroll(y, cell.Y, TPoint{x, y}, true);
        } else {
            MoveAndScroll(x, cell.X, TPoint{x, y}, false);
        }
        break;
    }
    default:
        break;
    }
    TCustomControl::MouseMove(shift, x, y);
}

void TCustomGridGx::MouseUp(TMouseButton button, TShiftState shift, int x, int y)
{
    const TGridStateGx state = m_gridState;
    const TControlLife life(*this);
    try {
        switch (state) {
        case gsSelectingGx:
            MouseMove(shift, x, y);
            StopTimer();
            UpdateEdit();
            if (!Outlives([this] { Click(); }))
                return;
            break;
        case gsRowSizingGx:
        case gsColSizingGx:
            FinishSizing();
            break;
        case gsRowMovingGx:
        case gsColMovingGx:
            FinishMoving(TPoint{x, y});
            break;
        default:
            UpdateEdit();
            break;
        }
    } catch (...) {
        if (life.Stands())
            m_gridState = gsNormalGx;
        throw;
    }
    m_gridState = gsNormalGx;
    TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomGridGx::FinishSizing()
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    DrawSizingLine(info);
    const bool rows = m_gridState == gsRowSizingGx;
    const TGridAxisDrawInfoGx& axis = rows ? info.Vert : info.Horz;
    const int start = AxisStart(axis, m_sizingIndex);
    // Contra cells hang from the far edge: their left (top) line is the one being dragged.
    const int size = m_sizingIndex >= axis.GridCellCount ? start + axis.Extent(m_sizingIndex) - m_sizingPos
                                                         : m_sizingPos - start;
    if (size <= 1)
        return;
    if (rows)
        SetRowHeights(m_sizingIndex, size);
    else
        SetColWidths(m_sizingIndex, size);
}

void TCustomGridGx::FinishMoving(TPoint point)
{
    if (m_moveLineShown)
        DrawMoveLine();
    StopTimer();
    const bool rows = m_gridState == gsRowMovingGx;
    const bool agreed = rows ? EndRowDrag(m_moveIndex, m_movePos, point) : EndColumnDrag(m_moveIndex, m_movePos, point);
    if (agreed && m_moveIndex != m_movePos) {
        if (rows)
            MoveRow(m_moveIndex, m_movePos);
        else
            MoveColumn(m_moveIndex, m_movePos);
    }
    UpdateEdit();
}

void TCustomGridGx::MoveAndScroll(int mouse, int cell, TPoint point, bool rows)
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const TGridAxisDrawInfoGx* axis = rows ? &info.Vert : &info.Horz;
    const int firstMovable = rows ? m_fixedRows : m_fixedCols - info.Horz.FrozenCount;
    const int lastCell = axis->GridCellCount - 1;
    if (cell == m_movePos || (m_movePos == firstMovable && mouse < axis->FixedBoundary) ||
        (m_movePos == lastCell && mouse > axis->GridBoundary))
        return;
    if (m_moveLineShown)
        DrawMoveLine();
    const int bar = rows ? SB_VERT : SB_HORZ;
    int target = cell;
    if (mouse < axis->FixedBoundary) {
        if (m_movePos > firstMovable) {
            ModifyScrollBar(bar, SB_LINEUP, 0);
            Update();
            CalcDrawInfo(info);
            target = axis->FirstGridCell;
        }
    } else if (mouse >= axis->FullVisBoundary && m_movePos == axis->LastFullVisibleCell && m_movePos < lastCell) {
        ModifyScrollBar(bar, SB_LINEDOWN, 0);
        Update();
        CalcDrawInfo(info);
        target = axis->LastFullVisibleCell;
    }
    if (target < 0)
        target = m_movePos;
    // Only movable cells take a dragged row or column.
    target = std::clamp(target, firstMovable, std::max(firstMovable, lastCell));
    const bool accepted = rows ? CheckRowDrag(m_moveIndex, target, point) : CheckColumnDrag(m_moveIndex, target, point);
    if (accepted)
        m_movePos = target;
    DrawMoveLine();
}

// ---- XOR feedback lines ------------------------------------------------------------------------------------

void TCustomGridGx::XorLine(int x1, int y1, int x2, int y2, int width, TPenStyle style)
{
    TPen* pen = Canvas()->Pen();
    const TPenMode oldMode = pen->Mode();
    const TPenStyle oldStyle = pen->Style();
    const int oldWidth = pen->Width();
    const TColor oldColor = pen->Color();
    pen->SetMode(pmXor);
    pen->SetStyle(style);
    pen->SetWidth(width);
    pen->SetColor(clWhite);
    Canvas()->MoveTo(x1, y1);
    Canvas()->LineTo(x2, y2);
    pen->SetMode(oldMode);
    pen->SetStyle(oldStyle);
    pen->SetWidth(oldWidth);
    pen->SetColor(oldColor);
}

void TCustomGridGx::DrawSizingLine(const TGridDrawInfoGx& info)
{
    if (m_gridState == gsColSizingGx)
        XorLine(m_sizingPos, 0, m_sizingPos, info.Vert.PaintEnd, 1, psDot);
    else if (m_gridState == gsRowSizingGx)
        XorLine(0, m_sizingPos, info.Horz.PaintEnd, m_sizingPos, 1, psDot);
}

void TCustomGridGx::DrawMoveLine()
{
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const bool rows = m_gridState == gsRowMovingGx;
    const TGridAxisDrawInfoGx& axis = rows ? info.Vert : info.Horz;
    const int start = AxisStart(axis, m_movePos);
    const int at = m_moveIndex < m_movePos ? start + axis.Extent(m_movePos) : start;
    if (rows)
        XorLine(0, at, info.Horz.ClientExtent, at, 5, psDot);
    else
        XorLine(at, 0, at, info.Vert.ClientExtent, 5, psDot);
    m_moveLineShown = !m_moveLineShown;
}

// ---- Timer, cancel mode, wheel -----------------------------------------------------------------------------------

void TCustomGridGx::StartTimer()
{
    if (HandleAllocated() && SetTimer(Handle(), ScrollTimerId, ScrollTimerInterval, nullptr) != 0)
        m_timerRunning = true;
}

void TCustomGridGx::StopTimer()
{
    if (m_timerRunning && HandleAllocated())
        (void)KillTimer(Handle(), ScrollTimerId);
    m_timerRunning = false;
}

void TCustomGridGx::TimerTick()
{
    if (m_gridState != gsSelectingGx && m_gridState != gsRowMovingGx && m_gridState != gsColMovingGx)
        return;
    POINT point{};
    (void)GetCursorPos(&point);
    point = ScreenToClient(point);
    if (m_gridState == gsSelectingGx) {
        TGridDrawInfoGx info;
        CalcDrawInfo(info);
        int direction = 0;
        if (point.x < info.Horz.FixedBoundary)
            direction |= sdLeftGx;
        else if (point.x > info.Horz.FullVisBoundary)
            direction |= sdRightGx;
        if (point.y < info.Vert.FixedBoundary)
            direction |= sdUpGx;
        else if (point.y > info.Vert.FullVisBoundary)
            direction |= sdDownGx;
        if (direction != 0)
            TimedScroll(direction);
        return;
    }
    const TGridCoord cell = CellAtPoint(point.x, point.y);
    if (m_gridState == gsRowMovingGx)
        MoveAndScroll(point.y, cell.Y, point, true);
    else
        MoveAndScroll(point.x, cell.X, point, false);
}

void TCustomGridGx::CancelMode()
{
    switch (m_gridState) {
    case gsSelectingGx:
        StopTimer();
        break;
    case gsRowSizingGx:
    case gsColSizingGx: {
        TGridDrawInfoGx info;
        CalcDrawInfo(info);
        DrawSizingLine(info);
        break;
    }
    case gsRowMovingGx:
    case gsColMovingGx:
        if (m_moveLineShown)
            DrawMoveLine();
        StopTimer();
        break;
    default:
        break;
    }
    m_gridState = gsNormalGx;
}

bool TCustomGridGx::MouseWheel(bool down)
{
    if (down && m_current.Y < m_rowCount - 1)
        FocusCell(m_current.X, m_current.Y + 1, true);
    else if (!down && m_current.Y > m_fixedRows)
        FocusCell(m_current.X, m_current.Y - 1, true);
    return true; // the wheel never scrolls the parent past a grid
}

// ---- Cell clicks ------------------------------------------------------------------------------------------------

bool TCustomGridGx::CanCellClick(int x, int y) const { return m_gridState == gsNormalGx && x >= 0 && y >= 0; }

void TCustomGridGx::CellMouseClick(TGridCoord cell, TMouseButton button, TShiftState shift, int x, int y)
{
    if (m_onCellMouseClick)
        m_onCellMouseClick(this, cell, button, shift, x, y);
    else
        CellClick();
}

void TCustomGridGx::PressForCellClick(const TMessage& message)
{
    const POINT point = MessagePoint(message);
    TGridCoord cell = CellAtPoint(point.x, point.y);
    if (cell.X < 0 && cell.Y < 0)
        cell = CellAtPoint(-1, -1);
    m_mouseDownCell = cell;
    if (m_inplaceEditor)
        m_inplaceEditor->SetClickTime(GetMessageTime());
}

void TCustomGridGx::ReleaseForCellClick(const TMessage& message, bool canClick)
{
    if (!canClick)
        return;
    const POINT point = MessagePoint(message);
    const TGridCoord cell = CellAtPoint(point.x, point.y);
    if (cell != m_mouseDownCell || cell.X < 0 || cell.Y < 0)
        return;
    const TRect rect = CellRect(cell.X, cell.Y);
    CellMouseClick(cell, mbLeft, KeysToShiftState(message.WParam), point.x - rect.left, point.y - rect.top);
}

// ---- Messages --------------------------------------------------------------------------------------------------

LRESULT TCustomGridGx::DialogCode() const
{
    LRESULT code = DLGC_WANTARROWS;
    if (m_options.Contains(goRowSelect))
        return code;
    if (m_options.Contains(goTabs))
        code |= DLGC_WANTTAB;
    if (m_options.Contains(goEditing))
        code |= DLGC_WANTCHARS;
    return code;
}

void TCustomGridGx::SetCursorMessage(TMessage& message)
{
    if (LOWORD(message.LParam) == HTCLIENT) {
        TGridStateGx state = m_gridState;
        if (state == gsNormalGx) {
            TGridDrawInfoGx info;
            CalcDrawInfo(info);
            int index = -1;
            int sizingPos = 0;
            int sizingOfs = 0;
            SizingHitTest(m_lastHitPoint.x, m_lastHitPoint.y, info, state, index, sizingPos, sizingOfs);
        }
        if (state == gsRowSizingGx || state == gsColSizingGx) {
            const TCursor cursor = state == gsRowSizingGx ? crVSplit : crHSplit;
            (void)::SetCursor(Screen ? Screen->Cursors(cursor)
                                     : LoadCursorA(nullptr, state == gsRowSizingGx ? IDC_SIZENS : IDC_SIZEWE));
            message.Result = 1;
            return;
        }
    }
    TCustomControl::Dispatch(message);
}

void TCustomGridGx::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case WM_GETDLGCODE:
        message.Result = DialogCode();
        return;
    case WM_CHAR:
        if (m_options.Contains(goEditing) && (message.WParam == VK_BACK || message.WParam >= 0x20)) {
            ShowEditorChar(message.WParam);
            return;
        }
        break;
    case WM_COMMAND:
        if (m_inplaceEditor && m_inplaceEditor->HandleAllocated() &&
            reinterpret_cast<HWND>(message.LParam) == m_inplaceEditor->Handle() && HIWORD(message.WParam) == EN_CHANGE &&
            m_inplaceCol != -1 && m_inplaceRow != -1)
            SetEditText(m_inplaceCol, m_inplaceRow, m_inplaceEditor->Text());
        break;
    case WM_KILLFOCUS:
        TCustomControl::Dispatch(message);
        InvalidateGridRect(Selection());
        if (m_inplaceEditor && (!m_inplaceEditor->HandleAllocated() ||
                                reinterpret_cast<HWND>(message.WParam) != m_inplaceEditor->Handle()))
            m_inplaceEditor->Hide();
        return;
    case WM_SETFOCUS:
        TCustomControl::Dispatch(message);
        if (!m_inplaceEditor || !m_inplaceEditor->HandleAllocated() ||
            reinterpret_cast<HWND>(message.WParam) != m_inplaceEditor->Handle()) {
            InvalidateGridRect(Selection());
            UpdateEdit();
        }
        return;
    case WM_SIZE:
        TCustomControl::Dispatch(message);
        UpdateScrollRange();
        if (m_contraColCount > 0 || m_contraRowCount > 0)
            InvalidateGrid();
        return;
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam == 0) {
            ModifyScrollBar(message.Msg == WM_HSCROLL ? SB_HORZ : SB_VERT, LOWORD(message.WParam),
                            HIWORD(message.WParam));
            message.Result = 0;
            return;
        }
        break;
    case WM_NCHITTEST:
        TCustomControl::Dispatch(message);
        m_lastHitPoint = ScreenToClient(MessagePoint(message));
        return;
    case WM_SETCURSOR:
        SetCursorMessage(message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        PressForCellClick(message);
        break;
    case WM_LBUTTONUP: {
        const POINT point = MessagePoint(message);
        const bool canClick = CanCellClick(point.x, point.y);
        if (Outlives([&] { TCustomControl::Dispatch(message); }))
            ReleaseForCellClick(message, canClick);
        return;
    }
    case WM_TIMER:
        if (message.WParam == ScrollTimerId)
            TimerTick();
        return;
    case CM_CANCELMODE:
        if (m_inplaceEditor)
            m_inplaceEditor->Perform(CM_CANCELMODE, message.WParam, message.LParam);
        [[fallthrough]];
    case WM_CANCELMODE:
        CancelMode();
        break;
    case CM_FONTCHANGED:
        if (m_inplaceEditor)
            m_inplaceEditor->SetFont(Font());
        break;
    case CM_WANTSPECIALKEY:
        TCustomControl::Dispatch(message);
        if (m_options.Contains(goEditing) && LOWORD(message.WParam) == VK_RETURN)
            message.Result = 1;
        return;
    case CM_SHOWINGCHANGED:
        TCustomControl::Dispatch(message);
        if (Showing())
            UpdateScrollRange();
        return;
    case WM_MOUSEWHEEL:
        message.Result = MouseWheel(GET_WHEEL_DELTA_WPARAM(message.WParam) < 0) ? 1 : 0;
        return;
    default:
        break;
    }
    TCustomControl::Dispatch(message);
}
