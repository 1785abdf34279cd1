#pragma once

#include "platform/classlib/forms/Forms.h"

class TImage;

// The splash window shown while the main window comes up: "Initializing..." under a picture.
class TFW : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TFW(TComponent* owner);

    TImage* ISplash = nullptr;
};

extern TFW* FW;

// Registers the manager's form classes and database with the class libraries; once, before the
// first form is made.
void RegisterModemClasses();
