#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Diagnostic tracing: one channel per module, all switched by the MODEM_TRACE environment
// variable, a comma-separated list of channel names or "all" (MODEM_TRACE=ras,messages). Lines
// go to standard error as "<channel>: <text>", whole, whichever thread writes them.
//
// A trace point costs one load and a test when its channel is off, so callers check first and
// build their text only when it will be written:
//
//     if (TraceEnabled(TraceChannel::Comm))
//         TraceLine(TraceChannel::Comm, "tx " + TraceEscaped(bytes));

enum class TraceChannel : unsigned {
    Ras,      // pppd's log lines, as the dial-up stand-in reads them
    Display,  // the display backends: errors the window system reports
    Messages, // every message a window procedure is called with, sent or dispatched
    Comm,     // serial ports: open, bytes in and out, a vanished device
    Serial,   // the serial-port component: open, close, refused writes, line events it reports
    Mci,      // the MIDI player: devices opened and closed, the audio output, FluidSynth's messages
    Count
};

using TraceChannels = std::uint32_t;

namespace rtl::detail {

// Bit per channel; TraceUnread until the environment has been read, so that a trace point run
// before (or during) static initialisation still sees MODEM_TRACE.
inline constexpr TraceChannels TraceUnread = 1u << 31;
extern std::atomic<TraceChannels> g_traceChannels;
[[nodiscard]] TraceChannels ReadTraceEnvironment();

} // namespace rtl::detail

[[nodiscard]] constexpr TraceChannels TraceBit(TraceChannel channel)
{
    return TraceChannels{1} << static_cast<unsigned>(channel);
}

[[nodiscard]] inline bool TraceEnabled(TraceChannel channel)
{
    TraceChannels channels = rtl::detail::g_traceChannels.load(std::memory_order_relaxed);
    if (channels & rtl::detail::TraceUnread) [[unlikely]]
        channels = rtl::detail::ReadTraceEnvironment();
    return (channels & TraceBit(channel)) != 0;
}

// Writes "<channel>: <text>\n" to standard error in one piece. Writes even when the channel is
// off: the caller has checked.
void TraceLine(TraceChannel channel, std::string_view text);

// The name MODEM_TRACE uses for a channel ("ras", "messages"...).
[[nodiscard]] std::string_view TraceChannelName(TraceChannel channel);

struct ParsedTraceChannels {
    TraceChannels channels = 0;
    std::vector<std::string> unknown; // names that are no channel, as written
};

// Reads a MODEM_TRACE value: names separated by commas or spaces, in any case; "all" names
// every channel. Empty names are skipped.
[[nodiscard]] ParsedTraceChannels ParseTraceChannels(std::string_view channelList);

// Switches the channels a list names on and every other one off, as if MODEM_TRACE had held it.
// An unknown name is reported once on the standard error, with the list of channels.
void SetTraceChannels(std::string_view channelList);
// Reads MODEM_TRACE again (all off when it is unset).
void ReloadTraceChannels();

// Bytes as readable text: printable ASCII as is, backslash, quote and every other byte escaped
// ("\r", "\n", "\x1A"), so that a line of modem traffic stays one line of trace.
[[nodiscard]] std::string TraceEscaped(std::string_view bytes);
