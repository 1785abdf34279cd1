// Decode speed of skin packages: the LZ-Huffman decoder on 16 MiB of random bytes and of text,
// beside zlib inflate of the same data packed at level 6. The decoder's benchmarks carry the
// counter "zlib_ratio": how many times faster zlib inflates the same data.
// Also the load of the skin the program ships (assets/skin/modem.skn): unpacking the package
// alone, and the whole load into element objects as the skin data component does it.

#include "platform/classlib/core/Streams.h"
#include "skin/LZH.h"
#include "skin/QuickIni.h"
#include "skin/SkinElements.h"
#include "skin/SkinReader.h"
#include "tools/skinpack/lib/LzhEncoder.h"

#include <benchmark/benchmark.h>
#include <zlib.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t InputSize = 16u << 20;

Bytes RandomInput()
{
    std::mt19937 random(1);
    Bytes bytes(InputSize);
    for (auto& byte : bytes)
        byte = static_cast<std::uint8_t>(random());
    return bytes;
}

// INI-like lines with varying numbers: what a skin's text entries look like.
Bytes TextInput()
{
    static const char* const keys[] = {"LeftWidth", "Height", "Frame", "Colour", "Image", "Trans", "Tile"};
    std::mt19937 random(2);
    std::string text;
    while (text.size() < InputSize) {
        if (random() % 8 == 0)
            text += "[Section" + std::to_string(random() % 40) + "]\r\n";
        text += std::string(keys[random() % std::size(keys)]) + "=" + std::to_string(random() % 1000) + "\r\n";
    }
    text.resize(InputSize);
    return Bytes(text.begin(), text.end());
}

struct Sample {
    Bytes original;
    Bytes lzh;
    Bytes deflated;
};

Sample MakeSample(Bytes original)
{
    Sample sample{std::move(original), {}, {}};
    sample.lzh = LzhEncode(sample.original.data(), sample.original.size());
    uLongf size = compressBound(static_cast<uLong>(sample.original.size()));
    sample.deflated.resize(size);
    if (compress2(sample.deflated.data(), &size, sample.original.data(), static_cast<uLong>(sample.original.size()),
                  6) != Z_OK)
        throw std::runtime_error("zlib could not compress the sample");
    sample.deflated.resize(size);
    return sample;
}

const Sample& RandomSample()
{
    static const Sample sample = MakeSample(RandomInput());
    return sample;
}

const Sample& TextSample()
{
    static const Sample sample = MakeSample(TextInput());
    return sample;
}

void Inflate(const Sample& sample, Bytes& output)
{
    uLongf size = static_cast<uLongf>(output.size());
    if (uncompress(output.data(), &size, sample.deflated.data(), static_cast<uLong>(sample.deflated.size())) != Z_OK)
        throw std::runtime_error("zlib could not inflate the sample");
}

// Decodes the way the package reader does: a byte-at-a-time reader over the packed bytes and a
// writer into memory sized beforehand.
void Unpack(const Sample& sample, Bytes& output)
{
    std::size_t read = 0;
    std::size_t written = 0;
    const TLZHReadProc reader = [&](void* buffer, std::uint16_t count) -> std::uint16_t {
        const std::size_t now = std::min<std::size_t>(count, sample.lzh.size() - read);
        std::memcpy(buffer, sample.lzh.data() + read, now);
        read += now;
        return static_cast<std::uint16_t>(now);
    };
    const TLZHWriteProc writer = [&](const void* buffer, std::uint16_t count) -> std::uint16_t {
        const std::size_t now = std::min<std::size_t>(count, output.size() - written);
        std::memcpy(output.data() + written, buffer, now);
        written += now;
        return static_cast<std::uint16_t>(now);
    };
    TLZH().Unpack(static_cast<std::int32_t>(output.size()), writer, reader);
}

double SecondsToInflate(const Sample& sample)
{
    Bytes output(sample.original.size());
    const auto start = std::chrono::steady_clock::now();
    Inflate(sample, output);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void DecodeLzh(benchmark::State& state, const Sample& sample)
{
    Bytes output(sample.original.size());
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        Unpack(sample, output);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        benchmark::DoNotOptimize(output.data());
    }
    if (output != sample.original)
        state.SkipWithError("the decoded bytes differ from the original");
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.original.size()));
    state.counters["zlib_ratio"] = seconds / static_cast<double>(state.iterations()) / SecondsToInflate(sample);
    state.counters["packed_percent"] = 100.0 * static_cast<double>(sample.lzh.size()) / static_cast<double>(sample.original.size());
}

void InflateZlib(benchmark::State& state, const Sample& sample)
{
    Bytes output(sample.original.size());
    for (auto _ : state) {
        Inflate(sample, output);
        benchmark::DoNotOptimize(output.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sample.original.size()));
    state.counters["packed_percent"] =
        100.0 * static_cast<double>(sample.deflated.size()) / static_cast<double>(sample.original.size());
}

void BM_LzhDecodeRandom(benchmark::State& state) { DecodeLzh(state, RandomSample()); }
void BM_LzhDecodeText(benchmark::State& state) { DecodeLzh(state, TextSample()); }
void BM_ZlibInflateRandom(benchmark::State& state) { InflateZlib(state, RandomSample()); }
void BM_ZlibInflateText(benchmark::State& state) { InflateZlib(state, TextSample()); }

const Bytes& OurSkinPackage()
{
    static const Bytes bytes = [] {
        const auto path = std::filesystem::path(MODEM_SOURCE_DIR) / "assets" / "skin" / "modem.skn";
        std::ifstream file(path, std::ios::binary);
        if (!file)
            throw std::runtime_error("no skin package at " + path.string());
        return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    }();
    return bytes;
}

void UnpackOurSkin(TSkinReader& package)
{
    TMemoryStream stream;
    stream.WriteBuffer(OurSkinPackage().data(), OurSkinPackage().size());
    stream.SetPosition(0);
    if (!package.LoadFromStream(stream))
        throw std::runtime_error("the skin package does not load");
}

void BM_UnpackOurSkin(benchmark::State& state)
{
    for (auto _ : state) {
        TSkinReader package;
        UnpackOurSkin(package);
        benchmark::DoNotOptimize(package.DataSize());
    }
}

// Seven bytes whose size word claims 64 MiB: the reader has to see through them at once.
void BM_UnpackShortPackageClaiming64MiB(benchmark::State& state)
{
    const std::uint8_t bytes[] = {0x00, 0x00, 0x00, 0x04, 0xE6, 0xC6, 0x00};
    for (auto _ : state) {
        TMemoryStream stream;
        stream.WriteBuffer(bytes, sizeof bytes);
        TSkinReader package;
        benchmark::DoNotOptimize(package.LoadFromStream(stream));
    }
}

void BM_LoadOurSkinIntoElements(benchmark::State& state)
{
    for (auto _ : state) {
        TSkinReader package;
        UnpackOurSkin(package);
        TMemoryStream iniText;
        std::string iniName;
        (void)package.FindEntry(".ini", iniText, iniName);
        TQuickIni ini;
        ini.LoadFromStream(&iniText);
        TSkinElements skin;
        skin.ReadSkin(ini, package);
        benchmark::DoNotOptimize(skin.ButtonFaceBrush());
    }
}

} // namespace

BENCHMARK(BM_UnpackOurSkin)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnpackShortPackageClaiming64MiB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadOurSkinIntoElements)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecodeRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflateRandom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LzhDecodeText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ZlibInflateText)->Unit(benchmark::kMillisecond);
