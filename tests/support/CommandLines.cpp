#include "tests/support/CommandLines.h"

#include <filesystem>
#include <fstream>
#include <iterator>

std::vector<std::string> CommandLine(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
    std::vector<std::string> arguments;
    std::string argument;
    while (std::getline(in, argument, '\0'))
        arguments.push_back(argument);
    return arguments;
}

std::string ArgumentAfter(const std::vector<std::string>& arguments, const std::string& option)
{
    for (std::size_t i = 0; i + 1 < arguments.size(); ++i)
        if (arguments[i] == option)
            return arguments[i + 1];
    return "";
}

bool AnyCommandLineHolds(const std::string& text)
{
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::ifstream in(process.path() / "cmdline", std::ios::binary);
        const std::string line((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (line.find(text) != std::string::npos)
            return true;
    }
    return false;
}
