// appicon: draws the default application icon, the one every window's caption shows when neither
// the form nor the program brings its own: a small window with a blue title bar.

#include "platform/classlib/forms/GraphicsIcon.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "tools/skingen/lib/ArtCanvas.h"

#include <exception>
#include <iostream>
#include <vector>

namespace {

constexpr int Size = 16;

std::unique_ptr<TBitmap> DrawWindowPicture()
{
    std::unique_ptr<TBitmap> picture = NewStrip(Size, Size, 1);
    TArtCanvas art(*picture, Rgb(212, 208, 200));
    const TColor outline = Rgb(44, 62, 92);
    art.Fill(Rect(2, 3, 16, 15), Rgb(150, 150, 150)); // a soft shadow one pixel down and right
    art.Fill(Rect(1, 2, 15, 14), outline);
    art.HorizontalGradient(Rect(2, 3, 14, 6), Rgb(20, 60, 140), Rgb(90, 140, 215));
    art.Fill(Rect(2, 6, 14, 13), Rgb(255, 255, 255));
    art.Fill(Rect(11, 4, 13, 5), Rgb(235, 240, 250)); // the close button's dot
    for (const int y : {8, 10})
        art.HLine(4, y == 8 ? 12 : 10, y, Rgb(160, 172, 190)); // two lines of text
    return picture;
}

// The key colour becomes the mask (and alpha 0); under it the colour image is black, as icons keep
// it. Opaque pixels carry alpha 255, so programs that read the alpha see the same picture.
HICON IconOf(TBitmap& picture)
{
    std::vector<std::uint32_t> pixels(Size * Size);
    std::vector<std::uint8_t> mask(2 * Size, 0); // rows of one 16-bit word
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x) {
            const TColor colour = ReadPixel(picture, x, y);
            if (colour == KeyColour) {
                mask[y * 2 + x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
                continue;
            }
            const std::uint32_t red = colour & 0xFF, green = (colour >> 8) & 0xFF, blue = (colour >> 16) & 0xFF;
            pixels[y * Size + x] = 0xFF000000u | (red << 16) | (green << 8) | blue;
        }
    const GdiObject colourBitmap(CreateBitmap(Size, Size, 1, 32, pixels.data()));
    const GdiObject maskBitmap(CreateBitmap(Size, Size, 1, 1, mask.data()));
    const ICONINFO info{TRUE, 0, 0, maskBitmap.Get(), colourBitmap.Get()};
    return CreateIconIndirect(&info);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: appicon <file.ico>\n  writes the default application icon\n";
        return 2;
    }
    try {
        TIcon icon;
        icon.SetHandle(IconOf(*DrawWindowPicture()));
        icon.SaveToFile(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "appicon: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
