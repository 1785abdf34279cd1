#include "platform/classlib/core/FormParser.h"

#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <charconv>
#include <limits>

namespace {

enum class TTokenKind { End, Symbol, Integer, Float, String, Char };

struct TToken {
    TTokenKind Kind = TTokenKind::End;
    int Line = 1;
    std::string Text;
    std::int64_t Integer = 0;
    double Float = 0;
    char Char = 0;
};

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

void AppendUtf8(std::string& text, std::uint32_t code)
{
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (code >> 18));
        text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// Splits the text into tokens on demand, keeping the line of each.
class TTokenizer {
public:
    explicit TTokenizer(std::string_view text) : m_text(text) {}

    [[noreturn]] void Error(std::string_view reason, int line) const
    {
        throw EParserError(Format("%s on line %d", {reason, line}));
    }
    [[noreturn]] void Error(std::string_view reason) const { Error(reason, m_line); }

    TToken Next()
    {
        SkipBlanks();
        TToken token;
        token.Line = m_line;
        if (m_pos >= m_text.size())
            return token;
        const char c = m_text[m_pos];
        if (IsIdentStart(c))
            ReadSymbol(token);
        else if (c == '\'' || c == '#')
            ReadString(token);
        else if (IsDigit(c) || c == '$' || (c == '-' && m_pos + 1 < m_text.size()
                                             && (IsDigit(m_text[m_pos + 1]) || m_text[m_pos + 1] == '$')))
            ReadNumber(token);
        else {
            token.Kind = TTokenKind::Char;
            token.Char = c;
            ++m_pos;
        }
        return token;
    }

    // The bytes of a binary value; the opening brace is already taken.
    std::string ReadHex()
    {
        std::string bytes;
        int high = -1;
        while (true) {
            SkipBlanks();
            if (m_pos >= m_text.size())
                Error("Unterminated binary value");
            const char c = m_text[m_pos++];
            if (c == '}')
                break;
            if (!IsHexDigit(c))
                Error("Invalid binary value");
            if (high < 0) {
                high = HexValue(c);
            } else {
                bytes += static_cast<char>(high * 16 + HexValue(c));
                high = -1;
            }
        }
        if (high >= 0)
            Error("Invalid binary value");
        return bytes;
    }

private:
    void SkipBlanks()
    {
        while (m_pos < m_text.size() && static_cast<unsigned char>(m_text[m_pos]) <= ' ') {
            if (m_text[m_pos] == '\n')
                ++m_line;
            ++m_pos;
        }
    }

    void ReadSymbol(TToken& token)
    {
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && (IsIdentStart(m_text[m_pos]) || IsDigit(m_text[m_pos]) || m_text[m_pos] == '.'))
            ++m_pos;
        token.Kind = TTokenKind::Symbol;
        token.Text = m_text.substr(start, m_pos - start);
        if (token.Text.back() == '.' || token.Text.find("..") != std::string::npos)
            Error(Format("Invalid identifier '%s'", {token.Text}));
    }

    void ReadString(TToken& token)
    {
        token.Kind = TTokenKind::String;
        while (m_pos < m_text.size() && (m_text[m_pos] == '\'' || m_text[m_pos] == '#')) {
            if (m_text[m_pos] == '\'')
                ReadQuoted(token.Text);
            else
                ReadCharCode(token.Text);
        }
    }

    void ReadQuoted(std::string& text)
    {
        ++m_pos;
        while (true) {
            if (m_pos >= m_text.size() || m_text[m_pos] == '\n' || m_text[m_pos] == '\r')
                Error("Unterminated string");
            const char c = m_text[m_pos++];
            if (c != '\'') {
                text += c;
            } else if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                text += '\'';
                ++m_pos;
            } else {
                return;
            }
        }
    }

    void ReadCharCode(std::string& text)
    {
        ++m_pos;
        const bool hex = m_pos < m_text.size() && m_text[m_pos] == '$';
        if (hex)
            ++m_pos;
        std::uint32_t code = 0;
        std::size_t digits = 0;
        while (m_pos < m_text.size() && (hex ? IsHexDigit(m_text[m_pos]) : IsDigit(m_text[m_pos]))) {
            code = code * (hex ? 16 : 10) + static_cast<std::uint32_t>(HexValue(m_text[m_pos++]));
            if (code > 0x10FFFF)
                Error("Invalid character code");
            ++digits;
        }
        if (digits == 0)
            Error("Invalid character code");
        AppendUtf8(text, code);
    }

    void ReadNumber(TToken& token)
    {
        const std::size_t start = m_pos;
        const bool negative = m_text[m_pos] == '-';
        if (negative)
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '$') {
            ReadHexNumber(token, negative);
            return;
        }
        bool isFloat = false;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos];
            if (IsDigit(c)) {
                ++m_pos;
            } else if (c == '.' || c == 'e' || c == 'E') {
                isFloat = true;
                ++m_pos;
                if (c != '.' && m_pos < m_text.size() && (m_text[m_pos] == '+' || m_text[m_pos] == '-'))
                    ++m_pos;
            } else {
                break;
            }
        }
        const std::string_view digits = m_text.substr(start, m_pos - start);
        if (isFloat) {
            token.Kind = TTokenKind::Float;
            const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), token.Float);
            if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
                Error(Format("Invalid floating point number '%s'", {digits}));
            // A type suffix (single, currency, date) says how the number was stored, not its value.
            if (m_pos < m_text.size() && (m_text[m_pos] == 's' || m_text[m_pos] == 'c' || m_text[m_pos] == 'd'))
                ++m_pos;
            return;
        }
        token.Kind = TTokenKind::Integer;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), token.Integer);
        if (result.ec != std::errc() || result.ptr != digits.data() + digits.size())
            Error(Format("Invalid integer number '%s'", {digits}));
    }

    void ReadHexNumber(TToken& token, bool negative)
    {
        ++m_pos;
        const std::size_t start = m_pos;
        while (m_pos < m_text.size() && IsHexDigit(m_text[m_pos]))
            ++m_pos;
        const std::string_view digits = m_text.substr(start, m_pos - start);
        std::uint64_t value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
        if (digits.empty() || result.ec != std::errc())
            Error(Format("Invalid integer number '$%s'", {digits}));
        token.Kind = TTokenKind::Integer;
        token.Integer = static_cast<std::int64_t>(value);
        if (negative)
            token.Integer = -token.Integer;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    int m_line = 1;
};

class TFormTextParser {
public:
    explicit TFormTextParser(std::string_view text) : m_tokens(text) { Advance(); }

    TFormObject ParseRoot()
    {
        TFormObject root = ParseObject(0);
        if (m_token.Kind != TTokenKind::End)
            Error("End of file expected");
        return root;
    }

private:
    void Advance() { m_token = m_tokens.Next(); }
    [[noreturn]] void Error(std::string_view reason) const { m_tokens.Error(reason, m_token.Line); }

    bool IsChar(char c) const { return m_token.Kind == TTokenKind::Char && m_token.Char == c; }
    bool IsSymbol(std::string_view name) const { return m_token.Kind == TTokenKind::Symbol && SameText(m_token.Text, name); }

    void ExpectChar(char c)
    {
        if (!IsChar(c))
            Error(Format("'%s' expected", {std::string(1, c)}));
        Advance();
    }

    std::string ExpectSymbol()
    {
        if (m_token.Kind != TTokenKind::Symbol)
            Error("Identifier expected");
        std::string text = std::move(m_token.Text);
        Advance();
        return text;
    }

    std::int64_t ExpectInteger()
    {
        if (m_token.Kind != TTokenKind::Integer)
            Error("Integer expected");
        const std::int64_t value = m_token.Integer;
        Advance();
        return value;
    }

    void CheckDepth(int depth) const
    {
        if (depth >= MaxFormNesting)
            Error("Form data nested too deeply");
    }

    bool AtObjectStart() const { return IsSymbol("object") || IsSymbol("inherited") || IsSymbol("inline"); }

    TFormObject ParseObject(int depth)
    {
        CheckDepth(depth);
        TFormObject object;
        object.Line = m_token.Line;
        if (IsSymbol("object"))
            object.Kind = TFormObjectKind::Object;
        else if (IsSymbol("inherited"))
            object.Kind = TFormObjectKind::Inherited;
        else if (IsSymbol("inline"))
            object.Kind = TFormObjectKind::Inline;
        else
            Error("'object' expected");
        Advance();
        std::string first = ExpectSymbol();
        if (IsChar(':')) {
            Advance();
            object.Name = std::move(first);
            object.ClassName = ExpectSymbol();
        } else {
            object.ClassName = std::move(first);
        }
        if (IsChar('[')) {
            Advance();
            object.ChildPos = ExpectInteger();
            ExpectChar(']');
        }
        while (!IsSymbol("end") && !AtObjectStart())
            object.Properties.push_back(ParseProperty(depth));
        while (AtObjectStart())
            object.Children.push_back(ParseObject(depth + 1));
        if (!IsSymbol("end"))
            Error("'end' expected");
        Advance();
        return object;
    }

    TFormProperty ParseProperty(int depth)
    {
        TFormProperty property;
        property.Line = m_token.Line;
        property.Name = ExpectSymbol();
        ExpectChar('=');
        property.Value = ParseValue(depth);
        return property;
    }

    TFormValue ParseValue(int depth)
    {
        TFormValue value;
        value.Line = m_token.Line;
        switch (m_token.Kind) {
        case TTokenKind::Integer:
            value.Kind = TFormValueKind::Integer;
            value.Integer = m_token.Integer;
            Advance();
            break;
        case TTokenKind::Float:
            value.Kind = TFormValueKind::Float;
            value.Float = m_token.Float;
            Advance();
            break;
        case TTokenKind::String:
            value.Kind = TFormValueKind::String;
            value.Text = ParseStringSum();
            break;
        case TTokenKind::Symbol:
            value.Kind = TFormValueKind::Ident;
            value.Text = std::move(m_token.Text);
            Advance();
            break;
        case TTokenKind::Char:
            ParseBracketed(value, depth);
            break;
        case TTokenKind::End:
            Error("Unexpected end of file");
        }
        return value;
    }

    std::string ParseStringSum()
    {
        std::string text = std::move(m_token.Text);
        Advance();
        while (IsChar('+')) {
            Advance();
            if (m_token.Kind != TTokenKind::String)
                Error("String expected");
            text += m_token.Text;
            Advance();
        }
        return text;
    }

    void ParseBracketed(TFormValue& value, int depth)
    {
        CheckDepth(depth + 1);
        const char open = m_token.Char;
        if (open == '{') {
            value.Kind = TFormValueKind::Binary;
            value.Text = m_tokens.ReadHex();
            Advance();
        } else if (open == '[') {
            value.Kind = TFormValueKind::Set;
            ParseSet(value);
        } else if (open == '(') {
            value.Kind = TFormValueKind::List;
            Advance();
            while (!IsChar(')'))
                value.Items.push_back(ParseValue(depth + 1));
            Advance();
        } else if (open == '<') {
            value.Kind = TFormValueKind::Collection;
            Advance();
            while (!IsChar('>'))
                value.CollectionItems.push_back(ParseItem(depth + 1));
            Advance();
        } else {
            Error("Invalid property value");
        }
    }

    void ParseSet(TFormValue& value)
    {
        Advance();
        if (IsChar(']')) {
            Advance();
            return;
        }
        while (true) {
            if (m_token.Kind == TTokenKind::Symbol)
                value.SetMembers.push_back(std::move(m_token.Text));
            else if (m_token.Kind == TTokenKind::Integer)
                value.SetMembers.push_back(std::to_string(m_token.Integer));
            else
                Error("Identifier expected");
            Advance();
            if (IsChar(']'))
                break;
            ExpectChar(',');
        }
        Advance();
    }

    TFormCollectionItem ParseItem(int depth)
    {
        TFormCollectionItem item;
        item.Line = m_token.Line;
        if (!IsSymbol("item"))
            Error("'item' expected");
        Advance();
        if (IsChar('[')) {
            Advance();
            item.Order = ExpectInteger();
            ExpectChar(']');
        }
        while (!IsSymbol("end"))
            item.Properties.push_back(ParseProperty(depth));
        Advance();
        return item;
    }

    TTokenizer m_tokens;
    TToken m_token;
};

} // namespace

TFormObject ParseFormText(std::string_view text)
{
    if (text.size() > MaxFormTextSize)
        throw EParserError(Format("Form data larger than %d bytes on line 1", {static_cast<int>(MaxFormTextSize)}));
    return TFormTextParser(text).ParseRoot();
}
