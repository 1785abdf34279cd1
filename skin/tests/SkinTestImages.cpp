#include "SkinTestImages.h"

#include "platform/classlib/forms/GraphicsCanvas.h"
#include "platform/classlib/core/Streams.h"

std::unique_ptr<TBitmap> MakeBitmap(int width, int height, const TPixelSource& pixel, TPixelFormat format)
{
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(format);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap->Canvas()->SetPixels(x, y, pixel(x, y));
    return bitmap;
}

std::unique_ptr<TBitmap> SolidBitmap(int width, int height, TColor colour)
{
    return MakeBitmap(width, height, [colour](int, int) { return colour; });
}

std::unique_ptr<TBitmap> StripBitmap(int frameWidth, int height, const std::vector<TColor>& colours)
{
    return MakeBitmap(frameWidth * static_cast<int>(colours.size()), height,
                      [&](int x, int) { return colours[static_cast<std::size_t>(x / frameWidth)]; });
}

std::vector<std::uint8_t> BmpBytes(TBitmap& bitmap)
{
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
    return std::vector<std::uint8_t>(bytes, bytes + stream.Size());
}

TColor PixelAt(TBitmap& bitmap, int x, int y)
{
    return bitmap.Canvas()->Pixels(x, y);
}
