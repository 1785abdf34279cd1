#include "tests/support/Xdotool.h"

#include "tests/support/ChildProgram.h"

#include <utility>

std::optional<Xdotool> Xdotool::Find(const std::string& display, std::filesystem::path errorFile)
{
    for (const char* path : {"/usr/bin/xdotool", "/usr/local/bin/xdotool"})
        if (std::filesystem::exists(path))
            return Xdotool(path, display, std::move(errorFile));
    return std::nullopt;
}

Xdotool::Xdotool(std::string program, std::string display, std::filesystem::path errorFile)
    : m_program(std::move(program)), m_display(std::move(display)), m_errorFile(std::move(errorFile))
{
}

bool Xdotool::Click(int screenX, int screenY) const
{
    return Run({"mousemove", std::to_string(screenX), std::to_string(screenY), "click", "1"});
}

bool Xdotool::DoubleClick(int screenX, int screenY) const
{
    return Run({"mousemove", std::to_string(screenX), std::to_string(screenY), "click", "--repeat", "2", "--delay",
                "80", "1"});
}

bool Xdotool::Key(const std::string& keyName) const
{
    return Run({"key", keyName});
}

bool Xdotool::Drag(int fromX, int fromY, int toX, int toY) const
{
    const auto at = [](int value) { return std::to_string(value); };
    // At a hand's pace: each step is its own burst of events for the program.
    return Run({"mousemove", at(fromX), at(fromY), "sleep", "0.2", "mousedown", "1", "sleep", "0.2", "mousemove",
                at((fromX + toX) / 2), at((fromY + toY) / 2), "sleep", "0.2", "mousemove", at(toX), at(toY), "sleep",
                "0.2", "mouseup", "1"});
}

bool Xdotool::WindowShown(const std::string& name) const
{
    return Run({"search", "--onlyvisible", "--name", "^" + name + "$"});
}

bool Xdotool::Run(const std::vector<std::string>& args) const
{
    ChildProgram xdotool(m_program, args, {{"DISPLAY", m_display}}, m_errorFile);
    return xdotool.AwaitExit() == 0;
}
