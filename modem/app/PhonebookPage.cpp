#include "modem/app/PhonebookPage.h"

#include "modem/app/PageWiring.h"
#include "modem/app/MainForm.h"
#include "modem/app/NumberCheck.h"
#include "modem/core/ATCommands.h"
#include "modem/core/Delay.h"
#include "modem/store/ModemDatabase.h"

#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/Menus.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/user/WinUser.h"

namespace {

constexpr std::size_t MaxContactNumberLength = 20;
constexpr const char* Title = "PhoneBook";
constexpr const char* EditOperation = "Edit";
constexpr const char* AddOperation = "Add";

} // namespace

bool IsContactNumber(std::string_view number)
{
    return number.size() <= MaxContactNumberLength && IsDialString(number);
}

TPhonebookPage::TPhonebookPage(TMainForm& form, const std::string& programFolder)
    : m_form(form), m_records(programFolder)
{
    WireControls();
}

void TPhonebookPage::WireControls()
{
    FormControl<TPopupMenu>(m_form, "PMPB").SetOnPopup(PageHandler([this] { PMPBPopup(); }));
    FormControl<TMenuItem>(m_form, "PPME").SetOnClick(PageHandler([this] { PPMEClick(); }));
    FormControl<TMenuItem>(m_form, "PMAdd").SetOnClick(PageHandler([this] { PMAddClick(); }));
    FormControl<TMenuItem>(m_form, "PMDelO").SetOnClick(PageHandler([this] { PMDelOClick(); }));
    FormControl<TMenuItem>(m_form, "PMDelA").SetOnClick(PageHandler([this] { PMDelAClick(); }));
    FormControl<TButton>(m_form, "BPBOp").SetOnClick(PageHandler([this] { BPBOpClick(); }));
    FormControl<TButton>(m_form, "BPBC").SetOnClick(PageHandler([this] { BPBCClick(); }));
    m_form.IPBClose->SetOnClick(PageHandler([this] { BPBCClick(); }));
    FormControl<TEdit>(m_form, "PBNum").SetOnKeyPress(DigitKeysOnly());
}

std::optional<int> TPhonebookPage::ShownGroup() const
{
    const int tab = m_form.PCPB->ActivePageIndex();
    if (tab < 1 || tab > 3)
        return std::nullopt;
    return tab;
}

void TPhonebookPage::PMPBPopup()
{
    const bool rows = m_form.QAll->Active() && !m_form.QAll->IsEmpty();
    m_chosen = rows ? m_form.QAll->RecordKey() : std::nullopt;
    for (const char* item : {"PMCall", "PMSM", "PPME", "PMDelO", "PMDelA"})
        FormControl<TMenuItem>(m_form, item).SetEnabled(rows);
    FormControl<TMenuItem>(m_form, "PMAdd").SetEnabled(true);
}

void TPhonebookPage::PPMEClick()
{
    const std::optional<TContact> contact = m_chosen ? m_records.Contact(*m_chosen) : std::nullopt;
    if (!contact)
        return;
    m_editing = m_chosen;
    ShowPanel(EditOperation, *contact);
}

void TPhonebookPage::PMAddClick()
{
    m_editing.reset();
    ShowPanel(AddOperation, TContact{});
}

void TPhonebookPage::ShowPanel(const std::string& operation, const TContact& contact)
{
    FormControl<TButton>(m_form, "BPBOp").SetCaption(operation);
    FormControl<TEdit>(m_form, "PBNam").SetText(contact.Name);
    FormControl<TEdit>(m_form, "PBNum").SetText(contact.Number);
    FormControl<TMemo>(m_form, "PBA").SetText(contact.Address);
    FormControl<TComboBox>(m_form, "PBG").SetItemIndex(contact.Group >= 0 && contact.Group <= 3 ? contact.Group : 0);
    FormControl<TMemo>(m_form, "PBR").SetText(contact.Remark);
    m_form.POp->SetVisible(true);
    m_form.POp->BringToFront();
    m_form.PCPB->SetEnabled(false);
}

void TPhonebookPage::HidePanel()
{
    m_form.POp->SetVisible(false);
    m_form.PCPB->SetEnabled(true);
}

TContact TPhonebookPage::PanelContact() const
{
    const int group = FormControl<TComboBox>(m_form, "PBG").ItemIndex();
    return TContact{FormControl<TEdit>(m_form, "PBNam").Text(), FormControl<TEdit>(m_form, "PBNum").Text(),
                    FormControl<TMemo>(m_form, "PBA").Text(), FormControl<TMemo>(m_form, "PBR").Text(),
                    group < 0 ? 0 : group};
}

bool TPhonebookPage::Confirm(const char* question) const
{
    return MessageBoxA(m_form.Handle(), question, Title, MB_OKCANCEL) == IDOK;
}

void TPhonebookPage::BPBOpClick()
{
    const TContact contact = PanelContact();
    if (!IsContactNumber(contact.Number)) {
        (void)MessageBoxA(m_form.Handle(), NumberRuleText(MaxContactNumberLength).c_str(), Title, MB_OK);
        return;
    }
    const bool editing = FormControl<TButton>(m_form, "BPBOp").Caption() == EditOperation;
    if (!Confirm(editing ? "Are you sure to Change?" : "Are you sure to Add?"))
        return;
    if (!editing)
        m_records.Add(contact);
    else if (!m_editing || !m_records.Change(*m_editing, contact))
        (void)MessageBoxA(m_form.Handle(), "This contact has been deleted meanwhile.", Title, MB_OK);
    HidePanel();
    RefreshPhonebook();
}

void TPhonebookPage::BPBCClick() { HidePanel(); }

void TPhonebookPage::PMDelOClick()
{
    if (!m_chosen || !Confirm("Are you sure to Delete?"))
        return;
    m_records.Delete(*m_chosen);
    m_chosen.reset();
    RefreshPhonebook();
}

void TPhonebookPage::PMDelAClick()
{
    if (!Confirm("Are you sure to Delete?"))
        return;
    m_records.DeleteAll(ShownGroup());
    m_chosen.reset();
    RefreshPhonebook();
}

std::vector<TTickedContact> TPhonebookPage::TakeTicked()
{
    m_form.QAll->SetFilter("");
    m_form.QAll->SetFiltered(false);
    std::vector<TTickedContact> ticked = m_records.TakeTicked();
    RefreshPhonebook();
    if (m_form.QAll->Active())
        m_form.QAll->First();
    return ticked;
}

void TPhonebookPage::RefreshPhonebook()
{
    RefreshQuery(*m_form.QAll, [](unsigned ms) { ::Delay(ms); });
}
