// A data grid read from form data: its columns, and a column's drop-down box with the settings it
// hands to the column's drop-down grid and its special row.
#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCellDropDown.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"
#include "grid/core/DBGridGxColumnDropDownGrid.h"
#include "grid/tools/DBGridGxCellDropDowns.h"
#include "grid/tools/ListExtraRowGx.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class GridFormData : public ::testing::Test {
protected:
    void SetUp() override
    {
        (void)SelectHeadlessDisplay();
        RegisterClass(TDBGridGx::StaticClass());
        RegisterGridCellDropDowns();
        RegisterColumnSpecialRows();
    }
    void TearDown() override
    {
        SetCellDropDownFactory(nullptr);
        SetColumnDropDownGridMaker(nullptr);
        SetColumnSpecRowMaker(nullptr);
    }
};

TEST_F(GridFormData, DropDownBoxesReadTheirGridsSettingsAndSpecialRow)
{
    const std::unique_ptr<TComponent> read(ReadComponentText("object G: TDBGridGx\n"
                                                             "  Columns = <\n"
                                                             "    item\n"
                                                             "      FieldName = 'TOWN'\n"
                                                             "      DropDownBox.ColumnDefValues.Title.TitleButton = True\n"
                                                             "      DropDownBox.Columns = <\n"
                                                             "        item\n"
                                                             "          FieldName = 'NAME'\n"
                                                             "        end\n"
                                                             "        item\n"
                                                             "          FieldName = 'CODE'\n"
                                                             "        end>\n"
                                                             "      DropDownBox.Options = [dgTitles, dgColLines]\n"
                                                             "      DropDownBox.SortLocal = True\n"
                                                             "      DropDownBox.SpecRow.CellsText = '(none)'\n"
                                                             "      DropDownBox.SpecRow.Visible = True\n"
                                                             "    end>\n"
                                                             "end\n"));
    auto* grid = dynamic_cast<TDBGridGx*>(read.get());
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->Columns().Count(), 1);
    TColumnGx* town = grid->Columns().ColumnAt(0);
    EXPECT_EQ(town->FieldName(), "TOWN");
    TColumnDropDownBoxGx* box = town->DropDownBox();
    ASSERT_NE(box->Columns(), nullptr);
    ASSERT_EQ(box->Columns()->Count(), 2);
    EXPECT_EQ(box->Columns()->ColumnAt(1)->FieldName(), "CODE");
    EXPECT_TRUE(box->ColumnDefValues()->Title()->TitleButton());
    EXPECT_EQ(box->Options(), (TDBGridOptions{dgTitles, dgColLines}));
    EXPECT_TRUE(box->SortLocal());
    ASSERT_NE(box->SpecRow(), nullptr);
    EXPECT_TRUE(box->SpecRow()->Visible());
    EXPECT_EQ(box->SpecRow()->CellText(0), "(none)");

    const std::string written = WriteComponentText(grid);
    EXPECT_NE(written.find("DropDownBox.SortLocal = True"), std::string::npos) << written;
    EXPECT_NE(written.find("DropDownBox.SpecRow.CellsText = '(none)'"), std::string::npos) << written;
}

} // namespace
