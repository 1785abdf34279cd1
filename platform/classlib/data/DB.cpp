#include "platform/classlib/data/DB.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
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

void RegisterDataClasses()
{
    RegisterClasses({TADOQuery::StaticClass(),      TDataSource::StaticClass(),    TStringField::StaticClass(),
                     TWideStringField::StaticClass(), TMemoField::StaticClass(),     TIntegerField::StaticClass(),
                     TSmallintField::StaticClass(),  TWordField::StaticClass(),     TAutoIncField::StaticClass(),
                     TLargeintField::StaticClass(),  TFloatField::StaticClass(),    TCurrencyField::StaticClass(),
                     TBCDField::StaticClass(),       TBooleanField::StaticClass(),  TDateField::StaticClass(),
                     TTimeField::StaticClass(),      TDateTimeField::StaticClass()});
}
