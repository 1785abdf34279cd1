#include "grid/core/DBGridGxDataLink.h"
#include "grid/core/InvalidGridOperationGx.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/classlib/data/DBDataSet.h"

#include <gtest/gtest.h>

namespace {

class GridDataLink : public GridDataFixture {
protected:
    GridDataLink()
    {
        Exec("INSERT INTO T (NAME, QTY) VALUES ('a', 1)");
        Exec("INSERT INTO T (NAME, QTY) VALUES ('b', 2)");
        Show("SELECT * FROM T ORDER BY ID");
        m_grid->Log.clear();
    }
    TGridDataLinkGx& Link() { return m_grid->DataLink(); }
};

using Log = std::vector<std::string>;

} // namespace

TEST_F(GridDataLink, MapGrowsByDoublingFromEight)
{
    std::vector<int> capacities;
    for (int i = 0; i < 17; ++i) {
        ASSERT_TRUE(Link().AddFieldMapping("NAME"));
        capacities.push_back(Link().MapCapacity());
    }
    EXPECT_EQ(capacities[0], 8);
    EXPECT_EQ(capacities[8], 16);
    EXPECT_EQ(capacities[16], 32);
    EXPECT_EQ(Link().GetMappedField(16), m_query->FieldByName("NAME"));
    EXPECT_EQ(Link().GetMappedField(17), nullptr);
    EXPECT_EQ(Link().GetMappedField(-1), nullptr);
    Link().ClearMapping();
    EXPECT_EQ(Link().MapCount(), 0);
    EXPECT_EQ(Link().MapCapacity(), 0);
}

TEST_F(GridDataLink, MissingFieldsInASparseMapAndOutsideIt)
{
    EXPECT_TRUE(Link().DefaultFields());
    Link().SetMapByName(true);
    ASSERT_TRUE(Link().AddFieldMapping("QTY"));
    ASSERT_TRUE(Link().AddFieldMapping("NOPE"));
    EXPECT_EQ(Link().GetMappedField(0), m_query->FieldByName("QTY"));
    EXPECT_EQ(Link().GetMappedField(1), nullptr);
    EXPECT_FALSE(Link().DefaultFields()) << "a hole in the map";
    Link().SetMapByName(false);
    EXPECT_THROW((void)Link().AddFieldMapping("NOPE"), EDatabaseError);
}

TEST_F(GridDataLink, UpdateDataIsNotReenteredFromTheGridsWrite)
{
    int writes = 0;
    m_grid->OnWriteEditor = [&] {
        ++writes;
        m_query->FieldByName("NAME")->SetAsString("typed");
        m_query->UpdateRecord();  // asks the links again, while the first write runs
    };
    m_query->Edit();
    Link().MarkModified();
    m_query->Post();
    EXPECT_EQ(writes, 1);
    EXPECT_FALSE(Link().EditorChanged());
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "typed");
}

TEST_F(GridDataLink, RevertEditCancelsUnlessTheEditorChangedTheRecord)
{
    m_query->Edit();
    m_query->FieldByName("NAME")->SetAsString("x");
    Link().RevertEdit();
    EXPECT_EQ(m_query->State(), dsBrowse);
    EXPECT_EQ(m_query->FieldByName("NAME")->AsString(), "a");
    m_query->Edit();
    Link().MarkModified();
    m_grid->Log.clear();
    Link().RevertEdit();
    EXPECT_EQ(m_grid->Log, (Log{"record changed"})) << "the grid reads the record back into its editor";
    EXPECT_EQ(m_query->State(), dsEdit);
}

TEST_F(GridDataLink, ForwardsTheDataSetsNotifications)
{
    m_query->Next();
    m_query->Edit();
    m_query->Cancel();
    m_query->Close();
    EXPECT_FALSE(Link().Active());
    EXPECT_EQ(m_query->State(), dsInactive);
    EXPECT_EQ(m_grid->Log, (Log{"scrolled -1", "editing", "record changed", "editing", "changed", "inactive"}));
}

TEST_F(GridDataLink, LayoutChangesComeFromTheDataSetWhileTheGridHandlesThem)
{
    m_query->FieldByName("QTY")->SetVisible(false);
    ASSERT_FALSE(m_grid->Log.empty());
    EXPECT_EQ(m_grid->Log.front(), "layout from data set");
    EXPECT_FALSE(m_grid->FromDataSet);
}

TEST_F(GridDataLink, FocusRequestIsConsumedByTheGrid)
{
    m_query->FieldByName("QTY")->FocusControl();
    EXPECT_EQ(m_grid->Log, (Log{"focus QTY", "show editor"}));
}

TEST_F(GridDataLink, DisablingControlsDropsTheColumnsFieldCache)
{
    TColumnGx& column = AddColumn("NAME");
    ASSERT_NE(column.BoundField(), nullptr);
    m_query->DisableControls();
    EXPECT_EQ(column.AssignedValues().Empty(), true);
    m_query->EnableControls();
    EXPECT_EQ(column.BoundField(), m_query->FieldByName("NAME")) << "bound again on the next read";
}
