// Parses arbitrary bytes as skin INI text and looks up what a skin load reads.

#include "skin/QuickIni.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TQuickIni ini;
    ini.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    std::vector<std::string> sections;
    ini.ReadSections(sections);
    for (const std::string& section : sections) {
        (void)ini.ReadString(section, "Image", "");
        (void)ini.ReadInteger(section, "Frame", 1);
    }
    return 0;
}
