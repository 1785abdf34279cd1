#include "grid/tools/DBGridGxImpExpGrid.h"

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
