#pragma once

#include "platform/classlib/forms/GraphicsBitmap.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// What the generator produces: the skin's bitmaps by file name and its INI, section by section,
// in the order they were first named.
class TSkinBuilder {
public:
    struct TImage {
        std::string fileName;
        std::unique_ptr<TBitmap> bitmap;
    };
    struct TSection {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };

    // Adds a bitmap and returns its file name, for the INI key that names it.
    const std::string& AddImage(const std::string& fileName, std::unique_ptr<TBitmap> bitmap);
    // Sets a key of a section (the section is made on first use; a key set twice keeps its place).
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void Set(const std::string& section, const std::string& key, int value) { Set(section, key, std::to_string(value)); }

    [[nodiscard]] const std::vector<TImage>& Images() const { return m_images; }
    [[nodiscard]] const TBitmap* Image(const std::string& fileName) const;
    [[nodiscard]] const std::vector<TSection>& Sections() const { return m_sections; }
    [[nodiscard]] std::string IniText() const;

    // Writes every bitmap and, when `iniName` is not empty, the INI into the folder (made when
    // missing).
    void WriteTo(const std::filesystem::path& folder, const std::string& iniName) const;

private:
    std::vector<TImage> m_images;
    std::vector<TSection> m_sections;
};
