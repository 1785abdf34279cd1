// The best width of a column: wide enough for its title, the text of every record and its footers.
#include "grid/core/DBGridGx.h"

#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridInplaceEdit.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/GraphicsObjects.h"
#include "platform/classlib/forms/ImgList.h"

#include <algorithm>

namespace {

constexpr int TextMargin = 4;
constexpr int FooterMargin = 5;

} // namespace

void TCustomDBGridGx::FitColumnsToContent(const std::vector<TColumnGx*>& columns)
{
    BeginLayout();
    try {
        for (TColumnGx* column : columns)
            column->SetWidth(std::max({TitleWidth(*column), RecordsWidth(*column), FootersWidth(*column)}));
    } catch (...) {
        EndLayout();
        throw;
    }
    EndLayout();
}

int TCustomDBGridGx::TitleWidth(TColumnGx& column)
{
    TColumnTitleGx& title = *column.Title();
    const int marker = std::max(0, title.SortMarkerWidth());
    if (m_titleImages && title.ImageIndex() >= 0)
        return m_titleImages->Width() + TextMargin + marker;
    Canvas()->Font()->Assign(title.Font());
    return Canvas()->TextWidth(title.Caption()) + TextMargin + marker;
}

// Every record's text in the column's font, beside the buttons shown in every row; a tick or an
// image is as wide as it is drawn.
int TCustomDBGridGx::RecordsWidth(TColumnGx& column)
{
    if (column.CellImageKind() == cikCheckboxes)
        return CheckBoxSize + TextMargin;
    if (column.CellImageKind() == cikImages)
        return column.ImageList() ? column.ImageList()->Width() + TextMargin : 0;
    if (!m_dataLink->Active() || !column.Field())
        return 0;
    TDataSet* dataSet = m_dataLink->DataSet();
    Canvas()->Font()->Assign(column.Font());
    const TBookmarkStr position = dataSet->IsEmpty() ? TBookmarkStr() : dataSet->Bookmark();
    const int buttons = column.AlwaysShowEditButton() ? CellButtonsWidth(column) : 0;
    int widest = 0;
    dataSet->DisableControls();
    try {
        for (dataSet->First(); !dataSet->Eof(); dataSet->Next())
            widest = std::max(widest, Canvas()->TextWidth(column.DisplayText()) + TextMargin + buttons);
        if (!position.empty())
            dataSet->SetBookmark(position);
    } catch (...) {
        dataSet->EnableControls();
        throw;
    }
    dataSet->EnableControls();
    return widest;
}

int TCustomDBGridGx::FootersWidth(TColumnGx& column)
{
    Canvas()->Font()->Assign(m_footerFont.get());
    int widest = 0;
    for (int row = 0; row < m_footerRowCount; ++row)
        widest = std::max(widest, Canvas()->TextWidth(GetFooterValue(row, column)) + FooterMargin);
    return widest;
}
