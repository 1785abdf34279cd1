#include "modem/store/PhonebookMatches.h"

#include "modem/store/ModemDatabase.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DatabaseSchema.h"
#include "platform/classlib/data/SqliteDatabase.h"

namespace {

constexpr std::string_view MatchesSql =
    "SELECT NAME, NUM FROM PB WHERE NUM LIKE ? ESCAPE '\\' ORDER BY NAME ASC, ID ASC";

// LIKE's own wildcards, and the escape character itself, taken literally.
std::string LiteralPrefixPattern(std::string_view prefix)
{
    std::string pattern;
    for (const char c : prefix) {
        if (c == '%' || c == '_' || c == '\\')
            pattern += '\\';
        pattern += c;
    }
    return pattern + '%';
}

} // namespace

TPhonebookMatches::TPhonebookMatches(const std::string& programFolder)
    : m_path(DataSourceOfConnectionString(ModemConnectionString(programFolder)))
{
}

TPhonebookMatches::~TPhonebookMatches() = default;

TSqliteDatabase& TPhonebookMatches::Database()
{
    if (!m_database)
        m_database = TSqliteDatabase::Open(m_path, RegisteredDatabaseSchema());
    return *m_database;
}

std::vector<TContactMatch> TPhonebookMatches::StartingWith(std::string_view prefix)
{
    std::vector<TContactMatch> matches;
    if (prefix.empty())
        return matches;
    const TSqlResult result = Database().Query(MatchesSql, {Variant(LiteralPrefixPattern(prefix))});
    for (const TSqlRow& row : result.Rows)
        matches.push_back({VarToStr(row.Values.at(0)), VarToStr(row.Values.at(1))});
    return matches;
}
