#pragma once

#include "platform/classlib/forms/Forms.h"

#include <string>
#include <vector>

class TButton;
class TDBCheckBoxGx;
class TDBComboBoxGx;
class TCustomDBGridGx;
class TLabel;

// The "Find text" dialog of the data grids. It only gathers what to look for and how; each press
// of "Find next" (or Enter) runs the grid's text search from the current record. One dialog
// serves every grid of the program: it is made on first use and kept, and each showing binds it
// to the grid asking and lists that grid's visible columns.
class TDBGridGxFindDlg : public TForm {
    CLASSLIB_DECLARE_CLASS;

    explicit TDBGridGxFindDlg(TComponent* owner);
    ~TDBGridGxFindDlg() override;

    // Binds the dialog to the grid and shows it: modal, or non-modal and on top.
    void ShowFor(TCustomDBGridGx& grid, const std::string& text, bool modal);

    void bFindClick(TObject* sender);
    void bCancelClick(TObject* sender);
    void cbFindInChange(TObject* sender);
    // Also the change handler of the direction: any change starts a new search.
    void cbTextChange(TObject* sender);
    void FormKeyDown(TObject* sender, WORD& key, TShiftState shift);

    TLabel* lText = nullptr;
    TDBComboBoxGx* cbText = nullptr;
    TLabel* lFindIn = nullptr;
    TDBComboBoxGx* cbFindIn = nullptr;
    TLabel* lMatchinType = nullptr;
    TDBComboBoxGx* cbMatchinType = nullptr;
    TLabel* lFindDirection = nullptr;
    TDBComboBoxGx* cbFindDirection = nullptr;
    TDBCheckBoxGx* cbCharCase = nullptr;
    TDBCheckBoxGx* cbUseFormat = nullptr;
    TButton* bFind = nullptr;
    TButton* bCancel = nullptr;

protected:
    void KeyDown(WORD& key, TShiftState shift) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void BuildControls();
    void BindGrid(TCustomDBGridGx* grid);
    void FillColumns();
    [[nodiscard]] int SearchOptions() const;
    [[nodiscard]] int SearchDirection(bool inverted) const;

    TCustomDBGridGx* m_grid = nullptr;
    // The field of each item of cbFindIn; empty for "<All>".
    std::vector<std::string> m_columnFields;
    // "All" searches from the first record on the first press only, then on downwards.
    bool m_firstTry = true;
};

// Shows the program's find dialog for the grid, making it on first use.
void ShowGridFindDialog(TCustomDBGridGx& grid, const std::string& text, bool modal);
// The dialog, null until it is first shown (and again after it is freed).
[[nodiscard]] TDBGridGxFindDlg* GridFindDialog();
// Makes Ctrl+F on every data grid open this dialog; the program calls it once at start-up.
void RegisterGridFindDialog();
