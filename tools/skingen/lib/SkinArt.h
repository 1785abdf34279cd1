#pragma once

#include "tools/skingen/lib/SkinBuilder.h"

// Our own "blue steel" skin for the manager, drawn in code: every bitmap of the skin package and
// its INI. Change the look in SkinPalette.h (colours) and in the drawing function of the element
// family (sizes, shapes), then regenerate.
void GenerateSkin(TSkinBuilder& skin);

// The program's own bitmap resources that the skin engine falls back on: "LUMORAMENU" (four
// 16 x 16 menu glyphs on white), "TRACK" and "TRACKVERT" (track bar channels).
void GenerateResources(TSkinBuilder& resources);

// The INI's file name inside the skin folder.
inline constexpr const char* SkinIniName = "Skin.ini";
