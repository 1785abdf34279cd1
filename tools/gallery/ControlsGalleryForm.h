#pragma once

#include "platform/classlib/forms/Forms.h"

// The gallery's second page: every control of the product's own control library in its styles,
// enabled on the left and disabled on the right (see ControlsGalleryLayout.h for where each one
// lies).
class TControlsGalleryForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TControlsGalleryForm(TComponent* owner);
};
