#include "grid/core/DBGridGxBookmarkList.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/classlib/data/DBDataSet.h"

#include <gtest/gtest.h>

namespace {

// Five records; the grid shows records 2 to 4 below one title row.
class SelectedRows : public GridDataFixture {
protected:
    SelectedRows()
    {
        for (const char* name : {"a", "b", "c", "d", "e"})
            Exec(std::string("INSERT INTO T (NAME) VALUES ('") + name + "')");
        Show("SELECT * FROM T ORDER BY NAME");
        m_grid->SelectedRows = &m_rows;
        m_grid->TopRecord = 2;
        m_grid->VisibleRows = 3;
        m_rows.SetLinkActive(true);
    }

    void MarkRecord(int recNo, bool value = true)
    {
        m_query->SetRecNo(recNo);
        m_rows.MarkCurrent(value);
    }

    TBookmarkListGx m_rows{*m_grid};
};

} // namespace

TEST_F(SelectedRows, MarkingTheFirstRowReplacesARectangleSelection)
{
    MarkRecord(3);
    EXPECT_EQ(m_grid->SelectionKind, "bookmarks");
    EXPECT_EQ(m_rows.BookmarkCount(), 1);
    MarkRecord(3);
    EXPECT_EQ(m_rows.BookmarkCount(), 1) << "marking twice keeps one entry";
    MarkRecord(3, false);
    EXPECT_EQ(m_grid->SelectionKind, "none") << "unmarking the last row";
    MarkRecord(4, false);
    EXPECT_EQ(m_rows.BookmarkCount(), 0);
}

TEST_F(SelectedRows, BookmarksStayInDataSetOrder)
{
    for (const int recNo : {5, 1, 3})
        MarkRecord(recNo);
    std::vector<std::string> names;
    for (int i = 0; i < m_rows.BookmarkCount(); ++i) {
        m_query->SetBookmark(m_rows.Bookmark(i));
        names.push_back(m_query->FieldByName("NAME")->AsString());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"a", "c", "e"}));
    m_query->SetRecNo(3);
    EXPECT_TRUE(m_rows.IsCurrentSelected());
    m_query->SetRecNo(2);
    EXPECT_FALSE(m_rows.IsCurrentSelected());
}

TEST_F(SelectedRows, GridRectCoversTheShownSelectedRows)
{
    MarkRecord(1);
    MarkRecord(5);
    EXPECT_EQ(m_rows.SelectionToGridRect(4), (TGridRectGx{-1, -1, -1, -1})) << "selected, but not shown";
    MarkRecord(3);
    MarkRecord(4);
    m_query->SetRecNo(2);
    EXPECT_EQ(m_rows.SelectionToGridRect(4), (TGridRectGx{0, 2, 3, 3}));
    EXPECT_EQ(m_query->RecNo(), 2) << "the current record stays";
}

TEST_F(SelectedRows, DeleteSelectedRemovesTheRecords)
{
    MarkRecord(2);
    MarkRecord(4);
    m_rows.DeleteSelected();
    EXPECT_EQ(m_rows.BookmarkCount(), 0);
    EXPECT_EQ(m_query->RecordCount(), 3);
    m_rows.ClearBookmarks();
    EXPECT_EQ(m_grid->Log.back(), "selection changed");
}

TEST_F(SelectedRows, AClosedDataSetHasNoCurrentRow)
{
    m_rows.SetLinkActive(false);
    EXPECT_THROW(m_rows.MarkCurrent(true), EDatabaseError);
}
