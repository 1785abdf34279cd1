#include "platform/winapi/ras/Phonebook.h"
#include "platform/winapi/ras/tests/DialFixture.h"

#include <filesystem>
#include <string>
#include <vector>

namespace {

// Lists the entries as the dial-up component does: one record first, then as many as reported.
std::vector<std::string> EnumerateEntries(const char* phonebook = nullptr)
{
    std::vector<RASENTRYNAMEA> records(1);
    records[0].dwSize = sizeof(RASENTRYNAMEA);
    DWORD bytes = sizeof(RASENTRYNAMEA);
    DWORD count = 0;
    DWORD result = RasEnumEntriesA(nullptr, phonebook, records.data(), &bytes, &count);
    if (result == ERROR_BUFFER_TOO_SMALL) {
        EXPECT_EQ(bytes, count * sizeof(RASENTRYNAMEA));
        records.resize(count);
        records[0].dwSize = sizeof(RASENTRYNAMEA);
        result = RasEnumEntriesA(nullptr, phonebook, records.data(), &bytes, &count);
    }
    EXPECT_EQ(result, 0u);
    std::vector<std::string> names;
    for (DWORD i = 0; i < count; ++i)
        names.emplace_back(records[i].szEntryName);
    return names;
}

using EntryTest = DialTest;

TEST_F(EntryTest, ManySectionsAreListedInFileOrderThroughGrowAndRetry)
{
    std::string text;
    std::vector<std::string> expected;
    for (int i = 0; i < 40; ++i) {
        expected.push_back("Entry " + std::to_string(i));
        text += "[" + expected.back() + "]\r\nPort=COM" + std::to_string(i % 9 + 3) + "\r\n\r\n";
    }
    text += "[entry 3]\nPort=COM9\n";                            // the same name again
    text += "[" + std::string(RAS_MaxEntryName + 1, 'x') + "]\n"; // too long to list
    WritePhonebook(text);

    RASENTRYNAMEA one{};
    one.dwSize = sizeof one;
    DWORD bytes = sizeof one;
    DWORD count = 0;
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count), ERROR_BUFFER_TOO_SMALL);
    EXPECT_EQ(count, 40u);
    EXPECT_EQ(bytes, 40 * sizeof(RASENTRYNAMEA));
    EXPECT_EQ(EnumerateEntries(), expected);
}

TEST_F(EntryTest, AMissingOrEmptyPhonebookHasNoEntries)
{
    std::filesystem::remove(PhonebookPath());
    EXPECT_TRUE(EnumerateEntries().empty());
    WritePhonebook("; nothing but a comment\r\nkey=value before any section\r\n");
    EXPECT_TRUE(EnumerateEntries().empty());
}

TEST_F(EntryTest, TheUsersAndTheAllUsersPhonebooksAreMerged)
{
    m_dir.WriteFile("root/var/lib/usbmodem/Microsoft/Network/Connections/Pbk/rasphone.pbk",
                    "[Shared]\r\nPort=COM3\r\n[usb modem]\r\nPort=COM4\r\n");
    EXPECT_EQ(EnumerateEntries(), (std::vector<std::string>{"USB MODEM", "Shared"}));
}

TEST_F(EntryTest, AGivenPhonebookIsReadInsteadOfTheDefaults)
{
    m_dir.WriteFile("books/other.pbk", "[Only]\r\n");
    const auto windowsPath = (m_dir / "books").string() + "\\other.pbk";
    EXPECT_EQ(EnumerateEntries(windowsPath.c_str()), std::vector<std::string>{"Only"});
}

TEST_F(EntryTest, BadArgumentsAreRefused)
{
    RASENTRYNAMEA one{};
    one.dwSize = 260;
    DWORD bytes = sizeof one;
    DWORD count = 0;
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, &one, &bytes, &count), ERROR_INVALID_SIZE);
    one.dwSize = sizeof one;
    EXPECT_EQ(RasEnumEntriesA("reserved", nullptr, &one, &bytes, &count), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RasEnumEntriesA(nullptr, nullptr, &one, nullptr, &count), ERROR_INVALID_PARAMETER);
}

TEST(Phonebook, KeysAndSectionsFollowTheProfileRules)
{
    const auto book = Phonebook::Parse("[USB MODEM]\r\n"
                                       "MEDIA=serial\r\n"
                                       "Port = COM5 \r\n"
                                       "Device=ZTE Modem\r\n"
                                       "\r\n"
                                       "DEVICE=modem\r\n"
                                       "[Second]\n"
                                       "Port=/dev/ttyUSB1\n"
                                       "[usb modem]\n"
                                       "Port=COM9\n");
    ASSERT_EQ(book.Entries().size(), 2u);
    const auto* entry = book.Find("usb Modem");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Value("port"), "COM5");
    EXPECT_EQ(entry->Value("Device"), "ZTE Modem");
    EXPECT_EQ(entry->Value("PhoneNumber"), "");
    EXPECT_EQ(book.Find("Second")->Value("Port"), "/dev/ttyUSB1");
    EXPECT_EQ(book.Find("Third"), nullptr);
}

} // namespace
