#include "modem/store/NameLookup.h"

#include "modem/store/ModemDatabase.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/rtl/Strings.h"

namespace {

constexpr int LongTail = 11;
constexpr int ShortTail = 7;

// The filter's LIKE takes '%' and '*' as wildcards and "[c]" as the character c.
std::string LiteralLikeText(const std::string& text)
{
    std::string literal;
    for (const char c : text) {
        if (c == '%' || c == '*' || c == '[')
            literal += std::string("[") + c + "]";
        else
            literal += c;
    }
    return literal;
}

std::string Tail(const std::string& number, int length)
{
    const auto size = static_cast<int>(number.size());
    return size <= length ? number : number.substr(static_cast<std::size_t>(size - length));
}

} // namespace

TNameLookup::TNameLookup(const std::string& programFolder) : m_phonebook(std::make_unique<TADOQuery>(nullptr))
{
    m_phonebook->SetConnectionString(ModemConnectionString(programFolder));
    m_phonebook->SQL()->SetText("SELECT NAME, NUM FROM PB ORDER BY NAME ASC");
}

TNameLookup::~TNameLookup() = default;

std::optional<std::string> TNameLookup::NameOf(const std::string& number)
{
    if (number.empty())
        return std::nullopt;
    // Run afresh: the phonebook may have changed since the last call.
    m_phonebook->Close();
    m_phonebook->Open();
    if (!FindTail(number, LongTail) && !FindTail(number, ShortTail))
        return std::nullopt;
    m_phonebook->First();
    return m_phonebook->FieldByName("NAME")->AsString();
}

bool TNameLookup::FindTail(const std::string& number, int length)
{
    std::string pattern(1, '%');
    pattern += LiteralLikeText(Tail(number, length));
    pattern += '%';
    std::string filter = "(NUM Like ";
    filter += QuotedStr(pattern);
    filter += ')';
    m_phonebook->SetFilter(filter);
    m_phonebook->SetFiltered(true);
    return m_phonebook->RecordCount() != 0;
}
