#include "modem/app/CallHistoryPage.h"

#include "modem/app/CallPage.h"
#include "modem/app/PageWiring.h"
#include "modem/app/MainForm.h"
#include "modem/app/NumberCheck.h"
#include "modem/core/Delay.h"
#include "modem/store/ModemDatabase.h"

#include "grid/core/DBGridGx.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/winapi/user/WinUser.h"

namespace {

constexpr const char* UnknownNumber = "Unknown number.";

} // namespace

TCallHistoryPage::TCallHistoryPage(TMainForm& form, TCallPage& callPage, const std::string& programFolder)
    : m_form(form), m_callPage(callPage), m_records(programFolder)
{
    WireControls();
}

void TCallHistoryPage::WireControls()
{
    FormControl<TPopupMenu>(m_form, "PMCH").SetOnPopup(PageHandler([this] { PMCHPopup(); }));
    FormControl<TMenuItem>(m_form, "PCD").SetOnClick(PageHandler([this] { PCDClick(); }));
    FormControl<TMenuItem>(m_form, "PCDelO").SetOnClick(PageHandler([this] { PCDelOClick(); }));
    FormControl<TMenuItem>(m_form, "PCDelA").SetOnClick(PageHandler([this] { PCDelAClick(); }));
    FormControl<TMenuItem>(m_form, "PMBD").SetOnClick(PageHandler([this] { PMBDClick(); }));
    m_form.ICHClose->SetOnClick(PageHandler([this] { PMBDClick(); }));
    for (TDBGridGx* grid : {m_form.DBGOUT, m_form.DBGIN, m_form.DBGM})
        grid->SetOnCellClick(TColumnEventGx::FromFunction([this, grid](TColumnGx*) { CellClick(*grid); }));
}

std::optional<TCallList> TCallHistoryPage::ShownList() const
{
    const TDataSet* shown = m_form.DSC->DataSet();
    if (shown == m_form.QOUT)
        return TCallList::Outgoing;
    if (shown == m_form.QIN)
        return TCallList::Incoming;
    if (shown == m_form.QMISS)
        return TCallList::Missed;
    return std::nullopt;
}

TADOQuery& TCallHistoryPage::QueryOf(TCallList list) const
{
    switch (list) {
    case TCallList::Outgoing:
        return *m_form.QOUT;
    case TCallList::Incoming:
        return *m_form.QIN;
    case TCallList::Missed:
        break;
    }
    return *m_form.QMISS;
}

void TCallHistoryPage::PMCHPopup()
{
    const std::optional<TCallList> list = ShownList();
    const bool rows = list && QueryOf(*list).Active() && !QueryOf(*list).IsEmpty();
    m_chosen = list ? std::optional<TChosenRow>({*list, rows ? QueryOf(*list).RecordKey() : std::nullopt})
                    : std::nullopt;
    for (const char* item : {"PCD", "PCDelO", "PCDelA"})
        FormControl<TMenuItem>(m_form, item).SetEnabled(rows);
}

void TCallHistoryPage::PCDClick()
{
    const std::optional<std::string> number =
        m_chosen && m_chosen->key ? m_records.Number(m_chosen->list, *m_chosen->key) : std::nullopt;
    // A withheld caller is logged as "Anonymous": nothing a dial command can take.
    if (!number || !IsPhoneNumber(*number)) {
        m_form.SetStatusText(1, UnknownNumber);
        return;
    }
    m_form.EDNum->Clear();
    m_callPage.EDNumStyle(*number);
    PMBDClick();
}

void TCallHistoryPage::PMBDClick() { m_form.PCH->SetVisible(false); }

bool TCallHistoryPage::ConfirmDelete() const
{
    return MessageBoxA(m_form.Handle(), "Are you sure to Delete?", "Call History", MB_OKCANCEL) == IDOK;
}

void TCallHistoryPage::PCDelOClick()
{
    if (!m_chosen || !m_chosen->key || !ConfirmDelete())
        return;
    m_records.Delete(m_chosen->list, *m_chosen->key);
    Refresh(m_chosen->list);
}

void TCallHistoryPage::PCDelAClick()
{
    if (!m_chosen || !ConfirmDelete())
        return;
    m_records.DeleteAll(m_chosen->list);
    Refresh(m_chosen->list);
}

void TCallHistoryPage::Refresh(TCallList list)
{
    m_chosen.reset();
    RefreshQuery(QueryOf(list), [](unsigned ms) { ::Delay(ms); });
}

void TCallHistoryPage::CellClick(TDBGridGx& grid)
{
    TDataSet* shown = m_form.DSC->DataSet();
    if (!shown || !shown->Active() || shown->IsEmpty())
        return;
    grid.SetHint(shown->FieldByName("NAME")->AsString());
    grid.SetShowHint(true);
}
