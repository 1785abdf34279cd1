#pragma once

#include <string>

class TCustomDBGridGx;

// Options of GridLocateText, bits.
enum : int {
    lsoCaseInsensitiveGx = 1,
    lsoAllColumnsGx = 2,    // walk every visible column, else only the searched one
    lsoDisplayTextGx = 4,   // compare the column's display text, else the field's string value
    lsoStopOnEscapeGx = 16  // give up when an Escape key press waits for the grid
};

enum TLocateTextDirectionGx { ltdUpGx, ltdDownGx, ltdAllGx };
enum TLocateTextMatchTypeGx { ltmAnyPartGx, ltmWholeFieldGx, ltmFromBeginningGx };

// Walks the grid's records from the current one (or, for ltdAllGx, from the first) looking for
// `text` in the visible column bound to `fieldName` (the current column when empty), or in every
// visible column. A hit leaves the data set on the record and makes the matched column current;
// a miss puts the grid back where it was. The comparison is made in memory: nothing typed here
// reaches the database. `treeRange` is for data sets that search tree data themselves.
bool GridLocateText(TCustomDBGridGx* grid, const std::string& fieldName, const std::string& text, int options,
                    TLocateTextDirectionGx direction, TLocateTextMatchTypeGx matchType, int treeRange = 0);
