#pragma once

#include "platform/winapi/user/Clipboard.h"

#include <optional>
#include <string>
#include <string_view>

// The clipboard's data conversions: blocks to bytes and back, the text formats, packed DIBs,
// BMP files and bitmaps. Data from other programs is untrusted: every length is checked.
namespace winapi_user::detail {

[[nodiscard]] bool IsTextFormat(UINT format);
// Formats whose data is a GDI object rather than a memory block.
[[nodiscard]] bool IsGdiFormat(UINT format);
void FreeClipboardHandle(UINT format, HANDLE handle);

// The block's bytes; empty for a stale handle.
[[nodiscard]] std::string BlockBytes(HGLOBAL block);
// A moveable block holding `bytes`; nullptr when out of memory.
[[nodiscard]] HGLOBAL BlockOf(std::string_view bytes);

// The text of a CF_TEXT/CF_OEMTEXT/CF_UNICODETEXT block as UTF-8, up to its terminator (or the
// block's end when it has none).
[[nodiscard]] std::string TextOfBlock(UINT format, HGLOBAL block);
// A block of `format` holding `utf8` with its terminator.
[[nodiscard]] HGLOBAL TextBlock(UINT format, std::string_view utf8);

// A packed DIB (BITMAPINFOHEADER, colour table, bits) as a BMP file and back; nullopt when the
// data is not a DIB we understand or is cut short.
[[nodiscard]] std::optional<std::string> BmpFileOfDib(const std::string& dib);
[[nodiscard]] std::optional<std::string> DibOfBmpFile(std::string_view bmp);
// A CF_DIB block from a bitmap, and a bitmap (compatible with the screen) from a CF_DIB block.
[[nodiscard]] HGLOBAL DibOfBitmap(HBITMAP bitmap);
[[nodiscard]] HBITMAP BitmapOfDib(HGLOBAL dib);

} // namespace winapi_user::detail
