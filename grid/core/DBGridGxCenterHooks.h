#pragma once

#include <string>
#include <vector>

class TCustomDBGridGx;
class TObject;

// What the grid centre reaches through the tools library, which lives above the grid library:
// the clipboard actions of the data grids, the library's text search and the features a data set
// class brings of its own. The tools library installs them at start-up
// (RegisterGridCenterTools); without them the centre's edit actions do nothing, a text search
// finds nothing and every data set is one without features.

// The clipboard actions, numbered as the indicator title's menu numbers them.
enum TGridClipboardActionGx { gcaCutGx = 1, gcaCopyGx, gcaPasteGx, gcaDeleteGx };
using TGridClipboardHookGx = void (*)(TCustomDBGridGx& grid, TGridClipboardActionGx action);

// A text search over the grid's records: `options` are the search's option bits, `direction` 0 up,
// 1 down, 2 all from the first record, `matchType` 0 any part, 1 whole field, 2 beginning.
struct TGridLocateRequestGx {
    std::string FieldName;
    std::string Text;
    int Options = 0;
    int Direction = 1;
    int MatchType = 0;
    int TreeRange = 0;
};
using TGridLocateTextHookGx = bool (*)(TCustomDBGridGx& grid, const TGridLocateRequestGx& request);

// The questions a grid may ask of a data set's features.
enum TGridDataSetQueryGx { gdqSortsItselfGx, gdqFiltersItselfGx };

// What a data set class may do for the grids itself instead of the library's defaults. Each
// operation answers whether the features took the request.
class IGridDataSetFeaturesGx {
public:
    [[nodiscard]] virtual bool LocateText(TCustomDBGridGx& /*grid*/, const TGridLocateRequestGx& /*request*/,
                                          bool& /*found*/)
    {
        return false;
    }
    [[nodiscard]] virtual bool DataSetQuery(TCustomDBGridGx& /*grid*/, TGridDataSetQueryGx /*query*/) { return false; }
    [[nodiscard]] virtual bool ExecuteFindDialog(TCustomDBGridGx& /*grid*/, const std::string& /*text*/, bool /*modal*/)
    {
        return false;
    }
    virtual void ApplyFilter(TCustomDBGridGx& /*grid*/) {}
    virtual void ApplySorting(TCustomDBGridGx& /*grid*/) {}
    [[nodiscard]] virtual bool MoveRecords(TCustomDBGridGx& /*grid*/, const std::vector<std::string>& /*bookmarks*/,
                                           int /*toRecNo*/, int /*treeLevel*/, bool /*checkOnly*/)
    {
        return false;
    }

protected:
    ~IGridDataSetFeaturesGx() = default;
};
// The features registered for the data set's class; null when none.
using TGridDataSetFeaturesHookGx = IGridDataSetFeaturesGx* (*)(const TObject* dataSet);

void SetGridClipboardHook(TGridClipboardHookGx hook);
[[nodiscard]] TGridClipboardHookGx GridClipboardHook();
void SetGridLocateTextHook(TGridLocateTextHookGx hook);
[[nodiscard]] TGridLocateTextHookGx GridLocateTextHook();
void SetGridDataSetFeaturesHook(TGridDataSetFeaturesHookGx hook);
[[nodiscard]] TGridDataSetFeaturesHookGx GridDataSetFeaturesHook();
