#pragma once

#include "platform/classlib/forms/Forms.h"

// The gallery's main form: every standard control twice, enabled on the left and disabled on the
// right (see GalleryLayout.h for where each one lies).
class TGalleryForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TGalleryForm(TComponent* owner);
};
