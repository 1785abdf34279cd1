#pragma once

#include <string>

class TIniFile;

// The settings record of section "SETTING" in Modem.ini.
struct TSettings {
    std::string UserName = "plum";
    std::string Password = "plum";
    std::string Tel = "#777";
    std::string Apn;
    // The volume bar's position, 0 to 4.
    int VolumeLevel = 0;
};

// Reads the record; a missing key takes its default, and so does a volume that is not a number
// of the bar (a hand-edited file must not stop the program from starting).
[[nodiscard]] TSettings ReadSettings(const TIniFile& file);
// Writes the five keys and drops the window handle a former version kept in section "Handle".
void WriteSettings(TIniFile& file, const TSettings& settings);

// The file holds the dial-up password: only its owner may read it. Creates it empty when missing
// and narrows the permissions of one that exists.
void MakeSettingsFilePrivate(const std::string& fileName);
