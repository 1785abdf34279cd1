#include "platform/winapi/gdi/TextUtf8.h"

#include "platform/rtl/Utf8.h"

char32_t NextCharacter(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos]);
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    }
    if (length == 0 || pos + length > text.size()) {
        ++pos;
        return lead;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if (!IsUtf8Continuation(static_cast<char>(next))) {
            ++pos;
            return lead;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++pos;
        return lead;
    }
    pos += length;
    return value;
}

namespace {

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

} // namespace

WideAsUtf8 ToUtf8(std::u16string_view wide)
{
    WideAsUtf8 result;
    for (std::size_t i = 0; i < wide.size();) {
        const std::size_t start = i;
        char32_t c = wide[i++];
        if (c >= 0xD800 && c <= 0xDBFF && i < wide.size() && wide[i] >= 0xDC00 && wide[i] <= 0xDFFF)
            c = 0x10000 + ((c - 0xD800) << 10) + (wide[i++] - 0xDC00);
        else if (c >= 0xD800 && c <= 0xDFFF)
            c = 0xFFFD;
        const std::size_t before = result.text.size();
        AppendUtf8(result.text, c);
        result.wideIndex.insert(result.wideIndex.end(), result.text.size() - before, start);
    }
    result.wideIndex.push_back(wide.size());
    return result;
}

std::u16string ToUtf16(std::string_view text)
{
    std::u16string wide;
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t c = NextCharacter(text, pos);
        if (c >= 0x10000) {
            wide.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            wide.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            wide.push_back(static_cast<char16_t>(c));
        }
    }
    return wide;
}
