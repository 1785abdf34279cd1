#pragma once

#include "grid/core/DBGridGxCenterHooks.h"
#include "platform/classlib/core/Persistent.h"
#include "platform/classlib/core/TypInfo.h"
#include "platform/classlib/forms/Menus.h"

#include <array>
#include <string>
#include <vector>

class TColumnGx;
class TCustomDBGridGx;

// The items of the indicator title's menu, in menu order.
enum TDBGridGxMenuItemFlag {
    gmiVisibleColumnsGx, gmiCutGx, gmiCopyGx, gmiPasteGx, gmiDeleteGx, gmiSelectAllGx
};
using TDBGridGxMenuItemFlags = TSet<TDBGridGxMenuItemFlag>;
inline constexpr TDBGridGxMenuItemFlags AllDBGridGxMenuItems{gmiVisibleColumnsGx, gmiCutGx,    gmiCopyGx,
                                                             gmiPasteGx,          gmiDeleteGx, gmiSelectAllGx};

// An item of "Visible columns": one column of the grid (not owned); clicking it shows or hides it.
class TColumnGxMenuItem : public TMenuItem {
    CLASSLIB_DECLARE_CLASS;

    explicit TColumnGxMenuItem(TComponent* owner) : TMenuItem(owner) {}
    [[nodiscard]] TColumnGx* Column() const { return m_column; }
    void SetColumn(TColumnGx* column) { m_column = column; }

    void Click() override;

private:
    TColumnGx* m_column = nullptr;
};

// An item of the indicator title's menu acting on a grid (not owned): action 1 cut, 2 copy,
// 3 paste, 4 delete, 5 select all; 0 for "Visible columns", which only holds column items.
class TDBGridGxMenuItem : public TMenuItem {
    CLASSLIB_DECLARE_CLASS;

    static constexpr int SelectAllAction = 5;

    explicit TDBGridGxMenuItem(TComponent* owner) : TMenuItem(owner) {}
    [[nodiscard]] int Action() const { return m_action; }
    void SetAction(int action) { m_action = action; }
    [[nodiscard]] TCustomDBGridGx* Grid() const { return m_grid; }
    void SetGrid(TCustomDBGridGx* grid) { m_grid = grid; }

    void Click() override;

private:
    int m_action = 0;
    TCustomDBGridGx* m_grid = nullptr;
};

using TDBGridGxCenterGridEvent = TEvent<TCustomDBGridGx*>;
using TDBGridGxFillMenuEvent = TEvent<TCustomDBGridGx*, TPopupMenu*&>;
using TDBGridGxMoveRecordsEvent =
    TEvent<TCustomDBGridGx*, const std::vector<std::string>&, int, int, bool, bool&>;
using TDBGridGxLocateTextEvent = TEvent<TCustomDBGridGx*, const TGridLocateRequestGx&, bool&>;

// The one centre of the process: builds the indicator title's menu of every data grid and routes
// what depends on the data set (text search, find dialog, filtering, sorting, record moving) to
// the features the data set's class registered, or to the library's defaults. Each hook, when
// assigned, replaces one of the overridable operations.
class TDBGridGxCenter : public TPersistent {
    CLASSLIB_DECLARE_CLASS;

    TDBGridGxCenter();
    ~TDBGridGxCenter() override;

    void RegisterGrid(TCustomDBGridGx* grid);
    [[nodiscard]] bool IsGridRegistered(TCustomDBGridGx* grid) const;
    // Also forgets the grid in the shared menu items, which may outlive it.
    void UnregisterGrid(TCustomDBGridGx* grid);

    [[nodiscard]] TDBGridGxMenuItemFlags MenuItemSet() const { return m_menuItemSet; }
    void SetMenuItemSet(TDBGridGxMenuItemFlags value) { m_menuItemSet = value; }

    // ---- Hooks
    void SetOnApplyFilter(const TDBGridGxCenterGridEvent& hook) { m_onApplyFilter = hook; }
    void SetOnApplySorting(const TDBGridGxCenterGridEvent& hook) { m_onApplySorting = hook; }
    void SetOnFillIndicatorTitleMenu(const TDBGridGxFillMenuEvent& hook) { m_onFillIndicatorTitleMenu = hook; }
    void SetOnIndicatorTitleHook(const TDBGridGxCenterGridEvent& hook) { m_onIndicatorTitleHook = hook; }
    void SetOnMoveRecords(const TDBGridGxMoveRecordsEvent& hook) { m_onMoveRecords = hook; }
    void SetOnLocateText(const TDBGridGxLocateTextEvent& hook) { m_onLocateText = hook; }

    // ---- Overridable operations
    [[nodiscard]] virtual bool LocateText(TCustomDBGridGx& grid, const TGridLocateRequestGx& request);
    [[nodiscard]] virtual bool DataSetQuery(TCustomDBGridGx& grid, TGridDataSetQueryGx query);
    [[nodiscard]] virtual bool DoLocateText(TCustomDBGridGx& grid, const TGridLocateRequestGx& request);
    [[nodiscard]] virtual bool DoDataSetQuery(TCustomDBGridGx& grid, TGridDataSetQueryGx query);
    // The grid calls it, inside its layout lock, when a filter is to be applied and the grid has no
    // handler of its own.
    virtual void ApplyFilter(TCustomDBGridGx& grid);
    // The grid calls it when its sort marking changed and it sorts automatically.
    virtual void ApplySorting(TCustomDBGridGx& grid);
    // False when there is neither a dialog of the data set's features nor the library's.
    virtual bool ExecuteFindDialog(TCustomDBGridGx& grid, const std::string& text, bool modal);
    [[nodiscard]] virtual bool DoMoveRecords(TCustomDBGridGx& grid, const std::vector<std::string>& bookmarks,
                                             int toRecNo, int treeLevel, bool checkOnly);
    virtual void DataSetApplyFilter(TCustomDBGridGx& grid);
    virtual void DataSetApplySorting(TCustomDBGridGx& grid);
    virtual void FillIndicatorTitleMenu(TCustomDBGridGx& grid, TPopupMenu*& menu);
    virtual void IndicatorTitleHook(TCustomDBGridGx& /*grid*/) {}
    [[nodiscard]] virtual bool MoveRecords(TCustomDBGridGx& grid, const std::vector<std::string>& bookmarks,
                                           int toRecNo, int treeLevel, bool checkOnly);

    // The indicator title's menu for the grid (the shared menu unless a hook gives another).
    [[nodiscard]] TPopupMenu* DoFillIndicatorTitleMenu(TCustomDBGridGx& grid);
    void DoIndicatorTitleHook(TCustomDBGridGx& grid);

private:
    [[nodiscard]] static IGridDataSetFeaturesGx* FeaturesOf(TCustomDBGridGx& grid);
    [[nodiscard]] TPopupMenu& SharedMenu();
    void FillVisibleColumns(TCustomDBGridGx& grid);
    void CopyDropdownMenu(const TPopupMenu& source, TPopupMenu& target);

    std::vector<TCustomDBGridGx*> m_grids;
    TDBGridGxMenuItemFlags m_menuItemSet = AllDBGridGxMenuItems;
    TDBGridGxCenterGridEvent m_onApplyFilter;
    TDBGridGxCenterGridEvent m_onApplySorting;
    TDBGridGxFillMenuEvent m_onFillIndicatorTitleMenu;
    TDBGridGxCenterGridEvent m_onIndicatorTitleHook;
    TDBGridGxMoveRecordsEvent m_onMoveRecords;
    TDBGridGxLocateTextEvent m_onLocateText;
    // The shared menu (owned by the screen while it lives) and its six shared items, which the
    // menu holds without owning; all go with the centre.
    TPopupMenu* m_menu = nullptr;
    std::array<TDBGridGxMenuItem*, 6> m_items{};
};

// The unit's centre (made at the grid unit's start-up; none before).
[[nodiscard]] TDBGridGxCenter* GridCenter();
void SetGridCenter(TDBGridGxCenter* center);
