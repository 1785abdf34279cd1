#include "modem/core/TTComm.h"

#include "modem/core/TextPositions.h"

#include "platform/winapi/kernel/Clock.h"

#include <algorithm>

namespace {

// The pause between an SMS command line and its text, for the modem's prompt.
constexpr DWORD SmsPromptPause = 300;
// An answer that runs on this long without its final result is given out as it is (a record
// holds at most TBuffer::MaxDataLength bytes).
constexpr std::size_t MaxAnswerLength = 8192;

} // namespace

DWORD AnswerTimeout(std::string_view cmd)
{
    if (TextAt(cmd, 4, 2) == "DV")
        return 30010;
    if (CharAt(cmd, 2) == '$' && CharAt(cmd, 6) == 'H')
        return 10010;
    return 3010;
}

bool IsSmsSend(std::string_view cmd)
{
    return TextAt(cmd, 6, 2) == "GS";
}

TTComm::TTComm(TModemLink& link, TCommandPort& port) : m_link(link), m_port(port) {}

void TTComm::Stop()
{
    Terminate();
    m_link.WakeWorker();
}

void TTCommDeleter::operator()(TTComm* worker) const
{
    worker->Stop();
    TThreadDeleter()(worker);
}

void TTComm::Execute()
{
    while (!Terminated()) {
        if (!ForwardUnsolicited())
            return;
        if (!m_link.CommandQueue.IsEmpty()) {
            const TCommand command = m_link.CommandQueue.Head();
            (void)m_link.CommandQueue.Remove(m_link.CommandQueue.GetHead());
            if (!RunCommand(command))
                return;
            continue;
        }
        AwaitWork(m_link.Received.MsUntilIncompleteDue());
    }
}

bool TTComm::RunCommand(const TCommand& command)
{
    Write(command.Cmd);
    const std::uint64_t deadline = GetTickCount64() + AnswerTimeout(command.Cmd);
    std::string answer;
    for (;;) {
        while (auto code = m_link.Received.Take()) {
            if (IsUnsolicitedCode(*code, command.Cmd)) {
                if (!PushResponse("", *code, ckAnswered))
                    return false;
                continue;
            }
            answer += *code;
            if (IsCompleteAnswer(answer) || answer.size() >= MaxAnswerLength)
                return PushResponse(command.Cmd, answer, ckAnswered);
        }
        if (Terminated())
            return false;
        const std::uint64_t now = GetTickCount64();
        if (now >= deadline)
            break;
        AwaitWork(static_cast<DWORD>(std::min<std::uint64_t>(deadline - now, m_link.Received.MsUntilIncompleteDue())));
    }
    // The modem did answer, only without its final result.
    if (!answer.empty())
        return PushResponse(command.Cmd, answer, ckAnswered);
    if (IsSmsSend(command.Cmd))
        return true;
    (void)PushResponse(command.Cmd, command.Data, ckTimedOut);
    return false;
}

void TTComm::Write(const std::string& cmd)
{
    if (!IsSmsSend(cmd)) {
        (void)ComWriteStr(m_port, cmd);
        return;
    }
    const std::size_t lineEnd = cmd.find('\r');
    const std::size_t split = lineEnd == std::string::npos ? cmd.size() : lineEnd + 1;
    if (!ComWriteStr(m_port, std::string_view(cmd).substr(0, split)))
        return;
    Sleep(SmsPromptPause);
    (void)ComWriteStr(m_port, std::string_view(cmd).substr(split));
}

bool TTComm::PushResponse(const std::string& cmd, const std::string& data, int kind)
{
    while (!m_link.ResponseQueue.Push(cmd, data, kind)) {
        if (Terminated())
            return false;
        AwaitWork(INFINITE);
    }
    return true;
}

bool TTComm::ForwardUnsolicited()
{
    while (auto code = m_link.Received.Take())
        if (!PushResponse("", *code, ckAnswered))
            return false;
    return true;
}

void TTComm::AwaitWork(DWORD ms)
{
    (void)WaitForSingleObject(m_link.WorkEvent(), ms);
}
