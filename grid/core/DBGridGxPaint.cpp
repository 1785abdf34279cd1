#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxFilterRow.h"
#include "grid/core/DBGridGxTextDrawing.h"

#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxStyle.h"
#include "grid/core/DBGridInplaceEdit.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/winapi/gdi/DrawHelpers.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

// The buttons a column shows in every row, right of its text: the built-in one at the right edge,
// the visible EditButtons leftwards from it, each as high as the cell. Answers where the text ends.
int PaintCellButtons(HDC dc, const TRect& area, const TColumnGx& column)
{
    int right = area.right;
    const auto paint = [&](const TEditButtonGx* button, TEditButtonStyleGx style) {
        const int left = std::max<int>(area.left, right - CellButtonWidth(button));
        PaintCellButtonFace(dc, TRect{left, area.top, right, area.bottom}, button, style, false);
        right = left;
    };
    if (const TBuiltInButtonKindGx kind = column.BuiltInButtonKind(); kind != bbkNone)
        paint(nullptr, BuiltInButtonStyle(static_cast<TEditStyleGx>(kind)));
    const TEditButtonsGx& buttons = *column.EditButtons();
    for (int i = 0; i < buttons.Count() && right > area.left; ++i) {
        if (buttons.Items(i)->Visible())
            paint(buttons.Items(i), buttons.Items(i)->Style());
    }
    return right;
}

// Puts the link's active record on a painted row and back, also when a handler raises.
class TActiveRecordSwap {
public:
    TActiveRecordSwap(TGridDataLinkGx& link, int record) : m_link(link), m_saved(link.ActiveRecord())
    {
        m_link.SetActiveRecord(record);
    }
    ~TActiveRecordSwap() { m_link.SetActiveRecord(m_saved); }
    TActiveRecordSwap(const TActiveRecordSwap&) = delete;
    TActiveRecordSwap& operator=(const TActiveRecordSwap&) = delete;

private:
    TGridDataLinkGx& m_link;
    int m_saved;
};

} // namespace

void TCustomDBGridGx::DrawCell(int col, int row, const TRect& rect, TGridDrawState state)
{
    if (rect.left >= rect.right)
        return;
    TCanvas* canvas = Canvas();
    if (GridLoading()) {
        canvas->Brush()->SetColor(Color());
        canvas->FillRect(rect);
        return;
    }
    if (row >= RowCount()) {
        PaintFooterCell(col - m_indicatorOffset, row - RowCount(), rect, state);
        return;
    }
    if (col < m_indicatorOffset) {
        PaintIndicatorCell(row, rect);
        return;
    }
    const int dataCol = col - m_indicatorOffset;
    TColumnGx* column = dataCol < m_columns->Count() ? m_columns->ColumnAt(dataCol) : nullptr;
    if (row < m_titleOffset) {
        if (row >= TitleRowCount())
            DrawLeadingCell(dataCol, row - TitleRowCount(), rect, state);
        else if (column && IsFilterRow(row))
            m_filterRow->PaintCell(*column, rect);
        else if (column)
            PaintTitleCell(*column, rect);
        return;
    }
    const int dataRow = row - m_titleOffset;
    if (column && m_dataLink->Active() && dataRow < m_dataLink->RecordCount())
        PaintDataCell(dataCol, dataRow, rect, state);
    else
        FillEmptyCell(column, rect);
}

void TCustomDBGridGx::DrawLeadingCell(int, int, const TRect& rect, TGridDrawState)
{
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(rect);
}

void TCustomDBGridGx::DrawRaisedEdge(const TRect& rect)
{
    if (!m_optionsGx.Contains(dghFixed3D))
        return;
    RECT edge = rect;
    (void)DrawEdge(Canvas()->Handle(), &edge, BDR_RAISEDINNER, BF_RECT);
}

// The current record's row shows its mark: an arrow while browsing, a bar while it is edited and
// a star while it is inserted. Marked rows are shaded like selected titles, and the arrow of a
// marked current row takes the shaded text colour.
void TCustomDBGridGx::PaintIndicatorCell(int row, TRect rect)
{
    TCanvas* canvas = Canvas();
    const int dataRow = row - m_titleOffset;
    const bool hasRecord = row >= m_titleOffset && m_dataLink->Active() && dataRow < m_dataLink->RecordCount();
    bool marked = false;
    if (hasRecord && (m_selection->SelectionType() == gstAll || m_options.Contains(dgMultiSelect))) {
        TActiveRecordSwap swap(*m_dataLink, dataRow);
        marked = m_selection->SelectionType() == gstAll || m_selectedRows->IsCurrentSelected();
    }
    TColor background = FixedColor();
    canvas->Font()->SetColor(clBlack);
    if (marked) {
        if (m_style)
            m_style->HighlightTitleCellColor(GridHasFocus(), *canvas->Font(), background, true, thDarkGx);
        else {
            background = TColor(RGB(64, 64, 64));
            canvas->Font()->SetColor(clWhite);
        }
    }
    canvas->Brush()->SetColor(background);
    canvas->FillRect(rect);
    DrawRaisedEdge(rect);
    if (!hasRecord || dataRow != m_dataLink->ActiveRecord())
        return;
    const TDataSetState state = m_dataLink->DataSet()->State();
    DrawIndicatorMark(rect, state == dsInsert ? imInsertingGx : state == dsEdit ? imEditingGx : imCurrentGx,
                      canvas->Font()->Color());
}

// The marks are drawn here rather than taken from pictures: a small triangle pointing at the
// row, a bar while the record is being edited, a star while it is being inserted.
void TCustomDBGridGx::DrawIndicatorMark(const TRect& rect, TIndicatorMarkGx mark, TColor color)
{
    constexpr int HalfHeight = 3;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(color);
    const int left = rect.right - 2 - (HalfHeight + 1);
    const int middle = (rect.top + rect.bottom) / 2;
    switch (mark) {
    case imEditingGx:
        canvas->FillRect(TRect{left, middle - HalfHeight, left + 2, middle + HalfHeight + 1});
        return;
    case imInsertingGx: {
        const int centre = left + 1;
        canvas->FillRect(TRect{centre - HalfHeight, middle, centre + HalfHeight + 1, middle + 1});
        canvas->FillRect(TRect{centre, middle - HalfHeight, centre + 1, middle + HalfHeight + 1});
        for (int d = -2; d <= 2; ++d) {
            canvas->FillRect(TRect{centre + d, middle + d, centre + d + 1, middle + d + 1});
            canvas->FillRect(TRect{centre + d, middle - d, centre + d + 1, middle - d + 1});
        }
        return;
    }
    case imCurrentGx:
        for (int dy = -HalfHeight; dy <= HalfHeight; ++dy)
            canvas->FillRect(TRect{left, middle + dy, left + 1 + HalfHeight - std::abs(dy), middle + dy + 1});
        return;
    }
}

TColor TCustomDBGridGx::RowColor(TColumnGx& column) const
{
    const TColor color = column.Color();
    if (color != Color() || !m_dataLink->DataSet()->IsSequenced())
        return color;
    return m_dataLink->DataSet()->RecNo() % 2 != 0 ? m_oddRowColor : m_evenRowColor;
}

void TCustomDBGridGx::PaintDataCell(int dataCol, int dataRow, TRect rect, TGridDrawState state)
{
    TColumnGx* column = m_columns->ColumnAt(dataCol);
    const bool currentRow = dataRow == m_dataLink->ActiveRecord();
    const bool sameAsAbove = column->HideDuplicates() && DuplicateOfRecord(*column, dataRow, dataRow - 1);
    const bool sameAsBelow = column->HideDuplicates() && DuplicateOfRecord(*column, dataRow, dataRow + 1);
    TActiveRecordSwap swap(*m_dataLink, dataRow);
    TCanvas* canvas = Canvas();
    canvas->Font()->Assign(column->Font());
    if (CellSelectedNow(dataCol))
        state.Include(gdSelected);
    TColor background = RowColor(*column);
    if (m_onGetCellParams)
        m_onGetCellParams(this, column, canvas->Font(), background, state);
    if (DataCellColors(state.Contains(gdSelected), currentRow, *canvas->Font(), background))
        state.Include(gdSelected);
    canvas->Brush()->SetColor(background);
    if (DefaultDrawing() && sameAsAbove)
        canvas->FillRect(rect);
    else if (DefaultDrawing())
        DrawColumnCellDefault(rect, dataCol, column, state);
    PaintRequiredMark(*column, currentRow, rect);
    if (m_onDrawDataCell && m_columns->State() == csDefaultGx)
        m_onDrawDataCell(this, rect, column->Field(), state);
    DrawColumnCell(rect, dataCol, column, state);
    if (currentRow && !m_incSearchText.empty() && column == KeyedColumn())
        PaintIncSearchMark(rect);
    if (DefaultDrawing() && state.Contains(gdFocused) && !m_options.Contains(dgRowSelect) && Focused())
        canvas->DrawFocusRect(rect);
    if (sameAsAbove)
        CoverRowLine(*column, rect, true);
    if (sameAsBelow)
        CoverRowLine(*column, rect, false);
}

// Whether the record shown in otherRow shows the same text in the column as the one in dataRow.
bool TCustomDBGridGx::DuplicateOfRecord(TColumnGx& column, int dataRow, int otherRow)
{
    if (otherRow < 0 || otherRow >= m_dataLink->RecordCount())
        return false;
    std::string other;
    {
        TActiveRecordSwap swap(*m_dataLink, otherRow);
        other = column.DisplayText();
    }
    TActiveRecordSwap swap(*m_dataLink, dataRow);
    return column.DisplayText() == other;
}

// Equal neighbours read as one cell: the row line between them takes the column's colour.
void TCustomDBGridGx::CoverRowLine(TColumnGx& column, const TRect& rect, bool above)
{
    if (!m_options.Contains(dgRowLines))
        return;
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(column.Color());
    const int y = above ? rect.top - GridLineWidth() : rect.bottom;
    canvas->FillRect(TRect{rect.left, y, rect.right, y + GridLineWidth()});
}

// A required field left empty in the record being edited or inserted is underlined in red dots.
void TCustomDBGridGx::PaintRequiredMark(TColumnGx& column, bool currentRow, const TRect& rect)
{
    TField* field = column.Field();
    if (!column.HighlightRequired() || !currentRow || !field)
        return;
    const TDataSetState state = m_dataLink->DataSet()->State();
    bool draw = (state == dsEdit || state == dsInsert) && field->Required() && field->IsNull();
    if (column.OnCheckDrawRequiredState())
        column.OnCheckDrawRequiredState()(&column, column.DisplayText(), draw);
    if (!draw)
        return;
    TCanvas* canvas = Canvas();
    canvas->Pen()->SetColor(clRed);
    canvas->Pen()->SetWidth(1);
    canvas->Pen()->SetStyle(psDot);
    canvas->MoveTo(rect.left + 2, rect.bottom - 1);
    canvas->LineTo(rect.right - 3, rect.bottom - 1);
    canvas->Pen()->SetStyle(psSolid);
}

void TCustomDBGridGx::FillEmptyCell(TColumnGx* column, const TRect& rect)
{
    Canvas()->Brush()->SetColor(column ? column->Color() : Color());
    Canvas()->FillRect(rect);
}

bool TCustomDBGridGx::DataCellColors(bool selected, bool currentRow, TFont& font, TColor& background)
{
    const bool focused = GridHasFocus();
    THighlightCellGx cell;
    cell.GridFocused = focused;
    cell.AlwaysShowSelection = m_options.Contains(dgAlwaysShowSelection);
    cell.FocusHighlightApplies = focused && m_optionsGx.Contains(dghHighlightFocus);
    cell.Current = currentRow && (selected || m_options.Contains(dgRowSelect));
    const bool marked = selected || (currentRow && m_options.Contains(dgRowSelect));
    cell.Highlighted = marked && (cell.AlwaysShowSelection || cell.FocusHighlightApplies);
    if (m_style)
        return m_style->HighlightDataCellColor(cell, font, background);
    if (!cell.Highlighted)
        return false;
    if (focused) {
        background = clHighlight;
        font.SetColor(clHighlightText);
    } else if (cell.Current) {
        background = clBtnShadow;
        font.SetColor(clHighlightText);
    } else {
        background = clBtnFace;
    }
    return true;
}

bool TCustomDBGridGx::GridHasFocus() const { return Focused(); }

void TCustomDBGridGx::DrawColumnCellDefault(const TRect& rect, int /*dataCol*/, TColumnGx* column,
                                            TGridDrawState /*state*/)
{
    TRect area = rect;
    int margin = 2;
    if (m_optionsGx.Contains(dghFooter3D)) {
        InflateRect(&area, -1, -1);
        margin = 1;
    }
    if (column->CellImageKind() == cikCheckboxes) {
        Canvas()->FillRect(area);
        DrawCheckBox(area, column->CheckboxState());
        return;
    }
    if (column->CellImageKind() == cikImages) {
        Canvas()->FillRect(area);
        DrawCellImage(area, *column);
        return;
    }
    if (column->AlwaysShowEditButton())
        area.right = PaintCellButtons(Canvas()->Handle(), area, *column);
    const int verticalMargin = Flat() ? margin - 1 : margin;
    DrawCellText(*Canvas(), area, true, margin, verticalMargin, column->DisplayText(), column->Alignment(),
                 column->Layout(), column->WordWrap() && m_wordWrapFits, column->EndEllipsis(), 0, 0, false);
}

void TCustomDBGridGx::DrawColumnCell(const TRect& rect, int dataCol, TColumnGx* column, TGridDrawState state)
{
    if (m_onDrawColumnCell)
        m_onDrawColumnCell(this, rect, dataCol, column, state);
}

// The image of the cell's value, centred and clipped to the cell; a value without an image leaves
// the cell empty.
void TCustomDBGridGx::DrawCellImage(const TRect& rect, TColumnGx& column)
{
    TCustomImageList* images = column.ImageList();
    const int index = column.ImageIndexOfValue();
    if (!images || index < 0 || index >= images->Count())
        return;
    TCanvas* canvas = Canvas();
    const int saved = SaveDC(canvas->Handle());
    (void)IntersectClipRect(canvas->Handle(), rect.left, rect.top, rect.right, rect.bottom);
    images->Draw(canvas, rect.left + (rect.right - rect.left - images->Width()) / 2,
                 rect.top + (rect.bottom - rect.top - images->Height()) / 2, index);
    (void)RestoreDC(canvas->Handle(), saved);
}

// A box centred in the cell; a cell narrower or lower than the box gets it from its left or top
// edge, clipped to the cell.
void TCustomDBGridGx::DrawCheckBox(const TRect& rect, TCheckBoxStateGx state)
{
    TCanvas* canvas = Canvas();
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    const int left = width < CheckBoxSize ? rect.left : rect.left + (width - CheckBoxSize) / 2;
    const int top = height < CheckBoxSize ? rect.top : rect.top + (height - CheckBoxSize) / 2;
    TRect box{left, top, left + CheckBoxSize, top + CheckBoxSize};
    (void)IntersectRect(&box, &box, &rect);
    canvas->Brush()->SetColor(state == cbGrayedGx ? clBtnFace : clWindow);
    canvas->FillRect(box);
    canvas->Brush()->SetColor(clBtnShadow);
    canvas->FrameRect(box);
    if (state == cbUncheckedGx)
        return;
    canvas->Pen()->SetColor(state == cbGrayedGx ? clGrayText : clWindowText);
    for (int dy = 0; dy < 3; ++dy) {
        const std::array<TPoint, 3> tick{TPoint{left + 3, top + 5 + dy}, TPoint{left + 5, top + 7 + dy},
                                         TPoint{left + 10, top + 2 + dy}};
        canvas->Polyline(tick);
    }
}
