// Fill, blit and stretch throughput of the GDI on a small window (424 x 374) and a full-HD
// surface, next to a plain memcpy of the same surface: compare the bytes/s figures as ratios.
#include "platform/winapi/gdi/Gdi.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Target {
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
    int width, height;

    Target(int w, int h) : width(w), height(h)
    {
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateBitmap(w, h, 1, 32, nullptr);
        old = SelectObject(dc, bitmap);
    }
    ~Target()
    {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

std::int64_t SurfaceBytes(const benchmark::State& state)
{
    return std::int64_t(state.range(0)) * state.range(1) * 4;
}

void Memcpy(benchmark::State& state)
{
    std::vector<std::uint32_t> from(std::size_t(state.range(0) * state.range(1)), 0x123456);
    std::vector<std::uint32_t> to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size() * 4);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(state.iterations() * SurfaceBytes(state));
}

void Fill(benchmark::State& state)
{
    Target target(int(state.range(0)), int(state.range(1)));
    HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
    const RECT all{0, 0, target.width, target.height};
    for (auto _ : state)
        FillRect(target.dc, &all, brush);
    DeleteObject(brush);
    state.SetBytesProcessed(state.iterations() * SurfaceBytes(state));
}

void Blit(benchmark::State& state)
{
    Target source(int(state.range(0)), int(state.range(1)));
    Target dest(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        BitBlt(dest.dc, 0, 0, dest.width, dest.height, source.dc, 0, 0, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * SurfaceBytes(state));
}

void XorBlit(benchmark::State& state)
{
    Target source(int(state.range(0)), int(state.range(1)));
    Target dest(int(state.range(0)), int(state.range(1)));
    for (auto _ : state)
        BitBlt(dest.dc, 0, 0, dest.width, dest.height, source.dc, 0, 0, SRCINVERT);
    state.SetBytesProcessed(state.iterations() * SurfaceBytes(state));
}

void Stretch(benchmark::State& state)
{
    // Up-scale by 2 into a destination of the benchmarked size.
    Target source(int(state.range(0) / 2), int(state.range(1) / 2));
    Target dest(int(state.range(0)), int(state.range(1)));
    SetStretchBltMode(dest.dc, COLORONCOLOR);
    for (auto _ : state)
        StretchBlt(dest.dc, 0, 0, dest.width, dest.height, source.dc, 0, 0, source.width, source.height, SRCCOPY);
    state.SetBytesProcessed(state.iterations() * SurfaceBytes(state));
}

void Sizes(benchmark::internal::Benchmark* b)
{
    b->Args({424, 374})->Args({1920, 1080});
}

} // namespace

BENCHMARK(Memcpy)->Apply(Sizes);
BENCHMARK(Fill)->Apply(Sizes);
BENCHMARK(Blit)->Apply(Sizes);
BENCHMARK(XorBlit)->Apply(Sizes);
BENCHMARK(Stretch)->Apply(Sizes);
