#include "tests/support/XScreenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>
#include <thread>
#include <utility>

namespace {

// The 8-bit channel a mask selects from a pixel value.
std::uint32_t Channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const unsigned long value = (pixel & mask) >> std::countr_zero(mask);
    const unsigned long top = mask >> std::countr_zero(mask);
    return static_cast<std::uint32_t>(value * 255 / top);
}

} // namespace

std::uint32_t Screenshot::At(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0xFFFFFFFF;
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
}

std::optional<Screenshot> TakeXScreenshot(const std::string& displayName)
{
    Display* display = XOpenDisplay(displayName.c_str());
    if (!display)
        return std::nullopt;
    const Window root = DefaultRootWindow(display);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XImage* image = XGetImage(display, root, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    std::optional<Screenshot> shot;
    if (image) {
        shot.emplace();
        shot->width = attributes.width;
        shot->height = attributes.height;
        shot->pixels.reserve(static_cast<std::size_t>(shot->width) * static_cast<std::size_t>(shot->height));
        for (int y = 0; y < shot->height; ++y)
            for (int x = 0; x < shot->width; ++x) {
                const unsigned long pixel = XGetPixel(image, x, y);
                shot->pixels.push_back(Channel(pixel, image->red_mask) << 16 | Channel(pixel, image->green_mask) << 8 |
                                       Channel(pixel, image->blue_mask));
            }
        XDestroyImage(image);
    }
    XCloseDisplay(display);
    return shot;
}

Screenshot AwaitStillScreen(const std::string& displayName, const std::function<bool(const Screenshot&)>& done,
                            std::chrono::milliseconds still, std::chrono::milliseconds patience)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    Screenshot shot;
    bool reached = false;
    auto stillSince = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        auto taken = TakeXScreenshot(displayName);
        if (!taken)
            continue;
        const bool same = taken->pixels == shot.pixels;
        shot = std::move(*taken);
        if (!reached || !same)
            stillSince = std::chrono::steady_clock::now();
        reached = reached || done(shot);
        if (reached && std::chrono::steady_clock::now() - stillSince >= still)
            break;
    }
    return shot;
}
