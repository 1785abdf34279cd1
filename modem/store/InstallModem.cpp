#include "modem/store/InstallModem.h"

#include "modem/product/ModemProduct.h"
#include "platform/classlib/core/IniFiles.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/SysMath.h"
#include "platform/winapi/kernel/SystemInfo.h"
#include "platform/winapi/shell/ShlObj.h"
#include "platform/winapi/shell/WindowsPaths.h"

#include <array>
#include <fstream>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view EntryName = "USB MODEM";
constexpr std::string_view PhonebookUnderFolder = "\\Microsoft\\Network\\Connections\\Pbk\\rasphone.pbk";
// "\rasphone.pbk": what is left of the path without it is the phonebook's folder.
constexpr std::size_t FileNameLength = 13;
constexpr std::string_view HexDigits = "0123456789ABCDEF";
constexpr std::string_view LineEnd = "\r\n";

constexpr int CodeXp = 4;
constexpr int CodeVista = 6;

// What a line of the entry carries after its fixed text.
enum class Fill { Nothing, DialParamsUid, Guid, Port, Device };

// One line of the entry in the two layouts. `vista` empty means the same line as `xp`; Absent
// means the layout has no such line. A separator line is itself a line end, written like any
// other element and so followed by one more.
constexpr std::string_view Absent = "\x01";
constexpr std::string_view Separator = "\r\n";

struct EntryLine {
    std::string_view xp;
    std::string_view vista = {};
    Fill fill = Fill::Nothing;
};

constexpr std::array<EntryLine, 109> EntryLines = {{
    {Separator},
    {"[USB MODEM]"},
    {"Encoding=1"},
    {"Type=1"},
    {"AutoLogon=0"},
    {"UseRasCredentials=0"},
    {Absent, "LowDateTime="},
    {Absent, "HighDateTime="},
    {"DialParamsUID=", {}, Fill::DialParamsUid},
    {"Guid=", {}, Fill::Guid},
    {"BaseProtocol=1"},
    {"VpnStrategy=0"},
    {"ExcludedProtocols=3", "ExcludedProtocols=2"},
    {"LcpExtensions=1"},
    {"DataEncryption=8"},
    {"SwCompression=1"},
    {"NegotiateMultilinkAlways=0"},
    {"SkipNwcWarning=0"},
    {"SkipDownLevelDialog=0"},
    {"SkipDoubleDialDialog=0"},
    {"DialMode=1", "DialMode=0"},
    {"DialPercent=75", Absent},
    {"DialSeconds=120", Absent},
    {"HangUpPercent=10", Absent},
    {"HangUpSeconds=120", Absent},
    {"OverridePref=15"},
    {"RedialAttempts=3"},
    {"RedialSeconds=60"},
    {"IdleDisconnectSeconds=1200"},
    {"RedialOnLinkFailure=1", "RedialOnLinkFailure=0"},
    {"CallbackMode=0"},
    {"CustomDialDll="},
    {"CustomDialFunc="},
    {"CustomRasDialDll="},
    {Absent, "ForceSecureCompartment=0"},
    {Absent, "DisableIKENameEkuCheck=0"},
    {"AuthenticateServer=0"},
    {"ShareMsFilePrint=0"},
    {"BindMsNetClient=0"},
    {"SharedPhoneNumbers=1"},
    {"GlobalDeviceSettings=0"},
    {"PrerequisiteEntry="},
    {"PrerequisitePbk="},
    {"PreferredPort="},
    {"PreferredDevice="},
    {"PreferredBps=0"},
    {"PreferredHwFlow=0"},
    {"PreferredProtocol=0"},
    {"PreferredCompression=0"},
    {"PreferredSpeaker=0"},
    {"PreferredMdmProtocol=0"},
    {"PreviewUserPw=1"},
    {"PreviewDomain=0"},
    {"PreviewPhoneNumber=1"},
    {"ShowDialingProgress=1"},
    {"ShowMonitorIconInTaskBar=1"},
    {"CustomAuthKey=-1"},
    {"AuthRestrictions=632", "AuthRestrictions=552"},
    {"TypicalAuth=1"},
    {"IpPrioritizeRemote=1"},
    {Absent, "IpInterfaceMetric=0"},
    {Absent, "fCachedDnsSuffix=0"},
    {"IpHeaderCompression=1"},
    {"IpAddress=0.0.0.0"},
    {"IpDnsAddress=0.0.0.0"},
    {"IpDns2Address=0.0.0.0"},
    {"IpWinsAddress=0.0.0.0"},
    {"IpWins2Address=0.0.0.0"},
    {"IpAssign=1"},
    {"IpNameAssign=1"},
    {"IpFrameSize=1006"},
    {"IpDnsFlags=0"},
    {"IpNBTFlags=0"},
    {"TcpWindowSize=0"},
    {"UseFlags=1"},
    {"IpSecFlags=0"},
    {"IpDnsSuffix="},
    {Absent, "IpCachedDnsSuffix="},
    {Absent, "Ipv6PrioritizeRemote=1"},
    {Absent, "Ipv6InterfaceMetric=0"},
    {Absent, "Ipv6NameAssign=1"},
    {Absent, "Ipv6DnsAddress=::"},
    {Absent, "Ipv6Dns2Address=::"},
    {Absent, "Ipv6InterfaceId=0000000000000000"},
    {Separator},
    {"NETCOMPONENTS="},
    {"ms_server=0"},
    {"ms_msclient=0"},
    {Separator},
    {"MEDIA=serial"},
    {"Port=", {}, Fill::Port},
    {"Device=", {}, Fill::Device},
    {"ConnectBPS=115200"},
    {Separator},
    {"DEVICE=modem"},
    {"PhoneNumber="},
    {"AreaCode="},
    {"CountryCode=1", "CountryCode=0"},
    {"CountryID=1", "CountryID=0"},
    {"UseDialingRules=0"},
    {"Comment="},
    {"LastSelectedPhone=0"},
    {"PromoteAlternates=0"},
    {"TryNextAlternateOnFail=1"},
    {"HwFlowControl=1"},
    {"Protocol=1"},
    {"Compression=1"},
    {"Speaker=1"},
    {"MdmProtocol=0"},
}};

std::string FillText(Fill fill, int versionCode, const std::string& port, const std::string& deviceName)
{
    switch (fill) {
    case Fill::Nothing:
        return {};
    case Fill::DialParamsUid:
        return RandomHex(versionCode == CodeXp ? 8 : 7);
    case Fill::Guid:
        return RandomHex(32);
    case Fill::Port:
        return port;
    case Fill::Device:
        return deviceName;
    }
    return {};
}

// The phonebook file as the shell names it ("...\Pbk\rasphone.pbk"); "" for codes without one.
std::string WindowsPhonebookPath(int versionCode)
{
    int folder = 0;
    if (versionCode == CodeXp)
        folder = CSIDL_COMMON_APPDATA;
    else if (versionCode == CodeVista)
        folder = CSIDL_APPDATA;
    else
        return {};
    LPITEMIDLIST list = nullptr;
    if (SHGetSpecialFolderLocation(nullptr, folder, &list) != S_OK)
        return {};
    std::unique_ptr<ITEMIDLIST, decltype(&ILFree)> owned(list, &ILFree);
    char path[MAX_PATH] = {};
    if (!SHGetPathFromIDListA(list, path))
        return {};
    return std::string(path) + std::string(PhonebookUnderFolder);
}

void CreateEmptyFile(const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::app);
    if (!file)
        throw Exception("Cannot create " + path);
}

// Creates the phonebook file (and its folders) when it is missing.
void EnsurePhonebookFile(const std::string& windowsPath)
{
    const std::string path = LinuxPathFromWindows(windowsPath);
    if (FileExists(path))
        return;
    const std::string folder = LinuxPathFromWindows(windowsPath.substr(0, windowsPath.size() - FileNameLength));
    if (!DirectoryExists(folder) && !ForceDirectories(folder))
        throw Exception("Cannot create " + folder);
    CreateEmptyFile(path);
}

} // namespace

int VersionCode(const OSVERSIONINFOA& version) { return WindowsVersionCode(version, LaterNt5::Unknown); }

int GetVersion()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return 0;
    return VersionCode(version);
}

std::string RandomHex(int n)
{
    std::string digits;
    for (int i = 0; i < n; ++i)
        digits += HexDigits[static_cast<std::size_t>(Random(16))];
    return digits;
}

std::string PhonebookFileFor(int versionCode)
{
    const std::string windowsPath = WindowsPhonebookPath(versionCode);
    return windowsPath.empty() ? std::string() : LinuxPathFromWindows(windowsPath);
}

std::string PhonebookEntryText(int versionCode, const std::string& port, const std::string& deviceName)
{
    if (versionCode != CodeXp && versionCode != CodeVista)
        return {};
    std::string text;
    for (const EntryLine& line : EntryLines) {
        std::string_view fixed = line.xp;
        if (versionCode == CodeVista && !line.vista.empty())
            fixed = line.vista;
        if (fixed == Absent)
            continue;
        text += fixed;
        text += FillText(line.fill, versionCode, port, deviceName);
        text += LineEnd;
    }
    return text;
}

void InstallModem(const std::string& port, const std::string& deviceName)
{
    InstallModemFor(GetVersion(), port, deviceName);
}

void InstallModemFor(int versionCode, const std::string& port, const std::string& deviceName)
{
    const std::string windowsPath = WindowsPhonebookPath(versionCode);
    if (windowsPath.empty())
        return;
    EnsurePhonebookFile(windowsPath);
    const std::string path = LinuxPathFromWindows(windowsPath);
    if (TIniFile(path).SectionExists(EntryName))
        return;
    std::ofstream file(path, std::ios::binary | std::ios::app);
    file << PhonebookEntryText(versionCode, port, deviceName);
    if (!file.flush())
        throw Exception("Cannot write " + path);
}

void unInstallModem()
{
    unInstallModemFor(GetVersion());
}

void unInstallModemFor(int versionCode)
{
    const std::string path = PhonebookFileFor(versionCode);
    if (path.empty() || !FileExists(path))
        return;
    TIniFile file(path);
    if (file.SectionExists(EntryName))
        file.EraseSection(EntryName);
}
