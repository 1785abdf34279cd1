#pragma once

#include <string>

class TCustomDBGridGx;

// Ctrl+F on a data grid (with dghDialogFind) opens the program's find dialog through this hook.
// The grid library has no dialog of its own: the tools library that has one installs it at
// start-up. `text` is the text to search for at first; `modal` says how to show the dialog.
using TGridFindDialogHookGx = void (*)(TCustomDBGridGx& grid, const std::string& text, bool modal);

void SetGridFindDialogHook(TGridFindDialogHookGx hook);
[[nodiscard]] TGridFindDialogHookGx GridFindDialogHook();
