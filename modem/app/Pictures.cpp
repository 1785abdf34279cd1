#include "modem/app/Pictures.h"

#include "png/PngCodec.h"

#include "platform/classlib/core/Resources.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"

#include <exception>

void LoadPicture(TImage& image, std::string_view name)
{
    if (!FindResource(nullptr, name, "PNG")) {
        image.Picture()->SetGraphic(nullptr);
        return;
    }
    try {
        TResourceStream stream(nullptr, name, "PNG");
        TPNGObject picture;
        picture.LoadFromStream(stream);
        image.Picture()->SetGraphic(&picture);
    } catch (const std::exception&) {
        image.Picture()->SetGraphic(nullptr);
    }
}
