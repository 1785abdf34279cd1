#include "platform/classlib/DB.h"

#include "platform/classlib/Components.h"
#include "platform/rtl/Format.h"

void DatabaseError(std::string_view message, const TComponent* component)
{
    if (component && !component->Name().empty())
        throw EDatabaseError(component->Name() + ": " + std::string(message));
    throw EDatabaseError(std::string(message));
}

void DatabaseErrorFmt(std::string_view format, std::string_view argument, const TComponent* component)
{
    DatabaseError(Format(format, {argument}), component);
}
