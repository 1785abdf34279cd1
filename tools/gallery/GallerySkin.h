#pragma once

#include <string>

class TForm;

// Skins the gallery's windows with the packed skin in `file`, as a program does that carries a
// skin data component on its main form. False (with the reason on standard error) when the file
// does not hold a skin that loads.
bool SkinGallery(TForm& form, const std::string& file);
// Puts every skinned window back and ends the skinning, before the program ends.
void EndGallerySkin();
