// The grid as the holder of editors placed over its cells.
#include "grid/core/DBGridGx.h"

// The grid opens its hosted editors by keys and by clicks that need no second one: no press is
// left for an editor to pair with.
void TCustomDBGridGx::PendingMouseDown(POINT& screenPos, DWORD& time)
{
    screenPos = {};
    time = 0;
}

bool TCustomDBGridGx::EditorMessageHook(TWinControl&, TMessage&) { return false; }

void TCustomDBGridGx::EditorKeyDown(TWinControl&, WORD&, TShiftState) {}

// Tab moves to the next cell; typed into the editor it would only beep.
void TCustomDBGridGx::EditorKeyPress(TWinControl&, char& key)
{
    if (key == '\t')
        key = 0;
}

void TCustomDBGridGx::EditorKeyUp(TWinControl&, WORD&, TShiftState) {}
