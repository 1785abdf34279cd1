#include "platform/classlib/core/Streams.h"

#include "platform/rtl/Exceptions.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace {

std::string ReadAll(TStream& stream)
{
    std::string text(static_cast<std::size_t>(stream.Size() - stream.Position()), '\0');
    stream.ReadBuffer(text.data(), text.size());
    return text;
}

TEST(MemoryStream, ReadStopsAtTheEndAndReadBufferRaises)
{
    TMemoryStream stream;
    stream.WriteBuffer("abcdef", 6);
    stream.SetPosition(4);
    char buffer[8] = {};
    EXPECT_EQ(stream.Read(buffer, sizeof buffer), 2u);
    EXPECT_EQ(std::string(buffer, 2), "ef");
    EXPECT_EQ(stream.Read(buffer, 1), 0u);
    stream.SetPosition(3);
    try {
        stream.ReadBuffer(buffer, 4);
        FAIL() << "read past the end";
    } catch (const EReadError& error) {
        EXPECT_STREQ(error.what(), "Stream read error");
    }
}

TEST(MemoryStream, SeekAndWriteBeyondTheEndFillsWithZeros)
{
    TMemoryStream stream;
    stream.WriteBuffer("ab", 2);
    EXPECT_EQ(stream.Seek(-1, TSeekOrigin::soCurrent), 1);
    EXPECT_EQ(stream.Seek(3, TSeekOrigin::soEnd), 5);
    stream.WriteBuffer("z", 1);
    EXPECT_EQ(stream.Size(), 6);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(stream.Memory()), 6), std::string("ab\0\0\0z", 6));
    EXPECT_EQ(stream.Seek(-100, TSeekOrigin::soCurrent), 0);

    stream.SetPosition(5);
    stream.SetSize(2);
    EXPECT_EQ(stream.Position(), 2);
    stream.Clear();
    EXPECT_EQ(stream.Size(), 0);
    EXPECT_EQ(stream.Position(), 0);
}

TEST(MemoryStream, GrowingPastMemoryRaisesAndKeepsTheData)
{
    TMemoryStream stream;
    stream.WriteBuffer("keep", 4);
    stream.Seek(INT64_MAX / 2, TSeekOrigin::soBeginning);
    EXPECT_THROW(stream.WriteBuffer("x", 1), EStreamError);
    EXPECT_THROW(stream.SetSize(INT64_MAX), EStreamError);
    EXPECT_EQ(stream.Size(), 4);
}

TEST(Stream, CopyFrom)
{
    TMemoryStream source;
    std::string big(150000, 'q');
    big[149999] = 'z';
    source.WriteBuffer(big.data(), big.size());

    // Zero copies the whole source from its start, whatever its position.
    TMemoryStream all;
    source.SetPosition(100);
    EXPECT_EQ(all.CopyFrom(source, 0), 150000);
    all.SetPosition(0);
    EXPECT_EQ(ReadAll(all), big);

    TMemoryStream part;
    source.SetPosition(149997);
    EXPECT_EQ(part.CopyFrom(source, 3), 3);
    part.SetPosition(0);
    EXPECT_EQ(ReadAll(part), "qqz");

    EXPECT_EQ(part.CopyFrom(source, -1), 0);
    source.SetPosition(149999);
    EXPECT_THROW(part.CopyFrom(source, 2), EReadError);
}

TEST(FileStream, CreateWriteReopenAndRead)
{
    TempDir dir;
    const std::string path = (dir / "data.bin").string();
    {
        TFileStream file(path, fmCreate);
        file.WriteBuffer("hello world", 11);
        file.SetSize(5);
        EXPECT_EQ(file.Size(), 5);
    }
    TFileStream file(path, fmOpenRead | fmShareDenyWrite);
    EXPECT_EQ(file.FileName(), path);
    file.Seek(-2, TSeekOrigin::soEnd);
    EXPECT_EQ(ReadAll(file), "lo");
    EXPECT_EQ(file.Write("x", 1), 0u);
    EXPECT_THROW(file.WriteBuffer("x", 1), EWriteError);

    TMemoryStream memory;
    memory.LoadFromFile(path);
    EXPECT_EQ(ReadAll(memory), "hello");
    memory.SaveToFile((dir / "copy.bin").string());
    EXPECT_EQ(dir.ReadFile("copy.bin"), "hello");
}

TEST(FileStream, OpenFailuresCarryTheNameAndTheReason)
{
    TempDir dir;
    const std::string missing = (dir / "missing.bin").string();
    try {
        TFileStream file(missing, fmOpenRead);
        FAIL() << "opened a missing file";
    } catch (const EFOpenError& error) {
        EXPECT_EQ(error.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    const std::string inMissingFolder = (dir / "no" / "file.bin").string();
    try {
        TFileStream file(inMissingFolder, fmCreate);
        FAIL() << "created a file in a missing folder";
    } catch (const EFCreateError& error) {
        EXPECT_EQ(error.Message(), "Cannot create file \"" + inMissingFolder + "\". No such file or directory");
    }
    try {
        TFileStream folder(dir.Path().string(), fmOpenRead);
        FAIL() << "opened a folder as a file";
    } catch (const EFOpenError& error) {
        EXPECT_NE(error.Message().find("Is a directory"), std::string::npos);
    }
}

} // namespace
