#include "tools/skinpack/lib/SkinPackageWriter.h"

#include "skin/SkinReader.h"
#include "tools/skinpack/lib/LzhEncoder.h"

#include <limits>

namespace {

void AppendU32(std::vector<std::uint8_t>& out, std::uint64_t value)
{
    if (value > std::numeric_limits<std::uint32_t>::max())
        throw ESkinPackError("The skin is too large for a package (more than 4 GiB)");
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

std::size_t ReservedBytes(TSkinPackageVersion version)
{
    switch (version) {
    case TSkinPackageVersion::v20000:
        return 0;
    case TSkinPackageVersion::v30000:
        return 256;
    case TSkinPackageVersion::v40000:
        return 80;
    }
    throw ESkinPackError("Unknown package version " + std::to_string(static_cast<std::uint32_t>(version)));
}

std::string NameList(const std::vector<TSkinPackageEntry>& entries)
{
    std::string names;
    for (const TSkinPackageEntry& entry : entries) {
        if (entry.name.empty() || entry.name.find_first_of("\r\n") != std::string::npos)
            throw ESkinPackError("An entry name must be one non-empty line: \"" + entry.name + "\"");
        names += entry.name + "\r\n";
    }
    return names;
}

} // namespace

std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinPackageEntry>& entries,
                                             TSkinPackageVersion version)
{
    const std::string names = NameList(entries);
    std::vector<std::uint8_t> container;
    AppendU32(container, static_cast<std::uint32_t>(version));
    AppendU32(container, names.size());
    AppendU32(container, 0);
    AppendU32(container, 0);
    container.resize(container.size() + ReservedBytes(version), 0);
    container.insert(container.end(), names.begin(), names.end());
    for (const TSkinPackageEntry& entry : entries)
        AppendU32(container, entry.bytes.size());
    for (const TSkinPackageEntry& entry : entries)
        container.insert(container.end(), entry.bytes.begin(), entry.bytes.end());
    if (container.size() > std::numeric_limits<std::uint32_t>::max())
        throw ESkinPackError("The skin is too large for a package (more than 4 GiB)");
    return container;
}

std::vector<std::uint8_t> PackSkinContainer(const std::vector<std::uint8_t>& container)
{
    if (container.size() > TSkinReader::MaxUnpackedSize)
        throw ESkinPackError("The skin unpacks to " + std::to_string(container.size()) +
                             " bytes; a package may unpack to at most " +
                             std::to_string(TSkinReader::MaxUnpackedSize));
    std::vector<std::uint8_t> package;
    AppendU32(package, container.size());
    const std::vector<std::uint8_t> packed = LzhEncode(container.data(), container.size());
    package.insert(package.end(), packed.begin(), packed.end());
    return package;
}
