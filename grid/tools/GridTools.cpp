#include "grid/tools/GridTools.h"

#include "grid/tools/DBGridGxCellDropDowns.h"
#include "grid/tools/DBGridGxCenterTools.h"
#include "grid/tools/DBGridGxFindDlgs.h"
#include "grid/tools/ListExtraRowGx.h"

void RegisterGridTools()
{
    RegisterGridCenterTools();
    RegisterGridFindDialog();
    RegisterGridCellDropDowns();
    RegisterColumnSpecialRows();
}
