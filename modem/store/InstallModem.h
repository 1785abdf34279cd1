#pragma once

#include <string>

struct OSVERSIONINFOA;

// The dial-up phonebook entry "USB MODEM" through which the data connection dials. The manager
// writes it itself, each time it has opened the modem's port, into the system's phonebook file
// rasphone.pbk, unless the file already has it: an existing entry is never compared or rewritten,
// so the user's own changes to it stay.

// The numeric code of the running Windows generation: 4 for NT 5.1 and 6 for NT 6.x are the two
// the entry has a layout for (see VersionCode for the others). This platform reports NT 6.1.
[[nodiscard]] int GetVersion();
[[nodiscard]] int VersionCode(const OSVERSIONINFOA& version);

// n upper-case hexadecimal digits from the class library's random generator (seeded once at
// start-up, so a test replays the digits by setting the seed).
[[nodiscard]] std::string RandomHex(int n);

// The phonebook file of version code 4 (the all-users one) or 6 (the user's), as a Linux path;
// "" for any other code, on which nothing is written.
[[nodiscard]] std::string PhonebookFileFor(int versionCode);

// The text of the entry for version code 4 or 6, lines ending in CR LF; "" for any other code.
[[nodiscard]] std::string PhonebookEntryText(int versionCode, const std::string& port, const std::string& deviceName);

// Appends the entry for `port` ("COM5") and the modem's device name to the phonebook file,
// creating the file and its folders when missing, unless the file has a "USB MODEM" section
// already. Raises Exception "Cannot create <folder>" when the folder cannot be made.
void InstallModem(const std::string& port, const std::string& deviceName);
void InstallModemFor(int versionCode, const std::string& port, const std::string& deviceName);

// Removes the entry again, leaving the rest of the file as it was.
void unInstallModem();
void unInstallModemFor(int versionCode);
