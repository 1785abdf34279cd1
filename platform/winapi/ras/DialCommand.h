#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

// What a dial hands to pppd. Nothing the user typed ever reaches a shell: pppd runs its connect
// script through /bin/sh, so that script is only our quoted chat path and the quoted path of a
// chat script file we write; the number goes into that file only after it passed
// IsDialableNumber. The password goes into an options file readable by the user alone (never a
// command line, where every user can read it in /proc).

struct DialRequest {
    std::string devicePath;
    std::string phoneNumber;
    std::string userName;
    std::string password;
};

// The number without the separators people write numbers with (spaces, dashes, dots and
// parentheses), which a modem does not dial; everything else stays for IsDialableNumber to judge.
[[nodiscard]] std::string WithoutSeparators(std::string_view number);
// 0-9 * # + and ',' (pause), at least one character.
[[nodiscard]] bool IsDialableNumber(std::string_view number);
// No control characters (they cannot be passed through pppd's options file).
[[nodiscard]] bool IsPlainText(std::string_view text);

// The chat script that dials `number` (which must be dialable) and stops on the modem's failure
// replies, which chat then reports as "Failed (BUSY)" and so on.
[[nodiscard]] std::string ChatScript(std::string_view number);
// The options file's text: the password as one quoted pppd word (empty text for no password).
[[nodiscard]] std::string PasswordOptions(std::string_view password);
// `text` as one word for /bin/sh, single-quoted.
[[nodiscard]] std::string ShellQuote(std::string_view text);

// A private folder (mode 0700) holding the options file and the chat script (each 0600), under
// $XDG_RUNTIME_DIR, else $TMPDIR, else /tmp. Removed with its files when the object goes.
class DialFiles {
public:
    // Nothing when the folder or a file cannot be written.
    [[nodiscard]] static std::unique_ptr<DialFiles> Create(const DialRequest& request);
    ~DialFiles();
    DialFiles(const DialFiles&) = delete;
    DialFiles& operator=(const DialFiles&) = delete;

    [[nodiscard]] std::string OptionsPath() const { return m_folder + "/options"; }
    [[nodiscard]] std::string ChatScriptPath() const { return m_folder + "/chat"; }

private:
    explicit DialFiles(std::string folder);
    std::string m_folder;
};

// pppd's argument vector: the program (MODEM_PPPD, default /usr/sbin/pppd) and its options.
[[nodiscard]] std::vector<std::string> PppdArguments(const DialRequest& request, const DialFiles& files);
