#include "platform/winapi/gdi/FontObject.h"

#include "platform/winapi/gdi/DeviceContext.h"
#include "platform/winapi/gdi/Font.h"
#include "platform/winapi/gdi/FontEngine.h"
#include "platform/winapi/kernel/WinError.h"

#include <algorithm>
#include <cstring>

namespace detail = winapi_gdi::detail;

namespace {

LOGFONTA MakeLogFont(int height, int weight, BYTE pitchAndFamily, const char* faceName)
{
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfCharSet = ANSI_CHARSET;
    logFont.lfPitchAndFamily = pitchAndFamily;
    std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return logFont;
}

} // namespace

int FontObject::Describe(int size, void* buffer) const
{
    if (!buffer)
        return sizeof(LOGFONTA);
    const int copied = std::clamp<int>(size, 0, sizeof(LOGFONTA));
    std::memcpy(buffer, &m_logFont, static_cast<std::size_t>(copied));
    return copied;
}

std::shared_ptr<FontInstance> FontObject::Instance() const
{
    std::call_once(m_realised, [this] { m_instance = RealizeFont(m_logFont); });
    return m_instance;
}

bool StockLogFont(int stockIndex, LOGFONTA& logFont)
{
    switch (stockIndex) {
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
        logFont = MakeLogFont(16, FW_BOLD, VARIABLE_PITCH | FF_SWISS, "System");
        return true;
    case DEFAULT_GUI_FONT:
        logFont = MakeLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Shell Dlg");
        return true;
    case ANSI_VAR_FONT:
        logFont = MakeLogFont(-11, FW_NORMAL, VARIABLE_PITCH | FF_SWISS, "MS Sans Serif");
        return true;
    case ANSI_FIXED_FONT:
        logFont = MakeLogFont(-13, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Courier New");
        return true;
    case OEM_FIXED_FONT:
        logFont = MakeLogFont(12, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Terminal");
        return true;
    case SYSTEM_FIXED_FONT:
        logFont = MakeLogFont(15, FW_NORMAL, FIXED_PITCH | FF_MODERN, "Fixedsys");
        return true;
    default:
        return false;
    }
}

std::shared_ptr<FontInstance> SelectedFont(const DeviceContext& dc)
{
    if (const auto* font = dc.state.font.As<FontObject>())
        return font->Instance();
    LOGFONTA system{};
    (void)StockLogFont(SYSTEM_FONT, system);
    return RealizeFont(system);
}

namespace winapi_gdi::detail {

std::shared_ptr<GdiHandleObject> CreateStockFont(int stockIndex)
{
    LOGFONTA logFont{};
    if (!StockLogFont(stockIndex, logFont))
        return nullptr;
    return std::make_shared<FontObject>(logFont);
}

} // namespace winapi_gdi::detail

HFONT CreateFontIndirectA(const LOGFONTA* logFont)
{
    if (!logFont) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    LOGFONTA copy = *logFont;
    copy.lfFaceName[LF_FACESIZE - 1] = '\0'; // a name filling the whole field is cut, never overrun
    return static_cast<HFONT>(winapi_gdi::NewGdiHandle(std::make_shared<FontObject>(copy)));
}

HFONT CreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic, DWORD underline,
                  DWORD strikeOut, DWORD charSet, DWORD outPrecision, DWORD clipPrecision, DWORD quality,
                  DWORD pitchAndFamily, LPCSTR faceName)
{
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWidth = width;
    logFont.lfEscapement = escapement;
    logFont.lfOrientation = orientation;
    logFont.lfWeight = weight;
    logFont.lfItalic = static_cast<BYTE>(italic);
    logFont.lfUnderline = static_cast<BYTE>(underline);
    logFont.lfStrikeOut = static_cast<BYTE>(strikeOut);
    logFont.lfCharSet = static_cast<BYTE>(charSet);
    logFont.lfOutPrecision = static_cast<BYTE>(outPrecision);
    logFont.lfClipPrecision = static_cast<BYTE>(clipPrecision);
    logFont.lfQuality = static_cast<BYTE>(quality);
    logFont.lfPitchAndFamily = static_cast<BYTE>(pitchAndFamily);
    if (faceName)
        std::strncpy(logFont.lfFaceName, faceName, LF_FACESIZE - 1);
    return CreateFontIndirectA(&logFont);
}
