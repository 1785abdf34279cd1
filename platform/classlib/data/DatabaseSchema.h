#pragma once

#include <string>
#include <string_view>

// The schema TADOQuery creates a missing database with: a script of statements the application
// registers at start-up, before its first query opens. The class library knows no tables of its
// own; with no schema registered a missing database is created empty.
void RegisterDatabaseSchema(std::string_view schemaSql);
[[nodiscard]] std::string RegisteredDatabaseSchema();
