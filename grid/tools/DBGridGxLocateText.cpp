#include "grid/tools/DBGridGxLocateText.h"

#include "grid/core/DBGridGx.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/user/WinUser.h"

#include <algorithm>
#include <vector>

namespace {

// The walk over records (and columns) of one search.
class TextSearch {
public:
    TextSearch(TCustomDBGridGx& grid, TDataSet& dataSet, std::vector<TColumnGx*> columns, int column, int options,
               TLocateTextDirectionGx direction)
        : m_grid(grid), m_dataSet(dataSet), m_columns(std::move(columns)), m_column(column), m_options(options),
          m_direction(direction)
    {
    }

    // The index into the visible columns of the match, or -1.
    int Run(const std::string& text, TLocateTextMatchTypeGx matchType)
    {
        const bool caseless = (m_options & lsoCaseInsensitiveGx) != 0;
        const std::string sought = caseless ? AnsiUpperCase(text) : text;
        bool onCell = true;
        if (m_direction == ltdAllGx)
            m_dataSet.First();
        else
            onCell = Step();
        while (onCell) {
            const std::string cell = CellText();
            if (Matches(caseless ? AnsiUpperCase(cell) : cell, sought, matchType))
                return m_column;
            if ((m_options & lsoStopOnEscapeGx) != 0 && EscapeWaiting())
                return -1;
            onCell = Step();
        }
        return -1;
    }

private:
    [[nodiscard]] std::string CellText() const
    {
        const TColumnGx& column = *m_columns[static_cast<std::size_t>(m_column)];
        if ((m_options & lsoDisplayTextGx) != 0)
            return column.DisplayText();
        const TField* field = column.Field();
        return field ? field->AsString() : std::string();
    }

    [[nodiscard]] static bool Matches(const std::string& cell, const std::string& sought,
                                      TLocateTextMatchTypeGx matchType)
    {
        switch (matchType) {
        case ltmWholeFieldGx:
            return cell == sought;
        case ltmFromBeginningGx:
            return cell.starts_with(sought);
        default:
            return cell.find(sought) != std::string::npos;
        }
    }

    [[nodiscard]] bool EscapeWaiting() const
    {
        MSG message{};
        return PeekMessageA(&message, m_grid.Handle(), WM_KEYDOWN, WM_KEYDOWN, PM_NOREMOVE) &&
               message.wParam == VK_ESCAPE;
    }

    // Moves to the next cell to look at: the next (or prior) record, or across all columns the
    // next (or previous) column, wrapping to the neighbouring record. False past the last (or
    // first) record. A move within the record is always a cell: the data set's end flags, still
    // set from before, must not end the walk there.
    bool Step()
    {
        const bool down = m_direction != ltdUpGx;
        if ((m_options & lsoAllColumnsGx) != 0) {
            const int last = static_cast<int>(m_columns.size()) - 1;
            if (down ? m_column < last : m_column > 0) {
                m_column += down ? 1 : -1;
                return true;
            }
            m_column = down ? 0 : last;
        }
        return m_dataSet.MoveBy(down ? 1 : -1) != 0;
    }

    TCustomDBGridGx& m_grid;
    TDataSet& m_dataSet;
    std::vector<TColumnGx*> m_columns;
    int m_column;
    int m_options;
    TLocateTextDirectionGx m_direction;
};

[[nodiscard]] std::vector<TColumnGx*> VisibleColumns(TCustomDBGridGx& grid)
{
    std::vector<TColumnGx*> columns;
    for (int i = 0; i < grid.Columns().Count(); ++i) {
        if (TColumnGx* column = grid.Columns().ColumnAt(i); column->Visible())
            columns.push_back(column);
    }
    return columns;
}

// The searched column's place among the visible ones: the one bound to the field, else the
// current column, else the first.
[[nodiscard]] int SearchColumn(TCustomDBGridGx& grid, const std::vector<TColumnGx*>& columns,
                               const std::string& fieldName)
{
    const auto found = std::find_if(columns.begin(), columns.end(), [&](TColumnGx* column) {
        if (!fieldName.empty())
            return SameText(column->FieldName(), fieldName);
        return column->Index() == grid.SelectedIndex();
    });
    return found == columns.end() ? 0 : static_cast<int>(found - columns.begin());
}

} // namespace

bool GridLocateText(TCustomDBGridGx* grid, const std::string& fieldName, const std::string& text, int options,
                    TLocateTextDirectionGx direction, TLocateTextMatchTypeGx matchType, int /*treeRange*/)
{
    if (!grid || !grid->DataSource() || !grid->DataSource()->DataSet() || !grid->DataSource()->DataSet()->Active())
        return false;
    std::vector<TColumnGx*> columns = VisibleColumns(*grid);
    TDataSet& dataSet = *grid->DataSource()->DataSet();
    if (columns.empty() || dataSet.IsEmpty())
        return false;
    const int start = SearchColumn(*grid, columns, fieldName);
    const TBookmarkStr saved = dataSet.Bookmark();
    dataSet.DisableControls();
    int found = -1;
    try {
        found = TextSearch(*grid, dataSet, columns, start, options, direction).Run(text, matchType);
        if (found < 0)
            dataSet.SetBookmark(saved);
    } catch (...) {
        dataSet.EnableControls();
        throw;
    }
    dataSet.EnableControls();
    if (found < 0)
        return false;
    grid->SetCol(columns[static_cast<std::size_t>(found)]->Index() + grid->IndicatorOffset());
    return true;
}
