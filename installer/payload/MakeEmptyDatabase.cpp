// Writes the manager's empty database (its tables and the templates it ships) into the folder
// given as the only argument, for the installer's payload.

#include "modem/store/ModemDatabase.h"

#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/data/ADODB.h"

#include <cstdio>
#include <exception>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    try {
        RegisterModemDatabase();
        TADOQuery query(nullptr);
        query.SQL()->Add(std::string(ModemQueries[0].sql));
        OpenModemQuery(query, std::string(argv[1]) + "/");
        query.Close();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
