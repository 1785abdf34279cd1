#pragma once

#include <string>
#include <string_view>

// Turns a path built the Windows way into the Linux path it stands for. Every stand-in and every
// program part that builds a Windows path (a special folder + "\Microsoft\Network\...", the
// installer's "C:\Program Files\Norra") goes through this one rule:
//
// - '\' and '/' both separate; a run of separators becomes one '/'; a trailing one is kept.
// - A drive letter "X:" (either case, with or without a separator after it) becomes the folder
//   <drives root>/drive_x (lower-case letter), so a Windows path of any drive lands in the user's
//   own files and never in the system's. The drives root is $MODEM_DRIVES_ROOT, else
//   <CSIDL_APPDATA>/usbmodem.
// - Letter case is kept: Linux names are case-sensitive, so the programs share each file name
//   as one constant rather than relying on case folding.
// - A path that is already a Linux path comes back unchanged (apart from doubled separators).
[[nodiscard]] std::string LinuxPathFromWindows(std::string_view windowsPath);

// The folder that drive `letter` ('A' to 'Z', either case) stands for; "" for any other letter.
[[nodiscard]] std::string DriveFolder(char letter);
