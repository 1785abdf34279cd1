#include "grid/core/DBGridGxLayoutStorage.h"

#include "grid/core/DBGridGx.h"
#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <vector>

namespace {

constexpr std::string_view ColumnsIndexKey = "ColumnsIndex";

[[nodiscard]] std::string WidthKey(const TColumnGx& column) { return column.FieldName() + ".Width"; }
[[nodiscard]] std::string VisibleKey(const TColumnGx& column) { return column.FieldName() + ".Visible"; }

// Opens a collection update and closes it again, also when a step fails.
class TColumnsUpdate {
public:
    explicit TColumnsUpdate(TDBGridColumnsGx& columns) : m_columns(columns) { m_columns.BeginUpdate(); }
    ~TColumnsUpdate() { m_columns.EndUpdate(); }
    TColumnsUpdate(const TColumnsUpdate&) = delete;
    TColumnsUpdate& operator=(const TColumnsUpdate&) = delete;

private:
    TDBGridColumnsGx& m_columns;
};

// Holds the grid's layout so that restoring lays out once.
class TLayoutHold {
public:
    explicit TLayoutHold(TCustomDBGridGx& grid) : m_grid(grid) { m_grid.BeginLayout(); }
    ~TLayoutHold() { m_grid.EndLayout(); }
    TLayoutHold(const TLayoutHold&) = delete;
    TLayoutHold& operator=(const TLayoutHold&) = delete;

private:
    TCustomDBGridGx& m_grid;
};

} // namespace

// ---- The column order --------------------------------------------------------------------------------------------

std::string ColumnsIndex(const TDBGridColumnsGx& columns)
{
    std::string text;
    for (int i = 0; i < columns.Count(); ++i) {
        if (i > 0)
            text += ',';
        text += '"' + columns.ColumnAt(i)->FieldName() + '"';
    }
    return text;
}

// The matched columns take the first places, in the stored order; a stored name without a column
// takes no place, so no index ever points past the columns.
void SetColumnsIndex(TDBGridColumnsGx& columns, std::string_view text)
{
    TStringList names;
    names.SetCommaText(text);
    std::vector<TColumnGx*> matched;
    for (int i = 0; i < names.Count(); ++i) {
        for (int c = 0; c < columns.Count(); ++c) {
            TColumnGx* column = columns.ColumnAt(c);
            if (SameText(column->FieldName(), names.Strings(i))) {
                if (std::find(matched.begin(), matched.end(), column) == matched.end())
                    matched.push_back(column);
                break;
            }
        }
    }
    const TColumnsUpdate update(columns);
    for (std::size_t place = 0; place < matched.size(); ++place)
        matched[place]->SetIndex(static_cast<int>(place));
}

// ---- A column's width ----------------------------------------------------------------------------------------------

void SetStoredColumnWidth(TColumnGx& column, int width)
{
    const IDataGridGx* grid = column.OwnerGrid();
    const auto* dataGrid = grid ? dynamic_cast<const TCustomDBGridGx*>(grid) : nullptr;
    if (dataGrid && dataGrid->AutoFitColWidths())
        column.SetFitBaseWidth(width);
    else
        column.SetWidth(width);
}

// ---- INI files -----------------------------------------------------------------------------------------------------

void SaveColumnsLayoutIni(TCustomDBGridGx& grid, TIniFile& ini, std::string_view section)
{
    TDBGridColumnsGx& columns = grid.Columns();
    // A profile string loses one pair of enclosing quotes on reading: the order is wrapped in one.
    ini.WriteString(section, ColumnsIndexKey, '"' + ColumnsIndex(columns) + '"');
    for (int i = 0; i < columns.Count(); ++i) {
        const TColumnGx& column = *columns.ColumnAt(i);
        if (column.FieldName().empty())
            continue;
        ini.WriteInteger(section, WidthKey(column), grid.AutoFitColWidths() ? column.FitBaseWidth() : column.Width());
        ini.WriteInteger(section, VisibleKey(column), column.Visible() ? 1 : 0);
    }
}

void RestoreColumnsLayoutIni(TCustomDBGridGx& grid, const TIniFile& ini, std::string_view section)
{
    if (!ini.SectionExists(section))
        return;
    const TLayoutHold hold(grid);
    TDBGridColumnsGx& columns = grid.Columns();
    if (ini.ValueExists(section, ColumnsIndexKey))
        SetColumnsIndex(columns, ini.ReadString(section, ColumnsIndexKey, ""));
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx& column = *columns.ColumnAt(i);
        if (column.FieldName().empty())
            continue;
        if (ini.ValueExists(section, WidthKey(column)))
            SetStoredColumnWidth(column, std::max(0, ini.ReadInteger(section, WidthKey(column), 0)));
        if (ini.ValueExists(section, VisibleKey(column)))
            column.SetVisible(ini.ReadInteger(section, VisibleKey(column), 1) != 0);
    }
}
