#pragma once

#include "platform/classlib/core/Objects.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/winapi/ras/Ras.h"
#include "platform/winapi/user/WinUser.h"

#include <atomic>
#include <memory>
#include <string>

// Sent (never posted) to RasNotifyWindow for every dial state and error; wParam is a RASCONNSTATE
// or a dial-up error code (600 and above), lParam 0.
constexpr UINT WM_RAS_NOTIFY = WM_USER + 100;

// The dial callback gets no object, so its reporting path is module-level. The application sets
// RasNotifyWindow to its main window right after creating the component.
extern std::atomic<HWND> RasNotifyWindow;

// The text of the last error reported to RasNotifyWindow. The dial callback writes it on the
// service's thread before it sends the error, and the window reads it while handling that send,
// so it is kept behind a lock and handed out as a copy.
[[nodiscard]] std::string RasErrorText();
void SetRasErrorText(const std::string& text);
// The service's text for an error code; empty when it has none.
[[nodiscard]] std::string RasErrorString(DWORD code);

// The notifier given to RasDialA (notifier type 0). Runs on the dial-up service's thread: an
// error's text goes to RasErrorText before the error is sent; a state is sent as it is.
void RasDialCallback(UINT unMsg, RASCONNSTATE rasconnstate, DWORD dwError);

// The message of the exception a refused dial raises: "ERR" for the codes that mean the port or
// the line could not be used, "ERR!" for every other code.
[[nodiscard]] std::string RasRefusalMessage(DWORD code);

// Drives one entry of the default dial-up phonebook: keeps the entry names and the dial
// parameters, dials asynchronously (progress reaches RasNotifyWindow as WM_RAS_NOTIFY), hangs
// up, adopts an active connection of its entry, and reads the connection's statistics and status.
// Everything but the dial callback runs on the GUI thread.
class TRASConnection : public TObject {
    CLASSLIB_DECLARE_CLASS;

    // The entry name selected when the wanted one is not in the phonebook: it matches no entry,
    // so a later Connect is refused by the service.
    static constexpr const char* NoEntryName = "'''";

    // Keeps `ownerWindow` (notifications go to RasNotifyWindow) and reads the phonebook.
    explicit TRASConnection(HWND ownerWindow);
    // Does not hang up: an active connection outlives the component.
    ~TRASConnection() override;

    // Re-reads the phonebook's entry names, the one enumerated last first, and selects the first
    // listed one. A phonebook that cannot be read leaves the list empty and selects NoEntryName.
    TStringList& RefreshEntries();
    // Selects `name` when the list holds it exactly (letter case included), else NoEntryName.
    void SetEntryName(const std::string& name);
    [[nodiscard]] std::string GetEntryName() const;
    // Cut to 128 characters.
    void SetPhoneNumber(const std::string& number);
    // Cut to 256 characters.
    void SetUserName(const std::string& userName);
    // Cut to 256 characters.
    void SetPassword(const std::string& password);

    // Starts dialling; the progress arrives through RasDialCallback. A dial the service refuses
    // is hung up and raises Exception with RasRefusalMessage(code).
    void Connect();
    void Disconnect();
    // Adopts the first active connection whose entry name equals GetEntryName() exactly.
    [[nodiscard]] bool FindActiveConnection();

    // Reads the connection's statistics; false (keeping the last figures) when that fails.
    [[nodiscard]] bool UpdateStatistics();
    [[nodiscard]] DWORD BytesSent() const;
    [[nodiscard]] DWORD BytesReceived() const;
    // Milliseconds since the connection was made.
    [[nodiscard]] DWORD ConnectDuration() const;

    // Polls the connection: an error it ended with is sent to RasNotifyWindow (with its text in
    // RasErrorText), and a handle the service no longer knows (hung up, or none) is let go and
    // reported as RASCS_Disconnected.
    void CheckStatus();

    [[nodiscard]] DWORD PlatformId() const { return m_platformId; }
    [[nodiscard]] HWND OwnerWindow() const { return m_ownerWindow; }
    // The code of the last refused Connect; 0 before any.
    [[nodiscard]] DWORD LastDialError() const { return m_lastDialError; }

private:
    DWORD m_platformId = 0;
    std::unique_ptr<TStringList> m_entries;
    HRASCONN m_handle = nullptr;
    RASDIALPARAMSA m_dialParams{};
    DWORD m_lastDialError = 0;
    std::unique_ptr<RAS_STATS> m_statistics;
    RASCONNSTATUSA m_status{};
    HWND m_ownerWindow = nullptr;
};
