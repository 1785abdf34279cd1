#pragma once

#include "skin/SkinElements.h"

#include <memory>
#include <string>
#include <string_view>

// "R G B" text as a colour: decimal numbers give red, green and blue in turn (low 8 bits each,
// missing ones 0, further ones ignored); a number that ends the text counts only as blue. Empty
// text gives `defaultColour`.
[[nodiscard]] TColor ParseSkinRgb(std::string_view text, TColor defaultColour);

// Reads values, bitmaps and single elements from a skin's INI and its package. An image value
// names a ".bmp" entry of the package; anything else, a missing or empty entry and a picture that
// does not read leave the bitmap empty (a picture that does not read is named on standard error
// with the reason).
class TSkinElementReader {
public:
    TSkinElementReader(const TQuickIni& ini, const TSkinReader& package, TColor textDefault);

    // The default of the ...Colour2 keys: the skin's ButtonText colour once that is known.
    void SetTextDefault(TColor colour) { m_textDefault = colour; }

    [[nodiscard]] int Integer(const std::string& section, const std::string& key, int defaultValue) const;
    [[nodiscard]] std::string String(const std::string& section, const std::string& key) const;
    [[nodiscard]] TColor Rgb(const std::string& section, const std::string& key, TColor defaultColour) const;
    void ReadImage(const std::string& value, TBitmap& target) const;

    // Each returns null when the section lacks its image key ("Image", or "Bitmap").
    [[nodiscard]] std::unique_ptr<TDataSkinObject> Plain(const std::string& section) const;
    [[nodiscard]] std::unique_ptr<TDataSkinBorder> Bordered(const std::string& section,
                                                           const std::string& glyphKey) const;
    [[nodiscard]] std::unique_ptr<TDataSkinBorder> BitmapElement(const std::string& section) const;
    [[nodiscard]] std::unique_ptr<TDataSkinBoxLabel> BoxLabel(const std::string& section) const;
    // The menu bar from [Personality] "menuBar".
    [[nodiscard]] std::unique_ptr<TDataSkinObject> MenuBar() const;
    // An element whose image is the program's bitmap resource `name` (empty when there is none).
    [[nodiscard]] static std::unique_ptr<TDataSkinObject> ResourceElement(const std::string& name);

private:
    // The keys every "Image" element shares; Tile above 1 becomes `tileCap`.
    void ReadCommon(const std::string& section, TDataSkinObject& element, bool withFrame, int tileCap) const;
    void ReadMargins(const std::string& section, TDataSkinObject& element) const;
    void ReadTextColours(const std::string& section, TDataSkinObject& element) const;

    const TQuickIni& m_ini;
    const TSkinReader& m_package;
    TColor m_textDefault;
};
