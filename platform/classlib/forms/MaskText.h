#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Edit masks as the class library writes them: "mask;save;blank". In the mask, L/l a letter,
// A/a a letter or digit, C/c any character, 0/9 a digit and # a digit or sign (capitals are
// required, the others optional); '>' upper-cases and '<' lower-cases what follows, "<>" ends
// either; '\' makes the next character literal; ':' and '/' are the time and date separators,
// '_' a space; '!' keeps optional blanks at the start instead of the end. Every other character
// is a literal. The second field "0" leaves the literals out of Text; the third is the character
// shown for an empty position ('_' by default). Positions count bytes: masked text is ASCII.

class TEditMask {
public:
    enum class TCase { Keep, Upper, Lower };
    struct TPosition {
        bool literal;
        char symbol; // the literal itself, or the mask character of an input position
        TCase charCase;
    };

    explicit TEditMask(std::string_view editMask);

    [[nodiscard]] bool IsMasked() const { return !m_positions.empty(); }
    [[nodiscard]] const std::vector<TPosition>& Positions() const { return m_positions; }
    [[nodiscard]] std::size_t Size() const { return m_positions.size(); }
    [[nodiscard]] bool SaveLiterals() const { return m_saveLiterals; }
    [[nodiscard]] char Blank() const { return m_blank; }
    [[nodiscard]] bool Reverse() const { return m_reverse; }
    [[nodiscard]] bool IsLiteral(std::size_t pos) const { return pos >= Size() || m_positions[pos].literal; }

    // The character typed at an input position after its case rule, or '\0' when the position
    // does not take it.
    [[nodiscard]] char Accept(std::size_t pos, char c) const;
    [[nodiscard]] static bool IsRequired(char symbol);

    // Text of the input positions only (no literals), laid into the mask with `blank` where it
    // runs short (from the end with '!').
    [[nodiscard]] std::string FormatInput(std::string_view value, char blank) const;
    // Text that holds the literals already, lined up with the mask's literals.
    [[nodiscard]] std::string PadLiterals(std::string_view value, char blank) const;
    // The input positions of edit text with blanks as spaces and the trailing (with '!' the
    // leading) spaces dropped.
    [[nodiscard]] std::string RemoveFormat(std::string_view editText) const;
    // The first position that breaks the mask (a required position empty, a character of the
    // wrong kind), or Size() when the edit text is valid.
    [[nodiscard]] std::size_t FirstInvalid(std::string_view editText) const;

private:
    std::vector<TPosition> m_positions;
    bool m_saveLiterals = true;
    char m_blank = '_';
    bool m_reverse = false;
};

// The display of a value under a mask with spaces for the blanks, as the class library formats
// values for reports and grids.
[[nodiscard]] std::string FormatMaskText(std::string_view editMask, std::string_view value);
[[nodiscard]] std::string MaskDoFormatText(std::string_view editMask, std::string_view value, char blank);
