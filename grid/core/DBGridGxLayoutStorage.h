#pragma once

#include <string>
#include <string_view>

class TColumnGx;
class TCustomDBGridGx;
class TDBGridColumnsGx;
class TIniFile;

// Reads a stored column order: the field names of the columns in order, each in double quotes,
// separated by commas ("\"NAME\",\"NUM\""). Writing gives each named column (the first whose
// field name matches, in any letter case) its place among the named ones; names no column shows
// are skipped and the matched columns keep the stored order among themselves.
class TColumnsGxPropertyInterceptor {
public:
    explicit TColumnsGxPropertyInterceptor(TDBGridColumnsGx& columns) : m_columns(columns) {}

    [[nodiscard]] std::string ColumnsIndex() const;
    void SetColumnsIndex(std::string_view text);

private:
    TDBGridColumnsGx& m_columns;
};

// Reads a stored column width: a grid that fits its columns to its width takes it as the
// column's share of the width (its base width), without fitting again on the way; any other grid
// sizes the column.
class TColumnGxPropertyInterceptor {
public:
    explicit TColumnGxPropertyInterceptor(TColumnGx& column) : m_column(column) {}

    void SetWidth(int value);

private:
    TColumnGx& m_column;
};

// The grid's column layout in a section of an INI file: the column order (ColumnsIndex) and, per
// field, the width and whether the column is shown. Restoring lays out once, at the end; entries
// of fields the grid no longer shows are left alone.
void SaveColumnsLayoutIni(TCustomDBGridGx& grid, TIniFile& ini, std::string_view section);
void RestoreColumnsLayoutIni(TCustomDBGridGx& grid, const TIniFile& ini, std::string_view section);
