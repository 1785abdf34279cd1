// Modem: the manager of the CDMA USB modem. The splash comes first, then the main window, which
// serves as the application's main window until it closes.

#include "grid/core/DBGridGxUnit.h"
#include "grid/tools/GridTools.h"
#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"
#include "platform/winapi/display/DisplayBackend.h"
#include "skin/SkinManage.h"

int main()
{
    if (!SelectProgramDisplay("Modem"))
        return 1;
    Application->Initialize();
    // The grids' shared style and centre live until the forms are about to go; through the tools
    // the lists get their clipboard menu, the find dialog on Ctrl+F and the cell drop-downs.
    const TGridUnitScope gridUnit;
    RegisterGridTools();
    RegisterModemClasses();
    FW = static_cast<TFW*>(TCustomForm::Create(TFW::StaticClass(), nullptr));
    Application->CreateForm(MainForm);
    Application->Run();
    // The windows go while everything they use is still there (the static objects of the libraries
    // end after main), the skin engine first, giving every window back its own look.
    FreeSkinManager();
    Application->DestroyComponents();
    return 0;
}
