#include "skin/SkinElementReader.h"

#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/classlib/core/Resources.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Strings.h"
#include "skin/QuickIni.h"
#include "skin/SkinReader.h"

#include <cstdint>
#include <iostream>

namespace {

int CapTile(int tile, int cap) { return tile > 1 ? cap : tile; }

} // namespace

TColor ParseSkinRgb(std::string_view text, TColor defaultColour)
{
    if (text.empty())
        return defaultColour;
    const std::string trimmed = Trim(text);
    std::uint32_t components[3] = {0, 0, 0};
    int stored = 0;
    std::uint32_t number = 0;
    bool inNumber = false;
    for (const char ch : trimmed) {
        if (ch >= '0' && ch <= '9') {
            number = number * 10 + static_cast<std::uint32_t>(ch - '0');
            inNumber = true;
            continue;
        }
        if (inNumber && stored < 3)
            components[stored++] = number;
        number = 0;
        inNumber = false;
    }
    if (inNumber && stored == 2)
        components[stored++] = number;
    return static_cast<TColor>((components[0] & 0xFF) | (components[1] & 0xFF) << 8 | (components[2] & 0xFF) << 16);
}

TSkinElementReader::TSkinElementReader(const TQuickIni& ini, const TSkinReader& package, TColor textDefault)
    : m_ini(ini), m_package(package), m_textDefault(textDefault)
{
}

int TSkinElementReader::Integer(const std::string& section, const std::string& key, int defaultValue) const
{
    return m_ini.ReadInteger(section, key, defaultValue);
}

std::string TSkinElementReader::String(const std::string& section, const std::string& key) const
{
    return m_ini.ReadString(section, key, "");
}

TColor TSkinElementReader::Rgb(const std::string& section, const std::string& key, TColor defaultColour) const
{
    return ParseSkinRgb(String(section, key), defaultColour);
}

void TSkinElementReader::ReadImage(const std::string& value, TBitmap& target) const
{
    target.SetSize(0, 0);
    const std::string name = ExtractFileName(value);
    if (name.empty() || ExtractFileExt(value) != ".bmp")
        return;
    TMemoryStream entry;
    m_package.GetEntry(LowerCase(name), entry);
    if (entry.Size() == 0)
        return;
    try {
        target.LoadFromStream(entry);
    } catch (const EInvalidGraphic& error) {
        // One bad picture leaves its element bare instead of costing the whole skin, but the skin's
        // author has to learn which picture it was and why.
        std::cerr << "skin: the picture \"" << name << "\" is left out. " << error.Message() << '\n';
        target.SetSize(0, 0);
    }
}

void TSkinElementReader::ReadMargins(const std::string& section, TDataSkinObject& element) const
{
    element.LeftWidth = Integer(section, "LeftWidth", 0);
    element.RightWidth = Integer(section, "RightWidth", 0);
    element.TopHeight = Integer(section, "TopHeight", 0);
    element.BottomHeight = Integer(section, "BottomHeight", 0);
}

void TSkinElementReader::ReadTextColours(const std::string& section, TDataSkinObject& element) const
{
    element.NormalColour = Integer(section, "NormalColour", -1);
    element.MouseOverColour = Integer(section, "MouseOverColour", -1);
    element.PressedColour = Integer(section, "PressedColour", -1);
    element.NormalColour2 = Rgb(section, "NormalColour2", m_textDefault);
    element.MouseOverColour2 = Rgb(section, "MouseOverColour2", m_textDefault);
    element.PressedColour2 = Rgb(section, "PressedColour2", m_textDefault);
}

void TSkinElementReader::ReadCommon(const std::string& section, TDataSkinObject& element, bool withFrame,
                                    int tileCap) const
{
    element.Name = section;
    element.Style = Integer(section, "Style", 0);
    ReadMargins(section, element);
    if (withFrame)
        element.Frame = Integer(section, "Frame", 0);
    element.Trans = Integer(section, "Trans", 0);
    element.Tile = CapTile(Integer(section, "Tile", 0), tileCap);
    ReadTextColours(section, element);
    ReadImage(String(section, "Image"), element.Image);
}

std::unique_ptr<TDataSkinObject> TSkinElementReader::Plain(const std::string& section) const
{
    if (String(section, "Image").empty())
        return nullptr;
    auto element = std::make_unique<TDataSkinObject>();
    ReadCommon(section, *element, true, 0);
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinElementReader::Bordered(const std::string& section,
                                                              const std::string& glyphKey) const
{
    if (String(section, "Image").empty())
        return nullptr;
    auto element = std::make_unique<TDataSkinBorder>();
    ReadCommon(section, *element, false, 0);
    ReadImage(String(section, glyphKey), element->Glyph);
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinElementReader::BitmapElement(const std::string& section) const
{
    const std::string image = String(section, "Bitmap");
    if (image.empty())
        return nullptr;
    auto element = std::make_unique<TDataSkinBorder>();
    element->Name = section;
    element->Style = Integer(section, "Style", 0);
    ReadMargins(section, *element);
    element->Trans = Integer(section, "Trans", 0);
    element->Tile = CapTile(Integer(section, "Tile", 0), 1);
    ReadImage(image, element->Image);
    return element;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinElementReader::BoxLabel(const std::string& section) const
{
    if (String(section, "Image").empty())
        return nullptr;
    auto element = std::make_unique<TDataSkinBoxLabel>();
    ReadCommon(section, *element, false, 0);
    element->BackgroundAlignment = Integer(section, "BackgroundAlignment", 0);
    element->BackgroundLeftShift = Integer(section, "BackgroundLeftShift", 0);
    element->BackgroundRightShift = Integer(section, "BackgroundRightShift", 0);
    return element;
}

std::unique_ptr<TDataSkinObject> TSkinElementReader::MenuBar() const
{
    const std::string image = String("Personality", "menuBar");
    if (image.empty())
        return nullptr;
    auto element = std::make_unique<TDataSkinObject>();
    element->Name = "MenuBar";
    element->Tile = CapTile(Integer("Personality", "TileMenu", 1), 1);
    element->LeftWidth = Integer("Personality", "TileLeftMenu", 1);
    element->RightWidth = Integer("Personality", "TileRightMenu", 1);
    ReadImage(image, element->Image);
    return element;
}

std::unique_ptr<TDataSkinObject> TSkinElementReader::ResourceElement(const std::string& name)
{
    auto element = std::make_unique<TDataSkinObject>();
    element->Name = name;
    element->LeftWidth = element->TopHeight = element->RightWidth = element->BottomHeight = 3;
    element->Frame = 1;
    try {
        element->Image.LoadFromResourceName(nullptr, name);
    } catch (const EResNotFound&) {
        element->Image.SetSize(0, 0);
    } catch (const EInvalidGraphic&) {
        element->Image.SetSize(0, 0);
    }
    return element;
}
