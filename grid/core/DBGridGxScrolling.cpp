// The data grid's scroll bars: the thumb of the record bar, the external bars.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxRoutines.h"
#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

namespace {

// The external horizontal bar runs over this range whatever the number of columns.
constexpr int HorzExtRange = 127;

} // namespace

void TCustomDBGridGx::ScrollBarsChanged()
{
    if (ComponentState().Contains(csDestroying))
        return;
    ShowOwnHorzScrollBar();
    if (HandleAllocated())
        LayoutChanged();
}

// The grid's own horizontal bar: not while the columns fit the width, nor when hidden or replaced.
void TCustomDBGridGx::ShowOwnHorzScrollBar()
{
    const bool shown = !m_autoFitColWidths && m_horzScrollBar->Visible() && !m_horzScrollBar->ExtScrollBar();
    SetScrollBars(shown ? ssHorizontalGx : ssNoneGx);
}

// Where the left column is between the first scrollable one and the last it can be; 0 when all
// columns fit.
void TCustomDBGridGx::UpdateHorzExtScrollBar()
{
    if (!m_horzScrollBar->ExtScrollBar() || !HandleAllocated())
        return;
    TGridDrawInfoGx info;
    CalcDrawInfo(info);
    const int lastLeft = CalcMaxTopLeft(TGridCoord{ColCount() - 1, RowCount() - 1}, info).X;
    const int scrollable = lastLeft - FixedCols();
    m_horzScrollBar->Show(0, scrollable > 0 ? HorzExtRange : 0, VisibleColCount(),
                          MulDivOr(LeftCol() - FixedCols(), HorzExtRange, scrollable, 0));
}

// A thumb let go: with record numbers it names the record (the first and the last at the ends);
// without, the five positions of the three-position bar mean first, page up, nothing, page down
// and last. A thumb dragged with Tracking moves as it goes, and its final position is then taken
// as already done. The message carries 16 bits of the position; a longer bar is asked.
void TCustomDBGridGx::VertThumbMoved(int code, int messagePosition)
{
    TDataSet* dataSet = m_dataLink->DataSet();
    const int position = dataSet->RecordCount() > 0xFFFF ? m_vertScrollBar->TrackPosition() : messagePosition;
    const int page = std::max(1, VisibleDataRowCount());
    if (code == SB_THUMBTRACK) {
        if (m_vertScrollBar->Tracking() && RecordsNumbered()) {
            (void)MoveRecordBy(position - dataSet->RecNo());
            m_vertScrollBar->SetThumbTracked();
        }
        return;
    }
    if (m_vertScrollBar->TakeThumbTracked())
        return;
    if (!RecordsNumbered()) {
        switch (position) {
        case 0: dataSet->First(); break;
        case 1: (void)MoveRecordBy(-page); break;
        case 3: (void)MoveRecordBy(page); break;
        case 4: dataSet->Last(); break;
        default: break;
        }
        return;
    }
    const int count = dataSet->RecordCount();
    if (position <= 1)
        dataSet->First();
    else if (position >= count)
        dataSet->Last();
    else
        dataSet->SetRecNo(position);
}
