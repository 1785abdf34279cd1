// The cost of repainting one visible page of a base grid (400 x 300 pixels, about 5 columns by 11
// rows shown, each cell with a line of text) in a grid of 100 rows and in one of 100,000 rows: the
// two must cost the same, since painting walks only the rows on the screen.

#include "grid/core/GridsGx.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

class TBenchGrid : public TCustomGridGx {
public:
    using TCustomGridGx::TCustomGridGx;

protected:
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState /*state*/) override
    {
        const std::string text = std::to_string(row) + ":" + std::to_string(col);
        Canvas()->TextRect(rect, rect.left + 2, rect.top + 2, text);
    }
};

void RepaintVisiblePage(benchmark::State& state)
{
    (void)SelectHeadlessDisplay();
    const auto form = std::make_unique<TForm>(nullptr);
    form->SetBounds(0, 0, 440, 340);
    auto* grid = new TBenchGrid(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 400, 300);
    grid->SetColCount(10);
    grid->SetRowCount(static_cast<int>(state.range(0)));
    form->Show();
    grid->FocusCell(1, grid->RowCount() / 2, true); // a page in the middle
    grid->Update();
    for (auto _ : state) {
        grid->Invalidate();
        grid->Update();
    }
    state.counters["rows"] = static_cast<double>(grid->RowCount());
}

} // namespace

BENCHMARK(RepaintVisiblePage)->Arg(100)->Arg(100000)->Unit(benchmark::kMicrosecond);
