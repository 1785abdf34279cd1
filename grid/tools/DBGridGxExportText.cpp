#include "grid/tools/DBGridGxImpExp.h"

std::unique_ptr<TDBGridGxExport> TDBGridGxExportAsText::Create()
{
    return std::make_unique<TDBGridGxExportAsText>();
}

void TDBGridGxExportAsText::ExportStream(TStream& stream, bool all)
{
    m_firstRecord = true;
    TDBGridGxExport::ExportStream(stream, all);
}

void TDBGridGxExportAsText::SeparateRecord()
{
    if (!m_firstRecord)
        Put("\r\n");
    m_firstRecord = false;
}

void TDBGridGxExportAsText::SeparateCell()
{
    if (!m_firstCell) {
        const char separator = CellSeparator();
        Put(std::string_view(&separator, 1));
    }
    m_firstCell = false;
}

void TDBGridGxExportAsText::StartLine()
{
    SeparateRecord();
    m_firstCell = true;
}

void TDBGridGxExportAsText::PutTitleRow(const TColumnsListGx& columns)
{
    StartLine();
    for (TColumnGx* column : columns) {
        SeparateCell();
        PutCellText(column->Title()->Caption());
    }
}

void TDBGridGxExportAsText::PutDataRow(const TColumnsListGx& columns)
{
    StartLine();
    TDBGridGxExport::PutDataRow(columns);
}

void TDBGridGxExportAsText::PutDataCell(TColumnGx&, const IImpExpGridGx::TCellParams& params)
{
    SeparateCell();
    PutCellText(params.Text);
}

void TDBGridGxExportAsText::PutFooterRow(const TColumnsListGx& columns, int footerRow)
{
    StartLine();
    TDBGridGxExport::PutFooterRow(columns, footerRow);
}

void TDBGridGxExportAsText::PutFooterCell(int, int, const std::string& text, TAlignment, TColor, TFont&, TColumnGx&)
{
    SeparateCell();
    PutCellText(text);
}

std::unique_ptr<TDBGridGxExport> TDBGridGxExportAsCSV::Create()
{
    return std::make_unique<TDBGridGxExportAsCSV>();
}

void TDBGridGxExportAsCSV::PutCellText(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    quoted += '"';
    Put(quoted);
}
