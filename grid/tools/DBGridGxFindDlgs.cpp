#include "grid/tools/DBGridGxFindDlgs.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/core/DBGridGxFindDialogHook.h"
#include "grid/tools/DBCtrlsGxCheckBox.h"
#include "grid/tools/DBCtrlsGxComboBox.h"
#include "grid/tools/DBGridGxLocateText.h"
#include "platform/classlib/data/DBDataSet.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/ControlsMessages.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/rtl/Strings.h"

CLASSLIB_IMPLEMENT_CLASS(TDBGridGxFindDlg, TForm, ComponentCreator<TDBGridGxFindDlg>, nullptr)

namespace {

TDBGridGxFindDlg* TheDialog = nullptr;

constexpr const char* AllColumns = "<All>";
// Lists open long: a grid may have many columns.
constexpr int DropDownRows = 17;
// The client height of the dialog: its rows, without the tree row that only data sets with tree
// data would need (none here has them).
constexpr int ClientWidthPx = 505;
constexpr int ClientHeightPx = 122;
constexpr int LabelLeft = 8;
constexpr int FieldLeft = 88;
constexpr int RowHeight = 28;
constexpr int FirstRowTop = 10;

[[nodiscard]] int RowTop(int row) { return FirstRowTop + row * RowHeight; }

template <class Control>
Control* Place(TDBGridGxFindDlg& form, int left, int top, int width, int height)
{
    auto* control = new Control(&form);
    control->SetParent(&form);
    control->SetBounds(left, top, width, height);
    return control;
}

TDBComboBoxGx* PlaceCombo(TDBGridGxFindDlg& form, TLabel*& label, const char* caption, int left, int labelWidth,
                          int row, int width)
{
    label = Place<TLabel>(form, left, RowTop(row) + 4, labelWidth, 16);
    label->SetCaption(caption);
    auto* combo = Place<TDBComboBoxGx>(form, left + labelWidth, RowTop(row), width, 21);
    combo->DropDownBox().Rows = DropDownRows;
    combo->DropDownBox().Sizable = true;
    label->SetFocusControl(combo);
    return combo;
}

} // namespace

TDBGridGxFindDlg::TDBGridGxFindDlg(TComponent* owner) : TForm(owner)
{
    SetCaption("Find text");
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    SetKeyPreview(true);
    BuildControls();
    SetClientWidth(ClientWidthPx);
    SetClientHeight(ClientHeightPx);
    TheDialog = this;
}

TDBGridGxFindDlg::~TDBGridGxFindDlg()
{
    BindGrid(nullptr);
    if (TheDialog == this)
        TheDialog = nullptr;
}

void TDBGridGxFindDlg::BuildControls()
{
    const int fieldWidth = 310;
    cbText = PlaceCombo(*this, lText, "Fi&nd What:", LabelLeft, FieldLeft - LabelLeft, 0, fieldWidth);
    cbFindIn = PlaceCombo(*this, lFindIn, "Find &in:", LabelLeft, FieldLeft - LabelLeft, 1, fieldWidth);
    cbMatchinType = PlaceCombo(*this, lMatchinType, "Matc&h:", LabelLeft, FieldLeft - LabelLeft, 2, 160);
    cbMatchinType->Items()->SetText("From any part of field\nWhole field\nFrom beging of field");
    cbMatchinType->SetItemIndex(ltmAnyPartGx);
    cbFindDirection = PlaceCombo(*this, lFindDirection, "Sea&rch:", FieldLeft + 170, 56, 2, fieldWidth - 226);
    cbFindDirection->Items()->SetText("Up\nDown\nAll");
    cbFindDirection->SetItemIndex(ltdAllGx);

    cbCharCase = Place<TDBCheckBoxGx>(*this, FieldLeft, RowTop(3) + 2, 140, 17);
    cbCharCase->SetCaption("Match &Case");
    cbUseFormat = Place<TDBCheckBoxGx>(*this, FieldLeft + 170, RowTop(3) + 2, 140, 17);
    cbUseFormat->SetCaption("Match F&ormat");
    cbUseFormat->SetState(cbCheckedGx);

    const int buttonLeft = FieldLeft + fieldWidth + 12;
    bFind = Place<TButton>(*this, buttonLeft, RowTop(0) - 1, ClientWidthPx - buttonLeft - 8, 25);
    bFind->SetCaption("&Find next");
    bCancel = Place<TButton>(*this, buttonLeft, RowTop(1), ClientWidthPx - buttonLeft - 8, 25);
    bCancel->SetCaption("Close");
    bCancel->SetCancel(true);
    bCancel->SetModalResult(mrCancel);

    bFind->SetOnClick(TNotifyEvent::FromFunction([this](TObject* sender) { bFindClick(sender); }));
    bCancel->SetOnClick(TNotifyEvent::FromFunction([this](TObject* sender) { bCancelClick(sender); }));
    cbFindIn->SetOnChange(TNotifyEvent::FromFunction([this](TObject* sender) { cbFindInChange(sender); }));
    for (TDBComboBoxGx* combo : {cbText, cbFindDirection})
        combo->SetOnChange(TNotifyEvent::FromFunction([this](TObject* sender) { cbTextChange(sender); }));
}

void TDBGridGxFindDlg::ShowFor(TCustomDBGridGx& grid, const std::string& text, bool modal)
{
    cbText->SetText(text);
    BindGrid(&grid);
    FillColumns();
    m_firstTry = true;
    if (Visible())
        Close();
    SetActiveControl(cbText);
    // With no column of the grid's current title in the list, the search covers every column.
    if (cbFindIn->ItemIndex() < 0)
        cbFindIn->SetItemIndex(cbFindIn->Items()->Count() - 1);
    if (modal) {
        SetFormStyle(fsNormal);
        (void)ShowModal();
        return;
    }
    SetFormStyle(fsStayOnTop);
    Show();
    SetFocus();
}

void TDBGridGxFindDlg::BindGrid(TCustomDBGridGx* grid)
{
    if (m_grid == grid)
        return;
    if (m_grid)
        m_grid->RemoveFreeNotification(this);
    m_grid = grid;
    if (m_grid)
        m_grid->FreeNotification(this);
}

void TDBGridGxFindDlg::Notification(TComponent* component, TOperation operation)
{
    TForm::Notification(component, operation);
    if (operation == opRemove && component == m_grid) {
        m_grid = nullptr;
        m_columnFields.clear();
        cbFindIn->Items()->Clear();
        cbFindIn->KeyItems()->Clear();
    }
}

// The grid's visible titled columns by title, then "<All>"; the current column's title is chosen.
void TDBGridGxFindDlg::FillColumns()
{
    const TNotifyEvent onChange = cbFindIn->OnChange();
    cbFindIn->SetOnChange({});
    cbFindIn->Items()->Clear();
    cbFindIn->KeyItems()->Clear();
    m_columnFields.clear();
    std::string currentCaption;
    bool hasCurrent = false;
    for (int i = 0; i < m_grid->Columns().Count(); ++i) {
        const TColumnGx* column = m_grid->Columns().ColumnAt(i);
        if (i == m_grid->SelectedIndex()) {
            currentCaption = column->Title()->Caption();
            hasCurrent = true;
        }
        if (!column->Visible() || Trim(column->Title()->Caption()).empty())
            continue;
        cbFindIn->Items()->Add(column->Title()->Caption());
        m_columnFields.push_back(column->FieldName());
    }
    cbFindIn->Items()->Add(AllColumns);
    // The captions are their own keys: the box shows only them, and typing picks among them.
    cbFindIn->KeyItems()->Assign(cbFindIn->Items());
    m_columnFields.emplace_back();
    int chosen = -1;
    for (int i = 0; hasCurrent && i + 1 < cbFindIn->Items()->Count() && chosen < 0; ++i) {
        if (cbFindIn->Items()->Strings(i) == currentCaption)
            chosen = i;
    }
    cbFindIn->SetItemIndex(chosen);
    cbFindIn->SetOnChange(onChange);
}

int TDBGridGxFindDlg::SearchOptions() const
{
    int options = 0;
    if (!cbCharCase->Checked())
        options |= lsoCaseInsensitiveGx;
    if (cbUseFormat->Checked())
        options |= lsoDisplayTextGx;
    if (cbFindIn->ItemIndex() == cbFindIn->Items()->Count() - 1)
        options |= lsoAllColumnsGx;
    return options;
}

// Ctrl held at the press turns the search round: "Up" goes down, "Down" and "All" go up.
int TDBGridGxFindDlg::SearchDirection(bool inverted) const
{
    const int item = cbFindDirection->ItemIndex();
    int direction = item == ltdUpGx || item == ltdDownGx ? item : ltdAllGx;
    if (inverted)
        direction = direction == ltdUpGx ? ltdDownGx : ltdUpGx;
    if (direction == ltdAllGx && !m_firstTry)
        direction = ltdDownGx;
    return direction;
}

void TDBGridGxFindDlg::bFindClick(TObject*)
{
    const bool inverted = GetKeyState(VK_CONTROL) < 0;
    const std::string text = cbText->Text();
    if (cbText->Items()->IndexOf(text) < 0)
        cbText->Items()->Add(text);
    if (!m_grid || !m_grid->DataSource() || !m_grid->DataSource()->DataSet() ||
        !m_grid->DataSource()->DataSet()->Active())
        return;
    const int match = cbMatchinType->ItemIndex();
    const int column = cbFindIn->ItemIndex();
    const std::string fieldName =
        column >= 0 && column < static_cast<int>(m_columnFields.size()) ? m_columnFields[static_cast<std::size_t>(column)]
                                                                       : std::string();
    if (GridLocateText(m_grid, fieldName, text, SearchOptions(),
                       static_cast<TLocateTextDirectionGx>(SearchDirection(inverted)),
                       match >= ltmAnyPartGx && match <= ltmFromBeginningGx ? static_cast<TLocateTextMatchTypeGx>(match)
                                                                           : ltmAnyPartGx))
        m_firstTry = false;
}

void TDBGridGxFindDlg::bCancelClick(TObject*) { Close(); }

void TDBGridGxFindDlg::cbFindInChange(TObject*) { m_firstTry = true; }

void TDBGridGxFindDlg::cbTextChange(TObject*) { m_firstTry = true; }

// Enter finds the next match wherever the focus is, unless the control there wants the key.
// Escape is the Close button's (a cancel button), which serves modal and non-modal showing alike.
void TDBGridGxFindDlg::KeyDown(WORD& key, TShiftState shift)
{
    TForm::KeyDown(key, shift);
    FormKeyDown(this, key, shift);
}

void TDBGridGxFindDlg::FormKeyDown(TObject*, WORD& key, TShiftState)
{
    if (key != VK_RETURN)
        return;
    if (ActiveControl() && ActiveControl()->Perform(CM_WANTSPECIALKEY, key, 0) != 0)
        return;
    key = 0;
    bFindClick(this);
    // The text searched for is the box's value now: Escape closes instead of undoing the typing.
    cbText->DataLink().CommitPending();
}

void ShowGridFindDialog(TCustomDBGridGx& grid, const std::string& text, bool modal)
{
    if (!TheDialog)
        (void)new TDBGridGxFindDlg(Application);
    TheDialog->ShowFor(grid, text, modal);
}

TDBGridGxFindDlg* GridFindDialog() { return TheDialog; }

void RegisterGridFindDialog() { SetGridFindDialogHook(&ShowGridFindDialog); }
