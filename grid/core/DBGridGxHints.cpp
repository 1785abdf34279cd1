// Cell tool tips: a title, data or footer cell whose text does not fit shows it whole in a tip.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxColumnTitle.h"
#include "platform/classlib/forms/Hints.h"

namespace {

// What a tip would show for a cell.
struct TCellTip {
    std::string Text;
    TAlignment Alignment = taLeftJustify;
    bool Measure = true;
};

} // namespace

// After the control's own hint: a title with a hint of its own shows it; a title, data or footer
// cell that asks for tool tips shows its text when it is cut off (or when right-aligned text
// lies cut by the client edge); such a cell whose text fits shows nothing.
void TCustomDBGridGx::CellHint(THintInfo& info)
{
    const TGridCoord cell = CellAtPoint(info.CursorPos.x, info.CursorPos.y);
    TColumnGx* column = ColumnAtGridCol(cell.X);
    // The rows a descendant keeps between the titles and the records give no hint of their own.
    if (!column || cell.Y < 0 || (cell.Y >= TitleRowCount() && cell.Y < m_titleOffset))
        return;
    const TRect rect = CellRect(cell.X, cell.Y);
    const bool title = cell.Y < m_titleOffset;
    if (title && !column->Title()->Hint().empty()) {
        info.HintStr = GetShortHint(column->Title()->Hint());
        info.CursorRect = rect;
        return;
    }
    TCellTip tip;
    TFont* font = nullptr;
    if (title && column->Title()->ToolTips()) {
        tip = {column->Title()->Caption(), column->Title()->Alignment()};
        font = column->Title()->Font();
    } else if (cell.Y >= RowCount()) {
        const TColumnFooterGx* footer = column->UsedFooter(cell.Y - RowCount());
        if (!footer || !footer->ToolTips())
            return;
        tip = {GetFooterValue(cell.Y - RowCount(), *column), footer->Alignment()};
        font = m_footerFont.get();
    } else if (!title && column->ToolTips() && m_dataLink->Active() && cell.Y - m_titleOffset < m_dataLink->RecordCount()) {
        const int saved = m_dataLink->ActiveRecord();
        m_dataLink->SetActiveRecord(cell.Y - m_titleOffset);
        const bool plain = !IsSteppedCell(*column);
        tip = {plain ? column->DisplayText() : std::string{}, plain ? column->Alignment() : taLeftJustify, plain};
        m_dataLink->SetActiveRecord(saved);
        font = column->Font();
    } else {
        return;
    }
    info.HintStr.clear();
    if (!tip.Measure || tip.Text.empty())
        return;
    Canvas()->Font()->Assign(font);
    const int textWidth = Canvas()->TextWidth(tip.Text);
    const int fullRight = rect.left + ColumnWidthAt(cell.X);
    const bool cut = textWidth > rect.right - rect.left - 4;
    const bool rightCut = tip.Alignment == taRightJustify && rect.right < fullRight - 2;
    if (!cut && !rightCut)
        return;
    info.HintStr = tip.Text;
    info.CursorRect = rect;
    const int lift = Flat() ? 2 : 1;
    int x = rect.left - 1;
    if (tip.Alignment == taRightJustify)
        x = fullRight - textWidth - 6;
    else if (tip.Alignment == taCenter)
        x = fullRight + textWidth / 2 - textWidth - (fullRight - rect.left - 4) / 2 - 5;
    info.HintPos = ClientToScreen(TPoint{x, rect.top - lift});
}
