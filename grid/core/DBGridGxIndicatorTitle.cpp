#include "grid/core/DBGridGxIndicatorTitle.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxCenter.h"
#include "platform/classlib/forms/Menus.h"

// Holds the drop-down menu and hears when it is freed.
class TDBGridGxIndicatorTitle::TMenuReference : public TComponent {
public:
    TMenuReference() : TComponent(nullptr) {}
    ~TMenuReference() override { Set(nullptr); }
    TMenuReference(const TMenuReference&) = delete;
    TMenuReference& operator=(const TMenuReference&) = delete;

    [[nodiscard]] TPopupMenu* Menu() const { return m_menu; }
    void Set(TPopupMenu* menu)
    {
        if (m_menu)
            m_menu->RemoveFreeNotification(this);
        m_menu = menu;
        if (m_menu)
            m_menu->FreeNotification(this);
    }

protected:
    void Notification(TComponent* component, TOperation operation) override
    {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == m_menu)
            m_menu = nullptr;
    }

private:
    TPopupMenu* m_menu = nullptr;
};

TDBGridGxIndicatorTitle::TDBGridGxIndicatorTitle(TCustomDBGridGx& grid)
    : m_grid(grid), m_dropdownMenu(std::make_unique<TMenuReference>())
{
}

TDBGridGxIndicatorTitle::~TDBGridGxIndicatorTitle() = default;

TPopupMenu* TDBGridGxIndicatorTitle::DropdownMenu() const { return m_dropdownMenu->Menu(); }

void TDBGridGxIndicatorTitle::SetDropdownMenu(TPopupMenu* menu) { m_dropdownMenu->Set(menu); }

void TDBGridGxIndicatorTitle::SetShowDropDownSign(bool value)
{
    if (value == m_showDropDownSign)
        return;
    m_showDropDownSign = value;
    m_grid.InvalidateCell(0, 0);
}

void TDBGridGxIndicatorTitle::SetPressed(bool value)
{
    if (value == m_pressed)
        return;
    m_pressed = value;
    m_grid.InvalidateCell(0, 0);
    m_grid.Update();
}

// ---- The grid's side ----------------------------------------------------------------------------------------------

// As a button the title pops up its menu; otherwise, in a multi-select grid, it selects
// everything or clears what is selected.
bool TCustomDBGridGx::IndicatorTitleClick()
{
    if (m_center)
        m_center->DoIndicatorTitleHook(*this);
    if (!m_indicatorTitle->TitleButton()) {
        if (!m_options.Contains(dgMultiSelect) || !m_dataLink->Active() || !m_allowedSelections.Contains(gstAll))
            return false;
        if (m_selection->SelectionType() != gstNon)
            m_selection->Clear();
        else
            m_selection->SelectAll();
        return true;
    }
    TPopupMenu* menu = nullptr;
    if (m_onBuildIndicatorTitleMenu)
        m_onBuildIndicatorTitleMenu(this, menu);
    else if (m_center)
        menu = m_center->DoFillIndicatorTitleMenu(*this);
    if (!menu)
        return true;
    // A menu built for this click alone, owned by nobody, goes once it has been shown.
    const std::unique_ptr<TPopupMenu> ownMenu(menu->Owner() ? nullptr : menu);
    if (menu->Items()->Count() > 0)
        PopupIndicatorTitleMenu(*menu);
    return true;
}

bool TCustomDBGridGx::FixedCellPressed(int col, int row) const
{
    return col == 0 && row == 0 && m_indicatorTitle && m_indicatorTitle->Pressed();
}

// The menu hangs from the title's bottom-left corner; the title stays down while it is up.
void TCustomDBGridGx::PopupIndicatorTitleMenu(TPopupMenu& menu)
{
    const TRect cell = CellRect(0, 0);
    const TPoint corner = ClientToScreen(TPoint{cell.left, cell.bottom});
    m_indicatorTitle->SetPressed(true);
    menu.SetPopupComponent(this);
    try {
        menu.Popup(corner.x, corner.y);
    } catch (...) {
        m_indicatorTitle->SetPressed(false);
        throw;
    }
    m_indicatorTitle->SetPressed(false);
}
