#include "grid/tools/DBGridGxImpExp.h"

#include "grid/core/DBGridGxMultiTitle.h"
#include "platform/classlib/core/Colors.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Utf8.h"
#include "platform/winapi/gdi/WinGdi.h"

#include <algorithm>
#include <cmath>

namespace grid_tools::detail {

// The code point of the UTF-8 sequence at `i`, moving `i` past it; a malformed sequence is one
// replacement character per byte.
char32_t NextCodePoint(const std::string& text, std::size_t& i)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const auto length = static_cast<int>(Utf8SequenceLength(lead));
    if (length == 0 || i + static_cast<std::size_t>(length) > text.size()) {
        ++i;
        return U'?';
    }
    char32_t code = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]);
        if (!IsUtf8Continuation(static_cast<char>(next))) {
            ++i;
            return U'?';
        }
        code = (code << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(length);
    return code;
}

// Cell text as RTF: the group and escape characters escaped, line breaks and tabs as their
// control words (a raw one would vanish), everything beyond ASCII as Unicode escapes.
std::string RtfText(const std::string& text)
{
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const char32_t c = NextCodePoint(text, i);
        if (c == U'\\' || c == U'{' || c == U'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == U'\r') {
            if (i < text.size() && text[i] == '\n')
                ++i;
            out += "\\line ";
        } else if (c == U'\n') {
            out += "\\line ";
        } else if (c == U'\t') {
            out += "\\tab ";
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c <= 0xFFFF) {
            out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(c))) + "?";
        } else {
            const char32_t v = c - 0x10000;
            for (const char32_t unit : {0xD800 + (v >> 10), 0xDC00 + (v & 0x3FF)})
                out += "\\u" + std::to_string(static_cast<std::int16_t>(static_cast<std::uint16_t>(unit))) + "?";
        }
    }
    return out;
}

std::string AlignmentWord(TAlignment alignment)
{
    switch (alignment) {
    case taRightJustify:
        return "\\qr";
    case taCenter:
        return "\\qc";
    default:
        return "\\ql";
    }
}

} // namespace grid_tools::detail

namespace detail = grid_tools::detail;

struct TDBGridGxExportAsRTF::TCellFrame {
    bool LeftBorder = true;
    bool TopBorder = true;
    bool BottomBorder = true;
    bool RightBorder = true;
    int ColorIndex = 0;
    int RightEdge = 0;
};

TDBGridGxExportAsRTF::TDBGridGxExportAsRTF() = default;
TDBGridGxExportAsRTF::~TDBGridGxExportAsRTF() = default;

std::unique_ptr<TDBGridGxExport> TDBGridGxExportAsRTF::Create()
{
    return std::make_unique<TDBGridGxExportAsRTF>();
}

void TDBGridGxExportAsRTF::ExportStream(TStream& stream, bool all)
{
    TMemoryStreamGx cache;
    cache.SetHalfMemoryDelta(0x10000);
    m_colors.clear();
    m_fonts.clear();
    for (const TColor seed : {clBlack, clWhite, clBtnFace})
        m_colors.push_back(ColorToRGB(seed));
    TDBGridGxExport::ExportStream(cache, all);
    // A walk that wrote nothing leaves nothing to head: no table, no document.
    if (cache.Size() > 0) {
        SetStream(&stream);
        WriteHeader();
        stream.WriteBuffer(cache.Memory(), static_cast<std::size_t>(cache.Size()));
    }
    SetStream(nullptr);
}

void TDBGridGxExportAsRTF::WriteHeader()
{
    PutLine("{\\rtf0\\ansi");
    Put("{\\colortbl");
    for (const COLORREF color : m_colors)
        Put("\\red" + std::to_string(GetRValue(color)) + "\\green" + std::to_string(GetGValue(color)) + "\\blue" +
            std::to_string(GetBValue(color)) + ";");
    PutLine("}");
    Put("{\\fonttbl");
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        Put("\\f" + std::to_string(i) + "\\fnil " + m_fonts[i] + ";");
    PutLine("}");
}

int TDBGridGxExportAsRTF::ColorIndex(TColor color)
{
    const COLORREF rgb = ColorToRGB(color);
    const auto found = std::find(m_colors.begin(), m_colors.end(), rgb);
    if (found != m_colors.end())
        return static_cast<int>(found - m_colors.begin());
    m_colors.push_back(rgb);
    return static_cast<int>(m_colors.size()) - 1;
}

int TDBGridGxExportAsRTF::FontIndex(const std::string& name)
{
    for (std::size_t i = 0; i < m_fonts.size(); ++i)
        if (SameText(m_fonts[i], name))
            return static_cast<int>(i);
    m_fonts.push_back(name);
    return static_cast<int>(m_fonts.size()) - 1;
}

int TDBGridGxExportAsRTF::TwipsOf(int pixels) const
{
    const int perInch = std::max(GridRef().PixelsPerInch(), 1);
    return static_cast<int>(std::lround(pixels * 1440.0 / perInch));
}

void TDBGridGxExportAsRTF::PutTextRun(const TFont& font, const std::string& text, TColor background)
{
    std::string run = "\\fs" + std::to_string(font.Size() * 2);
    const TFontStyles style = font.Style();
    if (style.Contains(fsBold))
        run += "\\b";
    if (style.Contains(fsItalic))
        run += "\\i";
    if (style.Contains(fsStrikeOut))
        run += "\\strike";
    if (style.Contains(fsUnderline))
        run += "\\ul";
    run += "\\f" + std::to_string(FontIndex(font.Name()));
    run += "\\cf" + std::to_string(ColorIndex(font.Color()));
    run += "\\cb" + std::to_string(ColorIndex(background));
    run += ' ';
    Put(run);
    Put(detail::RtfText(text));
}

void TDBGridGxExportAsRTF::PutCell(TAlignment alignment, const TFont& font, const std::string& text, TColor background)
{
    const std::string spacing = std::to_string(Spacing());
    Put("\\pard\\intbl{" + detail::AlignmentWord(alignment) + "\\sb" + spacing + "\\sa" + spacing);
    PutTextRun(font, text, background);
    PutLine("\\cell}");
}

void TDBGridGxExportAsRTF::PutRowDefinition(const std::vector<TCellFrame>& cells)
{
    Put("\\trowd");
    PutLine("\\trgaph40");
    for (const TCellFrame& cell : cells) {
        const std::pair<bool, const char*> borders[] = {{cell.LeftBorder, "\\clbrdrl"},
                                                        {cell.TopBorder, "\\clbrdrt"},
                                                        {cell.BottomBorder, "\\clbrdrb"},
                                                        {cell.RightBorder, "\\clbrdrr"}};
        for (const auto& [present, word] : borders)
            if (present) {
                Put(word);
                Put("\\brdrs");
                PutLine("\\brdrcf0");
            }
        Put("\\clshdng10000\\clcfpat" + std::to_string(cell.ColorIndex));
        PutLine("\\cellx" + std::to_string(cell.RightEdge));
    }
    PutLine("{\\trrh0");
}

void TDBGridGxExportAsRTF::PutTitleRow(const TColumnsListGx& columns)
{
    if (GridRef().UseMultiTitle() && GridRef().TitleLeaves().size() == GridRef().GridColumns().size())
        PutMultiTitleRows(columns);
    else
        PutSingleTitleRow(columns);
}

void TDBGridGxExportAsRTF::PutSingleTitleRow(const TColumnsListGx& columns)
{
    std::vector<TCellFrame> frames;
    int right = 0;
    for (TColumnGx* column : columns) {
        right += TwipsOf(column->Width());
        frames.push_back({true, true, true, true, ColorIndex(column->Title()->Color()), right});
    }
    PutRowDefinition(frames);
    for (TColumnGx* column : columns) {
        TColumnTitleGx& title = *column->Title();
        PutCell(title.Alignment(), *title.Font(), title.Caption(), title.Color());
    }
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::PutMultiTitleRows(const TColumnsListGx& columns)
{
    IImpExpGridGx& grid = GridRef();
    const std::vector<THeadTreeNode*> leaves = grid.TitleLeaves();
    // Level 0 holds each column's leaf; each level above moves the columns whose titles are the
    // least tall so far up to their groups, until every column has reached its top group.
    std::vector<std::vector<THeadTreeNode*>> levels(1);
    std::vector<int> heights;
    for (TColumnGx* column : columns) {
        THeadTreeNode* leaf = leaves[static_cast<std::size_t>(column->Index())];
        levels[0].push_back(leaf);
        heights.push_back(leaf ? leaf->Height() : 0);
    }
    const auto canMove = [](const THeadTreeNode* node) {
        return node && node->Parent() && node->Parent()->Parent();
    };
    for (;;) {
        const std::vector<THeadTreeNode*>& top = levels.back();
        int lowest = -1;
        for (std::size_t c = 0; c < top.size(); ++c)
            if (canMove(top[c]) && (lowest < 0 || heights[c] < lowest))
                lowest = heights[c];
        if (lowest < 0)
            break;
        std::vector<THeadTreeNode*> next = top;
        for (std::size_t c = 0; c < top.size(); ++c)
            if (canMove(top[c]) && heights[c] == lowest) {
                next[c] = top[c]->Parent();
                heights[c] += next[c]->Height();
            }
        levels.push_back(std::move(next));
    }

    const std::string margin =
        std::to_string(std::lround(grid.VTitleMargin() / 2.0 / std::max(grid.PixelsPerInch(), 1) * 1440 - 20));
    for (std::size_t level = levels.size(); level-- > 0;) {
        const std::vector<THeadTreeNode*>& row = levels[level];
        const std::size_t count = row.size();
        std::vector<TCellFrame> frames;
        int right = 0;
        for (std::size_t c = 0; c < count; ++c) {
            TCellFrame frame;
            frame.LeftBorder = c == 0 || row[c - 1] != row[c];
            frame.RightBorder = c + 1 == count || row[c + 1] != row[c];
            frame.TopBorder = level + 1 == levels.size() || levels[level + 1][c] != row[c];
            frame.BottomBorder = level == 0 || levels[level - 1][c] != row[c];
            right += TwipsOf(columns[c]->Width());
            frame.RightEdge = right;
            frame.ColorIndex = ColorIndex(level > 0 ? grid.FixedColor() : columns[c]->Title()->Color());
            frames.push_back(frame);
        }
        PutRowDefinition(frames);
        for (std::size_t c = 0; c < count; ++c) {
            const TFont& font = level > 0 ? grid.TitleFont() : *columns[c]->Title()->Font();
            const TColor color = level > 0 ? grid.FixedColor() : columns[c]->Title()->Color();
            // Only the top-left place of a span shows its caption; the places it covers are empty.
            if (frames[c].LeftBorder && frames[c].TopBorder) {
                Put("\\pard\\intbl{\\qc\\sb" + margin + "\\sa" + margin);
                PutTextRun(font, row[c] ? row[c]->Text() : std::string{}, color);
            } else {
                Put("\\pard\\intbl{\\qc");
                PutTextRun(font, {}, color);
            }
            PutLine("\\cell}");
        }
        PutLine("\\pard\\intbl\\row}");
    }
}

void TDBGridGxExportAsRTF::PutDataRow(const TColumnsListGx& columns)
{
    std::vector<TCellFrame> frames;
    int right = 0;
    for (TColumnGx* column : columns) {
        TFont font;
        font.Assign(column->Font());
        TColor background = column->Color();
        GridRef().GetCellParams(*column, font, background);
        right += TwipsOf(column->Width());
        frames.push_back({true, true, true, true, ColorIndex(background), right});
    }
    PutRowDefinition(frames);
    TDBGridGxExport::PutDataRow(columns);
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::PutDataCell(TColumnGx&, const IImpExpGridGx::TCellParams& params)
{
    PutCell(params.Alignment, *params.Font, params.Text, params.Background);
}

void TDBGridGxExportAsRTF::PutFooterRow(const TColumnsListGx& columns, int footerRow)
{
    std::vector<TCellFrame> frames;
    int right = 0;
    for (TColumnGx* column : columns) {
        const IImpExpGridGx::TFooter footer = GridRef().Footer(*column, footerRow);
        TFont font;
        if (footer.Font)
            font.Assign(footer.Font);
        TColor background = footer.Color;
        TAlignment alignment = footer.Alignment;
        std::string text;
        GridRef().GetFooterParams(*column, footerRow, font, background, alignment, text);
        right += TwipsOf(column->Width());
        frames.push_back({true, true, true, true, ColorIndex(background), right});
    }
    PutRowDefinition(frames);
    TDBGridGxExport::PutFooterRow(columns, footerRow);
    PutLine("\\pard\\intbl\\row}");
}

void TDBGridGxExportAsRTF::PutFooterCell(int, int, const std::string& text, TAlignment alignment, TColor background,
                                         TFont& font, TColumnGx&)
{
    PutCell(alignment, font, text, background);
}
