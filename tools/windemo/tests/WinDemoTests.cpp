#include "XScreenshot.h"
#include "platform/winapi/user/WinUser.h"
#include "tests/support/TempDir.h"
#include "tests/support/Xvfb.h"
#include "tools/windemo/DemoLayout.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <thread>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Generous: the demo starts slowly under the sanitizers on a loaded machine.
constexpr auto PATIENCE = 60s;

// The demo program running with its own environment; stopped when the object goes if it has not
// ended by itself.
class DemoProcess {
public:
    // `environment` replaces these variables of ours; an empty value removes one.
    DemoProcess(const std::vector<std::string>& args, const std::vector<std::pair<std::string, std::string>>& environment,
                const std::filesystem::path& errorFile)
    {
        std::vector<std::string> argv = {WINDEMO_PROGRAM};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<std::string> envp;
        for (char** entry = environ; *entry; ++entry) {
            const std::string variable = *entry;
            const bool replaced = std::any_of(environment.begin(), environment.end(),
                                              [&](const auto& pair) { return variable.rfind(pair.first + "=", 0) == 0; });
            if (!replaced)
                envp.push_back(variable);
        }
        for (const auto& [name, value] : environment)
            if (!value.empty())
                envp.push_back(name + "=" + value);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int spawned =
            posix_spawn(&m_pid, argv[0].c_str(), &actions, nullptr, Pointers(argv).data(), Pointers(envp).data());
        posix_spawn_file_actions_destroy(&actions);
        if (spawned != 0)
            m_pid = -1;
    }

    ~DemoProcess()
    {
        if (m_pid > 0 && !m_status) {
            kill(m_pid, SIGKILL);
            waitpid(m_pid, nullptr, 0);
        }
    }

    DemoProcess(const DemoProcess&) = delete;
    DemoProcess& operator=(const DemoProcess&) = delete;

    [[nodiscard]] bool Started() const { return m_pid > 0; }
    [[nodiscard]] bool Running() { return Started() && !Poll(); }

    // The exit code once the program ends by itself; nullopt when it does not in time or was
    // killed by a signal.
    [[nodiscard]] std::optional<int> AwaitExit()
    {
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (Started() && !Poll() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        if (!m_status || !WIFEXITED(*m_status))
            return std::nullopt;
        return WEXITSTATUS(*m_status);
    }

private:
    static std::vector<char*> Pointers(std::vector<std::string>& strings)
    {
        std::vector<char*> pointers;
        for (std::string& s : strings)
            pointers.push_back(s.data());
        pointers.push_back(nullptr);
        return pointers;
    }

    bool Poll()
    {
        if (!m_status) {
            int status = 0;
            if (waitpid(m_pid, &status, WNOHANG) == m_pid)
                m_status = status;
        }
        return m_status.has_value();
    }

    pid_t m_pid = -1;
    std::optional<int> m_status;
};

std::uint32_t Rgb(COLORREF color) { return GetRValue(color) << 16 | GetGValue(color) << 8 | GetBValue(color); }

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Where the demo's window parts lie on the screen.
struct DemoGeometry {
    int frame = GetSystemMetrics(SM_CYFRAME);
    int caption = GetSystemMetrics(SM_CYCAPTION);
    POINT clientOrigin{windemo::WINDOW_RECT.left + frame, windemo::WINDOW_RECT.top + frame + caption};

    [[nodiscard]] POINT Client(int x, int y) const { return {clientOrigin.x + x, clientOrigin.y + y}; }
    [[nodiscard]] POINT ChildCentre() const
    {
        const RECT& c = windemo::CHILD_RECT;
        return Client((c.left + c.right) / 2, (c.top + c.bottom) / 2);
    }
};

class WinDemoTest : public ::testing::Test {
protected:
    TempDir m_dir;
};

// The demo on a private X server, looked at from outside.
class WinDemoOnXTest : public WinDemoTest {
protected:
    void SetUp() override
    {
        if (!XvfbServer::Installed())
            GTEST_SKIP() << "Xvfb is not installed (Debian package xvfb): the demo is not looked at on X";
        m_server = std::make_unique<XvfbServer>();
    }

    // Starts the demo with `args` and returns the first screenshot that `shows` accepts (the last
    // one taken when none does in time).
    Screenshot AwaitScreen(const std::vector<std::string>& args, const std::function<bool(const Screenshot&)>& shows)
    {
        std::vector<std::string> all = args;
        all.insert(all.end(), {"--quit-after", "600000"});
        m_demo = std::make_unique<DemoProcess>(all, std::vector<std::pair<std::string, std::string>>{{"DISPLAY", m_server->Name()}, {"MODEM_DISPLAY", ""}},
                                               m_dir / "stderr.txt");
        Screenshot shot;
        const auto deadline = std::chrono::steady_clock::now() + PATIENCE;
        while (m_demo->Running() && std::chrono::steady_clock::now() < deadline) {
            if (auto taken = TakeXScreenshot(m_server->Name())) {
                shot = std::move(*taken);
                if (shows(shot))
                    break;
            }
            std::this_thread::sleep_for(50ms);
        }
        EXPECT_TRUE(m_demo->Running()) << ReadAll(m_dir / "stderr.txt");
        return shot;
    }

    [[nodiscard]] bool ClientShown(const Screenshot& shot) const
    {
        const POINT client = m_at.Client(10, 10);
        return shot.At(client.x, client.y) == m_face && shot.At(m_at.ChildCentre().x, m_at.ChildCentre().y) == Rgb(windemo::CHILD_COLOR);
    }

    [[nodiscard]] std::uint32_t CaptionStart(const Screenshot& shot) const
    {
        return shot.At(windemo::WINDOW_RECT.left + m_at.frame, windemo::WINDOW_RECT.top + m_at.frame + m_at.caption / 2);
    }

    DemoGeometry m_at;
    std::uint32_t m_face = Rgb(GetSysColor(COLOR_BTNFACE));
    std::uint32_t m_activeCaption = Rgb(GetSysColor(COLOR_ACTIVECAPTION));
    std::unique_ptr<XvfbServer> m_server;
    std::unique_ptr<DemoProcess> m_demo;
};

TEST_F(WinDemoOnXTest, ShowsCaptionClientAndChild)
{
    const Screenshot shot = AwaitScreen({}, [&](const Screenshot& s) { return ClientShown(s); });
    ASSERT_TRUE(ClientShown(shot));

    // The caption band starts just inside the frame, in the active caption colour (the gradient's
    // left end); the frame around it and the desktop beside the window are something else.
    const RECT& window = windemo::WINDOW_RECT;
    const int captionY = window.top + m_at.frame + m_at.caption / 2;
    EXPECT_EQ(CaptionStart(shot), m_activeCaption);
    EXPECT_EQ(shot.At(window.left + m_at.frame, window.top + m_at.frame), m_activeCaption);
    EXPECT_NE(shot.At(window.left + 1, captionY), m_activeCaption);
    EXPECT_NE(shot.At(window.left + m_at.frame, window.top + 1), m_activeCaption);
    EXPECT_NE(shot.At(window.left - 5, captionY), m_activeCaption);
    // The client area starts right below the caption and ends at the frame.
    EXPECT_NE(shot.At(window.left + m_at.frame, m_at.clientOrigin.y - 2), m_face);
    EXPECT_EQ(shot.At(window.left + m_at.frame, m_at.clientOrigin.y), m_face);
    EXPECT_NE(shot.At(m_at.clientOrigin.x, window.bottom + 5), m_face);
}

TEST_F(WinDemoOnXTest, PopupMenuOpensWhereAsked)
{
    // The menu's items are text on the menu colour: dark pixels where the client area is plain.
    const auto menuShown = [&](const Screenshot& s) {
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 60; ++x) {
                const POINT p = m_at.Client(windemo::MENU_POINT.x + x, windemo::MENU_POINT.y + y);
                if (s.At(p.x, p.y) == 0x000000)
                    return ClientShown(s);
            }
        return false;
    };
    EXPECT_TRUE(menuShown(AwaitScreen({"--menu"}, menuShown)));
}

TEST_F(WinDemoOnXTest, MessageBoxTakesTheActiveCaption)
{
    // The box stands over the main window's client area with the active caption; the main
    // window's caption turns inactive.
    const auto boxShown = [&](const Screenshot& s) {
        if (CaptionStart(s) != Rgb(GetSysColor(COLOR_INACTIVECAPTION)))
            return false;
        const RECT& window = windemo::WINDOW_RECT;
        for (int y = m_at.clientOrigin.y; y < window.bottom; ++y)
            for (int x = m_at.clientOrigin.x; x < window.right; ++x)
                if (s.At(x, y) == m_activeCaption)
                    return true;
        return false;
    };
    EXPECT_TRUE(boxShown(AwaitScreen({"--message-box"}, boxShown)));
}

TEST_F(WinDemoTest, HeadlessRunSavesTheScreenWithThePopupMenu)
{
    const auto png = m_dir / "screen.png";
    DemoProcess demo({"--menu", "--screenshot", png.string()}, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
    ASSERT_EQ(demo.AwaitExit(), 0) << ReadAll(m_dir / "stderr.txt");
    EXPECT_EQ(ReadAll(png).substr(0, 8), "\x89PNG\r\n\x1A\n");
}

TEST_F(WinDemoTest, NoReachableDisplayIsAClearError)
{
    DemoProcess demo({}, {{"DISPLAY", ""}, {"MODEM_DISPLAY", ""}}, m_dir / "stderr.txt");
    const auto exitCode = demo.AwaitExit();
    ASSERT_TRUE(exitCode);
    EXPECT_NE(*exitCode, 0);
    EXPECT_NE(ReadAll(m_dir / "stderr.txt").find("DISPLAY"), std::string::npos);
}

TEST_F(WinDemoTest, UnknownOptionsAreRefused)
{
    for (const std::vector<std::string>& args : {std::vector<std::string>{"--no-such-option"},
                                                 std::vector<std::string>{"--quit-after", "soon"}}) {
        DemoProcess demo(args, {{"MODEM_DISPLAY", "headless"}}, m_dir / "stderr.txt");
        EXPECT_EQ(demo.AwaitExit(), 2);
        EXPECT_NE(ReadAll(m_dir / "stderr.txt").find("usage"), std::string::npos);
    }
}

} // namespace
