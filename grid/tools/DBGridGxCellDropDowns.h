#pragma once

// Gives the data grid's cell editor this library's drop-downs: the month calendar of date columns,
// the calculator of numeric columns with a drop-down button and the data grid of lookup columns,
// which each column makes on first use and its drop-down box sets up. The program calls it once
// at start-up.
void RegisterGridCellDropDowns();
