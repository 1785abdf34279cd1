// Font lookups repeated thousands of times must hold no more memory than the first few did: every
// fontconfig pattern a match makes is released, and every face a realised font opens is closed
// once the font cache lets it go.
#include "platform/winapi/gdi/FontConfig.h"
#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/gdi/FontWarmUp.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <functional>
#include <string>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MODEM_HEAP_FROM_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define MODEM_HEAP_FROM_SANITIZER 1
#endif

#ifdef MODEM_HEAP_FROM_SANITIZER
#include <sanitizer/allocator_interface.h>
#else
#include <malloc.h>
#endif

namespace {

// Bytes currently allocated from the heap, by whichever allocator serves this build.
std::size_t LiveHeapBytes()
{
#ifdef MODEM_HEAP_FROM_SANITIZER
    return __sanitizer_get_current_allocated_bytes();
#else
    return mallinfo2().uordblks;
#endif
}

// How much the live heap grew over `rounds` more rounds of `work`, after `warmUp` rounds that
// fill every cache the work has.
long long GrowthOver(int warmUp, int rounds, const std::function<void(int)>& work)
{
    for (int round = 0; round < warmUp; ++round)
        work(round);
    const std::size_t before = LiveHeapBytes();
    for (int round = 0; round < rounds; ++round)
        work(warmUp + round);
    return static_cast<long long>(LiveHeapBytes()) - static_cast<long long>(before);
}

LOGFONTA LogFont(const char* faceName, int height, int weight, BYTE pitchAndFamily)
{
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return logFont;
}

} // namespace

// A leaked request or result pattern is a kilobyte or more; five hundred matches would show it many
// times over the bound.
TEST(FontMemoryTest, RepeatedMatchesHoldNoMemory)
{
    struct Lookup {
        const char* family;
        bool exact;
    };
    const Lookup lookups[] = {
        {"Liberation Sans", true},   // a face the substitution table asks for
        {"DejaVu Sans Mono", true},  // a fallback of the fixed-pitch faces
        {"No Such Family", true},    // an unknown name: matched, then refused
        {"sans-serif", false},       // the last fallback, whatever fontconfig picks
    };
    const FontConfig config;
    for (const Lookup& lookup : lookups) {
        SCOPED_TRACE(lookup.family);
        const long long growth = GrowthOver(20, 500, [&](int round) {
            (void)config.Match(lookup.family, (round & 1) != 0, (round & 2) != 0, lookup.exact);
        });
        EXPECT_LT(growth, 64 * 1024);
    }
}

// More sizes than the font cache keeps, so every round opens a face and an older one is closed.
// A face left open costs tens of kilobytes; six hundred rounds would cross the bound many times.
TEST(FontMemoryTest, RealisingFontsAgainHoldsNoMoreMemory)
{
    WarmUpFontEngine();
    struct Face {
        const char* name;
        BYTE pitchAndFamily;
    };
    const Face faces[] = {
        {"Tahoma", VARIABLE_PITCH | FF_SWISS},         // a table name
        {"No Such Face", VARIABLE_PITCH | FF_SWISS},   // the fallback for an unknown name
        {"", FIXED_PITCH | FF_MODERN},                 // the default of a family
    };
    constexpr int Sizes = 48;
    for (const Face& face : faces) {
        SCOPED_TRACE(face.name);
        const long long growth = GrowthOver(Sizes, 600, [&](int round) {
            const int weight = (round / Sizes) % 2 ? FW_BOLD : FW_NORMAL;
            const auto font = RealizeFont(LogFont(face.name, -(8 + round % Sizes), weight, face.pitchAndFamily));
            ASSERT_NE(font, nullptr);
            (void)font->Glyph(U'W');
        });
        EXPECT_LT(growth, 1024 * 1024);
    }
}
