#include "installer/core/ShellLauncher.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Processes.h"

namespace {

bool Start(const std::vector<std::string>& arguments, const char* workingFolder)
{
    PROCESS_INFORMATION process{};
    if (!CreateProcessArgv(arguments, workingFolder, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

} // namespace

bool TShellLauncher::OpenDocument(const std::string& path)
{
    return Start({"xdg-open", path}, nullptr);
}

void TShellLauncher::StartProgram(const std::string& program, const std::string& workingFolder)
{
    (void)Start({program}, workingFolder.c_str());
}
