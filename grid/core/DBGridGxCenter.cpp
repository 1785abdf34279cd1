#include "grid/core/DBGridGxCenter.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxFilterRow.h"
#include "grid/core/DBGridGxFindDialogHook.h"
#include "grid/core/DBGridGxIndicatorTitle.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsObjects.h"

#include <algorithm>

CLASSLIB_IMPLEMENT_CLASS(TColumnGxMenuItem, TMenuItem, ComponentCreator<TColumnGxMenuItem>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBGridGxMenuItem, TMenuItem, ComponentCreator<TDBGridGxMenuItem>, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TDBGridGxCenter, TPersistent, DefaultCreator<TDBGridGxCenter>, nullptr)

namespace {

TDBGridGxCenter* g_center = nullptr;
TGridClipboardHookGx g_clipboardHook = nullptr;
TGridLocateTextHookGx g_locateTextHook = nullptr;
TGridDataSetFeaturesHookGx g_featuresHook = nullptr;

struct TSharedItemGx {
    const char* Caption;
    TDBGridGxEditAction EditAction;
};
// The shared items after "Visible columns", in menu order; the action number is the index + 1.
constexpr TSharedItemGx EditItems[] = {
    {"Cut", geaCutGx}, {"Copy", geaCopyGx}, {"Paste", geaPasteGx}, {"Delete", geaDeleteGx},
    {"Select All", geaSelectAllGx},
};

} // namespace

void SetGridClipboardHook(TGridClipboardHookGx hook) { g_clipboardHook = hook; }
TGridClipboardHookGx GridClipboardHook() { return g_clipboardHook; }
void SetGridLocateTextHook(TGridLocateTextHookGx hook) { g_locateTextHook = hook; }
TGridLocateTextHookGx GridLocateTextHook() { return g_locateTextHook; }
void SetGridDataSetFeaturesHook(TGridDataSetFeaturesHookGx hook) { g_featuresHook = hook; }
TGridDataSetFeaturesHookGx GridDataSetFeaturesHook() { return g_featuresHook; }

TDBGridGxCenter* GridCenter() { return g_center; }
void SetGridCenter(TDBGridGxCenter* center) { g_center = center; }

// ---- Menu items ---------------------------------------------------------------------------------------------------

void TColumnGxMenuItem::Click()
{
    TMenuItem::Click();
    if (m_column)
        m_column->SetVisible(!m_column->Visible());
}

void TDBGridGxMenuItem::Click()
{
    TMenuItem::Click();
    if (!m_grid || m_action < 1 || m_action > SelectAllAction)
        return;
    m_grid->ExecuteEditAction(EditItems[m_action - 1].EditAction);
}

// ---- The centre ---------------------------------------------------------------------------------------------------

TDBGridGxCenter::TDBGridGxCenter() = default;

TDBGridGxCenter::~TDBGridGxCenter()
{
    if (g_center == this)
        g_center = nullptr;
    for (TCustomDBGridGx* grid : std::vector<TCustomDBGridGx*>(m_grids))
        grid->CenterGone(this);
    // The menu holds the shared items without owning them: take them out before freeing either.
    if (m_menu) {
        for (TDBGridGxMenuItem* item : m_items)
            if (item && item->Parent())
                item->Parent()->Remove(item);
        delete m_menu;
    }
    for (TDBGridGxMenuItem* item : m_items)
        delete item;
}

void TDBGridGxCenter::RegisterGrid(TCustomDBGridGx* grid)
{
    if (!IsGridRegistered(grid))
        m_grids.push_back(grid);
}

bool TDBGridGxCenter::IsGridRegistered(TCustomDBGridGx* grid) const
{
    return std::ranges::find(m_grids, grid) != m_grids.end();
}

void TDBGridGxCenter::UnregisterGrid(TCustomDBGridGx* grid)
{
    std::erase(m_grids, grid);
    for (TDBGridGxMenuItem* item : m_items) {
        if (!item || item->Grid() != grid)
            continue;
        item->SetGrid(nullptr);
        if (item->Action() == 0)
            item->Clear();
    }
}

IGridDataSetFeaturesGx* TDBGridGxCenter::FeaturesOf(TCustomDBGridGx& grid)
{
    TDataSet* dataSet = grid.DataLink().DataSet();
    return g_featuresHook && dataSet ? g_featuresHook(dataSet) : nullptr;
}

bool TDBGridGxCenter::LocateText(TCustomDBGridGx& grid, const TGridLocateRequestGx& request)
{
    if (IGridDataSetFeaturesGx* features = FeaturesOf(grid)) {
        bool found = false;
        if (features->LocateText(grid, request, found))
            return found;
    }
    return g_locateTextHook && g_locateTextHook(grid, request);
}

bool TDBGridGxCenter::DataSetQuery(TCustomDBGridGx& grid, TGridDataSetQueryGx query)
{
    IGridDataSetFeaturesGx* features = FeaturesOf(grid);
    return features && features->DataSetQuery(grid, query);
}

bool TDBGridGxCenter::DoLocateText(TCustomDBGridGx& grid, const TGridLocateRequestGx& request)
{
    if (!m_onLocateText)
        return LocateText(grid, request);
    bool found = false;
    m_onLocateText(&grid, request, found);
    return found;
}

bool TDBGridGxCenter::DoDataSetQuery(TCustomDBGridGx& grid, TGridDataSetQueryGx query)
{
    return DataSetQuery(grid, query);
}

void TDBGridGxCenter::ApplyFilter(TCustomDBGridGx& grid)
{
    if (m_onApplyFilter)
        m_onApplyFilter(&grid);
    else
        DataSetApplyFilter(grid);
}

void TDBGridGxCenter::ApplySorting(TCustomDBGridGx& grid)
{
    if (m_onApplySorting)
        m_onApplySorting(&grid);
    else
        DataSetApplySorting(grid);
}

bool TDBGridGxCenter::ExecuteFindDialog(TCustomDBGridGx& grid, const std::string& text, bool modal)
{
    if (IGridDataSetFeaturesGx* features = FeaturesOf(grid); features && features->ExecuteFindDialog(grid, text, modal))
        return true;
    const TGridFindDialogHookGx dialog = GridFindDialogHook();
    if (!dialog)
        return false;
    dialog(grid, text, modal);
    return true;
}

bool TDBGridGxCenter::DoMoveRecords(TCustomDBGridGx& grid, const std::vector<std::string>& bookmarks, int toRecNo,
                                    int treeLevel, bool checkOnly)
{
    if (!m_onMoveRecords)
        return MoveRecords(grid, bookmarks, toRecNo, treeLevel, checkOnly);
    bool moved = false;
    m_onMoveRecords(&grid, bookmarks, toRecNo, treeLevel, checkOnly, moved);
    return moved;
}

// A data set whose class filters itself gets the conditions; any other is filtered in memory.
void TDBGridGxCenter::DataSetApplyFilter(TCustomDBGridGx& grid)
{
    if (IGridDataSetFeaturesGx* features = FeaturesOf(grid); features && features->DataSetQuery(grid, gdqFiltersItselfGx))
        features->ApplyFilter(grid);
    else
        grid.FilterRow().ApplyInMemory();
}

void TDBGridGxCenter::DataSetApplySorting(TCustomDBGridGx& grid)
{
    if (IGridDataSetFeaturesGx* features = FeaturesOf(grid))
        features->ApplySorting(grid);
}

// Records move only where the data set's features know how.
bool TDBGridGxCenter::MoveRecords(TCustomDBGridGx& grid, const std::vector<std::string>& bookmarks, int toRecNo,
                                  int treeLevel, bool checkOnly)
{
    IGridDataSetFeaturesGx* features = FeaturesOf(grid);
    return features && features->MoveRecords(grid, bookmarks, toRecNo, treeLevel, checkOnly);
}

TPopupMenu* TDBGridGxCenter::DoFillIndicatorTitleMenu(TCustomDBGridGx& grid)
{
    TPopupMenu* menu = nullptr;
    if (m_onFillIndicatorTitleMenu)
        m_onFillIndicatorTitleMenu(&grid, menu);
    else
        FillIndicatorTitleMenu(grid, menu);
    return menu;
}

void TDBGridGxCenter::DoIndicatorTitleHook(TCustomDBGridGx& grid)
{
    if (m_onIndicatorTitleHook)
        m_onIndicatorTitleHook(&grid);
    else
        IndicatorTitleHook(grid);
}

// ---- The indicator title's menu -----------------------------------------------------------------------------------

TPopupMenu& TDBGridGxCenter::SharedMenu()
{
    if (!m_menu) {
        m_menu = new TPopupMenu(Screen);
        m_menu->SetName("DBGridGxIndicatorTitlePopupMenu");
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            m_items[i] = new TDBGridGxMenuItem(nullptr);
            m_items[i]->SetCaption(i == 0 ? "Visible columns" : EditItems[i - 1].Caption);
            m_items[i]->SetAction(static_cast<int>(i));
        }
    }
    // The shared items are taken out; the copies of a grid's own menu items are the menu's and go.
    TMenuItem& root = *m_menu->Items();
    while (root.Count() > 0) {
        TMenuItem* item = root.Items(root.Count() - 1);
        if (item->Owner() == m_menu)
            root.Delete(root.Count() - 1);
        else
            root.Remove(item);
    }
    return *m_menu;
}

void TDBGridGxCenter::FillIndicatorTitleMenu(TCustomDBGridGx& grid, TPopupMenu*& menu)
{
    menu = &SharedMenu();
    TDBGridGxIndicatorTitle& title = *grid.IndicatorTitle();
    if (title.UseGlobalMenu()) {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            if (!m_menuItemSet.Contains(static_cast<TDBGridGxMenuItemFlag>(i)))
                continue;
            TDBGridGxMenuItem* item = m_items[i];
            item->SetGrid(&grid);
            if (i == 0) {
                FillVisibleColumns(grid);
            } else {
                const TDBGridGxEditAction action = EditItems[i - 1].EditAction;
                item->SetEnabled(grid.EditActions().Contains(action) && grid.CanEditAction(action));
            }
            menu->Items()->Add(item);
        }
    }
    if (TPopupMenu* own = title.DropdownMenu())
        CopyDropdownMenu(*own, *menu);
}

void TDBGridGxCenter::FillVisibleColumns(TCustomDBGridGx& grid)
{
    TDBGridGxMenuItem& visibleColumns = *m_items[gmiVisibleColumnsGx];
    visibleColumns.Clear();
    TDBGridColumnsGx& columns = grid.Columns();
    for (int i = 0; i < columns.Count(); ++i) {
        TColumnGx* column = columns.ColumnAt(i);
        const std::string caption = column->Title()->Caption();
        if (caption.empty())
            continue;
        auto* item = new TColumnGxMenuItem(&visibleColumns);
        item->SetCaption(caption);
        item->SetChecked(column->Visible());
        item->SetColumn(column);
        visibleColumns.Add(item);
    }
}

void TDBGridGxCenter::CopyDropdownMenu(const TPopupMenu& source, TPopupMenu& target)
{
    TMenuItem& items = *target.Items();
    if (items.Count() > 0) {
        auto* line = new TMenuItem(&target);
        line->SetCaption(cLineCaption);
        items.Add(line);
    }
    for (int i = 0; i < source.Items()->Count(); ++i) {
        const TMenuItem& from = *source.Items()->Items(i);
        auto* copy = new TMenuItem(&target);
        copy->SetAutoCheck(from.AutoCheck());
        copy->SetAutoHotkeys(from.AutoHotkeys());
        copy->SetAutoLineReduction(from.AutoLineReduction());
        if (from.Bitmap())
            copy->SetBitmap(from.Bitmap());
        copy->SetBreak(from.Break());
        copy->SetCaption(from.Caption());
        copy->SetRadioItem(from.RadioItem());
        copy->SetGroupIndex(from.GroupIndex());
        copy->SetChecked(from.Checked());
        copy->SetSubMenuImages(from.SubMenuImages());
        copy->SetDefault(from.Default());
        copy->SetEnabled(from.Enabled());
        copy->SetHelpContext(from.HelpContext());
        copy->SetHint(from.Hint());
        copy->SetImageIndex(from.ImageIndex());
        copy->SetShortCut(from.ShortCut());
        copy->SetVisible(from.Visible());
        copy->SetOnClick(from.OnClick());
        copy->SetOnDrawItem(from.OnDrawItem());
        copy->SetOnMeasureItem(from.OnMeasureItem());
        items.Add(copy);
    }
}
