#include "grid/tools/DBGridGxImpExpGrid.h"

#include "grid/core/DBGridGxFooter.h"
#include "grid/core/DBGridGxSelection.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/WinGdi.h"

TDataSet* TDBGridGxImpExpAdapter::DataSet() const
{
    TDataSource* source = m_grid.DataSource();
    return source ? source->DataSet() : nullptr;
}

std::vector<TColumnGx*> TDBGridGxImpExpAdapter::GridColumns() const
{
    std::vector<TColumnGx*> columns;
    TDBGridColumnsGx& all = m_grid.Columns();
    for (int i = 0; i < all.Count(); ++i)
        columns.push_back(all.ColumnAt(i));
    return columns;
}

IImpExpGridGx::TPosition TDBGridGxImpExpAdapter::SavePosition() const
{
    TDataSet* dataSet = DataSet();
    return {dataSet && dataSet->Active() ? dataSet->Bookmark() : TBookmark{}};
}

void TDBGridGxImpExpAdapter::RestorePosition(const TPosition& position)
{
    TDataSet* dataSet = DataSet();
    if (dataSet && dataSet->Active() && !position.Record.empty() && dataSet->BookmarkValid(position.Record))
        dataSet->GotoBookmark(position.Record);
}

TColumnGx* TDBGridGxImpExpAdapter::CurrentColumn() const
{
    const int index = m_grid.SelectedIndex();
    TDBGridColumnsGx& columns = m_grid.Columns();
    return index >= 0 && index < columns.Count() ? columns.ColumnAt(index) : nullptr;
}

void TDBGridGxImpExpAdapter::SetCurrentColumn(TColumnGx* column)
{
    if (column && column->Index() + m_grid.IndicatorOffset() < m_grid.ColCount())
        m_grid.SetCol(column->Index() + m_grid.IndicatorOffset());
}

void TDBGridGxImpExpAdapter::GetCellParams(TColumnGx& column, TFont& font, TColor& background)
{
    if (m_grid.OnGetCellParams())
        m_grid.OnGetCellParams()(&m_grid, &column, &font, background, TGridDrawState{});
}

int TDBGridGxImpExpAdapter::PixelsPerInch() const
{
    HDC screen = GetDC(nullptr);
    const int pixels = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen)
        (void)ReleaseDC(nullptr, screen);
    return pixels > 0 ? pixels : 96;
}

IImpExpGridGx::TSelection TDBGridGxImpExpAdapter::SelectionKind() const
{
    switch (m_grid.DataSelection().SelectionType()) {
    case gstRecordBookmarks: return TSelection::RecordBookmarks;
    case gstRectangle: return TSelection::Rectangle;
    case gstColumns: return TSelection::Columns;
    case gstAll: return TSelection::All;
    case gstNon: break;
    }
    return TSelection::None;
}

std::vector<TBookmark> TDBGridGxImpExpAdapter::SelectedBookmarks() const
{
    const TBookmarkListGx& rows = m_grid.SelectedRows();
    std::vector<TBookmark> bookmarks;
    for (int i = 0; i < rows.BookmarkCount(); ++i)
        bookmarks.push_back(rows.Bookmark(i));
    return bookmarks;
}

IImpExpGridGx::TRectangle TDBGridGxImpExpAdapter::SelectedRectangle() const
{
    const TDBGridGxSelectionRect& rect = m_grid.DataSelection().Rect();
    if (!rect.DataSetActive())
        return {};
    return {rect.LeftCol(), rect.RightCol(), rect.TopRow(), rect.BottomRow()};
}

std::vector<TColumnGx*> TDBGridGxImpExpAdapter::SelectedColumns() const
{
    const TDBGridGxSelectionCols& selected = m_grid.DataSelection().Columns();
    std::vector<TColumnGx*> columns;
    for (int i = 0; i < selected.Count(); ++i)
        columns.push_back(selected.Items(i));
    return columns;
}

IImpExpGridGx::TFooter TDBGridGxImpExpAdapter::Footer(TColumnGx& column, int footerRow) const
{
    const TColumnFooterGx* footer = column.UsedFooter(footerRow);
    if (!footer)
        return {};
    TFooter exported;
    // Sums and counts are totalled over the exported records; every other kind shows the grid's text.
    if (footer->ValueType() == fvtSum)
        exported.Kind = TFooterKind::Sum;
    else if (footer->ValueType() == fvtCount)
        exported.Kind = TFooterKind::Count;
    exported.FieldName = footer->FieldName();
    exported.Font = footer->Font();
    exported.Color = footer->Color();
    exported.Alignment = footer->Alignment();
    return exported;
}

void TDBGridGxImpExpAdapter::GetFooterParams(TColumnGx& column, int footerRow, TFont& font, TColor& background,
                                             TAlignment& alignment, std::string& text)
{
    if (m_grid.OnGetFooterParams())
        m_grid.OnGetFooterParams()(&m_grid, column.Index(), footerRow, &column, &font, background, alignment,
                                   TGridDrawState{}, text);
}
