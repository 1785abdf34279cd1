#pragma once

#include "platform/classlib/core/Persistent.h"

#include <memory>

class TCustomDBGridGx;
class TPopupMenu;

// The settings of a data grid's indicator title, the cell above the record marks: as a button
// (TitleButton) it pops up a menu: the grid centre's shared one (UseGlobalMenu) followed by the
// items of DropdownMenu.
class TDBGridGxIndicatorTitle : public TPersistent {
public:
    explicit TDBGridGxIndicatorTitle(TCustomDBGridGx& grid);
    ~TDBGridGxIndicatorTitle() override;

    [[nodiscard]] TCustomDBGridGx& Grid() const { return m_grid; }
    // Not owned; forgotten when the menu is freed.
    [[nodiscard]] TPopupMenu* DropdownMenu() const;
    void SetDropdownMenu(TPopupMenu* menu);
    [[nodiscard]] bool ShowDropDownSign() const { return m_showDropDownSign; }
    void SetShowDropDownSign(bool value);
    [[nodiscard]] bool TitleButton() const { return m_titleButton; }
    void SetTitleButton(bool value) { m_titleButton = value; }
    [[nodiscard]] bool UseGlobalMenu() const { return m_useGlobalMenu; }
    void SetUseGlobalMenu(bool value) { m_useGlobalMenu = value; }
    // Down while its menu is up.
    [[nodiscard]] bool Pressed() const { return m_pressed; }
    void SetPressed(bool value);

private:
    class TMenuReference;

    TCustomDBGridGx& m_grid;
    std::unique_ptr<TMenuReference> m_dropdownMenu;
    bool m_showDropDownSign = false;
    bool m_titleButton = false;
    bool m_useGlobalMenu = true;
    bool m_pressed = false;
};
