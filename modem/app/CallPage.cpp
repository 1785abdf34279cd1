#include "modem/app/CallPage.h"

#include "modem/app/MainForm.h"
#include "modem/app/ModemSession.h"
#include "modem/app/PageWiring.h"
#include "modem/app/NumberCheck.h"
#include "modem/app/Pictures.h"
#include "modem/core/ATCommands.h"
#include "modem/store/CallTimerText.h"

#include "platform/classlib/core/Timers.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/winapi/controls/Edit.h"

#include <array>

namespace {

constexpr const char* CallCaption = "Call";
constexpr const char* AnswerCaption = "Answer";
constexpr const char* OutgoingTitle = "Call Outgoing.";
constexpr const char* IncomingTitle = "Call Incoming.";
// A display of this many characters or fewer is no number to look up or dial.
constexpr std::size_t ShortestNumber = 3;
constexpr unsigned DialDelayMs = 1000;
constexpr int MuteFrames = 2;

// Red, green, olive, in turn.
constexpr std::array<TColor, 3> DigitColours = {TColor(0x0000FF), TColor(0x008000), TColor(0x008080)};
// The speaker level of each volume bar position.
constexpr std::array<const char*, 5> VolumeLevels = {"0", "6", "12", "18", "24"};

struct TKey {
    const char* button;
    char character;
};
constexpr std::array<TKey, 12> Keys = {{
    {"BD1", '1'}, {"BD2", '2'}, {"BD3", '3'}, {"BD4", '4'}, {"BD5", '5'}, {"BD6", '6'},
    {"BD7", '7'}, {"BD8", '8'}, {"BD9", '9'}, {"BD10", '0'}, {"BD11", '*'}, {"BD12", '#'},
}};

} // namespace

TCallPage::TCallPage(TMainForm& form, TModemSession& session, TSettings& settings, const std::string& programFolder)
    : m_form(form), m_session(session), m_settings(settings), m_matches(programFolder), m_lookup(programFolder)
{
    WireKeys();
    form.LBName->SetSorted(false);
    form.BClear->SetOnClick(PageHandler([this] { BClearClick(); }));
    form.BCall->SetOnClick(PageHandler([this] { BCallClick(); }));
    form.BHang->SetOnClick(PageHandler([this] { BHangClick(); }));
    form.BRecall->SetOnClick(PageHandler([this] { BRecallClick(); }));
    form.LBName->SetOnClick(PageHandler([this] { LBNameClick(); }));
    form.LBName->SetOnDblClick(PageHandler([this] { LBNameDblClick(); }));
    form.BCV->SetOnClick(PageHandler([this] { BCVClick(); }));
    form.Image1->SetOnClick(PageHandler([this] { BCVClick(); }));
    form.TBVol->SetOnChange(PageHandler([this] { TBVolChange(); }));
    form.IMute->SetOnClick(PageHandler([this] { IMuteClick(); }));
}

void TCallPage::WireKeys()
{
    for (const TKey& key : Keys)
        FormControl<TButton>(m_form, key.button).SetOnClick(
            PageHandler([this, character = key.character] { KeyClick(character); }));
    FormControl<TButton>(m_form, "BCH").SetOnClick(PageHandler([this] { BCHClick(); }));
}

// While a call is shown the display keeps its number; a key pressed during a connected call sends
// its tone.
void TCallPage::ShowTickedNumber(const std::string& number)
{
    EDNumStyle(number);
    m_form.LBName->SetHint("");
    m_form.LBName->SetShowHint(false);
    m_digitColourIndex = 0;
}

void TCallPage::ClearDisplay()
{
    m_form.EDNum->Clear();
    m_digitColourIndex = 0;
}

void TCallPage::ShowNumber(const std::string& number)
{
    m_form.EDNum->SetText(number);
    Recolour();
}

void TCallPage::KeyClick(char key)
{
    if (m_form.ETitle->Text().empty())
        EDNumStyle(std::string(1, key));
    if (m_session.CallFlags().Connected)
        (void)SendDTMF(m_session.CommandQueue(), key);
}

void TCallPage::EDNumStyle(const std::string& text)
{
    if (!text.empty())
        m_form.EDNum->SetText(m_form.EDNum->Text() + text);
    Recolour();
    const std::string display = m_form.EDNum->Text();
    if (display.size() >= ShortestNumber)
        RefreshSmartDial(display);
}

// One colour a character, in turn, from where the last recolouring stopped (one position past the
// end is coloured too, so the index moves on by the length plus one).
void TCallPage::Recolour()
{
    TRichEdit& display = *m_form.EDNum;
    const int length = static_cast<int>(display.Text().size());
    for (int position = 0; position <= length; ++position) {
        display.SetSelStart(position);
        display.SetSelLength(1);
        display.SelAttributes()->SetColor(DigitColours[static_cast<std::size_t>(m_digitColourIndex)]);
        m_digitColourIndex = (m_digitColourIndex + 1) % static_cast<int>(DigitColours.size());
    }
    display.SetSelStart(length);
    display.SetSelLength(0);
    (void)display.Perform(EM_SCROLLCARET);
}

void TCallPage::RefreshSmartDial(const std::string& display)
{
    m_form.LBName->Items()->Clear();
    std::vector<std::string>& numbers = m_session.NameListNumbers();
    numbers.clear();
    for (const TContactMatch& match : m_matches.StartingWith(display)) {
        m_form.LBName->Items()->Add(match.Name);
        numbers.push_back(match.Number);
    }
}

void TCallPage::BClearClick()
{
    m_form.LBName->Items()->Clear();
    std::string display = m_form.EDNum->Text();
    if (!display.empty()) {
        display.pop_back();
        m_form.EDNum->SetText(display);
    }
    EDNumStyle("");
}

void TCallPage::BCallClick()
{
    if (m_form.BCall->Caption() != CallCaption) {
        if (m_form.BCall->Caption() == AnswerCaption) {
            SendATA(m_session.CommandQueue());
            m_form.BCall->SetEnabled(false);
        }
        return;
    }
    const std::string number = m_form.EDNum->Text();
    if (number.size() < ShortestNumber || !AcceptNumber(number))
        return;
    m_session.SetLastDialledNumber(number);
    if (m_form.LBName->Items()->Count() > 0) {
        m_form.LBName->Items()->Clear();
        m_session.NameListNumbers().clear();
    } else {
        ShowDialledContact(number);
    }
    m_session.SetCallOutgoing(true);
    m_form.Delay(DialDelayMs);
    if (!SendATD(m_session.CommandQueue(), number)) {
        // The command queue is full: nothing was dialled, so no call is shown.
        m_session.SetCallOutgoing(false);
        m_form.ETitle->SetText("Call Fail");
        return;
    }
    m_form.ETitle->SetText(OutgoingTitle);
    m_form.TCall->SetEnabled(true);
}

// The contact the number belongs to, by its last 11, then its last 7 characters.
void TCallPage::ShowDialledContact(const std::string& number)
{
    const auto name = m_lookup.NameOf(number);
    if (!name)
        return;
    m_form.LBName->Items()->Add(*name);
    m_session.NameListNumbers() = {number};
}

void TCallPage::BHangClick()
{
    SendATH(m_session.CommandQueue());
    m_form.BCall->SetEnabled(false);
}

void TCallPage::BRecallClick()
{
    ClearDisplay();
    EDNumStyle(m_session.LastDialledNumber());
    BCallClick();
}

void TCallPage::TCallTimer()
{
    m_session.CountCallSecond();
    const TModemSession::TCallFlags call = m_session.CallFlags();
    if (call.Outgoing)
        m_form.ETitle->SetText(CallProgressTitle(m_form.ETitle->Text(), call.Seconds, OutgoingTitle));
    if (call.Incoming)
        m_form.ETitle->SetText(CallProgressTitle(m_form.ETitle->Text(), call.Seconds, IncomingTitle));
    if (call.Connected)
        m_form.ETitle->SetText(CallTimeTitle(call.Seconds));
}

void TCallPage::LBNameClick()
{
    if (const std::string* number = SelectedNumber(*m_form.LBName, m_session.NameListNumbers())) {
        m_form.LBName->SetHint(*number);
        m_form.LBName->SetShowHint(true);
    }
}

void TCallPage::LBNameDblClick()
{
    const TModemSession::TCallFlags call = m_session.CallFlags();
    const std::string* number = SelectedNumber(*m_form.LBName, m_session.NameListNumbers());
    if (call.Outgoing || call.Connected || !number)
        return;
    const std::string chosen = *number;
    ClearDisplay();
    EDNumStyle(chosen);
}

// Opening the panel shows the stored level (setting the bar sends it when it moves); closing it
// stores the bar's position.
void TCallPage::BCVClick()
{
    if (m_form.PVol->Visible()) {
        m_settings.VolumeLevel = m_form.TBVol->Position();
        m_form.PVol->SetVisible(false);
        return;
    }
    m_form.PVol->SetVisible(true);
    m_form.PVol->BringToFront();
    m_form.TBVol->SetPosition(m_settings.VolumeLevel);
}

void TCallPage::TBVolChange()
{
    const int position = m_form.TBVol->Position();
    if (position >= 0 && static_cast<std::size_t>(position) < VolumeLevels.size())
        (void)SendVolume(m_session.CommandQueue(), VolumeLevels[static_cast<std::size_t>(position)]);
}

void TCallPage::IMuteClick()
{
    const bool muted = m_session.ToggleMuted();
    SendMute(m_session.CommandQueue(), muted);
    LoadPictureFrame(*m_form.IMute, "ILMUTE", muted ? 1 : 0, MuteFrames);
    m_form.ProcessMessages();
}

void TCallPage::BCHClick()
{
    m_form.PCH->SetVisible(true);
    m_form.PCH->BringToFront();
}
