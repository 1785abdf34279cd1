// Modem: the manager of the CDMA USB modem. The splash comes first, then the main window, which
// serves as the application's main window until it closes.

#include "grid/core/DBGridGxUnit.h"
#include "grid/tools/DBGridGxCellDropDowns.h"
#include "grid/tools/DBGridGxCenterTools.h"
#include "grid/tools/DBGridGxFindDlgs.h"
#include "grid/tools/SpecialRowGx.h"
#include "modem/app/MainForm.h"
#include "modem/app/Welcome.h"

int main()
{
    Application->Initialize();
    // The grids' shared style and centre live until the forms are about to go; the centre's menu
    // reaches the tools' clipboard actions.
    const TGridUnitScope gridUnit;
    RegisterGridCenterTools();
    // Ctrl+F on any of the manager's lists opens the find dialog.
    RegisterGridFindDialog();
    // A cell editor of a grid drops down the tools' calendar and calculator.
    RegisterGridCellDropDowns();
    // Lookup columns show their drop-down's special row.
    RegisterColumnSpecialRows();
    RegisterModemClasses();
    FW = static_cast<TFW*>(TCustomForm::Create(TFW::StaticClass(), nullptr));
    Application->CreateForm(MainForm);
    Application->Run();
    return 0;
}
