// The title row's height (fixed, as the titles need, or from the multi-line title tree), the
// settings that shape it, row sizing by the user, and the events of entering, leaving and moving
// columns.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxMultiTitle.h"
#include "grid/core/DBGridGxTextDrawing.h"
#include "platform/winapi/gdi/Text.h"

#include <algorithm>

namespace {

// The room a title keeps around its text: two pixels above and below.
constexpr int TitleTextMargin = 4;

} // namespace

void TCustomDBGridGx::SetTitleHeight(int value)
{
    m_titleHeight = std::max(0, value);
    LayoutChanged();
}

void TCustomDBGridGx::SetTitleLines(int value)
{
    m_titleLines = std::max(0, value);
    LayoutChanged();
}

void TCustomDBGridGx::SetVTitleMargin(int value)
{
    m_vTitleMargin = std::max(0, value);
    LayoutChanged();
}

void TCustomDBGridGx::SetRowSizingAllowed(bool value)
{
    if (value == m_rowSizingAllowed)
        return;
    m_rowSizingAllowed = value;
    // The base grid's row sizing follows the option mapping: map the options afresh.
    const TDBGridOptions options = m_options;
    m_options = {};
    SetOptions(options);
}

void TCustomDBGridGx::SetUseMultiTitle(bool value)
{
    if (value == m_useMultiTitle)
        return;
    m_useMultiTitle = value;
    LayoutChanged();
}

// A row the user sized sets the height of every data row.
void TCustomDBGridGx::RowHeightsChanged()
{
    TCustomGridGx::RowHeightsChanged();
    if (!m_rowSizingAllowed || m_inLayout)
        return;
    for (int row = m_titleOffset; row < RowCount(); ++row) {
        if (RowHeightAt(row) == DefaultRowHeight())
            continue;
        m_rowLines = 0;
        SetRowHeight(RowHeightAt(row));
        return;
    }
}

// ---- Title height -----------------------------------------------------------------------------------------------------

// Measured in the title fonts, which needs the window (the layout only calls it then).
int TCustomDBGridGx::TitleRowHeight()
{
    TCanvas* canvas = Canvas();
    m_titleLeaves.clear();
    if (m_useMultiTitle) {
        MeasureTitleTree();
        return std::max(1, m_titleRoot->Height() - (m_optionsGx.Contains(dghFixed3D) ? 1 : 3));
    }
    TFont* tallest = m_titleFont.get();
    int needed = 0;
    for (int i = 0; i < m_columns->Count(); ++i) {
        TColumnGx& column = *m_columns->ColumnAt(i);
        if (const int height = TitleNeededHeight(column); height > needed) {
            needed = height;
            tallest = column.Title()->Font();
        }
    }
    canvas->Font()->Assign(m_titleFont.get());
    if (!FixedTitleHeight())
        return needed > 0 ? needed : canvas->TextHeight("Wg") + TitleTextMargin;
    canvas->Font()->Assign(tallest);
    TEXTMETRICA metrics{};
    (void)GetTextMetricsA(canvas->Handle(), &metrics);
    const int line = m_options.Contains(dgRowLines) ? 1 : 0;
    return m_titleLines * metrics.tmHeight + metrics.tmExternalLeading + m_titleHeight + 2 + line;
}

// A title changed: the title row follows when the titles now need another height (or the
// multi-line title tree another shape).
void TCustomDBGridGx::RelayoutTitles()
{
    if (m_useMultiTitle) {
        LayoutChanged();
        return;
    }
    if (!HandleAllocated() || !m_options.Contains(dgTitles))
        return;
    // A column may change while a cell is painted (from a cell event): measuring keeps the
    // canvas font the cell is drawn in.
    TFont painting;
    painting.Assign(Canvas()->Font());
    const int needed = TitleRowHeight();
    Canvas()->Font()->Assign(&painting);
    if (needed != m_titleRowHeight)
        LayoutChanged();
}

// A horizontal title is one line of its font; a vertical one as long as its caption turned, with
// VTitleMargin to spare.
int TCustomDBGridGx::TitleNeededHeight(const TColumnGx& column)
{
    if (!column.Visible())
        return 0;
    TColumnTitleGx* title = column.Title();
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(title->Font());
    if (title->Orientation() != tohVertical)
        return canvas->TextHeight("Wg") + TitleTextMargin;
    return DrawCellTextVertical(*canvas, TRect{}, false, 0, 0, title->Caption(), title->Alignment(), tlBottom, true) +
           m_vTitleMargin;
}

// ---- The multi-line title tree ------------------------------------------------------------------------------------------

// Each level is as high as its tallest node with everything below it; a node's own band takes
// what its subtree leaves of that.
void TCustomDBGridGx::MeasureTitleTree()
{
    if (!m_titleRoot)
        m_titleRoot = THeadTreeNode::CreateRoot();
    m_titleLeaves = m_titleRoot->BuildFromColumns(*m_columns, DefaultRowHeight(), m_options.Contains(dgColLines));
    for (std::size_t i = 0; i < m_titleLeaves.size(); ++i) {
        const TColumnTitleGx* title = m_columns->ColumnAt(static_cast<int>(i))->Title();
        m_titleLeaves[i]->SetSortMarkerIndent(title->SortMarker() != smNoneGx ? THeadTreeNode::SortMarkerIndentWidth : 0);
    }
    m_titleRoot->SetHeight(MeasureTitleLevel(*m_titleRoot));
}

int TCustomDBGridGx::MeasureTitleLevel(THeadTreeNode& parent)
{
    THeadTreeNode* first = parent.FirstChild();
    if (!first)
        return 0;
    std::vector<std::pair<THeadTreeNode*, int>> below;
    int total = 0;
    THeadTreeNode* node = first;
    do {
        const int subtree = MeasureTitleLevel(*node);
        below.emplace_back(node, subtree);
        total = std::max(total, MeasureTitleNode(*node) + subtree);
        node = node->NextSibling();
    } while (node != first);
    for (const auto& [child, subtree] : below)
        child->SetHeight(total - subtree);
    return total;
}

// A caption wrapped in the node's width (an empty one as high as a blank).
int TCustomDBGridGx::MeasureTitleNode(const THeadTreeNode& node)
{
    TCanvas* canvas = Canvas();
    const TColumnGx* column = node.Column();
    canvas->Font()->Assign(column ? column->Title()->Font() : m_titleFont.get());
    if (column && column->Title()->Orientation() == tohVertical)
        return DrawCellTextVertical(*canvas, TRect{}, false, 0, 0, node.Text(), taLeftJustify, tlBottom, true) +
               m_vTitleMargin;
    const std::string text = node.Text().empty() ? std::string(" ") : node.Text();
    RECT rect{0, 0, std::max(1, node.Width() - node.SortMarkerIndent() - TitleTextMargin), 0};
    (void)DrawTextA(canvas->Handle(), text.c_str(), static_cast<int>(text.size()), &rect,
                    DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return rect.bottom - rect.top + TitleTextMargin;
}

// ---- Column events ----------------------------------------------------------------------------------------------------

void TCustomDBGridGx::CurrentColLeaving()
{
    if (m_onColExit)
        m_onColExit(this);
}

void TCustomDBGridGx::CurrentColEntered()
{
    if (m_onColEnter)
        m_onColEnter(this);
}

void TCustomDBGridGx::ColumnIndexChanged(int from, int to)
{
    if (m_onColumnMoved && !GridLoading())
        m_onColumnMoved(this, from, to);
}
