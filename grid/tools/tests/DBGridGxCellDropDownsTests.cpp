#include "PersistentFields.h"
#include "ToolsFixture.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCellDropDown.h"
#include "grid/core/DBGridGxColumnDropDownBox.h"
#include "grid/core/DBGridGxColumnDropDownGrid.h"
#include "grid/core/DBGridInplaceEdit.h"
#include "grid/tools/DBGridGxCellDropDowns.h"
#include "grid/tools/DBLookupGridsGx.h"
#include "grid/tools/ListExtraRowGx.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Clipbrd.h"
#include "platform/rtl/DateTime.h"
#include "tests/support/TempDir.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace {

// A data grid that edits a date and an amount; the cell editor's drop-downs come from this
// library through the factory the program registers.
class CellDropDowns : public ToolsFixture {
protected:
    enum : int { DateCol = 1, AmountCol };

    void SetUp() override
    {
        ToolsFixture::SetUp();
        RegisterGridCellDropDowns();
        (void)Query("CREATE TABLE D (ID INTEGER PRIMARY KEY, DT DATETIME, AMOUNT FLOAT)")->ExecSQL();
        (void)Query("INSERT INTO D VALUES (1, NULL, 1.5), (2, NULL, 2)")->ExecSQL();
        m_query = Query("SELECT ID, DT, AMOUNT FROM D ORDER BY ID");
        m_query->Open();
        MakeGrid({"DT", "AMOUNT"}, 120);
        m_grid->Columns().ColumnAt(1)->SetButtonStyle(cbsDropDown);
        ShowGrid();
    }

    void TearDown() override
    {
        ToolsFixture::TearDown();
        m_source.reset();
        m_query.reset();
        SetCellDropDownFactory(nullptr);
        SetColumnDropDownGridMaker(nullptr);
    }

    // A grid over the query with a column of `width` for each field; ShowGrid binds and focuses it.
    void MakeGrid(std::initializer_list<const char*> fields, int width)
    {
        m_source = std::make_unique<TDataSource>(nullptr);
        m_source->SetDataSet(m_query.get());
        m_grid = new TDBGridGx(m_form.get());
        m_grid->SetParent(m_form.get());
        m_grid->SetBounds(0, 0, 400, 200);
        for (const char* field : fields) {
            TColumnGx* column = m_grid->Columns().Add();
            column->SetFieldName(field);
            column->SetWidth(width);
        }
    }

    void ShowGrid()
    {
        m_grid->SetDataSource(m_source.get());
        m_form->SetActiveControl(m_grid);
        Pump();
    }

    [[nodiscard]] std::unique_ptr<TADOQuery> Query(const std::string& sql) const
    {
        auto query = std::make_unique<TADOQuery>(nullptr);
        query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "d.db").string());
        query->SQL()->SetText(sql);
        return query;
    }

    [[nodiscard]] TDBGridInplaceEdit* Editor() const
    {
        return dynamic_cast<TDBGridInplaceEdit*>(m_grid->InplaceEditor());
    }

    void OpenEditorOn(int col)
    {
        m_grid->SetCol(col);
        Pump();
        Key(VK_F2);
        ASSERT_TRUE(m_grid->EditorShowing());
    }

    TempDir m_dir;
    std::unique_ptr<TADOQuery> m_query;
    std::unique_ptr<TDataSource> m_source;
    TDBGridGx* m_grid = nullptr;
};

TEST_F(CellDropDowns, ADateColumnOpensTheCalendarOnTodayAndEnterTakesTheDayChosenByArrows)
{
    OpenEditorOn(DateCol);
    EXPECT_EQ(Editor()->EditStyle(), esDateGx);
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Editor()->ListVisible());
    ICellDropDownGx* calendar = Editor()->ActiveHookedList();
    ASSERT_NE(calendar, nullptr);
    EXPECT_TRUE(calendar->Visible());
    EXPECT_TRUE(Editor()->Focused()) << "the editor keeps the focus";
    EXPECT_EQ(static_cast<int>(calendar->Value().ToDateTime()), static_cast<int>(Date()))
        << "an empty cell opens on today";

    Key(VK_RIGHT);
    Key(VK_RETURN);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_FALSE(calendar->Visible());
    TField* date = m_query->FieldByName("DT");
    ASSERT_FALSE(date->IsNull());
    EXPECT_EQ(static_cast<int>(date->AsDateTime()), static_cast<int>(Date()) + 1);
    EXPECT_EQ(Editor()->Text(), date->Text()) << "the editor shows the day taken";

    Key(VK_DOWN, ModAlt);
    Key(VK_RIGHT);
    Key(VK_ESCAPE);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(static_cast<int>(date->AsDateTime()), static_cast<int>(Date()) + 1) << "Esc leaves the date";
}

TEST_F(CellDropDowns, ADateTextThatIsNoDateOpensTheCalendarOnTheFieldsDate)
{
    m_query->Edit();
    m_query->FieldByName("DT")->SetAsDateTime(EncodeDate(2024, 2, 29));
    m_query->Post();
    OpenEditorOn(DateCol);
    Editor()->SetText("no date");
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Editor()->ListVisible());
    EXPECT_EQ(Editor()->ActiveHookedList()->Value().ToDateTime(), EncodeDate(2024, 2, 29));
    Key(VK_ESCAPE);
}

TEST_F(CellDropDowns, TheCalculatorTakesTypedSumsAndEnterWritesTheResult)
{
    OpenEditorOn(AmountCol);
    EXPECT_EQ(Editor()->EditStyle(), esDropDownGx);
    Key(VK_DOWN, ModAlt);
    ICellDropDownGx* calculator = Editor()->ActiveHookedList();
    ASSERT_NE(calculator, nullptr);
    ASSERT_TRUE(calculator->Visible());
    EXPECT_DOUBLE_EQ(calculator->Value().ToDouble(), 1.5) << "it starts from the cell's number";
    Type("*4+1");
    Key(VK_RETURN, 0, "\r");
    EXPECT_TRUE(Editor()->ListVisible()) << "Enter while the second number is typed only calculates";
    EXPECT_DOUBLE_EQ(calculator->Value().ToDouble(), 7.0);
    Key(VK_RETURN, 0, "\r");
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(Editor()->Text(), "7");
    Key(VK_RETURN, 0, "\r");
    EXPECT_DOUBLE_EQ(m_query->FieldByName("AMOUNT")->AsFloat(), 7.0);
}

TEST_F(CellDropDowns, EscClosesTheCalculatorWithoutItsResult)
{
    OpenEditorOn(AmountCol);
    Key(VK_DOWN, ModAlt);
    Type("9");
    Key(VK_ESCAPE, 0, "\x1b");
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_TRUE(m_grid->EditorShowing()) << "Esc closed only the calculator";
    EXPECT_EQ(Editor()->Text(), "1.5");
}

// People with a city chosen from a list of cities by its code: the grid shows the city's name.
class LookupCellDropDown : public CellDropDowns {
protected:
    void SetUp() override
    {
        ToolsFixture::SetUp();
        RegisterGridCellDropDowns();
        (void)Query("CREATE TABLE CITY (CODE INTEGER, NAME TEXT(20))")->ExecSQL();
        (void)Query("INSERT INTO CITY VALUES (1, 'Berlin'), (2, 'London'), (3, 'Lyon'), (4, 'Paris')")->ExecSQL();
        (void)Query("CREATE TABLE PERSON (ID INTEGER PRIMARY KEY, NAME TEXT(20), CITY_ID INTEGER)")->ExecSQL();
        (void)Query("INSERT INTO PERSON VALUES (1, 'Ann', 3), (2, 'Bob', 4)")->ExecSQL();
        m_cities = Query("SELECT CODE, NAME FROM CITY ORDER BY CODE");
        m_cities->Open();
        m_query = Query("SELECT * FROM PERSON ORDER BY ID");
        AddDataFields(*m_query, {{"NAME", ftWideString}, {"CITY_ID", ftInteger}});
        AddLookupField(*m_query, "CITY", "CITY_ID", *m_cities, "CODE", "NAME");
        m_query->Open();
        MakeGrid({"NAME", "CITY"}, 100);
        m_column = m_grid->Columns().ColumnAt(1);
        m_column->SetDropDownWidth(-1);
        ShowGrid();
    }

    void TearDown() override
    {
        CellDropDowns::TearDown();
        m_cities.reset();
    }

    [[nodiscard]] Variant CityCode() const { return m_query->FieldByName("CITY_ID")->Value(); }

    std::unique_ptr<TADOQuery> m_cities;
    TColumnGx* m_column = nullptr;
};

TEST_F(LookupCellDropDown, TheListOpensOnTheKeyAndEnterWritesTheKeyChosen)
{
    OpenEditorOn(2);
    EXPECT_EQ(Editor()->EditStyle(), esDataListGx);
    EXPECT_EQ(Editor()->Text(), "Lyon");
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Editor()->ListVisible());
    ICellDropDownGx* list = Editor()->ActiveHookedList();
    EXPECT_EQ(list->Value().ToInteger(), 3) << "the list opens on the record's key";
    RECT shown{};
    (void)GetWindowRect(list->WindowHandle(), &shown);
    EXPECT_GE(shown.right - shown.left, Editor()->Width()) << "never narrower than the editor";

    Key(VK_DOWN);
    EXPECT_EQ(list->Value().ToInteger(), 4);
    EXPECT_EQ(Editor()->Text(), "Paris") << "the editor shows the list's choice";
    Key(VK_RETURN);
    EXPECT_FALSE(Editor()->ListVisible());
    EXPECT_EQ(CityCode().ToInteger(), 4);
    EXPECT_EQ(Editor()->Text(), "Paris");

    Key(VK_DOWN, ModAlt);
    Key(VK_UP);
    EXPECT_EQ(Editor()->Text(), "Lyon");
    Key(VK_ESCAPE);
    EXPECT_EQ(CityCode().ToInteger(), 4) << "Esc leaves the key";
    EXPECT_EQ(Editor()->Text(), "Paris");
}

TEST_F(LookupCellDropDown, TypingCompletesFromTheListAndDeleteClearsTheKey)
{
    OpenEditorOn(2);
    Editor()->SelectAll();
    Type("l");
    EXPECT_EQ(Editor()->Text(), "London");
    EXPECT_EQ(CityCode().ToInteger(), 2);
    Type("y");
    EXPECT_EQ(Editor()->Text(), "Lyon");
    EXPECT_EQ(CityCode().ToInteger(), 3);
    EXPECT_EQ(Editor()->SelStart(), 2);
    Type("q");
    EXPECT_EQ(Editor()->Text(), "Lyon") << "a text outside the list is refused";

    Editor()->SelectAll();
    Clipboard()->SetAsText("PA");
    (void)SendMessageA(Editor()->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(Editor()->Text(), "Paris") << "a paste completes from the list too";
    EXPECT_EQ(CityCode().ToInteger(), 4);

    Editor()->SelectAll();
    Key(VK_DELETE);
    EXPECT_EQ(Editor()->Text(), "");
    EXPECT_TRUE(VarIsNull(CityCode())) << "Delete with the whole text selected sets the key to Null";
    Key(VK_RETURN, 0, "\r");
    m_query->Post();
    EXPECT_TRUE(m_query->FieldByName("CITY_ID")->IsNull());
}

// The column's drop-down box sets up the list the editor drops: its own columns with their titles,
// its special row and local sorting; the column's drop-down box events colour and draw its cells
// and answer its title buttons.
TEST_F(LookupCellDropDown, TheDropDownBoxSetsUpTheListsColumnsSpecialRowAndEvents)
{
    RegisterColumnSpecialRows();
    TColumnDropDownBoxGx& box = *m_column->DropDownBox();
    auto* popup = dynamic_cast<TPopupDataGridGx*>(box.DropDownGrid());
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Name(), "DataList");
    for (const auto& [field, caption, width] : {std::tuple{"NAME", "Town", 90}, std::tuple{"CODE", "No", 60}}) {
        TColumnGx* column = box.Columns()->Add();
        column->SetFieldName(field);
        column->Title()->SetCaption(caption);
        column->SetWidth(width);
    }
    box.Columns()->ColumnAt(0)->Title()->SetTitleButton(true);
    popup->SetOptionsGx(popup->OptionsGx() + TDBGridGxOptions{dghAutoSortMarking});
    box.SetSortLocal(true);
    auto* none = dynamic_cast<TSpecRowGx*>(box.SpecRow());
    ASSERT_NE(none, nullptr);
    none->SetCellsText("(nobody)");
    none->SetVisible(true);
    m_column->SetDropDownShowTitles(true);
    int drawn = 0;
    m_column->SetOnDropDownBoxDrawColumnCell(TDrawColumnCellEventGx::FromFunction(
        [&](TObject*, const TRect&, int, TColumnGx*, TGridDrawState) { ++drawn; }));
    m_column->SetOnDropDownBoxGetCellParams(TGetCellParamsEventGx::FromFunction(
        [](TObject*, TColumnGx* column, TFont*, TColor& background, TGridDrawState) {
            if (column->FieldName() == "CODE")
                background = clLime;
        }));
    std::vector<std::string> titleButtons;
    int sortings = 0;
    m_column->SetOnDropDownBoxTitleBtnClick(TTitleButtonClickEventGx::FromFunction(
        [&](TObject*, int, TColumnGx* column) { titleButtons.push_back(column->Title()->Caption()); }));
    m_column->SetOnDropDownBoxSortMarkingChanged(TNotifyEvent::FromFunction([&](TObject*) { ++sortings; }));

    EXPECT_TRUE(m_column->OnDropDownBoxTitleBtnClick()) << "the column reads the drop-down grid's event";

    OpenEditorOn(2);
    Key(VK_DOWN, ModAlt);
    ASSERT_TRUE(Editor()->ListVisible());
    EXPECT_EQ(Editor()->ActiveHookedList()->WindowHandle(), popup->Handle()) << "the column's own grid drops";
    ASSERT_EQ(popup->Columns().Count(), 2) << "the box's columns stay";
    EXPECT_EQ(popup->Columns().ColumnAt(0)->Title()->Caption(), "Town");
    EXPECT_TRUE(popup->Options().Contains(dgTitles));
    EXPECT_TRUE(popup->SpecRow()->Visible());
    EXPECT_EQ(popup->SpecRow()->CellText(0), "(nobody)");
    EXPECT_TRUE(popup->SortLocal());
    EXPECT_GT(drawn, 0);

    const TRect title = popup->CellRect(0, 0);
    const TRect code = popup->CellRect(1, 2);
    EXPECT_EQ(Shown(*popup, {(code.left + code.right) / 2, code.top + 2}), 0x00FF00u) << "OnGetCellParams colours the cell";
    Click(*popup, {(title.left + title.right) / 2, (title.top + title.bottom) / 2});
    EXPECT_EQ(titleButtons, std::vector<std::string>{"Town"});
    EXPECT_EQ(sortings, 1);
    EXPECT_EQ(popup->Columns().ColumnAt(0)->Title()->SortMarker(), smDownGx);
    EXPECT_EQ(GetFocus(), Editor()->Handle()) << "the list never takes the focus";
    EXPECT_TRUE(Editor()->ListVisible()) << "a title click keeps the list open";
    Key(VK_ESCAPE);
    EXPECT_FALSE(Editor()->ListVisible());
    SetColumnSpecRowMaker(nullptr);
}

} // namespace
