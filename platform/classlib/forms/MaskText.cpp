#include "platform/classlib/forms/MaskText.h"

#include <algorithm>
#include <cctype>

namespace {

// Splits "mask;save;blank" at the separators that are not escaped.
std::vector<std::string> Fields(std::string_view editMask)
{
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < editMask.size(); ++i) {
        if (editMask[i] == '\\' && i + 1 < editMask.size()) {
            fields.back() += editMask.substr(i, 2);
            ++i;
        } else if (editMask[i] == ';' && fields.size() < 3) {
            fields.emplace_back();
        } else {
            fields.back() += editMask[i];
        }
    }
    return fields;
}

bool IsInputSymbol(char c)
{
    switch (c) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        return true;
    default:
        return false;
    }
}

bool Fits(char symbol, char c)
{
    const auto u = static_cast<unsigned char>(c);
    switch (symbol) {
    case 'L': case 'l':
        return std::isalpha(u) != 0;
    case 'A': case 'a':
        return std::isalnum(u) != 0;
    case 'C': case 'c':
        return u >= 0x20 && u < 0x7F;
    case '0': case '9':
        return std::isdigit(u) != 0;
    case '#':
        return std::isdigit(u) || c == '+' || c == '-';
    default:
        return false;
    }
}

} // namespace

TEditMask::TEditMask(std::string_view editMask)
{
    const std::vector<std::string> fields = Fields(editMask);
    if (fields.size() > 1)
        m_saveLiterals = fields[1] != "0";
    if (fields.size() > 2 && !fields[2].empty())
        m_blank = fields[2][0];
    const std::string& mask = fields[0];
    TCase charCase = TCase::Keep;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '!') {
            m_reverse = true;
        } else if (c == '<' && i + 1 < mask.size() && mask[i + 1] == '>') {
            charCase = TCase::Keep;
            ++i;
        } else if (c == '>' || c == '<') {
            charCase = c == '>' ? TCase::Upper : TCase::Lower;
        } else if (c == '\\' && i + 1 < mask.size()) {
            m_positions.push_back(TPosition{true, mask[++i], charCase});
        } else if (IsInputSymbol(c)) {
            m_positions.push_back(TPosition{false, c, charCase});
        } else {
            m_positions.push_back(TPosition{true, c == '_' ? ' ' : c, charCase});
        }
    }
}

bool TEditMask::IsRequired(char symbol) { return symbol == 'L' || symbol == 'A' || symbol == 'C' || symbol == '0'; }

char TEditMask::Accept(std::size_t pos, char c) const
{
    if (IsLiteral(pos))
        return '\0';
    const TPosition& position = m_positions[pos];
    const auto u = static_cast<unsigned char>(c);
    if (position.charCase == TCase::Upper)
        c = static_cast<char>(std::toupper(u));
    else if (position.charCase == TCase::Lower)
        c = static_cast<char>(std::tolower(u));
    return Fits(position.symbol, c) ? c : '\0';
}

std::string TEditMask::FormatInput(std::string_view value, char blank) const
{
    std::string result(Size(), blank);
    std::size_t inputs = 0;
    for (const TPosition& position : m_positions)
        inputs += position.literal ? 0 : 1;
    // With '!' the value fills the last input positions.
    std::size_t skip = m_reverse && value.size() < inputs ? inputs - value.size() : 0;
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < Size(); ++pos) {
        if (m_positions[pos].literal) {
            result[pos] = m_positions[pos].symbol;
        } else if (skip > 0) {
            --skip;
        } else if (next < value.size()) {
            result[pos] = value[next++];
        }
    }
    return result;
}

std::string TEditMask::PadLiterals(std::string_view value, char blank) const
{
    std::string result(Size(), blank);
    std::size_t next = 0;
    for (std::size_t pos = 0; pos < Size(); ++pos) {
        if (m_positions[pos].literal) {
            result[pos] = m_positions[pos].symbol;
            if (next < value.size() && value[next] == m_positions[pos].symbol)
                ++next;
        } else if (next < value.size()) {
            result[pos] = value[next++];
        }
    }
    return result;
}

std::string TEditMask::RemoveFormat(std::string_view editText) const
{
    std::string result;
    for (std::size_t pos = 0; pos < Size() && pos < editText.size(); ++pos)
        if (!m_positions[pos].literal)
            result += editText[pos] == m_blank ? ' ' : editText[pos];
    if (m_reverse)
        result.erase(0, std::min(result.find_first_not_of(' '), result.size()));
    else
        result.erase(result.find_last_not_of(' ') + 1);
    return result;
}

std::size_t TEditMask::FirstInvalid(std::string_view editText) const
{
    for (std::size_t pos = 0; pos < Size(); ++pos) {
        const TPosition& position = m_positions[pos];
        if (position.literal)
            continue;
        const char c = pos < editText.size() ? editText[pos] : m_blank;
        const bool empty = c == m_blank || c == ' ';
        if (empty ? IsRequired(position.symbol) : Accept(pos, c) != c)
            return pos;
    }
    return Size();
}

std::string MaskDoFormatText(std::string_view editMask, std::string_view value, char blank)
{
    const TEditMask mask(editMask);
    return mask.IsMasked() ? mask.FormatInput(value, blank) : std::string(value);
}

std::string FormatMaskText(std::string_view editMask, std::string_view value)
{
    const TEditMask mask(editMask);
    if (!mask.IsMasked())
        return std::string(value);
    return mask.SaveLiterals() ? mask.PadLiterals(value, ' ') : mask.FormatInput(value, ' ');
}
