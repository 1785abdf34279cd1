#pragma once

#include "platform/classlib/forms/Forms.h"

// The gallery's tabs page: the control library's page control in every tab shape on every side
// (see TabsGalleryLayout.h for where each one lies).
class TTabsGalleryForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TTabsGalleryForm(TComponent* owner);
};
