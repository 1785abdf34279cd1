#include "platform/winapi/ras/Phonebook.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto book = Phonebook::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const auto& entry : book.Entries()) {
        (void)book.Find(entry.name);
        (void)entry.Value("Port");
    }
    return 0;
}
