#include "grid/tools/DBLookupGridsGx.h"

#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

// Above or below the client area the list scrolls a record at a time, the faster the farther
// the pointer is; back inside it stops.
void TDBLookupGridGx::TrackOutside(int y)
{
    const int distance = y < 0 ? -y : y - (ClientHeight() - 1);
    if (distance <= 0) {
        StopAutoScroll();
        return;
    }
    // A timer never fires faster than this, whatever the distance.
    constexpr int MinIntervalMs = 10;
    if (!m_autoScroll) {
        m_autoScroll = new TTimer(this);
        m_autoScroll->SetOnTimer(TNotifyEvent::FromFunction([this](TObject*) { AutoScrollTick(); }));
    }
    m_autoScrollStep = y < 0 ? -1 : 1;
    m_autoScroll->SetInterval(static_cast<unsigned>(std::max(MinIntervalMs, 200 - 15 * distance)));
    m_autoScroll->SetEnabled(true);
}

void TDBLookupGridGx::StopAutoScroll()
{
    if (m_autoScroll)
        m_autoScroll->SetEnabled(false);
}

// One record on; up from the first record the special row, when there is one, is picked.
void TDBLookupGridGx::AutoScrollTick()
{
    if (!m_tracking || !m_listActive) {
        StopAutoScroll();
        return;
    }
    TDataSet* list = DataLink().DataSet();
    if (m_autoScrollStep < 0) {
        if (m_specRowSelected)
            return;
        if (list->MoveBy(-1) == 0) {
            if (m_specRow->Visible())
                SelectSpecRow();
            return;
        }
    } else if (m_specRowSelected) {
        list->First();
    } else {
        (void)list->MoveBy(1);
    }
    SelectCurrent();
}
