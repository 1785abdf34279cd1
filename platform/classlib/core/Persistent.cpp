#include "platform/classlib/core/Persistent.h"

#include "platform/rtl/Format.h"

CLASSLIB_IMPLEMENT_CLASS(TPersistent, TObject, nullptr, nullptr)

void TPersistent::Assign(const TPersistent* source)
{
    if (source)
        source->AssignTo(this);
    else
        AssignError(nullptr);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::AssignError(const TPersistent* source) const
{
    const std::string sourceName = source ? source->ClassName() : std::string("nil");
    throw EConvertError(Format("Cannot assign a %s to a %s", {sourceName, ClassName()}));
}

std::string TPersistent::GetNamePath() const { return ClassName(); }

void TPersistent::DefineProperties(TFiler&) {}
