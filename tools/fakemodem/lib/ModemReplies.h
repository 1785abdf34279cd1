#pragma once

#include <string>
#include <string_view>

// The bytes the simulated modem sends, each one burst. The manager recognises an answer by the
// characters at fixed positions of the block it receives (carriage return and line feed count as
// one character each), so these layouts are part of the protocol, not decoration:
//   [2..3] "OK"                  final result of a command
//   [2..3] "ER"                  ERROR
//   [2] digit, [3] digit or ","  signal quality (the value itself, not a "+CSQ: " form)
//   [2..3] "RI"                  RING
//   [2] "N", [5] "C"             NO CARRIER
//   [2] "$", [6] "T"             a new SMS ($QCMT)
//   [7] "E", [14] "5"            +CMS ERROR 5xx
//   [6..7] "GS"                  $QCMGS confirmation
//   [2] ">", [13] "E"            the SMS prompt and an error in one block
// CONNECT, the answer to a data call, is for a dialler's chat script, which looks for the word.
namespace ModemReplies {

[[nodiscard]] std::string Ok();
[[nodiscard]] std::string Connect();
[[nodiscard]] std::string Error();
[[nodiscard]] std::string NoCarrier();
[[nodiscard]] std::string Ring();

// "<v>,99" with OK: the value at [2], followed by "," when it has one digit.
[[nodiscard]] std::string SignalQuality(int value);

// The current call in +CLCC form (number in quotes, 145 for an international number) and OK.
enum class CallDirection { Outgoing, Incoming };
enum class CallStatus { Active = 0, Dialling = 2, Ringing = 4 };
[[nodiscard]] std::string CallList(CallDirection direction, CallStatus status, std::string_view number);

[[nodiscard]] std::string SmsPrompt();
[[nodiscard]] std::string SmsConfirmation(int reference);
[[nodiscard]] std::string CmsError(int code);
// The prompt the modem owed and the error in one block: "> " at [2], "E" of "+CMS ERROR" at [13].
[[nodiscard]] std::string SmsPromptThenError(int code);

// An unsolicited new message, laid out for the manager's parser: the number between the second
// pair of quotes, the time stamp "yy/MM/dd,hh:mm:ss+zz" right after it, then the text's length in
// bytes up to the carriage return, and the text on the next line. `timestamp` must have that
// 20-character form.
[[nodiscard]] std::string NewSms(std::string_view number, std::string_view text, std::string_view timestamp);

// The time stamp of a message received now (local time, zone "+00").
[[nodiscard]] std::string SmsTimestampNow();

// Bytes made readable for a transcript: CR, LF, Ctrl-Z and Esc as \r, \n, ^Z and ^[, other
// control bytes as \xNN.
[[nodiscard]] std::string Printable(std::string_view bytes);

} // namespace ModemReplies
