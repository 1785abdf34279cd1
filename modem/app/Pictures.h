#pragma once

#include <string_view>

class TImage;

// Shows the PNG picture embedded under `name` (resource type "PNG") in `image`. A picture that is
// not there, or does not read, leaves the image empty: the window works without its art.
void LoadPicture(TImage& image, std::string_view name);
