#pragma once

#include <cstdint>

// a * b / c with a 64-bit intermediate, rounded half away from zero, as Win32's MulDiv: -1 when
// c is 0 or the result does not fit in 32 bits.
[[nodiscard]] int MulDiv(int a, int b, int c);

// The class library's generator: a 32-bit linear congruential sequence, so a seed set with
// SetRandSeed replays the same numbers. Not meant for secrets.
void Randomize();
[[nodiscard]] std::uint32_t RandSeed();
void SetRandSeed(std::uint32_t seed);
// 0 .. range-1 (0 when range <= 0).
[[nodiscard]] int Random(int range);
// [0, 1).
[[nodiscard]] double Random();

// Round half to even, as the FPU did; Trunc toward zero. Both raise EInvalidOp when the value
// has no 64-bit integer.
[[nodiscard]] std::int64_t Round(double value);
[[nodiscard]] std::int64_t Trunc(double value);
[[nodiscard]] double Power(double base, double exponent);
