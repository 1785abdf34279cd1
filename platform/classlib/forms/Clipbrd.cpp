#include "platform/classlib/forms/Clipbrd.h"

#include "platform/classlib/core/AllocateHWnd.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/GraphicsPicture.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"

#include <algorithm>
#include <cstring>
#include <memory>

CLASSLIB_IMPLEMENT_CLASS(TClipboard, TPersistent, nullptr, nullptr)

namespace {

// Opens a session for one read or write, closed however it ends.
class Session {
public:
    explicit Session(TClipboard& clipboard) : m_clipboard(clipboard) { m_clipboard.Open(); }
    ~Session() { m_clipboard.Close(); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

private:
    TClipboard& m_clipboard;
};

// The text in a global block, up to its null or the end of the block, whichever comes first.
std::string BlockText(HANDLE data)
{
    const auto block = static_cast<HGLOBAL>(data);
    const auto* text = static_cast<const char*>(GlobalLock(block));
    if (!text)
        return {};
    const std::size_t size = GlobalSize(block);
    const std::string result(text, std::find(text, text + size, '\0'));
    (void)GlobalUnlock(block);
    return result;
}

} // namespace

TClipboard::TClipboard() = default;

TClipboard::~TClipboard()
{
    if (m_openRefCount > 0) {
        m_openRefCount = 1;
        Close();
    }
}

void TClipboard::Open()
{
    if (m_openRefCount == 0) {
        // A window of its own for each session: the program's clipboard object outlives the
        // windows of the program, so it must not hold one between sessions.
        m_window = AllocateHWnd([](TMessage&) {});
        if (!OpenClipboard(m_window)) {
            DeallocateHWnd(m_window);
            m_window = nullptr;
            throw EClipboardException("Cannot open clipboard");
        }
        m_emptied = false;
    }
    ++m_openRefCount;
}

void TClipboard::Close()
{
    if (m_openRefCount == 0)
        return;
    if (--m_openRefCount > 0)
        return;
    (void)CloseClipboard();
    DeallocateHWnd(m_window);
    m_window = nullptr;
}

void TClipboard::Clear()
{
    Session session(*this);
    (void)EmptyClipboard();
}

void TClipboard::Adding()
{
    if (m_openRefCount != 0 && !m_emptied) {
        Clear();
        m_emptied = true;
    }
}

bool TClipboard::HasFormat(UINT format) const { return IsClipboardFormatAvailable(format) != FALSE; }

std::string TClipboard::AsText()
{
    Session session(*this);
    const HANDLE data = GetClipboardData(CF_TEXT);
    return data ? BlockText(data) : std::string();
}

void TClipboard::SetAsText(const std::string& text) { SetBuffer(CF_TEXT, text.c_str(), text.size() + 1); }

int TClipboard::GetTextBuf(char* buffer, int bufSize)
{
    if (!buffer || bufSize <= 0)
        return 0;
    const std::string text = AsText();
    const std::size_t count = std::min(text.size(), static_cast<std::size_t>(bufSize - 1));
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return static_cast<int>(count);
}

void TClipboard::SetTextBuf(const char* buffer)
{
    const char* text = buffer ? buffer : "";
    SetBuffer(CF_TEXT, text, std::strlen(text) + 1);
}

void TClipboard::SetBuffer(UINT format, const void* buffer, std::size_t size)
{
    Session session(*this);
    Adding();
    const HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, size);
    if (!data)
        throw EOutOfMemory("Out of memory");
    if (void* target = GlobalLock(data); target && size > 0) {
        std::memcpy(target, buffer, size);
        (void)GlobalUnlock(data);
    }
    if (!SetClipboardData(format, data))
        (void)GlobalFree(data);
}

HANDLE TClipboard::GetAsHandle(UINT format)
{
    Session session(*this);
    return GetClipboardData(format);
}

void TClipboard::SetAsHandle(UINT format, HANDLE value)
{
    Session session(*this);
    Adding();
    (void)SetClipboardData(format, value);
}

int TClipboard::FormatCount() const { return CountClipboardFormats(); }

UINT TClipboard::Formats(int index)
{
    Session session(*this);
    UINT format = 0;
    for (int i = 0; i <= index; ++i) {
        format = EnumClipboardFormats(format);
        if (format == 0)
            break;
    }
    return format;
}

void TClipboard::Assign(const TPersistent* source)
{
    const auto* picture = dynamic_cast<const TPicture*>(source);
    const TPersistent* graphic = picture ? picture->Graphic() : source;
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) {
        // The clipboard takes the handle it is given, so it gets a copy of its own.
        TBitmap copy;
        copy.Assign(bitmap);
        AssignBitmap(copy.ReleaseHandle());
        return;
    }
    TPersistent::Assign(source);
}

void TClipboard::AssignBitmap(HBITMAP bitmap)
{
    Session session(*this);
    Adding();
    GdiObject owned(bitmap);
    if (SetClipboardData(CF_BITMAP, owned.Get()))
        (void)owned.Release(); // the clipboard owns it now
}

void TClipboard::AssignTo(TPersistent* dest) const
{
    if (dynamic_cast<TPicture*>(dest) || dynamic_cast<TBitmap*>(dest)) {
        // Reading opens a session, which is bookkeeping rather than a change of the clipboard.
        const_cast<TClipboard*>(this)->CopyBitmapTo(dest);
        return;
    }
    TPersistent::AssignTo(dest);
}

void TClipboard::CopyBitmapTo(TPersistent* dest)
{
    Session session(*this);
    const auto source = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    BITMAP info{};
    if (!source || GetObjectA(source, sizeof(info), &info) == 0)
        throw EInvalidGraphic("Unsupported clipboard format");
    auto* picture = dynamic_cast<TPicture*>(dest);
    TBitmap* bitmap = picture ? picture->Bitmap() : static_cast<TBitmap*>(dest);
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetWidth(info.bmWidth);
    bitmap->SetHeight(info.bmHeight);
    const MemoryDC sourceDC(nullptr, source);
    (void)BitBlt(bitmap->Canvas()->Handle(), 0, 0, info.bmWidth, info.bmHeight, sourceDC.Handle(), 0, 0, SRCCOPY);
    bitmap->SetModified(true);
}

TClipboard* Clipboard()
{
    static const std::unique_ptr<TClipboard> clipboard = std::make_unique<TClipboard>();
    return clipboard.get();
}
