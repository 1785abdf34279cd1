#include "platform/rtl/Strings.h"

#include "platform/rtl/Utf8.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

bool IsTrimmed(char c)
{
    return static_cast<unsigned char>(c) <= ' ';
}

char AsciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

char AsciiLower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c;
}

// A byte that is not valid UTF-8 stands for the Latin-1 character of the same number, so that
// text from an 8-bit source still compares and converts sensibly.
char32_t DecodeNext(std::string_view text, std::size_t& i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const auto length = static_cast<int>(Utf8SequenceLength(lead));
    if (length <= 1 || i + length > text.size()) {
        ++i;
        return lead;
    }
    char32_t code = lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if (!IsUtf8Continuation(text[i + k])) {
            ++i;
            return lead;
        }
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return code;
}

void Encode(char32_t code, std::string& out)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::vector<char32_t> Decode(std::string_view text)
{
    std::vector<char32_t> codes;
    for (std::size_t i = 0; i < text.size();)
        codes.push_back(DecodeNext(text, i));
    return codes;
}

// Latin Extended-A pairs an upper-case letter with the lower-case one after it; the runs
// U+0139-U+0148 and U+0179-U+017E start on odd code points.
bool IsOddPairedRun(char32_t c)
{
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}

bool IsPairedLatin(char32_t c)
{
    return c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x178 && c != 0x17F;
}

char32_t ToLower(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7) || (c >= 0x391 && c <= 0x3AB && c != 0x3A2) ||
        (c >= 0x410 && c <= 0x42F))
        return c + 0x20;
    if (c >= 0x400 && c <= 0x40F)
        return c + 0x50;
    if (c == 0x178)
        return 0xFF;
    if (IsPairedLatin(c) && (c % 2 == 0) != IsOddPairedRun(c))
        return c + 1;
    return c;
}

char32_t ToUpper(char32_t c)
{
    if ((c >= 'a' && c <= 'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7) || (c >= 0x3B1 && c <= 0x3CB && c != 0x3C2) ||
        (c >= 0x430 && c <= 0x44F))
        return c - 0x20;
    if (c >= 0x450 && c <= 0x45F)
        return c - 0x50;
    if (c == 0xFF)
        return 0x178;
    if (IsPairedLatin(c) && (c % 2 == 1) != IsOddPairedRun(c))
        return c - 1;
    return c;
}

// The unaccented lower-case letter that an accented Latin-1 letter sorts with.
char32_t BaseLetter(char32_t lower)
{
    static constexpr char bases[] = "aaaaaaaceeeeiiiidnooooo\0ouuuuy\0saaaaaaaceeeeiiiidnooooo\0ouuuuy\0y";
    if (lower >= 0xC0 && lower <= 0xFF && bases[lower - 0xC0] != '\0')
        return static_cast<unsigned char>(bases[lower - 0xC0]);
    return lower;
}

std::string MapCase(std::string_view text, char32_t (*map)(char32_t))
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();)
        Encode(map(DecodeNext(text, i)), out);
    return out;
}

int Sign(long long value)
{
    return (value > 0) - (value < 0);
}

template <typename Key>
int CompareBy(const std::vector<char32_t>& a, const std::vector<char32_t>& b, Key key)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const long long difference = static_cast<long long>(key(a[i])) - static_cast<long long>(key(b[i]));
        if (difference != 0)
            return Sign(difference);
    }
    return Sign(static_cast<long long>(a.size()) - static_cast<long long>(b.size()));
}

enum class CaseRule { Ignore, LowerFirst };

int Collate(const std::vector<char32_t>& a, const std::vector<char32_t>& b, CaseRule rule)
{
    if (const int primary = CompareBy(a, b, [](char32_t c) { return BaseLetter(ToLower(c)); }))
        return primary;
    if (const int accents = CompareBy(a, b, [](char32_t c) { return ToLower(c); }))
        return accents;
    if (rule == CaseRule::Ignore)
        return 0;
    // Same letters: the first difference in case decides, lower case first.
    return CompareBy(a, b, [](char32_t c) { return ToLower(c) == c ? 0 : 1; });
}

std::size_t FindIgnoringCase(std::string_view text, std::string_view pattern, std::size_t from)
{
    const auto match = std::search(text.begin() + from, text.end(), pattern.begin(), pattern.end(),
                                   [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
    return match == text.end() && !pattern.empty() ? std::string_view::npos : match - text.begin();
}

}  // namespace

std::string Copy(std::string_view text, int index, int count)
{
    index = std::max(index, 1);
    if (count <= 0 || static_cast<std::size_t>(index) > text.size())
        return {};
    return std::string(text.substr(index - 1, static_cast<std::size_t>(count)));
}

int Pos(std::string_view part, std::string_view text)
{
    return PosEx(part, text, 1);
}

int PosEx(std::string_view part, std::string_view text, int offset)
{
    if (part.empty() || offset < 1 || static_cast<std::size_t>(offset) > text.size())
        return 0;
    const std::size_t found = text.find(part, offset - 1);
    return found == std::string_view::npos ? 0 : static_cast<int>(found) + 1;
}

void Delete(std::string& text, int index, int count)
{
    if (index < 1 || static_cast<std::size_t>(index) > text.size() || count <= 0)
        return;
    text.erase(index - 1, static_cast<std::size_t>(count));
}

void Insert(std::string_view part, std::string& text, int index)
{
    const std::size_t at = std::clamp<long long>(index, 1, static_cast<long long>(text.size()) + 1) - 1;
    text.insert(at, part);
}

std::string Trim(std::string_view text)
{
    return TrimLeft(TrimRight(text));
}

std::string TrimLeft(std::string_view text)
{
    const auto first = std::find_if_not(text.begin(), text.end(), IsTrimmed);
    return std::string(first, text.end());
}

std::string TrimRight(std::string_view text)
{
    const auto last = std::find_if_not(text.rbegin(), text.rend(), IsTrimmed);
    return std::string(text.begin(), last.base());
}

std::string UpperCase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiUpper);
    return out;
}

std::string LowerCase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), AsciiLower);
    return out;
}

std::string AnsiUpperCase(std::string_view text)
{
    return MapCase(text, ToUpper);
}

std::string AnsiLowerCase(std::string_view text)
{
    return MapCase(text, ToLower);
}

int CompareStr(std::string_view a, std::string_view b)
{
    return a.compare(b);
}

int CompareText(std::string_view a, std::string_view b)
{
    return CompareStr(LowerCase(a), LowerCase(b));
}

bool SameText(std::string_view a, std::string_view b)
{
    return CompareText(a, b) == 0;
}

int AnsiCompareStr(std::string_view a, std::string_view b)
{
    return Collate(Decode(a), Decode(b), CaseRule::LowerFirst);
}

int AnsiCompareText(std::string_view a, std::string_view b)
{
    return Collate(Decode(a), Decode(b), CaseRule::Ignore);
}

bool AnsiSameStr(std::string_view a, std::string_view b)
{
    return a == b;
}

bool AnsiSameText(std::string_view a, std::string_view b)
{
    return AnsiCompareText(a, b) == 0;
}

int AnsiStrLIComp(std::string_view a, std::string_view b, std::size_t maxLength)
{
    std::vector<char32_t> left = Decode(a);
    std::vector<char32_t> right = Decode(b);
    left.resize(std::min(left.size(), maxLength));
    right.resize(std::min(right.size(), maxLength));
    return Collate(left, right, CaseRule::Ignore);
}

std::string StringReplace(std::string_view text, std::string_view oldPattern, std::string_view newPattern,
                          TReplaceFlags flags)
{
    if (oldPattern.empty())
        return std::string(text);
    std::string out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t found = (flags & rfIgnoreCase) ? FindIgnoringCase(text, oldPattern, from)
                                                         : text.find(oldPattern, from);
        if (found == std::string_view::npos)
            break;
        out.append(text.substr(from, found - from));
        out.append(newPattern);
        from = found + oldPattern.size();
        if (!(flags & rfReplaceAll))
            break;
    }
    out.append(text.substr(std::min(from, text.size())));
    return out;
}

std::string StringOfChar(char c, int count)
{
    return std::string(static_cast<std::size_t>(std::max(count, 0)), c);
}

std::string QuotedStr(std::string_view text)
{
    return AnsiQuotedStr(text, '\'');
}

std::string AnsiQuotedStr(std::string_view text, char quote)
{
    std::string out(1, quote);
    for (const char c : text) {
        out += c;
        if (c == quote)
            out += quote;
    }
    out += quote;
    return out;
}

std::string AnsiDequotedStr(std::string_view text, char quote)
{
    if (text.empty() || text.front() != quote)
        return std::string(text);
    std::string out;
    for (std::size_t i = 1; i < text.size(); ++i) {
        if (text[i] == quote) {
            if (i + 1 < text.size() && text[i + 1] == quote)
                ++i;
            else
                return out;
        }
        out += text[i];
    }
    return out;
}

std::string AdjustLineBreaks(std::string_view text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out += c;
            continue;
        }
        out += "\r\n";
        const char pair = c == '\r' ? '\n' : '\r';
        if (i + 1 < text.size() && text[i + 1] == pair)
            ++i;
    }
    return out;
}

std::string StrPas(const char* text)
{
    return text ? std::string(text) : std::string();
}

char* StrPLCopy(char* dest, std::string_view source, std::size_t maxLength)
{
    const std::size_t count = std::min(source.size(), maxLength);
    std::memcpy(dest, source.data(), count);
    dest[count] = '\0';
    return dest;
}

TMbcsByteType ByteType(std::string_view text, int index)
{
    if (index < 1 || static_cast<std::size_t>(index) > text.size())
        return mbSingleByte;
    const auto byte = static_cast<unsigned char>(text[index - 1]);
    if (byte < 0x80)
        return mbSingleByte;
    return IsUtf8Continuation(text[index - 1]) ? mbTrailByte : mbLeadByte;
}
