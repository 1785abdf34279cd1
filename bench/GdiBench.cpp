// Fill, blit and stretch throughput of the GDI on a small window (424 x 374) and a full-HD
// surface, next to a plain memcpy of the same surface: compare the bytes/s figures as ratios.
// Also the making of a skinned window's region of that small size from the runs of its
// non-key pixels, as the skin engine hands them over (one-line rectangles in batches of 2000).
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

struct Target {
    GdiObject<HBITMAP> bitmap;
    MemoryDC memory;
    HDC dc;
    int width, height;

    Target(int w, int h)
        : bitmap(CreateBitmap(w, h, 1, 32, nullptr)), memory(nullptr, bitmap.Get()), dc(memory.Handle()), width(w),
          height(h)
    {
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
    const GdiObject brush(CreateSolidBrush(RGB(10, 20, 30)));
    const RECT all{0, 0, target.width, target.height};
    for (auto _ : state)
        FillRect(target.dc, &all, brush.Get());
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

// A window shape: rounded corners keyed out and, with `holes`, a grid of keyed-out dots inside,
// as a skin with see-through ornaments has. One-line runs of the pixels that stay.
std::vector<RECT> WindowShapeRuns(int width, int height, bool holes)
{
    std::vector<RECT> runs;
    const int radius = 24;
    for (int y = 0; y < height; ++y) {
        const int dy = std::max(0, std::max(radius - y, y - (height - 1 - radius)));
        const int inset = radius - int(std::sqrt(double(radius * radius - dy * dy)));
        const int left = inset, right = width - inset;
        if (!holes || y % 8 != 4) {
            runs.push_back({left, y, right, y + 1});
            continue;
        }
        int x = left;
        for (int hole = 16; hole + 3 < right; hole += 24) {
            if (hole > x)
                runs.push_back({x, y, hole, y + 1});
            x = std::max(x, hole + 3);
        }
        if (x < right)
            runs.push_back({x, y, right, y + 1});
    }
    return runs;
}

HRGN RegionFromRuns(const std::vector<RECT>& runs)
{
    constexpr std::size_t BatchSize = 2000;
    HRGN result = CreateRectRgn(0, 0, 0, 0);
    std::vector<char> data;
    for (std::size_t first = 0; first < runs.size(); first += BatchSize) {
        const std::size_t count = std::min(BatchSize, runs.size() - first);
        data.resize(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
        const RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, DWORD(count), DWORD(count * sizeof(RECT)), {}};
        std::memcpy(data.data(), &header, sizeof header);
        std::memcpy(data.data() + sizeof header, runs.data() + first, count * sizeof(RECT));
        const GdiObject part(ExtCreateRegion(nullptr, DWORD(data.size()), reinterpret_cast<const RGNDATA*>(data.data())));
        CombineRgn(result, result, part.Get(), RGN_OR);
    }
    return result;
}

// Argument: 0 for the plain rounded window, 1 with the dotted holes.
void WindowRegion(benchmark::State& state)
{
    const std::vector<RECT> runs = WindowShapeRuns(424, 374, state.range(0) != 0);
    for (auto _ : state)
        const GdiObject region(RegionFromRuns(runs));
    state.SetItemsProcessed(state.iterations() * std::int64_t(runs.size()));
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
BENCHMARK(WindowRegion)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
