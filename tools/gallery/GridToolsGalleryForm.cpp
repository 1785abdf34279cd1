#include "tools/gallery/GridToolsGalleryForm.h"

#include "grid/core/DBGridGx.h"
#include "grid/core/DBGridGxColumnTitle.h"
#include "grid/tools/CalculatorGx.h"
#include "grid/tools/DBCtrlsGx.h"
#include "grid/tools/DBCtrlsGxCheckBox.h"
#include "grid/tools/DBCtrlsGxComboBox.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "tools/gallery/GridToolsGalleryLayout.h"

#include <string>
#include <tuple>

CLASSLIB_IMPLEMENT_CLASS(TGridToolsGalleryForm, TForm, ComponentCreator<TGridToolsGalleryForm>, nullptr)

namespace {

using namespace gallery::gridtools;

void Place(TControl& control, TForm& form, const RECT& where)
{
    control.SetBounds(where.left, where.top, where.right - where.left, where.bottom - where.top);
    control.SetParent(&form);
}

void AddLabel(TForm& form, int row, const char* text)
{
    auto* label = new TLabel(&form);
    label->SetCaption(text);
    Place(*label, form, Label(row));
}

TDBEditGx* AddEdit(TForm& form, int row, TEditButtonStyleGx style, const char* text)
{
    auto* edit = new TDBEditGx(&form);
    edit->EditButton()->SetVisible(true);
    edit->EditButton()->SetStyle(style);
    Place(*edit, form, Row(row));
    edit->SetEditorText(text);
    return edit;
}

} // namespace

TGridToolsGalleryForm::TGridToolsGalleryForm(TComponent* owner) : TForm(owner)
{
    SetCaption(CAPTION);
    SetBounds(WINDOW_RECT.left, WINDOW_RECT.top, WINDOW_RECT.right - WINDOW_RECT.left,
              WINDOW_RECT.bottom - WINDOW_RECT.top);

    AddLabel(*this, EDIT_ROW, "Edit");
    TDBEditGx* edit = AddEdit(*this, EDIT_ROW, ebsEllipsisGx, "Modem settings");
    auto* plus = static_cast<TEditButtonGx*>(edit->EditButtons()->Add());
    plus->SetStyle(ebsPlusGx);
    AddLabel(*this, SPIN_ROW, "Spin");
    (void)AddEdit(*this, SPIN_ROW, ebsUpDownGx, "42");
    AddLabel(*this, DISABLED_ROW, "Disabled");
    AddEdit(*this, DISABLED_ROW, ebsDropDownGx, "Read only")->SetEnabled(false);

    AddLabel(*this, COMBO_ROW, "Combo box");
    m_combo = new TDBComboBoxGx(this);
    for (const char* item : {"Inbox", "Outbox", "Sent", "Drafts", "Archive"})
        m_combo->Items()->Add(item);
    for (const char* key : {"IN", "OUT", "SENT", "DRAFT", "ARCH"})
        m_combo->KeyItems()->Add(key);
    Place(*m_combo, *this, Row(COMBO_ROW));
    m_combo->SetComboValue(Variant("SENT"));

    AddLabel(*this, CHECK_ROW, "Check box");
    constexpr const char* checkCaptions[CHECKS] = {"Checked", "Unchecked", "Grayed"};
    constexpr TCheckBoxStateGx states[CHECKS] = {cbCheckedGx, cbUncheckedGx, cbGrayedGx};
    for (int i = 0; i < CHECKS; ++i) {
        auto* check = new TDBCheckBoxGx(this);
        check->SetCaption(checkCaptions[i]);
        check->SetAllowGrayed(true);
        Place(*check, *this, Check(i));
        check->SetState(states[i]);
    }

    auto* calculator = new TCalculatorGx(this);
    Place(*calculator, *this, CALCULATOR);
    for (const char key : std::string("12.5*4="))
        calculator->HandleKey(key);

    AddGrid();

    // The combo box drops its list down once the form is on the screen.
    auto* timer = new TTimer(this);
    timer->SetInterval(50);
    timer->SetOnTimer(TNotifyEvent::FromFunction([this, timer](TObject*) {
        timer->SetEnabled(false);
        SetActiveControl(m_combo);
        m_combo->DropDown();
    }));
}

void TGridToolsGalleryForm::AddGrid()
{
    m_query = new TADOQuery(this);
    m_query->SetConnectionString("Provider=Microsoft.Jet.OLEDB.4.0;Data Source=:memory:");
    m_query->SQL()->SetText(
        "CREATE TABLE MESSAGES (ID INTEGER PRIMARY KEY, SENDER TEXT(30), SUBJECT TEXT(40), SIZE INTEGER)");
    (void)m_query->ExecSQL();
    for (int i = 1; i <= GRID_ROWS; ++i) {
        const std::string number = std::to_string(i);
        m_query->SQL()->SetText("INSERT INTO MESSAGES VALUES (" + number + ", 'Sender " + number +
                                "', 'Message number " + number + "', " + std::to_string(i * 512) + ")");
        (void)m_query->ExecSQL();
    }
    m_query->SQL()->SetText("SELECT ID, SENDER, SUBJECT, SIZE FROM MESSAGES ORDER BY ID");
    m_query->Open();
    auto* source = new TDataSource(this);
    source->SetDataSet(m_query);

    auto* grid = new TDBGridGx(this);
    Place(*grid, *this, GRID);
    for (const auto& [field, caption, width] : {std::tuple{"SENDER", "Sender", 90}, std::tuple{"SIZE", "Size", 50},
                                                std::tuple{"SUBJECT", "Subject", 140}}) {
        TColumnGx* column = grid->Columns().Add();
        column->SetFieldName(field);
        column->SetWidth(width);
        column->Title()->SetCaption(caption);
    }
    grid->SetDataSource(source);
}

