#include "modem/app/Settings.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/rtl/Conversions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace {

constexpr const char* Section = "SETTING";
constexpr int MaxVolumeLevel = 4;

int VolumeFrom(const std::string& text)
{
    int level = 0;
    if (!TryStrToInt(text, level) || level < 0 || level > MaxVolumeLevel)
        return 0;
    return level;
}

} // namespace

TSettings ReadSettings(const TIniFile& file)
{
    const TSettings defaults;
    TSettings settings;
    settings.UserName = file.ReadString(Section, "USERNAME", defaults.UserName);
    settings.Password = file.ReadString(Section, "PASSWORD", defaults.Password);
    settings.Tel = file.ReadString(Section, "TEL", defaults.Tel);
    settings.Apn = file.ReadString(Section, "APN", defaults.Apn);
    settings.VolumeLevel = VolumeFrom(file.ReadString(Section, "VOL", "0"));
    return settings;
}

void WriteSettings(TIniFile& file, const TSettings& settings)
{
    file.WriteString(Section, "USERNAME", settings.UserName);
    file.WriteString(Section, "PASSWORD", settings.Password);
    file.WriteString(Section, "TEL", settings.Tel);
    file.WriteString(Section, "APN", settings.Apn);
    file.WriteString(Section, "VOL", std::to_string(settings.VolumeLevel));
    if (file.SectionExists("Handle"))
        file.DeleteKey("Handle", "HWND");
    file.UpdateFile();
}

void MakeSettingsFilePrivate(const std::string& fileName)
{
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
    if (fd < 0)
        return; // the folder is read-only: the writes will report it
    (void)::fchmod(fd, S_IRUSR | S_IWUSR);
    (void)::close(fd);
}
