#include "platform/rtl/SysMath.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <limits>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysConst.h"

namespace {

std::atomic<std::uint32_t> g_seed{0};

// Advances the seed atomically, so that threads drawing at once each get their own number.
std::uint32_t NextSeed()
{
    std::uint32_t seed = g_seed.load(std::memory_order_relaxed);
    std::uint32_t next = 0;
    do {
        next = seed * 0x08088405u + 1;
    } while (!g_seed.compare_exchange_weak(seed, next, std::memory_order_relaxed));
    return next;
}

std::int64_t ToInt64(double value)
{
    // 2^63 is exact in a double; the valid range is [-2^63, 2^63).
    if (!(value >= -9223372036854775808.0 && value < 9223372036854775808.0))
        throw EInvalidOp(SInvalidFloatOp);
    return static_cast<std::int64_t>(value);
}

}  // namespace

int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return -1;
    // Magnitudes fit: |a * b| <= 2^62 and |c| <= 2^31.
    const std::int64_t product = static_cast<std::int64_t>(a) * b;
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = c < 0 ? -static_cast<std::int64_t>(c) : c;
    const std::int64_t quotient = (magnitude + divisor / 2) / divisor;
    const std::int64_t result = (product < 0) != (c < 0) ? -quotient : quotient;
    // Win32 reports -2^31 as an overflow too.
    if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max())
        return -1;
    return static_cast<int>(result);
}

void Randomize()
{
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count() ^
                       std::chrono::system_clock::now().time_since_epoch().count();
    SetRandSeed(static_cast<std::uint32_t>(ticks ^ (ticks >> 32)));
}

std::uint32_t RandSeed()
{
    return g_seed.load(std::memory_order_relaxed);
}

void SetRandSeed(std::uint32_t seed)
{
    g_seed.store(seed, std::memory_order_relaxed);
}

int Random(int range)
{
    if (range <= 0)
        return 0;
    return static_cast<int>((static_cast<std::uint64_t>(NextSeed()) * static_cast<std::uint64_t>(range)) >> 32);
}

double Random()
{
    return NextSeed() / 4294967296.0;
}

std::int64_t Round(double value)
{
    return ToInt64(std::nearbyint(value));
}

std::int64_t Trunc(double value)
{
    return ToInt64(std::trunc(value));
}

double Power(double base, double exponent)
{
    return std::pow(base, exponent);
}
