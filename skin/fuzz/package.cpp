// Loads arbitrary bytes as a packed skin and reads every entry and the INI out of it.

#include "skin/QuickIni.h"
#include "skin/SkinReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// Packages may unpack to 64 MiB; smaller claims keep each run quick without losing any path.
constexpr std::uint32_t LargestClaim = 1u << 16;

std::uint32_t ClaimedSize(const std::uint8_t* data)
{
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size >= 4 && ClaimedSize(data) > LargestClaim && ClaimedSize(data) <= TSkinReader::MaxUnpackedSize)
        return 0;
    TMemoryStream packed;
    packed.WriteBuffer(data, size);
    TSkinReader reader;
    reader.SetOnVersionMessage([](const std::string&) {});
    if (!reader.LoadFromStream(packed))
        return 0;
    TMemoryStream entry;
    for (const std::string& name : reader.Names())
        reader.GetEntry(name, entry);
    std::string iniName;
    if (reader.FindEntry(".ini", entry, iniName)) {
        TQuickIni ini;
        ini.LoadFromStream(&entry);
        (void)ini.ReadInteger("Title", "Height", 0);
    }
    return 0;
}
