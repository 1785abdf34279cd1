#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The class library's text notation for form data, parsed into a tree that TReader then applies:
//
//   object Form1: TForm1            (or "inherited" / "inline"; "[n]" after the class gives
//     Caption = 'It''s' + #13#10    the child position)
//     Font.Style = [fsBold]
//     Items.Strings = ( 'a' 'b' )
//     Columns = < item Width = 10 end >
//     Data = { 0A1B2C }
//     OnClick = Button1Click
//     object Button1: TButton ... end
//   end
//
// Values: integers (decimal, negative, $hex; 64-bit), floats ("1.5", "2E3", optional s/c/d
// suffix), strings ('...' with '' for a quote, #nn / #$hh characters written as UTF-8, pieces
// joined side by side or with '+' across lines), identifiers (True, False, nil, enumeration and
// colour names, component references "Form2.Edit1", method names), sets of identifiers or
// integers, lists of values, collections of items, and binary data in hex.
//
// Limits: the text may be at most MaxFormTextSize bytes; objects, lists and collections nest at
// most MaxFormNesting deep. Everything else is bounded by the text's size. Errors raise
// EParserError "<reason> on line <n>".
inline constexpr std::size_t MaxFormTextSize = 16 * 1024 * 1024;
inline constexpr int MaxFormNesting = 64;

RTL_DECLARE_EXCEPTION(EParserError, Exception);

enum class TFormValueKind { Integer, Float, String, Ident, Set, List, Collection, Binary };

struct TFormProperty;

struct TFormCollectionItem {
    int Line = 0;
    std::optional<std::int64_t> Order;
    std::vector<TFormProperty> Properties;
};

struct TFormValue {
    TFormValueKind Kind = TFormValueKind::Integer;
    int Line = 0;
    std::int64_t Integer = 0;
    double Float = 0;
    // The string, the identifier, or the binary bytes.
    std::string Text;
    std::vector<std::string> SetMembers;
    std::vector<TFormValue> Items;
    std::vector<TFormCollectionItem> CollectionItems;
};

struct TFormProperty {
    int Line = 0;
    std::string Name;
    TFormValue Value;
};

enum class TFormObjectKind { Object, Inherited, Inline };

struct TFormObject {
    int Line = 0;
    TFormObjectKind Kind = TFormObjectKind::Object;
    std::string Name;
    std::string ClassName;
    std::optional<std::int64_t> ChildPos;
    std::vector<TFormProperty> Properties;
    std::vector<TFormObject> Children;
};

// Parses one object and its children; anything but blanks after its "end" is an error.
[[nodiscard]] TFormObject ParseFormText(std::string_view text);
