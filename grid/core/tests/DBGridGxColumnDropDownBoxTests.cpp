#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"
#include "grid/core/DBGridGxColumnDropDownGrid.h"
#include "grid/core/DBGridGxColumns.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// Columns outside a grid whose drop-down boxes reach drop-down grids of the plain data grid class.
class ColumnDropDownBox : public ::testing::Test {
protected:
    void TearDown() override { SetColumnDropDownGridMaker(nullptr); }

    static void MakePlainGrids()
    {
        SetColumnDropDownGridMaker(
            [](TColumnGx&) -> std::unique_ptr<TCustomDBGridGx> { return std::make_unique<TDBGridGx>(nullptr); });
    }

    TDBGridColumnsGx m_columns{nullptr, TDBGridColumnGx::StaticClass()};
};

TEST_F(ColumnDropDownBox, WithoutADropDownGridTheForwardedSettingsReadEmpty)
{
    TColumnDropDownBoxGx& box = *m_columns.Add()->DropDownBox();
    box.SetOptions(TDBGridOptions{dgTitles});
    box.SetSortLocal(true);
    EXPECT_EQ(box.DropDownGrid(), nullptr);
    EXPECT_EQ(box.Columns(), nullptr);
    EXPECT_EQ(box.ColumnDefValues(), nullptr);
    EXPECT_TRUE(box.Options().Empty());
    EXPECT_FALSE(box.SortLocal());
    EXPECT_FALSE(m_columns.ColumnAt(0)->OnDropDownBoxTitleBtnClick());
}

// The settings live on the column's drop-down grid; assigning a box copies its columns (when the
// program set them up), column defaults and options, and clears the target's columns otherwise.
TEST_F(ColumnDropDownBox, SettingsLiveOnTheDropDownGridAndAssignCopiesThem)
{
    MakePlainGrids();
    TColumnGx& source = *m_columns.Add();
    TColumnDropDownBoxGx& box = *source.DropDownBox();
    ASSERT_NE(box.DropDownGrid(), nullptr);
    box.Columns()->Add()->SetFieldName("NAME");
    box.ColumnDefValues()->SetFlag(cdfDblClickNextVal, true);
    box.SetOptions(TDBGridOptions{dgTitles, dgColLines});
    box.SetSortLocal(true);
    EXPECT_TRUE(box.DropDownGrid()->SortLocal());
    EXPECT_EQ(box.DropDownGrid()->Options(), (TDBGridOptions{dgTitles, dgColLines}));
    source.SetOnDropDownBoxSortMarkingChanged(TNotifyEvent::FromFunction([](TObject*) {}));
    EXPECT_TRUE(box.DropDownGrid()->OnSortMarkingChanged());

    TColumnDropDownBoxGx& copy = *m_columns.Add()->DropDownBox();
    copy.Assign(&box);
    ASSERT_EQ(copy.Columns()->Count(), 1);
    EXPECT_EQ(copy.Columns()->ColumnAt(0)->FieldName(), "NAME");
    EXPECT_TRUE(copy.ColumnDefValues()->Flag(cdfDblClickNextVal));
    EXPECT_EQ(copy.Options(), (TDBGridOptions{dgTitles, dgColLines}));

    box.Columns()->Clear();
    copy.Assign(&box);
    EXPECT_FALSE(copy.ColumnsCustomized()) << "the source's columns are the grid's own";
}

} // namespace
