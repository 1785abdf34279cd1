#include "tests/support/windows/MessageLog.h"
#include "platform/winapi/display/headless/HeadlessDisplay.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/Clipboard.h"

#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

// ---- Global memory ----------------------------------------------------------------------------

TEST(GlobalMemoryTest, MoveableBlockCountsLocksAndKeepsItsHandleWhenResized)
{
    const HGLOBAL block = GlobalAlloc(GHND, 4);
    ASSERT_NE(block, nullptr);
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(std::memcmp(bytes, "\0\0\0\0", 4), 0);
    EXPECT_EQ(GlobalHandle(bytes), block);
    EXPECT_EQ(GlobalLock(block), bytes);
    EXPECT_TRUE(GlobalUnlock(block)); // still locked once
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    EXPECT_FALSE(GlobalUnlock(block));
    EXPECT_EQ(GetLastError(), ERROR_NOT_LOCKED);

    bytes[0] = 'x';
    ASSERT_EQ(GlobalReAlloc(block, 64, GMEM_ZEROINIT), block);
    EXPECT_EQ(GlobalSize(block), 64u);
    const auto* grown = static_cast<const unsigned char*>(GlobalLock(block));
    EXPECT_EQ(grown[0], 'x');
    EXPECT_EQ(grown[63], 0);
    (void)GlobalUnlock(block);
    EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(GlobalMemoryTest, FixedBlockIsItsOwnAddressAndMovesOnlyWhenAllowed)
{
    const HGLOBAL block = GlobalAlloc(GPTR, 8);
    EXPECT_EQ(GlobalLock(block), block);
    EXPECT_EQ(GlobalReAlloc(block, 4, 0), block);
    EXPECT_EQ(GlobalSize(block), 4u);
    EXPECT_EQ(GlobalReAlloc(block, 1 << 20, 0), nullptr);
    const HGLOBAL moved = GlobalReAlloc(block, 1 << 20, GMEM_MOVEABLE);
    ASSERT_NE(moved, nullptr);
    EXPECT_EQ(GlobalSize(moved), SIZE_T{1} << 20);
    EXPECT_EQ(GlobalFree(moved), nullptr);
}

TEST(GlobalMemoryTest, StaleHandlesFailWithoutHarm)
{
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 16);
    ASSERT_EQ(GlobalFree(block), nullptr);
    EXPECT_EQ(GlobalLock(block), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GlobalFree(block), block);
    EXPECT_EQ(GlobalReAlloc(block, 32, GMEM_MOVEABLE), nullptr);
    EXPECT_EQ(GlobalFree(nullptr), nullptr);
}

// ---- Clipboard --------------------------------------------------------------------------------

HGLOBAL Block(const void* data, std::size_t size)
{
    const HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    std::memcpy(GlobalLock(block), data, size);
    (void)GlobalUnlock(block);
    return block;
}

HGLOBAL TextBlock(const std::string& text) { return Block(text.c_str(), text.size() + 1); }

HGLOBAL WideBlock(const std::u16string& text) { return Block(text.c_str(), (text.size() + 1) * sizeof(char16_t)); }

std::string Bytes(HANDLE block)
{
    const char* data = static_cast<const char*>(GlobalLock(block));
    if (!data)
        return "<stale>";
    std::string bytes(data, GlobalSize(block));
    (void)GlobalUnlock(block);
    return bytes;
}

std::u16string Wide(HANDLE block)
{
    const std::string bytes = Bytes(block);
    std::u16string wide(bytes.size() / 2, u'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * 2);
    return wide.substr(0, wide.find(u'\0'));
}

std::string Text(HANDLE block)
{
    const std::string bytes = Bytes(block);
    return bytes.substr(0, bytes.find('\0'));
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_display = &SelectHeadlessDisplay();
        RegisterLoggedClass();
        m_first = Window();
        m_second = Window();
        MessageLog::Instance().Clear();
    }

    void TearDown() override
    {
        (void)CloseClipboard();
        (void)DestroyWindow(m_first);
        (void)DestroyWindow(m_second);
    }

    static HWND Window()
    {
        return CreateWindowExA(0, "Logged", "", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
    }

    // Puts `format`'s data on the clipboard as `owner` in a session of its own.
    static void Put(HWND owner, UINT format, HANDLE data)
    {
        ASSERT_TRUE(OpenClipboard(owner));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_EQ(SetClipboardData(format, data), data);
        ASSERT_TRUE(CloseClipboard());
    }

    static int DestroyClipboardCount(HWND hwnd)
    {
        int count = 0;
        for (const LoggedMessage& entry : MessageLog::Instance().Entries())
            count += entry.hwnd == hwnd && entry.message == WM_DESTROYCLIPBOARD;
        return count;
    }

    std::optional<std::string> Offered(const std::string& format) { return m_display->ClipboardData(format); }

    HeadlessDisplay* m_display = nullptr;
    HWND m_first = nullptr;
    HWND m_second = nullptr;
};

TEST_F(ClipboardTest, TextIsOfferedAsUtf8AndReadBackInEveryTextFormat)
{
    const std::string text = "Gr\xC3\xBC\xC3\x9F\x65 \xE2\x82\xAC \xF0\x9F\x98\x80"; // "Grüße € 😀"
    Put(m_first, CF_TEXT, TextBlock(text));
    EXPECT_EQ(Offered(CLIPBOARD_TEXT_FORMAT), text);

    ASSERT_TRUE(OpenClipboard(m_first));
    EXPECT_EQ(Text(GetClipboardData(CF_TEXT)), text);
    EXPECT_EQ(Text(GetClipboardData(CF_OEMTEXT)), text);
    EXPECT_EQ(Wide(GetClipboardData(CF_UNICODETEXT)), u"Gr\u00FC\u00DFe \u20AC \U0001F600");
    EXPECT_EQ(EnumClipboardFormats(0), CF_TEXT); // the real format first, then the converted ones
    EXPECT_EQ(CountClipboardFormats(), 3);
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, WideTextIsConvertedAndUnterminatedTextStopsAtTheBlockEnd)
{
    Put(m_first, CF_UNICODETEXT, WideBlock(u"\u00E9t\u00E9"));
    EXPECT_EQ(Offered(CLIPBOARD_TEXT_FORMAT), "\xC3\xA9t\xC3\xA9");

    ASSERT_TRUE(OpenClipboard(m_first));
    EXPECT_EQ(Text(GetClipboardData(CF_TEXT)), "\xC3\xA9t\xC3\xA9");
    ASSERT_TRUE(EmptyClipboard());
    ASSERT_NE(SetClipboardData(CF_TEXT, Block("abc", 3)), nullptr);
    EXPECT_EQ(Wide(GetClipboardData(CF_UNICODETEXT)), u"abc");
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(Offered(CLIPBOARD_TEXT_FORMAT), "abc");
}

TEST_F(ClipboardTest, OpeningIsExclusiveAndEveryCallChecksIt)
{
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    EXPECT_EQ(EnumClipboardFormats(0), 0u);
    EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);

    ASSERT_TRUE(OpenClipboard(m_first));
    EXPECT_TRUE(OpenClipboard(m_first)); // the holder may ask again
    EXPECT_EQ(GetOpenClipboardWindow(), m_first);
    EXPECT_FALSE(OpenClipboard(m_second));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    BOOL otherThread = TRUE;
    std::thread([&] { otherThread = OpenClipboard(m_first) || EmptyClipboard(); }).join();
    EXPECT_FALSE(otherThread);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);

    EXPECT_FALSE(OpenClipboard(reinterpret_cast<HWND>(0x7777)));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
}

TEST_F(ClipboardTest, SettingDataNeedsAnOwnerAndAValidHandle)
{
    const HGLOBAL text = TextBlock("kept");
    // Opened without a window, EmptyClipboard leaves no owner to hand data to.
    ASSERT_TRUE(OpenClipboard(nullptr));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, text), nullptr);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(Text(text), "kept"); // a failed call leaves the block with its caller

    ASSERT_TRUE(OpenClipboard(m_first));
    ASSERT_TRUE(EmptyClipboard());
    const HGLOBAL freed = TextBlock("gone");
    (void)GlobalFree(freed);
    EXPECT_EQ(SetClipboardData(CF_TEXT, freed), nullptr);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetClipboardData(CF_BITMAP, text), nullptr); // not a bitmap
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    ASSERT_TRUE(CloseClipboard());
    (void)GlobalFree(text);
}

TEST_F(ClipboardTest, EmptyingFreesTheDataAndTellsThePreviousOwner)
{
    Put(m_first, CF_TEXT, TextBlock("earlier"));
    const HGLOBAL first = TextBlock("first");
    Put(m_first, CF_TEXT, first);
    EXPECT_EQ(DestroyClipboardCount(m_first), 1); // the owner's own data goes too
    EXPECT_EQ(GetClipboardOwner(), m_first);

    ASSERT_TRUE(OpenClipboard(m_second));
    const HANDLE converted = GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(converted, nullptr);
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(DestroyClipboardCount(m_first), 2);
    EXPECT_EQ(GetClipboardOwner(), m_second);
    EXPECT_EQ(GlobalLock(first), nullptr);     // the clipboard freed the block
    EXPECT_EQ(GlobalLock(converted), nullptr); // and what it made of it
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));

    // A second block of the same format replaces (and frees) the first.
    const HGLOBAL a = TextBlock("a");
    const HGLOBAL b = TextBlock("b");
    ASSERT_EQ(SetClipboardData(CF_TEXT, a), a);
    ASSERT_EQ(SetClipboardData(CF_TEXT, b), b);
    EXPECT_EQ(GlobalLock(a), nullptr);
    EXPECT_EQ(Text(GetClipboardData(CF_TEXT)), "b");
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(Text(b), "b"); // the clipboard's data outlives the session
    EXPECT_EQ(DestroyClipboardCount(m_second), 0);
}

TEST_F(ClipboardTest, RegisteredFormatsHaveStableIdsAndTravelByName)
{
    const UINT id = RegisterClipboardFormatA("VCLDBIF");
    EXPECT_GE(id, CF_REGISTEREDFIRST);
    EXPECT_EQ(RegisterClipboardFormatA("vcldbif"), id);
    const UINT csv = RegisterClipboardFormatA("Csv");
    EXPECT_NE(csv, id);
    EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
    EXPECT_EQ(RegisterClipboardFormatA(nullptr), 0u);

    char name[5];
    EXPECT_EQ(GetClipboardFormatNameA(id, name, sizeof name), 4);
    EXPECT_STREQ(name, "VCLD");
    EXPECT_EQ(GetClipboardFormatNameA(CF_TEXT, name, sizeof name), 0);

    const std::string binary("\x01\x00\xFF\x00", 4);
    Put(m_first, id, Block(binary.data(), binary.size()));
    EXPECT_EQ(Offered("VCLDBIF"), binary);
    EXPECT_TRUE(IsClipboardFormatAvailable(id));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(csv));
}

TEST_F(ClipboardTest, ForeignDataIsReadBackAndOurOwnerIsTold)
{
    Put(m_first, CF_TEXT, TextBlock("ours"));
    m_display->InjectForeignClipboard({{CLIPBOARD_TEXT_FORMAT, "th\xC3\xA9irs"}, {"Rich Text Format", "{\\rtf1}"}});

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_EQ(DestroyClipboardCount(m_first), 1);
    EXPECT_EQ(GetClipboardOwner(), nullptr);
    const UINT rtf = RegisterClipboardFormatA("Rich Text Format");
    EXPECT_TRUE(IsClipboardFormatAvailable(rtf));

    ASSERT_TRUE(OpenClipboard(m_second));
    EXPECT_EQ(Text(GetClipboardData(CF_TEXT)), "th\xC3\xA9irs");
    const HANDLE wide = GetClipboardData(CF_UNICODETEXT);
    EXPECT_EQ(Wide(wide), u"th\u00E9irs");
    EXPECT_EQ(Bytes(GetClipboardData(rtf)), "{\\rtf1}");
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    EXPECT_EQ(SetClipboardData(CF_TEXT, TextBlock("x")), nullptr) << "another program's contents are not added to";
    ASSERT_TRUE(CloseClipboard());
    EXPECT_EQ(GlobalLock(wide), nullptr); // handles read from another program last one session
    EXPECT_EQ(Offered(CLIPBOARD_TEXT_FORMAT), "th\xC3\xA9irs"); // reading offers nothing
}

// A 2x2 bitmap: red, green on top; blue, white below (the DIB keeps the bottom row first).
HBITMAP FourColourBitmap()
{
    const std::uint32_t pixels[] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF};
    return CreateBitmap(2, 2, 1, 32, pixels);
}

std::uint32_t DibPixel(const std::string& dib, int index)
{
    std::uint32_t pixel = 0;
    std::memcpy(&pixel, dib.data() + sizeof(BITMAPINFOHEADER) + 4 * index, 4);
    return pixel & 0xFFFFFF;
}

TEST_F(ClipboardTest, BitmapBecomesAPackedDibAndABmpFile)
{
    const HBITMAP bitmap = FourColourBitmap();
    Put(m_first, CF_BITMAP, bitmap);

    ASSERT_TRUE(OpenClipboard(m_first));
    EXPECT_EQ(GetClipboardData(CF_BITMAP), bitmap);
    const std::string dib = Bytes(GetClipboardData(CF_DIB));
    ASSERT_EQ(dib.size(), sizeof(BITMAPINFOHEADER) + 16);
    BITMAPINFOHEADER header{};
    std::memcpy(&header, dib.data(), sizeof header);
    EXPECT_EQ(header.biWidth, 2);
    EXPECT_EQ(header.biHeight, 2);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(DibPixel(dib, 0), 0x0000FFu); // blue
    EXPECT_EQ(DibPixel(dib, 1), 0xFFFFFFu);
    EXPECT_EQ(DibPixel(dib, 2), 0xFF0000u); // red
    ASSERT_TRUE(CloseClipboard());

    const auto bmp = Offered(CLIPBOARD_BMP_FORMAT);
    ASSERT_TRUE(bmp);
    EXPECT_EQ(bmp->substr(0, 2), "BM");
    EXPECT_EQ(bmp->substr(14), dib);

    ASSERT_TRUE(OpenClipboard(m_first));
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetObjectType(bitmap), 0u); // the clipboard deleted the bitmap
    ASSERT_TRUE(CloseClipboard());
}

TEST_F(ClipboardTest, ForeignBmpIsReadAsDibAndBitmapAndBrokenOnesAreRefused)
{
    Put(m_first, CF_BITMAP, FourColourBitmap());
    const std::string bmp = *Offered(CLIPBOARD_BMP_FORMAT);
    m_display->InjectForeignClipboard({{CLIPBOARD_BMP_FORMAT, bmp}});

    ASSERT_TRUE(OpenClipboard(m_second));
    EXPECT_EQ(Bytes(GetClipboardData(CF_DIB)), bmp.substr(14));
    const auto bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    ASSERT_NE(bitmap, nullptr);
    const HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, bitmap);
    EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 255, 255));
    (void)SelectObject(dc, old);
    (void)DeleteDC(dc);
    ASSERT_TRUE(CloseClipboard());

    std::string huge = bmp;
    huge[14 + 4] = '\x7F'; // wider than the bits it carries
    for (const std::string& broken : {bmp.substr(0, bmp.size() - 1), huge, std::string("BM"), std::string(60, 'x')}) {
        m_display->InjectForeignClipboard({{CLIPBOARD_BMP_FORMAT, broken}});
        ASSERT_TRUE(OpenClipboard(m_second));
        EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
        EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
        ASSERT_TRUE(CloseClipboard());
    }
}

} // namespace
