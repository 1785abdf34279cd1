#include "DataFixture.h"

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/DatabaseSchema.h"

namespace {

constexpr const char* Schema = "CREATE TABLE T (ID INTEGER PRIMARY KEY AUTOINCREMENT, NAME TEXT(20), CODE TEXT(5), "
                               "AMOUNT FLOAT, FLAG BOOLEAN, ANSWER TEXT(10));";

} // namespace

void DataFixture::SetUp()
{
    RegisterDatabaseSchema(Schema);
    ToolsFixture::SetUp();
    m_source = std::make_unique<TDataSource>(nullptr);
}

void DataFixture::TearDown()
{
    ToolsFixture::TearDown();
    m_source.reset();
    m_query.reset();
    RegisterDatabaseSchema({});
}

void DataFixture::Exec(const std::string& sql)
{
    TADOQuery query(nullptr);
    query.SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "tools.db").string());
    query.SQL()->SetText(sql);
    (void)query.ExecSQL();
}

void DataFixture::Open()
{
    m_query = std::make_unique<TADOQuery>(nullptr);
    m_query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + (m_dir / "tools.db").string());
    m_query->SQL()->SetText("SELECT * FROM T ORDER BY ID");
    m_query->Open();
    m_source->SetDataSet(m_query.get());
}
