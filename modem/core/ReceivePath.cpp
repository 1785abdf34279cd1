#include "modem/core/ReceivePath.h"

#include "modem/core/TextPositions.h"

#include "platform/winapi/kernel/Synch.h"

#include <array>
#include <charconv>

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

// A new message: its header line, then as many bytes of text as the header's last field says,
// then a line break. The whole rest when the length cannot be read or runs past the block.
std::size_t NewMessageLength(std::string_view code)
{
    const std::size_t headerEnd = code.find(LineBreak, LineBreak.size());
    if (headerEnd == std::string_view::npos)
        return code.size();
    const std::size_t comma = code.rfind(',', headerEnd);
    std::size_t length = 0;
    const char* last = code.data() + headerEnd;
    if (comma == std::string_view::npos)
        return code.size();
    const auto [end, error] = std::from_chars(code.data() + comma + 1, last, length);
    if (error != std::errc() || end != last || length > code.size())
        return code.size();
    const std::size_t textEnd = headerEnd + LineBreak.size() + length;
    if (textEnd > code.size())
        return code.size();
    return StartsWith(code.substr(textEnd), LineBreak) ? textEnd + LineBreak.size() : textEnd;
}

// How long the unsolicited code at the start of `code` is. A SMS confirmation keeps the final
// result that comes with it: on its own that OK would read as a call being answered.
std::size_t UnsolicitedLength(std::string_view code)
{
    if (StartsWith(code, NewMessage))
        return NewMessageLength(code);
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

std::vector<std::string> SplitReceivedBlock(std::string_view block)
{
    std::vector<std::string> codes;
    while (!block.empty()) {
        const std::size_t length = BeginsCode(block, false) ? UnsolicitedLength(block) : AnswerLength(block);
        codes.emplace_back(block.substr(0, length));
        block.remove_prefix(length);
    }
    return codes;
}

bool IsUnsolicitedCode(std::string_view code, std::string_view cmd)
{
    if (StartsWith(code, NoCarrier))
        return TextAt(cmd, 4, 2) != "DV";
    return StartsWith(code, Ring) || StartsWith(code, NewMessage) || StartsWith(code, SmsResult) ||
           StartsWith(code, SmsError);
}

void TReceivedCodes::AddBlock(std::string_view block)
{
    if (block.empty())
        return;
    {
        const std::lock_guard guard(m_lock);
        for (std::string& code : SplitReceivedBlock(block))
            m_codes.push_back(std::move(code));
    }
    if (m_arrivalEvent)
        (void)SetEvent(m_arrivalEvent);
}

std::optional<std::string> TReceivedCodes::Take()
{
    const std::lock_guard guard(m_lock);
    if (m_codes.empty())
        return std::nullopt;
    std::string code = std::move(m_codes.front());
    m_codes.pop_front();
    return code;
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
}

bool ComWriteStr(TCommandPort& port, std::string_view s)
{
    for (const char byte : s)
        if (!port.WriteCommData(&byte, 1))
            return false;
    return true;
}
