#pragma once

#include "platform/classlib/forms/Forms.h"

#include <functional>

class TTimer;

// The gallery's main form: every standard control twice, enabled on the left and disabled on the
// right (see GalleryLayout.h for where each one lies).
class TGalleryForm : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TGalleryForm(TComponent* owner);

    // Calls `action` once, `delayMs` after the form was shown (the loop runs it).
    void After(unsigned delayMs, std::function<void()> action);

private:
    void BuildColumn(const RECT& where, const char* caption, bool enabled);
};
