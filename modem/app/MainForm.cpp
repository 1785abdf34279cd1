#include "modem/app/MainForm.h"

#include "modem/app/CallHistoryPage.h"
#include "modem/app/CallPage.h"
#include "modem/app/CallServicesPage.h"
#include "modem/app/DataConnectionPage.h"
#include "modem/app/ManagerGrids.h"
#include "modem/app/ModemSession.h"
#include "modem/app/PhonebookPage.h"
#include "modem/app/Pictures.h"
#include "modem/app/SmsBoxesPage.h"
#include "modem/app/SmsComposePage.h"
#include "modem/app/StoreRecords.h"
#include "modem/app/Welcome.h"
#include "modem/core/Delay.h"
#include "modem/store/ModemDatabase.h"
#include "modem/store/RingTones.h"

#include "dialup/RASDail.h"
#include "grid/core/DBGridGx.h"
#include "serial/Pelcomm.h"

#include "platform/classlib/core/IniFiles.h"
#include "platform/classlib/core/Timers.h"
#include "platform/classlib/data/ADODB.h"
#include "platform/classlib/data/DBDataSource.h"
#include "platform/classlib/data/DBFields.h"
#include "platform/classlib/forms/ComCtrlsRichEdit.h"
#include "platform/classlib/forms/ComCtrlsStatusBar.h"
#include "platform/classlib/forms/ComCtrlsTabs.h"
#include "platform/classlib/forms/ComCtrlsTrackBar.h"
#include "platform/classlib/forms/ExtCtrlsImage.h"
#include "platform/classlib/forms/ExtCtrlsPanel.h"
#include "platform/classlib/forms/MPlayer.h"
#include "platform/classlib/forms/ButtonsSpeedButton.h"
#include "platform/classlib/forms/StdCtrlsButtons.h"
#include "platform/classlib/forms/StdCtrlsComboBox.h"
#include "platform/classlib/forms/StdCtrlsEdit.h"
#include "platform/classlib/forms/StdCtrlsLabel.h"
#include "platform/classlib/forms/StdCtrlsListBox.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/SysMath.h"

#include <exception>
#include <filesystem>

TMainForm* MainForm = nullptr;

namespace {

constexpr const char* SmsToneFile = "sms.mid";
constexpr const char* RingToneFile = "incall.mid";
constexpr const char* SettingsFileName = "Modem.ini";
constexpr unsigned PortWatchInterval = 3000;
constexpr int SmsMaxLength = 160;
// The signal pictures: 0 to 5 bars, and the unread-message mark.
constexpr int NewMessagePicture = 6;

constexpr int SignalPictures = 7;

// Shows signal picture `index` of the signal strip; the image's Tag keeps the index.
void ShowSignalPicture(TImage& image, int index)
{
    image.SetTag(index);
    LoadPictureFrame(image, "ILSIGNAL", index, SignalPictures);
}

std::string& ProgramFolderOverride()
{
    static std::string folder;
    return folder;
}

void DescribeMainForm(TClassBuilder& c)
{
#define MAINFORM_FIELD(name) c.Field(#name, &TMainForm::name)
    MAINFORM_FIELD(BModem);
    MAINFORM_FIELD(BSMS);
    MAINFORM_FIELD(BCallM);
    MAINFORM_FIELD(BPBM);
    MAINFORM_FIELD(ISignal);
    MAINFORM_FIELD(ISMS);
    MAINFORM_FIELD(PM);
    MAINFORM_FIELD(PS);
    MAINFORM_FIELD(PC);
    MAINFORM_FIELD(PP);
    MAINFORM_FIELD(LTime);
    MAINFORM_FIELD(LSpeed);
    MAINFORM_FIELD(LSend);
    MAINFORM_FIELD(LRvd);
    MAINFORM_FIELD(MDR);
    MAINFORM_FIELD(BDial);
    MAINFORM_FIELD(BSet);
    MAINFORM_FIELD(Image3);
    MAINFORM_FIELD(PNet);
    MAINFORM_FIELD(EUN);
    MAINFORM_FIELD(EPWD);
    MAINFORM_FIELD(ENUM);
    MAINFORM_FIELD(EAPN);
    MAINFORM_FIELD(BSave);
    MAINFORM_FIELD(BDef);
    MAINFORM_FIELD(BBack);
    MAINFORM_FIELD(CBNum);
    MAINFORM_FIELD(LBNameS);
    MAINFORM_FIELD(MM);
    MAINFORM_FIELD(LSMS);
    MAINFORM_FIELD(BMSend);
    MAINFORM_FIELD(BBox);
    MAINFORM_FIELD(PCSMS);
    MAINFORM_FIELD(TSIB);
    MAINFORM_FIELD(TSOB);
    MAINFORM_FIELD(TSSB);
    MAINFORM_FIELD(TSTemp);
    MAINFORM_FIELD(DBGIB);
    MAINFORM_FIELD(DBGOB);
    MAINFORM_FIELD(DBGSB);
    MAINFORM_FIELD(DBGT);
    MAINFORM_FIELD(PSMS);
    MAINFORM_FIELD(IReadClose);
    MAINFORM_FIELD(PTEMP);
    MAINFORM_FIELD(ITempClose);
    MAINFORM_FIELD(ETitle);
    MAINFORM_FIELD(EDNum);
    MAINFORM_FIELD(LBName);
    MAINFORM_FIELD(BCall);
    MAINFORM_FIELD(BHang);
    MAINFORM_FIELD(BRecall);
    MAINFORM_FIELD(BClear);
    MAINFORM_FIELD(BCV);
    MAINFORM_FIELD(IMute);
    MAINFORM_FIELD(ETonum);
    MAINFORM_FIELD(PVol);
    MAINFORM_FIELD(TBVol);
    MAINFORM_FIELD(Image1);
    MAINFORM_FIELD(PCH);
    MAINFORM_FIELD(PCCH);
    MAINFORM_FIELD(TSIN);
    MAINFORM_FIELD(TSOUT);
    MAINFORM_FIELD(TSMISS);
    MAINFORM_FIELD(TSSet);
    MAINFORM_FIELD(DBGOUT);
    MAINFORM_FIELD(DBGIN);
    MAINFORM_FIELD(DBGM);
    MAINFORM_FIELD(ICHClose);
    MAINFORM_FIELD(Pwait);
    MAINFORM_FIELD(PEngineer);
    MAINFORM_FIELD(PCPB);
    MAINFORM_FIELD(DBGAll);
    MAINFORM_FIELD(DBGFa);
    MAINFORM_FIELD(DBGFr);
    MAINFORM_FIELD(DBGO);
    MAINFORM_FIELD(POp);
    MAINFORM_FIELD(IPBClose);
    MAINFORM_FIELD(StatusBar);
    MAINFORM_FIELD(TAuto);
    MAINFORM_FIELD(TMain);
    MAINFORM_FIELD(TCall);
    MAINFORM_FIELD(TNet);
    MAINFORM_FIELD(MediaPlayer);
    MAINFORM_FIELD(QAll);
    MAINFORM_FIELD(QIB);
    MAINFORM_FIELD(QOB);
    MAINFORM_FIELD(QSB);
    MAINFORM_FIELD(QTEMP);
    MAINFORM_FIELD(QIN);
    MAINFORM_FIELD(QOUT);
    MAINFORM_FIELD(QMISS);
    MAINFORM_FIELD(DS);
    MAINFORM_FIELD(DSSMS);
    MAINFORM_FIELD(DSC);
#undef MAINFORM_FIELD
    c.Method("FormCreate", &TMainForm::FormCreate);
    c.Method("FormShow", &TMainForm::FormShow);
    c.Method("FormClose", &TMainForm::FormClose);
    c.Method("BModemClick", &TMainForm::BModemClick);
    c.Method("BSMSClick", &TMainForm::BSMSClick);
    c.Method("BCallMClick", &TMainForm::BCallMClick);
    c.Method("PMCallClick", &TMainForm::PMCallClick);
    c.Method("PMSMClick", &TMainForm::PMSMClick);
    c.Method("BPBMClick", &TMainForm::BPBMClick);
    c.Method("BBoxClick", &TMainForm::BBoxClick);
    c.Method("PCSMSChange", &TMainForm::PCSMSChange);
    c.Method("PCCHChange", &TMainForm::PCCHChange);
    c.Method("PCPBChange", &TMainForm::PCPBChange);
    c.Method("TAutoTimer", &TMainForm::TAutoTimer);
    c.Method("TMainTimer", &TMainForm::TMainTimer);
    c.Method("TCallTimer", &TMainForm::TCallTimer);
    c.Method("MediaPlayerNotify", &TMainForm::MediaPlayerNotify);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TMainForm, TForm, ComponentCreator<TMainForm>, DescribeMainForm)

std::string ProgramFolder()
{
    if (!ProgramFolderOverride().empty())
        return ProgramFolderOverride();
    return std::filesystem::path(Application->ExeName()).parent_path().string() + "/";
}

void SetProgramFolder(const std::string& folder) { ProgramFolderOverride() = folder; }

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {}

TMainForm::~TMainForm()
{
    // The worker and the port go before the controls they report to.
    m_portWatch.reset();
    m_session.reset();
    m_comm.reset();
    if (HandleAllocated() && RasNotifyWindow == Handle())
        RasNotifyWindow = nullptr;
    m_dialer.reset();
    if (MainForm == this)
        MainForm = nullptr;
}

// ---- Life cycle ---------------------------------------------------------------------------------

void TMainForm::FormCreate(TObject*)
{
    MainForm = this;
    LoadPictures();
    if (FW) {
        FW->Show();
        FW->Update();
    }
    m_dialer = std::make_unique<TRASConnection>(Handle());
    RasNotifyWindow = Handle();
    // Every start draws other dial-parameter ids and GUIDs for the dial-up entry.
    Randomize();
    const std::string folder = ProgramFolder();
    m_tones = std::make_unique<TRingTones>(*MediaPlayer, folder);
    m_comm = std::make_unique<TComm>(nullptr);
    m_comm->SetBaudRate(115200);
    m_comm->SetOnReceiveData(TReceiveDataEvent::FromFunction(
        [this](TObject* sender, const void* buffer, WORD length) { m_session->ComReceiveData(sender, buffer, length); }));
    m_records = std::make_unique<TStoreRecords>(folder, TCallQueries{*QIN, *QOUT, *QMISS},
                                                TSmsQueries{*QIB, *QOB, *QSB}, *this,
                                                [](unsigned ms) { ::Delay(ms); });
    m_session = std::make_unique<TModemSession>(*m_comm, *this, *m_records);
    m_portWatch = std::make_unique<TPortWatch>(*this, *this);
    m_dataConnectionPage = std::make_unique<TDataConnectionPage>(*this, *m_dialer, *m_session, m_settings);
    m_callPage = std::make_unique<TCallPage>(*this, *m_session, m_settings, folder);
    m_smsComposePage = std::make_unique<TSmsComposePage>(*this, *m_session, folder);
    m_smsBoxesPage = std::make_unique<TSmsBoxesPage>(*this, *m_smsComposePage, folder);
    m_phonebookPage = std::make_unique<TPhonebookPage>(*this, folder);
    m_callHistoryPage = std::make_unique<TCallHistoryPage>(*this, *m_callPage, folder);
    m_callServicesPage = std::make_unique<TCallServicesPage>(*this, *m_session);

    TAuto->SetInterval(PortWatchInterval);
    TAuto->SetEnabled(true);
    ShowPage(PM);
    SetUpGrids();
    OpenQueries();
    m_smsBoxesPage->ShowUnreadMark();
    const std::string settingsPath = folder + SettingsFileName;
    MakeSettingsFilePrivate(settingsPath);
    m_settingsFile = std::make_unique<TIniFile>(settingsPath);
    m_settings = ReadSettings(*m_settingsFile);
    ::Delay(1500);
    m_session->CreateWorker();
    ::Delay(1000);
    delete FW;
    FW = nullptr;
}

// The window's art, by the names of its pictures; a picture not yet drawn leaves its image empty.
void TMainForm::LoadPictures()
{
    for (TImage* close : {Image1, Image3, ICHClose, IReadClose, ITempClose, IPBClose})
        LoadPicture(*close, "CLOSE");
    LoadPictureFrame(*IMute, "ILMUTE", 0, 2);
    // The page pictures' strips hold the pictogram in a 48-pixel tile; the buttons show it alone.
    constexpr int PageTileMargin = 8;
    LoadButtonGlyph(*BModem, "BMODEM", 3, PageTileMargin);
    LoadButtonGlyph(*BSMS, "BSMS", 3, PageTileMargin);
    LoadButtonGlyph(*BCallM, "BCALLM", 3, PageTileMargin);
    LoadButtonGlyph(*BPBM, "BPBM", 3, PageTileMargin);
    ShowSignalBars(0);
    ShowUnreadMark(false);
}

void TMainForm::OpenQueries()
{
    const std::string folder = ProgramFolder();
    TADOQuery* const queries[] = {QAll, QIB, QOB, QSB, QTEMP, QIN, QOUT, QMISS};
    for (std::size_t index = 0; index < ModemQueries.size(); ++index) {
        queries[index]->SQL()->SetText(std::string(ModemQueries[index].sql));
        OpenModemQuery(*queries[index], folder);
        if (queries[index] == QAll)
            DS->SetDataSet(QAll);
        else if (queries[index] == QTEMP)
            DSSMS->SetDataSet(QIB);
        else if (queries[index] == QMISS)
            DSC->SetDataSet(QOUT);
    }
}

void TMainForm::SetUpGrids()
{
    SetUpManagerGrid(*DBGAll, TManagerList::PhonebookAll, *DS);
    for (TDBGridGx* group : {DBGFa, DBGFr, DBGO})
        SetUpManagerGrid(*group, TManagerList::PhonebookGroup, *DS);
    SetUpManagerGrid(*DBGIB, TManagerList::Inbox, *DSSMS);
    SetUpManagerGrid(*DBGOB, TManagerList::Outbox, *DSSMS);
    SetUpManagerGrid(*DBGSB, TManagerList::SentBox, *DSSMS);
    SetUpManagerGrid(*DBGT, TManagerList::Templates, *DSSMS);
    SetUpManagerGrid(*DBGOUT, TManagerList::CallLog, *DSC);
    SetUpManagerGrid(*DBGIN, TManagerList::CallLog, *DSC);
    SetUpManagerGrid(*DBGM, TManagerList::MissedCalls, *DSC);
}

void TMainForm::FormShow(TObject*)
{
    if (m_session->ModemState() != 0)
        return;
    m_session->InitialModem();
    m_session->ResumeWorker();
    TMain->SetEnabled(true);
}

void TMainForm::FormClose(TObject*, TCloseAction&)
{
    Hide();
    if (m_dialer && m_dialer->FindActiveConnection()) {
        AddLog("==Disconnecting==");
        m_dialer->Disconnect();
    }
    // Every contact's tick, not only those a group tab or a lookup filter shows: a tick left
    // behind would be picked up by the next run's "Call" or "Send Message".
    if (m_phonebookPage)
        m_phonebookPage->ClearTicks();
    if (m_settingsFile) {
        try {
            WriteSettings(*m_settingsFile, m_settings);
        } catch (const std::exception& error) {
            Application->ShowException(error);
        }
        MakeSettingsFilePrivate(m_settingsFile->FileName());
    }
    TAuto->SetEnabled(false);
    TMain->SetEnabled(false);
    try {
        m_session->PortLost();
        if (m_session->ModemState() != 1)
            m_session->StopComm();
    } catch (const std::exception&) {
        // The port may already be gone with the device; nothing is left to close then.
    }
}


void TMainForm::AddLog(const std::string& text) { m_dataConnectionPage->AddLog(text); }

// ---- Pages --------------------------------------------------------------------------------------

void TMainForm::ShowPage(TPanel* page)
{
    const std::pair<TPanel*, TSpeedButton*> pages[] = {{PM, BModem}, {PS, BSMS}, {PC, BCallM}, {PP, BPBM}};
    for (const auto& [each, button] : pages) {
        each->SetVisible(each == page);
        if (each == page)
            button->SetDown(true);
    }
}

void TMainForm::BModemClick(TObject*) { ShowPage(PM); }

void TMainForm::BSMSClick(TObject*)
{
    ShowPage(PS);
    LSMS->SetCaption(std::to_string(SmsMaxLength));
    m_smsComposePage->MDelAClick();
    MM->Clear();
    LBNameS->Items()->Clear();
    m_smsBoxesPage->HideBoxes();
}

void TMainForm::BCallMClick(TObject*)
{
    ShowPage(PC);
    PCH->SetVisible(false);
    PVol->SetVisible(false);
    if (m_session && m_session->CallActive())
        return;
    ClearCallDisplay();
    LBName->SetHint("");
    LBName->SetShowHint(false);
}

void TMainForm::PMCallClick(TObject*)
{
    ShowPage(PC);
    ClearCallDisplay();
    const std::vector<TTickedContact> ticked = m_phonebookPage->TakeTicked();
    m_callPage->ShowTickedNumber(ticked.empty() ? std::string() : ticked.front().Number);
}

// The ticked contacts join the recipients; those already there and the text stay.
void TMainForm::PMSMClick(TObject*)
{
    for (const TTickedContact& contact : m_phonebookPage->TakeTicked())
        (void)m_smsComposePage->CBNumAdd(contact.Name, contact.Number);
    if (CBNum->Items()->Count() > 0)
        CBNum->SetItemIndex(0);
    ShowPage(PS);
    LSMS->SetCaption(std::to_string(SmsMaxLength));
    m_smsBoxesPage->HideBoxes();
}

void TMainForm::BPBMClick(TObject*)
{
    PCPBChange(PCPB);
    ShowPage(PP);
}

// A message arriving while a message or template is open brings the boxes forward: the open
// panel stays above them, where the user can still act on it.
void TMainForm::BBoxClick(TObject*)
{
    PCSMS->SetVisible(true);
    PCSMS->BringToFront();
    for (TPanel* panel : {PSMS, PTEMP})
        if (panel->Visible())
            panel->BringToFront();
}

// The boxes share one data source, switched to the query of the tab shown.
void TMainForm::PCSMSChange(TObject*)
{
    TADOQuery* const boxes[] = {QIB, QOB, QSB, QTEMP};
    const int tab = PCSMS->ActivePageIndex();
    if (tab >= 0 && tab < 4)
        DSSMS->SetDataSet(boxes[tab]);
    // A hint names the row clicked in the box it was clicked in.
    for (TDBGridGx* grid : {DBGIB, DBGOB, DBGSB})
        grid->SetShowHint(false);
}

// So do the call logs; the "Setting" tab shows no log.
void TMainForm::PCCHChange(TObject*)
{
    TADOQuery* const logs[] = {QOUT, QIN, QMISS};
    const int tab = PCCH->ActivePageIndex();
    if (tab >= 0 && tab < 3)
        DSC->SetDataSet(logs[tab]);
}

void TMainForm::PCPBChange(TObject*)
{
    const std::string filter = PhonebookGroupFilter(PCPB->ActivePageIndex());
    QAll->SetFilter(filter);
    QAll->SetFiltered(!filter.empty());
}

// ---- Timers and the ring tones -----------------------------------------------------------------

void TMainForm::TAutoTimer(TObject*) { m_portWatch->TAutoTimer(); }

void TMainForm::TMainTimer(TObject*) { m_session->MainTimerTick(); }

void TMainForm::TCallTimer(TObject*) { m_callPage->TCallTimer(); }

void TMainForm::MediaPlayerNotify(TObject* sender) { m_tones->MediaPlayerNotify(sender); }

// ---- The engine's view --------------------------------------------------------------------------

std::string TMainForm::StatusText(int panel) const { return StatusBar->Panels()->Items(panel & 1)->Text(); }

void TMainForm::SetStatusText(int panel, const std::string& text)
{
    StatusBar->Panels()->Items(panel & 1)->SetText(text);
}

void TMainForm::SetMainTimerEnabled(bool enabled) { TMain->SetEnabled(enabled); }

void TMainForm::SetCallTimerEnabled(bool enabled) { TCall->SetEnabled(enabled); }

std::string TMainForm::CallCaption() const { return BCall->Caption(); }

void TMainForm::SetCallCaption(const std::string& caption) { BCall->SetCaption(caption); }

TButton* TMainForm::CallButton(TCallButton button) const
{
    switch (button) {
    case TCallButton::Call:
        return BCall;
    case TCallButton::Hang:
        return BHang;
    case TCallButton::Recall:
        return BRecall;
    case TCallButton::Clear:
        break;
    }
    return BClear;
}

bool TMainForm::ButtonEnabled(TCallButton button) const { return CallButton(button)->Enabled(); }

void TMainForm::SetButtonEnabled(TCallButton button, bool enabled) { CallButton(button)->SetEnabled(enabled); }

void TMainForm::SetCallTitle(const std::string& text) { ETitle->SetText(text); }

std::string TMainForm::DialDisplay() const { return EDNum->Text(); }

bool TMainForm::CallButtonsInView() const { return !PCH->Visible() || PC->Visible(); }

void TMainForm::ShowIncomingCaller(const std::string& number, const std::string& name)
{
    BCallMClick(BCallM);
    ClearCallDisplay();
    m_callPage->ShowNumber(number.empty() ? "Anonymous" : number);
    if (!name.empty())
        LBName->Items()->Add(name);
}

void TMainForm::EndServiceWait()
{
    Pwait->SetVisible(false);
    PCH->SetEnabled(true);
}

void TMainForm::ShowSignal(int image) { ShowSignalBars(image); }

void TMainForm::ShowNewMessage()
{
    BBoxClick(BBox);
    ShowUnreadMark(true);
}

// Without an unread message the mark's place stays empty, rather than show a second, empty signal
// strength beside the real one.
void TMainForm::ShowUnreadMark(bool unread)
{
    ShowSignalPicture(*ISMS, unread ? NewMessagePicture : 0);
    ISMS->SetVisible(unread);
}

void TMainForm::PlayTone(TTone tone, bool looping)
{
    MediaPlayer->SetNotify(looping);
    m_tones->MediaPlay(tone == TTone::Ring ? RingToneFile : SmsToneFile);
}

void TMainForm::StopTone() { m_tones->MediaStop(); }

bool TMainForm::ToneLooping() const { return MediaPlayer->Notify(); }

// ---- The port watch's engine and view -----------------------------------------------------------

TModemState TMainForm::ModemState() const { return static_cast<TModemState>(m_session->ModemState()); }

void TMainForm::SetModemState(TModemState state) { m_session->SetModemState(static_cast<std::uint8_t>(state)); }

void TMainForm::StartComm(const std::string& port)
{
    m_comm->SetCommName(port);
    m_session->StartComm();
}

void TMainForm::StopComm() { m_session->StopComm(); }

bool TMainForm::CommOpened() const { return m_comm->Opened(); }

void TMainForm::CreateWorker() { m_session->CreateWorker(); }

void TMainForm::ResumeWorker() { m_session->ResumeWorker(); }

void TMainForm::StopEngine() { m_session->PortLost(); }

void TMainForm::InitialModem() { m_session->InitialModem(); }

void TMainForm::StartMainTimer() { TMain->SetEnabled(true); }

void TMainForm::ResetSignalPoll() { m_session->ResetSignalPoll(); }

void TMainForm::SetSignalPollAllowed(bool allowed) { m_session->SetSignalPollAllowed(allowed); }

void TMainForm::Delay(unsigned milliseconds) { ::Delay(milliseconds); }

void TMainForm::ProcessMessages() { Application->ProcessMessages(); }

void TMainForm::ShowPortStatus(const std::string& text) { SetStatusText(0, text); }

void TMainForm::ShowNetworkStatus(const std::string& text) { SetStatusText(1, text); }

void TMainForm::ShowSignalBars(int image) { ShowSignalPicture(*ISignal, image); }

void TMainForm::EnableWorkingControls(bool enabled)
{
    for (TButton* button : {BCall, BCV, BHang, BRecall, BDial, BMSend, BSave, BDef})
        button->SetEnabled(enabled);
    IMute->SetVisible(enabled);
}

void TMainForm::ShowCallServicesTab() { TSSet->SetTabVisible(true); }

// ---- The records' view --------------------------------------------------------------------------

void TMainForm::ShowCallList(TCallList list)
{
    struct Shown {
        TADOQuery* query;
        TTabSheet* tab;
    };
    const Shown shown = list == TCallList::Incoming   ? Shown{QIN, TSIN}
                        : list == TCallList::Outgoing ? Shown{QOUT, TSOUT}
                                                      : Shown{QMISS, TSMISS};
    DSC->SetDataSet(shown.query);
    PCCH->SetActivePage(shown.tab);
}

void TMainForm::ShowSmsBox(TSmsBox box)
{
    struct Shown {
        TADOQuery* query;
        TTabSheet* tab;
    };
    const Shown shown = box == TSmsBox::Inbox    ? Shown{QIB, TSIB}
                        : box == TSmsBox::Outbox ? Shown{QOB, TSOB}
                                                 : Shown{QSB, TSSB};
    DSSMS->SetDataSet(shown.query);
    PCSMS->SetActivePage(shown.tab);
}

void TMainForm::ClearCallDisplay()
{
    ETitle->Clear();
    m_callPage->ClearDisplay();
    LBName->Items()->Clear();
}
