#pragma once

#include <string>
#include <string_view>
#include <vector>

// The installer's shortcuts as freedesktop desktop entries: one on the user's desktop and three in
// the applications menu under the program group Kestra/Norra, each running its target with the
// install folder as its working folder.

struct TShortcutFolders {
    std::string desktop;      // the user's desktop folder
    std::string applications; // the applications menu's folder the group goes into
};

// The desktop of the user, and the menu of every user when run as root, else the user's own menu.
[[nodiscard]] TShortcutFolders DefaultShortcutFolders();

// <applications>/Kestra/Norra.
[[nodiscard]] std::string ProgramGroupFolder(const TShortcutFolders& folders);

enum class TShortcutTarget { Program, Document };

struct TShortcut {
    std::string file;   // the .desktop file to write
    std::string name;   // the entry's Name
    std::string target; // the program to run, or the document to open
    TShortcutTarget kind;
};

// The four shortcuts of an installation into `installDir`, in the order they are made.
[[nodiscard]] std::vector<TShortcut> InstallShortcuts(const std::string& installDir, const TShortcutFolders& folders);

// The desktop entry's text. Exec quotes the target as the desktop entry rules ask, so that a
// folder with spaces or quotes still names one program; a document is opened with xdg-open.
[[nodiscard]] std::string DesktopEntryText(const TShortcut& shortcut, const std::string& workingFolder);

// Writes every shortcut; a shortcut that cannot be written is passed over, as a missing shortcut
// keeps nothing from working.
void WriteShortcuts(const std::string& installDir, const TShortcutFolders& folders);
