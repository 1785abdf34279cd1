#include "installer/driver/DriverHelper.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Processes.h"
#include "platform/winapi/kernel/Synch.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

bool IsYes(const TIniFile& settings, const char* section, const char* key)
{
    return SameText(Trim(settings.ReadString(section, key, "N")), "Y");
}

// The id as the kernel's new_id takes it: "vvvv pppp".
std::string NewIdText()
{
    return std::string(ModemVendorId) + ' ' + std::string(ModemProductId);
}

bool AcceptsArguments(const std::vector<std::string>& arguments, std::ostream& err)
{
    if (arguments.empty())
        return true;
    if (arguments.size() == 2 && arguments[0] == "--device") {
        if (LowerCase(arguments[1]) == ModemUsbId)
            return true;
        err << "Driver: this tool serves the Norra USB modem (" << ModemUsbId << ") only, not " << arguments[1]
            << "\n";
        return false;
    }
    err << "Driver: usage: Driver [--device " << ModemUsbId << "]\n";
    return false;
}

bool InstallRule(const TDriverSystem& system, std::ostream& err)
{
    std::error_code error;
    fs::create_directories(system.udevRulesFolder, error);
    const fs::path rule = fs::path(system.udevRulesFolder) / UdevRuleFileName;
    std::ofstream file(rule, std::ios::binary | std::ios::trunc);
    file << UdevRuleText();
    file.close();
    if (!file) {
        err << "Driver: cannot write " << rule.string() << "\n";
        return false;
    }
    fs::permissions(rule, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read,
                    error);
    return true;
}

void LoadDriverModule()
{
    PROCESS_INFORMATION process{};
    if (!CreateProcessArgv({"modprobe", SerialDriverName}, nullptr, &process))
        return;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// Writes the modem's id to the serial driver's new_id; an id the driver already knows counts as
// done.
bool BindDevice(const TDriverSystem& system, std::ostream& err)
{
    const fs::path newId = fs::path(system.sysfsRoot) / "bus/usb/drivers" / SerialDriverName / "new_id";
    std::error_code error;
    if (system.loadDriverModule && !fs::exists(newId, error))
        LoadDriverModule();
    const int fd = ::open(newId.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        err << "Driver: the kernel's " << SerialDriverName << " driver is not loaded (" << newId.string()
            << ": " << std::strerror(errno) << ")\n";
        return false;
    }
    const std::string text = NewIdText() + "\n";
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) || errno == EEXIST;
    const int writeError = errno;
    ::close(fd);
    if (!written)
        err << "Driver: cannot write " << newId.string() << ": " << std::strerror(writeError) << "\n";
    return written;
}

} // namespace

TDriverSettings ReadDriverSettings(const std::string& settingsFile)
{
    const TIniFile settings(settingsFile);
    return {IsYes(settings, "AutoInstall", "Automatic_Install"), IsYes(settings, "AutoInstall", "Silent_Install"),
            settings.ReadString("Drivers", "Uncompressed_Driver_Location", "")};
}

std::string UdevRuleText()
{
    const std::string match = "ATTRS{idVendor}==\"" + std::string(ModemVendorId) + "\", ATTRS{idProduct}==\"" +
                              std::string(ModemProductId) + "\"";
    return "# Norra USB modem (" + std::string(ModemUsbId) + "), written by its driver tool.\n"
           "# Serve it with the kernel's USB serial driver whenever it is plugged in.\n"
           "ACTION==\"add\", SUBSYSTEM==\"usb\", ENV{DEVTYPE}==\"usb_device\", " + match +
           ", RUN+=\"/sbin/modprobe " + SerialDriverName + "\", RUN+=\"/bin/sh -c 'echo " + NewIdText() +
           " > /sys/bus/usb/drivers/" + SerialDriverName + "/new_id'\"\n"
           "# Its ports belong to the dialout group; other modem software leaves the device alone.\n"
           "SUBSYSTEM==\"usb\", " + match + ", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
           "SUBSYSTEM==\"tty\", " + match + ", GROUP=\"dialout\", MODE=\"0660\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n";
}

int RunDriverTool(const std::vector<std::string>& arguments, const TDriverSettings& settings,
                  const TDriverSystem& system, std::ostream& out, std::ostream& err)
{
    if (!AcceptsArguments(arguments, err))
        return DriverRefused;
    if (!InstallRule(system, err))
        return DriverFailed;
    if (!settings.silentInstall)
        out << "Installed the udev rule for the Norra USB modem.\n";
    if (!settings.automaticInstall)
        return DriverInstalled;
    if (!BindDevice(system, err))
        return DriverFailed;
    if (!settings.silentInstall)
        out << "The Norra USB modem is served by the " << SerialDriverName << " driver.\n";
    return DriverInstalled;
}
