#include "platform/winapi/devices/DeviceOverlay.h"

#include "platform/winapi/devices/ComNames.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <mutex>
#include <optional>

namespace {

std::string_view Trim(std::string_view text)
{
    const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// Why `path` cannot name a key, or empty when it can.
std::string KeyPathProblem(std::string_view path)
{
    while (!path.empty() && path.back() == '\\')
        path.remove_suffix(1);
    if (path.empty())
        return {};
    std::size_t start = 0;
    while (start <= path.size()) {
        const auto end = std::min(path.find('\\', start), path.size());
        const auto length = end - start;
        if (length == 0)
            return "empty key name in the path";
        if (length > MaxKeyNameLength)
            return "key name longer than " + std::to_string(MaxKeyNameLength) + " characters";
        start = end + 1;
    }
    return {};
}

class OverlayParser {
public:
    DeviceOverlay Parse(std::string_view text)
    {
        std::size_t lineNumber = 0;
        while (!text.empty()) {
            const auto end = text.find('\n');
            const auto line = text.substr(0, end);
            text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
            ++lineNumber;
            if (line.size() > MaxOverlayLineLength)
                Fail(lineNumber, "line longer than " + std::to_string(MaxOverlayLineLength) + " characters");
            else
                ParseLine(lineNumber, Trim(line));
        }
        return std::move(m_overlay);
    }

private:
    enum class Section { None, Ports, Usb, Key, RemovedKey, Invalid };

    void Fail(std::size_t lineNumber, const std::string& problem)
    {
        m_overlay.errors.push_back("line " + std::to_string(lineNumber) + ": " + problem);
    }

    void ParseLine(std::size_t lineNumber, std::string_view line)
    {
        if (line.empty() || line.front() == ';' || line.front() == '#')
            return;
        if (line.front() == '[') {
            ParseSectionHeader(lineNumber, line);
            return;
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            Fail(lineNumber, "expected name=data");
            return;
        }
        ParseEntry(lineNumber, Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
    }

    void ParseSectionHeader(std::size_t lineNumber, std::string_view line)
    {
        m_section = Section::Invalid;
        if (line.back() != ']') {
            Fail(lineNumber, "section header without closing ']'");
            return;
        }
        auto name = Trim(line.substr(1, line.size() - 2));
        if (SameRegistryName(name, "ports") || SameRegistryName(name, "usb")) {
            m_section = SameRegistryName(name, "ports") ? Section::Ports : Section::Usb;
            return;
        }
        const bool removeKey = !name.empty() && name.front() == '-';
        if (removeKey)
            name.remove_prefix(1);
        const auto slash = name.find('\\');
        const auto root = RegistryRootFromName(name.substr(0, slash));
        if (!root) {
            Fail(lineNumber, "section is neither [ports] nor a key under a registry root");
            return;
        }
        const auto path = slash == std::string_view::npos ? std::string_view() : name.substr(slash + 1);
        if (const auto problem = KeyPathProblem(path); !problem.empty()) {
            Fail(lineNumber, problem);
            return;
        }
        if (removeKey && path.empty()) {
            Fail(lineNumber, "a registry root cannot be removed");
            return;
        }
        m_overlay.keys.push_back({*root, std::string(path), removeKey, {}});
        m_section = removeKey ? Section::RemovedKey : Section::Key;
    }

    void ParseEntry(std::size_t lineNumber, std::string_view name, std::string_view data)
    {
        switch (m_section) {
        case Section::None:
            Fail(lineNumber, "entry outside any section");
            return;
        case Section::Invalid:
            return; // the header's error was reported already
        case Section::RemovedKey:
            Fail(lineNumber, "a removed key takes no values");
            return;
        case Section::Ports:
            ParsePort(lineNumber, name, data);
            return;
        case Section::Usb:
            ParseUsbPort(lineNumber, name, data);
            return;
        case Section::Key:
            if (name.empty())
                Fail(lineNumber, "empty value name");
            else
                m_overlay.keys.back().values.emplace_back(std::string(name), std::string(data));
            return;
        }
    }

    std::optional<std::string> ComName(std::size_t lineNumber, std::string_view name)
    {
        auto comName = NormalizeComName(std::string(name));
        if (!comName)
            Fail(lineNumber, "port name is not COM1 to COM255");
        return comName;
    }

    bool CheckDevicePath(std::size_t lineNumber, std::string_view path)
    {
        if (!path.empty() && path.front() == '/')
            return true;
        Fail(lineNumber, "device path is not absolute");
        return false;
    }

    void ParsePort(std::size_t lineNumber, std::string_view name, std::string_view data)
    {
        const auto comName = ComName(lineNumber, name);
        if (!comName || !CheckDevicePath(lineNumber, data))
            return;
        auto& ports = m_overlay.ports;
        std::erase_if(ports, [&](const auto& port) { return port.first == *comName; });
        ports.emplace_back(*comName, std::string(data));
    }

    // COMn=<device path> <vvvv>:<pppp>:<nn> [description]
    void ParseUsbPort(std::size_t lineNumber, std::string_view name, std::string_view data)
    {
        const auto comName = ComName(lineNumber, name);
        const auto pathEnd = data.find_first_of(" \t");
        const auto path = data.substr(0, pathEnd);
        if (!comName || !CheckDevicePath(lineNumber, path))
            return;
        const auto rest = pathEnd == std::string_view::npos ? std::string_view() : Trim(data.substr(pathEnd));
        const auto idsEnd = rest.find_first_of(" \t");
        auto info = ParseUsbIds(rest.substr(0, idsEnd));
        if (!info) {
            Fail(lineNumber, "expected <device path> <vendor>:<product>:<interface> in hex, as 05c6:3197:00");
            return;
        }
        info->instance = "Overlay&" + *comName;
        info->description = idsEnd == std::string_view::npos ? std::string() : std::string(Trim(rest.substr(idsEnd)));
        info->driver = "overlay";
        info->comName = *comName;
        info->devicePath = std::string(path);
        auto& usbPorts = m_overlay.usbPorts;
        std::erase_if(usbPorts, [&](const auto& port) { return port.comName == *comName; });
        usbPorts.push_back(std::move(*info));
    }

    static std::optional<UsbInterfaceInfo> ParseUsbIds(std::string_view ids)
    {
        const auto isHex = [](std::string_view text) {
            return std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
        };
        if (ids.size() != 12 || ids[4] != ':' || ids[9] != ':')
            return std::nullopt;
        const auto vendor = ids.substr(0, 4), product = ids.substr(5, 4), number = ids.substr(10, 2);
        if (!isHex(vendor) || !isHex(product) || !isHex(number))
            return std::nullopt;
        const auto lower = [](std::string_view text) {
            std::string result(text);
            std::transform(result.begin(), result.end(), result.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            return result;
        };
        UsbInterfaceInfo info;
        info.vendorId = lower(vendor);
        info.productId = lower(product);
        info.interfaceNumber = std::stoi(std::string(number), nullptr, 16);
        return info;
    }

    DeviceOverlay m_overlay;
    Section m_section = Section::None;
};

void ReportOnce(const std::string& path, const std::string& text, const DeviceOverlay& overlay)
{
    static std::mutex lock;
    static std::string lastReported;
    if (overlay.errors.empty())
        return;
    std::lock_guard guard(lock);
    const auto signature = path + '\n' + text;
    if (signature == lastReported)
        return;
    lastReported = signature;
    for (const auto& error : overlay.errors)
        std::cerr << "device overlay " << path << ": " << error << '\n';
}

} // namespace

void DeviceOverlay::ApplyTo(RegistryRoot root, RegistryTree& tree) const
{
    for (const auto& edit : keys) {
        if (edit.root != root)
            continue;
        if (edit.removeKey) {
            tree.Remove(edit.path);
            continue;
        }
        auto* key = tree.Force(edit.path);
        if (!key)
            continue; // the parser lets no malformed path through
        for (const auto& [name, data] : edit.values)
            key->SetValue(name, data);
    }
}

DeviceOverlay ParseDeviceOverlay(std::string_view text)
{
    if (text.size() > MaxOverlayFileSize) {
        DeviceOverlay refused;
        refused.errors.push_back("file larger than " + std::to_string(MaxOverlayFileSize) + " bytes, ignored");
        return refused;
    }
    return OverlayParser().Parse(text);
}

DeviceOverlay LoadDeviceOverlay(const std::string& path)
{
    // No file is no overlay: the simulated modem unplugs itself by removing its file.
    std::error_code ignored;
    if (path.empty() || !std::filesystem::exists(path, ignored))
        return {};
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in) {
        // One byte more than the limit is enough to know the file is too large.
        text.resize(MaxOverlayFileSize + 1);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    DeviceOverlay overlay;
    if (!in && !in.eof())
        overlay.errors.push_back("cannot be read");
    else
        overlay = ParseDeviceOverlay(text);
    ReportOnce(path, text, overlay);
    return overlay;
}
