#pragma once

#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/kernel/WinTypes.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// Resources embedded at build time (modem_resources in cmake/ModemResources.cmake). Each has a
// type and a name, both compared case-insensitively. The types are names here, not numbers:
// RT_BITMAP is "BITMAP", RT_RCDATA "RCDATA", and so on; forms are RCDATA named after their class.
inline constexpr const char* RT_CURSOR = "CURSOR";
inline constexpr const char* RT_BITMAP = "BITMAP";
inline constexpr const char* RT_ICON = "ICON";
inline constexpr const char* RT_STRING = "STRING";
inline constexpr const char* RT_RCDATA = "RCDATA";

struct TResourceEntry {
    const char* Type;
    const char* Name;
    const unsigned char* Data;
    std::size_t Size;
};

// Called by the generated tables at start-up; the entries must live for the program's life. A
// later entry with the same type and name replaces an earlier one.
void RegisterResources(std::span<const TResourceEntry> entries);

struct HRSRC__;
using HRSRC = HRSRC__*;
using HGLOBAL_RESOURCE = const void*;

// The module handle is accepted and ignored: every resource belongs to the one program. A missing
// resource answers null (FindResource, LoadResource) or 0 (SizeofResource).
[[nodiscard]] HRSRC FindResource(HMODULE module, std::string_view name, std::string_view type);
[[nodiscard]] HGLOBAL_RESOURCE LoadResource(HMODULE module, HRSRC resource);
[[nodiscard]] const void* LockResource(HGLOBAL_RESOURCE data);
[[nodiscard]] DWORD SizeofResource(HMODULE module, HRSRC resource);

RTL_DECLARE_EXCEPTION(EResNotFound, Exception);

// A read-only stream over an embedded resource. Raises EResNotFound "Resource %s not found" when
// there is none; writing raises EStreamError "Can't write to a read-only resource stream".
class TResourceStream : public TStream {
public:
    TResourceStream(HMODULE module, std::string_view name, std::string_view type);

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    [[nodiscard]] std::int64_t Size() override { return static_cast<std::int64_t>(m_data.size()); }
    void SetSize(std::int64_t size) override;

    [[nodiscard]] std::span<const std::uint8_t> Memory() const { return m_data; }

private:
    std::span<const std::uint8_t> m_data;
    std::size_t m_position = 0;
};
