#pragma once

#include "platform/classlib/core/Objects.h"

#include <string>

class TFiler;

// An object that can copy itself from another (Assign) and that form data can hold. Assign asks
// the source to AssignTo the target when the target does not know the source's class; when
// neither knows the other, EConvertError "Cannot assign a %s to a %s" names both classes (the
// source as "nil" when there is none).
class TPersistent : public TObject {
    CLASSLIB_DECLARE_CLASS;

    virtual void Assign(const TPersistent* source);
    // The object this one belongs to, for name paths and collections; null by default.
    [[nodiscard]] virtual TPersistent* GetOwner() const { return nullptr; }
    // "Owner.Name" style path used in messages.
    [[nodiscard]] virtual std::string GetNamePath() const;
    // Lets the class stream data that is not a published property (see TFiler::DefineProperty).
    virtual void DefineProperties(TFiler& filer);

protected:
    virtual void AssignTo(TPersistent* dest) const;

private:
    [[noreturn]] void AssignError(const TPersistent* source) const;
};
