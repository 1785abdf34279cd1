#include "platform/classlib/core/IniFiles.h"

#include "platform/classlib/core/IniText.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Conversions.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <optional>

namespace {

class TFileDescriptor {
public:
    explicit TFileDescriptor(int fd) : m_fd(fd) {}
    ~TFileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    TFileDescriptor(const TFileDescriptor&) = delete;
    TFileDescriptor& operator=(const TFileDescriptor&) = delete;

    [[nodiscard]] int Get() const { return m_fd; }
    [[nodiscard]] bool Valid() const { return m_fd >= 0; }

private:
    int m_fd;
};

// The file's bytes; an empty text for a missing file; nullopt for one that exists but cannot be
// read or is too large (reads take it as empty, writes refuse to replace it).
std::optional<std::string> ReadFileText(const std::string& fileName)
{
    const TFileDescriptor file(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC));
    if (!file.Valid())
        return errno == ENOENT ? std::optional<std::string>(std::string()) : std::nullopt;
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > TIniFile::MaxIniFileSize)
        return std::nullopt;
    std::string text;
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.Get(), buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return std::nullopt;
        if (count == 0)
            return text;
        text.append(buffer, static_cast<std::size_t>(count));
        if (static_cast<std::int64_t>(text.size()) > TIniFile::MaxIniFileSize)
            return std::nullopt;
    }
}

TIniText LoadText(const std::string& fileName)
{
    return TIniText(ReadFileText(fileName).value_or(std::string()));
}

bool WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t count = ::write(fd, text.data(), text.size());
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            return false;
        text.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

// Through a temporary file in the same folder and a rename, so the file is always whole. A
// symbolic link is followed, so the link stays a link.
bool ReplaceFile(const std::string& fileName, std::string_view text)
{
    std::string target = fileName;
    if (char* resolved = ::realpath(fileName.c_str(), nullptr)) {
        target = resolved;
        std::free(resolved);
    }
    struct stat info {};
    const mode_t mode = ::stat(target.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0644;
    std::string temporary = target + ".XXXXXX";
    const TFileDescriptor file(::mkstemp(temporary.data()));
    if (!file.Valid())
        return false;
    const bool written = ::fchmod(file.Get(), mode) == 0 && WriteAll(file.Get(), text) && ::fsync(file.Get()) == 0 &&
                         ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!written)
        ::unlink(temporary.c_str());
    return written;
}

[[noreturn]] void RaiseWriteError(const std::string& fileName)
{
    throw EIniFileException("Unable to write to " + fileName);
}

// Applies `change` (false: it cannot be made) to the file's text and writes the text back when it
// differs, so an edit that changes nothing never touches or creates the file.
void EditFile(const std::string& fileName, const std::function<bool(TIniText&)>& change)
{
    const std::optional<std::string> original = ReadFileText(fileName);
    if (!original)
        RaiseWriteError(fileName);
    TIniText text(*original);
    if (!change(text))
        RaiseWriteError(fileName);
    const std::string updated = text.Text();
    if (updated != *original && !ReplaceFile(fileName, updated))
        RaiseWriteError(fileName);
}

} // namespace

TIniFile::TIniFile(std::string fileName) : m_fileName(std::move(fileName)) {}

std::string TIniFile::ReadString(std::string_view section, std::string_view ident, std::string_view defaultValue) const
{
    return LoadText(m_fileName).Value(section, ident).value_or(std::string(defaultValue));
}

void TIniFile::WriteString(std::string_view section, std::string_view ident, std::string_view value)
{
    EditFile(m_fileName, [&](TIniText& text) { return text.SetValue(section, ident, value); });
}

int TIniFile::ReadInteger(std::string_view section, std::string_view ident, int defaultValue) const
{
    return StrToIntDef(ReadString(section, ident, ""), defaultValue);
}

void TIniFile::WriteInteger(std::string_view section, std::string_view ident, int value)
{
    WriteString(section, ident, IntToStr(value));
}

bool TIniFile::SectionExists(std::string_view section) const
{
    return LoadText(m_fileName).HasSection(section);
}

bool TIniFile::ValueExists(std::string_view section, std::string_view ident) const
{
    return LoadText(m_fileName).Value(section, ident).has_value();
}

void TIniFile::ReadSection(std::string_view section, TStrings& strings) const
{
    const auto keys = LoadText(m_fileName).Keys(section);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& key : keys)
        strings.Add(key);
    strings.EndUpdate();
}

void TIniFile::ReadSections(TStrings& strings) const
{
    const auto sections = LoadText(m_fileName).Sections();
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& section : sections)
        strings.Add(section);
    strings.EndUpdate();
}

void TIniFile::ReadSectionValues(std::string_view section, TStrings& strings) const
{
    const TIniText text = LoadText(m_fileName);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& key : text.Keys(section))
        strings.Add(key + "=" + text.Value(section, key).value_or(std::string()));
    strings.EndUpdate();
}

void TIniFile::DeleteKey(std::string_view section, std::string_view ident)
{
    EditFile(m_fileName, [&](TIniText& text) {
        text.DeleteKey(section, ident);
        return true;
    });
}

void TIniFile::EraseSection(std::string_view section)
{
    EditFile(m_fileName, [&](TIniText& text) {
        text.EraseSection(section);
        return true;
    });
}
