#pragma once

#include "modem/core/ModemEngine.h"
#include "modem/core/ModemRecords.h"
#include "modem/core/ModemView.h"

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

// The window as a test sees it: what the engine last set.
class RecordingView : public TModemView {
public:
    [[nodiscard]] std::string StatusText(int panel) const override { return status[panel & 1]; }
    void SetStatusText(int panel, const std::string& text) override { status[panel & 1] = text; }
    void SetMainTimerEnabled(bool enabled) override { mainTimer = enabled; }
    void SetCallTimerEnabled(bool enabled) override { callTimer = enabled; }
    [[nodiscard]] std::string CallCaption() const override { return caption; }
    void SetCallCaption(const std::string& text) override { caption = text; }
    [[nodiscard]] bool ButtonEnabled(TCallButton button) const override
    {
        const auto found = buttons.find(button);
        return found != buttons.end() && found->second;
    }
    void SetButtonEnabled(TCallButton button, bool enabled) override { buttons[button] = enabled; }
    void SetCallTitle(const std::string& text) override { titles.push_back(text); }
    [[nodiscard]] std::string DialDisplay() const override { return display; }
    [[nodiscard]] bool CallButtonsInView() const override { return buttonsInView; }
    void ShowIncomingCaller(const std::string& number, const std::string& name) override
    {
        display = number.empty() ? "Anonymous" : number;
        callerName = name;
    }
    void EndServiceWait() override { ++serviceWaitsEnded; }
    void ShowSignal(int image) override { signalImages.push_back(image); }
    void ShowNewMessage() override { ++newMessageMarks; }
    void PlayTone(TTone tone, bool looping) override
    {
        tones.push_back(tone);
        looping_ = looping;
    }
    void StopTone() override { looping_ = false; }
    [[nodiscard]] bool ToneLooping() const override { return looping_; }

    [[nodiscard]] std::string Title() const { return titles.empty() ? std::string() : titles.back(); }

    std::string status[2];
    bool mainTimer = true;
    bool callTimer = false;
    std::string caption = "Call";
    std::map<TCallButton, bool> buttons;
    std::vector<std::string> titles;
    std::string display;
    std::string callerName;
    bool buttonsInView = true;
    int serviceWaitsEnded = 0;
    std::vector<int> signalImages;
    int newMessageMarks = 0;
    std::vector<TTone> tones;
    bool looping_ = false;
};

struct LoggedCall {
    TCallLog log;
    std::string number;
    int seconds;
    bool operator==(const LoggedCall&) const = default;
};

struct StoredSms {
    TSmsBox box;
    TSmsItem item;
    bool operator==(const StoredSms&) const = default;
};

// The database as a test sees it: every row the engine wrote.
class RecordingRecords : public TModemRecords {
public:
    [[nodiscard]] std::string LookupName(const std::string& number) override
    {
        const auto found = phonebook.find(number);
        return found == phonebook.end() ? std::string() : found->second;
    }
    void LogCall(TCallLog log, const std::string& number, int seconds) override
    {
        calls.push_back({log, number, seconds});
    }
    void StoreNewMessage(const std::string& received) override { newMessages.push_back(received); }
    void StoreSmsResult(TSmsBox box, const TSmsItem& item) override { smsResults.push_back({box, item}); }

    std::map<std::string, std::string> phonebook;
    std::vector<LoggedCall> calls;
    std::vector<std::string> newMessages;
    std::vector<StoredSms> smsResults;
};

// A port that keeps what the worker wrote, each byte with the kernel-clock time it went.
class RecordingPort : public TModemPort {
public:
    [[nodiscard]] bool WriteCommData(const void* data, std::size_t length) override;
    void StopComm() override;

    [[nodiscard]] std::string Written() const;
    // Blocks until what was written ends with `tail`; false after a minute (a hung worker).
    [[nodiscard]] bool AwaitWritten(const std::string& tail) const;
    [[nodiscard]] std::vector<std::uint64_t> WriteTimes() const;
    [[nodiscard]] bool Open() const;
    void SetOpen(bool open);

private:
    mutable std::mutex m_lock;
    mutable std::condition_variable m_changed;
    std::string m_written;
    std::vector<std::uint64_t> m_times;
    bool m_open = true;
};
