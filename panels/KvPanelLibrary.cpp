#include "panels/KvPanelLibrary.h"

#include "controls/KvControlLibrary.h"
#include "panels/KvPanel.h"

void RegisterPanelLibraryClasses()
{
    RegisterControlLibraryClasses();
    RegisterKvPanelClass();
}
