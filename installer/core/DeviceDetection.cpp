#include "installer/core/DeviceDetection.h"

#include "modem/product/ModemProduct.h"
#include "platform/classlib/core/Registry.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <cstdio>
#include <functional>
#include <sys/utsname.h>

namespace {

constexpr const char* SerialCommKey = "hardware\\devicemap\\serialcomm";
constexpr std::string_view InterfaceKeys[] = {ModemAtInterfaceKey, ModemDataInterfaceKey};
constexpr const char* LanguageKey = "SYSTEM\\CurrentControlSet\\Control\\Nls\\Language";

// Calls `visit` with each instance subkey of the modem's interfaces 00 and 01 opened; keys that
// do not open count as empty.
void ForEachInterfaceInstance(const std::function<void(TRegistry&)>& visit)
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    for (const std::string_view key : InterfaceKeys) {
        if (!registry.OpenKeyReadOnly(std::string(key)))
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
    return static_cast<std::uint8_t>(WindowsVersionCode(version, LaterNt5::AsServer2003));
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
