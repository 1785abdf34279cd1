#pragma once

#include "platform/rtl/Variant.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A data set's Filter text, parsed once and evaluated in memory for each record; it is never
// handed to a database. The syntax is the class library's:
//
//   condition  := or-term
//   or-term    := and-term { OR and-term }
//   and-term   := unary { AND unary }
//   unary      := NOT unary | '(' condition ')' | comparison
//   comparison := operand ( op operand | [NOT] LIKE pattern | IS [NOT] NULL )?
//   op         := = <> < > <= >=
//   operand    := field name, [bracketed field name], 'text' or "text" (quotes doubled inside),
//                 number, #date#, True, False, Null
//
// A bare word on the left names a field; on the right it is a value, so "(NUM Like %555%)" and
// "(GROUP = 2)" read as written. LIKE matches without regard to case; '%' and '*' stand for any
// run of characters, and "[c]" for the character c itself. Text compares without regard to
// case. A comparison with Null is false. A single operand is a condition by its truth value.
//
// Limits: at most 64 KiB of text and 200 levels of nesting; anything else malformed raises
// EDatabaseError "Invalid filter expression: ...".
class TFilterExpression {
public:
    static constexpr std::size_t MaxLength = 64 * 1024;
    static constexpr int MaxDepth = 200;

    struct Node;

    [[nodiscard]] static TFilterExpression Parse(std::string_view text);
    TFilterExpression();
    ~TFilterExpression();
    TFilterExpression(TFilterExpression&&) noexcept;
    TFilterExpression& operator=(TFilterExpression&&) noexcept;

    // The fields named, each once, in the order of their first use.
    [[nodiscard]] const std::vector<std::string>& FieldNames() const { return m_fieldNames; }
    // Asks the values of the named fields by their index in FieldNames.
    [[nodiscard]] bool Evaluate(const std::function<Variant(int fieldIndex)>& value) const;

private:
    std::unique_ptr<Node> m_root;
    std::vector<std::string> m_fieldNames;
};

// Case-insensitive LIKE matching with '%' / '*' wildcards and "[c]" literals.
[[nodiscard]] bool MatchesLikePattern(std::string_view text, std::string_view pattern);
