#include "tests/support/XScreenshot.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <bit>

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
