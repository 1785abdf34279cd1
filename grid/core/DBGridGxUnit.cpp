#include "grid/core/DBGridGxUnit.h"

#include "grid/core/DBGridGxCenter.h"
#include "grid/core/DBGridGxStyle.h"

namespace {

int g_startCount = 0;

} // namespace

void InitializeGridUnit()
{
    if (g_startCount++ > 0)
        return;
    SetDefaultGridStyle(new TDBGridGxStyle());
    SetGridCenter(new TDBGridGxCenter());
}

// Each object clears the unit's reference to itself and detaches the grids still registered.
void FinalizeGridUnit()
{
    if (g_startCount == 0 || --g_startCount > 0)
        return;
    delete GridCenter();
    delete DefaultGridStyle();
}
