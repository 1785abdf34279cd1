#include "modem/store/SmsRecords.h"

#include "modem/store/NameLookup.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdint>

namespace {

constexpr std::string_view UnknownName = "Unknown";
constexpr std::string_view AnonymousNumber = "Anonymous";

// The report's first double quote is never before this position.
constexpr std::size_t NumberQuoteFrom = 12;
// Where the report's fields lie after the quote that ends the number.
constexpr std::size_t NumberStartAfterQuote = 3;
constexpr std::size_t DateFieldAfterQuote = 3;
constexpr std::size_t DateFieldStep = 3;
constexpr std::size_t LengthAfterQuote = 25;
constexpr std::size_t MessageAfterLengthEnd = 2;

// Characters [from, from + count) of `text` (0-based), cut at its end.
std::string Slice(std::string_view text, std::size_t from, std::size_t count = std::string_view::npos)
{
    return from >= text.size() ? std::string() : std::string(text.substr(from, count));
}

// "20YY-MM-DD hh:mm:ss" from the six two-character fields after the closing quote at `quote`.
std::string DateText(std::string_view report, std::size_t quote)
{
    const char separators[] = {'-', '-', ' ', ':', ':'};
    std::string date = "20";
    for (std::size_t field = 0; field < 6; ++field) {
        date += Slice(report, quote + DateFieldAfterQuote + field * DateFieldStep, 2);
        if (field < 5)
            date += separators[field];
    }
    return date;
}

// The message: as many characters as `length` says; all that follows the length's line when that is
// no number or more than there is, without the line break that closes the report.
std::string MessageText(std::string_view rest, std::string_view length)
{
    std::size_t count = 0;
    const auto [end, error] = std::from_chars(length.data(), length.data() + length.size(), count);
    if (!length.empty() && error == std::errc() && end == length.data() + length.size() && count < rest.size())
        return std::string(rest.substr(0, count));
    return std::string(rest.ends_with("\r\n") ? rest.substr(0, rest.size() - 2) : rest);
}

bool IsUtf8(std::string_view text)
{
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = Utf8SequenceLength(static_cast<unsigned char>(text[at]));
        if (length == 0 || at + length > text.size())
            return false;
        for (std::size_t next = at + 1; next < at + length; ++next)
            if (!IsUtf8Continuation(text[next]))
                return false;
        at += length;
    }
    return true;
}

// A message the network delivered in 8-bit bytes that are not UTF-8 is Latin-1: each byte is the
// character of that number.
std::string Utf8OrLatin1(std::string text)
{
    if (IsUtf8(text))
        return text;
    std::string utf8;
    for (const char byte : text) {
        const auto code = static_cast<unsigned char>(byte);
        if (code < 0x80) {
            utf8 += byte;
            continue;
        }
        utf8 += static_cast<char>(0xC0 | (code >> 6));
        utf8 += static_cast<char>(0x80 | (code & 0x3F));
    }
    return utf8;
}

} // namespace

TReceivedSms SMSFormat(std::string_view report)
{
    TReceivedSms sms;
    const std::size_t open = report.find('"', NumberQuoteFrom - 1);
    if (open == std::string_view::npos)
        return sms;
    const std::size_t numberStart = open + NumberStartAfterQuote;
    const std::size_t close = numberStart <= report.size() ? report.find('"', numberStart) : std::string_view::npos;
    if (close == std::string_view::npos)
        return sms;
    const std::size_t lengthStart = close + LengthAfterQuote;
    const std::size_t lengthEnd = lengthStart <= report.size() ? report.find('\r', lengthStart) : std::string_view::npos;
    if (lengthEnd == std::string_view::npos)
        return sms;
    sms.parsed = true;
    sms.number = Slice(report, numberStart, close - numberStart);
    sms.dateText = DateText(report, close);
    sms.text = Utf8OrLatin1(MessageText(report.substr(std::min(lengthEnd + MessageAfterLengthEnd, report.size())),
                                        report.substr(lengthStart, lengthEnd - lengthStart)));
    return sms;
}

TSmsItem SMSBufFormat(std::string_view item)
{
    TSmsItem parts;
    const std::size_t first = item.find('*');
    if (first == std::string_view::npos) {
        parts.number = std::string(item);
        return parts;
    }
    parts.number = std::string(item.substr(0, first));
    const std::size_t second = item.find('*', first + 1);
    if (second == std::string_view::npos) {
        parts.name = std::string(item.substr(first + 1));
        return parts;
    }
    parts.name = std::string(item.substr(first + 1, second - first - 1));
    parts.text = std::string(item.substr(second + 1));
    return parts;
}

TSmsRecords::TSmsRecords(TSmsQueries queries, TNameLookup& lookup, IRecordView& view, TDelayFunction delay)
    : m_queries(queries), m_lookup(lookup), m_view(view), m_delay(std::move(delay))
{
}

void TSmsRecords::StoreReceived(std::string_view report)
{
    const TReceivedSms sms = SMSFormat(report);
    if (!sms.parsed) {
        Write(TSmsBox::Inbox, std::string(UnknownName), std::string(AnonymousNumber), std::string(report));
        return;
    }
    if (sms.number.empty()) {
        Write(TSmsBox::Inbox, std::string(UnknownName), std::string(AnonymousNumber), sms.text);
        return;
    }
    const auto name = m_lookup.NameOf(sms.number);
    Write(TSmsBox::Inbox, name.value_or(std::string(UnknownName)), sms.number, sms.text);
}

void TSmsRecords::StoreFailed(std::string_view item)
{
    StoreItem(TSmsBox::Outbox, item);
}

void TSmsRecords::StoreSent(std::string_view item)
{
    StoreItem(TSmsBox::SentBox, item);
}

void TSmsRecords::StoreItem(TSmsBox box, std::string_view item)
{
    const TSmsItem parts = SMSBufFormat(item);
    std::int64_t number = 0;
    const bool bareNumber = TryStrToInt64(parts.name, number);
    Write(box, bareNumber ? std::string(UnknownName) : parts.name, parts.number, parts.text);
}

void TSmsRecords::Write(TSmsBox box, const std::string& name, const std::string& number, const std::string& text)
{
    TADOQuery& query = QueryOf(box);
    m_view.ShowSmsBox(box);
    query.Insert();
    query.FieldByName("NAME")->SetAsString(name);
    query.FieldByName("NUM")->SetAsString(number);
    query.FieldByName("TEXT")->SetAsString(text);
    query.FieldByName("DT")->SetAsDateTime(Now());
    query.FieldByName("R")->SetAsBoolean(true);
    query.Post();
    RefreshQuery(query, m_delay);
}

TADOQuery& TSmsRecords::QueryOf(TSmsBox box) const
{
    switch (box) {
    case TSmsBox::Inbox:
        return m_queries.inbox;
    case TSmsBox::Outbox:
        return m_queries.outbox;
    case TSmsBox::SentBox:
        break;
    }
    return m_queries.sentBox;
}
