#include "modem/store/COMList.h"

#include "platform/classlib/core/StringLists.h"
#include "tests/support/devices/FakeDevices.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::string> Items(const TStrings& strings)
{
    std::vector<std::string> items;
    for (int i = 0; i < strings.Count(); ++i)
        items.push_back(strings.Strings(i));
    return items;
}

using Names = std::vector<std::string>;

TEST(COMListTest, ModemPortsComeInNumberOrderWithTheirDeviceNames)
{
    FakeDevices devices;
    devices.WriteOverlay("[usb]\n"
                       "COM12=/dev/null 05c6:3197:00 Modem A\n"
                       "COM4=/dev/null 05c6:3197:00 Modem B\n");
    TStringList ports, names;
    GetPortList(ports, names);
    EXPECT_EQ(Items(ports), (Names{"COM4", "COM12"}));
    EXPECT_EQ(Items(names), (Names{"Modem B (COM4)", "Modem A (COM12)"}));
    EXPECT_EQ(FindNameByCom("COM12"), "Modem A (COM12)");
    EXPECT_EQ(FindNameByCom("com12"), "");
}

TEST(COMListTest, OnlyTheModemsAtInterfaceOfTheQualcommDriverCounts)
{
    FakeDevices devices;
    devices.AddModem();  // AT port ttyUSB0 (COM3), data port ttyUSB1 (COM4)
    devices.WriteOverlay("[usb]\n"
                       "COM20=/dev/null 1234:5678:00 Another modem\n"
                       "COM21=/dev/null 05c6:9999:00 Another Qualcomm device\n"
                       "[HKEY_LOCAL_MACHINE\\hardware\\devicemap\\serialcomm]\n"
                       "\\Device\\qcusbser9=COM9\n"
                       "\\Device\\qcusbse10=COM10\n"
                       "\\Device\\qcusbser11=PORT11\n");
    TStringList ports, names;
    ports.Add("stale");
    names.Add("stale");
    GetPortList(ports, names);
    EXPECT_EQ(Items(ports), (Names{"COM3"}));
    EXPECT_EQ(Items(names), (Names{"Qualcomm CDMA Technologies MSM (COM3)"}));
}

TEST(COMListTest, NoModemGivesEmptyLists)
{
    FakeDevices devices;
    TStringList ports, names;
    ports.Add("COM3");
    names.Add("stale");
    GetPortList(ports, names);
    EXPECT_EQ(ports.Count(), 0);
    EXPECT_EQ(names.Count(), 0);
    EXPECT_EQ(FindNameByCom("COM3"), "");
}

} // namespace
