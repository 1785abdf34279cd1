#include "grid/core/FilterExpression.h"

#include "platform/rtl/Conversions.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LocaleSettings.h"
#include "platform/rtl/Strings.h"

#include <array>
#include <string>
#include <vector>

namespace {

constexpr std::string_view ErrorInExpression = "Error in expression: ";
constexpr std::string_view UnexpectedBeforeNull = "Unexpected expression before Null: ";
constexpr std::string_view UnexpectedAfterOperator = "Unexpected expression after operator: ";
constexpr std::string_view CloseParenthesisExpected = "')' expected: ";
constexpr std::string_view OpenParenthesisExpected = "'(' expected: ";
constexpr std::string_view UnexpectedAndOr = "Unexpected AND or OR: ";
constexpr std::string_view IncorrectExpression = "Incorrect expression: ";
constexpr std::string_view QuoteIsAbsent = "Quote is absent: ";

struct OperatorForms {
    std::string_view Shown;
    std::string_view Sql;
};

constexpr std::array<OperatorForms, foValueGx> Forms{{{"", ""},
                                                      {"=", "="},
                                                      {"<>", "<>"},
                                                      {">", ">"},
                                                      {"<", "<"},
                                                      {">=", ">="},
                                                      {"<=", "<="},
                                                      {"~", "LIKE"},
                                                      {"!~", "NOT LIKE"},
                                                      {"In", "IN"},
                                                      {"!In", "NOT IN"},
                                                      {"Null", "IS NULL"},
                                                      {"Null", "IS NOT NULL"},
                                                      {"AND", "AND"},
                                                      {"OR", "OR"}}};

[[nodiscard]] bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// Words run over every character from 32 up except the blank and the operator and separator
// characters; bytes of multi-byte characters (128 up) belong to words, so such a character is
// never cut.
[[nodiscard]] bool IsWordChar(char c)
{
    const auto code = static_cast<unsigned char>(c);
    if (code < 32)
        return false;
    return code >= 128 || std::string_view(" !\"&'()+,-.<=>|~").find(c) == std::string_view::npos;
}

[[nodiscard]] bool IsOperator(int lexeme) { return lexeme >= foEqualGx && lexeme <= foOrGx; }

// Reads the lexemes of one filter text. Looking ahead (no value wanted) classifies what follows
// without reading values, so that the look-ahead a value makes at each of its blanks stays short.
class FilterLexer {
public:
    FilterLexer(std::string_view text, bool commaSeparates) : m_text(text), m_commaSeparates(commaSeparates) {}

    [[nodiscard]] bool AtEnd() const { return m_pos >= m_text.size(); }
    [[nodiscard]] char Current() const { return m_text[m_pos]; }
    void Advance() { ++m_pos; }
    void SkipBlanks() { m_pos = SkipBlanksFrom(m_pos); }
    [[nodiscard]] bool CommaSeparates() const { return m_commaSeparates; }
    void SetCommaSeparates(bool value) { m_commaSeparates = value; }
    // The next lexeme; a value lexeme leaves its value (a variant array for a list) in `value`.
    int Next(Variant& value) { return Lexeme(m_pos, &value); }

    [[noreturn]] void Fail(std::string_view message) const
    {
        throw Exception(std::string(message) + std::string(m_text));
    }

private:
    [[nodiscard]] std::size_t SkipBlanksFrom(std::size_t pos) const
    {
        while (pos < m_text.size() && IsBlank(m_text[pos]))
            ++pos;
        return pos;
    }

    // "Not" takes its meaning from the lexeme after it: NOT LIKE, NOT IN, NOT NULL, else nothing.
    // A chain of them is walked in a loop: a negated negation means nothing either.
    int Lexeme(std::size_t& pos, Variant* value)
    {
        int negations = 0;
        for (;;) {
            bool negation = false;
            const int lexeme = Single(pos, value, negation);
            if (negation) {
                ++negations;
                pos = SkipBlanksFrom(pos);
                continue;
            }
            if (negations == 0)
                return lexeme;
            if (negations > 1)
                return foNoneGx;
            switch (lexeme) {
            case foLikeGx:
                return foNotLikeGx;
            case foInGx:
                return foNotInGx;
            case foNullGx:
                return foNotNullGx;
            default:
                return foNoneGx;
            }
        }
    }

    int Single(std::size_t& pos, Variant* value, bool& negation)
    {
        if (pos >= m_text.size())
            return foNoneGx;
        const auto follows = [&](char c) { return pos + 1 < m_text.size() && m_text[pos + 1] == c; };
        const auto op = [&](int code, std::size_t length) {
            pos = SkipBlanksFrom(pos + length);
            return code;
        };
        switch (m_text[pos]) {
        case '=':
            return op(foEqualGx, 1);
        case '<':
            return follows('>') ? op(foNotEqualGx, 2) : follows('=') ? op(foLessOrEqualGx, 2) : op(foLessGx, 1);
        case '>':
            return follows('=') ? op(foGreaterOrEqualGx, 2) : op(foGreaterGx, 1);
        case '!':
            if (follows('='))
                return op(foNotEqualGx, 2);
            negation = true;
            ++pos;
            return foNoneGx;
        case '~':
            return op(foLikeGx, 1);
        case '&':
            return op(foAndGx, 1);
        case '|':
            return op(foOrGx, 1);
        case '(':
            ++pos;
            return foNoneGx;
        case '"':
            return ValueLexeme(pos, value);
        default:
            break;
        }
        std::size_t end = pos;
        while (end < m_text.size() && IsWordChar(m_text[end]))
            ++end;
        const std::string word = UpperCase(m_text.substr(pos, end - pos));
        if (word == "NOT") {
            negation = true;
            pos = end;
            return foNoneGx;
        }
        if (word == "AND")
            return op(foAndGx, end - pos);
        if (word == "OR")
            return op(foOrGx, end - pos);
        if (word == "LIKE")
            return op(foLikeGx, end - pos);
        if (word == "NULL")
            return op(foNullGx, end - pos);
        if (word == "IN") {
            pos = SkipBlanksFrom(end);
            if (pos >= m_text.size() || m_text[pos] != '(')
                Fail(OpenParenthesisExpected);
            return op(foInGx, 1);
        }
        return ValueLexeme(pos, value);
    }

    int ValueLexeme(std::size_t& pos, Variant* value)
    {
        if (value == nullptr) {
            if (m_text[pos] == '"' && m_text.find('"', pos + 1) == std::string_view::npos)
                Fail(QuoteIsAbsent);
            return foValueGx;
        }
        *value = ReadValues(pos);
        return VarIsNull(*value) ? foNoneGx : foValueGx;
    }

    // One value, or a comma list of them as a variant array; Null when there is none.
    Variant ReadValues(std::size_t& pos)
    {
        std::vector<Variant> values;
        for (;;) {
            pos = SkipBlanksFrom(pos);
            Variant item = ReadValue(pos);
            if (VarIsNull(item))
                break;
            values.push_back(std::move(item));
            const std::size_t after = SkipBlanksFrom(pos);
            if (!m_commaSeparates || after >= m_text.size() || m_text[after] != ',')
                break;
            pos = after + 1;
        }
        if (values.empty())
            return Null();
        return values.size() == 1 ? values.front() : VarArrayOf(values);
    }

    Variant ReadValue(std::size_t& pos)
    {
        if (pos < m_text.size() && m_text[pos] == '"') {
            const std::size_t close = m_text.find('"', pos + 1);
            if (close == std::string_view::npos)
                Fail(QuoteIsAbsent);
            Variant quoted(std::string(m_text.substr(pos + 1, close - pos - 1)));
            pos = close + 1;
            return quoted;
        }
        const std::size_t start = pos;
        std::size_t end = pos;  // past the last character that is not a blank
        while (pos < m_text.size()) {
            const char c = m_text[pos];
            if (c == '(' || c == ')' || (c == ',' && m_commaSeparates))
                break;
            if (IsBlank(c)) {
                const std::size_t next = SkipBlanksFrom(pos);
                if (OperatorFollows(next))
                    break;
                pos = next;
                continue;
            }
            end = ++pos;
        }
        if (end == start)
            return Null();
        return Variant(std::string(m_text.substr(start, end - start)));
    }

    bool OperatorFollows(std::size_t pos)
    {
        return IsOperator(Lexeme(pos, nullptr));
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
    bool m_commaSeparates;
};

// Reads one comparison: an operator with its operand, or a bare value (a list is IN, a string
// LIKE, anything else equal). False when no lexeme starts here.
bool ReadComparison(FilterLexer& lexer, std::uint8_t valueType, std::uint8_t& op, Variant& operand)
{
    Variant value;
    const int lexeme = lexer.Next(value);
    if (lexeme == foValueGx) {
        op = VarIsArray(value) ? foInGx : valueType == fvtStringGx ? foLikeGx : foEqualGx;
        operand = std::move(value);
        return true;
    }
    if (lexeme == foNoneGx)
        return false;
    // AND or OR where a comparison belongs would leave a condition nobody can apply.
    if (lexeme == foAndGx || lexeme == foOrGx)
        lexer.Fail(UnexpectedAndOr);
    op = static_cast<std::uint8_t>(lexeme);
    const bool list = op == foInGx || op == foNotInGx;
    const bool commaRule = lexer.CommaSeparates();
    if (list)
        lexer.SetCommaSeparates(true);
    const int next = lexer.Next(value);
    lexer.SetCommaSeparates(commaRule);
    if (next == foNullGx) {
        if (op != foEqualGx && op != foNotEqualGx)
            lexer.Fail(UnexpectedBeforeNull);
        op = op == foEqualGx ? foNullGx : foNotNullGx;
        return true;
    }
    if (next != foValueGx)
        lexer.Fail(UnexpectedAfterOperator);
    operand = std::move(value);
    if (list) {
        lexer.SkipBlanks();
        if (lexer.AtEnd() || lexer.Current() != ')')
            lexer.Fail(CloseParenthesisExpected);
        lexer.Advance();
    }
    return true;
}

[[nodiscard]] Variant ConvertValue(const Variant& value, std::uint8_t valueType)
{
    const std::string text = Trim(value.ToString());
    return valueType == fvtNumberGx ? Variant(StrToFloat(text)) : Variant::FromDateTime(StrToDateTime(text));
}

void ConvertOperand(std::uint8_t valueType, std::uint8_t op, Variant& operand)
{
    if (op < foEqualGx || op > foNotInGx) {
        operand = Null();
        return;
    }
    if (valueType != fvtNumberGx && valueType != fvtDateTimeGx)
        return;
    if (!VarIsArray(operand)) {
        operand = ConvertValue(operand, valueType);
        return;
    }
    for (int i = operand.LowBound(); i <= operand.HighBound(); ++i)
        operand.SetElement(i, ConvertValue(operand.Element(i), valueType));
}

} // namespace

std::string_view FilterOperatorText(std::uint8_t op) { return op < Forms.size() ? Forms[op].Shown : ""; }

std::string_view FilterOperatorSql(std::uint8_t op) { return op < Forms.size() ? Forms[op].Sql : ""; }

void ResetFilterExpression(FilterExpressionRec& expression)
{
    expression.Operator1 = foNoneGx;
    expression.Operand1 = Null();
    expression.Relation = foNoneGx;
    expression.Operator2 = foNoneGx;
    expression.Operand2 = Null();
}

bool ParseFilterExpression(std::string_view text, FilterExpressionRec& expression)
{
    // A comma is a list separator unless it is the decimal separator of a number column.
    const bool commaSeparates = !(expression.ValueType == fvtNumberGx && DecimalSeparator == ',');
    ResetFilterExpression(expression);
    const std::string trimmed = Trim(text);
    if (trimmed.empty())
        return false;
    FilterLexer lexer(trimmed, commaSeparates);
    if (!ReadComparison(lexer, expression.ValueType, expression.Operator1, expression.Operand1))
        lexer.Fail(ErrorInExpression);
    lexer.SkipBlanks();
    bool second = false;
    if (!lexer.AtEnd()) {
        Variant value;
        const int lexeme = lexer.Next(value);
        if (lexeme == foNoneGx) {
            if (!lexer.AtEnd())
                lexer.Fail(IncorrectExpression);
        } else {
            if (lexeme != foAndGx && lexeme != foOrGx)
                lexer.Fail(UnexpectedAndOr);
            expression.Relation = static_cast<std::uint8_t>(lexeme);
            second = ReadComparison(lexer, expression.ValueType, expression.Operator2, expression.Operand2);
            // Only two comparisons are kept: anything after the second would be dropped unseen.
            lexer.SkipBlanks();
            if (!lexer.AtEnd())
                lexer.Fail(IncorrectExpression);
        }
    }
    ConvertOperand(expression.ValueType, expression.Operator1, expression.Operand1);
    ConvertOperand(expression.ValueType, expression.Operator2, expression.Operand2);
    return second;
}
