#pragma once

#include "platform/winapi/gdi/WinGdi.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

// The Windows face names the forms and the code ask for, and the installed families that stand in
// for them (Debian: fonts-liberation, fonts-dejavu-core, fonts-dejavu-extra). Each name lists its
// families in order of preference; the first one installed wins.
struct FontSubstitute {
    std::string_view windowsName;
    std::string_view families[2];
    BYTE pitchAndFamily; // what GetTextMetrics reports for the face
};

[[nodiscard]] std::span<const FontSubstitute> FontSubstitutes();
// Case-insensitive; nullptr for a name the table does not know.
[[nodiscard]] const FontSubstitute* FindFontSubstitute(std::string_view windowsName);

// A font file found for a request.
struct FontFile {
    std::string path;
    int index = 0; // face within the file
    std::string family;
    bool bold = false;   // the face itself is bold (else boldness is synthesised)
    bool italic = false; // the face itself slants (else the slant is synthesised)
    BYTE pitchAndFamily = VARIABLE_PITCH | FF_SWISS;
};

// Finds the file for a face name (Windows name, family name, or empty for the default chosen by
// pitch and family) through the substitution table and fontconfig. Empty when no font at all is
// installed.
[[nodiscard]] std::optional<FontFile> FindFontFile(std::string_view faceName, bool bold, bool italic,
                                                   BYTE pitchAndFamily);
