#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// What an X server's screen shows, read through a connection of the test's own. Xlib stays in
// the .cpp file: its macros (None, Bool, Status) clash with the window system's names.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xRRGGBB, top-down

    // 0xFFFFFFFF outside the screen (no colour has it).
    [[nodiscard]] std::uint32_t At(int x, int y) const;
};

// nullopt when the server cannot be reached.
[[nodiscard]] std::optional<Screenshot> TakeXScreenshot(const std::string& displayName);

// The screen once `done` holds for it and it has then stood still for `still` (shorter than a
// caret's blink; 0: at once), or as it is when `patience` runs out.
[[nodiscard]] Screenshot AwaitStillScreen(const std::string& displayName,
                                          const std::function<bool(const Screenshot&)>& done,
                                          std::chrono::milliseconds still, std::chrono::milliseconds patience);
