#include "modem/app/Pictures.h"

#include "png/PngCodec.h"

#include "platform/classlib/core/Resources.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsCanvas.h"

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

} // namespace

void LoadPicture(TImage& image, std::string_view name)
{
    TPNGObject picture;
    image.Picture()->SetGraphic(ReadPicture(name, picture) ? &picture : nullptr);
}

void LoadPictureFrame(TImage& image, std::string_view name, int index, int frames, TColor background)
{
    TPNGObject strip;
    if (frames <= 0 || index < 0 || index >= frames || !ReadPicture(name, strip)) {
        image.Picture()->SetGraphic(nullptr);
        return;
    }
    const int width = strip.Width() / frames;
    TBitmap frame;
    frame.SetSize(width, strip.Height());
    frame.Canvas()->Brush()->SetColor(background);
    frame.Canvas()->FillRect(Rect(0, 0, width, strip.Height()));
    frame.Canvas()->Draw(-index * width, 0, &strip);
    image.Picture()->SetGraphic(&frame);
}
