#pragma once

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/kernel/Clock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A shown form on a fresh headless screen to put the library's controls on, with the clock
// standing still until a test moves it. Exceptions that reach the application are recorded.
class KvFormHost : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Lets the form handle what is queued, painting included.
    static void Settle();
    // Moves the clock and lets the timers that came due fire.
    void Advance(std::uint64_t ms);
    // The presented colour (0xRRGGBB) at a point of `control` (its own coordinates, not the
    // client area's).
    [[nodiscard]] std::uint32_t Shown(const TControl& control, int x, int y) const;
    // Reads form text into the host form, as a form loading itself would.
    void Load(const std::string& text);

    std::unique_ptr<FakeClock> m_clock;
    HeadlessDisplay* m_display = nullptr;
    std::unique_ptr<TForm> m_form;
    std::vector<std::string> m_errors;
};

[[nodiscard]] std::uint32_t Rgb(TColor color);
