#pragma once

#include "skin/SkinReader.h"
#include "tools/skinpack/lib/SkinPackageWriter.h"

#include <filesystem>
#include <string>
#include <vector>

// The entries of a skin folder: every regular file at its top level, the one INI file first and
// the others in name order. Raises ESkinPackError when the folder cannot be read, holds no INI
// file or more than one, or holds two names that differ only in case (the reader could never
// tell them apart).
[[nodiscard]] std::vector<TSkinPackageEntry> ReadSkinFolder(const std::filesystem::path& folder);

// Packs a skin folder into a package file.
void PackSkinFolder(const std::filesystem::path& folder, const std::filesystem::path& packageFile,
                    TSkinPackageVersion version);

// Loads a package file the way the system does. Raises ESkinPackError with the reason when the
// file cannot be read or the reader refuses it.
void LoadSkinPackageFile(const std::filesystem::path& packageFile, TSkinReader& reader);

// Writes each entry of a package file into the folder (made when missing) under its lower-case
// name and returns those names. Raises ESkinPackError for a name that is not a plain file name and
// for an entry that runs past the package's data.
std::vector<std::string> UnpackSkinPackage(const std::filesystem::path& packageFile,
                                           const std::filesystem::path& folder);
