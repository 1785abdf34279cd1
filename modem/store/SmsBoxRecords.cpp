#include "modem/store/SmsBoxRecords.h"

#include "modem/store/ModemDatabase.h"
#include "platform/classlib/data/SqliteDatabase.h"

namespace {

// Table names are never values a statement can bind; they come from this fixed list only.
std::string TableOf(TSmsBox box)
{
    switch (box) {
    case TSmsBox::Inbox:
        return "IB";
    case TSmsBox::Outbox:
        return "OB";
    case TSmsBox::SentBox:
        break;
    }
    return "SB";
}

} // namespace

TSmsBoxRecords::TSmsBoxRecords(const std::string& programFolder) : m_database(OpenModemDatabase(programFolder)) {}

TSmsBoxRecords::~TSmsBoxRecords() = default;

std::optional<TStoredMessage> TSmsBoxRecords::Message(TSmsBox box, std::int64_t key)
{
    const TSqlResult result =
        m_database->Query("SELECT NAME, NUM, TEXT FROM " + TableOf(box) + " WHERE ID = ?", {Variant(key)});
    if (result.Rows.empty())
        return std::nullopt;
    const std::vector<Variant>& values = result.Rows.front().Values;
    return TStoredMessage{VarToStr(values.at(0)), VarToStr(values.at(1)), VarToStr(values.at(2))};
}

void TSmsBoxRecords::MarkRead(std::int64_t key)
{
    (void)m_database->Execute("UPDATE IB SET R = 0 WHERE ID = ?", {Variant(key)});
}

bool TSmsBoxRecords::AnyUnread() { return !m_database->Query("SELECT 1 FROM IB WHERE R <> 0 LIMIT 1").Rows.empty(); }

bool TSmsBoxRecords::Delete(TSmsBox box, std::int64_t key)
{
    return m_database->Execute("DELETE FROM " + TableOf(box) + " WHERE ID = ?", {Variant(key)}) != 0;
}

int TSmsBoxRecords::DeleteAll(TSmsBox box) { return m_database->Execute("DELETE FROM " + TableOf(box)); }

std::optional<std::string> TSmsBoxRecords::Template(std::int64_t key)
{
    const TSqlResult result = m_database->Query("SELECT TEXT FROM TP WHERE ID = ?", {Variant(key)});
    if (result.Rows.empty())
        return std::nullopt;
    return VarToStr(result.Rows.front().Values.at(0));
}

bool TSmsBoxRecords::ChangeTemplate(std::int64_t key, const std::string& text)
{
    return m_database->Execute("UPDATE TP SET TEXT = ? WHERE ID = ?", {Variant(text), Variant(key)}) != 0;
}
