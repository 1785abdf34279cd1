// DrawText over any text, format and rectangle: layout, prefixes, ellipses and write-back must
// never read or write out of bounds, whatever the bytes (UTF-8 or not, UTF-16 or not).
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/Surface.h"
#include "platform/winapi/gdi/SurfaceDC.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/gdi/fuzz/TextFuzzSetup.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Canvas {
    Canvas() : surface(std::make_shared<Surface>(64, 48)), dc(CreateSurfaceDC(surface, POINT{0, 0}, nullptr))
    {
        font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        SelectObject(dc, font);
    }
    std::shared_ptr<Surface> surface;
    HDC dc;
    HFONT font;
};

template <class T>
T Take(const std::uint8_t*& data, std::size_t& size)
{
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

Canvas& TheCanvas()
{
    static Canvas canvas;
    return canvas;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Canvas& canvas = TheCanvas();
    const auto format = Take<std::uint32_t>(data, size);
    const auto width = Take<std::int16_t>(data, size);
    const auto height = Take<std::int16_t>(data, size);
    const auto tab = Take<std::int8_t>(data, size);
    SetBkMode(canvas.dc, (format & 1) ? OPAQUE : TRANSPARENT);

    // Exactly as long as the input, so that a write past it is caught.
    std::vector<char> narrow(data, data + size);
    RECT rect{-3, -2, width, height};
    DRAWTEXTPARAMS params{sizeof(DRAWTEXTPARAMS), tab, tab / 4, tab / 8, 0};
    DrawTextExA(canvas.dc, narrow.data(), static_cast<int>(narrow.size()), &rect, format, &params);

    std::string terminated(data, data + size);
    rect = RECT{0, 0, width, height};
    DrawTextA(canvas.dc, terminated.data(), -1, &rect, format | DT_MODIFYSTRING);

    std::vector<char16_t> wide(size / 2);
    if (!wide.empty())
        std::memcpy(wide.data(), data, wide.size() * 2);
    rect = RECT{0, 0, width, height};
    DrawTextExW(canvas.dc, wide.data(), static_cast<int>(wide.size()), &rect, format, &params);

    const UINT count = static_cast<UINT>(narrow.size());
    std::vector<int> dx(narrow.size(), tab);
    ExtTextOutA(canvas.dc, width, height, ETO_CLIPPED | ETO_OPAQUE, &rect, narrow.data(), count, dx.data());
    return 0;
}
