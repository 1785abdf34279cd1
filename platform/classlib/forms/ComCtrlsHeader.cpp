#include "platform/classlib/forms/ComCtrlsHeader.h"

#include "platform/winapi/controls/Header.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

#include <algorithm>

namespace {

const TTypeInfo& SectionStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("THeaderSectionStyle", {"hsText", "hsOwnerDraw"});
    return info;
}

const TTypeInfo& SectionAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

void DescribeSection(TClassBuilder& c)
{
    c.String("Text", &THeaderSection::Text, &THeaderSection::SetText);
    c.Integer("Width", &THeaderSection::Width, &THeaderSection::SetWidth).Default(50);
    c.Integer("MinWidth", &THeaderSection::MinWidth, &THeaderSection::SetMinWidth).Default(0);
    c.Integer("MaxWidth", &THeaderSection::MaxWidth, &THeaderSection::SetMaxWidth).Default(10000);
    c.Enum("Alignment", SectionAlignmentTypeInfo(), &THeaderSection::Alignment, &THeaderSection::SetAlignment)
        .Default(taLeftJustify);
    c.Enum("Style", SectionStyleTypeInfo(), &THeaderSection::Style, &THeaderSection::SetStyle).Default(hsText);
    c.Boolean("AllowClick", &THeaderSection::AllowClick, &THeaderSection::SetAllowClick).Default(true);
}

void DescribeHeaderControl(TClassBuilder& c)
{
    c.Object("Sections", &THeaderControl::Sections, &THeaderControl::SetSections);
    c.Event("OnSectionClick", &THeaderControl::OnSectionClick, &THeaderControl::SetOnSectionClick);
    c.Event("OnSectionResize", &THeaderControl::OnSectionResize, &THeaderControl::SetOnSectionResize);
    c.Event("OnSectionTrack", &THeaderControl::OnSectionTrack, &THeaderControl::SetOnSectionTrack);
    c.Event("OnDrawSection", &THeaderControl::OnDrawSection, &THeaderControl::SetOnDrawSection);
}

int HeaderFormat(const THeaderSection& section)
{
    int format = section.Style() == hsOwnerDraw ? HDF_OWNERDRAW : HDF_STRING;
    if (section.Alignment() == taCenter)
        format |= HDF_CENTER;
    else if (section.Alignment() == taRightJustify)
        format |= HDF_RIGHT;
    return format;
}

HDITEMA HeaderItem(const THeaderSection& section)
{
    HDITEMA item{};
    item.mask = HDI_WIDTH | HDI_TEXT | HDI_FORMAT | HDI_LPARAM;
    item.cxy = section.Width();
    item.pszText = const_cast<LPSTR>(section.Text().c_str());
    item.fmt = HeaderFormat(section);
    item.lParam = section.Index();
    return item;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(THeaderSection, TCollectionItem, CollectionItemCreator<THeaderSection>, DescribeSection)
CLASSLIB_IMPLEMENT_CLASS(THeaderSections, TOwnedCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(THeaderControl, TWinControl, ComponentCreator<THeaderControl>, DescribeHeaderControl)

// ---- THeaderSection ---------------------------------------------------------------------------

void THeaderSection::Assign(const TPersistent* source)
{
    if (const auto* section = dynamic_cast<const THeaderSection*>(source)) {
        m_text = section->m_text;
        m_width = section->m_width;
        m_minWidth = section->m_minWidth;
        m_maxWidth = section->m_maxWidth;
        m_alignment = section->m_alignment;
        m_style = section->m_style;
        m_allowClick = section->m_allowClick;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void THeaderSection::SetText(const std::string& text)
{
    m_text = text;
    Changed(false);
}

void THeaderSection::SetWidth(int width)
{
    width = std::clamp(width, m_minWidth, std::max(m_minWidth, m_maxWidth));
    if (width == m_width)
        return;
    m_width = width;
    Changed(true);
}

void THeaderSection::SetMinWidth(int width)
{
    m_minWidth = std::max(0, width);
    SetWidth(m_width);
}

void THeaderSection::SetMaxWidth(int width)
{
    m_maxWidth = std::max(m_minWidth, width);
    SetWidth(m_width);
}

void THeaderSection::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Changed(false);
}

void THeaderSection::SetStyle(THeaderSectionStyle style)
{
    m_style = style;
    Changed(false);
}

int THeaderSection::Left() const
{
    int left = 0;
    for (int i = 0; i < Index(); ++i)
        left += static_cast<const THeaderSection*>(Collection()->Items(i))->Width();
    return left;
}

// ---- THeaderSections --------------------------------------------------------------------------

THeaderSections::THeaderSections(THeaderControl* header)
    : TOwnedCollection(header, THeaderSection::StaticClass()), m_header(header)
{
}

void THeaderSections::Update(TCollectionItem* item)
{
    if (item)
        m_header->UpdateSection(item->Index());
    else
        m_header->UpdateSections();
}

// ---- THeaderControl ---------------------------------------------------------------------------

THeaderControl::THeaderControl(TComponent* owner)
    : TWinControl(owner), m_sections(std::make_unique<THeaderSections>(this)), m_canvas(std::make_unique<TCanvas>())
{
    // The window captures the mouse itself while a divider or a section is held.
    SetControlStyle(ControlStyle() - TControlStyle{csCaptureMouse, csClickEvents});
    SetColor(clBtnFace);
    SetBounds(0, 0, 170, 17);
    SetAlign(alTop);
}

THeaderControl::~THeaderControl() = default;

void THeaderControl::CreateParams(TCreateParams& params)
{
    RegisterHeaderClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, WC_HEADERA);
    params.Style |= HDS_BUTTONS | HDS_FULLDRAG;
}

void THeaderControl::CreateWnd()
{
    TWinControl::CreateWnd();
    (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
    UpdateSections();
}

void THeaderControl::UpdateSections()
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    while (SendMessageA(window, HDM_GETITEMCOUNT, 0, 0) > 0)
        (void)SendMessageA(window, HDM_DELETEITEM, 0, 0);
    for (int i = 0; i < m_sections->Count(); ++i) {
        HDITEMA item = HeaderItem(*m_sections->Items(i));
        (void)SendMessageA(window, HDM_INSERTITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    }
}

void THeaderControl::UpdateSection(int index)
{
    if (!HandleAllocated() || index < 0 || index >= m_sections->Count())
        return;
    HDITEMA item = HeaderItem(*m_sections->Items(index));
    (void)SendMessageA(Handle(), HDM_SETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
}

THeaderSection* THeaderControl::SectionAt(int index) const
{
    return index >= 0 && index < m_sections->Count() ? m_sections->Items(index) : nullptr;
}

LRESULT THeaderControl::HeaderNotify(const NMHDR& header)
{
    const auto& notice = reinterpret_cast<const NMHEADERA&>(header);
    THeaderSection* section = SectionAt(notice.iItem);
    if (!section)
        return 0;
    const int width = notice.pitem && (notice.pitem->mask & HDI_WIDTH) != 0 ? notice.pitem->cxy : section->Width();
    switch (header.code) {
    case HDN_ITEMCLICK:
        if (section->AllowClick() && m_onSectionClick)
            m_onSectionClick(this, section);
        return 0;
    case HDN_BEGINTRACK:
        if (m_onSectionTrack)
            m_onSectionTrack(this, section, width, tsTrackBegin);
        return 0;
    case HDN_TRACK:
        if (m_onSectionTrack)
            m_onSectionTrack(this, section, width, tsTrackMove);
        return 0;
    case HDN_ENDTRACK:
        if (m_onSectionTrack)
            m_onSectionTrack(this, section, width, tsTrackEnd);
        return 0;
    case HDN_ITEMCHANGING:
        // Outside the section's limits the drag stops at them.
        if (width < section->MinWidth() || width > section->MaxWidth()) {
            const int before = section->Width();
            section->SetWidth(width);
            if (section->Width() != before && m_onSectionResize)
                m_onSectionResize(this, section);
            return TRUE;
        }
        return 0;
    case HDN_ITEMCHANGED:
        if (width != section->m_width) {
            section->m_width = width;
            if (m_onSectionResize)
                m_onSectionResize(this, section);
        }
        return 0;
    default:
        return 0;
    }
}

void THeaderControl::DrawItem(const DRAWITEMSTRUCT& item)
{
    THeaderSection* section = SectionAt(static_cast<int>(item.itemID));
    if (!section)
        return;
    const SavedDC saved(item.hDC);
    m_canvas->SetHandle(item.hDC);
    m_canvas->Font()->Assign(Font());
    m_canvas->Brush()->SetColor(Color());
    if (m_onDrawSection)
        m_onDrawSection(this, section, item.rcItem, (item.itemState & ODS_SELECTED) != 0);
    m_canvas->SetHandle(nullptr);
}

void THeaderControl::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_NOTIFY:
        message.Result = HeaderNotify(*reinterpret_cast<const NMHDR*>(message.LParam));
        return;
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case CM_FONTCHANGED:
        if (HandleAllocated())
            (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}
