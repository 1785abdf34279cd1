#pragma once

#include "platform/rtl/Exceptions.h"

#include <cstdint>
#include <string>
#include <vector>

// A package cannot be made from the given entries, or a package or folder is unusable.
RTL_DECLARE_EXCEPTION(ESkinPackError, Exception);

struct TSkinPackageEntry {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The container versions a package may carry; they differ only in the reserved bytes before the
// name list.
enum class TSkinPackageVersion : std::uint32_t { v20000 = 20000, v30000 = 30000, v40000 = 40000 };

// The unpacked container: header, reserved bytes (zero), the names one a line ended by CR LF,
// the 32-bit size table and the entries' bytes. Raises ESkinPackError for a name that is empty
// or holds a line break, or a container past 4 GiB.
[[nodiscard]] std::vector<std::uint8_t> BuildSkinContainer(const std::vector<TSkinPackageEntry>& entries,
                                                           TSkinPackageVersion version);
// The package: the container's size as 32 bits little-endian, then the container packed. Raises
// ESkinPackError for a container larger than a skin reader accepts.
[[nodiscard]] std::vector<std::uint8_t> PackSkinContainer(const std::vector<std::uint8_t>& container);
