// fakemodem: the simulated CDMA USB modem on a pseudo-terminal, for running the manager without
// the device. It prints the overlay to export, then the line's traffic as it happens; with
// --interactive it takes commands on standard input ("help" lists them). It ends on "quit", at
// the end of input, or on SIGINT/SIGTERM/SIGHUP, removing its overlay.

#include "platform/winapi/devices/ComNames.h"
#include "tools/fakemodem/lib/ConsoleCommands.h"
#include "tools/fakemodem/lib/FakeModem.h"

#include <poll.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

struct ProgramOptions {
    FakeModemOptions modem;
    bool interactive = false;
};

void PrintUsage(std::ostream& out)
{
    out << "usage: fakemodem [--overlay FILE] [--com COMn] [--signal N] [--interactive]\n";
}

std::optional<ProgramOptions> ParseArguments(int argc, char** argv)
{
    ProgramOptions options;
    // A phone keeps ringing until it is answered; the manager counts a call as missed after 10 s
    // without a RING.
    options.modem.settings.ringInterval = std::chrono::milliseconds(3000);
    for (int index = 1; index < argc; ++index) {
        const std::string argument = argv[index];
        const bool hasValue = index + 1 < argc;
        if (argument == "--interactive") {
            options.interactive = true;
        } else if (argument == "--overlay" && hasValue) {
            options.modem.overlayPath = argv[++index];
        } else if (argument == "--com" && hasValue) {
            const auto name = NormalizeComName(argv[++index]);
            if (!name) {
                std::cerr << "fakemodem: not a COM name: " << argv[index] << '\n';
                return std::nullopt;
            }
            options.modem.comName = *name;
        } else if (argument == "--signal" && hasValue) {
            const std::string text = argv[++index];
            int value = -1;
            const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (error != std::errc() || end != text.data() + text.size() || !IsSignalValue(value)) {
                std::cerr << "fakemodem: a signal value is 0 to 31, or 99\n";
                return std::nullopt;
            }
            options.modem.settings.signal = value;
        } else {
            PrintUsage(std::cerr);
            return std::nullopt;
        }
    }
    return options;
}

// Takes the ending signals as readable events, so the main loop ends cleanly on them.
int TakeEndingSignals()
{
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr); // before any thread starts, so all inherit it
    return signalfd(-1, &signals, SFD_CLOEXEC);
}

// Reads standard input in chunks and hands out whole lines.
class LineInput {
public:
    // False at the end of input.
    bool ReadAvailable()
    {
        char buffer[1024];
        const ssize_t got = read(STDIN_FILENO, buffer, sizeof(buffer));
        if (got < 0)
            return errno == EINTR || errno == EAGAIN;
        m_pending.append(buffer, static_cast<std::size_t>(got));
        return got > 0;
    }
    std::optional<std::string> NextLine()
    {
        const auto end = m_pending.find('\n');
        if (end == std::string::npos)
            return std::nullopt;
        std::string line = m_pending.substr(0, end);
        m_pending.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        return line;
    }

private:
    std::string m_pending;
};

void Serve(FakeModem& modem, int signalFd, bool interactive)
{
    LineInput input;
    pollfd fds[2] = {{signalFd, POLLIN, 0}, {interactive ? STDIN_FILENO : -1, POLLIN, 0}};
    while (true) {
        if (interactive)
            std::cout << "> " << std::flush;
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            return;
        if (fds[0].revents & POLLIN)
            return;
        if (!(fds[1].revents & (POLLIN | POLLHUP)))
            continue;
        const bool more = input.ReadAvailable();
        while (const auto line = input.NextLine()) {
            try {
                if (RunConsoleCommand(modem, *line, std::cout) == ConsoleResult::Quit)
                    return;
            } catch (const std::exception& error) {
                std::cout << "error: " << error.what() << '\n';
            }
        }
        if (!more)
            return;
    }
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseArguments(argc, argv);
    if (!options)
        return 2;
    const int signalFd = TakeEndingSignals();
    if (signalFd < 0) {
        std::cerr << "fakemodem: cannot take the ending signals: " << std::strerror(errno) << '\n';
        return 1;
    }
    try {
        FakeModem modem(options->modem);
        std::cout << "fakemodem: " << modem.ComName() << " on " << modem.DevicePath() << '\n'
                  << "fakemodem: the manager finds it with\n"
                  << "  export MODEM_DEVICE_OVERLAY=" << modem.OverlayPath() << '\n';
        if (options->interactive)
            PrintConsoleHelp(std::cout);
        std::cout << std::flush;
        modem.GetTranscript().SetListener([](const std::string& line) { std::cout << line << std::endl; });
        Serve(modem, signalFd, options->interactive);
        modem.GetTranscript().SetListener(nullptr);
        modem.Stop();
        std::cout << "fakemodem: stopped, overlay removed\n";
    } catch (const std::exception& error) {
        std::cerr << "fakemodem: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
