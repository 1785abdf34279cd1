#include "modem/store/COMList.h"

#include "modem/product/ModemProduct.h"
#include "platform/classlib/core/Registry.h"
#include "platform/classlib/core/StringLists.h"
#include "platform/rtl/Conversions.h"
#include "platform/rtl/Strings.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <set>
#include <string_view>

namespace {

constexpr std::string_view SerialCommKey = "\\hardware\\devicemap\\serialcomm";

// The kernel names look like "\Device\" followed by the driver's port name, so the driver's name
// starts at the ninth character.
bool IsQualcommPortName(const std::string& valueName)
{
    return Copy(LowerCase(valueName), 9, 5) == "qcusb";
}

// The number of "COM<digits>" (any case, surrounding blanks allowed); nothing for other data.
std::optional<int> ComNumber(const std::string& data)
{
    const std::string name = UpperCase(Trim(data));
    if (name.rfind("COM", 0) != 0)
        return std::nullopt;
    const std::string digits = name.substr(3);
    if (digits.empty() || digits.size() > 3
        || !std::all_of(digits.begin(), digits.end(), [](unsigned char c) { return std::isdigit(c) != 0; }))
        return std::nullopt;
    return StrToInt(digits);
}

// The modem ports of the serial device map, by number (a port listed twice counts once).
std::set<int> QualcommPortNumbers()
{
    std::set<int> numbers;
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    if (!registry.OpenKeyReadOnly(std::string(SerialCommKey)))
        return numbers;
    TStringList valueNames;
    registry.GetValueNames(valueNames);
    for (int i = 0; i < valueNames.Count(); ++i) {
        const std::string name = valueNames.Strings(i);
        if (!IsQualcommPortName(name))
            continue;
        if (const auto number = ComNumber(registry.ReadString(name)))
            numbers.insert(*number);
    }
    return numbers;
}

} // namespace

void GetPortList(TStrings& ports, TStrings& names)
{
    const std::set<int> numbers = QualcommPortNumbers();
    ports.Clear();
    names.Clear();
    for (const int number : numbers) {
        const std::string port = "COM" + IntToStr(number);
        const std::string name = FindNameByCom(port);
        if (name.empty())
            continue;
        ports.Add(port);
        names.Add(name);
    }
}

std::string FindNameByCom(const std::string& port)
{
    TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_LOCAL_MACHINE);
    const std::string interfaceKey = "\\" + std::string(ModemAtInterfaceKey);
    if (!registry.OpenKeyReadOnly(interfaceKey))
        return {};
    TStringList instances;
    registry.GetKeyNames(instances);
    for (int i = 0; i < instances.Count(); ++i) {
        const std::string instanceKey = interfaceKey + instances.Strings(i);
        if (!registry.OpenKeyReadOnly(instanceKey + "\\Device Parameters") || registry.ReadString("PortName") != port)
            continue;
        return registry.OpenKeyReadOnly(instanceKey) ? registry.ReadString("FriendlyName") : std::string();
    }
    return {};
}
