// Time to read a form of 200 components from its text: parsing, creating through the class
// registry, setting properties through the registry, binding events and resolving references.
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/FormReader.h"

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <new>
#include <sstream>
#include <string>

// Every allocation of the program is counted, so a load reports how many it makes.
namespace {
std::atomic<std::int64_t> g_allocations{0};
}

void* operator new(std::size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

// g++ cannot see that operator new above is where these blocks come from.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
#pragma GCC diagnostic pop

namespace {

class TBenchControl : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    explicit TBenchControl(TComponent* owner) : TComponent(owner) {}
    int Left() const { return m_left; }
    void SetLeft(int left) { m_left = left; }
    int Width() const { return m_width; }
    void SetWidth(int width) { m_width = width; }
    const std::string& Caption() const { return m_caption; }
    void SetCaption(const std::string& caption) { m_caption = caption; }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { m_visible = visible; }
    TBenchControl* Next() const { return m_next; }
    void SetNext(TBenchControl* next) { m_next = next; }
    const TNotifyEvent& OnClick() const { return m_onClick; }
    void SetOnClick(const TNotifyEvent& handler) { m_onClick = handler; }
    void Clicked(TObject*) {}

private:
    int m_left = 0;
    int m_width = 75;
    std::string m_caption;
    bool m_visible = true;
    TBenchControl* m_next = nullptr;
    TNotifyEvent m_onClick;
};

void DescribeBenchControl(TClassBuilder& c)
{
    c.Integer("Left", &TBenchControl::Left, &TBenchControl::SetLeft);
    c.Integer("Width", &TBenchControl::Width, &TBenchControl::SetWidth).Default(75);
    c.String("Caption", &TBenchControl::Caption, &TBenchControl::SetCaption);
    c.Boolean("Visible", &TBenchControl::Visible, &TBenchControl::SetVisible).Default(true);
    c.Object("Next", &TBenchControl::Next, &TBenchControl::SetNext);
    c.Event("OnClick", &TBenchControl::OnClick, &TBenchControl::SetOnClick);
    c.Method("Clicked", &TBenchControl::Clicked);
}

std::string FormOf(int count)
{
    std::ostringstream text;
    text << "object Form: TBenchControl\n";
    for (int i = 0; i < count; ++i)
        text << "  object C" << i << ": TBenchControl\n    Left = " << i << "\n    Width = 120\n    Caption = 'Control "
             << i << "'\n    Visible = False\n    Next = C" << (i + 1) % count << "\n    OnClick = Clicked\n  end\n";
    text << "end\n";
    return text.str();
}

void FormLoad(benchmark::State& state)
{
    RegisterClass(TBenchControl::StaticClass());
    const std::string text = FormOf(200);
    const std::int64_t before = g_allocations.load();
    for (auto _ : state) {
        std::unique_ptr<TComponent> form(ReadComponentText(text));
        benchmark::DoNotOptimize(form.get());
    }
    const auto loads = static_cast<double>(state.iterations());
    state.counters["allocations_per_load"] = static_cast<double>(g_allocations.load() - before) / loads;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}
BENCHMARK(FormLoad);

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TBenchControl, TComponent, ComponentCreator<TBenchControl>, DescribeBenchControl)
