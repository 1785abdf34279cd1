#include "controls/KvLEDFont.h"

#include "platform/winapi/gdi/TextUtf8.h"

#include <string_view>

namespace {

constexpr int FirstCode = 32;
constexpr int GlyphCount = 256 - FirstCode;
constexpr unsigned char BlockCode = 127;

// A glyph drawn as seven rows of five dots, top row first, '#' lit.
struct RowGlyph {
    unsigned char code;
    std::string_view rows;
};

// Letters with an accent: the base letter's glyph, and for small letters (whose top rows are
// free) the accent drawn in the top row. Capitals have no room and show their base letter.
struct DerivedGlyph {
    unsigned char code;
    unsigned char base;
    std::string_view accent;
};

constexpr std::string_view Grave = ".#...";
constexpr std::string_view Acute = "...#.";
constexpr std::string_view Circumflex = "..#..";
constexpr std::string_view Tilde = "##.##";
constexpr std::string_view Diaeresis = ".#.#.";
constexpr std::string_view Ring = "..#..";
constexpr std::string_view None;

constexpr RowGlyph DrawnGlyphs[] = {
    {' ', "..... ..... ..... ..... ..... ..... ....."}, {'!', "..#.. ..#.. ..#.. ..#.. ..#.. ..... ..#.."},
    {'"', ".#.#. .#.#. ..... ..... ..... ..... ....."}, {'#', ".#.#. .#.#. ##### .#.#. ##### .#.#. .#.#."},
    {'$', "..#.. .#### #.#.. .###. ..#.# ####. ..#.."}, {'%', "##... ##..# ...#. ..#.. .#... #..## ...##"},
    {'&', ".##.. #..#. #.#.. .#... #.#.# #..#. .##.#"}, {'\'', "..#.. ..#.. .#... ..... ..... ..... ....."},
    {'(', "...#. ..#.. .#... .#... .#... ..#.. ...#."}, {')', ".#... ..#.. ...#. ...#. ...#. ..#.. .#..."},
    {'*', "..... ..#.. #.#.# .###. #.#.# ..#.. ....."}, {'+', "..... ..#.. ..#.. ##### ..#.. ..#.. ....."},
    {',', "..... ..... ..... ..... .##.. ..#.. .#..."}, {'-', "..... ..... ..... ##### ..... ..... ....."},
    {'.', "..... ..... ..... ..... ..... .##.. .##.."}, {'/', "..... ....# ...#. ..#.. .#... #.... ....."},
    {'0', ".###. #...# #..## #.#.# ##..# #...# .###."}, {'1', "..#.. .##.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'2', ".###. #...# ....# ...#. ..#.. .#... #####"}, {'3', "##### ...#. ..#.. ...#. ....# #...# .###."},
    {'4', "...#. ..##. .#.#. #..#. ##### ...#. ...#."}, {'5', "##### #.... ####. ....# ....# #...# .###."},
    {'6', "..##. .#... #.... ####. #...# #...# .###."}, {'7', "##### ....# ...#. ..#.. .#... .#... .#..."},
    {'8', ".###. #...# #...# .###. #...# #...# .###."}, {'9', ".###. #...# #...# .#### ....# ...#. .##.."},
    {':', "..... ..... ..#.. ..... ..... ..#.. ....."}, {';', "..... .##.. .##.. ..... .##.. ..#.. .#..."},
    {'<', "...#. ..#.. .#... #.... .#... ..#.. ...#."}, {'=', "..... ..... ##### ..... ##### ..... ....."},
    {'>', ".#... ..#.. ...#. ....# ...#. ..#.. .#..."}, {'?', ".###. #...# ....# ...#. ..#.. ..... ..#.."},
    {'@', ".###. #...# ....# .##.# #.#.# #.#.# .###."}, {'A', ".###. #...# #...# ##### #...# #...# #...#"},
    {'B', "####. #...# #...# ####. #...# #...# ####."}, {'C', ".###. #...# #.... #.... #.... #...# .###."},
    {'D', "###.. #..#. #...# #...# #...# #..#. ###.."}, {'E', "##### #.... #.... ####. #.... #.... #####"},
    {'F', "##### #.... #.... ####. #.... #.... #...."}, {'G', ".###. #...# #.... #.### #...# #...# .####"},
    {'H', "#...# #...# #...# ##### #...# #...# #...#"}, {'I', ".###. ..#.. ..#.. ..#.. ..#.. ..#.. .###."},
    {'J', "..### ...#. ...#. ...#. ...#. #..#. .##.."}, {'K', "#...# #..#. #.#.. ##... #.#.. #..#. #...#"},
    {'L', "#.... #.... #.... #.... #.... #.... #####"}, {'M', "#...# ##.## #.#.# #.#.# #...# #...# #...#"},
    {'N', "#...# #...# ##..# #.#.# #..## #...# #...#"}, {'O', ".###. #...# #...# #...# #...# #...# .###."},
    {'P', "####. #...# #...# ####. #.... #.... #...."}, {'Q', ".###. #...# #...# #...# #.#.# #..#. .##.#"},
    {'R', "####. #...# #...# ####. #.#.. #..#. #...#"}, {'S', ".#### #.... #.... .###. ....# ....# ####."},
    {'T', "##### ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."}, {'U', "#...# #...# #...# #...# #...# #...# .###."},
    {'V', "#...# #...# #...# #...# #...# .#.#. ..#.."}, {'W', "#...# #...# #...# #.#.# #.#.# #.#.# .#.#."},
    {'X', "#...# #...# .#.#. ..#.. .#.#. #...# #...#"}, {'Y', "#...# #...# .#.#. ..#.. ..#.. ..#.. ..#.."},
    {'Z', "##### ....# ...#. ..#.. .#... #.... #####"}, {'[', ".###. .#... .#... .#... .#... .#... .###."},
    {'\\', "..... #.... .#... ..#.. ...#. ....# ....."}, {']', ".###. ...#. ...#. ...#. ...#. ...#. .###."},
    {'^', "..#.. .#.#. #...# ..... ..... ..... ....."}, {'_', "..... ..... ..... ..... ..... ..... #####"},
    {'`', ".#... ..#.. ...#. ..... ..... ..... ....."}, {'a', "..... ..... .###. ....# .#### #...# .####"},
    {'b', "#.... #.... #.##. ##..# #...# #...# ####."}, {'c', "..... ..... .###. #.... #.... #...# .###."},
    {'d', "....# ....# .##.# #..## #...# #...# .####"}, {'e', "..... ..... .###. #...# ##### #.... .###."},
    {'f', "..##. .#..# .#... ###.. .#... .#... .#..."}, {'g', "..... .#### #...# #...# .#### ....# .###."},
    {'h', "#.... #.... #.##. ##..# #...# #...# #...#"}, {'i', "..#.. ..... .##.. ..#.. ..#.. ..#.. .###."},
    {'j', "...#. ..... ..##. ...#. ...#. #..#. .##.."}, {'k', "#.... #.... #..#. #.#.. ##... #.#.. #..#."},
    {'l', ".##.. ..#.. ..#.. ..#.. ..#.. ..#.. .###."}, {'m', "..... ..... ##.#. #.#.# #.#.# #...# #...#"},
    {'n', "..... ..... #.##. ##..# #...# #...# #...#"}, {'o', "..... ..... .###. #...# #...# #...# .###."},
    {'p', "..... ..... ####. #...# ####. #.... #...."}, {'q', "..... ..... .##.# #..## .#### ....# ....#"},
    {'r', "..... ..... #.##. ##..# #.... #.... #...."}, {'s', "..... ..... .###. #.... .###. ....# ####."},
    {'t', ".#... .#... ###.. .#... .#... .#..# ..##."}, {'u', "..... ..... #...# #...# #...# #..## .##.#"},
    {'v', "..... ..... #...# #...# #...# .#.#. ..#.."}, {'w', "..... ..... #...# #...# #.#.# #.#.# .#.#."},
    {'x', "..... ..... #...# .#.#. ..#.. .#.#. #...#"}, {'y', "..... ..... #...# #...# .#### ....# .###."},
    {'z', "..... ..... ##### ...#. ..#.. .#... #####"}, {'{', "...#. ..#.. ..#.. .#... ..#.. ..#.. ...#."},
    {'|', "..#.. ..#.. ..#.. ..#.. ..#.. ..#.. ..#.."}, {'}', ".#... ..#.. ..#.. ...#. ..#.. ..#.. .#..."},
    {'~', "..... ..... .#... #.#.# ...#. ..... ....."}, {BlockCode, "..... .###. .###. .###. .###. .###. ....."},
    // Signs of the upper half that no letter resembles.
    {149, "..... ..... .###. .###. .###. ..... ....."}, {161, "..#.. ..... ..#.. ..#.. ..#.. ..#.. ..#.."},
    {163, "..##. .#..# .#... ###.. .#... .#..# ####."}, {167, ".###. #.... .##.. .#.#. ..##. ....# .###."},
    {176, ".##.. #..#. .##.. ..... ..... ..... ....."}, {177, "..#.. ..#.. ##### ..#.. ..#.. ..... #####"},
    {183, "..... ..... ..... ..#.. ..... ..... ....."}, {191, "..#.. ..... ..#.. .#... #.... #...# .###."},
    {215, "..... #...# .#.#. ..#.. .#.#. #...# ....."}, {247, "..... ..#.. ..... ##### ..... ..#.. ....."},
    // The dotless i, the base of the accented small i.
    {0, "..... ..... .##.. ..#.. ..#.. ..#.. .###."},
};

// Codes 128, 133, 134, 145, 146 and 153 (and the code page's unused positions) stay blank.
constexpr DerivedGlyph DerivedGlyphs[] = {
    {130, ',', None}, {131, 'f', None}, {132, '"', None}, {135, '+', None}, {136, '^', None},
    {137, '%', None}, {138, 'S', None}, {139, '<', None}, {140, 'O', None}, {142, 'Z', None},
    {147, '"', None}, {148, '"', None}, {150, '-', None}, {151, '-', None}, {152, '~', None},
    {154, 's', None}, {155, '>', None}, {156, 'o', None}, {158, 'z', None}, {159, 'Y', None},
    {160, ' ', None}, {162, 'c', None}, {164, 'o', None}, {165, 'Y', None}, {166, '|', None},
    {168, '"', None}, {169, 'C', None}, {170, 'a', None}, {171, '<', None}, {172, '-', None},
    {173, '-', None}, {174, 'R', None}, {175, '-', None}, {178, '2', None}, {179, '3', None},
    {180, '\'', None}, {181, 'u', None}, {182, 'P', None}, {184, ',', None}, {185, '1', None},
    {186, 'o', None}, {187, '>', None}, {188, '/', None}, {189, '/', None}, {190, '/', None},
    {192, 'A', None}, {193, 'A', None}, {194, 'A', None}, {195, 'A', None}, {196, 'A', None},
    {197, 'A', None}, {198, 'A', None}, {199, 'C', None}, {200, 'E', None}, {201, 'E', None},
    {202, 'E', None}, {203, 'E', None}, {204, 'I', None}, {205, 'I', None}, {206, 'I', None},
    {207, 'I', None}, {208, 'D', None}, {209, 'N', None}, {210, 'O', None}, {211, 'O', None},
    {212, 'O', None}, {213, 'O', None}, {214, 'O', None}, {216, '0', None}, {217, 'U', None},
    {218, 'U', None}, {219, 'U', None}, {220, 'U', None}, {221, 'Y', None}, {222, 'P', None},
    {223, 'B', None}, {224, 'a', Grave}, {225, 'a', Acute}, {226, 'a', Circumflex}, {227, 'a', Tilde},
    {228, 'a', Diaeresis}, {229, 'a', Ring}, {230, 'a', None}, {231, 'c', None}, {232, 'e', Grave},
    {233, 'e', Acute}, {234, 'e', Circumflex}, {235, 'e', Diaeresis}, {236, 0, Grave}, {237, 0, Acute},
    {238, 0, Circumflex}, {239, 0, Diaeresis}, {240, 'o', None}, {241, 'n', Tilde}, {242, 'o', Grave},
    {243, 'o', Acute}, {244, 'o', Circumflex}, {245, 'o', Tilde}, {246, 'o', Diaeresis}, {248, 'o', None},
    {249, 'u', Grave}, {250, 'u', Acute}, {251, 'u', Circumflex}, {252, 'u', Diaeresis}, {253, 'y', Acute},
    {254, 'p', None}, {255, 'y', Diaeresis},
};

// Row r of a row-drawn glyph lights bit 7 - r of each column byte.
constexpr TLEDGlyph Columns(std::string_view rows)
{
    TLEDGlyph columns{};
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
            if (rows[static_cast<std::size_t>(row * 6 + column)] == '#')
                columns[static_cast<std::size_t>(column)] |= static_cast<std::uint8_t>(1u << (7 - row));
    return columns;
}

constexpr TLEDGlyph WithAccent(TLEDGlyph glyph, std::string_view accent)
{
    for (std::size_t column = 0; column < accent.size(); ++column)
        if (accent[column] == '#')
            glyph[column] |= 0x80;
    return glyph;
}

constexpr TLEDGlyph DrawnGlyph(unsigned char code)
{
    for (const RowGlyph& glyph : DrawnGlyphs)
        if (glyph.code == code)
            return Columns(glyph.rows);
    return {};
}

struct Font {
    std::array<TLEDGlyph, GlyphCount> glyphs{};
};

constexpr Font MakeFont()
{
    Font font;
    for (const RowGlyph& glyph : DrawnGlyphs)
        if (glyph.code >= FirstCode)
            font.glyphs[glyph.code - FirstCode] = Columns(glyph.rows);
    for (const DerivedGlyph& glyph : DerivedGlyphs)
        font.glyphs[glyph.code - FirstCode] = WithAccent(DrawnGlyph(glyph.base), glyph.accent);
    return font;
}

constexpr Font TheFont = MakeFont();

// The code page's characters from 128 to 159 that are not Latin-1's, by code.
constexpr char32_t UpperControlRange[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

[[nodiscard]] char CodeOf(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<char>(character);
    for (int index = 0; index < 32; ++index)
        if (UpperControlRange[index] == character)
            return static_cast<char>(0x80 + index);
    return '?';
}

} // namespace

std::string LEDCodes(std::string_view text)
{
    std::string codes;
    codes.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        codes.push_back(CodeOf(NextCharacter(text, pos)));
    return codes;
}

const TLEDGlyph& LEDGlyph(unsigned char code)
{
    const unsigned char shown = code < FirstCode ? BlockCode : code;
    return TheFont.glyphs[shown - FirstCode];
}
