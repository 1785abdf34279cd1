#pragma once

#include <string>

// Reads one folder of an XDG user-dirs file (~/.config/user-dirs.dirs), as xdg-user-dir does:
// the line XDG_<name>_DIR="value", where the value is "$HOME/..." or an absolute path and a
// backslash takes the next character literally. The last such line wins, as when the shell
// sources the file. "" when the file, the line or a valid value is missing.
// Limits: files over 64 KiB are not read.
[[nodiscard]] std::string ReadXdgUserDir(const std::string& file, const std::string& name, const std::string& home);

// The same over the file's text, for tests and fuzzing.
[[nodiscard]] std::string ParseXdgUserDir(const std::string& text, const std::string& name, const std::string& home);
