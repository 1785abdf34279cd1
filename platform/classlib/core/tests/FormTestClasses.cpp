#include "FormTestClasses.h"

#include "platform/classlib/core/FormReader.h"
#include "platform/classlib/core/FormWriter.h"
#include "platform/classlib/core/Streams.h"

#include <algorithm>

const TTypeInfo& TestAlignTypeInfo()
{
    static const TTypeInfo info = EnumerationTypeInfo("TTestAlign", {"taNone", "taLeft", "taRight"});
    return info;
}

const TTypeInfo& TestStylesTypeInfo()
{
    static const TTypeInfo style = EnumerationTypeInfo("TTestStyle", {"tsBold", "tsItalic", "tsUnderline"});
    static const TTypeInfo info = SetTypeInfo("TTestStyles", style);
    return info;
}

std::vector<std::string>& LoadedLog()
{
    static std::vector<std::string> log;
    return log;
}

// ---- TTestFont -------------------------------------------------------------------------------

namespace {

void DescribeFont(TClassBuilder& c)
{
    c.String("Name", &TTestFont::Name, &TTestFont::SetName);
    c.Integer("Size", &TTestFont::Size, &TTestFont::SetSize).Default(8);
    c.Ordinal("Color", ColorTypeInfo(), &TTestFont::Color, &TTestFont::SetColor).Default(clWindowText);
    c.Set("Style", TestStylesTypeInfo(), &TTestFont::Style, &TTestFont::SetStyle).Default(TTestStyles{});
}

void DescribeItem(TClassBuilder& c)
{
    c.String("Caption", &TTestItem::Caption, &TTestItem::SetCaption);
    c.Integer("Width", &TTestItem::Width, &TTestItem::SetWidth).Default(64);
}

void DescribeControl(TClassBuilder& c)
{
    c.Integer("Left", &TTestControl::Left, &TTestControl::SetLeft);
    c.Integer("Width", &TTestControl::Width, &TTestControl::SetWidth).Default(75);
    c.Boolean("Visible", &TTestControl::Visible, &TTestControl::SetVisible).Default(true);
    c.Enum("Align", TestAlignTypeInfo(), &TTestControl::Align, &TTestControl::SetAlign).Default(taNone);
    c.String("Caption", &TTestControl::Caption, &TTestControl::SetCaption);
    c.Float("Ratio", &TTestControl::Ratio, &TTestControl::SetRatio);
    c.Ordinal("Letter", CharTypeInfo(), &TTestControl::Letter, &TTestControl::SetLetter).Default('A');
    c.Ordinal("Color", ColorTypeInfo(), &TTestControl::Color, &TTestControl::SetColor)
        .Default(clBtnFace)
        .StoredWhen(&TTestControl::IsColorStored);
    c.Boolean("ParentColor", &TTestControl::ParentColor, &TTestControl::SetParentColor).Default(false);
    c.Object("Font", &TTestControl::Font, &TTestControl::SetFont);
    c.Object("Lines", &TTestControl::Lines, &TTestControl::SetLines);
    c.Object("Items", &TTestControl::Items, &TTestControl::SetItems);
    c.Object("Buddy", &TTestControl::Buddy, &TTestControl::SetBuddy);
    c.Event("OnClick", &TTestControl::OnClick, &TTestControl::SetOnClick);
}

void DescribeTimer(TClassBuilder& c)
{
    c.Integer("Interval", &TTestTimer::Interval, &TTestTimer::SetInterval).Default(1000);
    c.Event("OnTimer", &TTestTimer::OnTimer, &TTestTimer::SetOnTimer);
}

void DescribeForm(TClassBuilder& c)
{
    c.Method("ButtonClick", &TTestForm::ButtonClick);
    c.Method("TimerFired", &TTestForm::TimerFired);
    c.Method("KeyHandler", &TTestForm::KeyHandler);
    c.Field("Button1", &TTestForm::Button1);
    c.Field("Timer1", &TTestForm::Timer1);
}

} // namespace

CLASSLIB_IMPLEMENT_CLASS(TTestFont, TPersistent, DefaultCreator<TTestFont>, DescribeFont)
CLASSLIB_IMPLEMENT_CLASS(TTestItem, TCollectionItem, CollectionItemCreator<TTestItem>, DescribeItem)
CLASSLIB_IMPLEMENT_CLASS(TTestControl, TComponent, ComponentCreator<TTestControl>, DescribeControl)
CLASSLIB_IMPLEMENT_CLASS(TTestTimer, TComponent, ComponentCreator<TTestTimer>, DescribeTimer)
CLASSLIB_IMPLEMENT_CLASS(TTestForm, TTestControl, ComponentCreator<TTestForm>, DescribeForm)

void TTestFont::Assign(const TPersistent* source)
{
    if (const auto* font = dynamic_cast<const TTestFont*>(source)) {
        m_name = font->m_name;
        m_size = font->m_size;
        m_color = font->m_color;
        m_style = font->m_style;
        return;
    }
    TPersistent::Assign(source);
}

void TTestItem::Assign(const TPersistent* source)
{
    if (const auto* item = dynamic_cast<const TTestItem*>(source)) {
        m_caption = item->m_caption;
        m_width = item->m_width;
        return;
    }
    TCollectionItem::Assign(source);
}

// ---- TTestControl ----------------------------------------------------------------------------

TTestControl::TTestControl(TComponent* owner)
    : TComponent(owner),
      m_font(std::make_unique<TTestFont>()),
      m_lines(std::make_unique<TStringList>()),
      m_items(std::make_unique<TOwnedCollection>(this, TTestItem::StaticClass()))
{
}

TTestControl::~TTestControl()
{
    SetParent(nullptr);
    for (TTestControl* child : m_children)
        child->m_parent = nullptr;
}

void TTestControl::SetBuddy(TTestControl* buddy)
{
    if (m_buddy)
        m_buddy->RemoveFreeNotification(this);
    m_buddy = buddy;
    if (m_buddy)
        m_buddy->FreeNotification(this);
}

void TTestControl::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == m_buddy)
        m_buddy = nullptr;
}

void TTestControl::SetParent(TTestControl* parent)
{
    if (m_parent)
        std::erase(m_parent->m_children, this);
    m_parent = parent;
    if (m_parent)
        m_parent->m_children.push_back(this);
}

void TTestControl::SetParentComponent(TComponent* parent) { SetParent(dynamic_cast<TTestControl*>(parent)); }

void TTestControl::GetChildren(const TGetChildProc& proc, TComponent*)
{
    for (TTestControl* child : m_children)
        proc(child);
}

void TTestControl::SetChildOrder(TComponent* child, int order)
{
    auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end())
        return;
    m_children.erase(found);
    const auto index = std::min<std::size_t>(static_cast<std::size_t>(std::max(order, 0)), m_children.size());
    m_children.insert(m_children.begin() + static_cast<std::ptrdiff_t>(index), static_cast<TTestControl*>(child));
}

void TTestControl::DefineProperties(TFiler& filer)
{
    TComponent::DefineProperties(filer);
    // An obsolete name older form data still carries; read, never written.
    filer.DefineProperty("OldWidth", [this](TReader& reader) { m_width = reader.ReadInteger(); }, nullptr, false);
    filer.DefineProperty(
        "Weights",
        [this](TReader& reader) {
            Weights.clear();
            reader.ReadListBegin();
            while (!reader.EndOfList())
                Weights.push_back(reader.ReadInteger());
            reader.ReadListEnd();
        },
        [this](TWriter& writer) {
            writer.WriteListBegin();
            for (const int weight : Weights)
                writer.WriteInteger(weight);
            writer.WriteListEnd();
        },
        !Weights.empty());
    filer.DefineBinaryProperty(
        "Blob",
        [this](TStream& stream) {
            Blob.resize(static_cast<std::size_t>(stream.Size()));
            stream.ReadBuffer(Blob.data(), Blob.size());
        },
        [this](TStream& stream) { stream.WriteBuffer(Blob.data(), Blob.size()); }, !Blob.empty());
}

void TTestControl::Loaded()
{
    TComponent::Loaded();
    LoadedLog().push_back(Name());
}

void TTestTimer::Loaded()
{
    TComponent::Loaded();
    LoadedLog().push_back(Name());
}

void TTestForm::GetChildren(const TGetChildProc& proc, TComponent* root)
{
    TComponent::GetChildren(proc, root);
    TTestControl::GetChildren(proc, root);
}

void RegisterTestClasses()
{
    RegisterClasses({TTestControl::StaticClass(), TTestTimer::StaticClass(), TTestForm::StaticClass()});
}
