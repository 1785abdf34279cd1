// Feeds arbitrary bytes to the BMP reader: every input must either load within the limits in
// GraphicsBitmap.h or raise EInvalidGraphic, never crash, over-read or allocate beyond the limits.
//
// An input that starts with "BM" is a file as it is. Any other input is pixel data behind a
// well-formed header, so that the fuzzer spends its time inside the run-length expander and the
// bit-field unpacker instead of on headers: its first byte picks the form, the next two the
// width and height (1 to 64), and the rest is the data.
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

struct TForm {
    std::uint16_t bits;
    std::uint32_t compression;
    std::vector<std::uint32_t> table; // colours, or the bit-field masks
};

std::vector<TForm> Forms()
{
    return {
        {8, BI_RLE8, std::vector<std::uint32_t>(256, 0x00808080)},
        {4, BI_RLE4, std::vector<std::uint32_t>(16, 0x00808080)},
        {16, BI_RGB, {}},
        {16, BI_BITFIELDS, {0xF800, 0x07E0, 0x001F}},
        {32, BI_BITFIELDS, {0x000000FF, 0x0000FF00, 0x00FF0000}},
    };
}

void Put(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<std::uint8_t> WithHeader(const std::uint8_t* data, std::size_t size)
{
    static const std::vector<TForm> forms = Forms();
    const TForm& form = forms[data[0] % forms.size()];
    const std::uint32_t width = data[1] % 64 + 1;
    const std::uint32_t height = data[2] % 64 + 1;
    const std::uint32_t pixels = static_cast<std::uint32_t>(size - 3);
    const std::uint32_t offBits = 14 + 40 + 4 * static_cast<std::uint32_t>(form.table.size());
    std::vector<std::uint8_t> file;
    Put(file, 0x4D42, 2);
    Put(file, offBits + pixels, 4);
    Put(file, 0, 4);
    Put(file, offBits, 4);
    for (std::uint32_t field : {40u, width, height})
        Put(file, field, 4);
    Put(file, 1, 2);
    Put(file, form.bits, 2);
    for (std::uint32_t field : {form.compression, pixels, 0u, 0u, 0u, 0u})
        Put(file, field, 4);
    for (std::uint32_t entry : form.table)
        Put(file, entry, 4);
    file.insert(file.end(), data + 3, data + size);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const bool wholeFile = size < 3 || (data[0] == 'B' && data[1] == 'M');
    const std::vector<std::uint8_t> file = wholeFile ? std::vector<std::uint8_t>(data, data + size) : WithHeader(data, size);
    TMemoryStream stream;
    if (!file.empty())
        stream.WriteBuffer(file.data(), file.size());
    stream.SetPosition(0);
    TBitmap bitmap;
    try {
        bitmap.LoadFromStream(stream);
    } catch (const EInvalidGraphic&) {
        return 0;
    }
    // What loaded must draw and write back.
    (void)bitmap.Canvas()->Pixels(0, bitmap.Height() - 1);
    TMemoryStream copy;
    bitmap.SaveToStream(copy);
    return 0;
}
