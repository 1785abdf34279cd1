// The grid as the holder of editors placed over its cells.
#include "grid/core/DBGridGx.h"

// The press that opened an editor is handed out once: the editor's first press pairs with it.
void TCustomDBGridGx::PendingMouseDown(POINT& screenPos, DWORD& time)
{
    screenPos = m_pressScreenPos;
    time = m_pressTime;
    m_pressTime = 0;
}

void TCustomDBGridGx::RememberPress(int x, int y)
{
    const TPoint screen = ClientToScreen(TPoint{x, y});
    m_pressScreenPos = {screen.x, screen.y};
    m_pressTime = static_cast<DWORD>(GetMessageTime());
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
