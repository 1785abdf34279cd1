#pragma once

#include <cstddef>
#include <string_view>

// UTF-8 text at the level of characters: where they start, how long they are, how many there
// are. Byte offsets are 0-based. A byte that begins no sequence counts as a character of its own,
// so stray 8-bit text is stepped through one byte at a time instead of being lost.

// A byte that continues a sequence (10xxxxxx) and so never begins a character.
[[nodiscard]] constexpr bool IsUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The bytes of the sequence `lead` begins (1 to 4); 0 for a byte that begins none.
[[nodiscard]] std::size_t Utf8SequenceLength(unsigned char lead);

// Every byte that is not a continuation byte begins a character.
[[nodiscard]] std::size_t Utf8CharacterCount(std::string_view text);

// Where the character after the first `count` characters begins (the size when there are fewer).
[[nodiscard]] std::size_t Utf8CharacterOffset(std::string_view text, std::size_t count);

// Where the character that ends before `pos` (or holds the byte before it) begins; 0 at the start.
[[nodiscard]] std::size_t Utf8PreviousStart(std::string_view text, std::size_t pos);

// Where the character after the one at `pos` begins; the size at the end.
[[nodiscard]] std::size_t Utf8NextStart(std::string_view text, std::size_t pos);

// The character start at or before `pos`: a position inside a character moves back to its
// start. Positions past the end become the size.
[[nodiscard]] std::size_t Utf8CharacterStart(std::string_view text, std::size_t pos);
