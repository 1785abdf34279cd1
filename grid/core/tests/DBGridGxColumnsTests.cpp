#include "grid/core/DBGridGxColumnDropDownBox.h"
#include "grid/core/DBGridGxColumns.h"
#include "grid/core/tests/TestDataGrid.h"
#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class ColumnOutsideGrid : public ::testing::Test {
protected:
    TDBGridColumnsGx m_columns{nullptr, TDBGridColumnGx::StaticClass()};
    TColumnGx& m_column = *m_columns.Add();
};

class ColumnModel : public GridDataFixture {
protected:
    ColumnModel()
    {
        Exec("INSERT INTO T (NAME, AMOUNT, QTY, FLAG, CODE, DT, NOTE) VALUES "
             "('Alice', 1.25, 1, -1, 'A', '2024-03-05 10:20:30', 'long text')");
        Exec("INSERT INTO T (NAME, AMOUNT, QTY, FLAG, CODE, DT, NOTE) VALUES (NULL, NULL, NULL, NULL, NULL, NULL, NULL)");
        Show("SELECT * FROM T ORDER BY ID");
    }

    // The stored value of the first row's field, read by a fresh query.
    std::string Stored(const std::string& field, int row = 1) const
    {
        auto query = Query("SELECT * FROM T ORDER BY ID");
        query->Open();
        query->SetRecNo(row);
        return query->FieldByName(field)->IsNull() ? "<null>" : query->FieldByName(field)->AsString();
    }

    static void SetLines(TStrings* list, std::initializer_list<const char*> lines)
    {
        list->Clear();
        for (const char* line : lines)
            list->Add(line);
    }
};

using Texts = std::vector<std::string>;

} // namespace

TEST_F(ColumnOutsideGrid, ReadsPlainDefaults)
{
    EXPECT_EQ(m_column.Width(), 64);
    EXPECT_EQ(m_column.Color(), clWindow);
    EXPECT_EQ(m_column.Alignment(), taLeftJustify);
    EXPECT_EQ(m_column.DropDownRows(), 7);
    EXPECT_EQ(m_column.NotInKeyListIndex(), -1);
    EXPECT_EQ(m_column.Increment(), 1.0L);
    EXPECT_TRUE(m_column.Visible());
    EXPECT_TRUE(m_column.AutoFitColWidth());
    for (const bool flag : {m_column.ToolTips(), m_column.AutoDropDown(), m_column.DblClickNextVal(),
                            m_column.DropDownSizing(), m_column.DropDownShowTitles(), m_column.EndEllipsis(),
                            m_column.HighlightRequired(), m_column.AlwaysShowEditButton(), m_column.Checkboxes(),
                            m_column.ReadOnly()})
        EXPECT_FALSE(flag);
    EXPECT_EQ(m_column.DisplayText(), "");
    EXPECT_EQ(m_column.Title()->Color(), clBtnFace);
}

TEST_F(ColumnOutsideGrid, AssigningTheDefaultLeavesTheseUnassigned)
{
    m_column.SetToolTips(false);
    m_column.SetAutoDropDown(false);
    m_column.SetDblClickNextVal(false);
    m_column.SetDropDownSizing(false);
    m_column.SetDropDownShowTitles(false);
    m_column.SetImeMode(imDontCare);
    m_column.SetImeName("");
    EXPECT_TRUE(m_column.AssignedValues().Empty());
    m_column.SetToolTips(true);
    m_column.SetToolTips(false);
    EXPECT_TRUE(m_column.AssignedValues().Contains(cvToolTips)) << "once assigned, it stays assigned";
    EXPECT_FALSE(m_column.IsToolTipsStored()) << "but equal to the default it is not stored";
}

TEST_F(ColumnOutsideGrid, WidthLimits)
{
    m_column.SetWidth(-1);
    EXPECT_FALSE(m_column.AssignedValues().Contains(cvWidth));
    m_column.SetMaxWidth(100);
    m_column.SetWidth(150);
    EXPECT_EQ(m_column.Width(), 100);
    m_column.SetMaxWidth(0);
    m_column.SetWidth(60);
    m_column.SetMinWidth(80);
    EXPECT_EQ(m_column.Width(), 80);
    EXPECT_EQ(m_column.AllowableWidth(20), 80);
    m_column.SetMaxWidth(90);
    EXPECT_EQ(m_column.AllowableWidth(200), 90);
}

TEST_F(ColumnModel, BindsItsFieldByNameAndTakesTheFieldsSpelling)
{
    TColumnGx& column = AddColumn("name");
    ASSERT_NE(column.BoundField(), nullptr);
    EXPECT_EQ(column.FieldName(), "NAME");
    EXPECT_EQ(column.DisplayText(), "Alice");
    EXPECT_EQ(column.Title()->Caption(), "NAME");
    m_query->FieldByName("NAME")->SetDisplayLabel("Name");
    EXPECT_EQ(column.Title()->Caption(), "Name");

    TColumnGx& missing = AddColumn("NOPE");
    EXPECT_EQ(missing.BoundField(), nullptr);
    EXPECT_EQ(missing.DisplayText(), "");
    EXPECT_FALSE(missing.CanModify(false));
    EXPECT_EQ(missing.Title()->Caption(), "NOPE");
}

TEST_F(ColumnModel, UnassignedPropertiesFollowFieldAndGrid)
{
    TColumnGx& name = AddColumn("NAME");
    TColumnGx& amount = AddColumn("AMOUNT");
    TColumnGx& flag = AddColumn("FLAG");
    TColumnGx& note = AddColumn("NOTE");
    EXPECT_EQ(amount.Alignment(), taRightJustify);
    EXPECT_TRUE(name.WordWrap());
    EXPECT_TRUE(note.WordWrap());
    EXPECT_FALSE(amount.WordWrap());
    EXPECT_TRUE(flag.Checkboxes());
    EXPECT_EQ(flag.CellImageKind(), cikCheckboxes);
    EXPECT_EQ(name.Layout(), tlCenter);

    m_grid->Color = clYellow;
    m_grid->Font.SetName("Courier New");
    m_grid->DefaultFlags = {cdfToolTips, cdfEndEllipsis};
    EXPECT_EQ(name.Color(), clYellow);
    EXPECT_EQ(name.Font()->Name(), "Courier New");
    EXPECT_TRUE(name.ToolTips());
    EXPECT_TRUE(name.EndEllipsis());
    EXPECT_EQ(name.Title()->Font()->Name(), "Arial") << "a title's font follows the grid's title font";

    EXPECT_FALSE(name.ReadOnly());
    m_query->FieldByName("NAME")->SetReadOnly(true);
    EXPECT_TRUE(name.ReadOnly());
    name.SetReadOnly(false);
    EXPECT_FALSE(name.ReadOnly()) << "an assigned value wins over the field";

    name.Font()->SetName("Tahoma");
    EXPECT_TRUE(name.IsFontStored());
    m_grid->Font.SetName("Verdana");
    EXPECT_EQ(name.Font()->Name(), "Tahoma");
}

TEST_F(ColumnModel, ADefaultColumnWritesThroughToItsField)
{
    TColumnGx& column = *m_grid->Columns().AddDefaultColumn();
    column.SetFieldName("QTY");
    column.SetAlignment(taCenter);
    column.Title()->SetCaption("Quantity");
    column.SetReadOnly(true);
    const TField* field = m_query->FieldByName("QTY");
    EXPECT_EQ(field->Alignment(), taCenter);
    EXPECT_EQ(field->DisplayLabel(), "Quantity");
    EXPECT_TRUE(field->ReadOnly());
    EXPECT_TRUE(column.AssignedValues().Empty());
    EXPECT_EQ(m_grid->Columns().State(), csDefaultGx);
}

TEST_F(ColumnModel, DisplayText)
{
    TColumnGx& code = AddColumn("CODE");
    SetLines(code.KeyList(), {"A", "B"});
    SetLines(code.PickList(), {"Alpha"});
    EXPECT_EQ(code.DisplayText(), "Alpha");
    Edit([&] { m_query->FieldByName("CODE")->SetAsString("B"); });
    EXPECT_EQ(code.DisplayText(), "") << "B has no pick-list item and NotInKeyListIndex is -1";
    code.SetNotInKeyListIndex(0);
    EXPECT_EQ(code.DisplayText(), "Alpha");
    Edit([&] { m_query->FieldByName("CODE")->SetAsString("a"); });
    code.SetNotInKeyListIndex(-1);
    EXPECT_EQ(code.DisplayText(), "") << "keys match exactly, letter case included";

    TColumnGx& amount = AddColumn("AMOUNT");
    amount.SetDisplayFormat("0.00");
    EXPECT_EQ(amount.DisplayText(), "1.25");
    TColumnGx& date = AddColumn("DT");
    date.SetDisplayFormat("yyyy-mm-dd hh:nn");
    EXPECT_EQ(date.DisplayText(), "2024-03-05 10:20");
    TColumnGx& name = AddColumn("NAME");
    name.SetDisplayFormat("0.00");
    EXPECT_EQ(name.DisplayText(), "") << "a string field with a display format shows nothing";

    TColumnGx& note = AddColumn("NOTE");
    m_grid->MemoText = true;
    EXPECT_EQ(note.DisplayText(), "long text");

    m_query->Next();
    EXPECT_EQ(amount.DisplayText(), "") << "null";
    EXPECT_EQ(date.DisplayText(), "");
}

TEST_F(ColumnModel, CheckboxStateFromKeyListItems)
{
    TColumnGx& code = AddColumn("CODE");
    code.SetCheckboxes(true);
    SetLines(code.KeyList(), {"1;Y;", "0;N"});
    struct Case {
        const char* text;
        TCheckBoxStateGx state;
    };
    for (const Case& c : {Case{"1", cbCheckedGx}, Case{"Y", cbCheckedGx}, Case{"", cbCheckedGx},
                          Case{"N", cbUncheckedGx}, Case{"0", cbUncheckedGx}, Case{"X", cbGrayedGx}}) {
        Edit([&] { m_query->FieldByName("CODE")->SetAsString(c.text); });
        EXPECT_EQ(code.CheckboxState(), c.state) << "'" << c.text << "'";
    }
    SetLines(code.KeyList(), {"1;Y", "0;N"});
    Edit([&] { m_query->FieldByName("CODE")->SetAsString(""); });
    EXPECT_EQ(code.CheckboxState(), cbGrayedGx) << "without a trailing ';' the empty value matches nothing";
}

TEST_F(ColumnModel, CheckboxStateOfBooleanAndNumberFields)
{
    TColumnGx& flag = AddColumn("FLAG");
    TColumnGx& qty = AddColumn("QTY");
    qty.SetCheckboxes(true);
    EXPECT_EQ(flag.CheckboxState(), cbCheckedGx);
    EXPECT_EQ(qty.CheckboxState(), cbCheckedGx);
    Edit([&] { m_query->FieldByName("QTY")->SetAsInteger(2); });
    EXPECT_EQ(qty.CheckboxState(), cbUncheckedGx) << "only 1 counts as ticked";
    m_query->Next();
    EXPECT_EQ(flag.CheckboxState(), cbGrayedGx);
    EXPECT_EQ(qty.CheckboxState(), cbGrayedGx);
}

TEST_F(ColumnModel, CheckboxStateIsWrittenThroughTheDataLink)
{
    TColumnGx& flag = AddColumn("FLAG");
    TColumnGx& qty = AddColumn("QTY");
    qty.SetCheckboxes(true);
    TColumnGx& code = AddColumn("CODE");
    code.SetCheckboxes(true);
    SetLines(code.KeyList(), {"Y;1", "N;0"});
    Edit([&] {
        flag.SetCheckboxState(cbUncheckedGx);
        qty.SetCheckboxState(cbUncheckedGx);
        code.SetCheckboxState(cbUncheckedGx);
    });
    EXPECT_EQ(Stored("FLAG"), "False");
    EXPECT_EQ(Stored("QTY"), "0");
    EXPECT_EQ(Stored("CODE"), "N") << "the first value of the item";
    Edit([&] {
        flag.SetCheckboxState(cbGrayedGx);
        code.SetCheckboxState(cbCheckedGx);
    });
    EXPECT_EQ(Stored("FLAG"), "<null>");
    EXPECT_EQ(Stored("CODE"), "Y");
}

TEST_F(ColumnModel, NextValueCyclesThroughTheLists)
{
    TColumnGx& code = AddColumn("CODE");
    SetLines(code.PickList(), {"A", "B", "C"});
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        code.SetNextFieldValue(1);
        seen.push_back(m_query->FieldByName("CODE")->AsString());
    }
    EXPECT_EQ(seen, (Texts{"B", "C", "A", "B"}));
    code.SetNextFieldValue(-1);
    code.SetNextFieldValue(-1);
    EXPECT_EQ(m_query->FieldByName("CODE")->AsString(), "C") << "backward wraps from the first to the last";
    m_query->Post();
    EXPECT_EQ(Stored("CODE"), "C");

    code.SetIncrement(2);
    code.SetNextFieldValue(-2);
    EXPECT_EQ(m_query->FieldByName("CODE")->AsString(), "B") << "a step of -Increment goes backward";
    code.SetNextFieldValue(2);
    EXPECT_EQ(m_query->FieldByName("CODE")->AsString(), "C") << "and +Increment forward";
}

TEST_F(ColumnModel, NextValueOfAKeyListWritesTheKey)
{
    TColumnGx& code = AddColumn("CODE");
    SetLines(code.KeyList(), {"A", "B"});
    SetLines(code.PickList(), {"Alpha", "Beta"});
    code.SetNextFieldValue(1);
    EXPECT_EQ(m_query->FieldByName("CODE")->AsString(), "B");
    EXPECT_EQ(code.DisplayText(), "Beta");
    code.SetNextFieldValue(1);
    EXPECT_EQ(m_query->FieldByName("CODE")->AsString(), "A");
}

TEST_F(ColumnModel, NextValueOfANullNumberIsZeroEitherWay)
{
    m_query->Next();
    TColumnGx& qty = AddColumn("QTY");
    qty.SetNextFieldValue(-1);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 0);
    m_query->Cancel();
    qty.SetNextFieldValue(1);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 0);
    qty.SetNextFieldValue(1);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 1);
}

TEST_F(ColumnModel, NoNextValueForAReadOnlyColumnOrGrid)
{
    TColumnGx& qty = AddColumn("QTY");
    qty.SetReadOnly(true);
    qty.SetNextFieldValue(1);
    EXPECT_EQ(m_query->State(), dsBrowse);
    qty.SetReadOnly(false);
    m_grid->ReadOnlyGrid = true;
    qty.SetNextFieldValue(1);
    EXPECT_EQ(m_query->State(), dsBrowse);
    EXPECT_EQ(m_query->FieldByName("QTY")->AsInteger(), 1);
}

TEST_F(ColumnModel, UpdateDataHandlerMayTakeOverTheWrite)
{
    TColumnGx& name = AddColumn("NAME");
    name.SetOnUpdateData(TColumnUpdateDataEventGx::FromFunction(
        [](TObject*, std::string& text, Variant&, bool&, bool& handled) {
            handled = text == "skip";
            text = "[" + text + "]";
        }));
    Edit([&] { name.UpdateDataValues("Bob", Variant(), true); });
    EXPECT_EQ(Stored("NAME"), "[Bob]");
    Edit([&] { name.UpdateDataValues("skip", Variant(), true); });
    EXPECT_EQ(Stored("NAME"), "[Bob]");
}

TEST_F(ColumnModel, CellImageKindFirstMatchWins)
{
    TColumnGx& code = AddColumn("CODE");
    EXPECT_EQ(code.CellImageKind(), cikPlain);
    SetLines(code.PickList(), {"x"});
    EXPECT_EQ(code.CellImageKind(), cikPickList);
    SetLines(code.KeyList(), {"1"});
    EXPECT_EQ(code.CellImageKind(), cikKeyPickList);
    code.SetCheckboxes(true);
    EXPECT_EQ(code.CellImageKind(), cikCheckboxes);
    code.SetCheckboxes(false);
    code.SetKeyList(nullptr);
    EXPECT_EQ(code.BuiltInButtonKind(), bbkPickListDropDown);
    EXPECT_EQ(AddColumn("DT").BuiltInButtonKind(), bbkDateDropDown);
}

TEST_F(ColumnModel, ImageIndexOfValue)
{
    TColumnGx& qty = AddColumn("QTY");
    EXPECT_EQ(qty.ImageIndexOfValue(), 1);
    TColumnGx& code = AddColumn("CODE");
    SetLines(code.KeyList(), {"Z", "A"});
    EXPECT_EQ(code.ImageIndexOfValue(), 1);
    code.SetNotInKeyListIndex(3);
    m_query->Next();
    EXPECT_EQ(code.ImageIndexOfValue(), 3);
    EXPECT_EQ(qty.ImageIndexOfValue(), -1);
}

TEST_F(ColumnModel, AssignCopiesOnlyTheAssignedLooks)
{
    TColumnGx& source = AddColumn("AMOUNT");
    source.SetColor(clRed);
    source.SetDropDownRows(3);
    source.SetTag(9);
    source.Title()->SetCaption("Sum");
    SetLines(source.PickList(), {"1", "2"});
    TColumnGx& target = AddColumn("NAME");
    target.SetWidth(120);
    target.Assign(&source);
    EXPECT_EQ(target.FieldName(), "AMOUNT");
    EXPECT_EQ(target.Color(), clRed);
    EXPECT_FALSE(target.AssignedValues().Contains(cvWidth)) << "the source's width was not assigned";
    EXPECT_FALSE(target.AssignedValues().Contains(cvAlignment));
    EXPECT_EQ(target.Alignment(), taRightJustify);
    EXPECT_EQ(target.DropDownRows(), 3);
    EXPECT_EQ(target.Tag(), 9);
    EXPECT_EQ(target.Title()->Caption(), "Sum");
    EXPECT_EQ(target.PickList()->Count(), 2);
}

TEST_F(ColumnModel, FittedWidthsRescaleWithoutDividingByZero)
{
    TColumnGx& first = AddColumn("NAME");
    TColumnGx& second = AddColumn("QTY");
    m_grid->FitWidths = true;
    first.SetFitBaseWidth(100);
    second.SetFitBaseWidth(40);
    m_grid->ColWidths[1] = 0;
    first.SetWidth(50);
    EXPECT_EQ(first.FitBaseWidth(), 100) << "a column 0 wide has no ratio to rescale by";
    m_grid->ColWidths[1] = 100;
    first.SetWidth(50);
    EXPECT_EQ(first.FitBaseWidth(), 50);
    EXPECT_EQ(second.FitBaseWidth(), 90) << "the next column takes what this one gave up";
}

TEST_F(ColumnModel, TheGridColumnFollowsTheColumnsWidthAndVisibility)
{
    TColumnGx& name = AddColumn("NAME");
    name.SetWidth(77);
    EXPECT_EQ(m_grid->ColWidths[1], 77);
    name.SetVisible(false);
    EXPECT_EQ(m_grid->Log.back(), "rebuild") << "showing or hiding moves the columns after it";
    name.SetWidth(90);
    EXPECT_EQ(m_grid->ColWidths[1], -1) << "hidden with column lines";
    EXPECT_EQ(m_grid->LayoutLocks, 0);
}

TEST_F(ColumnModel, ColumnsRoundTripThroughFormData)
{
    TColumnGx& name = AddColumn("NAME");
    name.SetWidth(120);
    name.Title()->SetCaption("Name");
    name.SetToolTips(false);
    TColumnGx& code = AddColumn("CODE");
    SetLines(code.PickList(), {"Alpha", "Beta"});
    SetLines(code.KeyList(), {"A", "B"});
    code.SetCheckboxes(false);
    code.SetIncrement(2.5L);
    code.Title()->Font()->SetName("Tahoma");
    code.SetVisible(false);
    m_grid->SetName("Grid");
    RegisterClass(TTestDataGrid::StaticClass());

    const std::string text = WriteComponentText(m_grid.get());
    EXPECT_EQ(text.find("ToolTips"), std::string::npos) << text;
    EXPECT_NE(text.find("Checkboxes = False"), std::string::npos) << "assigned, so stored: " << text;

    std::unique_ptr<TComponent> read(ReadComponentText(text));
    auto& copy = dynamic_cast<TTestDataGrid&>(*read);
    ASSERT_EQ(copy.Columns().Count(), 2);
    const TColumnGx& codeCopy = *copy.Columns()[1];
    EXPECT_EQ(codeCopy.PickList()->Text(), code.PickList()->Text());
    EXPECT_EQ(codeCopy.Increment(), 2.5L);
    EXPECT_FALSE(codeCopy.Visible());
    EXPECT_EQ(codeCopy.Title()->Font()->Name(), "Tahoma");
    EXPECT_EQ(copy.Columns()[0]->Width(), 120);
    EXPECT_EQ(WriteComponentText(&copy), text);
}

namespace {

// A column copies its drop-down box with the rest; the box's list source is the column's lookup
// list until that source is destroyed.
TEST_F(ColumnModel, DropDownBoxCopiesAndItsListSourceLeadsTheLookupList)
{
    TColumnGx& column = AddColumn("CODE");
    TColumnDropDownBoxGx& box = *column.DropDownBox();
    EXPECT_TRUE(box.AutoFitColWidths());
    EXPECT_EQ(column.LookupListDataSet(), nullptr);
    auto source = std::make_unique<TDataSource>(nullptr);
    source->SetDataSet(m_query.get());
    box.SetAlign(ddaRight);
    box.SetRows(12);
    box.SetWidth(240);
    box.SetSizable(true);
    box.SetShowTitles(true);
    box.SetAutoFitColWidths(false);
    box.SetListSource(source.get());
    EXPECT_EQ(column.LookupListDataSet(), m_query.get());

    TColumnGx& copy = AddColumn("NAME");
    copy.Assign(&column);
    const TColumnDropDownBoxGx& copied = *copy.DropDownBox();
    EXPECT_EQ(copied.Align(), ddaRight);
    EXPECT_EQ(copied.Rows(), 12);
    EXPECT_EQ(copied.Width(), 240);
    EXPECT_TRUE(copied.Sizable());
    EXPECT_TRUE(copied.ShowTitles());
    EXPECT_FALSE(copied.AutoFitColWidths());
    EXPECT_EQ(copied.ListSource(), source.get());

    source.reset();
    EXPECT_EQ(box.ListSource(), nullptr);
    EXPECT_EQ(copied.ListSource(), nullptr);
    EXPECT_EQ(column.LookupListDataSet(), nullptr);
}

} // namespace
