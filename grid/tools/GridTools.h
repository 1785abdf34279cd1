#pragma once

// Gives the grid core everything of the tools a program's grids reach through the core's hooks:
// the centre's clipboard actions, text search and data-set features, the find dialog on Ctrl+F,
// the cell editor's calendar, calculator and lookup drop-downs, and the special row of lookup
// columns. A program calls it once at start-up, after Application->Initialize().
void RegisterGridTools();
