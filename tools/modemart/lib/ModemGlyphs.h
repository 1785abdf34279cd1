#pragma once

#include "tools/modemart/lib/ModemShapes.h"

// The manager's pictograms, drawn on a 32 x 32 grid and placed at any size: `scale` 1 fills 32
// pixels, 0.5 fills 16, with the grid's corner at (left, top).
struct TPlacement {
    double scale = 1.0;
    double left = 0;
    double top = 0;
};

// A USB modem sending radio waves.
void DrawModemStick(TArtCanvas& art, const TPlacement& at, TColor waves = ModemPalette::Blue.base);
// The same drawn for 16 x 16 pixels, where the thin waves of the large one would blur.
void DrawSmallModemStick(TArtCanvas& art);
void DrawSpeechBubble(TArtCanvas& art, const TPlacement& at); // a message being written
void DrawHandset(TArtCanvas& art, const TPlacement& at);      // a telephone handset
void DrawAddressBook(TArtCanvas& art, const TPlacement& at);  // a book with a person on its cover
void DrawEnvelope(TArtCanvas& art, const TPlacement& at, bool unread);
void DrawSpeaker(TArtCanvas& art, const TPlacement& at, bool muted);
void DrawCloseMark(TArtCanvas& art, const TPlacement& at);

enum class TCallKind { Dialled, Received, Missed };
void DrawCallArrow(TArtCanvas& art, const TPlacement& at, TCallKind kind);
