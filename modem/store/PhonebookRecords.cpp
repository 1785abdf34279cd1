#include "modem/store/PhonebookRecords.h"

#include "modem/store/ModemDatabase.h"
#include "platform/classlib/data/SqliteDatabase.h"

namespace {

std::vector<Variant> ContactValues(const TContact& contact)
{
    return {Variant(contact.Name), Variant(contact.Number), Variant(static_cast<std::int64_t>(contact.Group)),
            Variant(contact.Address), Variant(contact.Remark)};
}

} // namespace

TPhonebookRecords::TPhonebookRecords(const std::string& programFolder)
    : m_database(OpenModemDatabase(programFolder))
{
}

TPhonebookRecords::~TPhonebookRecords() = default;

std::optional<TContact> TPhonebookRecords::Contact(std::int64_t key)
{
    const TSqlResult result =
        m_database->Query("SELECT NAME, NUM, \"GROUP\", ADDR, REMARK FROM PB WHERE ID = ?", {Variant(key)});
    if (result.Rows.empty())
        return std::nullopt;
    const std::vector<Variant>& values = result.Rows.front().Values;
    const Variant& group = values.at(2);
    return TContact{VarToStr(values.at(0)), VarToStr(values.at(1)), VarToStr(values.at(3)), VarToStr(values.at(4)),
                    VarIsClear(group) ? 0 : group.ToInteger()};
}

bool TPhonebookRecords::Change(std::int64_t key, const TContact& contact)
{
    std::vector<Variant> values = ContactValues(contact);
    values.emplace_back(key);
    return m_database->Execute("UPDATE PB SET NAME = ?, NUM = ?, \"GROUP\" = ?, ADDR = ?, REMARK = ? WHERE ID = ?",
                               values)
           != 0;
}

std::int64_t TPhonebookRecords::Add(const TContact& contact)
{
    m_database->Execute("INSERT INTO PB (NAME, NUM, \"GROUP\", ADDR, REMARK, SEL) VALUES (?, ?, ?, ?, ?, 0)",
                        ContactValues(contact));
    return m_database->LastInsertRowId();
}

bool TPhonebookRecords::Delete(std::int64_t key)
{
    return m_database->Execute("DELETE FROM PB WHERE ID = ?", {Variant(key)}) != 0;
}

int TPhonebookRecords::DeleteAll(std::optional<int> group)
{
    if (!group)
        return m_database->Execute("DELETE FROM PB");
    return m_database->Execute("DELETE FROM PB WHERE \"GROUP\" = ?", {Variant(static_cast<std::int64_t>(*group))});
}

std::vector<TTickedContact> TPhonebookRecords::TakeTicked()
{
    const TSqlResult result = m_database->Query("SELECT NAME, NUM FROM PB WHERE SEL <> 0 ORDER BY NAME ASC, ID ASC");
    std::vector<TTickedContact> ticked;
    for (const TSqlRow& row : result.Rows)
        ticked.push_back({VarToStr(row.Values.at(0)), VarToStr(row.Values.at(1))});
    ClearTicks();
    return ticked;
}

void TPhonebookRecords::ClearTicks() { m_database->Execute("UPDATE PB SET SEL = 0 WHERE SEL <> 0"); }
