#include "installer/core/ShellLauncher.h"

#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Processes.h"

namespace {

void Start(const std::vector<std::string>& arguments, const char* workingFolder)
{
    PROCESS_INFORMATION process{};
    if (!CreateProcessArgv(arguments, workingFolder, &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

} // namespace

void TShellLauncher::OpenDocument(const std::string& path)
{
    Start({"xdg-open", path}, nullptr);
}

void TShellLauncher::StartProgram(const std::string& program, const std::string& workingFolder)
{
    Start({program}, workingFolder.c_str());
}
