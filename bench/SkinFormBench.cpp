// The cost of the skinned frame: a 424 x 374 form with 30 controls, from its creation to its
// first skinned paint (the skin read from its package included), and one full repaint, each
// beside the same form unskinned, on the headless screen.

#include "platform/classlib/core/Streams.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "skin/SkinData.h"
#include "skin/SkinManage.h"
#include "skin/WinSkinForm.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

enum Skinning { Unskinned = 0, Skinned = 1 };

const std::string SkinFile = std::string(MODEM_SOURCE_DIR) + "/assets/skin/modem.skn";

// The packed skin, read from disk once.
TMemoryStream& PackedSkin()
{
    static TMemoryStream packed = [] {
        TMemoryStream stream;
        TFileStream file(SkinFile, fmOpenRead);
        stream.CopyFrom(file, file.Size());
        return stream;
    }();
    return packed;
}

template <class C>
void Place(TForm& form, int left, int top, int width, int height)
{
    auto* control = new C(&form);
    control->SetParent(&form);
    control->SetBounds(left, top, width, height);
}

// Three columns of ten: buttons, edits, check boxes.
std::unique_ptr<TForm> MakeForm(Skinning skinning)
{
    auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(40, 40, 424, 374);
    form->SetCaption("Skinned form");
    for (int row = 0; row < 10; ++row) {
        const int top = 8 + row * 32;
        Place<TButton>(*form, 8, top, 120, 25);
        Place<TEdit>(*form, 140, top, 120, 21);
        Place<TCheckBox>(*form, 272, top, 120, 20);
    }
    if (skinning == Skinned) {
        auto* data = new TSkinData(form.get());
        (void)data->LoadSkinFromStream(PackedSkin());
        data->SetActive(true);
    }
    return form;
}

bool FirstPaintDone(TForm& form, Skinning skinning)
{
    if (skinning == Unskinned)
        return true;
    const TWinSkinForm* skinner = SkinManager() ? SkinManager()->FindFormSkinner(form.Handle()) : nullptr;
    return skinner && skinner->Lifecycle() == TWinSkinForm::Running;
}

void ShowAndPaint(TForm& form, Skinning skinning)
{
    form.Show();
    do
        Application->ProcessMessages();
    while (!FirstPaintDone(form, skinning));
}

void CreateToFirstPaint(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    FakeClock clock;
    const auto skinning = static_cast<Skinning>(state.range(0));
    for (auto _ : state) {
        auto form = MakeForm(skinning);
        ShowAndPaint(*form, skinning);
        state.PauseTiming();
        FreeSkinManager();
        form.reset();
        Application->ProcessMessages();
        state.ResumeTiming();
    }
    state.SetLabel(skinning == Skinned ? "skinned" : "unskinned");
}
BENCHMARK(CreateToFirstPaint)->Arg(Unskinned)->Arg(Skinned)->Unit(benchmark::kMillisecond);

void FullRepaint(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    FakeClock clock;
    const auto skinning = static_cast<Skinning>(state.range(0));
    auto form = MakeForm(skinning);
    ShowAndPaint(*form, skinning);
    const HWND window = form->Handle();
    for (auto _ : state)
        (void)RedrawWindow(window, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    state.SetLabel(skinning == Skinned ? "skinned" : "unskinned");
    FreeSkinManager();
    form.reset();
    Application->ProcessMessages();
}
BENCHMARK(FullRepaint)->Arg(Unskinned)->Arg(Skinned)->Unit(benchmark::kMillisecond);

} // namespace
