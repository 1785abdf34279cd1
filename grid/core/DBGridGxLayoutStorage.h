#pragma once

#include <string>
#include <string_view>

class TColumnGx;
class TCustomDBGridGx;
class TDBGridColumnsGx;
class TIniFile;

// A stored column order: the field names of the columns in order, each in double quotes,
// separated by commas ("\"NAME\",\"NUM\""). Setting it gives each named column (the first whose
// field name matches, in any letter case) its place among the named ones; names no column shows
// are skipped and the matched columns keep the stored order among themselves.
[[nodiscard]] std::string ColumnsIndex(const TDBGridColumnsGx& columns);
void SetColumnsIndex(TDBGridColumnsGx& columns, std::string_view text);

// A stored column width: a grid that fits its columns to its width takes it as the column's share
// of the width (its base width), without fitting again on the way; any other grid sizes the
// column.
void SetStoredColumnWidth(TColumnGx& column, int width);

// The grid's column layout in a section of an INI file: the column order (ColumnsIndex) and, per
// field, the width and whether the column is shown. Restoring lays out once, at the end; entries
// of fields the grid no longer shows are left alone.
void SaveColumnsLayoutIni(TCustomDBGridGx& grid, TIniFile& ini, std::string_view section);
void RestoreColumnsLayoutIni(TCustomDBGridGx& grid, const TIniFile& ini, std::string_view section);
