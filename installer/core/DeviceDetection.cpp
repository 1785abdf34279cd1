#include "installer/core/DeviceDetection.h"

#include "platform/classlib/core/Registry.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <cstdio>
#include <cstring>
#include <functional>
#include <sys/utsname.h>

namespace {

constexpr const char* SerialCommKey = "hardware\\devicemap\\serialcomm";
constexpr const char* InterfaceKeys[] = {
    "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_00\\",
    "system\\currentcontrolset\\enum\\usb\\Vid_05c6&Pid_3197&MI_01\\",
};
constexpr const char* LanguageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";

std::uint8_t Windows9xCode(const OSVERSIONINFOA& version, const std::string& servicePack)
{
    switch (version.dwMinorVersion) {
    case 0:
        return servicePack == "B" ? 7 : 8;
    case 10:
        return servicePack == "A" ? 9 : 10;
    case 90:
        return 11;
    default:
        return 0;
    }
}

std::uint8_t NtCode(const OSVERSIONINFOA& version)
{
    switch (version.dwMajorVersion) {
    case 3:
        return 2;
    case 4:
        return 3;
    case 5:
        return version.dwMinorVersion == 1 ? 4 : 5;
    case 6:
        return 6;
    default:
        return 0;
    }
}

// Calls `visit` with each instance subkey of the modem's interfaces 00 and 01 opened; keys that
// do not open count as empty.
void ForEachInterfaceInstance(const std::function<void(TRegistry&)>& visit)
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    for (const char* key : InterfaceKeys) {
        if (!registry.OpenKeyReadOnly(key))
            continue;
        TStringList instances;
        registry.GetKeyNames(instances);
        for (int i = 0; i < instances.Count(); ++i) {
            TRegistry instance(KEY_READ);
            instance.SetRootKey(HKEY_LOCAL_MACHINE);
            if (instance.OpenKeyReadOnly(std::string(key) + instances.Strings(i)))
                visit(instance);
        }
    }
}

} // namespace

std::uint8_t OSVersionCode(const OSVERSIONINFOA& version)
{
    const std::string servicePack =
        Trim(std::string_view(version.szCSDVersion, strnlen(version.szCSDVersion, sizeof version.szCSDVersion)));
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        return Windows9xCode(version, servicePack);
    case VER_PLATFORM_WIN32_NT:
        return NtCode(version);
    default:
        return 0;
    }
}

OSVERSIONINFOA LinuxVersionInfo()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    version.dwPlatformId = VER_PLATFORM_LINUX;
    utsname name{};
    if (::uname(&name) == 0) {
        unsigned major = 0;
        unsigned minor = 0;
        if (std::sscanf(name.release, "%u.%u", &major, &minor) == 2) {
            version.dwMajorVersion = major;
            version.dwMinorVersion = minor;
        }
    }
    return version;
}

std::uint8_t GetOSVersionCode()
{
    return OSVersionCode(LinuxVersionInfo());
}

std::string GetInstallLanguage()
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(LanguageKey))
        return "";
    return registry.ReadString("InstallLanguage");
}

bool FindModemPorts(std::vector<std::string>& ports)
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    registry.OpenKeyReadOnly(SerialCommKey);
    TStringList names;
    registry.GetValueNames(names);
    bool found = false;
    for (int i = 0; i < names.Count(); ++i) {
        const std::string data = UpperCase(Trim(registry.ReadString(names.Strings(i))));
        if (Copy(LowerCase(names.Strings(i)), 9, 5) != "qcusb" || !data.starts_with("COM"))
            continue;
        const std::string number = data.substr(3);
        int value = 0;
        if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos ||
            !TryStrToInt(number, value))
            continue;
        ports.push_back("COM" + number);
        found = true;
    }
    return found;
}

int CountUninstalledInterfaces()
{
    int count = 0;
    ForEachInterfaceInstance([&count](TRegistry& instance) {
        if (UpperCase(instance.ReadString("DeviceDesc")) == "DATA INTERFACE" && instance.ReadString("Driver").empty())
            ++count;
    });
    return count;
}

bool ModemAwaitsDriver()
{
    bool awaits = false;
    ForEachInterfaceInstance([&awaits](TRegistry& instance) {
        if (instance.ReadString("Driver").empty())
            awaits = true;
    });
    return awaits;
}
