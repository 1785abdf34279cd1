#pragma once

#include "platform/classlib/data/DB.h"

#include <string>
#include <vector>

class TDataSet;

// A sorted list of record bookmarks (in the data set's order) with a binary search and a
// one-entry cache: the painter asks about every shown row, usually the same one several times.
class TBMListGx {
public:
    TBMListGx() = default;
    virtual ~TBMListGx() = default;
    TBMListGx(const TBMListGx&) = delete;
    TBMListGx& operator=(const TBMListGx&) = delete;

    [[nodiscard]] int BookmarkCount() const { return static_cast<int>(m_bookmarks.size()); }
    [[nodiscard]] const TBookmarkStr& Bookmark(int index) const { return m_bookmarks.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] int BookmarkIndex(const TBookmarkStr& bookmark);
    // Whether the bookmark is listed; index is its place, or where it would go.
    bool Locate(const TBookmarkStr& bookmark, int& index);
    [[nodiscard]] bool IsCurrentSelected();
    // Adds (true) or removes (false) the current record.
    virtual void MarkCurrent(bool value);
    // The current record's bookmark; raises while the data set is closed.
    [[nodiscard]] TBookmarkStr CurrentBookmark() const;
    [[nodiscard]] int CompareBookmarks(const TBookmarkStr& a, const TBookmarkStr& b) const;
    // Deletes every listed record, the last first.
    void DeleteSelected();
    virtual void ClearBookmarks();
    void SetLinkActive(bool active);

protected:
    [[nodiscard]] virtual TDataSet* ListDataSet() const = 0;
    virtual void RepaintSelection() {}
    [[noreturn]] virtual void RaiseListError(const std::string& message) const;
    virtual void ListChanged() { m_lastIndex = -1; }
    virtual void StateChanged() {}

private:
    void Insert(int index, const TBookmarkStr& bookmark);
    void Erase(int index);

    std::vector<TBookmarkStr> m_bookmarks;
    TBookmarkStr m_lastSought;
    int m_lastIndex = -1;
    bool m_lastFound = false;
    bool m_dataSetOpen = false;
};
