#include "skin/SkinReader.h"

#include "tools/skinpack/lib/SkinPackageWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void AppendU32(Bytes& bytes, std::uint32_t value)
{
    bytes.resize(bytes.size() + 4);
    PutU32(bytes, bytes.size() - 4, value);
}

Bytes Of(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

std::string Text(TMemoryStream& stream)
{
    return std::string(reinterpret_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

// A version-40000 container written field by field, for the layouts the packer never makes.
Bytes RawContainer(const std::string& names, const std::vector<std::uint32_t>& sizes, const std::string& data)
{
    Bytes container;
    AppendU32(container, 40000);
    AppendU32(container, static_cast<std::uint32_t>(names.size()));
    container.resize(96, 0);
    container.insert(container.end(), names.begin(), names.end());
    for (std::uint32_t size : sizes)
        AppendU32(container, size);
    container.insert(container.end(), data.begin(), data.end());
    return container;
}

class SkinReaderTest : public testing::Test {
protected:
    [[nodiscard]] bool Load(const Bytes& package)
    {
        m_packed.Clear();
        m_packed.WriteBuffer(package.data(), package.size());
        return m_reader.LoadFromStream(m_packed);
    }

    [[nodiscard]] bool LoadContainer(const Bytes& container) { return Load(PackSkinContainer(container)); }

    std::string Entry(const std::string& name)
    {
        TMemoryStream target;
        target.WriteBuffer("stale", 5);
        m_reader.GetEntry(name, target);
        EXPECT_EQ(target.Position(), 0);
        return Text(target);
    }

    TMemoryStream m_packed;
    TSkinReader m_reader;
};

const std::vector<TSkinPackageEntry> SmallSkin = {
    {"Skin.ini", Of("[Title]\r\nHeight=24\r\n")},
    {"Buttons.bmp", Of("BM buttons")},
    {"Empty.bmp", {}},
    {"FrameTop.bmp", Of("BM frame top")},
};

TEST_F(SkinReaderTest, FindsEveryEntryByNameInAnyCaseForEachVersion)
{
    for (auto version : {TSkinPackageVersion::v20000, TSkinPackageVersion::v30000, TSkinPackageVersion::v40000}) {
        ASSERT_TRUE(LoadContainer(BuildSkinContainer(SmallSkin, version)));
        EXPECT_EQ(m_reader.Version(), static_cast<std::uint32_t>(version));
        EXPECT_EQ(m_reader.Names(), (std::vector<std::string>{"skin.ini", "buttons.bmp", "empty.bmp", "frametop.bmp"}));
        EXPECT_EQ(Entry("BUTTONS.BMP"), "BM buttons");
        EXPECT_EQ(Entry("frametop.bmp"), "BM frame top");
        EXPECT_EQ(Entry("Skin.ini"), "[Title]\r\nHeight=24\r\n");
        EXPECT_EQ(Entry("Empty.bmp"), "");
        EXPECT_EQ(Entry("Missing.bmp"), "");
    }
}

TEST_F(SkinReaderTest, FindEntryMatchesAFragmentOfTheLowerCaseNames)
{
    ASSERT_TRUE(LoadContainer(BuildSkinContainer(SmallSkin, TSkinPackageVersion::v40000)));
    TMemoryStream target;
    std::string name = "unchanged";
    EXPECT_FALSE(m_reader.FindEntry("BMP", target, name));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(target.Size(), 0);

    ASSERT_TRUE(m_reader.FindEntry(".ini", target, name));
    EXPECT_EQ(name, "skin.ini");
    EXPECT_EQ(Text(target), "[Title]\r\nHeight=24\r\n");
}

TEST_F(SkinReaderTest, TheFirstOfTwoEqualNamesAnswers)
{
    ASSERT_TRUE(LoadContainer(RawContainer("a.bmp\r\nA.BMP\r\n", {3, 4}, "onetwo!")));
    EXPECT_EQ(Entry("a.bmp"), "one");
}

TEST_F(SkinReaderTest, NameLinesEndAtCrLfCrOrLf)
{
    struct Case {
        std::string names;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"a.ini\r\nb.bmp\r\n", {"a.ini", "b.bmp"}},
        {"a.ini\rb.bmp\nc.bmp", {"a.ini", "b.bmp", "c.bmp"}},
        {"a.ini\n\r\nb.bmp", {"a.ini", "", "b.bmp"}},
        {"", {}},
    };
    for (const Case& test : cases) {
        const std::vector<std::uint32_t> sizes(test.expected.size(), 0);
        ASSERT_TRUE(LoadContainer(RawContainer(test.names, sizes, ""))) << test.names;
        EXPECT_EQ(m_reader.Names(), test.expected) << test.names;
    }
}

TEST_F(SkinReaderTest, HoldsAnyNumberOfEntries)
{
    std::vector<TSkinPackageEntry> entries;
    for (int i = 0; i < 1500; ++i)
        entries.push_back({"e" + std::to_string(i) + ".bmp", Of(std::to_string(i))});
    ASSERT_TRUE(LoadContainer(BuildSkinContainer(entries, TSkinPackageVersion::v40000)));
    EXPECT_EQ(m_reader.Count(), 1500);
    EXPECT_EQ(Entry("e1499.bmp"), "1499");
    EXPECT_EQ(Entry("e1001.bmp"), "1001");
}

TEST_F(SkinReaderTest, AnEntryRunningPastTheDataIsMissing)
{
    // In 32-bit sums the huge size would wrap and place "c" over the first entry's bytes.
    ASSERT_TRUE(LoadContainer(RawContainer("a\r\nb\r\nc\r\nd\r\n", {3, 0xFFFFFFFFu, 1, 1}, "abcde")));
    EXPECT_EQ(Entry("a"), "abc");
    EXPECT_EQ(Entry("b"), "");
    EXPECT_EQ(Entry("c"), "");

    ASSERT_TRUE(LoadContainer(RawContainer("a\r\nb\r\n", {3, 3}, "abcde")));
    EXPECT_EQ(Entry("a"), "abc");
    EXPECT_EQ(Entry("b"), "");
}

TEST_F(SkinReaderTest, AnUnknownVersionIsReportedAndRefused)
{
    std::vector<std::string> messages;
    m_reader.SetOnVersionMessage([&](const std::string& text) { messages.push_back(text); });
    Bytes container = BuildSkinContainer(SmallSkin, TSkinPackageVersion::v40000);
    PutU32(container, 0, 50000);
    EXPECT_FALSE(LoadContainer(container));
    EXPECT_EQ(messages, std::vector<std::string>{TSkinReader::VersionMessage});
    EXPECT_EQ(TSkinReader::VersionMessage, "此文件版本不同\r请升级新版本 !");
}

TEST_F(SkinReaderTest, RefusesMalformedPackagesAndKeepsNothingOfAnEarlierLoad)
{
    Bytes overlongNames = RawContainer("a.ini\r\n", {0}, "");
    PutU32(overlongNames, 4, 0xFFFFFFF0u);
    const Bytes unpackable = RawContainer("a.ini\r\nb.bmp\r\n", {0, 0}, "");
    const Bytes shortSizeTable(unpackable.begin(), unpackable.end() - 1);
    const Bytes shortHeader = Of("0123456789");

    struct Case {
        const char* what;
        Bytes package;
    };
    Bytes tooLarge(4);
    PutU32(tooLarge, 0, TSkinReader::MaxUnpackedSize + 1);
    const Case cases[] = {
        {"no room for the size", {1, 2, 3}},
        {"more than the largest unpacked size", tooLarge},
        {"a container shorter than its header", PackSkinContainer(shortHeader)},
        {"a name list past the end", PackSkinContainer(overlongNames)},
        {"a size table past the end", PackSkinContainer(shortSizeTable)},
        {"nothing at all", {}},
    };
    for (const Case& test : cases) {
        ASSERT_TRUE(LoadContainer(BuildSkinContainer(SmallSkin, TSkinPackageVersion::v40000)));
        EXPECT_FALSE(Load(test.package)) << test.what;
        EXPECT_EQ(m_reader.Count(), 0) << test.what;
        EXPECT_EQ(Entry("buttons.bmp"), "") << test.what;
    }
}

TEST_F(SkinReaderTest, AnOversizedPackageIsRefusedBeforeAnythingIsDecoded)
{
    Bytes package = PackSkinContainer(BuildSkinContainer(SmallSkin, TSkinPackageVersion::v40000));
    PutU32(package, 0, 0x7FFFFFFF);
    EXPECT_FALSE(Load(package));
    EXPECT_EQ(m_packed.Position(), 4);
}

TEST_F(SkinReaderTest, ATruncatedPackageStillUnpacksToItsStatedSize)
{
    std::string bitmap;
    for (int i = 0; bitmap.size() < 100000; ++i)
        bitmap += std::to_string(i * 7919 % 10007) + ",";
    const std::vector<TSkinPackageEntry> entries = {{"skin.ini", Of("[Title]\r\nHeight=24\r\n")},
                                                    {"big.bmp", Of(bitmap)}};
    const Bytes container = BuildSkinContainer(entries, TSkinPackageVersion::v40000);
    const Bytes package = PackSkinContainer(container);

    ASSERT_TRUE(Load(Bytes(package.begin(), package.begin() + static_cast<std::ptrdiff_t>(package.size() / 2))));
    EXPECT_EQ(m_reader.DataSize(), static_cast<std::int64_t>(container.size() - 96 - 19 - 8));
    EXPECT_EQ(Entry("skin.ini"), "[Title]\r\nHeight=24\r\n");
    EXPECT_EQ(Entry("big.bmp").size(), bitmap.size());
}

} // namespace
