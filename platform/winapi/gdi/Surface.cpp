#include "platform/winapi/gdi/Surface.h"

#include <algorithm>

Surface::Surface(int width, int height)
{
    Resize(width, height);
}

Surface::Surface(std::uint32_t* topRow, int width, int height, std::ptrdiff_t strideBytes)
    : m_external(topRow), m_top(topRow), m_width(std::max(width, 0)), m_height(std::max(height, 0)),
      m_stride(strideBytes)
{
}

void Surface::Resize(int width, int height)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    const int keepWidth = std::min(width, m_width);
    for (int y = 0; y < std::min(height, m_height); ++y)
        std::copy_n(Row(y), keepWidth, pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width));
    m_owned = std::move(pixels);
    m_external = nullptr;
    m_top = m_owned.data();
    m_width = width;
    m_height = height;
    m_stride = static_cast<std::ptrdiff_t>(width) * 4;
}

void Surface::Fill(std::uint32_t pixel)
{
    for (int y = 0; y < m_height; ++y)
        std::fill_n(Row(y), m_width, pixel);
}
