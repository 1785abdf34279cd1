#include "platform/winapi/user/Clipboard.h"

#include "platform/winapi/display/DisplayBackend.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/user/ClipboardData.h"

#include <algorithm>
#include <mutex>
#include <strings.h>
#include <thread>
#include <vector>

namespace detail = winapi_user::detail;

namespace {

using detail::FreeClipboardHandle;
using detail::IsTextFormat;

struct Entry {
    UINT format = 0;
    HANDLE handle = nullptr;
};

template <typename T>
T Fail(DWORD error, T result = T{})
{
    SetLastError(error);
    return result;
}

class FormatNames {
public:
    UINT Register(const std::string& name)
    {
        const auto it = std::find_if(m_names.begin(), m_names.end(),
                                     [&](const std::string& known) { return strcasecmp(known.c_str(), name.c_str()) == 0; });
        if (it != m_names.end())
            return CF_REGISTEREDFIRST + static_cast<UINT>(it - m_names.begin());
        if (CF_REGISTEREDFIRST + m_names.size() > 0xFFFF)
            return Fail<UINT>(ERROR_NOT_ENOUGH_MEMORY);
        m_names.push_back(name);
        return CF_REGISTEREDFIRST + static_cast<UINT>(m_names.size() - 1);
    }

    [[nodiscard]] const std::string* Name(UINT format) const
    {
        if (format < CF_REGISTEREDFIRST || format - CF_REGISTEREDFIRST >= m_names.size())
            return nullptr;
        return &m_names[format - CF_REGISTEREDFIRST];
    }

private:
    std::vector<std::string> m_names;
};

// The process's view of the clipboard. The contents are this process's own from EmptyClipboard
// until another program takes the clipboard; that is noticed by comparing what the display holds
// with what was offered to it, so no event has to reach the clipboard.
class ClipboardState {
public:
    BOOL Open(HWND window)
    {
        if (window && !IsWindow(window))
            return Fail<BOOL>(ERROR_INVALID_WINDOW_HANDLE);
        std::lock_guard lock(m_mutex);
        if (m_open)
            return m_openThread == std::this_thread::get_id() && m_openWindow == window ? TRUE
                                                                                         : Fail<BOOL>(ERROR_ACCESS_DENIED);
        m_open = true;
        m_openThread = std::this_thread::get_id();
        m_openWindow = window;
        m_changed = false;
        return TRUE;
    }

    BOOL Close()
    {
        std::lock_guard lock(m_mutex);
        if (!OpenHere())
            return Fail<BOOL>(ERROR_CLIPBOARD_NOT_OPEN);
        FreeRendered();
        if (m_changed)
            Offer();
        m_open = false;
        m_openWindow = nullptr;
        return TRUE;
    }

    BOOL Empty()
    {
        HWND previousOwner = nullptr;
        {
            std::lock_guard lock(m_mutex);
            if (!OpenHere())
                return Fail<BOOL>(ERROR_CLIPBOARD_NOT_OPEN);
            previousOwner = m_ours ? m_owner : nullptr;
            FreeContents();
            m_ours = true;
            m_owner = m_openWindow;
            m_changed = true;
        }
        if (previousOwner && IsWindow(previousOwner))
            (void)SendMessageA(previousOwner, WM_DESTROYCLIPBOARD, 0, 0);
        return TRUE;
    }

    HANDLE Set(UINT format, HANDLE handle)
    {
        std::lock_guard lock(m_mutex);
        if (!OpenHere() || !m_ours || !m_openWindow)
            return Fail<HANDLE>(ERROR_CLIPBOARD_NOT_OPEN);
        if (format == 0 || !IsValidData(format, handle))
            return Fail<HANDLE>(handle ? ERROR_INVALID_HANDLE : ERROR_INVALID_PARAMETER);
        FreeRendered();
        const auto it = FindEntry(format);
        if (it == m_entries.end()) {
            m_entries.push_back(Entry{format, handle});
        } else {
            if (it->handle != handle)
                FreeClipboardHandle(format, it->handle);
            it->handle = handle;
        }
        m_changed = true;
        return handle;
    }

    HANDLE Get(UINT format)
    {
        std::unique_lock lock(m_mutex);
        if (!OpenHere())
            return Fail<HANDLE>(ERROR_CLIPBOARD_NOT_OPEN);
        NoticeLoss(lock);
        if (const auto it = FindEntry(format); it != m_entries.end())
            return it->handle;
        if (const auto it = std::find_if(m_rendered.begin(), m_rendered.end(), [&](const Entry& e) { return e.format == format; });
            it != m_rendered.end())
            return it->handle;
        const HANDLE handle = m_ours ? Synthesise(format) : ReadForeign(format);
        if (!handle)
            return Fail<HANDLE>(ERROR_INVALID_PARAMETER); // not on the clipboard, or unreadable
        m_rendered.push_back(Entry{format, handle});
        return handle;
    }

    std::vector<UINT> Formats()
    {
        std::unique_lock lock(m_mutex);
        NoticeLoss(lock);
        return m_ours ? OwnFormats() : ForeignFormats();
    }

    HWND Owner()
    {
        std::unique_lock lock(m_mutex);
        NoticeLoss(lock);
        return m_ours && IsWindow(m_owner) ? m_owner : nullptr;
    }

    HWND OpenWindow()
    {
        std::lock_guard lock(m_mutex);
        return m_open ? m_openWindow : nullptr;
    }

    UINT Register(const std::string& name)
    {
        std::lock_guard lock(m_mutex);
        return m_names.Register(name);
    }

    std::string Name(UINT format)
    {
        std::lock_guard lock(m_mutex);
        const std::string* name = m_names.Name(format);
        return name ? *name : std::string();
    }

    bool IsOpenHere()
    {
        std::lock_guard lock(m_mutex);
        return OpenHere();
    }

private:
    [[nodiscard]] bool OpenHere() const { return m_open && m_openThread == std::this_thread::get_id(); }

    std::vector<Entry>::iterator FindEntry(UINT format)
    {
        return std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.format == format; });
    }

    static bool IsValidData(UINT format, HANDLE handle)
    {
        if (!handle)
            return false;
        if (detail::IsGdiFormat(format)) {
            const DWORD type = GetObjectType(static_cast<HGDIOBJ>(handle));
            return format == CF_BITMAP ? type == OBJ_BITMAP : type != 0;
        }
        SetLastError(ERROR_SUCCESS);
        return GlobalSize(handle) != 0 || GetLastError() != ERROR_INVALID_HANDLE;
    }

    void FreeRendered()
    {
        for (const Entry& entry : m_rendered)
            FreeClipboardHandle(entry.format, entry.handle);
        m_rendered.clear();
    }

    void FreeContents()
    {
        FreeRendered();
        for (const Entry& entry : m_entries)
            FreeClipboardHandle(entry.format, entry.handle);
        m_entries.clear();
    }

    [[nodiscard]] HANDLE HandleOf(UINT format) const
    {
        const auto it = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry& e) { return e.format == format; });
        return it == m_entries.end() ? nullptr : it->handle;
    }

    [[nodiscard]] bool Has(UINT format) const { return HandleOf(format) != nullptr; }

    // The handle holding the text, the wide form first (it loses nothing).
    [[nodiscard]] const Entry* TextSource() const
    {
        for (UINT format : {CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT})
            for (const Entry& entry : m_entries)
                if (entry.format == format)
                    return &entry;
        return nullptr;
    }

    [[nodiscard]] std::vector<UINT> OwnFormats() const
    {
        std::vector<UINT> formats;
        for (const Entry& entry : m_entries)
            formats.push_back(entry.format);
        std::vector<UINT> derived;
        if (TextSource())
            derived = {CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT};
        if (Has(CF_DIB) || Has(CF_BITMAP)) {
            derived.push_back(CF_BITMAP);
            derived.push_back(CF_DIB);
        }
        for (UINT format : derived)
            if (!Has(format))
                formats.push_back(format);
        return formats;
    }

    HANDLE Synthesise(UINT format) const
    {
        if (IsTextFormat(format)) {
            const Entry* source = TextSource();
            return source ? detail::TextBlock(format, detail::TextOfBlock(source->format, source->handle)) : nullptr;
        }
        if (format == CF_DIB && Has(CF_BITMAP))
            return detail::DibOfBitmap(static_cast<HBITMAP>(HandleOf(CF_BITMAP)));
        if (format == CF_BITMAP && Has(CF_DIB))
            return detail::BitmapOfDib(HandleOf(CF_DIB));
        return nullptr;
    }

    // ---- The system clipboard ----

    std::vector<UINT> ForeignFormats()
    {
        std::vector<UINT> formats;
        const auto add = [&](std::initializer_list<UINT> ids) {
            for (UINT id : ids)
                if (id && std::find(formats.begin(), formats.end(), id) == formats.end())
                    formats.push_back(id);
        };
        for (const std::string& name : Display().ClipboardFormats()) {
            if (name == CLIPBOARD_TEXT_FORMAT)
                add({CF_UNICODETEXT, CF_TEXT, CF_OEMTEXT});
            else if (name == CLIPBOARD_BMP_FORMAT)
                add({CF_DIB, CF_BITMAP});
            else if (!name.empty())
                add({m_names.Register(name)});
        }
        return formats;
    }

    HANDLE ReadForeign(UINT format)
    {
        if (IsTextFormat(format)) {
            const auto text = Display().ClipboardData(CLIPBOARD_TEXT_FORMAT);
            return text ? detail::TextBlock(format, *text) : nullptr;
        }
        if (format == CF_DIB || format == CF_BITMAP) {
            const auto bmp = Display().ClipboardData(CLIPBOARD_BMP_FORMAT);
            const auto dib = bmp ? detail::DibOfBmpFile(*bmp) : std::nullopt;
            if (!dib)
                return nullptr;
            const HGLOBAL block = detail::BlockOf(*dib);
            if (format == CF_DIB || !block)
                return block;
            const HBITMAP bitmap = detail::BitmapOfDib(block);
            (void)GlobalFree(block);
            return bitmap;
        }
        const std::string* name = m_names.Name(format);
        const auto data = name ? Display().ClipboardData(*name) : std::nullopt;
        return data ? detail::BlockOf(*data) : nullptr;
    }

    void Offer()
    {
        std::vector<ClipboardItem> items;
        if (const Entry* text = TextSource())
            items.push_back({CLIPBOARD_TEXT_FORMAT, detail::TextOfBlock(text->format, text->handle)});
        for (const Entry& entry : m_entries)
            if (const std::string* name = m_names.Name(entry.format))
                items.push_back({*name, detail::BlockBytes(entry.handle)});
        if (auto bmp = BmpOfContents())
            items.push_back({CLIPBOARD_BMP_FORMAT, std::move(*bmp)});
        Display().OfferClipboard(items);
        m_offered = std::move(items);
    }

    std::optional<std::string> BmpOfContents() const
    {
        if (Has(CF_DIB))
            return detail::BmpFileOfDib(detail::BlockBytes(HandleOf(CF_DIB)));
        if (!Has(CF_BITMAP))
            return std::nullopt;
        const HGLOBAL dib = Synthesise(CF_DIB);
        const auto bmp = dib ? detail::BmpFileOfDib(detail::BlockBytes(dib)) : std::nullopt;
        (void)GlobalFree(dib);
        return bmp;
    }

    [[nodiscard]] bool DisplayHoldsOffer() const
    {
        std::vector<std::string> offeredNames;
        for (const ClipboardItem& item : m_offered)
            offeredNames.push_back(item.format);
        if (Display().ClipboardFormats() != offeredNames)
            return false;
        return std::all_of(m_offered.begin(), m_offered.end(),
                           [](const ClipboardItem& item) { return Display().ClipboardData(item.format) == item.data; });
    }

    // Another program took the clipboard since we offered ours: our contents are gone, and their
    // owner hears of it as it would from EmptyClipboard.
    void NoticeLoss(std::unique_lock<std::mutex>& lock)
    {
        if (!m_ours || (OpenHere() && m_changed) || DisplayHoldsOffer())
            return;
        const HWND owner = m_owner;
        FreeContents();
        m_ours = false;
        m_owner = nullptr;
        m_offered.clear();
        if (owner && IsWindow(owner)) {
            lock.unlock();
            (void)SendMessageA(owner, WM_DESTROYCLIPBOARD, 0, 0);
            lock.lock();
        }
    }

    std::mutex m_mutex;
    FormatNames m_names;
    // The open session.
    bool m_open = false;
    std::thread::id m_openThread;
    HWND m_openWindow = nullptr;
    bool m_changed = false;
    // The contents while they are this process's.
    bool m_ours = false;
    HWND m_owner = nullptr;
    std::vector<Entry> m_entries;
    std::vector<ClipboardItem> m_offered;
    // Handles converted or read from another program during the open session.
    std::vector<Entry> m_rendered;
};

ClipboardState& State()
{
    static ClipboardState* state = new ClipboardState; // never destroyed: used until exit
    return *state;
}

} // namespace

BOOL OpenClipboard(HWND hWndNewOwner) { return State().Open(hWndNewOwner); }
BOOL CloseClipboard() { return State().Close(); }
BOOL EmptyClipboard() { return State().Empty(); }
HANDLE SetClipboardData(UINT uFormat, HANDLE hMem) { return State().Set(uFormat, hMem); }
HANDLE GetClipboardData(UINT uFormat) { return State().Get(uFormat); }

UINT RegisterClipboardFormatA(LPCSTR lpszFormat)
{
    if (!lpszFormat || !*lpszFormat || std::char_traits<char>::length(lpszFormat) > 255)
        return Fail<UINT>(ERROR_INVALID_PARAMETER);
    return State().Register(lpszFormat);
}

int GetClipboardFormatNameA(UINT format, LPSTR lpszFormatName, int cchMaxCount)
{
    const std::string name = State().Name(format);
    if (name.empty() || !lpszFormatName || cchMaxCount <= 0)
        return Fail<int>(ERROR_INVALID_PARAMETER);
    const std::size_t count = std::min(name.size(), static_cast<std::size_t>(cchMaxCount - 1));
    name.copy(lpszFormatName, count);
    lpszFormatName[count] = '\0';
    return static_cast<int>(count);
}

BOOL IsClipboardFormatAvailable(UINT format)
{
    const std::vector<UINT> formats = State().Formats();
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

UINT EnumClipboardFormats(UINT format)
{
    if (!State().IsOpenHere())
        return Fail<UINT>(ERROR_CLIPBOARD_NOT_OPEN);
    const std::vector<UINT> formats = State().Formats();
    auto it = format == 0 ? formats.begin() : std::find(formats.begin(), formats.end(), format);
    if (format != 0 && it != formats.end())
        ++it;
    return it == formats.end() ? Fail<UINT>(ERROR_SUCCESS) : *it;
}

int CountClipboardFormats() { return static_cast<int>(State().Formats().size()); }
HWND GetClipboardOwner() { return State().Owner(); }
HWND GetOpenClipboardWindow() { return State().OpenWindow(); }
