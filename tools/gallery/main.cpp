// gallery: every standard control of the class library in one window, each shown enabled and
// disabled, for a developer to look at how they draw. The display is chosen as every program of
// ours chooses it: MODEM_DISPLAY=headless keeps the screen in memory, otherwise X11 (DISPLAY).
//
//   --screenshot FILE  headless only: save the screen as a PNG once the window is shown, then end
//   --quit-after MS    end after MS milliseconds (an outside tool takes its picture meanwhile)

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "tools/gallery/GalleryForm.h"

#include <charconv>
#include <iostream>
#include <optional>
#include <string>

namespace {

// Long enough for every control to have painted: the timer waits behind the paint messages.
constexpr unsigned SCREENSHOT_DELAY_MS = 300;

struct Options {
    std::string screenshot;
    std::optional<unsigned> quitAfterMs;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else if (arg == "--quit-after" && hasValue) {
            const std::string value = argv[++i];
            unsigned ms = 0;
            const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
            if (error != std::errc() || end != value.data() + value.size())
                return std::nullopt;
            options.quitAfterMs = ms;
        } else {
            return std::nullopt;
        }
    }
    return options;
}

bool SaveScreen(const std::string& path)
{
    auto* headless = dynamic_cast<HeadlessDisplay*>(&Display());
    if (headless && headless->SaveScreenPng(path))
        return true;
    std::cerr << "gallery: cannot save the screen to " << path << "\n";
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: gallery [--screenshot FILE] [--quit-after MS]\n";
        return 2;
    }
    try {
        const DisplayBackend& display = SelectDisplay("");
        if (!options->screenshot.empty() && display.Name() != "headless") {
            std::cerr << "gallery: --screenshot needs MODEM_DISPLAY=headless; on X11 take the picture from outside "
                         "(with --quit-after)\n";
            return 2;
        }
    } catch (const EDisplayError& error) {
        std::cerr << "gallery: " << error.Message() << "\n";
        return 1;
    }

    int exitCode = 0;
    Application->Initialize();
    Application->SetTitle("Gallery");
    TGalleryForm* form = nullptr;
    Application->CreateForm(form);
    if (!options->screenshot.empty())
        form->After(SCREENSHOT_DELAY_MS, [&] {
            if (!SaveScreen(options->screenshot))
                exitCode = 1;
            form->Close();
        });
    if (options->quitAfterMs)
        form->After(*options->quitAfterMs, [form] { form->Close(); });
    Application->Run();
    return exitCode;
}
