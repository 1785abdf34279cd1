#pragma once

#include <string>
#include <string_view>

// The product's folder names and the rules that turn the user's choice into the install folder.

// The word every install folder ends with, and the brand folder of the program group.
inline constexpr std::string_view ProductWord = "Norra";
inline constexpr std::string_view BrandWord = "Kestra";

// Joins two parts of a path with exactly one '/' between them, so that a folder chosen at the root
// ("/") gives "/Norra" rather than "//Norra".
[[nodiscard]] std::string JoinPath(std::string_view folder, std::string_view name);

// What the folder field shows at start: ~/.local/opt/Norra for a user, /opt/Norra for root.
[[nodiscard]] std::string DefaultInstallFolder();

// The field's text after the user chose `folder` with Browse: the product folder inside it, or
// the folder itself when it already is one (its name is the product word).
[[nodiscard]] std::string BrowsedFolderText(std::string_view folder);

// The install folder for the field's text: the text itself when it ends with the product word
// (compared with case), otherwise the product folder inside it.
[[nodiscard]] std::string InstallDirFromText(std::string_view text);
