#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };

// A sequence of bytes with a position. Read and Write move as far as they can and return the
// count moved; ReadBuffer and WriteBuffer move all or raise.
class TStream {
public:
    virtual ~TStream() = default;

    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    virtual std::size_t Write(const void* buffer, std::size_t count) = 0;
    virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

    [[nodiscard]] std::int64_t Position() { return Seek(0, TSeekOrigin::soCurrent); }
    void SetPosition(std::int64_t position) { Seek(position, TSeekOrigin::soBeginning); }
    [[nodiscard]] virtual std::int64_t Size();
    virtual void SetSize(std::int64_t size);

    // Raises EReadError ("Stream read error") when fewer than `count` bytes are left.
    void ReadBuffer(void* buffer, std::size_t count);
    // Raises EWriteError ("Stream write error") when not every byte could be written.
    void WriteBuffer(const void* buffer, std::size_t count);
    // Copies `count` bytes from the source's position; 0 copies the whole source from its start,
    // and a negative count copies nothing.
    std::int64_t CopyFrom(TStream& source, std::int64_t count);
};

// A stream over a growable block of memory it owns, of at most MaxSize bytes (the 32-bit limit the
// class library always had). Growing beyond that or beyond what memory allows raises EStreamError
// "Out of memory while expanding memory stream" and leaves the stream as it was.
class TMemoryStream : public TStream {
public:
    static constexpr std::size_t MaxSize = 0x7FFFFFFF;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    [[nodiscard]] std::int64_t Size() override { return static_cast<std::int64_t>(m_data.size()); }
    void SetSize(std::int64_t size) override;

    [[nodiscard]] const std::uint8_t* Memory() const { return m_data.data(); }
    [[nodiscard]] std::uint8_t* Memory() { return m_data.data(); }
    void Clear();
    void LoadFromStream(TStream& source);
    void LoadFromFile(const std::string& fileName);
    void SaveToStream(TStream& target);
    void SaveToFile(const std::string& fileName);

private:
    void Resize(std::size_t size);

    std::vector<std::uint8_t> m_data;
    std::size_t m_position = 0;
};

enum : std::uint16_t {
    fmCreate = 0xFFFF,
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyNone = 0x0040,
};

// A stream over a file. Opening failures raise EFCreateError ("Cannot create file \"%s\". %s")
// or EFOpenError ("Cannot open file \"%s\". %s") with the system's reason; a folder is not a file
// and cannot be opened. The sharing flags are accepted and not enforced.
class TFileStream : public TStream {
public:
    TFileStream(const std::string& fileName, std::uint16_t mode);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    std::size_t Write(const void* buffer, std::size_t count) override;
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
    void SetSize(std::int64_t size) override;

    [[nodiscard]] const std::string& FileName() const { return m_fileName; }

private:
    std::string m_fileName;
    int m_fd = -1;
};
