#include "modem/core/ReceivePath.h"

#include "modem/core/TextPositions.h"

#include "platform/winapi/kernel/Clock.h"
#include "platform/winapi/kernel/Synch.h"

#include <array>
#include <charconv>
#include <optional>
#include <utility>

namespace {

constexpr std::string_view LineBreak = "\r\n";
constexpr std::string_view NewMessage = "\r\n$QCMT";
constexpr std::string_view SmsResult = "\r\n$QCMGS";
constexpr std::string_view SmsError = "\r\n+CMS ERROR";
constexpr std::string_view Ring = "\r\nRING";
constexpr std::string_view NoCarrier = "\r\nNO CARRIER";
constexpr std::string_view SmsPrompt = "\r\n>";
constexpr std::string_view FinalOk = "\r\nOK\r\n";

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

bool BeginsCode(std::string_view rest, bool afterPrompt)
{
    static constexpr std::array<std::string_view, 4> Always = {Ring, NoCarrier, NewMessage, SmsResult};
    for (const std::string_view code : Always)
        if (StartsWith(rest, code))
            return true;
    return !afterPrompt && StartsWith(rest, SmsError);
}

// The length of the line that begins `code` (its leading line break included) with the line
// break that ends it; the whole when it has none.
std::size_t LineLength(std::string_view code)
{
    const std::size_t end = code.find(LineBreak, LineBreak.size());
    return end == std::string_view::npos ? code.size() : end + LineBreak.size();
}

// Whether `rest` begins a code of any kind, unsolicited or an answer: where a new message's text
// ends when its announced length cannot be believed.
bool BeginsAnyCode(std::string_view rest)
{
    static constexpr std::array<std::string_view, 6> Answers = {"\r\nOK\r\n", "\r\nERROR", "\r\n+C",
                                                                "\r\n> ",     "\r\nBUSY",  "\r\nNO ANSWER"};
    if (BeginsCode(rest, false))
        return true;
    for (const std::string_view answer : Answers)
        if (StartsWith(rest, answer))
            return true;
    // A signal answer: "\r\n21,99".
    const std::size_t digits = rest.find_first_not_of("0123456789", LineBreak.size());
    return StartsWith(rest, LineBreak) && digits > LineBreak.size() && digits != std::string_view::npos &&
           rest[digits] == ',';
}

// The text length a new message's header line announces in its last field, when that is a number.
std::optional<std::size_t> AnnouncedLength(std::string_view header)
{
    const std::size_t comma = header.rfind(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    std::size_t length = 0;
    const char* last = header.data() + header.size();
    const auto [end, error] = std::from_chars(header.data() + comma + 1, last, length);
    if (error != std::errc() || end != last)
        return std::nullopt;
    return length;
}

// Where a new message at the start of `received` ends, and whether that end has come.
struct TNoticeExtent {
    std::size_t length;
    bool complete;
};

TNoticeExtent NewMessageExtent(std::string_view received)
{
    const std::size_t headerEnd = received.find(LineBreak, LineBreak.size());
    if (headerEnd == std::string_view::npos)
        return {received.size(), false};
    const std::size_t textStart = headerEnd + LineBreak.size();
    const std::optional<std::size_t> length = AnnouncedLength(received.substr(0, headerEnd));
    if (length && *length <= received.size() - textStart &&
        StartsWith(received.substr(textStart + *length), LineBreak))
        return {textStart + *length + LineBreak.size(), true};
    // The text ends with the line break that a code follows (the header's own line break, when
    // the text is missing).
    for (std::size_t at = headerEnd; at != std::string_view::npos; at = received.find(LineBreak, at + 1))
        if (BeginsAnyCode(received.substr(at + LineBreak.size())))
            return {at + LineBreak.size(), true};
    return {received.size(), false};
}

// How long the unsolicited code at the start of `code` is. A SMS confirmation keeps the final
// result that comes with it: on its own that OK would read as a call being answered.
std::size_t UnsolicitedLength(std::string_view code)
{
    std::size_t length = LineLength(code);
    if (StartsWith(code, SmsResult) && StartsWith(code.substr(length), FinalOk))
        length += FinalOk.size();
    return length;
}

// An answer runs until an unsolicited code begins after one of its line breaks.
std::size_t AnswerLength(std::string_view code)
{
    const bool afterPrompt = StartsWith(code, SmsPrompt);
    for (std::size_t at = code.find(LineBreak, 1); at != std::string_view::npos; at = code.find(LineBreak, at + 1))
        if (BeginsCode(code.substr(at), afterPrompt))
            return at;
    return code.size();
}

} // namespace

TReceivedSplit SplitReceived(std::string_view received)
{
    TReceivedSplit split;
    while (!received.empty()) {
        std::size_t length = 0;
        if (StartsWith(received, NewMessage)) {
            const TNoticeExtent notice = NewMessageExtent(received);
            if (!notice.complete) {
                split.incomplete = received;
                break;
            }
            length = notice.length;
        } else {
            length = BeginsCode(received, false) ? UnsolicitedLength(received) : AnswerLength(received);
        }
        split.codes.emplace_back(received.substr(0, length));
        received.remove_prefix(length);
    }
    return split;
}

bool IsUnsolicitedCode(std::string_view code, std::string_view cmd)
{
    if (StartsWith(code, NoCarrier))
        return TextAt(cmd, 4, 2) != "DV";
    return StartsWith(code, Ring) || StartsWith(code, NewMessage) || StartsWith(code, SmsResult) ||
           StartsWith(code, SmsError);
}

bool IsCompleteAnswer(std::string_view answer)
{
    static constexpr std::array<std::string_view, 7> FinalResults = {
        "OK\r", "ERROR", "NO CARRIER", "BUSY", "NO ANSWER", "+CMS ERROR", "+CME ERROR"};
    if (answer.find(SmsPrompt) != std::string_view::npos)
        return true;
    for (std::size_t line = 0; line <= answer.size(); line = answer.find('\n', line) + 1) {
        for (const std::string_view result : FinalResults)
            if (StartsWith(answer.substr(line), result))
                return true;
        if (answer.find('\n', line) == std::string_view::npos)
            break;
    }
    return false;
}

void TReceivedCodes::AddBlock(std::string_view block)
{
    if (block.empty())
        return;
    {
        const std::lock_guard guard(m_lock);
        const bool waited = !m_incomplete.empty();
        TReceivedSplit split = SplitReceived(m_incomplete + std::string(block));
        // A message kept back that is still incomplete waits from when it began.
        if (!waited || !split.codes.empty())
            m_incompleteSince = GetTickCount64();
        for (std::string& code : split.codes)
            m_codes.push_back(std::move(code));
        m_incomplete = std::move(split.incomplete);
        if (m_incomplete.size() > MaxIncompleteBytes)
            m_codes.push_back(std::exchange(m_incomplete, {}));
    }
    if (m_arrivalEvent)
        (void)SetEvent(m_arrivalEvent);
}

void TReceivedCodes::ReleaseDueIncomplete()
{
    if (!m_incomplete.empty() && GetTickCount64() - m_incompleteSince >= IncompleteWaitMs)
        m_codes.push_back(std::exchange(m_incomplete, {}));
}

std::optional<std::string> TReceivedCodes::Take()
{
    const std::lock_guard guard(m_lock);
    ReleaseDueIncomplete();
    if (m_codes.empty())
        return std::nullopt;
    std::string code = std::move(m_codes.front());
    m_codes.pop_front();
    return code;
}

DWORD TReceivedCodes::MsUntilIncompleteDue() const
{
    const std::lock_guard guard(m_lock);
    if (m_incomplete.empty())
        return INFINITE;
    const std::uint64_t waited = GetTickCount64() - m_incompleteSince;
    return waited >= IncompleteWaitMs ? 0 : static_cast<DWORD>(IncompleteWaitMs - waited);
}

std::size_t TReceivedCodes::Count() const
{
    const std::lock_guard guard(m_lock);
    return m_codes.size();
}

void TReceivedCodes::Clear()
{
    const std::lock_guard guard(m_lock);
    m_codes.clear();
    m_incomplete.clear();
}

bool ComWriteStr(TCommandPort& port, std::string_view s)
{
    for (const char byte : s)
        if (!port.WriteCommData(&byte, 1))
            return false;
    return true;
}
