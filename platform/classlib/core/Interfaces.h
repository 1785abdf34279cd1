#pragma once

#include "platform/classlib/core/Objects.h"

#include <cstdint>
#include <string>
#include <string_view>

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);

// An interface identifier. Written "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}"; the parse runs at
// compile time for the constants interfaces declare (`static constexpr TGUID IID = ...`).
struct TGUID {
    std::uint32_t D1 = 0;
    std::uint16_t D2 = 0;
    std::uint16_t D3 = 0;
    std::uint8_t D4[8] = {};

    friend constexpr bool operator==(const TGUID&, const TGUID&) = default;

    // Raises EConvertError "'%s' is not a valid GUID value" (at compile time: fails to compile).
    [[nodiscard]] static constexpr TGUID Parse(std::string_view text);
};

namespace classlib_core::detail {

[[noreturn]] void RaiseInvalidGUID(std::string_view text);

constexpr std::uint32_t HexDigits(std::string_view text, std::string_view whole, std::size_t pos, std::size_t count)
{
    std::uint32_t value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        const char c = text[i];
        std::uint32_t digit = 0;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else
            RaiseInvalidGUID(whole);
        value = value * 16 + digit;
    }
    return value;
}

} // namespace classlib_core::detail

constexpr TGUID TGUID::Parse(std::string_view text)
{
    constexpr std::size_t length = 38;
    if (text.size() != length || text[0] != '{' || text[9] != '-' || text[14] != '-' || text[19] != '-'
        || text[24] != '-' || text[37] != '}')
        classlib_core::detail::RaiseInvalidGUID(text);
    TGUID guid;
    guid.D1 = classlib_core::detail::HexDigits(text, text, 1, 8);
    guid.D2 = static_cast<std::uint16_t>(classlib_core::detail::HexDigits(text, text, 10, 4));
    guid.D3 = static_cast<std::uint16_t>(classlib_core::detail::HexDigits(text, text, 15, 4));
    constexpr std::size_t bytePositions[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (std::size_t i = 0; i < 8; ++i)
        guid.D4[i] = static_cast<std::uint8_t>(classlib_core::detail::HexDigits(text, text, bytePositions[i], 2));
    return guid;
}

[[nodiscard]] inline TGUID StringToGUID(std::string_view text) { return TGUID::Parse(text); }
// Upper-case hex in braces, as the class library wrote it.
[[nodiscard]] std::string GUIDToString(const TGUID& guid);

// The root interface. Components answer it without reference counting (_AddRef and _Release
// return -1), as the class library's components did; lifetime stays with the owner.
class IInterface {
public:
    static constexpr TGUID IID = TGUID::Parse("{00000000-0000-0000-C000-000000000046}");

    virtual HRESULT QueryInterface(const TGUID& iid, void** object) = 0;
    virtual int _AddRef() = 0;
    virtual int _Release() = 0;

protected:
    ~IInterface() = default;
};

// Whether `instance` implements `iid`; on success `object` points at the interface.
[[nodiscard]] bool Supports(TObject* instance, const TGUID& iid, void** object = nullptr);

// The typed form: Supports(control, frameClient) with `I` declaring `static constexpr TGUID IID`.
template <class I>
[[nodiscard]] bool Supports(TObject* instance, I*& object)
{
    void* raw = nullptr;
    const bool found = Supports(instance, I::IID, &raw);
    object = found ? static_cast<I*>(raw) : nullptr;
    return found;
}
