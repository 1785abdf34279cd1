#include "modem/app/Welcome.h"

#include "modem/app/MainForm.h"
#include "modem/app/Pictures.h"
#include "modem/store/ModemDatabase.h"

#include "grid/core/DBGridGx.h"
#include "skin/SkinData.h"
#include "skin/SkinStore.h"

#include "platform/classlib/data/DB.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"

TFW* FW = nullptr;

namespace {

void DescribeSplash(TClassBuilder& c) { c.Field("ISplash", &TFW::ISplash); }

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TFW, TForm, ComponentCreator<TFW>, DescribeSplash)

TFW::TFW(TComponent* owner) : TForm(owner)
{
    SetOnCreate(TNotifyEvent::FromFunction([this](TObject*) { LoadPicture(*ISplash, "SPLASH"); }));
}

void RegisterModemClasses()
{
    RegisterDataClasses();
    // The main window's form data carries the skin: a skin data component and a skin store.
    RegisterClasses({TMainForm::StaticClass(), TFW::StaticClass(), TDBGridGx::StaticClass(), TSkinData::StaticClass(),
                     TSkinStore::StaticClass()});
    RegisterModemDatabase();
}
