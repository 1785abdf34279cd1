#pragma once

#include <ostream>
#include <string>

class FakeModem;

// The fakemodem program's interactive commands, one a line:
//   ring <number>            an incoming call (RING; the number is what AT+CLCC reports)
//   sms <number> <text>      a new message
//   signal <0..31|99>        the value AT+CSQ reports
//   nocarrier                the far end hangs up
//   confirm                  the late confirmation of an SMS sent with the "late" outcome
//   dial answer|busy|noanswer|error|silent [delay ms]
//   smsresult sent|error|refused|prompterror|late [code]
//   unplug, plug, help, quit
enum class ConsoleResult { Continue, Quit };

// Runs one line; answers and errors go to `out`.
ConsoleResult RunConsoleCommand(FakeModem& modem, const std::string& line, std::ostream& out);

void PrintConsoleHelp(std::ostream& out);
