#pragma once

#include "installer/core/Payload.h"
#include "installer/core/Shortcuts.h"

#include <span>
#include <string>
#include <vector>

// What the uninstaller removes: every file the installer wrote (payload and shortcuts), then the
// folders it made (MadeFolders.h) when nothing else is left in them. Files of the user's own stay,
// and so do the folders holding them.

// The install folder recorded in the settings file `settingsFile` ([Install] Path=); "" when
// the file or the key is missing.
[[nodiscard]] std::string RecordedInstallFolder(const std::string& settingsFile);

// Removes the installation in `installDir`; returns the paths that were there and could not be
// removed.
std::vector<std::string> RemoveInstallation(const std::string& installDir, std::span<const TPayloadFile> payload,
                                            const TShortcutFolders& folders);
