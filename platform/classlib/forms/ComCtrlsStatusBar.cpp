#include "platform/classlib/forms/ComCtrlsStatusBar.h"

#include "platform/winapi/controls/StatusBar.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"

namespace {

const TTypeInfo& BevelTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TStatusPanelBevel", {"pbNone", "pbLowered", "pbRaised"});
    return info;
}

const TTypeInfo& PanelStyleTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TStatusPanelStyle", {"psText", "psOwnerDraw"});
    return info;
}

const TTypeInfo& PanelAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TAlignment", {"taLeftJustify", "taRightJustify", "taCenter"});
    return info;
}

void DescribePanel(TClassBuilder& c)
{
    c.String("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    c.Integer("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
    c.Enum("Bevel", BevelTypeInfo(), &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    c.Enum("Alignment", PanelAlignmentTypeInfo(), &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
        .Default(taLeftJustify);
    c.Enum("Style", PanelStyleTypeInfo(), &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
}

void DescribeStatusBar(TClassBuilder& c)
{
    c.Object("Panels", &TCustomStatusBar::Panels, &TCustomStatusBar::SetPanels);
    c.Boolean("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel).Default(false);
    c.String("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText);
    c.Boolean("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip).Default(true);
    c.Event("OnDrawPanel", &TCustomStatusBar::OnDrawPanel, &TCustomStatusBar::SetOnDrawPanel);
}

// The window aligns a part's text by the tabs in front of it.
std::string AlignedText(const TStatusPanel& panel)
{
    switch (panel.Alignment()) {
    case taCenter:
        return "\t" + panel.Text();
    case taRightJustify:
        return "\t\t" + panel.Text();
    default:
        return panel.Text();
    }
}

WPARAM DrawingType(const TStatusPanel& panel)
{
    WPARAM type = panel.Style() == psOwnerDraw ? SBT_OWNERDRAW : 0;
    if (panel.Bevel() == pbNone)
        type |= SBT_NOBORDERS;
    else if (panel.Bevel() == pbRaised)
        type |= SBT_POPOUT;
    return type;
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TStatusPanel, TCollectionItem, CollectionItemCreator<TStatusPanel>, DescribePanel)
CLASSLIB_IMPLEMENT_CLASS(TStatusPanels, TOwnedCollection, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TCustomStatusBar, TWinControl, nullptr, nullptr)
CLASSLIB_IMPLEMENT_CLASS(TStatusBar, TCustomStatusBar, ComponentCreator<TStatusBar>, DescribeStatusBar)

// ---- TStatusPanel -----------------------------------------------------------------------------

void TStatusPanel::Assign(const TPersistent* source)
{
    if (const auto* panel = dynamic_cast<const TStatusPanel*>(source)) {
        m_text = panel->m_text;
        m_width = panel->m_width;
        m_bevel = panel->m_bevel;
        m_alignment = panel->m_alignment;
        m_style = panel->m_style;
        Changed(false);
        return;
    }
    TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const std::string& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Changed(false);
}

void TStatusPanel::SetWidth(int width)
{
    if (width == m_width)
        return;
    m_width = width;
    Changed(true);
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel)
{
    m_bevel = bevel;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment alignment)
{
    m_alignment = alignment;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle style)
{
    m_style = style;
    Changed(false);
}

// ---- TStatusPanels ----------------------------------------------------------------------------

TStatusPanels::TStatusPanels(TCustomStatusBar* statusBar)
    : TOwnedCollection(statusBar, TStatusPanel::StaticClass()), m_statusBar(statusBar)
{
}

void TStatusPanels::Update(TCollectionItem* item)
{
    if (item)
        m_statusBar->UpdatePanel(item->Index());
    else
        m_statusBar->UpdatePanels();
}

// ---- TCustomStatusBar -------------------------------------------------------------------------

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), m_panels(std::make_unique<TStatusPanels>(this)), m_canvas(std::make_unique<TCanvas>())
{
    SetColor(clBtnFace);
    SetBounds(0, 0, 200, 19);
    SetAlign(alBottom);
}

TCustomStatusBar::~TCustomStatusBar() = default;

void TCustomStatusBar::CreateParams(TCreateParams& params)
{
    RegisterStatusBarClass();
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEA);
    // The class library places the bar (Align), not the window itself.
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE;
    if (m_sizeGrip)
        params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateWnd()
{
    TWinControl::CreateWnd();
    SendFont();
    UpdatePanels();
}

void TCustomStatusBar::SendFont()
{
    if (HandleAllocated())
        (void)SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), TRUE);
}

void TCustomStatusBar::SetSimplePanel(bool simplePanel)
{
    m_simplePanel = simplePanel;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& text)
{
    m_simpleText = text;
    if (HandleAllocated())
        (void)SendMessageA(Handle(), SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(m_simpleText.c_str()));
}

void TCustomStatusBar::SetSizeGrip(bool sizeGrip)
{
    if (sizeGrip == m_sizeGrip)
        return;
    m_sizeGrip = sizeGrip;
    if (HandleAllocated())
        RecreateWnd();
}

void TCustomStatusBar::UpdatePanels()
{
    if (!HandleAllocated())
        return;
    const HWND window = Handle();
    const int count = m_panels->Count();
    std::vector<int> rights;
    int right = 0;
    for (int i = 0; i < count; ++i) {
        right += m_panels->Items(i)->Width();
        rights.push_back(i + 1 == count ? -1 : right);
    }
    if (rights.empty())
        rights.push_back(-1);
    (void)SendMessageA(window, SB_SETPARTS, rights.size(), reinterpret_cast<LPARAM>(rights.data()));
    for (int i = 0; i < count; ++i)
        UpdatePanel(i);
    (void)SendMessageA(window, SB_SETTEXT, SB_SIMPLEID, reinterpret_cast<LPARAM>(m_simpleText.c_str()));
    (void)SendMessageA(window, SB_SIMPLE, m_simplePanel || count == 0, 0);
}

void TCustomStatusBar::UpdatePanel(int index)
{
    if (!HandleAllocated() || index < 0 || index >= m_panels->Count())
        return;
    const TStatusPanel& panel = *m_panels->Items(index);
    const std::string text = AlignedText(panel);
    const WPARAM part = static_cast<WPARAM>(index) | DrawingType(panel);
    const LPARAM data = panel.Style() == psOwnerDraw ? static_cast<LPARAM>(index) : reinterpret_cast<LPARAM>(text.c_str());
    (void)SendMessageA(Handle(), SB_SETTEXT, part, data);
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const TRect& rect)
{
    if (m_onDrawPanel)
        m_onDrawPanel(this, panel, rect);
    else
        m_canvas->FillRect(rect);
}

void TCustomStatusBar::DrawItem(const DRAWITEMSTRUCT& item)
{
    const auto id = static_cast<int>(item.itemID);
    if (id < 0 || id >= m_panels->Count())
        return;
    const SavedDC saved(item.hDC);
    m_canvas->SetHandle(item.hDC);
    m_canvas->Font()->Assign(Font());
    m_canvas->Brush()->SetColor(Color());
    DrawPanel(m_panels->Items(id), item.rcItem);
    m_canvas->SetHandle(nullptr);
}

void TCustomStatusBar::Dispatch(TMessage& message)
{
    switch (message.Msg) {
    case CN_DRAWITEM:
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam));
        message.Result = TRUE;
        return;
    case CM_FONTCHANGED:
        SendFont();
        break;
    default:
        break;
    }
    TWinControl::Dispatch(message);
}
