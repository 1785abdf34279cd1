#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/FontObject.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::shared_ptr<FontInstance> FontOf(HDC dc)
{
    std::shared_ptr<DeviceContext> context = LookupDC(dc);
    return context ? SelectedFont(*context) : nullptr;
}

// The outline metrics followed by their four names, laid out as Win32 lays them out.
std::vector<std::byte> OutlineMetricsBlock(const FontMetrics& m)
{
    const std::string family = m.familyName;
    const std::string face = m.styleName.empty() || m.styleName == "Regular" ? family : family + " " + m.styleName;
    const std::string names[] = {family, face, m.styleName, face};
    std::size_t size = sizeof(OUTLINETEXTMETRICA);
    for (const std::string& name : names)
        size += name.size() + 1;

    OUTLINETEXTMETRICA otm{};
    otm.otmSize = static_cast<UINT>(size);
    otm.otmTextMetrics = m.text;
    otm.otmPanoseNumber.bFamilyType = 2; // Latin text
    otm.otmfsSelection = (m.text.tmItalic ? 0x01u : 0u) | (m.text.tmUnderlined ? 0x02u : 0u) |
                         (m.text.tmStruckOut ? 0x10u : 0u) | (m.text.tmWeight >= FW_BOLD ? 0x20u : 0u);
    otm.otmsCharSlopeRise = m.slopeRise;
    otm.otmsCharSlopeRun = m.slopeRun;
    otm.otmItalicAngle = m.italicAngle;
    otm.otmEMSquare = m.emSquare;
    otm.otmAscent = m.text.tmAscent - m.text.tmInternalLeading;
    otm.otmDescent = -m.text.tmDescent;
    otm.otmLineGap = static_cast<UINT>(std::max(0, m.lineGap));
    otm.otmsCapEmHeight = static_cast<UINT>(std::max(0, m.capHeight));
    otm.otmsXHeight = static_cast<UINT>(std::max(0, m.xHeight));
    otm.otmrcFontBox = m.fontBox;
    otm.otmMacAscent = m.text.tmAscent;
    otm.otmMacDescent = -m.text.tmDescent;
    otm.otmMacLineGap = otm.otmLineGap;
    otm.otmusMinimumPPEM = 9;
    const LONG em = static_cast<LONG>(m.emPixels);
    otm.otmptSubscriptSize = {em * 2 / 3, em * 2 / 3};
    otm.otmptSubscriptOffset = {0, em / 7};
    otm.otmptSuperscriptSize = {em * 2 / 3, em * 2 / 3};
    otm.otmptSuperscriptOffset = {0, em * 2 / 5};
    otm.otmsStrikeoutSize = static_cast<UINT>(m.strikeoutSize);
    otm.otmsStrikeoutPosition = m.strikeoutPosition;
    otm.otmsUnderscoreSize = m.underlineSize;
    otm.otmsUnderscorePosition = -m.underlinePosition;

    std::vector<std::byte> block(size);
    std::size_t offset = sizeof(OUTLINETEXTMETRICA);
    LPSTR* fields[] = {&otm.otmpFamilyName, &otm.otmpFaceName, &otm.otmpStyleName, &otm.otmpFullName};
    for (std::size_t i = 0; i < std::size(names); ++i) {
        *fields[i] = reinterpret_cast<LPSTR>(offset);
        std::memcpy(block.data() + offset, names[i].c_str(), names[i].size() + 1);
        offset += names[i].size() + 1;
    }
    std::memcpy(block.data(), &otm, sizeof otm);
    return block;
}

} // namespace

BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics)
{
    std::shared_ptr<FontInstance> font = FontOf(dc);
    if (!font || !metrics)
        return FALSE;
    *metrics = font->Metrics().text;
    return TRUE;
}

UINT GetOutlineTextMetricsA(HDC dc, UINT size, OUTLINETEXTMETRICA* metrics)
{
    std::shared_ptr<FontInstance> font = FontOf(dc);
    if (!font)
        return 0;
    const std::vector<std::byte> block = OutlineMetricsBlock(font->Metrics());
    if (!metrics)
        return static_cast<UINT>(block.size());
    const std::size_t copied = std::min<std::size_t>(size, block.size());
    std::memcpy(metrics, block.data(), copied);
    return static_cast<UINT>(copied);
}
