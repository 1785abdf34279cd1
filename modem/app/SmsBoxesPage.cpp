#include "modem/app/SmsBoxesPage.h"

#include "modem/app/MainForm.h"
#include "modem/app/PageWiring.h"
#include "modem/app/SmsComposePage.h"
#include "modem/core/Delay.h"
#include "modem/store/ModemDatabase.h"

#include "grid/core/DBGridGx.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/winapi/user/WinUser.h"

namespace {

// What a draft saved without a recipient, and a message whose sender was withheld, hold as their
// number; and the name of a recipient entered as a bare number.
constexpr const char* NoNumber = "NULL";
constexpr const char* UnknownName = "Unknown";

} // namespace

TSmsBox TSmsBoxesPage::BoxOf(TTab tab)
{
    switch (tab) {
    case TTab::Outbox:
        return TSmsBox::Outbox;
    case TTab::SentBox:
        return TSmsBox::SentBox;
    case TTab::Inbox:
    case TTab::Templates:
        break;
    }
    return TSmsBox::Inbox;
}

TSmsBoxesPage::TSmsBoxesPage(TMainForm& form, TSmsComposePage& compose, const std::string& programFolder)
    : m_form(form), m_compose(compose), m_records(programFolder)
{
    WireControls();
}

void TSmsBoxesPage::WireControls()
{
    FormControl<TPopupMenu>(m_form, "PMSMS").SetOnPopup(PageHandler([this] { PMSMSPopup(); }));
    FormControl<TMenuItem>(m_form, "PMRM").SetOnClick(PageHandler([this] { PMRMClick(); }));
    FormControl<TMenuItem>(m_form, "PSMDelO").SetOnClick(PageHandler([this] { PSMDelOClick(); }));
    FormControl<TMenuItem>(m_form, "PSMDelA").SetOnClick(PageHandler([this] { PSMDelAClick(); }));
    FormControl<TMenuItem>(m_form, "PBack").SetOnClick(PageHandler([this] { PBackClick(); }));
    m_form.DBGIB->SetOnDblClick(PageHandler([this] { DBGIBDblClick(); }));
    m_form.DBGOB->SetOnDblClick(PageHandler([this] { DBGOBDblClick(); }));
    m_form.DBGSB->SetOnDblClick(PageHandler([this] { DBGSBDblClick(); }));
    m_form.DBGT->SetOnDblClick(PageHandler([this] { DBGTDblClick(); }));
    for (TDBGridGx* grid : {m_form.DBGIB, m_form.DBGOB, m_form.DBGSB})
        grid->SetOnCellClick(TColumnEventGx::FromFunction([this, grid](TColumnGx*) { CellClick(*grid); }));
    FormControl<TButton>(m_form, "BIR").SetOnClick(PageHandler([this] { BIRClick(); }));
    FormControl<TButton>(m_form, "BIF").SetOnClick(PageHandler([this] { BIFClick(); }));
    FormControl<TButton>(m_form, "BIB").SetOnClick(PageHandler([this] { BIBClick(); }));
    m_form.IReadClose->SetOnClick(PageHandler([this] { BIBClick(); }));
    FormControl<TMemo>(m_form, "MTemp").SetOnChange(PageHandler([this] { MTempChange(); }));
    FormControl<TButton>(m_form, "BTE").SetOnClick(PageHandler([this] { BTEClick(); }));
    FormControl<TButton>(m_form, "BTC").SetOnClick(PageHandler([this] { BTCClick(); }));
    FormControl<TButton>(m_form, "BTB").SetOnClick(PageHandler([this] { BTBClick(); }));
    m_form.ITempClose->SetOnClick(PageHandler([this] { BTBClick(); }));
}

std::optional<TSmsBoxesPage::TTab> TSmsBoxesPage::ShownTab() const
{
    const TDataSet* shown = m_form.DSSMS->DataSet();
    for (TTab tab : {TTab::Inbox, TTab::Outbox, TTab::SentBox, TTab::Templates})
        if (shown == &QueryOf(tab))
            return tab;
    return std::nullopt;
}

TADOQuery& TSmsBoxesPage::QueryOf(TTab tab) const
{
    switch (tab) {
    case TTab::Inbox:
        return *m_form.QIB;
    case TTab::Outbox:
        return *m_form.QOB;
    case TTab::SentBox:
        return *m_form.QSB;
    case TTab::Templates:
        break;
    }
    return *m_form.QTEMP;
}

std::optional<TSmsBoxesPage::TChosenRow> TSmsBoxesPage::CurrentRow(TTab tab) const
{
    const TADOQuery& query = QueryOf(tab);
    if (!query.Active() || query.IsEmpty())
        return std::nullopt;
    const std::optional<std::int64_t> key = query.RecordKey();
    if (!key)
        return std::nullopt;
    return TChosenRow{tab, *key};
}

// ---- The popup menu -----------------------------------------------------------------------------

void TSmsBoxesPage::PMSMSPopup()
{
    const std::optional<TTab> tab = ShownTab();
    m_chosen = tab ? CurrentRow(*tab) : std::nullopt;
    const bool templates = tab == TTab::Templates;
    TMenuItem& read = FormControl<TMenuItem>(m_form, "PMRM");
    read.SetCaption(templates ? "Read This Template" : "Read This Message");
    read.SetEnabled(m_chosen.has_value());
    const std::pair<const char*, const char*> deletes[] = {{"PSMDelO", "Delete This Message"},
                                                           {"PSMDelA", "Delete All Messages"}};
    for (const auto& [name, caption] : deletes) {
        TMenuItem& item = FormControl<TMenuItem>(m_form, name);
        item.SetCaption(templates ? "" : caption);
        item.SetVisible(!templates);
        item.SetEnabled(m_chosen.has_value());
    }
}

void TSmsBoxesPage::PMRMClick()
{
    if (m_chosen)
        Open(*m_chosen);
}

void TSmsBoxesPage::Open(const TChosenRow& row)
{
    if (row.tab == TTab::Templates)
        OpenTemplate(row.key);
    else
        Read(BoxOf(row.tab), row.key);
}

void TSmsBoxesPage::PBackClick() { m_form.PCSMS->SetVisible(false); }

bool TSmsBoxesPage::Confirm(const char* question, const char* title) const
{
    return MessageBoxA(m_form.Handle(), question, title, MB_OKCANCEL) == IDOK;
}

void TSmsBoxesPage::PSMDelOClick()
{
    if (!m_chosen || m_chosen->tab == TTab::Templates || !Confirm("Are you sure to Delete?", "SMS"))
        return;
    (void)m_records.Delete(BoxOf(m_chosen->tab), m_chosen->key);
    Refresh(m_chosen->tab);
}

void TSmsBoxesPage::PSMDelAClick()
{
    if (!m_chosen || m_chosen->tab == TTab::Templates || !Confirm("Are you sure to Delete?", "SMS"))
        return;
    (void)m_records.DeleteAll(BoxOf(m_chosen->tab));
    Refresh(m_chosen->tab);
}

void TSmsBoxesPage::Refresh(TTab tab)
{
    m_chosen.reset();
    RefreshQuery(QueryOf(tab), [](unsigned ms) { ::Delay(ms); });
    ShowUnreadMark();
}

void TSmsBoxesPage::ShowUnreadMark() { m_form.ShowUnreadMark(m_records.AnyUnread()); }

// ---- The grids ----------------------------------------------------------------------------------

void TSmsBoxesPage::DBGIBDblClick()
{
    if (const std::optional<TChosenRow> row = CurrentRow(TTab::Inbox))
        Read(TSmsBox::Inbox, row->key);
}

void TSmsBoxesPage::DBGOBDblClick()
{
    if (const std::optional<TChosenRow> row = CurrentRow(TTab::Outbox))
        ReopenForSending(TSmsBox::Outbox, row->key);
}

void TSmsBoxesPage::DBGSBDblClick()
{
    if (const std::optional<TChosenRow> row = CurrentRow(TTab::SentBox))
        ReopenForSending(TSmsBox::SentBox, row->key);
}

void TSmsBoxesPage::DBGTDblClick()
{
    if (const std::optional<TChosenRow> row = CurrentRow(TTab::Templates))
        OpenTemplate(row->key);
}

void TSmsBoxesPage::CellClick(TDBGridGx& grid)
{
    TDataSet* shown = m_form.DSSMS->DataSet();
    if (!shown || !shown->Active() || shown->IsEmpty() || !shown->FindField("NAME"))
        return;
    grid.SetHint(shown->FieldByName("NAME")->AsString());
    grid.SetShowHint(true);
}

// ---- The read panel -----------------------------------------------------------------------------

void TSmsBoxesPage::Read(TSmsBox box, std::int64_t key)
{
    m_reading = m_records.Message(box, key);
    if (!m_reading)
        return;
    FormControl<TEdit>(m_form, "EMName").SetText(m_reading->Name);
    FormControl<TEdit>(m_form, "EMNum").SetText(m_reading->Number);
    FormControl<TMemo>(m_form, "MMText").SetText(m_reading->Text);
    m_form.PCSMS->SetEnabled(false);
    m_form.PSMS->SetVisible(true);
    m_form.PSMS->BringToFront();
    if (box != TSmsBox::Inbox)
        return;
    m_records.MarkRead(key);
    Refresh(TTab::Inbox);
}

void TSmsBoxesPage::BackToCompose()
{
    m_form.PSMS->SetVisible(false);
    m_form.PCSMS->SetVisible(false);
    m_form.PCSMS->SetEnabled(true);
}

// The sender joins the recipients; the text typed so far stays.
void TSmsBoxesPage::BIRClick()
{
    if (m_reading && m_reading->Number != NoNumber)
        (void)m_compose.CBNumAdd(m_reading->Name, m_reading->Number);
    BackToCompose();
}

// The text, for recipients still to be chosen; the compose page cuts it to one SMS where the user
// sees it.
void TSmsBoxesPage::BIFClick()
{
    m_compose.MDelAClick();
    if (m_reading)
        m_form.MM->SetText(m_reading->Text);
    BackToCompose();
}

void TSmsBoxesPage::BIBClick()
{
    m_form.PSMS->SetVisible(false);
    m_form.PCSMS->SetEnabled(true);
}

// A draft saved without a recipient comes back without one.
void TSmsBoxesPage::ReopenForSending(TSmsBox box, std::int64_t key)
{
    const std::optional<TStoredMessage> message = m_records.Message(box, key);
    if (!message)
        return;
    m_compose.MDelAClick();
    if (message->Number != NoNumber)
        (void)m_compose.CBNumAdd(message->Name == UnknownName ? message->Number : message->Name, message->Number);
    m_form.MM->SetText(message->Text);
    m_form.PCSMS->SetVisible(false);
}

// ---- The template panel -------------------------------------------------------------------------

void TSmsBoxesPage::OpenTemplate(std::int64_t key)
{
    const std::optional<std::string> text = m_records.Template(key);
    if (!text)
        return;
    m_template = key;
    m_templateText = *text;
    FormControl<TMemo>(m_form, "MTemp").SetText(*text);
    MTempChange();
    m_form.PTEMP->SetVisible(true);
    m_form.PTEMP->BringToFront();
    m_form.PCSMS->SetEnabled(false);
}

void TSmsBoxesPage::MTempChange()
{
    FormControl<TLabel>(m_form, "LTEMP").SetCaption(std::to_string(FormControl<TMemo>(m_form, "MTemp").Text().size()));
}

void TSmsBoxesPage::BTEClick()
{
    if (!m_template || !Confirm("Are you sure to Change?", "Message Template"))
        return;
    m_templateText = FormControl<TMemo>(m_form, "MTemp").Text();
    (void)m_records.ChangeTemplate(*m_template, m_templateText);
    RefreshQuery(*m_form.QTEMP, [](unsigned ms) { ::Delay(ms); });
}

// The template follows the text typed so far; the compose page cuts what goes past one SMS.
void TSmsBoxesPage::BTCClick()
{
    if (m_template)
        m_form.MM->SetText(m_form.MM->Text() + m_templateText);
    m_form.PCSMS->SetVisible(false);
    BTBClick();
}

void TSmsBoxesPage::BTBClick()
{
    m_form.PCSMS->SetEnabled(true);
    m_form.PTEMP->SetVisible(false);
}

void TSmsBoxesPage::HideBoxes()
{
    BIBClick();
    BTBClick();
    m_form.PCSMS->SetVisible(false);
}
