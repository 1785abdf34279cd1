#pragma once

#include "skin/SkinElements.h"

#include <memory>
#include <vector>

// The frame a skin without a caption picture is worn with: borders, caption bar and caption
// buttons drawn in the system's colours and metrics, so that the window keeps a caption of the
// standard height to drag and buttons to close, maximise and minimise it.

// Draws the standard look into every border without a picture; the caption bar's frames are
// active and inactive, the side borders' frames are side by side, the others stacked.
void DrawStandardBorders(TDataSkinBorder& left, TDataSkinBorder& top, TDataSkinBorder& right, TDataSkinBorder& bottom);
// The standard caption buttons (window icon, minimise, maximise, restore, close), each with the
// four frames normal, pressed, hot and inactive.
[[nodiscard]] std::vector<std::unique_ptr<TDataSkinSysButton>> StandardCaptionButtons();
// The caption text placed after the icon and clear of the buttons.
void PlaceStandardCaptionText(TDataSkinTitle& title);
