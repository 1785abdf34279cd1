#include "modem/app/CallServicesPage.h"

#include "modem/app/PageWiring.h"
#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/NumberCheck.h"
#include "modem/core/ATCommands.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/ButtonsBitBtn.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/winapi/user/WinUser.h"

#include <array>

namespace {

struct TForwardingKind {
    const char* button;
    const char* caption;
    TFeatureCode on;
    TFeatureCode off;
};

constexpr std::array<TForwardingKind, 4> ForwardingKinds = {{
    {"BFwdAll", "Forward All", TFeatureCode::ForwardAll, TFeatureCode::ForwardAllOff},
    {"BFwdbusy", "When Busy", TFeatureCode::ForwardBusy, TFeatureCode::ForwardBusyOff},
    {"BFwdnoan", "No Answer", TFeatureCode::ForwardNoAnswer, TFeatureCode::ForwardNoAnswerOff},
    {"BFwdnore", "No Response", TFeatureCode::ForwardNoResponse, TFeatureCode::ForwardNoResponseOff},
}};

} // namespace

TCallServicesPage::TCallServicesPage(TMainForm& form, TModemSession& session)
    : m_form(form), m_session(session), m_answerWait(new TTimer(&form))
{
    m_answerWait->SetName("TServiceWait");
    m_answerWait->SetEnabled(false);
    m_answerWait->SetInterval(ServiceAnswerTimeout);
    m_answerWait->SetOnTimer(PageHandler([this] { ServiceWaitTimeout(); }));
    WireControls();
}

void TCallServicesPage::WireControls()
{
    FormControl<TButton>(m_form, "BSetCW").SetOnClick(PageHandler([this] { BSetCWClick(); }));
    for (std::size_t kind = 0; kind < ForwardingKinds.size(); ++kind)
        FormControl<TSpeedButton>(m_form, ForwardingKinds[kind].button)
            .SetOnClick(PageHandler([this, kind] { ChooseForwarding(static_cast<int>(kind)); }));
    FormControl<TRadioButton>(m_form, "RCFallon").SetOnClick(PageHandler([this] { m_form.ETonum->SetVisible(true); }));
    FormControl<TRadioButton>(m_form, "RCFalloff").SetOnClick(PageHandler([this] { m_form.ETonum->SetVisible(false); }));
    m_form.ETonum->SetOnKeyPress(DigitKeysOnly());
    FormControl<TBitBtn>(m_form, "BCFSet").SetOnClick(PageHandler([this] { BCFSetClick(); }));
    FormControl<TSpeedButton>(m_form, "BFwdcancel").SetOnClick(PageHandler([this] { BFwdcancelClick(); }));
    FormControl<TEdit>(m_form, "EMin").SetOnKeyPress(DigitKeysOnly());
    FormControl<TButton>(m_form, "Bminok").SetOnClick(PageHandler([this] { BminokClick(); }));
    FormControl<TButton>(m_form, "BminCan").SetOnClick(PageHandler([this] { BminCanClick(); }));
    m_form.SetKeyPreview(true);
    m_form.SetOnKeyDown(
        TKeyEvent::FromFunction([this](TObject*, WORD& key, TShiftState shift) { FormKeyDown(key, shift); }));
}

void TCallServicesPage::FormKeyDown(WORD key, TShiftState shift)
{
    const bool settingShown = m_form.PCH->Visible() && m_form.PCCH->ActivePage() == m_form.TSSet;
    if (key != 'E' || !shift.Contains(ssCtrl) || !shift.Contains(ssShift) || !settingShown)
        return;
    m_form.PEngineer->SetVisible(true);
    m_form.PEngineer->BringToFront();
    if (TEdit& min = FormControl<TEdit>(m_form, "EMin"); min.CanFocus())
        min.SetFocus();
}

void TCallServicesPage::Tell(const std::string& text) const
{
    (void)MessageBoxA(m_form.Handle(), text.c_str(), "USB MODEM", MB_OK);
}

void TCallServicesPage::Request(TFeatureCode code, const std::string& number)
{
    if (!m_session.RequestService(code, number)) {
        Tell("The modem cannot take the request now. Please try later.");
        return;
    }
    m_form.Pwait->SetVisible(true);
    m_form.Pwait->BringToFront();
    m_form.PCH->SetEnabled(false);
    m_answerWait->SetEnabled(false);
    m_answerWait->SetEnabled(true);
}

void TCallServicesPage::ServiceWaitTimeout()
{
    m_answerWait->SetEnabled(false);
    if (!m_session.AbandonServiceRequest())
        return;
    m_form.EndServiceWait();
    Tell("The modem did not answer the request. Please try later.");
}

void TCallServicesPage::BSetCWClick()
{
    const bool on = FormControl<TRadioButton>(m_form, "RCWopen").Checked();
    Request(on ? TFeatureCode::CallWaitingOn : TFeatureCode::CallWaitingOff);
}

void TCallServicesPage::ChooseForwarding(int kind)
{
    m_forwarding = kind;
    FormControl<TGroupBox>(m_form, "GBFwd").SetCaption(ForwardingKinds[static_cast<std::size_t>(kind)].caption);
}

void TCallServicesPage::BCFSetClick()
{
    const TForwardingKind& kind = ForwardingKinds[static_cast<std::size_t>(m_forwarding)];
    if (!FormControl<TRadioButton>(m_form, "RCFallon").Checked()) {
        Request(kind.off);
        return;
    }
    const std::string number = m_form.ETonum->Text();
    if (number.empty())
        Tell("Please add the phone number.");
    if (number.empty() || !AcceptNumber(number)) {
        if (m_form.ETonum->CanFocus())
            m_form.ETonum->SetFocus();
        return;
    }
    Request(kind.on, number);
}

void TCallServicesPage::BFwdcancelClick() { Request(TFeatureCode::CancelAllForwarding); }

void TCallServicesPage::BminokClick()
{
    if (!m_session.SendNewMin(FormControl<TEdit>(m_form, "EMin").Text()))
        Tell("A MIN is 1 to 10 digits, sent while the modem is ready.");
}

void TCallServicesPage::BminCanClick()
{
    FormControl<TEdit>(m_form, "EMin").Clear();
    m_form.PEngineer->SetVisible(false);
}
