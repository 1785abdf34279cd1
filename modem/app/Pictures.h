#pragma once

#include "platform/classlib/core/Colors.h"

#include <string_view>

class TImage;
class TSpeedButton;

// Shows the PNG picture embedded under `name` (resource type "PNG") in `image`. A picture that is
// not there, or does not read, leaves the image empty: the window works without its art.
void LoadPicture(TImage& image, std::string_view name);

// The same for picture `index` of a strip of `frames` equal pictures side by side; where the
// picture is clear, what lies under the image shows.
void LoadPictureFrame(TImage& image, std::string_view name, int index, int frames);

// The first picture of the strip `name` of `frames` pictures, less `inset` pixels on every side
// (the strip's own margin), as the glyph of `button`; nothing when the picture is not there.
void LoadButtonGlyph(TSpeedButton& button, std::string_view name, int frames, int inset);
