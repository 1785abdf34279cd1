#include "modem/product/ModemProduct.h"

#include "platform/rtl/Strings.h"

#include <cstring>
#include <string>

namespace {

int Windows9xCode(const OSVERSIONINFOA& version)
{
    const std::string servicePack =
        Trim(std::string_view(version.szCSDVersion, strnlen(version.szCSDVersion, sizeof version.szCSDVersion)));
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

int Nt5Code(DWORD minor, LaterNt5 laterNt5)
{
    if (minor == 1)
        return 4;
    return minor <= 2 || laterNt5 == LaterNt5::AsServer2003 ? 5 : 0;
}

int NtCode(const OSVERSIONINFOA& version, LaterNt5 laterNt5)
{
    switch (version.dwMajorVersion) {
    case 3:
        return 2;
    case 4:
        return 3;
    case 5:
        return Nt5Code(version.dwMinorVersion, laterNt5);
    case 6:
        return 6;
    default:
        return 0;
    }
}

} // namespace

int WindowsVersionCode(const OSVERSIONINFOA& version, LaterNt5 laterNt5)
{
    switch (version.dwPlatformId) {
    case VER_PLATFORM_WIN32s:
        return 1;
    case VER_PLATFORM_WIN32_WINDOWS:
        return Windows9xCode(version);
    case VER_PLATFORM_WIN32_NT:
        return NtCode(version, laterNt5);
    default:
        return 0;
    }
}
