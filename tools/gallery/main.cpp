// gallery: every standard control of the class library in one window (or, with --controls, every
// control of the product's own control library), each shown enabled and disabled, for a developer
// to look at how they draw; with --tabs, the library's page control in every tab shape on every side. The display is chosen as every program of
// ours chooses it: MODEM_DISPLAY=headless keeps the screen in memory, otherwise X11 (DISPLAY).
//
//   --controls         show the product's own control library instead of the standard controls
//   --tabs             show the control library's page control in every tab shape and orientation
//   --grid-tools       show the grid's data-aware editors, an open drop-down, the calculator and a data grid
//   --screenshot FILE  headless only: save the screen as a PNG once the window is shown, then end
//   --quit-after MS    end after MS milliseconds (an outside tool takes its picture meanwhile)
//   --skin FILE        skin the window with the packed skin in FILE (assets/skin/modem.skn)
//   --menu             give the window a menu bar and open its File drop-down once shown

#include "grid/core/DBGridGxUnit.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "tools/gallery/ControlsGalleryForm.h"
#include "tools/gallery/GalleryForm.h"
#include "tools/gallery/GalleryMenu.h"
#include "tools/gallery/GridToolsGalleryForm.h"
#include "tools/gallery/GallerySkin.h"
#include "tools/gallery/TabsGalleryForm.h"

#include <charconv>
#include <functional>
#include <iostream>
#include <optional>
#include <string>
#include <utility>

namespace {

// Long enough for every control to have painted: the timer waits behind the paint messages.
constexpr unsigned SCREENSHOT_DELAY_MS = 300;

struct Options {
    GalleryPage page = GalleryPage::Standard;
    std::string screenshot;
    std::optional<unsigned> quitAfterMs;
    std::string skinFile;
    bool menu = false;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--controls") {
            options.page = GalleryPage::Controls;
        } else if (arg == "--tabs") {
            options.page = GalleryPage::Tabs;
        } else if (arg == "--grid-tools") {
            options.page = GalleryPage::GridTools;
        } else if (arg == "--screenshot" && hasValue) {
            options.screenshot = argv[++i];
        } else if (arg == "--menu") {
            options.menu = true;
        } else if (arg == "--skin" && hasValue) {
            options.skinFile = argv[++i];
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

// Calls `action` once, `delayMs` after the form was shown (the loop runs it).
void After(TForm& form, unsigned delayMs, std::function<void()> action)
{
    auto* timer = new TTimer(&form);
    timer->SetInterval(delayMs);
    timer->SetOnTimer(TNotifyEvent::FromFunction([timer, action = std::move(action)](TObject*) {
        timer->SetEnabled(false);
        action();
    }));
}

template <class F>
TForm* CreateForm()
{
    F* form = nullptr;
    Application->CreateForm(form);
    return form;
}

TForm* CreateGalleryForm(GalleryPage page)
{
    switch (page) {
    case GalleryPage::Controls: return CreateForm<TControlsGalleryForm>();
    case GalleryPage::Tabs: return CreateForm<TTabsGalleryForm>();
    case GalleryPage::GridTools: return CreateForm<TGridToolsGalleryForm>();
    case GalleryPage::Standard: break;
    }
    return CreateForm<TGalleryForm>();
}

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: gallery [--controls | --tabs | --grid-tools] [--screenshot FILE] [--quit-after MS] [--skin FILE] [--menu]\n";
        return 2;
    }
    const DisplayBackend* display = SelectProgramDisplay("gallery");
    if (!display)
        return 1;
    if (!options->screenshot.empty() && display->Name() != "headless") {
        std::cerr << "gallery: --screenshot needs MODEM_DISPLAY=headless; on X11 take the picture from outside "
                     "(with --quit-after)\n";
        return 2;
    }

    int exitCode = 0;
    Application->Initialize();
    const TGridUnitScope gridUnit;
    Application->SetTitle("Gallery");
    TForm* form = CreateGalleryForm(options->page);
    if (options->menu)
        AddGalleryMenu(*form, options->page, true);
    if (!options->skinFile.empty() && !SkinGallery(*form, options->skinFile))
        return 1;
    if (!options->screenshot.empty())
        After(*form, SCREENSHOT_DELAY_MS, [&] {
            if (!SaveScreen(options->screenshot))
                exitCode = 1;
            form->Close();
        });
    if (options->quitAfterMs)
        After(*form, *options->quitAfterMs, [form] { form->Close(); });
    Application->Run();
    if (!options->skinFile.empty())
        EndGallerySkin();
    return exitCode;
}
