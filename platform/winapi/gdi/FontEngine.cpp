#include "platform/winapi/gdi/FontEngine.h"

#include "platform/winapi/gdi/FontSubstitution.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <deque>
#include <map>
#include <mutex>

namespace detail = winapi_gdi::detail;

namespace winapi_gdi::detail {

bool RendersCrisp(BYTE quality, LONG lfHeight)
{
    if (quality == NONANTIALIASED_QUALITY)
        return true;
    if (quality == ANTIALIASED_QUALITY || quality == CLEARTYPE_QUALITY)
        return false;
    const LONG pixels = lfHeight == 0 ? DefaultEmPixels : lfHeight < 0 ? -lfHeight : lfHeight;
    return pixels <= CrispTextPixels;
}

FontRequest RequestFor(const LOGFONTA& logFont)
{
    FontRequest request;
    const auto* name = logFont.lfFaceName;
    request.faceName.assign(name, std::find(name, name + LF_FACESIZE, '\0'));
    request.height = std::clamp<LONG>(logFont.lfHeight, -16384, 16384);
    request.width = std::clamp<LONG>(logFont.lfWidth, 0, 16384);
    request.escapement = static_cast<int>(((logFont.lfEscapement % 3600) + 3600) % 3600);
    request.weight = logFont.lfWeight == FW_DONTCARE ? FW_NORMAL : std::clamp<LONG>(logFont.lfWeight, 1, 1000);
    request.bold = request.weight >= FW_SEMIBOLD;
    request.italic = logFont.lfItalic != 0;
    request.underline = logFont.lfUnderline != 0;
    request.strikeOut = logFont.lfStrikeOut != 0;
    request.monochrome = RendersCrisp(logFont.lfQuality, request.height);
    request.charSet = logFont.lfCharSet == DEFAULT_CHARSET ? ANSI_CHARSET : logFont.lfCharSet;
    request.pitchAndFamily = logFont.lfPitchAndFamily;
    return request;
}

int EmPixelsFor(int lfHeight, int unitsPerEm, int cellUnits)
{
    long em = DefaultEmPixels;
    if (lfHeight < 0)
        em = -static_cast<long>(lfHeight);
    else if (lfHeight > 0 && cellUnits > 0)
        em = std::lround(static_cast<double>(lfHeight) * unitsPerEm / cellUnits);
    return static_cast<int>(std::clamp<long>(em, 1, MaxEmPixels));
}

} // namespace winapi_gdi::detail

namespace {

bool IsMarlett(const std::string& faceName)
{
    constexpr std::string_view marlett = "marlett";
    return faceName.size() == marlett.size() &&
           std::equal(faceName.begin(), faceName.end(), marlett.begin(),
                      [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

class FontCache {
public:
    std::shared_ptr<FontInstance> Get(const detail::FontRequest& request)
    {
        std::lock_guard guard(m_lock);
        if (auto known = m_live.find(request); known != m_live.end())
            if (auto instance = known->second.lock()) {
                Touch(instance);
                return instance;
            }
        std::shared_ptr<FontInstance> instance =
            IsMarlett(request.faceName) ? detail::CreateMarlettFont(request) : detail::CreateFreeTypeFont(request);
        if (!instance)
            return nullptr;
        m_live[request] = instance;
        Touch(instance);
        ForgetDead();
        return instance;
    }

private:
    // Keeps the most recently used instances alive, so a font object created and deleted around
    // every paint does not render its glyphs again each time.
    void Touch(const std::shared_ptr<FontInstance>& instance)
    {
        std::erase(m_recent, instance);
        m_recent.push_front(instance);
        if (m_recent.size() > RecentCount)
            m_recent.pop_back();
    }

    void ForgetDead()
    {
        std::erase_if(m_live, [](const auto& entry) { return entry.second.expired(); });
    }

    static constexpr std::size_t RecentCount = 32;
    std::mutex m_lock;
    std::map<detail::FontRequest, std::weak_ptr<FontInstance>> m_live;
    std::deque<std::shared_ptr<FontInstance>> m_recent;
};

} // namespace

std::shared_ptr<FontInstance> RealizeFont(const LOGFONTA& logFont)
{
    // Never destroyed: objects freed at program exit (the class library's Application and its
    // forms) still reach it after static destructors have begun.
    static FontCache& cache = *new FontCache;
    return cache.Get(detail::RequestFor(logFont));
}
