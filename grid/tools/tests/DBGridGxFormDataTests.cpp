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

[[nodiscard]] std::unique_ptr<TComponent> GridWithSpecRowValue(const std::string& value)
{
    return std::unique_ptr<TComponent>(ReadComponentText("object G: TDBGridGx\n"
                                                         "  Columns = <\n"
                                                         "    item\n"
                                                         "      FieldName = 'TOWN'\n" +
                                                         value +
                                                         "    end>\n"
                                                         "end\n"));
}

[[nodiscard]] const Variant& SpecRowValue(TComponent& read)
{
    auto& grid = dynamic_cast<TDBGridGx&>(read);
    return grid.Columns().ColumnAt(0)->DropDownBox()->SpecRow()->Value();
}

// The special row's value is a variant: each kind form data spells reads, is written back and
// reads again as the same value; Null, the default, is not written.
TEST_F(GridFormData, TheSpecialRowsValueReadsAndWritesEveryKind)
{
    struct Case {
        const char* Text;
        int Type;
        const char* AsString;
    };
    const Case cases[] = {{"0", varInteger, "0"},           {"-7", varInteger, "-7"},
                          {"5000000000", varInt64, "5000000000"}, {"'none'", varString, "none"},
                          {"True", varBoolean, "True"},     {"1.5", varDouble, "1.5"},
                          {"nil", varEmpty, ""}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        const auto read = GridWithSpecRowValue(std::string("      DropDownBox.SpecRow.Value = ") + c.Text + "\n");
        EXPECT_EQ(VarType(SpecRowValue(*read)), c.Type);
        EXPECT_EQ(VarToStr(SpecRowValue(*read)), c.AsString);
        const std::string written = WriteComponentText(read.get());
        ASSERT_NE(written.find("DropDownBox.SpecRow.Value = "), std::string::npos) << written;
        const std::unique_ptr<TComponent> again(ReadComponentText(written));
        EXPECT_EQ(VarType(SpecRowValue(*again)), c.Type) << written;
        EXPECT_EQ(VarToStr(SpecRowValue(*again)), c.AsString) << written;
    }

    const auto keys = GridWithSpecRowValue("      DropDownBox.SpecRow.Value = (\n        1\n        'a')\n");
    const std::unique_ptr<TComponent> keysAgain(ReadComponentText(WriteComponentText(keys.get())));
    for (TComponent* read : {keys.get(), keysAgain.get()}) {
        const Variant& value = SpecRowValue(*read);
        ASSERT_TRUE(VarIsArray(value));
        ASSERT_EQ(value.HighBound() - value.LowBound(), 1);
        EXPECT_EQ(value.Element(value.LowBound()).ToInteger(), 1);
        EXPECT_EQ(value.Element(value.HighBound()).ToString(), "a");
    }

    const auto none = GridWithSpecRowValue("      DropDownBox.SpecRow.Value = Null\n");
    EXPECT_TRUE(VarIsNull(SpecRowValue(*none)));
    EXPECT_EQ(WriteComponentText(none.get()).find("Value"), std::string::npos);
}

} // namespace

