#pragma once

#include "modem/core/ModemLink.h"

#include "platform/classlib/core/Thread.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// How long the worker waits for the answer to a command, in milliseconds: a dial or feature code
// (characters 4-5 "DV") about 30 s, a hang-up and other "AT$QC...H" commands about 10 s, anything
// else about 3 s.
[[nodiscard]] DWORD AnswerTimeout(std::string_view cmd);
// Characters 6-7 "GS": an SMS send, written in two parts and never fatal when unanswered.
[[nodiscard]] bool IsSmsSend(std::string_view cmd);

// The worker thread: drives the modem strictly one command at a time. It takes the next command,
// writes it, and waits for the modem's answer up to its final result, however many blocks it
// comes in (an OK that closes an answer is never taken for a code of its own); the command and its
// answer go onto the response queue for the main timer. When the time is up before the final
// result, what came of the answer is still the answer. Codes the modem sends by itself go there
// too, as records with an empty Cmd, whether they arrive while the worker is idle or while a
// command waits for its answer (they are then told apart from the answer and the wait goes on).
// Nothing is dropped: when the response queue is full the worker waits for room.
//
// A command other than an SMS send that gets no answer in time is pushed as a timed-out record,
// and the worker ends. An unanswered SMS send is left to the main timer's SMS watchdog.
//
// Created suspended. Every wait blocks on the link's event (and Sleep for the pause inside an SMS
// send), waking also when a new message kept back for its rest is due, so an idle worker costs
// nothing and a Suspend takes effect there. Stop ends it promptly from any wait; hold it in a
// TTCommPtr, whose deleter stops it and waits for it.
class TTComm : public TThread {
public:
    TTComm(TModemLink& link, TCommandPort& port);

    // Marks the thread terminated and wakes it.
    void Stop();

protected:
    void Execute() override;

private:
    // Returns false when the worker is to end.
    [[nodiscard]] bool RunCommand(const TCommand& command);
    void Write(const std::string& cmd);
    // Pushes one record, waiting for room; false when stopped first.
    bool PushResponse(const std::string& cmd, const std::string& data, int kind);
    // Pushes every code received while no command is outstanding.
    bool ForwardUnsolicited();
    // Blocks until something changes, or `ms` passes.
    void AwaitWork(DWORD ms);

    TModemLink& m_link;
    TCommandPort& m_port;
};

// Stops the worker (waking it wherever it waits), waits for it and deletes it.
struct TTCommDeleter {
    void operator()(TTComm* worker) const;
};

using TTCommPtr = std::unique_ptr<TTComm, TTCommDeleter>;
