#include "platform/winapi/display/x11/X11Backend.h"

#include <poll.h>

#include <algorithm>
#include <cstring>

// The clipboard is X's CLIPBOARD selection. Text is offered as UTF8_STRING, STRING (Latin-1) and
// TEXT; every other format under its own name as a target, so that another instance of this
// program finds "Rich Text Format" and the like by name.
namespace {

// How long another program may take to answer; one that does not gives no data.
constexpr auto CLIPBOARD_TIMEOUT = std::chrono::seconds(3);

std::string Utf8ToLatin1(const std::string& utf8)
{
    std::string latin1;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c >= 0xC0 && c < 0xE0 && i + 1 < utf8.size()) {
            code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            length = 2;
        } else if (c >= 0xE0) {
            length = c >= 0xF0 ? 4 : 3;
            code = 0x100; // beyond Latin-1
        }
        latin1.push_back(code < 0x100 ? static_cast<char>(code) : '?');
        i += length;
    }
    return latin1;
}

std::string Latin1ToUtf8(const std::string& latin1)
{
    std::string utf8;
    for (unsigned char c : latin1) {
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return utf8;
}

std::string AtomName(XDisplay* display, Atom atom)
{
    char* name = XGetAtomName(display, atom);
    std::string result = name ? name : "";
    if (name)
        XFree(name);
    return result;
}

} // namespace

bool X11Backend::OwnsClipboard() const
{
    return !m_offer.empty() && XGetSelectionOwner(m_display, m_atoms.clipboard) == m_clipboardWindow;
}

void X11Backend::OfferClipboard(const std::vector<ClipboardItem>& items)
{
    m_offer = items;
    XSetSelectionOwner(m_display, m_atoms.clipboard, items.empty() ? XNone : m_clipboardWindow,
                       m_lastTime);
    // A round trip: once this returns, other programs asking the server find us as the owner.
    XSync(m_display, False);
}

const ClipboardItem* X11Backend::OfferedItem(Atom target) const
{
    const bool text = target == m_atoms.utf8String || target == XA_STRING || target == m_atoms.text;
    const std::string name = text ? CLIPBOARD_TEXT_FORMAT : AtomName(m_display, target);
    auto it = std::find_if(m_offer.begin(), m_offer.end(),
                           [&](const ClipboardItem& item) { return item.format == name; });
    return it == m_offer.end() ? nullptr : &*it;
}

void X11Backend::AnswerSelectionRequest(const XSelectionRequestEvent& request)
{
    XEvent reply{};
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request.requestor;
    reply.xselection.selection = request.selection;
    reply.xselection.target = request.target;
    reply.xselection.time = request.time;
    reply.xselection.property = XNone; // refused unless answered below
    // Obsolete clients name no property: the target's name serves.
    const Atom property = request.property == XNone ? request.target : request.property;
    const long maxBytes = std::max(XExtendedMaxRequestSize(m_display), XMaxRequestSize(m_display)) * 4 - 1024;

    if (request.selection == m_atoms.clipboard && request.owner == m_clipboardWindow) {
        if (request.target == m_atoms.targets) {
            std::vector<Atom> targets = {m_atoms.targets, m_atoms.timestamp};
            for (const ClipboardItem& item : m_offer) {
                if (item.format == CLIPBOARD_TEXT_FORMAT)
                    targets.insert(targets.end(), {m_atoms.utf8String, XA_STRING, m_atoms.text});
                else
                    targets.push_back(XInternAtom(m_display, item.format.c_str(), False));
            }
            XChangeProperty(m_display, request.requestor, property, XA_ATOM, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(targets.data()),
                            static_cast<int>(targets.size()));
            reply.xselection.property = property;
        } else if (request.target == m_atoms.timestamp) {
            const long time = static_cast<long>(m_lastTime);
            XChangeProperty(m_display, request.requestor, property, XA_INTEGER, 32, PropModeReplace,
                            reinterpret_cast<const unsigned char*>(&time), 1);
            reply.xselection.property = property;
        } else if (const ClipboardItem* item = OfferedItem(request.target)) {
            // Data too large for one request is refused rather than sent incrementally.
            const std::string data = request.target == XA_STRING ? Utf8ToLatin1(item->data) : item->data;
            const Atom type = request.target == m_atoms.text ? m_atoms.utf8String : request.target;
            if (static_cast<long>(data.size()) <= maxBytes) {
                XChangeProperty(m_display, request.requestor, property, type, 8, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(data.data()),
                                static_cast<int>(data.size()));
                reply.xselection.property = property;
            }
        }
    }
    XSendEvent(m_display, request.requestor, False, 0, &reply);
    XFlush(m_display);
}

void X11Backend::OnSelectionClear(const XSelectionClearEvent& clear)
{
    if (clear.selection != m_atoms.clipboard || clear.window != m_clipboardWindow)
        return;
    m_offer.clear();
    DisplayEvent event;
    event.kind = DisplayEvent::Kind::ClipboardLost;
    Push(std::move(event));
}

// Handles events while it waits, so that nothing is lost and requests made of this program
// (by another of its own connections, say) are still answered.
bool X11Backend::WaitForEvent(const std::function<bool(const XEvent&)>& done, XEvent& matched)
{
    const auto deadline = std::chrono::steady_clock::now() + CLIPBOARD_TIMEOUT;
    XFlush(m_display);
    for (;;) {
        while (XPending(m_display)) {
            XNextEvent(m_display, &matched);
            if (done(matched))
                return true;
            if (!XFilterEvent(&matched, XNone))
                Translate(matched);
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
        poll(&descriptor, 1, static_cast<int>(left.count()) + 1);
    }
}

std::optional<std::string> X11Backend::ReadTransferProperty(Atom& type)
{
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(m_display, m_clipboardWindow, m_atoms.transfer, 0, 0x1FFFFFFF, True,
                           AnyPropertyType, &type, &format, &count, &remaining, &data) != Success)
        return std::nullopt;
    const std::size_t unit = format == 32 ? sizeof(long) : static_cast<std::size_t>(format / 8);
    std::string bytes = data ? std::string(reinterpret_cast<const char*>(data), count * unit) : "";
    if (data)
        XFree(data);
    return bytes;
}

// The INCR protocol: the owner sends the data in pieces, each one a new value of the property,
// and an empty piece at the end.
std::optional<std::string> X11Backend::ReadIncremental()
{
    std::string data;
    for (;;) {
        XEvent event;
        const bool arrived = WaitForEvent(
            [&](const XEvent& e) {
                return e.type == PropertyNotify && e.xproperty.window == m_clipboardWindow &&
                       e.xproperty.atom == m_atoms.transfer && e.xproperty.state == PropertyNewValue;
            },
            event);
        if (!arrived)
            return std::nullopt;
        Atom type = 0;
        auto piece = ReadTransferProperty(type);
        if (!piece)
            return std::nullopt;
        if (piece->empty())
            return data;
        data += *piece;
    }
}

std::optional<std::string> X11Backend::ConvertClipboard(Atom target, Atom& type)
{
    XDeleteProperty(m_display, m_clipboardWindow, m_atoms.transfer);
    XConvertSelection(m_display, m_atoms.clipboard, target, m_atoms.transfer, m_clipboardWindow,
                      m_lastTime);
    XEvent event;
    const bool answered = WaitForEvent(
        [&](const XEvent& e) {
            return e.type == SelectionNotify && e.xselection.requestor == m_clipboardWindow &&
                   e.xselection.selection == m_atoms.clipboard;
        },
        event);
    if (!answered || event.xselection.property == XNone)
        return std::nullopt;
    auto data = ReadTransferProperty(type);
    XFlush(m_display); // the deletion tells an incremental sender to start
    if (data && type == m_atoms.incr)
        return ReadIncremental();
    return data;
}

std::vector<std::string> X11Backend::ClipboardFormats()
{
    std::vector<std::string> formats;
    if (OwnsClipboard()) {
        for (const ClipboardItem& item : m_offer)
            formats.push_back(item.format);
        return formats;
    }
    Atom type = 0;
    const auto data = ConvertClipboard(m_atoms.targets, type);
    if (!data || type != XA_ATOM)
        return formats;
    std::vector<Atom> targets(data->size() / sizeof(long));
    std::memcpy(targets.data(), data->data(), targets.size() * sizeof(long));
    for (Atom target : targets) {
        std::string name;
        if (target == m_atoms.utf8String || target == XA_STRING || target == m_atoms.text)
            name = CLIPBOARD_TEXT_FORMAT;
        else if (target != m_atoms.targets && target != m_atoms.timestamp)
            name = AtomName(m_display, target);
        if (!name.empty() && std::find(formats.begin(), formats.end(), name) == formats.end())
            formats.push_back(name);
    }
    return formats;
}

std::optional<std::string> X11Backend::ClipboardData(const std::string& format)
{
    if (OwnsClipboard()) {
        for (const ClipboardItem& item : m_offer)
            if (item.format == format)
                return item.data;
        return std::nullopt;
    }
    Atom type = 0;
    if (format != CLIPBOARD_TEXT_FORMAT)
        return ConvertClipboard(XInternAtom(m_display, format.c_str(), False), type);
    if (auto text = ConvertClipboard(m_atoms.utf8String, type))
        return text;
    if (auto latin1 = ConvertClipboard(XA_STRING, type))
        return Latin1ToUtf8(*latin1);
    return std::nullopt;
}
