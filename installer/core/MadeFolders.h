#pragma once

#include <string>
#include <vector>

class TIniFile;

// The folders an installation made where there were none (the install folder's parents such as
// ~/.local/opt, the applications menu's folders, the desktop). They are kept in Modem.ini, so that
// the uninstaller removes the ones it made once they are empty, and never one that was there before.

// `folder` and each of its parents that does not exist yet, outermost first.
[[nodiscard]] std::vector<std::string> MissingFolders(const std::string& folder);

// Records `made` (each folder once) as the folders the installation made.
void RecordMadeFolders(TIniFile& settings, std::vector<std::string> made);

// The folders `settings` records as made by an installation.
[[nodiscard]] std::vector<std::string> RecordedMadeFolders(const TIniFile& settings);
