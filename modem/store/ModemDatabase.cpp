#include "modem/store/ModemDatabase.h"

#include "modem/ModemSchema.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/data/SqliteDatabase.h"

namespace {

constexpr unsigned RefreshDelayMs = 100;

} // namespace

std::string ModemConnectionString(const std::string& programFolder)
{
    return "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + programFolder + std::string(ModemDatabaseFileName)
           + ";Persist Security Info=True";
}

void RegisterModemDatabase()
{
    RegisterDatabaseSchema(std::string(ModemSchemaSql()) + std::string(ModemTemplatesSql()));
}

std::shared_ptr<TSqliteDatabase> OpenModemDatabase(const std::string& programFolder)
{
    return TSqliteDatabase::Open(DataSourceOfConnectionString(ModemConnectionString(programFolder)),
                                 RegisteredDatabaseSchema());
}

void OpenModemQuery(TADOQuery& query, const std::string& programFolder)
{
    query.SetConnectionString(ModemConnectionString(programFolder));
    query.Open();
}

void RefreshQuery(TADOQuery& query, const TDelayFunction& delay)
{
    query.Close();
    delay(RefreshDelayMs);
    query.Open();
}
