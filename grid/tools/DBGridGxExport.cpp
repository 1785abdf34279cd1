#include "grid/tools/DBGridGxImpExp.h"
#include "grid/tools/DBGridGxImpExpColumns.h"

#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/LocaleSettings.h"

#include <algorithm>

namespace grid_tools::detail {

// Restores the grid's position and re-enables the data set's controls when a walk ends, however
// it ends.
class TWalkGuard {
public:
    TWalkGuard(IImpExpGridGx& grid, TDataSet& dataSet) : m_grid(grid), m_dataSet(dataSet)
    {
        m_dataSet.DisableControls();
        m_position = m_grid.SavePosition();
    }
    TWalkGuard(const TWalkGuard&) = delete;
    TWalkGuard& operator=(const TWalkGuard&) = delete;
    ~TWalkGuard()
    {
        try {
            m_grid.RestorePosition(m_position);
        } catch (...) {
        }
        m_dataSet.EnableControls();
    }

private:
    IImpExpGridGx& m_grid;
    TDataSet& m_dataSet;
    IImpExpGridGx::TPosition m_position;
};

TColumnsListGx VisibleColumns(const IImpExpGridGx& grid)
{
    TColumnsListGx columns;
    for (TColumnGx* column : grid.GridColumns())
        if (column->Visible())
            columns.push_back(column);
    return columns;
}

TColumnsListGx VisibleColumnsBetween(const IImpExpGridGx& grid, int left, int right)
{
    const TColumnsListGx all = grid.GridColumns();
    TColumnsListGx columns;
    for (int i = std::max(left, 0); i <= right && i < static_cast<int>(all.size()); ++i)
        if (all[static_cast<std::size_t>(i)]->Visible())
            columns.push_back(all[static_cast<std::size_t>(i)]);
    return columns;
}

} // namespace grid_tools::detail

namespace detail = grid_tools::detail;

TField* ImpExpValueField(const TColumnGx& column)
{
    TField* field = column.Field();
    if (field && field->Lookup())
        return field->DataSet() ? field->DataSet()->FindField(field->KeyFields()) : nullptr;
    return field;
}

IImpExpGridGx& TDBGridGxExport::GridRef() const
{
    if (!m_grid)
        throw Exception("The exporter has no grid");
    return *m_grid;
}

void TDBGridGxExport::PutLine(std::string_view text)
{
    Put(text);
    Put("\r\n");
}

void TDBGridGxExport::ExportStream(TStream& stream, bool all)
{
    m_stream = &stream;
    IImpExpGridGx& grid = GridRef();
    const auto kind = all ? IImpExpGridGx::TSelection::All : grid.SelectionKind();
    TDataSet* dataSet = grid.DataSet();
    if (kind == IImpExpGridGx::TSelection::None || !dataSet || !dataSet->Active())
        return;
    {
        detail::TWalkGuard guard(grid, *dataSet);
        Walk(kind, *dataSet);
    }
    EndExport();
}

void TDBGridGxExport::ExportFile(const std::string& fileName, bool all)
{
    TFileStream file(fileName, fmCreate);
    ExportStream(file, all);
}

void TDBGridGxExport::Walk(IImpExpGridGx::TSelection kind, TDataSet& dataSet)
{
    IImpExpGridGx& grid = GridRef();
    switch (kind) {
    case IImpExpGridGx::TSelection::RecordBookmarks:
        Start(detail::VisibleColumns(grid));
        for (const TBookmark& bookmark : grid.SelectedBookmarks()) {
            // A record deleted since it was selected is left out.
            if (!dataSet.BookmarkValid(bookmark))
                continue;
            dataSet.GotoBookmark(bookmark);
            AddRecordToTotals();
            PutDataRow(m_columns);
        }
        break;
    case IImpExpGridGx::TSelection::Rectangle: {
        const IImpExpGridGx::TRectangle rectangle = grid.SelectedRectangle();
        Start(detail::VisibleColumnsBetween(grid, rectangle.LeftCol, rectangle.RightCol));
        WriteRectangle(dataSet, rectangle);
        break;
    }
    case IImpExpGridGx::TSelection::Columns:
        Start(grid.SelectedColumns());
        WriteAllRecords(dataSet);
        break;
    case IImpExpGridGx::TSelection::All:
        Start(detail::VisibleColumns(grid));
        WriteAllRecords(dataSet);
        break;
    case IImpExpGridGx::TSelection::None:
        return;
    }
    WriteFooters();
}

void TDBGridGxExport::Start(TColumnsListGx columns)
{
    m_columns = std::move(columns);
    const int footerRows = std::max(GridRef().FooterRowCount(), 0);
    m_totals.assign(m_columns.size() * static_cast<std::size_t>(footerRows), Currency{});
    BeginExport();
    if (GridRef().Options().Contains(dgTitles))
        PutTitleRow(m_columns);
}

void TDBGridGxExport::WriteRecord()
{
    PutDataRow(m_columns);
    AddRecordToTotals();
}

void TDBGridGxExport::WriteAllRecords(TDataSet& dataSet)
{
    dataSet.First();
    while (!dataSet.Eof()) {
        WriteRecord();
        dataSet.Next();
    }
}

void TDBGridGxExport::WriteRectangle(TDataSet& dataSet, const IImpExpGridGx::TRectangle& rectangle)
{
    if (dataSet.IsEmpty())
        return;
    dataSet.GotoBookmark(rectangle.TopRow);
    for (;;) {
        WriteRecord();
        if (dataSet.CompareBookmarks(dataSet.Bookmark(), rectangle.BottomRow) == 0)
            return;
        dataSet.Next();
        if (dataSet.Eof())
            return;
    }
}

void TDBGridGxExport::WriteFooters()
{
    for (int row = 0; row < GridRef().FooterRowCount(); ++row)
        PutFooterRow(m_columns, row);
}

void TDBGridGxExport::PutDataRow(const TColumnsListGx& columns)
{
    IImpExpGridGx& grid = GridRef();
    for (TColumnGx* column : columns) {
        TFont font;
        font.Assign(column->Font());
        IImpExpGridGx::TCellParams params;
        params.Font = &font;
        params.Background = column->Color();
        params.Alignment = column->Alignment();
        params.ImageIndex = column->ImageIndexOfValue();
        params.Text = column->DisplayText();
        params.CheckState = column->CheckboxState();
        TColor background = column->Color();
        grid.GetCellParams(*column, font, background);
        grid.ColumnCellParams(*column, params);
        // The column may recolour the font and text, but the background is the grid's say.
        params.Background = background;
        PutDataCell(*column, params);
    }
}

void TDBGridGxExport::PutFooterRow(const TColumnsListGx& columns, int footerRow)
{
    IImpExpGridGx& grid = GridRef();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        TColumnGx& column = *columns[i];
        const IImpExpGridGx::TFooter footer = grid.Footer(column, footerRow);
        TFont font;
        if (footer.Font)
            font.Assign(footer.Font);
        TColor background = footer.Color;
        TAlignment alignment = footer.Alignment;
        std::string text = footer.Kind == IImpExpGridGx::TFooterKind::Text
                               ? grid.FooterText(column, footerRow)
                               : TotalText(static_cast<int>(i), footerRow, column);
        grid.GetFooterParams(column, footerRow, font, background, alignment, text);
        PutFooterCell(static_cast<int>(i), footerRow, text, alignment, background, font, column);
    }
}

TField* TDBGridGxExport::TotalledField(TColumnGx& column, const IImpExpGridGx::TFooter& footer) const
{
    TDataSet* dataSet = GridRef().DataSet();
    if (!dataSet)
        return nullptr;
    return dataSet->FindField(footer.FieldName.empty() ? column.FieldName() : footer.FieldName);
}

void TDBGridGxExport::AddRecordToTotals()
{
    IImpExpGridGx& grid = GridRef();
    const std::size_t count = m_columns.size();
    for (int row = 0; row < grid.FooterRowCount(); ++row)
        for (std::size_t i = 0; i < count; ++i) {
            const IImpExpGridGx::TFooter footer = grid.Footer(*m_columns[i], row);
            if (footer.Kind == IImpExpGridGx::TFooterKind::Text)
                continue;
            TField* field = TotalledField(*m_columns[i], footer);
            if (!field)
                continue;
            Currency& total = m_totals[i + static_cast<std::size_t>(row) * count];
            if (footer.Kind == IImpExpGridGx::TFooterKind::Count)
                total += Currency::FromDouble(1);
            else if (!field->IsNull())
                total += Currency::FromDouble(field->AsFloat());
        }
}

std::string TDBGridGxExport::TotalText(int dataCol, int footerRow, TColumnGx& column) const
{
    const IImpExpGridGx::TFooter footer = GridRef().Footer(column, footerRow);
    const Currency total = m_totals[static_cast<std::size_t>(dataCol) +
                                    static_cast<std::size_t>(footerRow) * m_columns.size()];
    if (footer.Kind == IImpExpGridGx::TFooterKind::Count)
        return FloatToStrF(total.ToDouble(), ffGeneral, 15, 0);
    TField* field = TotalledField(column, footer);
    if (!field)
        return {};
    const auto* numeric = dynamic_cast<const TNumericField*>(field);
    const std::string displayFormat = numeric ? numeric->DisplayFormat() : std::string{};
    switch (field->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
        if (!displayFormat.empty())
            return FormatFloat(displayFormat, total.ToDouble());
        return std::to_string(static_cast<long long>(total.Scaled() / 10000));
    case ftFloat:
    case ftCurrency: {
        if (!displayFormat.empty())
            return FormatFloat(displayFormat, total.ToDouble());
        const auto* floatField = dynamic_cast<const TFloatField*>(field);
        if (floatField && floatField->Currency())
            return FloatToStrF(total.ToDouble(), ffCurrency, 15, CurrencyDecimals);
        return FloatToStrF(total.ToDouble(), ffGeneral, floatField ? floatField->Precision() : 15, 0);
    }
    case ftBCD:
    case ftFMTBcd: {
        if (!displayFormat.empty())
            return FormatCurr(displayFormat, total);
        const auto* bcdField = dynamic_cast<const TBCDField*>(field);
        if (bcdField && bcdField->Currency())
            return CurrToStrF(total, ffCurrency, CurrencyDecimals);
        return CurrToStr(total);
    }
    default:
        return {};
    }
}

void ExportGridToStream(TDBGridGxExportClass exportClass, IImpExpGridGx& grid, TStream& stream, bool all)
{
    const std::unique_ptr<TDBGridGxExport> exporter = exportClass();
    exporter->SetGrid(&grid);
    exporter->ExportStream(stream, all);
}
