#pragma once

#include <string>

// The Windows language id of a POSIX locale name, as the registry's "InstallLanguage" writes it
// (four upper-case hex digits): "en_US.UTF-8" -> "0409", "zh_CN.GBK" -> "0804",
// "pt_PT" -> "0816". A known language with an unknown or no territory gets the language's main
// id ("de" -> "0407"); "C", "POSIX", an empty name and unknown languages give "0409", the id of
// the C locale's English.
[[nodiscard]] std::string LanguageIdFromLocale(const std::string& localeName);

// From the environment, in the order the C library consults it for messages: LC_ALL, then
// LC_MESSAGES, then LANG.
[[nodiscard]] std::string SystemInstallLanguage();
