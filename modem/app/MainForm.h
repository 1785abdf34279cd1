#pragma once

#include "modem/app/Settings.h"
#include "modem/core/ModemView.h"
#include "modem/store/PortWatch.h"
#include "modem/store/RecordView.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/winapi/kernel/WinTypes.h"

#include <memory>
#include <string>

class TADOQuery;
class TButton;
class TCallHistoryPage;
class TCallPage;
class TCallServicesPage;
class TComboBox;
class TComm;
class TDBGridGx;
class TDataConnectionPage;
class TDataSource;
class TEdit;
class TIniFile;
class TImage;
class TLabel;
class TListBox;
class TMediaPlayer;
class TMemo;
class TModemSession;
class TPageControl;
class TPanel;
class TPhonebookPage;
class TRASConnection;
class TRichEdit;
class TRingTones;
class TSmsBoxesPage;
class TSmsComposePage;
class TSpeedButton;
class TStatusBar;
class TStoreRecords;
class TTabSheet;
class TTimer;
class TTrackBar;

// The folder the manager keeps its database, settings and ring tones in, with its delimiter: the
// program's own folder, unless a test has set another.
[[nodiscard]] std::string ProgramFolder();
void SetProgramFolder(const std::string& folder);

// The manager's main window: its four pages, the timers that drive the modem, and the engine's
// and the port watch's view of the window. Its controls come from its form data (MainForm.dfm).
class TMainForm : public TForm,
                  public TModemView,
                  public IPortWatchEngine,
                  public IPortWatchView,
                  public IRecordView {
    CLASSLIB_DECLARE_CLASS;

    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    // Page buttons.
    TSpeedButton* BModem = nullptr;
    TSpeedButton* BSMS = nullptr;
    TSpeedButton* BCallM = nullptr;
    TSpeedButton* BPBM = nullptr;
    TImage* ISignal = nullptr;
    TImage* ISMS = nullptr;
    // Pages.
    TPanel* PM = nullptr;
    TPanel* PS = nullptr;
    TPanel* PC = nullptr;
    TPanel* PP = nullptr;
    // Data connection page and its settings panel.
    TLabel* LTime = nullptr;
    TLabel* LSpeed = nullptr;
    TLabel* LSend = nullptr;
    TLabel* LRvd = nullptr;
    TMemo* MDR = nullptr;
    TButton* BDial = nullptr;
    TButton* BSet = nullptr;
    TImage* Image3 = nullptr;
    TPanel* PNet = nullptr;
    TEdit* EUN = nullptr;
    TEdit* EPWD = nullptr;
    TEdit* ENUM = nullptr;
    TEdit* EAPN = nullptr;
    TButton* BSave = nullptr;
    TButton* BDef = nullptr;
    TButton* BBack = nullptr;
    // SMS page.
    TComboBox* CBNum = nullptr;
    TListBox* LBNameS = nullptr;
    TMemo* MM = nullptr;
    TLabel* LSMS = nullptr;
    TButton* BMSend = nullptr;
    TButton* BBox = nullptr;
    TPageControl* PCSMS = nullptr;
    TTabSheet* TSIB = nullptr;
    TTabSheet* TSOB = nullptr;
    TTabSheet* TSSB = nullptr;
    TTabSheet* TSTemp = nullptr;
    TDBGridGx* DBGIB = nullptr;
    TDBGridGx* DBGOB = nullptr;
    TDBGridGx* DBGSB = nullptr;
    TDBGridGx* DBGT = nullptr;
    TPanel* PSMS = nullptr;
    TImage* IReadClose = nullptr;
    TPanel* PTEMP = nullptr;
    TImage* ITempClose = nullptr;
    // Call page.
    TEdit* ETitle = nullptr;
    TRichEdit* EDNum = nullptr;
    TListBox* LBName = nullptr;
    TButton* BCall = nullptr;
    TButton* BHang = nullptr;
    TButton* BRecall = nullptr;
    TButton* BClear = nullptr;
    TButton* BCV = nullptr;
    TImage* IMute = nullptr;
    TEdit* ETonum = nullptr;
    TPanel* PVol = nullptr;
    TTrackBar* TBVol = nullptr;
    TImage* Image1 = nullptr;
    TPanel* PCH = nullptr;
    TPageControl* PCCH = nullptr;
    TTabSheet* TSIN = nullptr;
    TTabSheet* TSOUT = nullptr;
    TTabSheet* TSMISS = nullptr;
    TTabSheet* TSSet = nullptr;
    TDBGridGx* DBGOUT = nullptr;
    TDBGridGx* DBGIN = nullptr;
    TDBGridGx* DBGM = nullptr;
    TImage* ICHClose = nullptr;
    TPanel* Pwait = nullptr;
    TPanel* PEngineer = nullptr;
    // Phonebook page.
    TPageControl* PCPB = nullptr;
    TDBGridGx* DBGAll = nullptr;
    TDBGridGx* DBGFa = nullptr;
    TDBGridGx* DBGFr = nullptr;
    TDBGridGx* DBGO = nullptr;
    TPanel* POp = nullptr;
    TImage* IPBClose = nullptr;
    // The window's bottom line, timers, player, queries and data sources.
    TStatusBar* StatusBar = nullptr;
    TTimer* TAuto = nullptr;
    TTimer* TMain = nullptr;
    TTimer* TCall = nullptr;
    TTimer* TNet = nullptr;
    TMediaPlayer* MediaPlayer = nullptr;
    TADOQuery* QAll = nullptr;
    TADOQuery* QIB = nullptr;
    TADOQuery* QOB = nullptr;
    TADOQuery* QSB = nullptr;
    TADOQuery* QTEMP = nullptr;
    TADOQuery* QIN = nullptr;
    TADOQuery* QOUT = nullptr;
    TADOQuery* QMISS = nullptr;
    TDataSource* DS = nullptr;
    TDataSource* DSSMS = nullptr;
    TDataSource* DSC = nullptr;

    void FormCreate(TObject* sender);
    void FormShow(TObject* sender);
    void FormClose(TObject* sender, TCloseAction& action);
    void BModemClick(TObject* sender);
    void BSMSClick(TObject* sender);
    void BCallMClick(TObject* sender);
    // The phonebook's "Call" and "Send Message" with the ticked contacts.
    void PMCallClick(TObject* sender);
    void PMSMClick(TObject* sender);
    void BPBMClick(TObject* sender);
    void BBoxClick(TObject* sender);
    void PCSMSChange(TObject* sender);
    void PCCHChange(TObject* sender);
    void PCPBChange(TObject* sender);
    void TAutoTimer(TObject* sender);
    void TMainTimer(TObject* sender);
    void TCallTimer(TObject* sender);
    void MediaPlayerNotify(TObject* sender);

    [[nodiscard]] const TSettings& Settings() const { return m_settings; }
    [[nodiscard]] TModemSession& Session() { return *m_session; }

    // TModemView
    [[nodiscard]] std::string StatusText(int panel) const override;
    void SetStatusText(int panel, const std::string& text) override;
    void SetMainTimerEnabled(bool enabled) override;
    void SetCallTimerEnabled(bool enabled) override;
    [[nodiscard]] std::string CallCaption() const override;
    void SetCallCaption(const std::string& caption) override;
    [[nodiscard]] bool ButtonEnabled(TCallButton button) const override;
    void SetButtonEnabled(TCallButton button, bool enabled) override;
    void SetCallTitle(const std::string& text) override;
    [[nodiscard]] std::string DialDisplay() const override;
    [[nodiscard]] bool CallButtonsInView() const override;
    void ShowIncomingCaller(const std::string& number, const std::string& name) override;
    void EndServiceWait() override;
    void ShowSignal(int image) override;
    void ShowNewMessage() override;
    // The unread mark of the icon row, shown while a received message is unread.
    void ShowUnreadMark(bool unread);
    void PlayTone(TTone tone, bool looping) override;
    void StopTone() override;
    [[nodiscard]] bool ToneLooping() const override;

    // IPortWatchEngine
    [[nodiscard]] TModemState ModemState() const override;
    void SetModemState(TModemState state) override;
    void StartComm(const std::string& port) override;
    void StopComm() override;
    [[nodiscard]] bool CommOpened() const override;
    void CreateWorker() override;
    void ResumeWorker() override;
    void StopEngine() override;
    void InitialModem() override;
    void StartMainTimer() override;
    void ResetSignalPoll() override;
    void SetSignalPollAllowed(bool allowed) override;
    void Delay(unsigned milliseconds) override;
    void ProcessMessages() override;

    // IPortWatchView
    void ShowPortStatus(const std::string& text) override;
    void ShowNetworkStatus(const std::string& text) override;
    void ShowSignalBars(int image) override;
    void EnableWorkingControls(bool enabled) override;
    void ShowCallServicesTab() override;

    // IRecordView
    void ShowCallList(TCallList list) override;
    void ShowSmsBox(TSmsBox box) override;
    void ClearCallDisplay() override;

private:
    void ShowPage(TPanel* page);
    // A line of the connection log, stamped with the time.
    void AddLog(const std::string& text);
    void OpenQueries();
    void SetUpGrids();
    [[nodiscard]] TButton* CallButton(TCallButton button) const;
    void LoadPictures();

    TSettings m_settings;
    std::unique_ptr<TIniFile> m_settingsFile;
    std::unique_ptr<TRASConnection> m_dialer;
    std::unique_ptr<TComm> m_comm;
    std::unique_ptr<TStoreRecords> m_records;
    std::unique_ptr<TModemSession> m_session;
    std::unique_ptr<TPortWatch> m_portWatch;
    std::unique_ptr<TRingTones> m_tones;
    std::unique_ptr<TDataConnectionPage> m_dataConnectionPage;
    std::unique_ptr<TCallPage> m_callPage;
    std::unique_ptr<TSmsComposePage> m_smsComposePage;
    std::unique_ptr<TSmsBoxesPage> m_smsBoxesPage;
    std::unique_ptr<TPhonebookPage> m_phonebookPage;
    std::unique_ptr<TCallHistoryPage> m_callHistoryPage;
    std::unique_ptr<TCallServicesPage> m_callServicesPage;
};

extern TMainForm* MainForm;
