#include "grid/core/DBGridGxBookmarkList.h"

#include "grid/core/DataGridGx.h"
#include "grid/core/DBGridGxDataLink.h"
#include "platform/classlib/data/DBDataSet.h"

#include <algorithm>

TDataSet* TBookmarkListGx::ListDataSet() const
{
    return m_grid.DataLink().DataSet();
}

void TBookmarkListGx::RepaintSelection()
{
    m_grid.InvalidateGrid();
}

void TBookmarkListGx::StateChanged()
{
    m_grid.RefreshSelection();
}

void TBookmarkListGx::ClearBookmarks()
{
    TBMListGx::ClearBookmarks();
    m_grid.SelectionChanged();
}

void TBookmarkListGx::MarkCurrent(bool value)
{
    TBMListGx::MarkCurrent(value);
    m_grid.InvalidateCurrentRow();
    if (!m_grid.SelectingRecordBookmarks() && BookmarkCount() > 0)
        m_grid.SelectRecordBookmarks();
    m_grid.RefreshSelection();
    m_grid.SelectionChanged();
}

void TBookmarkListGx::CountRow(int& first, int& last, int row)
{
    int index = 0;
    if (!Locate(ListDataSet()->Bookmark(), index))
        return;
    if (first < 0)
        first = row;
    last = row;
}

TGridRectGx TBookmarkListGx::SelectionToGridRect(int colCount)
{
    TGridDataLinkGx& link = m_grid.DataLink();
    if (!link.Active() || BookmarkCount() == 0)
        return {};
    TDataSet* dataSet = link.DataSet();
    int first = -1;
    int last = -1;
    if (m_grid.RecordsNumbered()) {
        const TBookmarkStr saved = dataSet->Bookmark();
        const int top = m_grid.TopRecordNumber();
        const int bottom = std::min(top + m_grid.VisibleDataRowCount() - 1, dataSet->RecordCount());
        dataSet->DisableControls();
        for (int recNo = top; recNo <= bottom; ++recNo) {
            dataSet->SetRecNo(recNo);
            CountRow(first, last, recNo - top);
        }
        dataSet->SetBookmark(saved);
        dataSet->EnableControls();
    } else {
        const int saved = link.ActiveRecord();
        for (int record = 0; record < link.RecordCount(); ++record) {
            link.SetActiveRecord(record);
            CountRow(first, last, record);
        }
        link.SetActiveRecord(saved);
    }
    if (first < 0)
        return {};
    const int titles = m_grid.TitleRowCount();
    return {0, titles + first, colCount - 1, titles + last};
}
