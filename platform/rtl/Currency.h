#pragma once

#include <compare>
#include <cstdint>

// A fixed-point amount with four decimal places, held as a 64-bit integer scaled by 10,000, so
// that sums of money add up exactly.
class Currency {
public:
    static constexpr std::int64_t Scale = 10000;

    constexpr Currency() = default;
    [[nodiscard]] static constexpr Currency FromScaled(std::int64_t scaled)
    {
        Currency result;
        result.m_scaled = scaled;
        return result;
    }
    // Rounds to the nearest ten-thousandth, ties to even as the original's FPU did; raises
    // EOverflow when the value does not fit.
    [[nodiscard]] static Currency FromDouble(double value);

    [[nodiscard]] constexpr std::int64_t Scaled() const { return m_scaled; }
    [[nodiscard]] double ToDouble() const { return static_cast<double>(m_scaled) / Scale; }

    constexpr Currency& operator+=(Currency other)
    {
        m_scaled += other.m_scaled;
        return *this;
    }
    constexpr Currency& operator-=(Currency other)
    {
        m_scaled -= other.m_scaled;
        return *this;
    }
    friend constexpr Currency operator+(Currency a, Currency b) { return a += b; }
    friend constexpr Currency operator-(Currency a, Currency b) { return a -= b; }
    friend constexpr Currency operator-(Currency a) { return FromScaled(-a.m_scaled); }
    friend constexpr auto operator<=>(Currency, Currency) = default;

private:
    std::int64_t m_scaled = 0;
};
