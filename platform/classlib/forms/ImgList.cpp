#include "platform/classlib/forms/ImgList.h"

#include "platform/classlib/core/Filer.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Exceptions.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/MemoryDC.h"
#include "platform/winapi/gdi/SysColors.h"

#include <algorithm>
#include <cstdint>

namespace {

void DescribeImageList(TClassBuilder& c)
{
    c.Ordinal("BkColor", ColorTypeInfo(), &TCustomImageList::BkColor, &TCustomImageList::SetBkColor).Default(clNone);
    c.Ordinal("BlendColor", ColorTypeInfo(), &TCustomImageList::BlendColor, &TCustomImageList::SetBlendColor)
        .Default(clNone);
    c.Enum("DrawingStyle", DrawingStyleTypeInfo(), &TCustomImageList::DrawingStyle,
           &TCustomImageList::SetDrawingStyle)
        .Default(dsNormal);
    c.Enum("ImageType", ImageTypeTypeInfo(), &TCustomImageList::ImageType, &TCustomImageList::SetImageType)
        .Default(itImage);
    c.Integer("Height", &TCustomImageList::Height, &TCustomImageList::SetHeight).Default(16);
    c.Integer("Width", &TCustomImageList::Width, &TCustomImageList::SetWidth).Default(16);
    c.Event("OnChange", &TCustomImageList::OnChange, &TCustomImageList::SetOnChange);
}

// Images bigger than this, or more of them side by side, are not image-list data.
constexpr int MaxImageSide = 1024;
constexpr std::int64_t MaxStripWidth = 1 << 16;
// The ternary raster operation that paints the brush where the source is white and keeps the
// destination where it is black.
constexpr DWORD ROP_DSPDxax = 0x00E20746;
// Clears the destination where the source is white.
constexpr DWORD ROP_DSna = 0x00220326;

COLORREF ListColor(TColor color)
{
    if (color == clNone)
        return CLR_NONE;
    if (color == clDefault)
        return CLR_DEFAULT;
    return ColorToRGB(color);
}

void WriteInt(TStream& stream, std::uint32_t value)
{
    const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                                   static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    stream.WriteBuffer(bytes, sizeof(bytes));
}

std::uint32_t ReadInt(TStream& stream)
{
    std::uint8_t bytes[4];
    stream.ReadBuffer(bytes, sizeof(bytes));
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
}

void WriteBlock(TStream& stream, TBitmap& bitmap)
{
    TMemoryStream block;
    bitmap.SaveToStream(block);
    WriteInt(stream, static_cast<std::uint32_t>(block.Size()));
    stream.WriteBuffer(block.Memory(), static_cast<std::size_t>(block.Size()));
}

[[noreturn]] void RaiseBadData() { throw EReadError("Invalid image list data"); }

void ReadBlock(TStream& stream, TBitmap& bitmap, int width, int height)
{
    const std::uint32_t length = ReadInt(stream);
    if (length > stream.Size() - stream.Position())
        RaiseBadData();
    TMemoryStream block;
    block.CopyFrom(stream, length);
    block.SetPosition(0);
    bitmap.LoadFromStream(block);
    if (bitmap.Width() != width || bitmap.Height() != height)
        RaiseBadData();
}

} // namespace

const TTypeInfo& DrawingStyleTypeInfo()
{
    static const TTypeInfo info =
        EnumerationTypeInfo("TDrawingStyle", {"dsFocus", "dsSelected", "dsNormal", "dsTransparent"});
    return info;
}

const TTypeInfo& ImageTypeTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TImageType", {"itImage", "itMask"});
    return info;
}

CLASSLIB_IMPLEMENT_CLASS(TCustomImageList, TComponent, ComponentCreator<TCustomImageList>, DescribeImageList)
CLASSLIB_IMPLEMENT_CLASS(TImageList, TCustomImageList, ComponentCreator<TImageList>, nullptr)

TChangeLink::~TChangeLink()
{
    if (m_sender)
        m_sender->UnRegisterChanges(this);
}

void TChangeLink::Change()
{
    if (m_sender)
        m_onChange(m_sender);
}

TCustomImageList::TCustomImageList(TComponent* owner) : TCustomImageList(owner, 16, 16) {}

TCustomImageList::TCustomImageList(TComponent* owner, int width, int height) : TComponent(owner)
{
    CreateList(width, height);
}

TCustomImageList::~TCustomImageList()
{
    for (TChangeLink* link : m_links)
        link->SetSender(nullptr);
    (void)ImageList_Destroy(m_handle);
}

void TCustomImageList::CreateList(int width, int height)
{
    if (width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide)
        throw EInvalidOperation("Invalid image size");
    HIMAGELIST list = ImageList_Create(width, height, ILC_COLORDDB | ILC_MASK, 4, 4);
    if (!list)
        throw EInvalidOperation("Invalid image size");
    (void)ImageList_Destroy(m_handle);
    m_handle = list;
    m_width = width;
    m_height = height;
    (void)ImageList_SetBkColor(m_handle, ListColor(m_bkColor));
}

void TCustomImageList::Assign(const TPersistent* source)
{
    const auto* other = dynamic_cast<const TCustomImageList*>(source);
    if (!other) {
        TComponent::Assign(source);
        return;
    }
    TMemoryStream data;
    other->WriteData(data);
    data.SetPosition(0);
    m_bkColor = other->m_bkColor;
    m_blendColor = other->m_blendColor;
    m_drawingStyle = other->m_drawingStyle;
    m_imageType = other->m_imageType;
    ReadData(data);
}

void TCustomImageList::SetSize(int width, int height)
{
    if (width == m_width && height == m_height)
        return;
    CreateList(width, height);
    Change();
}

int TCustomImageList::Count() const { return ImageList_GetImageCount(m_handle); }

void TCustomImageList::SetBkColor(TColor color)
{
    if (color == m_bkColor)
        return;
    m_bkColor = color;
    (void)ImageList_SetBkColor(m_handle, ListColor(color));
    Change();
}

void TCustomImageList::SetBlendColor(TColor color)
{
    if (color == m_blendColor)
        return;
    m_blendColor = color;
    Change();
}

void TCustomImageList::SetDrawingStyle(TDrawingStyle style)
{
    if (style == m_drawingStyle)
        return;
    m_drawingStyle = style;
    Change();
}

void TCustomImageList::SetImageType(TImageType type)
{
    if (type == m_imageType)
        return;
    m_imageType = type;
    Change();
}

int TCustomImageList::Add(TBitmap* image, TBitmap* mask)
{
    if (!image || image->Empty())
        return -1;
    const int index = ImageList_Add(m_handle, image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColor)
{
    if (!image || image->Empty())
        return -1;
    const COLORREF key = maskColor == clDefault ? CLR_DEFAULT : ColorToRGB(maskColor);
    const int index = ImageList_AddMasked(m_handle, image->Handle(), key);
    Change();
    return index;
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask)
{
    if (index < 0 || index >= Count() || !image)
        throw EInvalidOperation("Invalid ImageList Index");
    (void)ImageList_Replace(m_handle, index, image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
}

// As AddMasked: the key colour's pixels become the mask and are blackened in the copy the list
// keeps, so that the image ORs onto its masked-out background.
void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColor)
{
    if (index < 0 || index >= Count() || !image || image->Empty())
        throw EInvalidOperation("Invalid ImageList Index");
    const int width = image->Width();
    const int height = image->Height();
    TBitmap colour;
    colour.Assign(image);
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(width, height);
    const HDC colourDC = colour.Canvas()->Handle();
    const HDC maskDC = mask.Canvas()->Handle();
    (void)::SetBkColor(colourDC, ColorToRGB(maskColor));
    (void)BitBlt(maskDC, 0, 0, width, height, colourDC, 0, 0, SRCCOPY);
    (void)::SetTextColor(colourDC, RGB(0, 0, 0));
    (void)::SetBkColor(colourDC, RGB(255, 255, 255));
    (void)BitBlt(colourDC, 0, 0, width, height, maskDC, 0, 0, ROP_DSna);
    (void)ImageList_Replace(m_handle, index, colour.Handle(), mask.Handle());
    Change();
}

void TCustomImageList::Delete(int index)
{
    if (index < 0 || index >= Count())
        throw EInvalidOperation("Invalid ImageList Index");
    (void)ImageList_Remove(m_handle, index);
    Change();
}

void TCustomImageList::Clear()
{
    (void)ImageList_Remove(m_handle, -1);
    Change();
}

UINT TCustomImageList::DrawFlags() const
{
    static constexpr UINT Styles[] = {ILD_FOCUS, ILD_SELECTED, ILD_NORMAL, ILD_TRANSPARENT};
    return Styles[m_drawingStyle] | (m_imageType == itMask ? ILD_MASK : 0);
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled)
{
    if (!canvas || index < 0 || index >= Count())
        return;
    const HDC dc = canvas->Handle();
    if (enabled)
        (void)ImageList_DrawEx(m_handle, index, dc, x, y, 0, 0, ListColor(m_bkColor), ListColor(m_blendColor),
                               DrawFlags());
    else
        DrawDisabled(dc, x, y, index);
}

// The classic greyed look: every pixel of the image that is not white on a white ground is drawn
// in the button highlight colour one pixel down and right, then in the shadow colour in place.
void TCustomImageList::DrawDisabled(HDC dc, int x, int y, int index)
{
    const GdiObject colour(CreateBitmap(m_width, m_height, 1, 32, nullptr));
    const GdiObject mono(CreateBitmap(m_width, m_height, 1, 1, nullptr));
    {
        const MemoryDC colourDC(nullptr, colour.Get());
        const MemoryDC monoDC(nullptr, mono.Get());
        const RECT all{0, 0, m_width, m_height};
        (void)FillRect(colourDC.Handle(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        (void)ImageList_DrawEx(m_handle, index, colourDC.Handle(), 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
        (void)::SetBkColor(colourDC.Handle(), RGB(255, 255, 255));
        (void)BitBlt(monoDC.Handle(), 0, 0, m_width, m_height, colourDC.Handle(), 0, 0, SRCCOPY);

        const COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
        const COLORREF oldBk = ::SetBkColor(dc, RGB(0, 0, 0));
        for (const auto& [offset, shade] : {std::pair{1, COLOR_BTNHIGHLIGHT}, std::pair{0, COLOR_BTNSHADOW}}) {
            const GdiObject brush(CreateSolidBrush(GetSysColor(shade)));
            const SelectionGuard selectBrush(dc, brush.Get());
            (void)BitBlt(dc, x + offset, y + offset, m_width, m_height, monoDC.Handle(), 0, 0, ROP_DSPDxax);
        }
        (void)::SetTextColor(dc, oldText);
        (void)::SetBkColor(dc, oldBk);
    }
}

void TCustomImageList::GetBitmap(int index, TBitmap* image)
{
    if (!image || index < 0 || index >= Count())
        return;
    image->SetSize(m_width, m_height);
    Draw(image->Canvas(), 0, 0, index);
}

void TCustomImageList::RegisterChanges(TChangeLink* link)
{
    if (!link || std::find(m_links.begin(), m_links.end(), link) != m_links.end())
        return;
    if (link->Sender() && link->Sender() != this)
        link->Sender()->UnRegisterChanges(link);
    link->SetSender(this);
    m_links.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link)
{
    const auto found = std::find(m_links.begin(), m_links.end(), link);
    if (found == m_links.end())
        return;
    m_links.erase(found);
    link->SetSender(nullptr);
}

void TCustomImageList::Change()
{
    // A link may unregister while being told.
    const std::vector<TChangeLink*> links = m_links;
    for (TChangeLink* link : links)
        if (std::find(m_links.begin(), m_links.end(), link) != m_links.end())
            link->Change();
    m_onChange(this);
}

void TCustomImageList::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    filer.DefineBinaryProperty(
        "Bitmap", [this](TStream& stream) { ReadData(stream); }, [this](TStream& stream) { WriteData(stream); },
        Count() > 0);
}

void TCustomImageList::WriteData(TStream& stream) const
{
    const int count = Count();
    WriteInt(stream, static_cast<std::uint32_t>(count));
    WriteInt(stream, static_cast<std::uint32_t>(m_width));
    WriteInt(stream, static_cast<std::uint32_t>(m_height));
    if (count == 0)
        return;
    TBitmap images;
    images.SetPixelFormat(pf32bit);
    images.SetSize(count * m_width, m_height);
    TBitmap masks;
    masks.SetPixelFormat(pf1bit);
    masks.SetSize(count * m_width, m_height);
    for (int i = 0; i < count; ++i) {
        IMAGEINFO info{};
        (void)ImageList_GetImageInfo(m_handle, i, &info);
        const MemoryDC image(nullptr, info.hbmImage);
        (void)BitBlt(images.Canvas()->Handle(), i * m_width, 0, m_width, m_height, image.Handle(),
                     info.rcImage.left, info.rcImage.top, SRCCOPY);
        if (info.hbmMask) {
            const MemoryDC mask(nullptr, info.hbmMask);
            (void)BitBlt(masks.Canvas()->Handle(), i * m_width, 0, m_width, m_height, mask.Handle(),
                         info.rcImage.left, info.rcImage.top, SRCCOPY);
        } else {
            (void)PatBlt(masks.Canvas()->Handle(), i * m_width, 0, m_width, m_height, BLACKNESS);
        }
    }
    WriteBlock(stream, images);
    WriteBlock(stream, masks);
}

void TCustomImageList::ReadData(TStream& stream)
{
    const std::uint32_t count = ReadInt(stream);
    const std::uint32_t width = ReadInt(stream);
    const std::uint32_t height = ReadInt(stream);
    if (width < 1 || height < 1 || width > MaxImageSide || height > MaxImageSide ||
        std::int64_t{count} * width > MaxStripWidth)
        RaiseBadData();
    TBitmap images;
    TBitmap masks;
    const int stripWidth = static_cast<int>(count * width);
    if (count > 0) {
        ReadBlock(stream, images, stripWidth, static_cast<int>(height));
        ReadBlock(stream, masks, stripWidth, static_cast<int>(height));
    }
    CreateList(static_cast<int>(width), static_cast<int>(height));
    if (count > 0)
        (void)ImageList_Add(m_handle, images.Handle(), masks.Handle());
    Change();
}

void RegisterImageListClasses() { RegisterClass(TImageList::StaticClass()); }
