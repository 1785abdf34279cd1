#pragma once

#include "tools/skingen/lib/ArtCanvas.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A picture with straight (not premultiplied) alpha, the form our PNG and icon files carry.
struct TArtPixel {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 0;
    [[nodiscard]] bool operator==(const TArtPixel&) const = default;
};

class TArtPicture {
public:
    TArtPicture() = default;
    TArtPicture(int width, int height) : m_width(width), m_height(height), m_pixels(std::size_t(width) * height) {}

    [[nodiscard]] int Width() const { return m_width; }
    [[nodiscard]] int Height() const { return m_height; }
    [[nodiscard]] TArtPixel& At(int x, int y) { return m_pixels[std::size_t(y) * m_width + x]; }
    [[nodiscard]] const TArtPixel& At(int x, int y) const { return m_pixels[std::size_t(y) * m_width + x]; }

    // Lays `above` over this picture with its top-left corner at (left, top), its alpha scaled
    // by `opacity`.
    void Over(const TArtPicture& above, int left, int top, double opacity = 1.0);
    // The part of the picture at (left, top) of the given size.
    [[nodiscard]] TArtPicture Cut(int left, int top, int width, int height) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<TArtPixel> m_pixels;
};

using TArtDrawing = std::function<void(TArtCanvas&)>;

// Runs `draw` on an art canvas of the given size twice, once on a black and once on a white matte,
// and recovers from the two the colour and coverage of every pixel: the key colour stays fully
// transparent and the smoothed edges become partly transparent, so the picture blends with
// whatever surface it is laid on.
[[nodiscard]] TArtPicture PaintRgba(int width, int height, const TArtDrawing& draw);

// The picture as a PNG file of 8-bit RGBA (RGB when every pixel is opaque), written by our codec.
[[nodiscard]] std::string EncodePng(const TArtPicture& image);

// An .ico file holding the pictures (each at most 255 pixels a side), 32-bit with alpha, the mask
// set where a pixel is fully transparent.
[[nodiscard]] std::string EncodeIcon(const std::vector<TArtPicture>& images);
