#include "grid/tools/DBGridGxCenterTools.h"

#include "grid/core/DBGridGxCenterHooks.h"
#include "grid/tools/DBGridGxImpExp.h"
#include "grid/tools/DBGridGxImpExpGrid.h"
#include "grid/tools/DBGridGxLocateText.h"
#include "grid/tools/PropFilerGx.h"

namespace {

// The centre's actions work on what is selected, never on the whole data set.
void RunClipboardAction(TCustomDBGridGx& grid, TGridClipboardActionGx action)
{
    TDBGridGxImpExpAdapter adapter(grid);
    switch (action) {
    case gcaCutGx: CutGridSelection(adapter, false); break;
    case gcaCopyGx: CopyGridSelection(adapter, false); break;
    case gcaPasteGx: PasteIntoGrid(adapter, false); break;
    case gcaDeleteGx: DeleteGridSelection(adapter, false); break;
    }
}

bool LocateText(TCustomDBGridGx& grid, const TGridLocateRequestGx& request)
{
    return GridLocateText(&grid, request.FieldName, request.Text, request.Options,
                          static_cast<TLocateTextDirectionGx>(request.Direction),
                          static_cast<TLocateTextMatchTypeGx>(request.MatchType), request.TreeRange);
}

IGridDataSetFeaturesGx* Features(const TObject* dataSet) { return FeaturesForDataSet(dataSet); }

} // namespace

void RegisterGridCenterTools()
{
    SetGridClipboardHook(&RunClipboardAction);
    SetGridLocateTextHook(&LocateText);
    SetGridDataSetFeaturesHook(&Features);
}
