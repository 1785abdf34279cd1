#pragma once

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Thread.h"
#include "serial/CommMessages.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <string>

class TReadThread;
class TWriteThread;
struct DCB;

enum class TParity { None, Odd, Even, Mark, Space };
enum class TStopBits { _1, _1_5, _2 };
enum class TByteSize { _5, _6, _7, _8 };
enum class TDtrControl { DtrEnable, DtrDisable, DtrHandshake };
enum class TRtsControl { RtsEnable, RtsDisable, RtsHandshake, RtsTransmissionAvailable };

[[nodiscard]] const TTypeInfo& ParityTypeInfo();
[[nodiscard]] const TTypeInfo& StopBitsTypeInfo();
[[nodiscard]] const TTypeInfo& ByteSizeTypeInfo();
[[nodiscard]] const TTypeInfo& DtrControlTypeInfo();
[[nodiscard]] const TTypeInfo& RtsControlTypeInfo();

// Buffer is valid only while the handler runs: the component frees it afterwards.
using TReceiveDataEvent = TEvent<TObject*, const void*, WORD>;
using TReceiveErrorEvent = TEvent<TObject*, DWORD>;
using TModemStateChangeEvent = TEvent<TObject*, DWORD>;
using TSendDataEmptyEvent = TEvent<TObject*>;

RTL_DECLARE_EXCEPTION(ECommsError, Exception);

// One serial port opened for overlapped I/O, served by a reader and a writer thread of its own.
// The threads reach the component only by posting to its hidden window, so the five events fire
// in the thread that created the component, in the order the threads posted them.
//
// Properties, StartComm, StopComm and WriteCommData belong to the creating thread. A setter of a
// line setting or a time-out applies it at once while the port is open; CommName and Parity take
// effect at the next open (Parity also at the next change of another line setting).
class TComm : public TComponent {
    CLASSLIB_DECLARE_CLASS;

    // The largest block WriteCommData takes.
    static constexpr std::size_t MaxWriteLength = 0xFFFF;

    explicit TComm(TComponent* owner);
    // Stops the port if the owner has not, so that no thread outlives the component, and frees
    // the received blocks still waiting for the hidden window.
    ~TComm() override;

    // Raises ECommsError "This serial port already opened", "Error opening serial port", "Cannot
    // setup comm buffer", "Cannot apply the line settings (error N)" (N the Win32 error of
    // SetCommState), "Unable to create event", "Unable to create read thread" or "Unable to
    // create write thread"; a failed open leaves the component closed with nothing held.
    void StartComm();
    // Stops both threads and closes the port; nothing when closed.
    void StopComm();
    // Hands a copy of the bytes to the writer. False when the port is closed, when length is 0 or
    // over MaxWriteLength (refused whole, never cut), or when the writer no longer takes requests.
    [[nodiscard]] bool WriteCommData(const void* data, std::size_t length);

    [[nodiscard]] bool Opened() const { return m_port != nullptr; }
    // True while the writer has nothing queued.
    [[nodiscard]] bool SendDataEmpty() const { return m_sendEmpty; }
    // The hidden window the threads post to.
    [[nodiscard]] HWND WindowHandle() const { return m_window; }

    [[nodiscard]] const std::string& CommName() const { return m_commName; }
    void SetCommName(const std::string& name) { m_commName = name; }
    [[nodiscard]] DWORD BaudRate() const { return m_baudRate; }
    void SetBaudRate(DWORD value) { ChangeLine(m_baudRate, value); }
    [[nodiscard]] bool ParityCheck() const { return m_parityCheck; }
    void SetParityCheck(bool value) { ChangeLine(m_parityCheck, value); }
    [[nodiscard]] bool Outx_CtsFlow() const { return m_outxCtsFlow; }
    void SetOutx_CtsFlow(bool value) { ChangeLine(m_outxCtsFlow, value); }
    [[nodiscard]] bool Outx_DsrFlow() const { return m_outxDsrFlow; }
    void SetOutx_DsrFlow(bool value) { ChangeLine(m_outxDsrFlow, value); }
    [[nodiscard]] TDtrControl DtrControl() const { return m_dtrControl; }
    void SetDtrControl(TDtrControl value) { ChangeLine(m_dtrControl, value); }
    [[nodiscard]] bool DsrSensitivity() const { return m_dsrSensitivity; }
    void SetDsrSensitivity(bool value) { ChangeLine(m_dsrSensitivity, value); }
    [[nodiscard]] bool TxContinueOnXoff() const { return m_txContinueOnXoff; }
    void SetTxContinueOnXoff(bool value) { ChangeLine(m_txContinueOnXoff, value); }
    [[nodiscard]] bool Outx_XonXoffFlow() const { return m_outxXonXoffFlow; }
    void SetOutx_XonXoffFlow(bool value) { ChangeLine(m_outxXonXoffFlow, value); }
    [[nodiscard]] bool Inx_XonXoffFlow() const { return m_inxXonXoffFlow; }
    void SetInx_XonXoffFlow(bool value) { ChangeLine(m_inxXonXoffFlow, value); }
    [[nodiscard]] bool ReplaceWhenParityError() const { return m_replaceWhenParityError; }
    void SetReplaceWhenParityError(bool value) { ChangeLine(m_replaceWhenParityError, value); }
    [[nodiscard]] bool IgnoreNullChar() const { return m_ignoreNullChar; }
    void SetIgnoreNullChar(bool value) { ChangeLine(m_ignoreNullChar, value); }
    [[nodiscard]] TRtsControl RtsControl() const { return m_rtsControl; }
    void SetRtsControl(TRtsControl value) { ChangeLine(m_rtsControl, value); }
    [[nodiscard]] WORD XonLimit() const { return m_xonLimit; }
    void SetXonLimit(WORD value) { ChangeLine(m_xonLimit, value); }
    [[nodiscard]] WORD XoffLimit() const { return m_xoffLimit; }
    void SetXoffLimit(WORD value) { ChangeLine(m_xoffLimit, value); }
    [[nodiscard]] TByteSize ByteSize() const { return m_byteSize; }
    void SetByteSize(TByteSize value) { ChangeLine(m_byteSize, value); }
    [[nodiscard]] TParity Parity() const { return m_parity; }
    void SetParity(TParity value) { m_parity = value; }
    [[nodiscard]] TStopBits StopBits() const { return m_stopBits; }
    void SetStopBits(TStopBits value) { ChangeLine(m_stopBits, value); }
    [[nodiscard]] char XonChar() const { return m_xonChar; }
    void SetXonChar(char value) { ChangeLine(m_xonChar, value); }
    [[nodiscard]] char XoffChar() const { return m_xoffChar; }
    void SetXoffChar(char value) { ChangeLine(m_xoffChar, value); }
    [[nodiscard]] char ReplacedChar() const { return m_replacedChar; }
    void SetReplacedChar(char value) { ChangeLine(m_replacedChar, value); }

    [[nodiscard]] DWORD ReadIntervalTimeout() const { return m_readIntervalTimeout; }
    void SetReadIntervalTimeout(DWORD value) { ChangeTimeout(m_readIntervalTimeout, value); }
    [[nodiscard]] DWORD ReadTotalTimeoutMultiplier() const { return m_readTotalTimeoutMultiplier; }
    void SetReadTotalTimeoutMultiplier(DWORD value) { ChangeTimeout(m_readTotalTimeoutMultiplier, value); }
    [[nodiscard]] DWORD ReadTotalTimeoutConstant() const { return m_readTotalTimeoutConstant; }
    void SetReadTotalTimeoutConstant(DWORD value) { ChangeTimeout(m_readTotalTimeoutConstant, value); }
    [[nodiscard]] DWORD WriteTotalTimeoutMultiplier() const { return m_writeTotalTimeoutMultiplier; }
    void SetWriteTotalTimeoutMultiplier(DWORD value) { ChangeTimeout(m_writeTotalTimeoutMultiplier, value); }
    [[nodiscard]] DWORD WriteTotalTimeoutConstant() const { return m_writeTotalTimeoutConstant; }
    void SetWriteTotalTimeoutConstant(DWORD value) { ChangeTimeout(m_writeTotalTimeoutConstant, value); }

    [[nodiscard]] const TReceiveDataEvent& OnReceiveData() const { return m_onReceiveData; }
    void SetOnReceiveData(TReceiveDataEvent handler) { m_onReceiveData = std::move(handler); }
    [[nodiscard]] const TReceiveErrorEvent& OnReceiveError() const { return m_onReceiveError; }
    void SetOnReceiveError(TReceiveErrorEvent handler) { m_onReceiveError = std::move(handler); }
    [[nodiscard]] const TModemStateChangeEvent& OnModemStateChange() const { return m_onModemStateChange; }
    void SetOnModemStateChange(TModemStateChangeEvent handler) { m_onModemStateChange = std::move(handler); }
    [[nodiscard]] const TNotifyEvent& OnRequestHangup() const { return m_onRequestHangup; }
    void SetOnRequestHangup(TNotifyEvent handler) { m_onRequestHangup = std::move(handler); }
    [[nodiscard]] const TSendDataEmptyEvent& OnSendDataEmpty() const { return m_onSendDataEmpty; }
    void SetOnSendDataEmpty(TSendDataEmptyEvent handler) { m_onSendDataEmpty = std::move(handler); }

private:
    template <class T>
    void ChangeLine(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (Opened())
            (void)ApplyCommState();
    }
    template <class T>
    void ChangeTimeout(T& field, T value)
    {
        if (field == value)
            return;
        field = value;
        if (Opened())
            (void)ApplyCommTimeouts();
    }

    void CommWndProc(TMessage& message);
    void StartThreads();
    void StopReadThread();
    void StopWriteThread();
    void CloseHandles();
    // Frees the blocks of WM_COMM_DATA messages still queued for the hidden window.
    void DiscardReceivedBlocks();
    [[nodiscard]] bool ApplyCommState();
    [[nodiscard]] bool ApplyCommTimeouts();
    void FillLineSettings(DCB& dcb) const;

    std::string m_commName = "COM2";
    DWORD m_baudRate = 9600;
    bool m_parityCheck = false;
    bool m_outxCtsFlow = false;
    bool m_outxDsrFlow = false;
    TDtrControl m_dtrControl = TDtrControl::DtrEnable;
    bool m_dsrSensitivity = false;
    bool m_txContinueOnXoff = true;
    bool m_outxXonXoffFlow = true;
    bool m_inxXonXoffFlow = true;
    bool m_replaceWhenParityError = false;
    bool m_ignoreNullChar = false;
    TRtsControl m_rtsControl = TRtsControl::RtsEnable;
    WORD m_xonLimit = 500;
    WORD m_xoffLimit = 500;
    TByteSize m_byteSize = TByteSize::_8;
    TParity m_parity = TParity::None;
    TStopBits m_stopBits = TStopBits::_1;
    char m_xonChar = 17;
    char m_xoffChar = 19;
    char m_replacedChar = 0;
    DWORD m_readIntervalTimeout = 100;
    DWORD m_readTotalTimeoutMultiplier = 0;
    DWORD m_readTotalTimeoutConstant = 0;
    DWORD m_writeTotalTimeoutMultiplier = 0;
    DWORD m_writeTotalTimeoutConstant = 0;

    TReceiveDataEvent m_onReceiveData;
    TReceiveErrorEvent m_onReceiveError;
    TModemStateChangeEvent m_onModemStateChange;
    TNotifyEvent m_onRequestHangup;
    TSendDataEmptyEvent m_onSendDataEmpty;

    TThreadPtr<TReadThread> m_readThread;
    TThreadPtr<TWriteThread> m_writeThread;
    HANDLE m_port = nullptr;
    HANDLE m_closeEvent = nullptr;
    HWND m_window = nullptr;
    std::atomic<bool> m_sendEmpty{true};
    // Outlives the threads of one open; a hang-up is told once per open.
    std::unique_ptr<TCommNotifier> m_notifier;
};
