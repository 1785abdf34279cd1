#include "tools/gallery/GalleryColumn.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"

namespace gallery {

void BuildColumn(TForm& form, const RECT& where, const char* caption, bool enabled,
                 std::initializer_list<TColumnFiller> fillers)
{
    auto* column = new TGroupBox(&form);
    column->SetParent(&form);
    column->SetBounds(where.left, where.top, where.right - where.left, where.bottom - where.top);
    column->SetCaption(caption);
    TColumnBuilder builder(&form, column);
    for (TColumnFiller fill : fillers)
        fill(builder);
    if (!enabled)
        builder.DisableAll();
}

} // namespace gallery
