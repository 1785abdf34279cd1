#include "platform/classlib/forms/GraphicsPicture.h"

#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/user/Clipboard.h"

#include <algorithm>
#include <mutex>
#include <vector>

// ---- TGraphic -----------------------------------------------------------------------------------

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool transparent)
{
    if (transparent == m_transparent)
        return;
    m_transparent = transparent;
    Changed();
}

void TGraphic::SetModified(bool modified)
{
    if (modified)
        Changed();
    else
        m_modified = false;
}

void TGraphic::Changed()
{
    m_modified = true;
    m_onChange(this);
}

void TGraphic::LoadFromFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const std::string& fileName)
{
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
        !Empty());
}

namespace {

[[noreturn]] void RaiseUnsupportedClipboardFormat()
{
    throw EInvalidGraphic("Unsupported clipboard format");
}

} // namespace

void TGraphic::SaveToClipboardFormat(UINT&, HANDLE&, HPALETTE&)
{
    RaiseUnsupportedClipboardFormat();
}

void TGraphic::LoadFromClipboardFormat(UINT, HANDLE, HPALETTE)
{
    RaiseUnsupportedClipboardFormat();
}

CLASSLIB_IMPLEMENT_CLASS(TGraphic, TPersistent, nullptr, nullptr)

// ---- The picture registry -----------------------------------------------------------------------

namespace {

struct TFileFormat {
    std::string Extension;
    std::string Description;
    TClass GraphicClass;

    [[nodiscard]] bool SameKey(const TFileFormat& other) const { return SameText(Extension, other.Extension); }
};

struct TClipboardFormat {
    UINT Format;
    TClass GraphicClass;

    [[nodiscard]] bool SameKey(const TClipboardFormat& other) const { return Format == other.Format; }
};

// Formats and the graphic classes that read them, safe to use from any thread.
template <typename TFormat>
class TFormatRegistry {
public:
    explicit TFormatRegistry(std::vector<TFormat> formats) : m_formats(std::move(formats)) {}

    void Add(TFormat format)
    {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_formats, [&](const TFormat& f) { return f.SameKey(format); });
        m_formats.push_back(std::move(format));
    }
    void Remove(TClass graphicClass)
    {
        const std::lock_guard lock(m_mutex);
        std::erase_if(m_formats, [&](const TFormat& f) { return f.GraphicClass->InheritsFrom(graphicClass); });
    }
    [[nodiscard]] std::vector<TFormat> Snapshot() const
    {
        const std::lock_guard lock(m_mutex);
        return m_formats;
    }

private:
    mutable std::mutex m_mutex;
    std::vector<TFormat> m_formats;
};

TFormatRegistry<TFileFormat>& FileFormats()
{
    static TFormatRegistry<TFileFormat> formats({{"bmp", "Bitmaps", TBitmap::StaticClass()}});
    return formats;
}

TFormatRegistry<TClipboardFormat>& ClipboardFormats()
{
    static TFormatRegistry<TClipboardFormat> formats(
        {{CF_BITMAP, TBitmap::StaticClass()}, {CF_DIB, TBitmap::StaticClass()}});
    return formats;
}

TClass GraphicClassForClipboardFormat(UINT format)
{
    for (const TClipboardFormat& entry : ClipboardFormats().Snapshot())
        if (entry.Format == format)
            return entry.GraphicClass;
    return nullptr;
}

// Raised for form data that ends inside the class name.
[[noreturn]] void RaiseInvalidPictureData()
{
    throw EInvalidGraphic("Picture data is not valid");
}

} // namespace

std::unique_ptr<TGraphic> CreateGraphic(TClass graphicClass)
{
    if (!graphicClass || !graphicClass->InheritsFrom(TGraphic::StaticClass()) || graphicClass->IsAbstract())
        throw EInvalidGraphic("Invalid graphic class");
    return std::unique_ptr<TGraphic>(static_cast<TGraphic*>(graphicClass->Create()));
}

void TPicture::RegisterFileFormat(const std::string& extension, const std::string& description, TClass graphicClass)
{
    FileFormats().Add({LowerCase(extension), description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TClass graphicClass)
{
    FileFormats().Remove(graphicClass);
    ClipboardFormats().Remove(graphicClass);
}

void TPicture::RegisterClipboardFormat(UINT format, TClass graphicClass)
{
    ClipboardFormats().Add({format, graphicClass});
}

bool TPicture::SupportsClipboardFormat(UINT format)
{
    return GraphicClassForClipboardFormat(format) != nullptr;
}

TClass TPicture::GraphicClassForExtension(std::string_view extension)
{
    if (!extension.empty() && extension.front() == '.')
        extension.remove_prefix(1);
    for (const TFileFormat& format : FileFormats().Snapshot())
        if (SameText(format.Extension, extension))
            return format.GraphicClass;
    return nullptr;
}

TClass TPicture::GraphicClassForName(std::string_view className)
{
    for (const TFileFormat& format : FileFormats().Snapshot())
        if (format.GraphicClass->ClassNameIs(className))
            return format.GraphicClass;
    return nullptr;
}

std::string TPicture::GraphicFilter(TClass graphicClass)
{
    std::string all;
    std::string each;
    for (const TFileFormat& format : FileFormats().Snapshot()) {
        if (!format.GraphicClass->InheritsFrom(graphicClass))
            continue;
        const std::string mask = "*." + format.Extension;
        all += (all.empty() ? "" : ";") + mask;
        each += "|" + format.Description + " (" + mask + ")|" + mask;
    }
    if (all.empty())
        return {};
    return "All (" + all + ")|" + all + each;
}

// ---- TPicture -----------------------------------------------------------------------------------

TPicture::TPicture() = default;
TPicture::~TPicture() = default;

void TPicture::Assign(const TPersistent* source)
{
    if (!source)
        SetGraphic(nullptr);
    else if (const auto* picture = dynamic_cast<const TPicture*>(source))
        SetGraphic(picture->Graphic());
    else if (const auto* graphic = dynamic_cast<const TGraphic*>(source))
        SetGraphic(const_cast<TGraphic*>(graphic));
    else
        TPersistent::Assign(source);
}

void TPicture::SetGraphic(TGraphic* graphic)
{
    if (!graphic) {
        ReplaceGraphic(nullptr);
        return;
    }
    std::unique_ptr<TGraphic> copy = CreateGraphic(graphic->ClassType());
    copy->Assign(graphic);
    ReplaceGraphic(std::move(copy));
}

void TPicture::SetBitmap(TBitmap* bitmap)
{
    SetGraphic(bitmap);
}

TBitmap* TPicture::Bitmap()
{
    if (!dynamic_cast<TBitmap*>(m_graphic.get()))
        ReplaceGraphic(std::make_unique<TBitmap>());
    return static_cast<TBitmap*>(m_graphic.get());
}

int TPicture::Width() const
{
    return m_graphic ? m_graphic->Width() : 0;
}

int TPicture::Height() const
{
    return m_graphic ? m_graphic->Height() : 0;
}

void TPicture::LoadFromFile(const std::string& fileName)
{
    const std::string extension = ExtractFileExt(fileName);
    const TClass graphicClass = GraphicClassForExtension(extension);
    if (!graphicClass)
        throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {extension}));
    std::unique_ptr<TGraphic> graphic = CreateGraphic(graphicClass);
    graphic->LoadFromFile(fileName);
    ReplaceGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const std::string& fileName)
{
    if (m_graphic)
        m_graphic->SaveToFile(fileName);
}

void TPicture::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette)
{
    const TClass graphicClass = GraphicClassForClipboardFormat(format);
    if (!graphicClass)
        RaiseUnsupportedClipboardFormat();
    std::unique_ptr<TGraphic> graphic = CreateGraphic(graphicClass);
    graphic->LoadFromClipboardFormat(format, data, palette);
    ReplaceGraphic(std::move(graphic));
}

void TPicture::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette)
{
    if (m_graphic)
        m_graphic->SaveToClipboardFormat(format, data, palette);
    else
        data = nullptr;
}

void TPicture::DefineProperties(TFiler& filer)
{
    filer.DefineBinaryProperty(
        "Data", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
        m_graphic != nullptr);
}

void TPicture::ReadData(TStream& stream)
{
    std::uint8_t length = 0;
    if (stream.Read(&length, 1) != 1) {
        ReplaceGraphic(nullptr);
        return;
    }
    std::string className(length, '\0');
    if (stream.Read(className.data(), length) != length)
        RaiseInvalidPictureData();
    const TClass graphicClass = GraphicClassForName(className);
    if (!graphicClass)
        throw EInvalidGraphic(Format("Unknown picture format %s", {className}));
    std::unique_ptr<TGraphic> graphic = CreateGraphic(graphicClass);
    graphic->ReadData(stream);
    ReplaceGraphic(std::move(graphic));
}

void TPicture::WriteData(TStream& stream)
{
    if (!m_graphic)
        return;
    const std::string& className = m_graphic->ClassName();
    const auto length = static_cast<std::uint8_t>(std::min<std::size_t>(className.size(), 255));
    stream.WriteBuffer(&length, 1);
    stream.WriteBuffer(className.data(), length);
    m_graphic->WriteData(stream);
}

void TPicture::ReplaceGraphic(std::unique_ptr<TGraphic> graphic)
{
    m_graphic = std::move(graphic);
    if (m_graphic)
        m_graphic->SetOnChange(TNotifyEvent(this, &TPicture::GraphicChanged));
    GraphicChanged(m_graphic.get());
}

void TPicture::GraphicChanged(TObject*)
{
    m_onChange(this);
}

CLASSLIB_IMPLEMENT_CLASS(TPicture, TPersistent, DefaultCreator<TPicture>, nullptr)
