#pragma once

#include "installer/core/Payload.h"
#include "installer/core/Shortcuts.h"

#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// What Next does before the driver watch starts: the install folder from the field's text, the
// folders, every payload file, the shortcuts and the install folder recorded in Modem.ini.
//
// Nothing is caught: a missing resource raises EResNotFound ("Resource %s not found") and a file
// that cannot be written EFCreateError, leaving what was written so far; running it again
// repeats the whole sequence and overwrites what is there, except an existing database, which
// holds the user's phonebook and messages and is never overwritten.
class TInstallEngine {
public:
    TInstallEngine(std::span<const TPayloadFile> payload, TShortcutFolders shortcutFolders);

    // Returns the install folder.
    std::string Install(std::string_view folderText) const;

private:
    void WritePayload(const std::string& installDir) const;

    std::span<const TPayloadFile> m_payload;
    TShortcutFolders m_shortcutFolders;
};

// Writes one resource to `path`, byte for byte (made executable for a program).
void WritePayloadFile(const TPayloadFile& file, const std::string& path);
// The mode a payload file of that kind is given.
[[nodiscard]] std::filesystem::perms PayloadFileMode(TPayloadKind kind);

// What Cancel leaves behind: the driver tool and its settings are deleted (a failure is passed
// over); nothing when Next never ran.
void RemoveDriverTool(const std::string& installDir);
