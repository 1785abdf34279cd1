#include "serial/Pelcomm.h"

#include "serial/LocalBlock.h"
#include "serial/ReadThread.h"
#include "serial/WriteThread.h"

#include "platform/rtl/Trace.h"
#include "platform/winapi/kernel/Handles.h"
#include "platform/winapi/kernel/Synch.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr DWORD QueueSize = 4096;
constexpr DWORD ThreadStopTimeoutMs = 10000;
constexpr DWORD PurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;

// What the component does with its port and what it hands the application, on the "serial"
// channel; the bytes themselves are on the "comm" channel.
void TraceSerial(const std::string& port, std::string_view event)
{
    if (TraceEnabled(TraceChannel::Serial))
        TraceLine(TraceChannel::Serial, port + ": " + std::string(event));
}

std::string Hex(DWORD value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%lX", static_cast<unsigned long>(value));
    return text;
}

const TTypeInfo& CardinalTypeInfo()
{
    static const TTypeInfo info = RangeTypeInfo("Cardinal", 0, 0xFFFFFFFF);
    return info;
}

const TTypeInfo& WordTypeInfo()
{
    static const TTypeInfo info = RangeTypeInfo("Word", 0, 0xFFFF);
    return info;
}

DWORD DtrFlags(TDtrControl control)
{
    switch (control) {
    case TDtrControl::DtrEnable:
        return DTR_CONTROL_ENABLE << DCB_DTR_CONTROL_SHIFT;
    case TDtrControl::DtrHandshake:
        return DTR_CONTROL_HANDSHAKE << DCB_DTR_CONTROL_SHIFT;
    case TDtrControl::DtrDisable:
        break;
    }
    return 0;
}

DWORD RtsFlags(TRtsControl control)
{
    switch (control) {
    case TRtsControl::RtsEnable:
        return RTS_CONTROL_ENABLE << DCB_RTS_CONTROL_SHIFT;
    case TRtsControl::RtsHandshake:
        return RTS_CONTROL_HANDSHAKE << DCB_RTS_CONTROL_SHIFT;
    case TRtsControl::RtsTransmissionAvailable:
        return RTS_CONTROL_TOGGLE << DCB_RTS_CONTROL_SHIFT;
    case TRtsControl::RtsDisable:
        break;
    }
    return 0;
}

void DescribeComm(TClassBuilder& c)
{
    c.String("CommName", &TComm::CommName, &TComm::SetCommName);
    c.Ordinal("BaudRate", CardinalTypeInfo(), &TComm::BaudRate, &TComm::SetBaudRate).Default(9600);
    c.Boolean("ParityCheck", &TComm::ParityCheck, &TComm::SetParityCheck).Default(false);
    c.Boolean("Outx_CtsFlow", &TComm::Outx_CtsFlow, &TComm::SetOutx_CtsFlow).Default(false);
    c.Boolean("Outx_DsrFlow", &TComm::Outx_DsrFlow, &TComm::SetOutx_DsrFlow).Default(false);
    c.Enum("DtrControl", DtrControlTypeInfo(), &TComm::DtrControl, &TComm::SetDtrControl)
        .Default(TDtrControl::DtrEnable);
    c.Boolean("DsrSensitivity", &TComm::DsrSensitivity, &TComm::SetDsrSensitivity).Default(false);
    c.Boolean("TxContinueOnXoff", &TComm::TxContinueOnXoff, &TComm::SetTxContinueOnXoff).Default(true);
    c.Boolean("Outx_XonXoffFlow", &TComm::Outx_XonXoffFlow, &TComm::SetOutx_XonXoffFlow).Default(true);
    c.Boolean("Inx_XonXoffFlow", &TComm::Inx_XonXoffFlow, &TComm::SetInx_XonXoffFlow).Default(true);
    c.Boolean("ReplaceWhenParityError", &TComm::ReplaceWhenParityError, &TComm::SetReplaceWhenParityError)
        .Default(false);
    c.Boolean("IgnoreNullChar", &TComm::IgnoreNullChar, &TComm::SetIgnoreNullChar).Default(false);
    c.Enum("RtsControl", RtsControlTypeInfo(), &TComm::RtsControl, &TComm::SetRtsControl)
        .Default(TRtsControl::RtsEnable);
    c.Ordinal("XonLimit", WordTypeInfo(), &TComm::XonLimit, &TComm::SetXonLimit).Default(500);
    c.Ordinal("XoffLimit", WordTypeInfo(), &TComm::XoffLimit, &TComm::SetXoffLimit).Default(500);
    c.Enum("ByteSize", ByteSizeTypeInfo(), &TComm::ByteSize, &TComm::SetByteSize).Default(TByteSize::_8);
    c.Enum("Parity", ParityTypeInfo(), &TComm::Parity, &TComm::SetParity).Default(TParity::None);
    c.Enum("StopBits", StopBitsTypeInfo(), &TComm::StopBits, &TComm::SetStopBits).Default(TStopBits::_1);
    c.Ordinal("XonChar", CharTypeInfo(), &TComm::XonChar, &TComm::SetXonChar).Default(17);
    c.Ordinal("XoffChar", CharTypeInfo(), &TComm::XoffChar, &TComm::SetXoffChar).Default(19);
    c.Ordinal("ReplacedChar", CharTypeInfo(), &TComm::ReplacedChar, &TComm::SetReplacedChar).Default(0);
    c.Ordinal("ReadIntervalTimeout", CardinalTypeInfo(), &TComm::ReadIntervalTimeout, &TComm::SetReadIntervalTimeout)
        .Default(100);
    c.Ordinal("ReadTotalTimeoutMultiplier", CardinalTypeInfo(), &TComm::ReadTotalTimeoutMultiplier,
              &TComm::SetReadTotalTimeoutMultiplier)
        .Default(0);
    c.Ordinal("ReadTotalTimeoutConstant", CardinalTypeInfo(), &TComm::ReadTotalTimeoutConstant,
              &TComm::SetReadTotalTimeoutConstant)
        .Default(0);
    c.Ordinal("WriteTotalTimeoutMultiplier", CardinalTypeInfo(), &TComm::WriteTotalTimeoutMultiplier,
              &TComm::SetWriteTotalTimeoutMultiplier)
        .Default(0);
    c.Ordinal("WriteTotalTimeoutConstant", CardinalTypeInfo(), &TComm::WriteTotalTimeoutConstant,
              &TComm::SetWriteTotalTimeoutConstant)
        .Default(0);
    c.Event("OnReceiveData", &TComm::OnReceiveData, &TComm::SetOnReceiveData);
    c.Event("OnReceiveError", &TComm::OnReceiveError, &TComm::SetOnReceiveError);
    c.Event("OnModemStateChange", &TComm::OnModemStateChange, &TComm::SetOnModemStateChange);
    c.Event("OnRequestHangup", &TComm::OnRequestHangup, &TComm::SetOnRequestHangup);
    c.Event("OnSendDataEmpty", &TComm::OnSendDataEmpty, &TComm::SetOnSendDataEmpty);
}

} // namespace

const TTypeInfo& ParityTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TParity", {"None", "Odd", "Even", "Mark", "Space"});
    return info;
}

const TTypeInfo& StopBitsTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TStopBits", {"_1", "_1_5", "_2"});
    return info;
}

const TTypeInfo& ByteSizeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TByteSize", {"_5", "_6", "_7", "_8"});
    return info;
}

const TTypeInfo& DtrControlTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TDtrControl", {"DtrEnable", "DtrDisable", "DtrHandshake"});
    return info;
}

const TTypeInfo& RtsControlTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TRtsControl", {"RtsEnable", "RtsDisable", "RtsHandshake", "RtsTransmissionAvailable"});
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TComm, TComponent, ComponentCreator<TComm>, DescribeComm)

TComm::TComm(TComponent* owner)
    : TComponent(owner)
{
    m_window = AllocateHWnd([this](TMessage& message) { CommWndProc(message); });
}

TComm::~TComm()
{
    StopComm();
    if (m_window) {
        DiscardReceivedBlocks();
        DeallocateHWnd(m_window);
    }
}

void TComm::StartComm()
{
    if (Opened())
        throw ECommsError("This serial port already opened");
    const std::string path = "\\\\.\\" + m_commName;
    const HANDLE port = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OVERLAPPED, nullptr);
    if (port == INVALID_HANDLE_VALUE) {
        TraceSerial(m_commName, "open failed, error " + std::to_string(GetLastError()));
        throw ECommsError("Error opening serial port");
    }
    if (!SetupComm(port, QueueSize, QueueSize)) {
        CloseHandle(port);
        throw ECommsError("Cannot setup comm buffer");
    }
    m_port = port;
    PurgeComm(m_port, PurgeAll);
    m_sendEmpty = true;
    (void)ApplyCommTimeouts();
    // A line that cannot take its settings (a rate the device cannot run, a combination Win32
    // refuses) would run at whatever it had, without flow control, so the open fails instead.
    if (!ApplyCommState()) {
        const DWORD error = GetLastError();
        CloseHandles();
        throw ECommsError("Cannot apply the line settings (error " + std::to_string(error) + ")");
    }

    m_closeEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (!m_closeEvent) {
        CloseHandles();
        throw ECommsError("Unable to create event");
    }
    StartThreads();
    TraceSerial(m_commName, "open at " + std::to_string(m_baudRate) + " baud");
}

void TComm::StartThreads()
{
    m_notifier = std::make_unique<TCommNotifier>(m_window);
    try {
        m_readThread.reset(new TReadThread(m_port, m_closeEvent, *m_notifier));
    } catch (const std::exception&) {
        CloseHandles();
        throw ECommsError("Unable to create read thread");
    }
    m_readThread->SetPriority(TThreadPriority::tpHighest);
    try {
        m_writeThread.reset(new TWriteThread(m_port, m_closeEvent, *m_notifier, m_sendEmpty));
    } catch (const std::exception&) {
        // The reader has not been started, so it goes without ever touching the port.
        m_readThread.reset();
        CloseHandles();
        throw ECommsError("Unable to create write thread");
    }
    m_writeThread->SetPriority(TThreadPriority::tpHigher);
    m_readThread->Start();
    m_writeThread->Start();
    // Requests written straight after the open must find the writer's queue.
    if (!m_writeThread->WaitUntilReady(ThreadStopTimeoutMs)) {
        StopComm();
        throw ECommsError("Unable to create write thread");
    }
}

void TComm::StopComm()
{
    if (!Opened())
        return;
    StopReadThread();
    StopWriteThread();
    CloseHandles();
    TraceSerial(m_commName, "close");
}

void TComm::StopReadThread()
{
    if (!m_readThread)
        return;
    SetEvent(m_closeEvent);
    PurgeComm(m_port, PURGE_RXABORT | PURGE_RXCLEAR);
    if (WaitForSingleObject(m_readThread->Handle(), ThreadStopTimeoutMs) != WAIT_OBJECT_0)
        m_readThread->Terminate();
    m_readThread.reset();
}

void TComm::StopWriteThread()
{
    if (!m_writeThread)
        return;
    SetEvent(m_closeEvent);
    PurgeComm(m_port, PURGE_TXABORT | PURGE_TXCLEAR);
    m_sendEmpty = true;
    if (WaitForSingleObject(m_writeThread->Handle(), ThreadStopTimeoutMs) != WAIT_OBJECT_0)
        m_writeThread->Terminate();
    m_writeThread.reset();
}

void TComm::CloseHandles()
{
    if (m_closeEvent) {
        CloseHandle(m_closeEvent);
        m_closeEvent = nullptr;
    }
    if (m_port) {
        CloseHandle(m_port);
        m_port = nullptr;
    }
    m_notifier.reset();
}

bool TComm::WriteCommData(const void* data, std::size_t length)
{
    if (!m_writeThread || length == 0 || length > MaxWriteLength) {
        TraceSerial(m_commName, "write of " + std::to_string(length) + " bytes refused");
        return false;
    }
    TLocalBlock block = TLocalBlock::Allocate(length + 1);
    if (!block)
        return false;
    std::memcpy(block.Data(), data, length);
    // Cleared before the hand-over: the writer sets it again only after it has found its queue
    // empty, so a finished write can never leave it false.
    m_sendEmpty = false;
    if (!m_writeThread->PostWrite(block, static_cast<WORD>(length))) {
        m_sendEmpty = true;
        return false;
    }
    return true;
}

void TComm::CommWndProc(TMessage& message)
{
    switch (message.Msg) {
    case WM_COMM_DATA: {
        const TLocalBlock block = TLocalBlock::Adopt(message.LParam);
        if (m_onReceiveData)
            m_onReceiveData(this, block.Data(), LOWORD(message.WParam));
        break;
    }
    case WM_COMM_ERROR:
        TraceSerial(m_commName, "line error " + Hex(static_cast<DWORD>(message.LParam)));
        if (m_onReceiveError)
            m_onReceiveError(this, static_cast<DWORD>(message.LParam));
        break;
    case WM_COMM_HANGUP:
        TraceSerial(m_commName, "a worker failed: the port is no longer served");
        if (m_onRequestHangup)
            m_onRequestHangup(this);
        break;
    case WM_COMM_MODEM:
        TraceSerial(m_commName, "modem lines " + Hex(static_cast<DWORD>(message.LParam)));
        if (m_onModemStateChange)
            m_onModemStateChange(this, static_cast<DWORD>(message.LParam));
        break;
    case WM_COMM_SENT:
        if (m_onSendDataEmpty)
            m_onSendDataEmpty(this);
        break;
    default:
        break;
    }
    message.Result = 0;
}

void TComm::DiscardReceivedBlocks()
{
    MSG msg;
    while (PeekMessageA(&msg, m_window, WM_COMM_DATA, WM_COMM_DATA, PM_REMOVE))
        (void)TLocalBlock::Adopt(msg.lParam);
}

bool TComm::ApplyCommTimeouts()
{
    COMMTIMEOUTS timeouts{};
    if (!GetCommTimeouts(m_port, &timeouts))
        return false;
    timeouts.ReadIntervalTimeout = m_readIntervalTimeout;
    timeouts.ReadTotalTimeoutMultiplier = m_readTotalTimeoutMultiplier;
    timeouts.ReadTotalTimeoutConstant = m_readTotalTimeoutConstant;
    timeouts.WriteTotalTimeoutMultiplier = m_writeTotalTimeoutMultiplier;
    timeouts.WriteTotalTimeoutConstant = m_writeTotalTimeoutConstant;
    return SetCommTimeouts(m_port, &timeouts) != FALSE;
}

bool TComm::ApplyCommState()
{
    DCB dcb{};
    dcb.DCBlength = sizeof(dcb);
    if (!GetCommState(m_port, &dcb))
        return false;
    FillLineSettings(dcb);
    return SetCommState(m_port, &dcb) != FALSE;
}

void TComm::FillLineSettings(DCB& dcb) const
{
    dcb.BaudRate = m_baudRate;
    dcb.Flags = DCB_BINARY | (m_parityCheck ? DCB_PARITY : 0) | (m_outxCtsFlow ? DCB_OUTX_CTS_FLOW : 0) |
                (m_outxDsrFlow ? DCB_OUTX_DSR_FLOW : 0) | DtrFlags(m_dtrControl) |
                (m_dsrSensitivity ? DCB_DSR_SENSITIVITY : 0) | (m_txContinueOnXoff ? DCB_TX_CONTINUE_ON_XOFF : 0) |
                (m_outxXonXoffFlow ? DCB_OUTX : 0) | (m_inxXonXoffFlow ? DCB_INX : 0) |
                (m_replaceWhenParityError ? DCB_ERROR_CHAR : 0) | (m_ignoreNullChar ? DCB_NULL : 0) |
                RtsFlags(m_rtsControl);
    dcb.XonLim = m_xonLimit;
    dcb.XoffLim = m_xoffLimit;
    dcb.ByteSize = static_cast<BYTE>(static_cast<int>(m_byteSize) + 5);
    dcb.Parity = static_cast<BYTE>(m_parity);
    dcb.StopBits = static_cast<BYTE>(m_stopBits);
    dcb.XonChar = m_xonChar;
    dcb.XoffChar = m_xoffChar;
    dcb.ErrorChar = m_replacedChar;
}
