// griddemo: a data grid over a sample call list, with titles that sort and size, a filter row,
// record marks, a tick column, footers and the find dialog, for a developer to look at how it
// draws and answers. The display is chosen as every program of ours
// chooses it: MODEM_DISPLAY=headless keeps the screen in memory, otherwise X11 (DISPLAY).
//
//   --database FILE    the SQLite file the sample goes to (default: griddemo.db in the temp folder)
//   --quit-after MS    end after MS milliseconds (an outside tool takes its picture meanwhile)

#include "grid/core/DBGridGxUnit.h"
#include "grid/tools/GridTools.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/DisplayBackend.h"
#include "tools/griddemo/GridDemoForm.h"

#include <charconv>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

namespace {

struct Options {
    std::string database = (std::filesystem::temp_directory_path() / "griddemo.db").string();
    std::optional<unsigned> quitAfterMs;
};

std::optional<Options> ParseOptions(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (i + 1 >= argc)
            return std::nullopt;
        const std::string value = argv[++i];
        if (arg == "--database") {
            options.database = value;
        } else if (arg == "--quit-after") {
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

} // namespace

int main(int argc, char** argv)
{
    const auto options = ParseOptions(argc, argv);
    if (!options) {
        std::cerr << "usage: griddemo [--database FILE] [--quit-after MS]\n";
        return 2;
    }
    if (!SelectProgramDisplay("griddemo"))
        return 1;
    Application->Initialize();
    const TGridUnitScope gridUnit;
    RegisterGridTools();
    Application->SetTitle("Data Grid");
    TGridDemoForm::SetDatabase(options->database);
    TGridDemoForm* form = nullptr;
    Application->CreateForm(form);
    if (options->quitAfterMs) {
        auto* timer = new TTimer(form);
        timer->SetInterval(*options->quitAfterMs);
        timer->SetOnTimer(TNotifyEvent::FromFunction([form](TObject*) { form->Close(); }));
    }
    Application->Run();
    return 0;
}
