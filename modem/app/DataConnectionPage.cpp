#include "modem/app/DataConnectionPage.h"

#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/PageWiring.h"
#include "modem/app/NumberCheck.h"
#include "modem/store/CallTimerText.h"
#include "modem/store/DialProgress.h"

#include "dialup/RASDail.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/Exceptions.h"

namespace {

constexpr const char* DialCaption = "Dial";
constexpr const char* DisconnectCaption = "Disconnect";
constexpr const char* EntryName = "USB MODEM";
// Not measured: the page shows the modem's nominal speed.
constexpr const char* NominalSpeed = "144000";
constexpr unsigned HandOverDelayMs = 500;

} // namespace

TDataConnectionPage::TDataConnectionPage(TMainForm& form, TRASConnection& dialer, TModemSession& session,
                                         TSettings& settings)
    : m_form(form), m_dialer(dialer), m_session(session), m_settings(settings),
      m_rasNotifications(form, [this](TMessage& message) {
          if (message.Msg != WM_RAS_NOTIFY)
              return false;
          RasNotify(static_cast<std::uint32_t>(message.WParam));
          return true;
      })
{
    form.BDial->SetOnClick(PageHandler([this] { BDialClick(); }));
    form.BSet->SetOnClick(PageHandler([this] { BSetClick(); }));
    form.BBack->SetOnClick(PageHandler([this] { BBackClick(); }));
    form.Image3->SetOnClick(PageHandler([this] { BBackClick(); }));
    form.BSave->SetOnClick(PageHandler([this] { BSaveClick(); }));
    form.BDef->SetOnClick(PageHandler([this] { BDefClick(); }));
    form.TNet->SetOnTimer(PageHandler([this] { TNetTimer(); }));
}

void TDataConnectionPage::AddLog(const std::string& text)
{
    m_form.MDR->Lines()->Add(text + " " + FormatDateTime("hh:nn:ss", Now()));
}

void TDataConnectionPage::BDialClick()
{
    m_form.BDial->SetEnabled(false);
    if (m_form.BDial->Caption() != DialCaption) {
        // The button comes back with the next statistics tick, which finds the connection gone.
        AddLog("==Disconnecting==");
        m_dialer.Disconnect();
        return;
    }
    AddLog("==Getting Ready==");
    const TModemState state = m_form.ModemState();
    if (state == TModemState::PortOpened || state == TModemState::Initialised)
        HandOverPort();
    Dial();
}

// The modem logic lets go of the port: its worker paused, its timers off, the port closed. A
// failure on the way leaves the rest as it is; the dial goes ahead all the same.
void TDataConnectionPage::HandOverPort()
{
    try {
        m_session.SuspendWorker();
        m_form.TMain->SetEnabled(false);
        m_form.Delay(HandOverDelayMs);
        m_form.TAuto->SetEnabled(false);
        m_form.StopComm();
        m_form.SetModemState(TModemState::Released);
    } catch (const std::exception&) {
        // The port may have gone with the device; the dial reports what the service finds.
    }
}

void TDataConnectionPage::Dial()
{
    try {
        (void)m_dialer.RefreshEntries();
        m_dialer.SetEntryName(EntryName);
        m_dialer.SetPhoneNumber(m_settings.Tel);
        m_dialer.SetUserName(m_settings.UserName);
        m_dialer.SetPassword(m_settings.Password);
        m_dialer.Connect();
    } catch (const Exception& refused) {
        // Refused at once: no notification follows, so the page must come back by itself.
        AddLog("==" + refused.Message() + "==");
        AddLog("==Disconnected==");
        DialReset();
    }
}

void TDataConnectionPage::RasNotify(std::uint32_t code)
{
    const TDialProgress progress = DialProgressOf(code);
    switch (progress.Step) {
    case TDialStep::Log:
        AddLog(std::string(progress.LogText));
        break;
    case TDialStep::Connected:
        AddLog("==Connected==");
        m_form.TNet->SetEnabled(true);
        m_form.BDial->SetCaption(DisconnectCaption);
        m_form.BDial->SetEnabled(true);
        break;
    case TDialStep::Disconnected:
        m_form.TNet->SetEnabled(false);
        AddLog("==Disconnected==");
        DialReset();
        break;
    case TDialStep::ErrorWithText:
        EndWithError("==" + RasErrorText() + "==");
        break;
    case TDialStep::Error:
        EndWithError(ConnectionErrorLogText(RasErrorText()));
        break;
    case TDialStep::Ignored:
        break;
    }
}

// The statistics timer stays on: its next status check finds the connection gone and reports it
// as disconnected.
void TDataConnectionPage::EndWithError(const std::string& logText)
{
    AddLog(logText);
    AddLog("==Disconnected==");
    m_dialer.Disconnect();
    ResetLabels();
    DialReset();
}

void TDataConnectionPage::ResetLabels()
{
    m_form.LTime->SetCaption("00:00:00");
    for (TLabel* label : {m_form.LRvd, m_form.LSend, m_form.LSpeed})
        label->SetCaption("0");
}

// The port watch, on again, finds the port released and gives it back to the modem logic.
void TDataConnectionPage::DialReset()
{
    m_form.BDial->SetCaption(DialCaption);
    m_form.BDial->SetEnabled(true);
    m_form.TAuto->SetEnabled(true);
}

void TDataConnectionPage::TNetTimer()
{
    m_dialer.CheckStatus();
    if (!m_dialer.UpdateStatistics())
        return;
    m_form.LRvd->SetCaption(std::to_string(m_dialer.BytesReceived()));
    m_form.LSend->SetCaption(std::to_string(m_dialer.BytesSent()));
    m_form.LSpeed->SetCaption(NominalSpeed);
    m_form.LTime->SetCaption(ConnectionTime(m_dialer.ConnectDuration()));
}

void TDataConnectionPage::BSetClick()
{
    m_form.PNet->SetVisible(true);
    // Over the log, whose window may have been made after the panel's.
    m_form.PNet->BringToFront();
    m_form.EUN->SetText(m_settings.UserName);
    m_form.EPWD->SetText(m_settings.Password);
    m_form.ENUM->SetText(m_settings.Tel);
    m_form.EAPN->SetText(m_settings.Apn);
}

void TDataConnectionPage::BBackClick() { m_form.PNet->SetVisible(false); }

// The number is dialled by the modem: it passes the same check as every other number, and a
// refused one keeps the panel open for the user to mend it.
void TDataConnectionPage::BSaveClick()
{
    if (!AcceptNumber(m_form.ENUM->Text()))
        return;
    AddLog("==Settings Updated==");
    m_settings.UserName = m_form.EUN->Text();
    m_settings.Password = m_form.EPWD->Text();
    m_settings.Tel = m_form.ENUM->Text();
    m_settings.Apn = m_form.EAPN->Text();
    BBackClick();
}

void TDataConnectionPage::BDefClick()
{
    AddLog("==Default Settings==");
    // Everything back to its default but the volume, which this page does not show.
    TSettings defaults;
    defaults.VolumeLevel = m_settings.VolumeLevel;
    m_settings = defaults;
    BBackClick();
}
