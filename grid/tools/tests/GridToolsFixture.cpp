#include "GridToolsFixture.h"

#include "tests/support/windows/HeadlessWindows.h"


namespace {

std::unique_ptr<TADOQuery> Query(const TempDir& dir, const std::string& sql)
{
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (dir / "people.db").string());
    query->SQL()->SetText(sql);
    return query;
}

} // namespace

void GridToolsFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    (void)Query(m_dir, "CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), CITY TEXT(20))")->ExecSQL();
    (void)Query(m_dir, "INSERT INTO P VALUES (1, 'Anna', 'Paris'), (2, 'Bob', 'London'), (3, 'anna-maria', 'Oslo'),"
                       " (4, 'Carl', 'Paris'), (5, 'Dana', 'Annapolis')")
        ->ExecSQL();
    m_query = Query(m_dir, "SELECT ID, NAME, CITY FROM P ORDER BY ID");
    m_query->Open();
    m_source = std::make_unique<TDataSource>(nullptr);
    m_source->SetDataSet(m_query.get());

    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(20, 20, 460, 300);
    m_grid = new TDBGridGx(m_form.get());
    m_grid->SetParent(m_form.get());
    m_grid->SetBounds(0, 0, 400, 200);
    m_grid->SetOptions({dgTitles, dgIndicator, dgColLines, dgRowLines, dgTabs, dgConfirmDelete, dgCancelOnExit});
    for (const char* field : {"NAME", "CITY"}) {
        TColumnGx* column = m_grid->Columns().Add();
        column->SetFieldName(field);
        column->SetWidth(120);
    }
    m_grid->SetDataSource(m_source.get());
    m_form->Show();
    Pump();
    m_form->SetActiveControl(m_grid);
    Pump();
}

void GridToolsFixture::TearDown()
{
    m_form.reset();
    Pump();
    m_source.reset();
    m_query.reset();
    Application->SetShowExceptionHook(nullptr);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void GridToolsFixture::Pump() { Application->ProcessMessages(); }

void GridToolsFixture::Key(HWND window, unsigned virtualKey, unsigned modifiers)
{
    const WindowId id = TopLevelId(window);
    m_display->InjectKeyChord(id, virtualKey, modifiers, {});
    Pump();
}

void GridToolsFixture::Type(HWND window, const std::string& text)
{
    m_display->InjectText(TopLevelId(window), text);
    Pump();
}

void GridToolsFixture::GoTo(int recNo, const std::string& fieldName)
{
    // The ends as the user reaches them, with the data set's end flags set.
    if (recNo == 1)
        m_query->First();
    else if (recNo == m_query->RecordCount())
        m_query->Last();
    else
        m_query->SetRecNo(recNo);
    m_grid->SetCol(m_grid->ColumnByFieldName(fieldName)->Index() + m_grid->IndicatorOffset());
    Pump();
}

std::string GridToolsFixture::CurrentField() const
{
    const TField* field = m_grid->SelectedField();
    return field ? field->FieldName() : std::string();
}
