#include "grid/tools/DBGridGxImpExp.h"
#include "grid/tools/DBGridGxImpExpColumns.h"

#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/Dialogs.h"

#include <algorithm>

namespace detail = grid_tools::detail;

namespace {

[[nodiscard]] bool Editing(const TDataSet& dataSet)
{
    return dataSet.State() == dsEdit || dataSet.State() == dsInsert;
}

TColumnsListGx VisibleColumnsFrom(const IImpExpGridGx& grid, const TColumnGx* first)
{
    TColumnsListGx columns;
    bool reached = first == nullptr;
    for (TColumnGx* column : grid.GridColumns()) {
        reached = reached || column == first;
        if (reached && column->Visible())
            columns.push_back(column);
    }
    return columns;
}

} // namespace

IImpExpGridGx& TDBGridGxImport::GridRef() const
{
    if (!m_grid)
        throw Exception("The importer has no grid");
    return *m_grid;
}

std::size_t TDBGridGxImport::ReadSource(void* buffer, std::size_t count)
{
    const std::size_t read = m_stream->Read(buffer, count);
    m_consumed += static_cast<std::int64_t>(read);
    return read;
}

std::int64_t TDBGridGxImport::RemainingSource() const
{
    return std::max<std::int64_t>(m_stream->Size() - m_stream->Position(), 0);
}

void TDBGridGxImport::ImportFile(const std::string& fileName, bool all)
{
    TFileStream file(fileName, fmOpenRead);
    ImportStream(file, all);
}

void TDBGridGxImport::ImportStream(TStream& stream, bool all)
{
    m_stream = &stream;
    m_endOfSource = false;
    m_ignoreAllErrors = false;
    m_consumed = 0;
    IImpExpGridGx& grid = GridRef();
    TDataSet* dataSet = grid.DataSet();
    if (!dataSet || !dataSet->Active())
        return;
    if (all) {
        grid.ClearSelection();
        dataSet->First();
        const TColumnsListGx visible = detail::VisibleColumns(grid);
        if (!visible.empty())
            grid.SetCurrentColumn(visible.front());
    }
    const auto kind = all ? IImpExpGridGx::TSelection::None : grid.SelectionKind();
    const bool insertMode = dataSet->State() == dsInsert;
    const IImpExpGridGx::TPosition position = insertMode ? IImpExpGridGx::TPosition{} : grid.SavePosition();
    dataSet->DisableControls();
    try {
        Walk(kind, *dataSet, insertMode, position);
    } catch (...) {
        // Restoring the position would post the row being written; a row the import could not
        // finish is dropped instead. Rows written before it stay.
        if (Editing(*dataSet))
            dataSet->Cancel();
        if (!insertMode) {
            try {
                grid.RestorePosition(position);
            } catch (...) {
            }
        }
        dataSet->EnableControls();
        throw;
    }
    if (!insertMode)
        grid.RestorePosition(position);
    dataSet->EnableControls();
    FinishImport();
}

void TDBGridGxImport::Walk(IImpExpGridGx::TSelection kind, TDataSet& dataSet, bool insertMode,
                           const IImpExpGridGx::TPosition& position)
{
    IImpExpGridGx& grid = GridRef();
    const bool appendMode = dataSet.Eof();
    switch (kind) {
    case IImpExpGridGx::TSelection::None:
        m_columns = VisibleColumnsFrom(grid, grid.CurrentColumn());
        ReadPrefix();
        if (insertMode) {
            InsertRows(dataSet, appendMode);
            return;
        }
        grid.RestorePosition(position);
        while (!dataSet.Eof() && !m_endOfSource) {
            if (!ReadRowMovedOn(m_columns))
                return;
            dataSet.Next();
        }
        if (grid.AllowedOperations().Contains(alopAppendGx))
            InsertRows(dataSet, true);
        return;
    case IImpExpGridGx::TSelection::RecordBookmarks:
        m_columns = detail::VisibleColumns(grid);
        ReadPrefix();
        if (insertMode) {
            InsertRows(dataSet, appendMode);
            return;
        }
        for (const TBookmark& bookmark : grid.SelectedBookmarks()) {
            if (m_endOfSource)
                return;
            dataSet.GotoBookmark(bookmark);
            ReadRow(m_columns);
        }
        return;
    case IImpExpGridGx::TSelection::Rectangle: {
        const IImpExpGridGx::TRectangle rectangle = grid.SelectedRectangle();
        m_columns = detail::VisibleColumnsBetween(grid, rectangle.LeftCol, rectangle.RightCol);
        ReadPrefix();
        if (insertMode) {
            InsertRows(dataSet, appendMode);
            return;
        }
        if (dataSet.IsEmpty())
            return;
        dataSet.GotoBookmark(rectangle.TopRow);
        while (!m_endOfSource) {
            ReadRow(m_columns);
            if (dataSet.CompareBookmarks(dataSet.Bookmark(), rectangle.BottomRow) == 0)
                return;
            dataSet.Next();
            if (dataSet.Eof())
                return;
        }
        return;
    }
    case IImpExpGridGx::TSelection::Columns:
    case IImpExpGridGx::TSelection::All:
        m_columns = kind == IImpExpGridGx::TSelection::Columns ? grid.SelectedColumns() : detail::VisibleColumns(grid);
        ReadPrefix();
        if (insertMode) {
            InsertRows(dataSet, appendMode);
            return;
        }
        dataSet.First();
        while (!dataSet.Eof() && !m_endOfSource) {
            if (!ReadRowMovedOn(m_columns))
                return;
            dataSet.Next();
        }
        return;
    }
}

bool TDBGridGxImport::ReadRowMovedOn(const TColumnsListGx& columns)
{
    const std::int64_t before = m_consumed;
    ReadRow(columns);
    // A row that took nothing from the source would be read again and again: the source is done.
    return m_consumed != before || m_endOfSource;
}

void TDBGridGxImport::InsertRows(TDataSet& dataSet, bool append)
{
    while (!m_endOfSource) {
        if (append)
            dataSet.Append();
        else
            dataSet.Insert();
        if (!ReadRowMovedOn(m_columns)) {
            dataSet.Cancel();
            return;
        }
        if (Editing(dataSet))
            dataSet.Post();
        if (!append)
            dataSet.Next();
    }
}

void TDBGridGxImport::ReadRow(const TColumnsListGx& columns)
{
    for (TColumnGx* column : columns)
        ReadCell(column);
}

void TDBGridGxImport::WriteCell(TColumnGx& column, const std::function<void(TField& target, TField& shown)>& assign)
{
    if (!column.CanModify(false))
        return;
    TField* shown = column.Field();
    if (!shown || (shown->Lookup() && shown->KeyFields().empty()))
        return;
    TField* target = ImpExpValueField(column);
    if (!target || !target->DataSet() || !target->DataSet()->CanModify())
        return;
    TDataSet& dataSet = *target->DataSet();
    try {
        if (!Editing(dataSet))
            dataSet.Edit();
        if (Editing(dataSet))
            assign(*target, *shown);
    } catch (const EAbort&) {
        throw;
    } catch (const Exception& error) {
        if (m_ignoreAllErrors)
            return;
        const TModalResult answer =
            MessageDlg("Error during insert value:\n" + error.Message() + "\n\nIgnore error?", mtError,
                       {mbYes, mbNo, mbAll}, 0);
        if (answer == mrNo)
            Abort();
        if (answer == mrAll)
            m_ignoreAllErrors = true;
    }
}

void ImportGridFromStream(TDBGridGxImportClass importClass, IImpExpGridGx& grid, TStream& stream, bool all)
{
    const std::unique_ptr<TDBGridGxImport> importer = importClass();
    importer->SetGrid(&grid);
    importer->ImportStream(stream, all);
}
