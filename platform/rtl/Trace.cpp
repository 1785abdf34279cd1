#include "platform/rtl/Trace.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace rtl::detail {

constinit std::atomic<TraceChannels> g_traceChannels{TraceUnread};

} // namespace rtl::detail

namespace {

constexpr std::array<std::string_view, static_cast<std::size_t>(TraceChannel::Count)> ChannelNames = {
    "ras", "display", "messages", "comm", "serial", "mci"};

constexpr TraceChannels AllChannels = (TraceChannels{1} << static_cast<unsigned>(TraceChannel::Count)) - 1;

// Serialises whole lines, so that two threads' lines never interleave.
std::mutex& OutputMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool IsSeparator(char c)
{
    return c == ',' || c == ' ' || c == '\t';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view written, std::string_view name)
{
    if (written.size() != name.size())
        return false;
    for (std::size_t index = 0; index < name.size(); ++index)
        if (LowerAscii(written[index]) != name[index])
            return false;
    return true;
}

TraceChannels ChannelsNamed(std::string_view name)
{
    if (SameName(name, "all"))
        return AllChannels;
    for (std::size_t index = 0; index < ChannelNames.size(); ++index)
        if (SameName(name, ChannelNames[index]))
            return TraceBit(static_cast<TraceChannel>(index));
    return 0;
}

void ReportUnknown(const std::vector<std::string>& unknown)
{
    if (unknown.empty())
        return;
    std::string text = "MODEM_TRACE names no channel";
    for (const auto& name : unknown)
        text += " \"" + name + "\"";
    text += "; the channels are all";
    for (const auto name : ChannelNames)
        text += ", " + std::string(name);
    text += "\n";
    std::lock_guard lock(OutputMutex());
    std::fputs(("trace: " + text).c_str(), stderr);
}

TraceChannels Apply(std::string_view channelList)
{
    const auto parsed = ParseTraceChannels(channelList);
    rtl::detail::g_traceChannels.store(parsed.channels, std::memory_order_relaxed);
    ReportUnknown(parsed.unknown);
    return parsed.channels;
}

std::string_view EnvironmentChannelList()
{
    const char* value = std::getenv("MODEM_TRACE");
    return value ? value : "";
}

} // namespace

namespace rtl::detail {

TraceChannels ReadTraceEnvironment()
{
    // Two threads may both get here first; they read the same variable and store the same value,
    // but only one of them reports a misspelt name.
    static std::once_flag read;
    std::call_once(read, [] { (void)Apply(EnvironmentChannelList()); });
    return g_traceChannels.load(std::memory_order_relaxed);
}

} // namespace rtl::detail

void TraceLine(TraceChannel channel, std::string_view text)
{
    std::string line;
    line.reserve(text.size() + 16);
    line += TraceChannelName(channel);
    line += ": ";
    line += text;
    line += '\n';
    std::lock_guard lock(OutputMutex());
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

std::string_view TraceChannelName(TraceChannel channel)
{
    const auto index = static_cast<std::size_t>(channel);
    return index < ChannelNames.size() ? ChannelNames[index] : "trace";
}

ParsedTraceChannels ParseTraceChannels(std::string_view channelList)
{
    ParsedTraceChannels parsed;
    std::size_t position = 0;
    while (position < channelList.size()) {
        if (IsSeparator(channelList[position])) {
            ++position;
            continue;
        }
        std::size_t end = position;
        while (end < channelList.size() && !IsSeparator(channelList[end]))
            ++end;
        const auto name = channelList.substr(position, end - position);
        const TraceChannels channels = ChannelsNamed(name);
        if (channels)
            parsed.channels |= channels;
        else
            parsed.unknown.emplace_back(name);
        position = end;
    }
    return parsed;
}

void SetTraceChannels(std::string_view channelList)
{
    (void)Apply(channelList);
}

void ReloadTraceChannels()
{
    (void)Apply(EnvironmentChannelList());
}

std::string TraceEscaped(std::string_view bytes)
{
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\r': text += "\\r"; continue;
        case '\n': text += "\\n"; continue;
        case '\t': text += "\\t"; continue;
        case '\\': text += "\\\\"; continue;
        case '"': text += "\\\""; continue;
        default: break;
        }
        if (byte >= 0x20 && byte < 0x7F) {
            text += c;
            continue;
        }
        text += "\\x";
        text += Hex[byte >> 4];
        text += Hex[byte & 0x0F];
    }
    return text;
}
