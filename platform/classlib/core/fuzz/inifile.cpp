// Feeds arbitrary bytes to the INI reader and editor. Beyond not crashing, it checks the promises
// the editor makes: an unedited text comes back byte for byte, a written value reads back, and an
// erased section is gone.
#include "platform/classlib/core/IniText.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    TIniText text(input);
    Check(text.Text() == input);

    for (const std::string& section : text.Sections()) {
        Check(text.HasSection(section));
        for (const std::string& key : text.Keys(section))
            Check(text.Value(section, key).has_value());
    }

    // The first bytes name what to edit, so the fuzzer can reach existing sections and keys.
    const std::string section(input.substr(0, std::min<std::size_t>(size, 4)));
    const std::string key(input.substr(std::min<std::size_t>(size, 4), 3));
    if (text.SetValue(section, key, "value")) {
        Check(text.Value(section, key) == "value");
        Check(TIniText(text.Text()).Value(section, key) == "value");
    }
    text.DeleteKey(section, key);
    Check(!text.Value(section, key).has_value());
    text.EraseSection(section);
    Check(!text.HasSection(section));
    return 0;
}
