#include "platform/classlib/data/DBFilter.h"

#include "platform/classlib/data/DB.h"
#include "platform/classlib/data/SqliteDatabase.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <optional>

namespace {

enum class TokenKind { End, LeftParen, RightParen, Operator, Quoted, Bracketed, Date, Word };

struct Token {
    TokenKind Kind = TokenKind::End;
    std::string Text;
};

[[noreturn]] void Invalid(std::string_view why)
{
    DatabaseErrorFmt(SInvalidFilter, why);
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool EndsWord(char c)
{
    return IsBlank(c) || c == '(' || c == ')' || c == '=' || c == '<' || c == '>' || c == '\'' || c == '"';
}

class Lexer {
public:
    explicit Lexer(std::string_view text) : m_text(text) {}

    Token Next()
    {
        while (m_at < m_text.size() && IsBlank(m_text[m_at]))
            ++m_at;
        if (m_at == m_text.size())
            return {};
        const char c = m_text[m_at];
        if (c == '(' || c == ')') {
            ++m_at;
            return {c == '(' ? TokenKind::LeftParen : TokenKind::RightParen, std::string(1, c)};
        }
        if (c == '=' || c == '<' || c == '>')
            return Operator();
        if (c == '\'' || c == '"')
            return {TokenKind::Quoted, Delimited(c, c, true)};
        if (c == '[')
            return {TokenKind::Bracketed, Delimited('[', ']', false)};
        if (c == '#')
            return {TokenKind::Date, Delimited('#', '#', false)};
        const std::size_t start = m_at;
        while (m_at < m_text.size() && !EndsWord(m_text[m_at]))
            ++m_at;
        return {TokenKind::Word, std::string(m_text.substr(start, m_at - start))};
    }

private:
    Token Operator()
    {
        std::string op(1, m_text[m_at++]);
        if (m_at < m_text.size() && op != "=" && (m_text[m_at] == '=' || (op == "<" && m_text[m_at] == '>')))
            op += m_text[m_at++];
        return {TokenKind::Operator, op};
    }

    // Text between `open` and `close`; with `doubled`, two closing characters stand for one.
    std::string Delimited(char open, char close, bool doubled)
    {
        (void)open;
        ++m_at;
        std::string text;
        while (m_at < m_text.size()) {
            const char c = m_text[m_at++];
            if (c != close) {
                text += c;
                continue;
            }
            if (doubled && m_at < m_text.size() && m_text[m_at] == close) {
                text += c;
                ++m_at;
                continue;
            }
            return text;
        }
        Invalid("unterminated " + std::string(1, open));
    }

    std::string_view m_text;
    std::size_t m_at = 0;
};

}  // namespace

struct TFilterExpression::Node {
    enum class Kind { Or, And, Not, Compare, Like, IsNull, Truth, Field, Value };
    Kind NodeKind;
    std::string Op;
    int FieldIndex = -1;
    Variant Value;
    bool Negate = false;
    std::unique_ptr<Node> Left;
    std::unique_ptr<Node> Right;
    // The terms of OR and AND, kept flat so that long chains do not nest.
    std::vector<std::unique_ptr<Node>> Terms;
};

namespace {

using Node = TFilterExpression::Node;
using NodePtr = std::unique_ptr<Node>;

NodePtr MakeNode(Node::Kind kind, NodePtr left = nullptr, NodePtr right = nullptr)
{
    auto node = std::make_unique<Node>();
    node->NodeKind = kind;
    node->Left = std::move(left);
    node->Right = std::move(right);
    return node;
}

NodePtr MakeValue(Variant value)
{
    NodePtr node = MakeNode(Node::Kind::Value);
    node->Value = std::move(value);
    return node;
}

class Parser {
public:
    Parser(std::string_view text, std::vector<std::string>& fieldNames) : m_lexer(text), m_fieldNames(fieldNames)
    {
        Advance();
    }

    NodePtr ParseAll()
    {
        NodePtr root = Condition(0);
        if (m_token.Kind != TokenKind::End)
            Invalid("unexpected '" + m_token.Text + "'");
        return root;
    }

private:
    void Advance() { m_token = m_lexer.Next(); }

    bool AtKeyword(std::string_view keyword) const
    {
        return m_token.Kind == TokenKind::Word && SameText(m_token.Text, keyword);
    }

    NodePtr Condition(int depth)
    {
        if (depth > TFilterExpression::MaxDepth)
            Invalid("nested too deeply");
        NodePtr first = AndTerm(depth);
        if (!AtKeyword("OR"))
            return first;
        NodePtr node = MakeNode(Node::Kind::Or);
        node->Terms.push_back(std::move(first));
        while (AtKeyword("OR")) {
            Advance();
            node->Terms.push_back(AndTerm(depth));
        }
        return node;
    }

    NodePtr AndTerm(int depth)
    {
        NodePtr first = Unary(depth);
        if (!AtKeyword("AND"))
            return first;
        NodePtr node = MakeNode(Node::Kind::And);
        node->Terms.push_back(std::move(first));
        while (AtKeyword("AND")) {
            Advance();
            node->Terms.push_back(Unary(depth));
        }
        return node;
    }

    NodePtr Unary(int depth)
    {
        if (depth > TFilterExpression::MaxDepth)
            Invalid("nested too deeply");
        if (AtKeyword("NOT")) {
            Advance();
            return MakeNode(Node::Kind::Not, Unary(depth + 1));
        }
        if (m_token.Kind == TokenKind::LeftParen) {
            Advance();
            NodePtr inner = Condition(depth + 1);
            if (m_token.Kind != TokenKind::RightParen)
                Invalid("')' expected");
            Advance();
            return inner;
        }
        return Comparison();
    }

    NodePtr Comparison()
    {
        NodePtr left = Operand(true);
        if (m_token.Kind == TokenKind::Operator) {
            NodePtr node = MakeNode(Node::Kind::Compare, std::move(left));
            node->Op = m_token.Text;
            Advance();
            node->Right = Operand(false);
            return node;
        }
        bool negate = false;
        if (AtKeyword("NOT")) {
            Advance();
            negate = true;
            if (!AtKeyword("LIKE"))
                Invalid("LIKE expected after NOT");
        }
        if (AtKeyword("LIKE")) {
            Advance();
            NodePtr node = MakeNode(Node::Kind::Like, std::move(left), Operand(false));
            node->Negate = negate;
            return node;
        }
        if (AtKeyword("IS")) {
            Advance();
            NodePtr node = MakeNode(Node::Kind::IsNull, std::move(left));
            if (AtKeyword("NOT")) {
                Advance();
                node->Negate = true;
            }
            if (!AtKeyword("NULL"))
                Invalid("NULL expected after IS");
            Advance();
            return node;
        }
        return MakeNode(Node::Kind::Truth, std::move(left));
    }

    NodePtr Operand(bool fieldSide)
    {
        Token token = m_token;
        switch (token.Kind) {
        case TokenKind::Quoted:
            Advance();
            return MakeValue(Variant(token.Text));
        case TokenKind::Bracketed:
            Advance();
            return Field(token.Text);
        case TokenKind::Date: {
            Advance();
            TDateTime value;
            if (!TryIsoToDateTime(token.Text, value) && !TryStrToDateTime(token.Text, value))
                Invalid("'" + token.Text + "' is not a date");
            return MakeValue(Variant::FromDateTime(value));
        }
        case TokenKind::Word:
            Advance();
            return Word(token.Text, fieldSide);
        default:
            Invalid(token.Kind == TokenKind::End ? std::string("operand expected") : "unexpected '" + token.Text + "'");
        }
    }

    NodePtr Word(const std::string& word, bool fieldSide)
    {
        if (SameText(word, "TRUE") || SameText(word, "FALSE"))
            return MakeValue(Variant(SameText(word, "TRUE")));
        if (SameText(word, "NULL"))
            return MakeValue(Variant::MakeNull());
        if (std::int64_t integer; TryStrToInt64(word, integer))
            return MakeValue(Variant(static_cast<long long>(integer)));
        if (double number; TryStrToFloat(word, number))
            return MakeValue(Variant(number));
        for (const char* keyword : {"AND", "OR", "NOT", "LIKE", "IS"})
            if (SameText(word, keyword))
                Invalid("operand expected before " + word);
        if (fieldSide)
            return Field(word);
        return MakeValue(Variant(word));
    }

    NodePtr Field(const std::string& name)
    {
        if (name.empty())
            Invalid("empty field name");
        NodePtr node = MakeNode(Node::Kind::Field);
        for (std::size_t i = 0; i < m_fieldNames.size(); ++i)
            if (SameText(m_fieldNames[i], name))
                node->FieldIndex = static_cast<int>(i);
        if (node->FieldIndex < 0) {
            node->FieldIndex = static_cast<int>(m_fieldNames.size());
            m_fieldNames.push_back(name);
        }
        return node;
    }

    Lexer m_lexer;
    Token m_token;
    std::vector<std::string>& m_fieldNames;
};

bool IsTextual(const Variant& v)
{
    return VarIsStr(v);
}

// <0, 0, >0, or nothing when the two cannot be compared (Null, or text that is not a number).
std::optional<int> CompareValues(const Variant& a, const Variant& b)
{
    if (VarIsClear(a) || VarIsClear(b))
        return std::nullopt;
    try {
        if (IsTextual(a) && IsTextual(b))
            return AnsiCompareText(a.ToString(), b.ToString());
        if (a.VType() == varBoolean || b.VType() == varBoolean)
            return static_cast<int>(b.ToBoolean()) - static_cast<int>(a.ToBoolean());
        if (a.VType() == varDate || b.VType() == varDate) {
            const auto asDate = [](const Variant& v) {
                TDateTime value;
                if (IsTextual(v) && TryIsoToDateTime(v.ToString(), value))
                    return value;
                return v.ToDateTime();
            };
            const TDateTime x = asDate(a), y = asDate(b);
            return x < y ? -1 : (x > y ? 1 : 0);
        }
        const double x = a.ToDouble(), y = b.ToDouble();
        return x < y ? -1 : (x > y ? 1 : 0);
    } catch (const Exception&) {
        return std::nullopt;
    }
}

bool Holds(std::string_view op, int order)
{
    if (op == "=")
        return order == 0;
    if (op == "<>")
        return order != 0;
    if (op == "<")
        return order < 0;
    if (op == ">")
        return order > 0;
    if (op == "<=")
        return order <= 0;
    if (op == ">=")
        return order >= 0;
    Invalid("unknown operator '" + std::string(op) + "'");
}

class Evaluator {
public:
    explicit Evaluator(const std::function<Variant(int)>& value) : m_value(value) {}

    bool Test(const Node& node) const
    {
        switch (node.NodeKind) {
        case Node::Kind::Or:
            return std::any_of(node.Terms.begin(), node.Terms.end(), [this](const NodePtr& t) { return Test(*t); });
        case Node::Kind::And:
            return std::all_of(node.Terms.begin(), node.Terms.end(), [this](const NodePtr& t) { return Test(*t); });
        case Node::Kind::Not:
            return !Test(*node.Left);
        case Node::Kind::Compare: {
            const std::optional<int> order = CompareValues(Value(*node.Left), Value(*node.Right));
            return order && Holds(node.Op, *order);
        }
        case Node::Kind::Like: {
            const Variant text = Value(*node.Left);
            if (VarIsClear(text))
                return false;
            return MatchesLikePattern(VarToStr(text), VarToStr(Value(*node.Right))) != node.Negate;
        }
        case Node::Kind::IsNull:
            return VarIsClear(Value(*node.Left)) != node.Negate;
        case Node::Kind::Truth: {
            const Variant value = Value(*node.Left);
            try {
                return !VarIsClear(value) && value.ToBoolean();
            } catch (const Exception&) {
                return false;
            }
        }
        default:
            return false;
        }
    }

private:
    Variant Value(const Node& node) const
    {
        return node.NodeKind == Node::Kind::Field ? m_value(node.FieldIndex) : node.Value;
    }

    const std::function<Variant(int)>& m_value;
};

}  // namespace

TFilterExpression::TFilterExpression() = default;
TFilterExpression::~TFilterExpression() = default;
TFilterExpression::TFilterExpression(TFilterExpression&&) noexcept = default;
TFilterExpression& TFilterExpression::operator=(TFilterExpression&&) noexcept = default;

TFilterExpression TFilterExpression::Parse(std::string_view text)
{
    if (text.size() > MaxLength)
        Invalid("too long");
    TFilterExpression expression;
    expression.m_root = Parser(text, expression.m_fieldNames).ParseAll();
    return expression;
}

bool TFilterExpression::Evaluate(const std::function<Variant(int fieldIndex)>& value) const
{
    return !m_root || Evaluator(value).Test(*m_root);
}

namespace {

// One pattern element: a wildcard, or the lower-cased text of one character.
struct PatternItem {
    bool Wildcard = false;
    std::string Character;
};

std::size_t CharacterLength(std::string_view text, std::size_t at)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    return std::min(length, text.size() - at);
}

std::vector<std::string> Characters(std::string_view text)
{
    std::vector<std::string> characters;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = CharacterLength(text, at);
        characters.push_back(AnsiLowerCase(text.substr(at, length)));
        at += length;
    }
    return characters;
}

std::vector<PatternItem> PatternItems(std::string_view pattern)
{
    std::vector<PatternItem> items;
    for (std::size_t at = 0; at < pattern.size();) {
        const char c = pattern[at];
        if (c == '%' || c == '*') {
            items.push_back({true, {}});
            ++at;
            continue;
        }
        if (c == '[' && at + 1 < pattern.size()) {
            const std::size_t length = CharacterLength(pattern, at + 1);
            if (at + 1 + length < pattern.size() && pattern[at + 1 + length] == ']') {
                items.push_back({false, AnsiLowerCase(pattern.substr(at + 1, length))});
                at += length + 2;
                continue;
            }
        }
        const std::size_t length = CharacterLength(pattern, at);
        items.push_back({false, AnsiLowerCase(pattern.substr(at, length))});
        at += length;
    }
    return items;
}

}  // namespace

bool MatchesLikePattern(std::string_view text, std::string_view pattern)
{
    const std::vector<std::string> chars = Characters(text);
    const std::vector<PatternItem> items = PatternItems(pattern);
    // The classic linear matcher: on a mismatch, let the last wildcard swallow one more character.
    std::size_t t = 0, p = 0, starP = std::string::npos, starT = 0;
    while (t < chars.size()) {
        if (p < items.size() && !items[p].Wildcard && items[p].Character == chars[t]) {
            ++t;
            ++p;
        } else if (p < items.size() && items[p].Wildcard) {
            starP = p++;
            starT = t;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < items.size() && items[p].Wildcard)
        ++p;
    return p == items.size();
}
