// The cost of painting the gallery's controls page: every control of the library twice (enabled
// and disabled) on a 1000 x 696 form, repainted whole on the headless screen; and of one scroll
// step of its LED displays, which runs their timer and repaints them.

#include "controls/KvLEDDisplay.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"
#include "tools/gallery/ControlsGalleryForm.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

// The shown controls page on a fresh headless screen, under a clock that moves only when told.
class ShownControlsPage {
public:
    ShownControlsPage()
    {
        m_form->Show();
        Settle();
    }
    ~ShownControlsPage()
    {
        m_form.reset();
        Settle();
    }
    ShownControlsPage(const ShownControlsPage&) = delete;
    ShownControlsPage& operator=(const ShownControlsPage&) = delete;

    static void Settle() { Application->ProcessMessages(); }
    [[nodiscard]] TForm& Form() const { return *m_form; }
    [[nodiscard]] FakeClock& Clock() { return m_clock; }

    [[nodiscard]] int ScrollingLedCount() const
    {
        int count = 0;
        for (int i = 0; i < m_form->ComponentCount(); ++i)
            if (const auto* led = dynamic_cast<TKvLEDDisplay*>(m_form->Components(i)); led && led->Scrolling())
                ++count;
        return count;
    }

private:
    // Chosen before the form is made.
    HeadlessDisplay& m_display = SelectHeadlessDisplay();
    FakeClock m_clock;
    std::unique_ptr<TForm> m_form = std::make_unique<TControlsGalleryForm>(nullptr);
};

void RepaintControlsPage(benchmark::State& state)
{
    ShownControlsPage page;
    const HWND window = page.Form().Handle();
    for (auto _ : state)
        (void)RedrawWindow(window, nullptr, nullptr,
                           RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
}
BENCHMARK(RepaintControlsPage)->Unit(benchmark::kMillisecond);

// Items are LED steps: the page scrolls one display in each column.
void ScrollLedDisplays(benchmark::State& state)
{
    ShownControlsPage page;
    const int leds = page.ScrollingLedCount();
    for (auto _ : state) {
        page.Clock().Advance(50);
        ShownControlsPage::Settle();
    }
    state.SetItemsProcessed(state.iterations() * leds);
    state.counters["leds"] = leds;
}
BENCHMARK(ScrollLedDisplays)->Unit(benchmark::kMicrosecond);

} // namespace
