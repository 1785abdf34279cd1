#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// String routines. Strings are UTF-8; positions and counts are 1-based byte positions, as the
// class library's were, and every routine clamps out-of-range positions instead of failing.

// Up to 'count' bytes from position 'index'; an index below 1 counts as 1, a negative count or
// an index past the end gives "".
[[nodiscard]] std::string Copy(std::string_view text, int index, int count);
// Position of the first occurrence of 'part' in 'text', 0 when absent or when 'part' is empty.
[[nodiscard]] int Pos(std::string_view part, std::string_view text);
// As Pos, searching from 'offset'; 0 when the offset is outside 1..length.
[[nodiscard]] int PosEx(std::string_view part, std::string_view text, int offset = 1);
[[nodiscard]] inline int AnsiPos(std::string_view part, std::string_view text) { return Pos(part, text); }
// Removes up to 'count' bytes from position 'index'; nothing when index is outside 1..length.
void Delete(std::string& text, int index, int count);
// Inserts 'part' before position 'index', clamped to 1..length+1.
void Insert(std::string_view part, std::string& text, int index);

// Remove control characters and spaces (every byte up to ' ') from the ends.
[[nodiscard]] std::string Trim(std::string_view text);
[[nodiscard]] std::string TrimLeft(std::string_view text);
[[nodiscard]] std::string TrimRight(std::string_view text);

// ASCII letters only.
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);
// Letters of the Latin, Greek and Cyrillic alphabets.
[[nodiscard]] std::string AnsiUpperCase(std::string_view text);
[[nodiscard]] std::string AnsiLowerCase(std::string_view text);

// Ordinal comparisons returning <0, 0 or >0; CompareText ignores the case of ASCII letters.
[[nodiscard]] int CompareStr(std::string_view a, std::string_view b);
[[nodiscard]] int CompareText(std::string_view a, std::string_view b);
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);
// Comparisons in dictionary order, as the user's locale sorts: letters compare by their base
// letter first ("e" < "é" < "f"), then by accent, then (AnsiCompareStr only) lower case before
// upper. They return -1, 0 or 1.
[[nodiscard]] int AnsiCompareStr(std::string_view a, std::string_view b);
[[nodiscard]] int AnsiCompareText(std::string_view a, std::string_view b);
[[nodiscard]] bool AnsiSameStr(std::string_view a, std::string_view b);
[[nodiscard]] bool AnsiSameText(std::string_view a, std::string_view b);
// AnsiCompareText of at most the first 'maxLength' characters of each.
[[nodiscard]] int AnsiStrLIComp(std::string_view a, std::string_view b, std::size_t maxLength);

enum TReplaceFlag : unsigned { rfReplaceAll = 1, rfIgnoreCase = 2 };
using TReplaceFlags = unsigned;
[[nodiscard]] std::string StringReplace(std::string_view text, std::string_view oldPattern,
                                        std::string_view newPattern, TReplaceFlags flags);
[[nodiscard]] std::string StringOfChar(char c, int count);

// 'text' in single quotes, inner quotes doubled; AnsiQuotedStr with any quote character.
[[nodiscard]] std::string QuotedStr(std::string_view text);
[[nodiscard]] std::string AnsiQuotedStr(std::string_view text, char quote);
// The inverse of AnsiQuotedStr; text that does not start with the quote comes back unchanged.
[[nodiscard]] std::string AnsiDequotedStr(std::string_view text, char quote);

// Every line break (CR, LF, CR LF or LF CR) becomes CR LF.
[[nodiscard]] std::string AdjustLineBreaks(std::string_view text);

// The text of a zero-terminated string; "" for a null pointer.
[[nodiscard]] std::string StrPas(const char* text);
// Copies at most 'maxLength' bytes of 'source' into 'dest' and terminates it, so 'dest' must
// hold maxLength + 1 bytes. Returns dest.
char* StrPLCopy(char* dest, std::string_view source, std::size_t maxLength);

// What the byte at 1-based 'index' is in a multi-byte (UTF-8) string.
enum TMbcsByteType { mbSingleByte, mbLeadByte, mbTrailByte };
[[nodiscard]] TMbcsByteType ByteType(std::string_view text, int index);
