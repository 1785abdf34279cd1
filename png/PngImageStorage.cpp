#include "png/PngImageStorage.h"

#include "png/PngErrors.h"

#include "platform/winapi/gdi/Gdi.h"

#include <cstdlib>
#include <cstring>
#include <new>

static_assert(sizeof(BITMAPINFOHEADER) == sizeof(TPngBitmapInfoHeader));

namespace {

constexpr std::uint32_t BI_RGB_COMPRESSION = 0;

// calloc rather than new[]: large blocks come straight from the system already zeroed, so an
// image that turns out to be truncated costs no time for the rows it never fills.
std::uint8_t* AllocateZeroed(std::size_t size)
{
    return static_cast<std::uint8_t*>(std::calloc(size == 0 ? 1 : size, 1));
}

} // namespace

void TImageStorage::TFreeDeleter::operator()(std::uint8_t* block) const
{
    std::free(block);
}

TImageStorage::~TImageStorage()
{
    Release();
}

void TImageStorage::Prepare(std::uint32_t width, std::uint32_t height, unsigned bitsPerPixel,
                            TAlphaPlane alpha)
{
    Release();
    const std::uint64_t pixels = std::uint64_t{width} * height;
    TPngBitmapInfoHeader& header = m_info.bmiHeader;
    header.biSize = sizeof(TPngBitmapInfoHeader);
    header.biWidth = static_cast<std::int32_t>(width);
    header.biHeight = static_cast<std::int32_t>(height);
    header.biPlanes = 1;
    header.biBitCount = static_cast<std::uint16_t>(bitsPerPixel);
    header.biCompression = BI_RGB_COMPRESSION;
    CreateSection();
    if (alpha == TAlphaPlane::apSeparate)
        m_alpha.reset(AllocateZeroed(static_cast<std::size_t>(pixels)));
    if (!m_bits || (alpha == TAlphaPlane::apSeparate && !m_alpha)) {
        Release();
        throw EPNGOutMemory();
    }
    m_width = width;
    m_height = height;
    m_rowSize = (std::size_t{bitsPerPixel} * width + 31) / 32 * 4;
}

void TImageStorage::CreateSection()
{
    void* bits = nullptr;
    try {
        m_section.Reset(CreateDIBSection(nullptr, GdiInfo(), DIB_RGB_COLORS, &bits, nullptr, 0));
    } catch (const std::bad_alloc&) {
        m_section.Reset();
    }
    m_bits = m_section ? static_cast<std::uint8_t*>(bits) : nullptr;
}

void TImageStorage::Release()
{
    m_section.Reset();
    m_bits = nullptr;
    m_info = {};
    m_alpha.reset();
    m_width = 0;
    m_height = 0;
    m_rowSize = 0;
}

void TImageStorage::CopyFrom(const TImageStorage& source)
{
    if (!source.Prepared()) {
        Release();
        return;
    }
    Prepare(source.m_width, source.m_height, source.BitsPerPixel(),
            source.HasAlpha() ? TAlphaPlane::apSeparate : TAlphaPlane::apNone);
    std::memcpy(m_bits, source.m_bits, m_rowSize * m_height);
    if (HasAlpha())
        std::memcpy(m_alpha.get(), source.m_alpha.get(), std::size_t{m_width} * m_height);
    m_info = source.m_info;
}
