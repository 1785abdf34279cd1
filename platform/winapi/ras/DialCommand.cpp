#include "platform/winapi/ras/DialCommand.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <system_error>

namespace {

std::string ConfiguredProgram(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    return (value && *value) ? value : fallback;
}

std::string PrivateFolderBase()
{
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
        const char* value = std::getenv(variable);
        std::error_code error;
        if (value && *value == '/' && std::filesystem::is_directory(value, error))
            return value;
    }
    return "/tmp";
}

bool WritePrivateFile(const std::string& path, const std::string& content)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    // The umask may only take bits away, but be exact about who may read a password.
    bool written = fchmod(fd, 0600) == 0;
    std::size_t offset = 0;
    while (written && offset < content.size()) {
        const auto count = write(fd, content.data() + offset, content.size() - offset);
        written = count > 0;
        if (written)
            offset += static_cast<std::size_t>(count);
    }
    return close(fd) == 0 && written;
}

} // namespace

std::string WithoutSeparators(std::string_view number)
{
    std::string digits;
    std::copy_if(number.begin(), number.end(), std::back_inserter(digits),
                 [](char c) { return std::string_view(" -.()").find(c) == std::string_view::npos; });
    return digits;
}

bool IsDialableNumber(std::string_view number)
{
    return !number.empty() && std::all_of(number.begin(), number.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '*' || c == '#' || c == '+' || c == ',';
    });
}

bool IsPlainText(std::string_view text)
{
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

std::string ChatScript(std::string_view number)
{
    return "ABORT BUSY\n"
           "ABORT 'NO CARRIER'\n"
           "ABORT 'NO ANSWER'\n"
           "ABORT 'NO DIALTONE'\n"
           "ABORT ERROR\n"
           "TIMEOUT 60\n"
           "'' AT\n"
           "OK ATDT" +
           std::string(number) +
           "\n"
           "CONNECT ''\n";
}

std::string PasswordOptions(std::string_view password)
{
    if (password.empty())
        return "";
    std::string word = "password \"";
    for (const char c : password) {
        if (c == '\\' || c == '"')
            word += '\\';
        word += c;
    }
    return word + "\"\n";
}

std::string ShellQuote(std::string_view text)
{
    std::string quoted = "'";
    for (const char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

std::unique_ptr<DialFiles> DialFiles::Create(const DialRequest& request)
{
    std::string pattern = PrivateFolderBase() + "/usbmodem-dial-XXXXXX";
    if (!mkdtemp(pattern.data()))
        return nullptr;
    std::unique_ptr<DialFiles> files(new DialFiles(pattern));
    if (!WritePrivateFile(files->OptionsPath(), PasswordOptions(request.password)) ||
        !WritePrivateFile(files->ChatScriptPath(), ChatScript(request.phoneNumber)))
        return nullptr;
    return files;
}

DialFiles::DialFiles(std::string folder)
    : m_folder(std::move(folder))
{
}

DialFiles::~DialFiles()
{
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

std::vector<std::string> PppdArguments(const DialRequest& request, const DialFiles& files)
{
    const auto chat = ConfiguredProgram("MODEM_CHAT", "/usr/sbin/chat");
    std::vector<std::string> arguments = {
        ConfiguredProgram("MODEM_PPPD", "/usr/sbin/pppd"),
        request.devicePath, "115200", "crtscts", "modem", "lock", "nodetach", "logfd", "2",
        "noipdefault", "defaultroute", "usepeerdns",
        "connect", ShellQuote(chat) + " -v -s -f " + ShellQuote(files.ChatScriptPath()),
        "file", files.OptionsPath(),
    };
    if (!request.userName.empty())
        arguments.insert(arguments.end(), {"user", request.userName});
    // Only root may waive the peer's authentication; other users get pppd's default, which asks
    // for it only while the machine already has a default route.
    if (geteuid() == 0)
        arguments.push_back("noauth");
    return arguments;
}
