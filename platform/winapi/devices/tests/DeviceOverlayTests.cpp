#include "platform/winapi/devices/DeviceOverlay.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(DeviceOverlay, ReadsSectionsInFileOrder)
{
    const auto overlay = ParseDeviceOverlay("# comment\r\n"
                                            "[Ports]\r\n"
                                            "  com7 = /dev/pts/3  \r\n"
                                            "COM7=/dev/pts/4\n"
                                            "[usb]\n"
                                            "COM8=/dev/pts/5 05c6:3197:01\n"
                                            "[HKEY_LOCAL_MACHINE\\a\\b\\]\n"
                                            "Name = a=b\n"
                                            "[-HKCU\\c]\n");
    EXPECT_TRUE(overlay.errors.empty()) << overlay.errors.front();
    ASSERT_EQ(overlay.ports.size(), 1u);
    EXPECT_EQ(overlay.ports[0], (std::pair<std::string, std::string>{"COM7", "/dev/pts/4"}));
    ASSERT_EQ(overlay.usbPorts.size(), 1u);
    EXPECT_EQ(overlay.usbPorts[0].interfaceNumber, 1);
    EXPECT_EQ(overlay.usbPorts[0].description, "");
    EXPECT_EQ(overlay.usbPorts[0].devicePath, "/dev/pts/5");
    ASSERT_EQ(overlay.keys.size(), 2u);
    EXPECT_EQ(overlay.keys[0].root, RegistryRoot::LocalMachine);
    EXPECT_EQ(overlay.keys[0].values, (std::vector<std::pair<std::string, std::string>>{{"Name", "a=b"}}));
    EXPECT_EQ(overlay.keys[1].root, RegistryRoot::CurrentUser);
    EXPECT_TRUE(overlay.keys[1].removeKey);
}

TEST(DeviceOverlay, MalformedLinesAreSkippedAndReported)
{
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"COM1=/dev/x\n", "line 1: entry outside any section"},
        {"[ports]\nCOM0=/dev/x\n", "line 2: port name is not COM1 to COM255"},
        {"[ports]\nCOM2=dev/x\n", "line 2: device path is not absolute"},
        {"[ports]\njust text\n", "line 2: expected name=data"},
        {"[usb]\nCOM3=/dev/x 5c6:3197:00\n", "line 2: expected <device path> <vendor>:<product>:<interface> in hex, as 05c6:3197:00"},
        {"[HKEY_NOWHERE\\a]\n", "line 1: section is neither [ports] nor a key under a registry root"},
        {"[HKLM\\a\\\\b]\n", "line 1: empty key name in the path"},
        {"[HKLM\\" + std::string(MaxKeyNameLength + 1, 'k') + "]\n", "line 1: key name longer than 255 characters"},
        {"[-HKLM]\n", "line 1: a registry root cannot be removed"},
        {"[-HKLM\\a]\nx=y\n", "line 2: a removed key takes no values"},
        {"[HKLM\\a]\n=y\n", "line 2: empty value name"},
        {"[HKLM\\a\n", "line 1: section header without closing ']'"},
        {"[HKLM\\a]\nx=" + std::string(MaxOverlayLineLength, 'y') + "\n", "line 2: line longer than 4096 characters"},
    };
    for (const auto& test : cases) {
        const auto overlay = ParseDeviceOverlay(test.text + "[ports]\nCOM5=/dev/ok\n");
        ASSERT_EQ(overlay.errors.size(), 1u) << test.text;
        EXPECT_EQ(overlay.errors[0], test.error);
        // The lines after a bad one still count.
        ASSERT_EQ(overlay.ports.size(), 1u) << test.text;
        EXPECT_EQ(overlay.ports[0].first, "COM5");
    }
}

TEST(DeviceOverlay, ValuesUnderABadHeaderAreDropped)
{
    const auto overlay = ParseDeviceOverlay("[HKEY_NOWHERE\\a]\nx=y\n");
    EXPECT_EQ(overlay.errors.size(), 1u);
    EXPECT_TRUE(overlay.keys.empty());
}

TEST(DeviceOverlay, OversizedFileIsRefusedWhole)
{
    const auto overlay = ParseDeviceOverlay("[ports]\nCOM5=/dev/x\n" + std::string(MaxOverlayFileSize, '\n'));
    EXPECT_TRUE(overlay.ports.empty());
    EXPECT_EQ(overlay.errors, std::vector<std::string>{"file larger than 1048576 bytes, ignored"});
}

TEST(DeviceOverlay, MissingFileIsNoOverlayAndUnreadableOneIsReported)
{
    const TempDir dir;
    EXPECT_TRUE(LoadDeviceOverlay((dir / "missing.ini").string()).errors.empty());
    EXPECT_EQ(LoadDeviceOverlay(dir.Path().string()).errors, std::vector<std::string>{"cannot be read"});
}

} // namespace
