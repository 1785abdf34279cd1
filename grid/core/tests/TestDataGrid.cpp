#include "grid/core/tests/TestDataGrid.h"

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DatabaseSchema.h"

namespace {

void DescribeTestDataGrid(TClassBuilder& c)
{
    c.Object("Columns", &TTestDataGrid::ColumnsProperty, &TTestDataGrid::SetColumnsProperty);
}

// Every column type the column model tells apart.
constexpr const char* Schema = "CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT(20), AMOUNT FLOAT, "
                               "QTY INTEGER, FLAG BOOLEAN, CODE TEXT(5), DT DATETIME, NOTE MEMO);";

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTestDataGrid, TComponent, ComponentCreator<TTestDataGrid>, DescribeTestDataGrid)

TTestDataGrid::TTestDataGrid(TComponent* owner)
    : TComponent(owner), m_link(std::make_unique<TGridDataLinkGx>(*this)),
      m_columns(std::make_unique<TDBGridColumnsGx>(this, TDBGridColumnGx::StaticClass()))
{
    TitleFont.SetName("Arial");
}

TTestDataGrid::~TTestDataGrid()
{
    m_columns.reset();
    m_link.reset();
}

int TTestDataGrid::GridColWidth(int gridCol) const
{
    const auto width = ColWidths.find(gridCol);
    return width == ColWidths.end() ? 64 : width->second;
}

void TTestDataGrid::LinkRecordChanged(TField* field)
{
    Log.push_back(field ? "record changed " + field->FieldName() : "record changed");
}

bool TTestDataGrid::FocusField(TField* field)
{
    Log.push_back("focus " + field->FieldName());
    return true;
}

void TTestDataGrid::WriteEditorToField()
{
    Log.push_back("write editor");
    if (OnWriteEditor)
        OnWriteEditor();
}

void TTestDataGrid::RefreshSelection()
{
    if (SelectionKind == "bookmarks" && SelectedRows && SelectedRows->BookmarkCount() == 0)
        SelectionKind = "none";
}

GridDataFixture::GridDataFixture()
{
    RegisterDatabaseSchema(Schema);
    m_source = std::make_unique<TDataSource>(nullptr);
    m_grid = std::make_unique<TTestDataGrid>(nullptr);
    m_grid->DataLink().SetDataSource(m_source.get());
}

GridDataFixture::~GridDataFixture()
{
    m_grid.reset();
    m_source.reset();
    m_query.reset();
    RegisterDatabaseSchema({});
}

std::unique_ptr<TADOQuery> GridDataFixture::Query(const std::string& sql) const
{
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "grid.db").string());
    query->SQL()->SetText(sql);
    return query;
}

void GridDataFixture::Exec(const std::string& sql)
{
    (void)Query(sql)->ExecSQL();
}

void GridDataFixture::Show(const std::string& sql)
{
    m_query = Query(sql);
    m_query->Open();
    m_source->SetDataSet(m_query.get());
}

TColumnGx& GridDataFixture::AddColumn(const std::string& fieldName)
{
    TColumnGx* column = m_grid->Columns().Add();
    column->SetFieldName(fieldName);
    return *column;
}

void GridDataFixture::Edit(const std::function<void()> change)
{
    m_query->Edit();
    change();
    m_query->Post();
}
