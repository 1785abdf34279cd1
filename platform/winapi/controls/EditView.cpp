#include "platform/winapi/controls/EditControl.h"

#include "platform/rtl/Utf8.h"
#include "platform/winapi/controls/Edit.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>

namespace {

// Our fonts put a glyph's spacing on its right and start its ink on the pen column, the column the
// caret of that character covers. The pen starts this far into the character's cell, so the blank
// column comes first as in the classic bitmap fonts and the caret stands clear of the stem.
constexpr int GLYPH_INSET = 1;

HFONT DefaultFont() { return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)); }

int LineHeightOf(HDC dc, HFONT font)
{
    const SelectionGuard scope(dc, font);
    TEXTMETRICA tm{};
    return GetTextMetricsA(dc, &tm) ? static_cast<int>(tm.tmHeight) : 0;
}

} // namespace

void EditControl::Create(const CREATESTRUCTA& cs)
{
    // Multi-line edits keep ES_PASSWORD out, as Win32 does.
    if (cs.style & ES_MULTILINE)
        (void)SetWindowLongA(Window(), GWL_STYLE, cs.style & ~static_cast<LONG>(ES_PASSWORD));
    SetFont(nullptr, false);
    m_model.SetText(WithCase(cs.lpszName && !IS_INTRESOURCE(cs.lpszName) ? cs.lpszName : ""), 0);
    ResetFormatRect();
    Relayout();
}

void EditControl::SetFont(HFONT font, bool redraw)
{
    m_font = font;
    m_asciiWidths.clear();
    {
        const SelectionGuard scope(m_measureDC, CurrentFont());
        TEXTMETRICA tm{};
        if (GetTextMetricsA(m_measureDC, &tm)) {
            m_lineHeight = std::max<int>(1, tm.tmHeight);
            m_avgCharWidth = std::max<int>(1, tm.tmAveCharWidth);
        }
    }
    ResetFormatRect();
    Relayout();
    if (m_focused) {
        (void)CreateCaret(Window(), nullptr, 1, m_lineHeight);
        (void)ShowCaret(Window());
    }
    UpdateCaret();
    if (redraw)
        Invalidate();
}

HFONT EditControl::CurrentFont() const { return m_font ? m_font : DefaultFont(); }

void EditControl::ResetFormatRect()
{
    RECT client{};
    (void)GetClientRect(Window(), &client);
    m_format = RECT{client.left + m_leftMargin, client.top, std::max(client.left + m_leftMargin, client.right - m_rightMargin),
                    client.bottom};
    if (IsMultiLine())
        return;
    // A sunken single-line field keeps one pixel above its text, so the line sits where a combo
    // box of the same height draws its field and both share a baseline.
    const bool sunken = (GetWindowLongA(Window(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE) != 0;
    if (sunken && client.bottom - client.top >= m_lineHeight + 2)
        ++m_format.top;
    m_format.bottom = std::max(m_format.bottom, m_format.top + m_lineHeight);
}

void EditControl::SetFormatRect(const RECT* rect, bool redraw)
{
    if (rect)
        m_format = *rect;
    else
        ResetFormatRect();
    Relayout();
    (void)ScrollToCaret();
    UpdateCaret();
    if (redraw)
        Invalidate();
}

bool EditControl::IsWrapping() const
{
    const DWORD style = Style();
    return (style & ES_MULTILINE) && !(style & (ES_AUTOHSCROLL | WS_HSCROLL));
}

int EditControl::CharWidth(std::size_t from, std::size_t to) const
{
    const std::string& text = m_model.Text();
    if (IsPassword()) {
        const SelectionGuard scope(m_measureDC, CurrentFont());
        SIZE size{};
        (void)GetTextExtentPoint32A(m_measureDC, &m_passwordChar, 1, &size);
        return size.cx;
    }
    if (text[from] == '\t')
        return m_avgCharWidth * 8;
    const int style = m_styles ? m_model.StyleAt(from) : 0;
    const auto c = static_cast<unsigned char>(text[from]);
    int* cached = nullptr;
    if (to == from + 1 && c < 128) {
        auto [it, fresh] = m_asciiWidths.try_emplace(style);
        if (fresh)
            it->second.fill(-1);
        cached = &it->second[c];
        if (*cached >= 0)
            return *cached;
    }
    const SelectionGuard scope(m_measureDC, m_styles ? m_styles->Font(style) : CurrentFont());
    SIZE size{};
    (void)GetTextExtentPoint32A(m_measureDC, text.data() + from, static_cast<int>(to - from), &size);
    if (cached)
        *cached = size.cx;
    return size.cx;
}

std::vector<int> EditControl::Measure(std::size_t from, std::size_t to) const
{
    std::vector<int> x(to - from + 1, 0);
    int acc = 0;
    for (std::size_t pos = from; pos < to;) {
        const std::size_t end = std::min(Utf8NextStart(m_model.Text(), pos), to);
        acc += CharWidth(pos, end);
        for (std::size_t k = pos + 1; k <= end; ++k)
            x[k - from] = acc;
        pos = end;
    }
    return x;
}

void EditControl::Relayout()
{
    if (m_styles) {
        int height = LineHeightOf(m_measureDC, m_styles->Font(0));
        for (const EditModel::Run& run : m_model.Runs())
            height = std::max(height, LineHeightOf(m_measureDC, m_styles->Font(run.style)));
        m_lineHeight = std::max(height, 1);
    }
    const int wrap = IsWrapping() ? std::max<int>(1, m_format.right - m_format.left) : 0;
    m_lines = LayoutEditLines(m_model.Text(), IsMultiLine(), wrap,
                              [this](std::size_t from, std::size_t to) { return Measure(from, to); });
    m_firstLine = std::clamp(m_firstLine, 0, static_cast<int>(m_lines.size()) - 1);
    UpdateScrollBars();
}

int EditControl::VisibleLines() const { return std::max<int>(1, (m_format.bottom - m_format.top) / m_lineHeight); }

std::size_t EditControl::LineOf(std::size_t pos) const
{
    const auto it = std::upper_bound(m_lines.begin(), m_lines.end(), pos,
                                     [](std::size_t p, const EditLine& line) { return p < line.start; });
    return it == m_lines.begin() ? 0 : static_cast<std::size_t>(it - m_lines.begin()) - 1;
}

int EditControl::AlignOffset(const EditLine& line) const
{
    const DWORD align = Style() & (ES_CENTER | ES_RIGHT);
    if (align == ES_LEFT)
        return 0;
    // One pixel is kept for the caret after the last character, so that a caret at the end of
    // right-aligned text is in view and never scrolls the text away.
    const int room = (m_format.right - m_format.left) - Measure(line.start, line.end).back() - 1;
    return room <= 0 ? 0 : align == ES_CENTER ? room / 2 : room;
}

POINT EditControl::PosToClient(std::size_t pos) const
{
    const std::size_t index = LineOf(pos);
    const EditLine& line = m_lines[index];
    const int x = Measure(line.start, std::min(pos, line.end)).back();
    return POINT{m_format.left + AlignOffset(line) + x - m_xOffset,
                 m_format.top + (static_cast<int>(index) - m_firstLine) * m_lineHeight};
}

std::size_t EditControl::PosInLine(std::size_t index, int x) const
{
    const EditLine& line = m_lines[index];
    const std::vector<int> xs = Measure(line.start, line.end);
    const int target = x - m_format.left - AlignOffset(line) + m_xOffset;
    std::size_t best = line.start;
    for (std::size_t pos = line.start + 1; pos <= line.end; ++pos) {
        if (pos < line.end && IsUtf8Continuation(m_model.Text()[pos]))
            continue;
        if ((xs[best - line.start] + xs[pos - line.start]) / 2 >= target)
            break;
        best = pos;
    }
    return best;
}

std::size_t EditControl::PosFromClient(POINT point) const
{
    const int row = point.y < m_format.top ? -1 : (point.y - m_format.top) / m_lineHeight;
    const int index = std::clamp(m_firstLine + row, 0, static_cast<int>(m_lines.size()) - 1);
    return PosInLine(static_cast<std::size_t>(index), point.x);
}

bool EditControl::ScrollToCaret()
{
    const int oldFirst = m_firstLine, oldX = m_xOffset;
    const std::size_t index = LineOf(m_model.Caret());
    if (IsMultiLine()) {
        const int line = static_cast<int>(index);
        if (line < m_firstLine)
            m_firstLine = line;
        else if (line >= m_firstLine + VisibleLines())
            m_firstLine = line - VisibleLines() + 1;
    }
    if (!IsWrapping()) {
        const EditLine& line = m_lines[index];
        const int caretX = AlignOffset(line) + Measure(line.start, std::min(m_model.Caret(), line.end)).back();
        const int width = std::max<int>(1, m_format.right - m_format.left);
        if (caretX < m_xOffset)
            m_xOffset = std::max(0, caretX - width / 4);
        else if (caretX >= m_xOffset + width)
            m_xOffset = caretX - width + width / 4;
    }
    if (oldFirst == m_firstLine && oldX == m_xOffset)
        return false;
    UpdateScrollBars();
    return true;
}

void EditControl::ScrollLines(int delta)
{
    const int first = std::clamp(m_firstLine + delta, 0, std::max(0, static_cast<int>(m_lines.size()) - 1));
    if (first == m_firstLine)
        return;
    m_firstLine = first;
    UpdateScrollBars();
    Invalidate();
    UpdateCaret();
}

void EditControl::ScrollColumns(int pixels)
{
    if (IsWrapping() || pixels == 0)
        return;
    m_xOffset = std::max(0, m_xOffset + pixels);
    UpdateScrollBars();
    Invalidate();
    UpdateCaret();
}

void EditControl::OnScroll(int bar, WORD code)
{
    if (!Notify(bar == SB_VERT ? EN_VSCROLL : EN_HSCROLL))
        return;
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    (void)GetScrollInfo(Window(), bar, &si);
    const int page = static_cast<int>(std::max<UINT>(1, si.nPage));
    int target = si.nPos;
    switch (code) {
    case SB_LINEUP: target -= bar == SB_VERT ? 1 : m_avgCharWidth; break;
    case SB_LINEDOWN: target += bar == SB_VERT ? 1 : m_avgCharWidth; break;
    case SB_PAGEUP: target -= page; break;
    case SB_PAGEDOWN: target += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: target = si.nTrackPos; break;
    case SB_TOP: target = si.nMin; break;
    case SB_BOTTOM: target = si.nMax; break;
    default: return;
    }
    if (bar == SB_VERT)
        ScrollLines(target - m_firstLine);
    else
        ScrollColumns(std::max(0, target) - m_xOffset);
}

void EditControl::UpdateScrollBars()
{
    const DWORD style = Style();
    if (!(style & ES_MULTILINE))
        return;
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, static_cast<int>(m_lines.size()) - 1,
                      static_cast<UINT>(VisibleLines()), m_firstLine, 0};
        (void)SetScrollInfo(Window(), SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        int widest = 0;
        for (const EditLine& line : m_lines)
            widest = std::max(widest, Measure(line.start, line.end).back());
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, widest,
                      static_cast<UINT>(std::max<int>(1, m_format.right - m_format.left)), m_xOffset, 0};
        (void)SetScrollInfo(Window(), SB_HORZ, &si, TRUE);
    }
}

void EditControl::UpdateCaret()
{
    if (!m_focused)
        return;
    const POINT p = PosToClient(m_model.Caret());
    (void)SetCaretPos(p.x, p.y);
}

void EditControl::Invalidate() { (void)InvalidateRect(Window(), nullptr, FALSE); }

std::optional<HBRUSH> EditControl::PrepareColors(HDC dc, GdiObject<HBRUSH>& owned)
{
    const bool enabled = IsWindowEnabled(Window()) != FALSE;
    HBRUSH brush = nullptr;
    if (m_styles) {
        owned.Reset(CreateSolidBrush(m_background));
        brush = owned.Get();
        (void)SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    } else {
        // Read-only and disabled edits ask for the colours of static text, as Win32 does.
        const bool asStatic = !enabled || IsReadOnly();
        const int back = asStatic ? COLOR_3DFACE : COLOR_WINDOW;
        (void)SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        (void)SetBkColor(dc, GetSysColor(back));
        const Reply reply = SendToParent(asStatic ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                         reinterpret_cast<LPARAM>(Window()));
        if (!reply.stands)
            return std::nullopt;
        brush = reinterpret_cast<HBRUSH>(reply.answer);
        if (!brush)
            brush = GetSysColorBrush(back);
    }
    if (!enabled)
        (void)SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
    return brush;
}

void EditControl::PaintLine(HDC dc, std::size_t index, int y, bool showSelection)
{
    const EditLine& line = m_lines[index];
    const std::string& text = m_model.Text();
    const std::vector<int> xs = Measure(line.start, line.end);
    const int left = m_format.left + AlignOffset(line) - m_xOffset;
    const COLORREF normalColor = GetTextColor(dc);
    const std::size_t selStart = showSelection ? m_model.SelStart() : 0;
    const std::size_t selEnd = showSelection ? m_model.SelEnd() : 0;
    std::size_t pos = line.start;
    while (pos < line.end) {
        // A piece of one selection state and one style.
        std::size_t end = line.end;
        for (std::size_t cut : {selStart, selEnd})
            if (cut > pos && cut < end)
                end = cut;
        if (m_styles) {
            std::size_t runStart = 0;
            for (const EditModel::Run& run : m_model.Runs()) {
                const std::size_t runEnd = runStart + run.length;
                if (runEnd > pos && runEnd < end)
                    end = runEnd;
                runStart = runEnd;
            }
            (void)SelectObject(dc, m_styles->Font(m_model.StyleAt(pos)));
        }
        const bool selected = pos >= selStart && pos < selEnd;
        const int x0 = left + xs[pos - line.start];
        const int x1 = left + xs[end - line.start];
        COLORREF color = normalColor;
        if (m_styles && IsWindowEnabled(Window()))
            if (const COLORREF own = m_styles->TextColor(m_model.StyleAt(pos)); own != CLR_INVALID)
                color = own;
        if (selected) {
            const RECT band{x0, y, x1, y + m_lineHeight};
            (void)FillRect(dc, &band, GetSysColorBrush(COLOR_HIGHLIGHT));
            color = GetSysColor(COLOR_HIGHLIGHTTEXT);
        }
        (void)SetTextColor(dc, color);
        if (IsPassword()) {
            int x = x0 + GLYPH_INSET;
            for (std::size_t p = pos; p < end; p = Utf8NextStart(text, p), x += xs[1] - xs[0])
                (void)TextOutA(dc, x, y, &m_passwordChar, 1);
        } else {
            std::string piece = text.substr(pos, end - pos);
            std::replace(piece.begin(), piece.end(), '\t', ' ');
            (void)TextOutA(dc, x0 + GLYPH_INSET, y, piece.data(), static_cast<int>(piece.size()));
        }
        pos = end;
    }
    (void)SetTextColor(dc, normalColor);
}

void EditControl::Paint(HDC dc)
{
    if (!dc)
        return;
    GdiObject<HBRUSH> owned;
    const SavedDC saved(dc);
    const std::optional<HBRUSH> brush = PrepareColors(dc, owned);
    if (!brush)
        return;
    RECT client{};
    (void)GetClientRect(Window(), &client);
    (void)FillRect(dc, &client, *brush);
    (void)SelectObject(dc, CurrentFont());
    (void)SetBkMode(dc, TRANSPARENT);
    (void)IntersectClipRect(dc, m_format.left, m_format.top, m_format.right, m_format.bottom);
    const bool showSelection = m_focused || (Style() & ES_NOHIDESEL);
    const int last = std::min<int>(static_cast<int>(m_lines.size()), m_firstLine + VisibleLines() + 1);
    for (int index = m_firstLine; index < last; ++index)
        PaintLine(dc, static_cast<std::size_t>(index), m_format.top + (index - m_firstLine) * m_lineHeight, showSelection);
}
