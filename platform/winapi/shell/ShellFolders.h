#pragma once

#include <string>

// Where the shell's special folders lie on Linux, for the Win32-shaped calls of ShlObj.h and for
// the other stand-in layers:
//
//   CSIDL_APPDATA                  $XDG_DATA_HOME, else ~/.local/share
//   CSIDL_PROGRAMS                 <CSIDL_APPDATA>/applications (the user's menu entries)
//   CSIDL_DESKTOPDIRECTORY         XDG_DESKTOP_DIR of $XDG_CONFIG_HOME/user-dirs.dirs (else
//                                  ~/.config/user-dirs.dirs), else ~/Desktop
//   CSIDL_PERSONAL                 XDG_DOCUMENTS_DIR of the same file, else ~/Documents
//   CSIDL_COMMON_APPDATA           <system root>/var/lib/usbmodem
//   CSIDL_COMMON_PROGRAMS          <system root>/usr/local/share/applications
//   CSIDL_COMMON_DESKTOPDIRECTORY  the user's desktop: Linux desktops show no all-users desktop
//
// "~" is $HOME, else the account's home folder. The system root is $MODEM_SYSTEM_ROOT (tests point
// it at a temporary folder), else "/". Every path is absolute and has no trailing '/'.
//
// The folder's path, or "" for a folder not listed above (CSIDL_FLAG_CREATE is ignored here).
[[nodiscard]] std::string SpecialFolderPath(int csidl);

// The user's home folder: $HOME, else the account's entry.
[[nodiscard]] std::string HomeFolder();
