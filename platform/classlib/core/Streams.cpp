#include "platform/classlib/core/Streams.h"

#include "platform/rtl/Exceptions.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>


namespace {

// Repeats a partial read or write until `count` bytes have moved, the end is reached or an error
// other than an interruption occurs; returns the bytes moved.
template <typename Step>
std::size_t TransferAll(std::size_t count, Step step)
{
    std::size_t moved = 0;
    while (moved < count) {
        const ssize_t n = step(moved, count - moved);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        moved += static_cast<std::size_t>(n);
    }
    return moved;
}

} // namespace

std::int64_t TStream::Size()
{
    const std::int64_t position = Seek(0, TSeekOrigin::soCurrent);
    const std::int64_t size = Seek(0, TSeekOrigin::soEnd);
    Seek(position, TSeekOrigin::soBeginning);
    return size;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* buffer, std::size_t count)
{
    if (count != 0 && Read(buffer, count) != count)
        throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count)
{
    if (count != 0 && Write(buffer, count) != count)
        throw EWriteError("Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count)
{
    if (count < 0)
        return 0;
    if (count == 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    constexpr std::size_t chunk = 61440;
    std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, chunk)));
    for (std::int64_t left = count; left > 0;) {
        const auto now = static_cast<std::size_t>(std::min<std::int64_t>(left, chunk));
        source.ReadBuffer(buffer.data(), now);
        WriteBuffer(buffer.data(), now);
        left -= static_cast<std::int64_t>(now);
    }
    return count;
}

std::size_t TMemoryStream::Read(void* buffer, std::size_t count)
{
    if (m_position >= m_data.size())
        return 0;
    const std::size_t moved = std::min(count, m_data.size() - m_position);
    std::memcpy(buffer, m_data.data() + m_position, moved);
    m_position += moved;
    return moved;
}

std::size_t TMemoryStream::Write(const void* buffer, std::size_t count)
{
    if (count == 0)
        return 0;
    // Both at most MaxSize, so the sum cannot wrap; anything larger is refused by Resize.
    const std::size_t end = m_position > MaxSize || count > MaxSize ? SIZE_MAX : m_position + count;
    if (end > m_data.size())
        Resize(end);
    std::memcpy(m_data.data() + m_position, buffer, count);
    m_position += count;
    return count;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    std::int64_t base = 0;
    if (origin == TSeekOrigin::soCurrent)
        base = static_cast<std::int64_t>(m_position);
    else if (origin == TSeekOrigin::soEnd)
        base = static_cast<std::int64_t>(m_data.size());
    std::int64_t target = 0;
    if (__builtin_add_overflow(base, offset, &target))
        target = INT64_MAX;
    m_position = static_cast<std::size_t>(std::max<std::int64_t>(0, target));
    return static_cast<std::int64_t>(m_position);
}

void TMemoryStream::SetSize(std::int64_t size)
{
    Resize(static_cast<std::size_t>(std::max<std::int64_t>(0, size)));
    m_position = std::min(m_position, m_data.size());
}

void TMemoryStream::Resize(std::size_t size)
{
    if (size > MaxSize)
        throw EStreamError("Out of memory while expanding memory stream");
    try {
        m_data.resize(size);
    } catch (const std::length_error&) {
        throw EStreamError("Out of memory while expanding memory stream");
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

void TMemoryStream::Clear()
{
    m_data.clear();
    m_position = 0;
}

void TMemoryStream::LoadFromStream(TStream& source)
{
    source.SetPosition(0);
    const std::int64_t size = source.Size();
    SetSize(size);
    if (size != 0)
        source.ReadBuffer(m_data.data(), m_data.size());
    m_position = 0;
}

void TMemoryStream::LoadFromFile(const std::string& fileName)
{
    TFileStream file(fileName, fmOpenRead);
    LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target)
{
    target.WriteBuffer(m_data.data(), m_data.size());
}

void TMemoryStream::SaveToFile(const std::string& fileName)
{
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

TFileStream::TFileStream(const std::string& fileName, std::uint16_t mode)
    : m_fileName(fileName)
{
    if (mode == fmCreate) {
        m_fd = ::open(fileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (m_fd < 0)
            throw EFCreateError("Cannot create file \"" + fileName + "\". " + std::strerror(errno));
        return;
    }
    const int access = (mode & 3) == fmOpenWrite ? O_WRONLY : (mode & 3) == fmOpenReadWrite ? O_RDWR : O_RDONLY;
    m_fd = ::open(fileName.c_str(), access | O_CLOEXEC);
    if (m_fd < 0)
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(errno));
    struct stat info {};
    if (::fstat(m_fd, &info) == 0 && S_ISDIR(info.st_mode)) {
        ::close(m_fd);
        m_fd = -1;
        throw EFOpenError("Cannot open file \"" + fileName + "\". " + std::strerror(EISDIR));
    }
}

TFileStream::~TFileStream()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

std::size_t TFileStream::Read(void* buffer, std::size_t count)
{
    return TransferAll(count, [&](std::size_t done, std::size_t left) {
        return ::read(m_fd, static_cast<char*>(buffer) + done, left);
    });
}

std::size_t TFileStream::Write(const void* buffer, std::size_t count)
{
    return TransferAll(count, [&](std::size_t done, std::size_t left) {
        return ::write(m_fd, static_cast<const char*>(buffer) + done, left);
    });
}

std::int64_t TFileStream::Seek(std::int64_t offset, TSeekOrigin origin)
{
    const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET : origin == TSeekOrigin::soCurrent ? SEEK_CUR : SEEK_END;
    return ::lseek(m_fd, offset, whence);
}

void TFileStream::SetSize(std::int64_t size)
{
    if (::ftruncate(m_fd, size) != 0)
        throw EStreamError(std::string("Stream write error"));
}
