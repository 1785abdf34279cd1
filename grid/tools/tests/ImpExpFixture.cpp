#include "ImpExpFixture.h"

void ImpExpFixture::SetUp()
{
    m_display = &SelectHeadlessDisplay();
    Application->SetShowExceptionHook([this](const std::string& text, const std::string&) { m_errors.push_back(text); });
    Exec("CREATE TABLE P (ID INTEGER PRIMARY KEY, NAME TEXT(20), NUM INTEGER, AMOUNT FLOAT)");
    Exec("INSERT INTO P VALUES (1, 'Ann', 10, 1.5), (2, 'Bo \"Boss\"', 20, 2.25), (3, 'Cy;' || char(9) || 'Dee', 30, NULL)");
    m_form = std::make_unique<TForm>(nullptr);
    m_form->SetBounds(20, 20, 460, 300);
    m_source = std::make_unique<TDataSource>(nullptr);
    m_db = new TDBGridGx(m_form.get());
    m_db->SetParent(m_form.get());
    m_db->SetBounds(0, 0, 400, 250);
    m_db->SetDataSource(m_source.get());
    m_grid = std::make_unique<TTestImpExpGrid>(*m_db);
    m_form->Show();
    Pump();
}

void ImpExpFixture::TearDown()
{
    m_grid.reset();
    m_form.reset();
    Pump();
    m_source.reset();
    m_query.reset();
    Application->SetShowExceptionHook(nullptr);
    EXPECT_TRUE(m_errors.empty()) << m_errors.front();
}

void ImpExpFixture::Pump()
{
    Application->ProcessMessages();
}

void ImpExpFixture::Exec(const std::string& sql) const
{
    (void)Query(sql)->ExecSQL();
}

std::unique_ptr<TADOQuery> ImpExpFixture::Query(const std::string& sql) const
{
    auto query = std::make_unique<TADOQuery>(nullptr);
    query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "grid.db").string());
    query->SQL()->SetText(sql);
    return query;
}

void ImpExpFixture::Show(const std::string& sql, const std::vector<std::string>& fields)
{
    m_source->SetDataSet(nullptr);
    m_query = Query(sql);
    m_query->Open();
    m_db->Columns().Clear();
    for (const std::string& name : fields) {
        TColumnGx* column = m_db->Columns().Add();
        column->SetFieldName(name);
        column->SetWidth(96);
        column->Title()->SetCaption(name == "NAME" ? "Name" : name == "NUM" ? "Number" : name);
    }
    m_source->SetDataSet(m_query.get());
    Pump();
}

void ImpExpFixture::AddFooters()
{
    m_grid->FooterRows = 1;
    m_grid->Footers[{1, 0}] = {IImpExpGridGx::TFooterKind::Sum, "", nullptr, clBtnFace, taRightJustify};
    m_grid->Footers[{0, 0}] = {IImpExpGridGx::TFooterKind::Count, "", nullptr, clBtnFace, taLeftJustify};
    m_grid->FooterTexts[{2, 0}] = "total";
}

TBookmark ImpExpFixture::BookmarkOf(int recNo) const
{
    const TBookmark saved = m_query->Bookmark();
    m_query->SetRecNo(recNo);
    const TBookmark bookmark = m_query->Bookmark();
    m_query->GotoBookmark(saved);
    return bookmark;
}

std::vector<std::string> ImpExpFixture::Stored(const std::string& table) const
{
    auto query = Query("SELECT NAME, NUM, AMOUNT FROM " + table + " ORDER BY ID");
    query->Open();
    std::vector<std::string> rows;
    for (; !query->Eof(); query->Next())
        rows.push_back(query->FieldByName("NAME")->AsString() + "|" + query->FieldByName("NUM")->AsString() + "|" +
                       query->FieldByName("AMOUNT")->AsString());
    return rows;
}

std::string ImpExpFixture::Export(TDBGridGxExportClass exportClass, bool all)
{
    TMemoryStreamGx stream;
    ExportGridToStream(exportClass, *m_grid, stream, all);
    return StreamText(stream);
}

std::string StreamText(TMemoryStreamGx& stream)
{
    return {reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size())};
}
