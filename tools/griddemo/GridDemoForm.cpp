#include "tools/griddemo/GridDemoForm.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "tools/griddemo/GridDemoLayout.h"

#include <array>
#include <string>

CLASSLIB_IMPLEMENT_CLASS(TGridDemoForm, TForm, ComponentCreator<TGridDemoForm>, nullptr)

namespace {

constexpr std::array<const char*, 8> Names{"Anna Berg", "Carl Dahl",  "Eva Falk",  "Gustav Holm",
                                          "Ida Jonsson", "Karl Lind", "Maja Nord", "Olof Persson"};

[[nodiscard]] std::string Quoted(const std::string& text) { return "'" + text + "'"; }

const std::string SelectCalls = "SELECT ID, NAME, NUMBER, MINUTES, COST, MISSED FROM CALLS ORDER BY ";

} // namespace

TGridDemoForm::TGridDemoForm(TComponent* owner) : TForm(owner)
{
    SetCaption(griddemo::CAPTION);
    const RECT& window = griddemo::WINDOW_RECT;
    SetBounds(window.left, window.top, window.right - window.left, window.bottom - window.top);

    m_query = new TADOQuery(this);
    m_query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + s_database);
    FillDatabase();
    m_query->SQL()->SetText(SelectCalls + OrderBy());
    m_query->Open();
    m_source = new TDataSource(this);
    m_source->SetDataSet(m_query);

    m_grid = new TDBGridGx(this);
    m_grid->SetParent(this);
    const RECT& grid = griddemo::GRID;
    m_grid->SetBounds(grid.left, grid.top, grid.right - grid.left, grid.bottom - grid.top);
    m_grid->SetAnchors({akLeft, akTop, akRight, akBottom});
    m_grid->SetOptions({dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines, dgTabs, dgRowSelect,
                        dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect});
    m_grid->SetOptionsGx(m_grid->OptionsGx() + TDBGridGxOptions{dghAutoSortMarking, dghDialogFind});
    m_grid->SetOnSortMarkingChanged(TNotifyEvent(this, &TGridDemoForm::SortMarkingChanged));
    m_grid->VertScrollBar()->SetVisibleMode(sbAlwaysShowGx);
    m_grid->SetRowHeight(griddemo::ROW_HEIGHT);
    m_grid->SetOddRowColor(static_cast<TColor>(griddemo::ODD_ROW_COLOR));
    m_grid->SetFooterColor(static_cast<TColor>(griddemo::FOOTER_COLOR));
    m_grid->FooterFont()->SetStyle({fsBold});
    m_grid->TitleFont()->SetStyle({fsBold});
    m_grid->SetFooterRowCount(1);
    m_grid->SumList()->SetActive(true);
    m_grid->STFilter()->SetVisible(true);
    AddColumns();
    m_grid->SetDataSource(m_source);
    SetActiveControl(m_grid);
}

TGridDemoForm::~TGridDemoForm() = default;

void TGridDemoForm::FillDatabase()
{
    m_query->SQL()->SetText("CREATE TABLE IF NOT EXISTS CALLS (ID INTEGER PRIMARY KEY, NAME TEXT(30), "
                            "NUMBER TEXT(20), MINUTES INTEGER, COST FLOAT, MISSED BOOLEAN)");
    (void)m_query->ExecSQL();
    m_query->SQL()->SetText("DELETE FROM CALLS");
    (void)m_query->ExecSQL();
    for (int i = 1; i <= griddemo::ROWS; ++i) {
        const std::string name = Names[static_cast<std::size_t>(i) % Names.size()];
        const int minutes = (i * 7) % 23 + 1;
        const std::string values = std::to_string(i) + ", " + Quoted(name) + ", " +
                                   Quoted("+46 70 " + std::to_string(1000 + i * 37)) + ", " +
                                   std::to_string(minutes) + ", " + std::to_string(minutes * 0.45) + ", " +
                                   (i % 5 == 0 ? "1" : "0");
        m_query->SQL()->SetText("INSERT INTO CALLS VALUES (" + values + ")");
        (void)m_query->ExecSQL();
    }
}

void TGridDemoForm::AddColumns()
{
    struct Column {
        const char* Field;
        const char* Caption;
        int Width;
        TFooterValueType Footer;
        const char* FooterText;
    };
    const std::array<Column, 5> columns{{
        {"NAME", "Name", griddemo::NAME_WIDTH, fvtStaticText, "Total"},
        {"NUMBER", "Number", griddemo::NUMBER_WIDTH, fvtCount, ""},
        {"MINUTES", "Minutes", 80, fvtSum, ""},
        {"COST", "Cost", 100, fvtSum, ""},
        {"MISSED", "Missed", 60, fvtNon, ""},
    }};
    for (const Column& listed : columns) {
        TColumnGx* column = m_grid->Columns().Add();
        column->SetFieldName(listed.Field);
        column->SetWidth(listed.Width);
        column->Title()->SetCaption(listed.Caption);
        column->Title()->SetTitleButton(true);
        column->Footer()->SetValueType(listed.Footer);
        column->Footer()->SetValue(listed.FooterText);
    }
    m_grid->Columns().ColumnAt(3)->SetDisplayFormat("0.00");
    m_grid->Columns().ColumnAt(3)->Footer()->SetDisplayFormat("0.00");
    m_grid->Columns().ColumnAt(1)->Footer()->SetDisplayFormat("0 calls");
}

void TGridDemoForm::SortMarkingChanged(TObject* /*sender*/)
{
    m_query->Close();
    m_query->SQL()->SetText(SelectCalls + OrderBy());
    m_query->Open();
}

// The marked columns in the order they were marked (a down marker sorts up from the smallest),
// then the call's number.
std::string TGridDemoForm::OrderBy() const
{
    std::string order;
    if (m_grid)
        for (const TColumnGx* column : m_grid->SortMarkedColumns())
            order += column->FieldName() + (column->Title()->SortMarker() == smUpGx ? " DESC, " : ", ");
    return order + "ID";
}
