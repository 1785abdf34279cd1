// Text throughput of the GDI: glyphs per second for the short strings dialogs are made of, drawn
// into a window-sized surface, set against a plain memcpy of that surface ("vs_memcpy" is how many
// surface copies one screenful of text costs).
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/gdi/SurfaceDC.h"
#include "platform/winapi/gdi/Text.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int Width = 424;
constexpr int Height = 374;

const std::vector<std::string>& UiStrings()
{
    static const std::vector<std::string> strings = {
        "Connected", "Signal strength: 4", "Phone book", "New message", "Received 12.5 KB",
        "Sent 3.2 KB", "Duration 00:12:45", "Dial", "Hang up", "Settings...", "&OK", "Cancel",
        "Call log", "Missed calls (2)", "USB MODEM", "Speed 153.6 kbps", "Name", "Number",
        "Group", "Delete selected entries?", "Installing driver", "Please wait", "Finish",
        "Browse..."};
    return strings;
}

std::size_t GlyphCount()
{
    std::size_t count = 0;
    for (const std::string& text : UiStrings())
        count += text.size();
    return count;
}

double MemcpySeconds()
{
    std::vector<std::uint32_t> from(Width * Height, 0x00D4D0C8), to(Width * Height);
    constexpr int Rounds = 2000;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < Rounds; ++i) {
        std::memcpy(to.data(), from.data(), from.size() * sizeof(std::uint32_t));
        benchmark::DoNotOptimize(to.data());
        benchmark::ClobberMemory();
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / Rounds;
}

class TextSurface {
public:
    TextSurface(const char* face, int height, int escapement = 0)
        : m_surface(std::make_shared<Surface>(Width, Height)),
          m_dc(CreateSurfaceDC(m_surface, POINT{0, 0}, nullptr))
    {
        m_surface->Fill(0xFFD4D0C8);
        m_font = CreateFontA(height, 0, escapement, escapement, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, face);
        m_previous = SelectObject(m_dc, m_font);
        SetBkMode(m_dc, TRANSPARENT);
    }
    ~TextSurface()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_font);
        DeleteSurfaceDC(m_dc);
    }
    TextSurface(const TextSurface&) = delete;
    TextSurface& operator=(const TextSurface&) = delete;

    [[nodiscard]] HDC Dc() const { return m_dc; }

private:
    std::shared_ptr<Surface> m_surface;
    HDC m_dc;
    HFONT m_font;
    HGDIOBJ m_previous;
};

using Clock = std::chrono::steady_clock;

void ReportAgainstMemcpy(benchmark::State& state, std::size_t glyphsPerPass, Clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * glyphsPerPass));
    state.counters["glyphs/s"] =
        benchmark::Counter(static_cast<double>(state.iterations() * glyphsPerPass), benchmark::Counter::kIsRate);
    state.counters["vs_memcpy"] = seconds / static_cast<double>(state.iterations()) / MemcpySeconds();
}

void BM_TextOut(benchmark::State& state)
{
    TextSurface surface("Tahoma", -11);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        int y = 2;
        for (const std::string& text : UiStrings()) {
            TextOutA(surface.Dc(), 4, y, text.c_str(), static_cast<int>(text.size()));
            y += 15;
        }
    }
    ReportAgainstMemcpy(state, GlyphCount(), start);
}
BENCHMARK(BM_TextOut);

void BM_TextOutRotated(benchmark::State& state)
{
    TextSurface surface("Arial", -11, 900);
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        int x = 14;
        for (const std::string& text : UiStrings()) {
            TextOutA(surface.Dc(), x, 360, text.c_str(), static_cast<int>(text.size()));
            x += 17;
        }
    }
    ReportAgainstMemcpy(state, GlyphCount(), start);
}
BENCHMARK(BM_TextOutRotated);

void BM_DrawTextWordBreak(benchmark::State& state)
{
    TextSurface surface("MS Sans Serif", -11);
    std::string paragraph;
    for (const std::string& text : UiStrings())
        paragraph += text + " ";
    const Clock::time_point start = Clock::now();
    for (auto _ : state) {
        RECT rect{4, 4, 200, 370};
        DrawTextA(surface.Dc(), paragraph.c_str(), -1, &rect, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
    }
    ReportAgainstMemcpy(state, paragraph.size(), start);
}
BENCHMARK(BM_DrawTextWordBreak);

void BM_TextExtent(benchmark::State& state)
{
    TextSurface surface("Tahoma", -11);
    for (auto _ : state)
        for (const std::string& text : UiStrings()) {
            SIZE size{};
            GetTextExtentPoint32A(surface.Dc(), text.c_str(), static_cast<int>(text.size()), &size);
            benchmark::DoNotOptimize(size);
        }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * GlyphCount()));
}
BENCHMARK(BM_TextExtent);

} // namespace
