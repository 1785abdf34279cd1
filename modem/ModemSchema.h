#pragma once

#include <string_view>

// The manager's database, shared by the manager (which creates a missing file with it), the
// installer's payload and the tests. One name on every file system: the name differs in case
// nowhere.
inline constexpr std::string_view ModemDatabaseFileName = "USB MODEM.mdb";

// Phonebook PB, SMS boxes IB/OB/SB, templates TP, calls CI/CO/CM. Every table has an integer row
// key (ID) that the data sets keep out of sight; Booleans hold -1/0; text compares without case;
// date-times are ISO 8601 text.
[[nodiscard]] std::string_view ModemSchemaSql();

// The rows a new database starts with: the message templates the manager ships (TP). Run after the
// schema when the file is created.
[[nodiscard]] std::string_view ModemTemplatesSql();
