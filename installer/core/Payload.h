#pragma once

#include <span>
#include <string_view>

// What the installer writes: each file is a resource of the installer's own program, found by
// type and name and written out byte for byte to its place below the install folder.

// Resource types, given by name.
inline constexpr std::string_view PayloadDataType = "RT_RCDATA";
inline constexpr std::string_view PayloadToneType = "WAVE";

enum class TPayloadKind {
    Data,     // written anew at every installation
    Program,  // the same, and made executable
    Private,  // the same, readable by the user only: the manager's settings hold the dial-up password
    Database, // the user's phonebook and messages live there: written only when none is there yet
};

struct TPayloadFile {
    std::string_view type;
    std::string_view name;
    std::string_view target; // relative to the install folder
    TPayloadKind kind;
};

// Names below the install folder that more than one part of the installer knows.
inline constexpr std::string_view ManagerProgramFile = "Modem";
inline constexpr std::string_view UninstallProgramFile = "Uninstall";
inline constexpr std::string_view ManagerSettingsFile = "Modem.ini";
inline constexpr std::string_view UserManualFile = "User Manual.html";
inline constexpr std::string_view DriversFolder = "Drivers";
inline constexpr std::string_view DriverToolFile = "Drivers/Driver";
inline constexpr std::string_view DriverSettingsFile = "Drivers/driverforge.ini";
inline constexpr std::string_view DriverGuideFile = "Drivers/Read me.html";

// The installer's payload, in the order it is written: the folder's own files, then the driver
// folder's.
[[nodiscard]] std::span<const TPayloadFile> InstallerPayload();
