#include "platform/classlib/forms/Menus.h"

#include "platform/classlib/forms/Forms.h"
#include "platform/classlib/forms/GraphicsBitmap.h"
#include "platform/classlib/forms/ImgList.h"
#include "platform/rtl/Strings.h"
#include "platform/winapi/gdi/DrawHelpers.h"
#include "platform/winapi/gdi/Gdi.h"
#include "platform/winapi/gdi/GdiOwners.h"
#include "platform/winapi/gdi/Text.h"
#include "platform/winapi/display/VirtualKeys.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

void DescribeMenuItem(TClassBuilder& c)
{
    c.Boolean("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    c.Enum("AutoHotkeys", MenuItemAutoFlagTypeInfo(), &TMenuItem::AutoHotkeys, &TMenuItem::SetAutoHotkeys)
        .Default(maParent);
    c.Enum("AutoLineReduction", MenuItemAutoFlagTypeInfo(), &TMenuItem::AutoLineReduction,
           &TMenuItem::SetAutoLineReduction)
        .Default(maParent);
    c.Object("Bitmap", &TMenuItem::Bitmap, &TMenuItem::SetBitmap);
    c.Enum("Break", MenuBreakTypeInfo(), &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
    c.String("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    c.Boolean("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    c.Boolean("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    c.Boolean("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    c.Integer("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    c.Integer("HelpContext", &TMenuItem::HelpContext, &TMenuItem::SetHelpContext).Default(0);
    c.String("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    c.Integer("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    c.Boolean("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    c.Integer("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(0);
    c.Object("SubMenuImages", &TMenuItem::SubMenuImages, &TMenuItem::SetSubMenuImages);
    c.Boolean("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    c.Event("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick);
    c.Event("OnDrawItem", &TMenuItem::OnDrawItem, &TMenuItem::SetOnDrawItem);
    c.Event("OnMeasureItem", &TMenuItem::OnMeasureItem, &TMenuItem::SetOnMeasureItem);
}

void DescribeMenu(TClassBuilder& c)
{
    c.Object("Images", &TMenu::Images, &TMenu::SetImages);
    c.Boolean("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
}

void DescribePopupMenu(TClassBuilder& c)
{
    c.Enum("Alignment", PopupAlignmentTypeInfo(), &TPopupMenu::Alignment, &TPopupMenu::SetAlignment)
        .Default(paLeft);
    c.Boolean("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    c.Event("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
}

// Command numbers are WM_COMMAND's low word, unique among every item of the program (GUI thread).
// Never destroyed: the items of the application's forms are freed at exit, after the program's
// static objects.
std::vector<bool>& CommandsInUse()
{
    static auto* inUse = new std::vector<bool>(0x10000, false);
    return *inUse;
}

WORD AcquireCommand()
{
    std::vector<bool>& inUse = CommandsInUse();
    for (std::size_t command = 1; command < inUse.size(); ++command)
        if (!inUse[command]) {
            inUse[command] = true;
            return static_cast<WORD>(command);
        }
    throw EMenuError("Out of menu commands");
}

void ReleaseCommand(WORD command) { CommandsInUse()[command] = false; }

// Key names of shortcuts, as menus show them.
std::string KeyName(WORD key)
{
    static const std::array<std::pair<WORD, const char*>, 15> Named{{{VK_BACK, "BkSp"},
                                                                     {VK_TAB, "Tab"},
                                                                     {VK_RETURN, "Enter"},
                                                                     {VK_ESCAPE, "Esc"},
                                                                     {VK_SPACE, "Space"},
                                                                     {VK_PRIOR, "PgUp"},
                                                                     {VK_NEXT, "PgDn"},
                                                                     {VK_END, "End"},
                                                                     {VK_HOME, "Home"},
                                                                     {VK_LEFT, "Left"},
                                                                     {VK_UP, "Up"},
                                                                     {VK_RIGHT, "Right"},
                                                                     {VK_DOWN, "Down"},
                                                                     {VK_INSERT, "Ins"},
                                                                     {VK_DELETE, "Del"}}};
    for (const auto& [named, name] : Named)
        if (named == key)
            return name;
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
    if (key >= VK_F1 && key < VK_F1 + 24)
        return "F" + std::to_string(key - VK_F1 + 1);
    return {};
}

constexpr std::array<std::pair<TShortCut, const char*>, 3> Modifiers{
    {{scShift, "Shift+"}, {scCtrl, "Ctrl+"}, {scAlt, "Alt+"}}};

// The caption without its accelerator marks ("&&" is a plain '&').
std::string StripHotkey(std::string_view caption)
{
    std::string text;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size())
            ++i;
        else if (caption[i] == '&')
            continue;
        text += caption[i];
    }
    return text;
}

HFONT CreateMenuFont()
{
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof(metrics);
    (void)SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    return CreateFontIndirectA(&metrics.lfMenuFont);
}

// A canvas over `dc` in the menu font, giving the DC back as it was.
class TMenuCanvas : public TCanvas {
public:
    explicit TMenuCanvas(HDC dc) : m_font(CreateMenuFont()), m_saved(dc)
    {
        SetHandle(dc);
        Font()->SetHandle(m_font.Get());
    }
    ~TMenuCanvas() override { SetHandle(nullptr); }
    TMenuCanvas(const TMenuCanvas&) = delete;
    TMenuCanvas& operator=(const TMenuCanvas&) = delete;

private:
    // The font outlives the saved state, so that it is deleted only once the DC has let go of it.
    GdiObject<HFONT> m_font;
    SavedDC m_saved;
};

constexpr int GlyphMargin = 2;
constexpr int TextGap = 6;
constexpr int ShortCutGap = 16;
constexpr int SeparatorHeight = 8;
// The classic check mark's box.
constexpr int CheckSide = 13;

} // namespace

const TTypeInfo& MenuBreakTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TMenuBreak", {"mbNone", "mbBreak", "mbBarBreak"});
    return info;
}

const TTypeInfo& MenuItemAutoFlagTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TMenuItemAutoFlag", {"maAutomatic", "maManual", "maParent"});
    return info;
}

const TTypeInfo& PopupAlignmentTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TPopupAlignment", {"paLeft", "paRight", "paCenter"});
    return info;
}

TShortCut ShortCut(WORD key, TShiftState shift)
{
    if (key > 0xFF)
        return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

std::string ShortCutToText(TShortCut shortCut)
{
    const std::string name = KeyName(shortCut & 0xFF);
    if (name.empty())
        return {};
    std::string text;
    for (const auto& [modifier, prefix] : Modifiers)
        if ((shortCut & modifier) != 0)
            text += prefix;
    return text + name;
}

TShortCut TextToShortCut(std::string_view text)
{
    TShortCut modifiers = scNone;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [modifier, prefix] : Modifiers) {
            const std::string_view wanted(prefix);
            if (text.size() > wanted.size() && SameText(text.substr(0, wanted.size()), wanted)) {
                modifiers |= modifier;
                text.remove_prefix(wanted.size());
                found = true;
            }
        }
    }
    for (WORD key = VK_BACK; key <= 0xFF; ++key)
        if (const std::string name = KeyName(key); !name.empty() && SameText(name, text))
            return static_cast<TShortCut>(key | modifiers);
    return scNone;
}

// ---- TMenuItem -------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TMenuItem, TComponent, ComponentCreator<TMenuItem>, DescribeMenuItem)

TMenuItem::TMenuItem(TComponent* owner)
    : TComponent(owner), m_command(AcquireCommand()), m_bitmap(std::make_unique<TBitmap>())
{
}

TMenuItem::~TMenuItem()
{
    if (m_parent)
        m_parent->Remove(this);
    if (m_handle) {
        // Our items' pop-ups are freed by the items themselves.
        while (GetMenuItemCount(m_handle) > 0)
            (void)RemoveMenu(m_handle, 0, MF_BYPOSITION);
        (void)DestroyMenu(m_handle);
        m_handle = nullptr;
    }
    while (!m_items.empty())
        delete m_items.back();
    ReleaseCommand(m_command);
}

TMenuItem* TMenuItem::Items(int index) const
{
    if (index < 0 || index >= Count())
        throw EMenuError("Menu index out of range");
    return m_items[static_cast<std::size_t>(index)];
}

int TMenuItem::IndexOf(const TMenuItem* item) const
{
    const auto found = std::find(m_items.begin(), m_items.end(), item);
    return found == m_items.end() ? -1 : static_cast<int>(found - m_items.begin());
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int index, TMenuItem* item)
{
    if (!item)
        return;
    if (item->m_parent)
        throw EMenuError("Menu inserted twice");
    // An item inside itself would make every walk of the tree endless.
    for (const TMenuItem* above = this; above; above = above->m_parent)
        if (above == item)
            throw EMenuError("Menu inserted twice");
    if (index < 0 || index > Count())
        throw EMenuError("Menu index out of range");
    m_items.insert(m_items.begin() + index, item);
    item->m_parent = this;
    RebuildHandle();
}

void TMenuItem::Remove(TMenuItem* item)
{
    const int index = IndexOf(item);
    if (index < 0)
        throw EMenuError("Sub-menu is not in menu");
    m_items.erase(m_items.begin() + index);
    item->m_parent = nullptr;
    RebuildHandle();
}

void TMenuItem::Delete(int index) { delete Items(index); }

void TMenuItem::Clear()
{
    while (!m_items.empty())
        delete m_items.back();
}

int TMenuItem::MenuIndex() const { return m_parent ? m_parent->IndexOf(this) : -1; }

void TMenuItem::SetMenuIndex(int index)
{
    if (!m_parent)
        return;
    TMenuItem* parent = m_parent;
    index = std::clamp(index, 0, parent->Count() - 1);
    parent->m_items.erase(parent->m_items.begin() + MenuIndex());
    parent->m_items.insert(parent->m_items.begin() + index, this);
    parent->RebuildHandle();
}

TMenu* TMenuItem::GetParentMenu() const
{
    const TMenuItem* item = this;
    while (item->m_parent)
        item = item->m_parent;
    return item->m_menu;
}

TMenuItem* TMenuItem::Find(std::string_view caption) const
{
    const std::string wanted = StripHotkey(caption);
    for (TMenuItem* item : m_items)
        if (SameText(StripHotkey(item->m_caption), wanted))
            return item;
    return nullptr;
}

HMENU TMenuItem::Handle()
{
    if (!m_handle) {
        const bool bar = m_menu && !m_menu->m_popup;
        m_handle = bar ? CreateMenu() : CreatePopupMenu();
        for (TMenuItem* item : m_items)
            if (item->m_visible)
                item->AppendTo(m_handle);
    }
    return m_handle;
}

void TMenuItem::RebuildHandle()
{
    if (m_handle) {
        while (GetMenuItemCount(m_handle) > 0)
            (void)RemoveMenu(m_handle, 0, MF_BYPOSITION);
        for (TMenuItem* item : m_items)
            if (item->m_visible)
                item->AppendTo(m_handle);
    }
    if (m_menu)
        m_menu->MenuChanged();
}

void TMenuItem::AppendTo(HMENU menu)
{
    const TMenu* parentMenu = GetParentMenu();
    std::string text = m_caption;
    if (m_shortCut != scNone)
        text += "\t" + ShortCutToText(m_shortCut);
    MENUITEMINFOA info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU;
    info.fType = IsLine() ? MFT_SEPARATOR : MFT_STRING;
    if (parentMenu && parentMenu->IsOwnerDraw())
        info.fType |= MFT_OWNERDRAW;
    if (m_radioItem)
        info.fType |= MFT_RADIOCHECK;
    static constexpr UINT Breaks[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};
    info.fType |= Breaks[m_break];
    info.fState = (m_enabled ? MFS_ENABLED : MFS_GRAYED) | (m_checked ? MFS_CHECKED : 0u) |
                  (m_default ? MFS_DEFAULT : 0u);
    info.wID = m_command;
    info.hSubMenu = m_items.empty() ? nullptr : Handle();
    if (!IsLine()) {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
    }
    (void)InsertMenuItemA(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &info);
}

void TMenuItem::Changed()
{
    if (m_parent)
        m_parent->RebuildHandle();
}

void TMenuItem::SetCaption(const std::string& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    Changed();
}

void TMenuItem::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Changed();
}

void TMenuItem::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Changed();
}

void TMenuItem::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    m_checked = checked;
    if (checked && m_radioItem && m_parent)
        for (TMenuItem* sibling : m_parent->m_items)
            if (sibling != this && sibling->m_radioItem && sibling->m_groupIndex == m_groupIndex)
                sibling->m_checked = false;
    Changed();
}

void TMenuItem::SetBitmap(TBitmap* bitmap)
{
    m_bitmap->Assign(bitmap);
    Changed();
}

void TMenuItem::SetSubMenuImages(TCustomImageList* images)
{
    if (images == m_subMenuImages)
        return;
    if (m_subMenuImages)
        m_subMenuImages->RemoveFreeNotification(this);
    m_subMenuImages = images;
    if (m_subMenuImages)
        m_subMenuImages->FreeNotification(this);
    RebuildHandle();
}

void TMenuItem::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_subMenuImages)
        m_subMenuImages = nullptr;
}

TCustomImageList* TMenuItem::GlyphImages() const
{
    if (m_parent && m_parent->m_subMenuImages)
        return m_parent->m_subMenuImages;
    const TMenu* menu = GetParentMenu();
    return menu ? menu->Images() : nullptr;
}

void TMenuItem::SetRadioItem(bool radioItem)
{
    if (radioItem == m_radioItem)
        return;
    m_radioItem = radioItem;
    Changed();
}

void TMenuItem::SetDefault(bool isDefault)
{
    if (isDefault == m_default)
        return;
    m_default = isDefault;
    Changed();
}

void TMenuItem::SetBreak(TMenuBreak value)
{
    if (value == m_break)
        return;
    m_break = value;
    Changed();
}

void TMenuItem::SetImageIndex(int index)
{
    if (index == m_imageIndex)
        return;
    m_imageIndex = index;
    Changed();
}

void TMenuItem::SetShortCut(TShortCut shortCut)
{
    if (shortCut == m_shortCut)
        return;
    m_shortCut = shortCut;
    Changed();
}

void TMenuItem::Click()
{
    if (!m_enabled)
        return;
    if (m_autoCheck)
        SetChecked(!m_checked);
    // The handler may free the item (or its whole menu); the copy keeps the handler alive.
    const TNotifyEvent handler = m_onClick;
    handler(this);
}

void TMenuItem::MeasureItem(TCanvas* canvas, int& width, int& height)
{
    if (IsLine()) {
        width = 0;
        height = SeparatorHeight;
    } else {
        const TCustomImageList* images = GlyphImages();
        const int glyph = images ? images->Width() : std::max(CheckSide, m_bitmap->Width());
        const int glyphHeight = images ? images->Height() : m_bitmap->Height();
        const SIZE text = canvas->TextExtent(StripHotkey(m_caption));
        width = GlyphMargin + glyph + TextGap + text.cx + TextGap;
        if (m_shortCut != scNone)
            width += ShortCutGap + canvas->TextWidth(ShortCutToText(m_shortCut));
        height = std::max<int>(text.cy + 4, glyphHeight + 2 * GlyphMargin);
    }
    if (m_onMeasureItem.Assigned())
        m_onMeasureItem(this, canvas, width, height);
}

void TMenuItem::DrawItem(TCanvas* canvas, const TRect& rect, bool selected)
{
    if (m_onDrawItem.Assigned())
        m_onDrawItem(this, canvas, rect, selected);
    else
        DrawDefault(canvas, rect, selected);
}

// The classic look: highlight bar, glyph (or check mark) at the left, caption with its
// accelerator underlined, shortcut at the right, and embossed grey text when disabled.
void TMenuItem::DrawDefault(TCanvas* canvas, const TRect& rect, bool selected)
{
    canvas->Brush()->SetColor(selected ? clHighlight : clMenu);
    canvas->FillRect(rect);
    HDC dc = canvas->Handle();
    if (IsLine()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        (void)DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    TCustomImageList* images = GlyphImages();
    const int glyphWidth = images ? images->Width() : std::max(CheckSide, m_bitmap->Width());
    const int height = rect.bottom - rect.top;
    if (images && m_imageIndex >= 0 && m_imageIndex < images->Count()) {
        images->Draw(canvas, rect.left + GlyphMargin, rect.top + (height - images->Height()) / 2, m_imageIndex,
                     m_enabled);
        if (m_checked) {
            RECT frame{rect.left, rect.top, rect.left + glyphWidth + 2 * GlyphMargin, rect.bottom};
            (void)DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        }
    } else if (!m_bitmap->Empty()) {
        canvas->Draw(rect.left + GlyphMargin, rect.top + (height - m_bitmap->Height()) / 2, m_bitmap.get());
    } else if (m_checked) {
        const int side = CheckSide;
        RECT mark{rect.left + GlyphMargin, rect.top + (height - side) / 2, rect.left + GlyphMargin + side,
                  rect.top + (height - side) / 2 + side};
        (void)DrawFrameControl(dc, &mark, DFC_MENU, m_radioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }

    RECT text{rect.left + GlyphMargin + glyphWidth + TextGap, rect.top, rect.right - TextGap, rect.bottom};
    const std::string shortCut = m_shortCut != scNone ? ShortCutToText(m_shortCut) : std::string();
    const auto drawText = [&](RECT area, COLORREF colour) {
        (void)SetTextColor(dc, colour);
        (void)DrawTextA(dc, m_caption.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        if (!shortCut.empty())
            (void)DrawTextA(dc, shortCut.c_str(), -1, &area, DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    };
    (void)SetBkMode(dc, TRANSPARENT);
    if (m_enabled) {
        drawText(text, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    } else if (selected) {
        drawText(text, GetSysColor(COLOR_GRAYTEXT));
    } else {
        drawText(RECT{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1}, GetSysColor(COLOR_BTNHIGHLIGHT));
        drawText(text, GetSysColor(COLOR_BTNSHADOW));
    }
}

TComponent* TMenuItem::GetParentComponent() const
{
    if (m_parent && m_parent->m_menu)
        return m_parent->m_menu;
    return m_parent;
}

void TMenuItem::SetParentComponent(TComponent* parent)
{
    if (m_parent)
        m_parent->Remove(this);
    if (auto* menu = dynamic_cast<TMenu*>(parent))
        menu->Items()->Add(this);
    else if (auto* item = dynamic_cast<TMenuItem*>(parent))
        item->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* /*root*/)
{
    for (TMenuItem* item : m_items)
        proc(item);
}

void TMenuItem::SetChildOrder(TComponent* child, int order)
{
    if (auto* item = dynamic_cast<TMenuItem*>(child); item && item->m_parent == this)
        item->SetMenuIndex(order);
}

// ---- TMenu -----------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TMenu, TComponent, nullptr, DescribeMenu)

TMenu::TMenu(TComponent* owner, bool popup)
    : TComponent(owner),
      m_items(std::make_unique<TMenuItem>(nullptr)),
      m_images(*this, [this] { ImageListChanged(this); }),
      m_popup(popup)
{
    m_items->m_menu = this;
}

TMenu::~TMenu() { m_items.reset(); }

void TMenu::SetImages(TCustomImageList* images) { m_images.SetList(images); }

void TMenu::SetOwnerDraw(bool ownerDraw)
{
    if (ownerDraw == m_ownerDraw)
        return;
    m_ownerDraw = ownerDraw;
    ImageListChanged(this);
}

void TMenu::ImageListChanged(TObject*)
{
    // The owner-draw type of every item follows; rebuild the whole tree.
    std::vector<TMenuItem*> pending{m_items.get()};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        item->RebuildHandle();
        pending.insert(pending.end(), item->m_items.begin(), item->m_items.end());
    }
}

void TMenu::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    m_images.Forget(component, operation);
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const
{
    std::vector<TMenuItem*> pending(m_items->m_items.rbegin(), m_items->m_items.rend());
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        const bool match = (kind == fkCommand && item->m_command == value) ||
                           (kind == fkHandle && item->m_handle &&
                            reinterpret_cast<UINT_PTR>(item->m_handle) == value) ||
                           (kind == fkShortCut && item->m_shortCut != scNone && item->m_shortCut == value);
        if (match)
            return item;
        pending.insert(pending.end(), item->m_items.rbegin(), item->m_items.rend());
    }
    return nullptr;
}

bool TMenu::DispatchCommand(WORD command)
{
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item)
        return false;
    item->Click();
    return true;
}

bool TMenu::IsShortCut(WORD key, TShiftState shift)
{
    const TShortCut shortCut = ::ShortCut(key, shift);
    TMenuItem* item = shortCut == scNone ? nullptr : FindItem(shortCut, fkShortCut);
    if (!item || !item->Enabled() || !item->Visible())
        return false;
    item->Click();
    return true;
}

bool TMenu::DispatchMenuMessage(TMessage& message)
{
    switch (message.Msg) {
    case WM_COMMAND:
        if (HIWORD(message.WParam) != 0 || message.LParam != 0)
            return false;
        return DispatchCommand(LOWORD(message.WParam));
    case WM_INITMENUPOPUP:
        // Opening a submenu clicks its item, so that its handler can set up the items first.
        if (TMenuItem* item = FindItem(message.WParam, fkHandle)) {
            item->Click();
            return true;
        }
        return false;
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (!measure || measure->CtlType != ODT_MENU || !FindItem(measure->itemID, fkCommand))
            return false;
        MeasureMessage(*measure);
        message.Result = TRUE;
        return true;
    }
    case WM_DRAWITEM: {
        const auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
        if (!draw || draw->CtlType != ODT_MENU || !FindItem(draw->itemID, fkCommand))
            return false;
        DrawMessage(*draw);
        message.Result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

void TMenu::MeasureMessage(MEASUREITEMSTRUCT& measure)
{
    TMenuItem* item = FindItem(measure.itemID, fkCommand);
    const HDC dc = GetDC(nullptr);
    {
        TMenuCanvas canvas(dc);
        int width = static_cast<int>(measure.itemWidth);
        int height = static_cast<int>(measure.itemHeight);
        item->MeasureItem(&canvas, width, height);
        measure.itemWidth = static_cast<UINT>(std::max(width, 0));
        measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    }
    (void)ReleaseDC(nullptr, dc);
}

void TMenu::DrawMessage(const DRAWITEMSTRUCT& draw)
{
    TMenuItem* item = FindItem(draw.itemID, fkCommand);
    TMenuCanvas canvas(draw.hDC);
    item->DrawItem(&canvas, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    for (TMenuItem* item : m_items->m_items)
        if (item->Owner() == root)
            proc(item);
}

void TMenu::SetChildOrder(TComponent* child, int order) { m_items->SetChildOrder(child, order); }

// ---- TMainMenu -------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TMainMenu, TMenu, ComponentCreator<TMainMenu>, nullptr)

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner, false) {}

// The window must not keep showing a menu that is going away.
TMainMenu::~TMainMenu()
{
    if (m_window && IsWindow(m_window) && GetMenu(m_window) == Handle())
        (void)SetMenu(m_window, nullptr);
}

void TMainMenu::SetWindowHandle(HWND window)
{
    m_window = window;
    if (m_window)
        (void)SetMenu(m_window, Handle());
}

void TMainMenu::MenuChanged()
{
    if (!m_window)
        return;
    // Whoever draws the window's bar in its place (a skin) hears of the change first.
    (void)SendMessageA(m_window, CM_MENUCHANGED, 0, 0);
    (void)DrawMenuBar(m_window);
}

// ---- TPopupMenu ------------------------------------------------------------------------------

CLASSLIB_IMPLEMENT_CLASS(TPopupMenu, TMenu, ComponentCreator<TPopupMenu>, DescribePopupMenu)

TPopupMenu::TPopupMenu(TComponent* owner)
    : TMenu(owner, true), m_window(AllocateHWnd([this](TMessage& message) { WndProc(message); }))
{
}

TPopupMenu::~TPopupMenu()
{
    if (m_window)
        DeallocateHWnd(m_window);
}

void TPopupMenu::SetPopupComponent(TComponent* component)
{
    if (component == m_popupComponent)
        return;
    if (m_popupComponent)
        m_popupComponent->RemoveFreeNotification(this);
    m_popupComponent = component;
    if (m_popupComponent)
        m_popupComponent->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation)
{
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == m_popupComponent)
        m_popupComponent = nullptr;
}

void TPopupMenu::Popup(int x, int y)
{
    static constexpr UINT Alignments[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};
    m_popupPoint = TPoint{x, y};
    DoPopup(this);
    if (Items()->Count() == 0)
        return;
    (void)TrackPopupMenu(Handle(), Alignments[m_alignment] | TPM_RIGHTBUTTON, x, y, 0, m_window, nullptr);
}

void TPopupMenu::WndProc(TMessage& message)
{
    try {
        if (DispatchMenuMessage(message))
            return;
    } catch (...) {
        Application->HandleException(this);
        return;
    }
    message.Result = DefWindowProcA(m_window, message.Msg, message.WParam, message.LParam);
}

void RegisterMenuClasses()
{
    RegisterClasses({TMainMenu::StaticClass(), TPopupMenu::StaticClass(), TMenuItem::StaticClass()});
}
