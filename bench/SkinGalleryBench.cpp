// The cost of skinning on a full repaint of the gallery: its standard page and the control
// library's page, each beside itself unskinned, on the headless screen. The goal is a skinned
// repaint within twice the unskinned one.

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "skin/SkinManage.h"
#include "skin/WinSkinForm.h"
#include "tools/gallery/ControlsGalleryForm.h"
#include "tools/gallery/GalleryForm.h"
#include "tools/gallery/GallerySkin.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

enum Page { Standard = 0, Library = 1 };
enum Skinning { Unskinned = 0, Skinned = 1 };

const std::string SkinFile = std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem.skn";

std::unique_ptr<TForm> MakePage(Page page)
{
    if (page == Library)
        return std::make_unique<TControlsGalleryForm>(nullptr);
    return std::make_unique<TGalleryForm>(nullptr);
}

// Shown, and skinned through to its first skinned paint when asked.
void Show(TForm& form, Skinning skinning)
{
    if (skinning == Skinned && !SkinGallery(form, SkinFile))
        throw std::runtime_error("no skin in " + SkinFile);
    form.Show();
    for (;;) {
        Application->ProcessMessages();
        if (skinning == Unskinned)
            return;
        const TWinSkinForm* skinner = SkinManager() ? SkinManager()->FindFormSkinner(form.Handle()) : nullptr;
        if (skinner && skinner->Lifecycle() == TWinSkinForm::Running)
            return;
    }
}

void RepaintGallery(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    FakeClock clock;
    const auto page = static_cast<Page>(state.range(0));
    const auto skinning = static_cast<Skinning>(state.range(1));
    auto form = MakePage(page);
    Show(*form, skinning);
    const HWND window = form->Handle();
    for (auto _ : state)
        (void)RedrawWindow(window, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    state.SetLabel(std::string(page == Library ? "library" : "standard") +
                   (skinning == Skinned ? ", skinned" : ", unskinned"));
    EndGallerySkin();
    form.reset();
    Application->ProcessMessages();
}
BENCHMARK(RepaintGallery)
    ->ArgsProduct({{Standard, Library}, {Unskinned, Skinned}})
    ->Unit(benchmark::kMillisecond);

} // namespace
