#include "grid/core/BMListGx.h"

#include "platform/classlib/data/DBDataSet.h"

int TBMListGx::BookmarkIndex(const TBookmarkStr& bookmark)
{
    int index = 0;
    return Locate(bookmark, index) ? index : -1;
}

bool TBMListGx::Locate(const TBookmarkStr& bookmark, int& index)
{
    if (m_lastIndex >= 0 && bookmark == m_lastSought) {
        index = m_lastIndex;
        return m_lastFound;
    }
    int low = 0;
    int high = BookmarkCount() - 1;
    bool found = false;
    while (low <= high) {
        const int mid = (low + high) / 2;
        const int order = CompareBookmarks(m_bookmarks[static_cast<std::size_t>(mid)], bookmark);
        if (order < 0) {
            low = mid + 1;
        } else {
            high = mid - 1;
            if (order == 0) {
                found = true;
                low = mid;
            }
        }
    }
    index = low;
    m_lastSought = bookmark;
    m_lastIndex = low;
    m_lastFound = found;
    return found;
}

bool TBMListGx::IsCurrentSelected()
{
    int index = 0;
    return Locate(CurrentBookmark(), index);
}

void TBMListGx::MarkCurrent(bool value)
{
    const TBookmarkStr bookmark = CurrentBookmark();
    int index = 0;
    const bool listed = Locate(bookmark, index);
    if (value && !listed)
        Insert(index, bookmark);
    else if (!value && listed)
        Erase(index);
}

TBookmarkStr TBMListGx::CurrentBookmark() const
{
    if (!m_dataSetOpen)
        RaiseListError(SDataSetClosed);
    return ListDataSet()->Bookmark();
}

int TBMListGx::CompareBookmarks(const TBookmarkStr& a, const TBookmarkStr& b) const
{
    return ListDataSet()->CompareBookmarks(a, b);
}

void TBMListGx::DeleteSelected()
{
    TDataSet* dataSet = ListDataSet();
    if (!dataSet)
        return;
    dataSet->DisableControls();
    try {
        for (int i = BookmarkCount() - 1; i >= 0; --i) {
            dataSet->SetBookmark(m_bookmarks[static_cast<std::size_t>(i)]);
            dataSet->Delete();
            Erase(i);
        }
    } catch (...) {
        dataSet->EnableControls();
        StateChanged();
        throw;
    }
    dataSet->EnableControls();
    StateChanged();
}

void TBMListGx::ClearBookmarks()
{
    if (m_bookmarks.empty())
        return;
    m_bookmarks.clear();
    ListChanged();
    StateChanged();
    RepaintSelection();
}

void TBMListGx::SetLinkActive(bool active)
{
    ClearBookmarks();
    StateChanged();
    m_dataSetOpen = active;
}

void TBMListGx::RaiseListError(const std::string& message) const
{
    throw EDatabaseError(message);
}

void TBMListGx::Insert(int index, const TBookmarkStr& bookmark)
{
    m_bookmarks.insert(m_bookmarks.begin() + index, bookmark);
    ListChanged();
}

void TBMListGx::Erase(int index)
{
    m_bookmarks.erase(m_bookmarks.begin() + index);
    ListChanged();
}
