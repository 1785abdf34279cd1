#include "modem/app/Pictures.h"

#include "png/PngCodec.h"
#include "png/PngImageStorage.h"

#include "platform/classlib/core/Resources.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"

#include <cstring>
#include <exception>

namespace {

// Reads the embedded picture; false when it is missing or does not read.
bool ReadPicture(std::string_view name, TPNGObject& picture)
{
    if (!FindResource(nullptr, name, "PNG"))
        return false;
    try {
        TResourceStream stream(nullptr, name, "PNG");
        picture.LoadFromStream(stream);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

// Frame `index` of the strip, less `inset` pixels on every side, laid over `background`.
bool DrawFrame(TBitmap& frame, std::string_view name, int index, int frames, TColor background, int inset)
{
    TPNGObject strip;
    if (frames <= 0 || index < 0 || index >= frames || !ReadPicture(name, strip))
        return false;
    const int width = strip.Width() / frames - 2 * inset;
    const int height = strip.Height() - 2 * inset;
    if (width <= 0 || height <= 0)
        return false;
    frame.SetSize(width, height);
    frame.Canvas()->Brush()->SetColor(background);
    frame.Canvas()->FillRect(Rect(0, 0, width, height));
    frame.Canvas()->Draw(-index * (width + 2 * inset) - inset, -inset, &strip);
    return true;
}

// Frame `index` of the strip as a picture of its own, its transparency kept, so that it shows
// whatever lies under the image (the skin) where the picture is clear. The strip's pixels are
// whole bytes (8 bits per channel); a strip in another format gives no frame.
bool CutFrame(TPNGObject& frame, std::string_view name, int index, int frames)
{
    TPNGObject strip;
    if (frames <= 0 || index < 0 || index >= frames || !ReadPicture(name, strip))
        return false;
    const TImageStorage& source = strip.HeaderChunk().Storage();
    const int width = strip.Width() / frames;
    if (width <= 0 || source.BitsPerPixel() % 8 != 0)
        return false;
    frame.CopyFromImage(strip);
    TChunkIHDR& header = frame.HeaderChunk();
    header.SetWidth(static_cast<std::uint32_t>(width));
    header.PrepareImageStorage();
    TImageStorage& target = header.Storage();
    const std::size_t pixelBytes = source.BitsPerPixel() / 8;
    const auto left = static_cast<std::size_t>(index * width);
    const auto count = static_cast<std::size_t>(width);
    for (std::uint32_t y = 0; y < source.Height(); ++y) {
        std::memcpy(target.Row(y), source.Row(y) + left * pixelBytes, count * pixelBytes);
        if (source.HasAlpha())
            std::memcpy(target.AlphaRow(y), source.AlphaRow(y) + left, count);
    }
    return true;
}

} // namespace

void LoadPicture(TImage& image, std::string_view name)
{
    TPNGObject picture;
    image.Picture()->SetGraphic(ReadPicture(name, picture) ? &picture : nullptr);
}

void LoadPictureFrame(TImage& image, std::string_view name, int index, int frames)
{
    TPNGObject frame;
    image.Picture()->SetGraphic(CutFrame(frame, name, index, frames) ? &frame : nullptr);
}

void LoadButtonGlyph(TSpeedButton& button, std::string_view name, int frames, int inset)
{
    TBitmap glyph;
    if (DrawFrame(glyph, name, 0, frames, clBtnFace, inset))
        button.SetGlyph(&glyph);
}
