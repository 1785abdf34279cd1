#include "platform/classlib/core/FormReader.h"

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Strings.h"
#include "platform/rtl/Variant.h"

#include <mutex>

namespace {

constexpr const char* SInvalidPropertyValue = "Invalid property value";

// A reading error that already names its component, property and line.
RTL_DECLARE_EXCEPTION(ELocatedReadError, EReadError);

template <class F>
class THookList {
public:
    int Add(F hook)
    {
        std::lock_guard lock(m_mutex);
        m_hooks.push_back({++m_lastCookie, std::move(hook)});
        return m_lastCookie;
    }
    void Remove(int cookie)
    {
        std::lock_guard lock(m_mutex);
        std::erase_if(m_hooks, [cookie](const auto& entry) { return entry.first == cookie; });
    }
    std::vector<F> Snapshot()
    {
        std::lock_guard lock(m_mutex);
        std::vector<F> hooks;
        for (const auto& entry : m_hooks)
            hooks.push_back(entry.second);
        return hooks;
    }

private:
    std::mutex m_mutex;
    std::vector<std::pair<int, F>> m_hooks;
    int m_lastCookie = 0;
};

THookList<TReadInterceptor>& ReadInterceptors()
{
    static THookList<TReadInterceptor> hooks;
    return hooks;
}

THookList<TFindGlobalComponent>& GlobalFinders()
{
    static THookList<TFindGlobalComponent> hooks;
    return hooks;
}

TComponent* FindGlobalComponent(std::string_view name)
{
    for (const auto& finder : GlobalFinders().Snapshot())
        if (TComponent* found = finder(name))
            return found;
    return nullptr;
}

std::string ReadAll(TStream& stream)
{
    const std::int64_t remaining = stream.Size() - stream.Position();
    if (remaining < 0 || static_cast<std::uint64_t>(remaining) > MaxFormTextSize)
        throw EParserError("Form data larger than the limit on line 1");
    std::string text(static_cast<std::size_t>(remaining), '\0');
    stream.ReadBuffer(text.data(), text.size());
    return text;
}

std::string ComponentLabel(const TComponent& component)
{
    return component.Name().empty() ? component.ClassName() : component.Name();
}

TValueType ValueTypeOf(const TFormValue& value)
{
    switch (value.Kind) {
    case TFormValueKind::Integer:
        if (value.Integer >= INT8_MIN && value.Integer <= INT8_MAX)
            return vaInt8;
        if (value.Integer >= INT16_MIN && value.Integer <= INT16_MAX)
            return vaInt16;
        if (value.Integer >= INT32_MIN && value.Integer <= INT32_MAX)
            return vaInt32;
        return vaInt64;
    case TFormValueKind::Float:
        return vaExtended;
    case TFormValueKind::String:
        return value.Text.size() <= 255 ? vaString : vaLString;
    case TFormValueKind::Ident:
        if (SameText(value.Text, "True"))
            return vaTrue;
        if (SameText(value.Text, "False"))
            return vaFalse;
        if (SameText(value.Text, "nil"))
            return vaNil;
        return vaIdent;
    case TFormValueKind::Set:
        return vaSet;
    case TFormValueKind::List:
        return vaList;
    case TFormValueKind::Collection:
        return vaCollection;
    case TFormValueKind::Binary:
        return vaBinary;
    }
    return vaNull;
}

} // namespace

int RegisterReadInterceptor(TReadInterceptor interceptor) { return ReadInterceptors().Add(std::move(interceptor)); }
void UnregisterReadInterceptor(int cookie) { ReadInterceptors().Remove(cookie); }
int RegisterFindGlobalComponent(TFindGlobalComponent finder) { return GlobalFinders().Add(std::move(finder)); }
void UnregisterFindGlobalComponent(int cookie) { GlobalFinders().Remove(cookie); }

// Where the value cursor stands: on a single property value (taken or not), or inside a list,
// set or collection that ReadValue / ReadListBegin entered.
struct TReader::TFrame {
    const TFormValue* Value = nullptr;
    std::size_t Index = 0;
};

struct TReader::TFixup {
    TPersistent* Instance = nullptr;
    const TPropInfo* Prop = nullptr;
    std::string Name;
    std::string Context;
    int Line = 0;
};

TReader::TReader(std::string_view text) : m_tree(ParseFormText(text)) {}

TReader::TReader(TStream& stream) : TReader(std::string_view(ReadAll(stream))) {}

TReader::~TReader() = default;

void TReader::RaiseInvalidValue() { throw EReadError(SInvalidPropertyValue); }

TComponent* TReader::ReadRootComponent(TComponent* root)
{
    std::unique_ptr<TComponent> created;
    if (!root) {
        created.reset(CreateComponent(FindClass(m_tree.ClassName), nullptr));
        root = created.get();
    } else if (!root->ClassType()->ClassNameIs(m_tree.ClassName)) {
        TClass named = GetClass(m_tree.ClassName);
        if (!named || !root->InheritsFrom(named))
            throw EReadError(Format("Error reading %s on line %d: form data of class %s",
                                    {ComponentLabel(*root), m_tree.Line, m_tree.ClassName}));
    }
    SetRoot(root);
    m_owner = root;
    if (root->Name().empty() && !m_tree.Name.empty())
        root->SetName(m_tree.Name);
    ReadObject(m_tree, root, nullptr);
    ResolveFixups();
    for (TComponent* component : m_loaded)
        component->SetComponentStateFlag(csReading, false);
    for (TComponent* component : m_loaded)
        component->Loaded();
    created.release();
    return root;
}

void TReader::ReadObject(const TFormObject& node, TComponent* component, TComponent* enclosing)
{
    component->SetComponentStateFlag(csLoading, true);
    component->SetComponentStateFlag(csReading, true);
    m_loaded.push_back(component);
    m_parent = enclosing;
    m_owner = component->Owner();
    ReadProperties(*component, node.Properties, ComponentLabel(*component));
    for (const TFormObject& childNode : node.Children) {
        TComponent* child = CreateChild(childNode, component);
        ReadObject(childNode, child, component);
    }
}

TComponent* TReader::CreateChild(const TFormObject& node, TComponent* enclosing)
{
    TComponent* owner = enclosing->GetChildOwner();
    if (!owner)
        owner = Root();
    const auto fail = [&](const std::string& reason) {
        throw ELocatedReadError(Format("Error reading %s on line %d: %s",
                                       {node.Name.empty() ? node.ClassName : node.Name, node.Line, reason}));
    };
    TComponent* child = nullptr;
    if (node.Kind == TFormObjectKind::Inherited) {
        child = owner->FindComponent(node.Name);
        if (!child)
            fail(Format("Ancestor for '%s' not found", {node.Name}));
    } else {
        TClass childClass = GetClass(node.ClassName);
        if (!childClass)
            throw EClassNotFound(Format("Class %s not found on line %d", {node.ClassName, node.Line}));
        if (!childClass->InheritsFrom(TComponent::StaticClass()))
            fail(Format("%s is not a component class", {node.ClassName}));
        child = CreateComponent(childClass, owner);
        try {
            if (node.Kind == TFormObjectKind::Inline)
                child->SetComponentStateFlag(csInline, true);
            child->SetComponentStateFlag(csLoading, true);
            child->SetName(node.Name);
        } catch (const Exception& error) {
            delete child;
            fail(error.Message());
        }
    }
    if (child->HasParent())
        child->SetParentComponent(enclosing->GetChildParent());
    if (node.ChildPos)
        enclosing->SetChildOrder(child, static_cast<int>(*node.ChildPos));
    return child;
}

void TReader::ReadProperties(TPersistent& instance, const std::vector<TFormProperty>& properties,
                             const std::string& context)
{
    for (const TFormProperty& property : properties)
        ReadProperty(instance, property, context);
}

void TReader::ReadProperty(TPersistent& instance, const TFormProperty& property, const std::string& context)
{
    try {
        ApplyProperty(instance, property.Name, property.Value, context);
    } catch (const ELocatedReadError&) {
        throw;
    } catch (const Exception& error) {
        throw ELocatedReadError(Format("Error reading %s.%s on line %d: %s",
                                       {context, property.Name, property.Line, error.Message()}));
    }
}

void TReader::ApplyProperty(TPersistent& instance, const std::string& name, const TFormValue& value,
                            const std::string& context)
{
    // Walk "Font.Style" through the published objects as far as they go.
    TPersistent* target = &instance;
    std::string rest = name;
    for (std::size_t dot = rest.find('.'); dot != std::string::npos; dot = rest.find('.')) {
        const TPropInfo* prop = GetPropInfo(*target, std::string_view(rest).substr(0, dot));
        if (!prop || prop->Kind() != tkClass)
            break;
        auto* next = dynamic_cast<TPersistent*>(prop->GetObject(*target));
        if (!next)
            break;
        target = next;
        rest.erase(0, dot + 1);
    }
    BeginValue(value);
    m_propName = rest;
    if (!CallInterceptors(*target, rest)) {
        if (const TPropInfo* prop = GetPropInfo(*target, rest)) {
            ReadPropValue(*target, *prop, value, context);
        } else {
            m_defineHandled = false;
            target->DefineProperties(*this);
            if (!m_defineHandled)
                throw EReadError(Format("Property %s does not exist", {rest}));
        }
    }
    EndValue();
}

bool TReader::CallInterceptors(TPersistent& instance, const std::string& name)
{
    for (const auto& interceptor : ReadInterceptors().Snapshot())
        if (interceptor(instance, name, *this))
            return true;
    return false;
}

void TReader::DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc&, bool)
{
    if (m_defineHandled || !readData || !SameText(name, m_propName))
        return;
    m_defineHandled = true;
    readData(*this);
}

void TReader::DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc&, bool)
{
    if (m_defineHandled || !readData || !SameText(name, m_propName))
        return;
    m_defineHandled = true;
    const std::vector<std::uint8_t> bytes = ReadBinary();
    TMemoryStream stream;
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    readData(stream);
}

void TReader::ReadPropValue(TPersistent& instance, const TPropInfo& prop, const TFormValue& value,
                            const std::string& context)
{
    const TTypeInfo& type = *prop.PropType;
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64: {
        std::int64_t ordinal = 0;
        if (value.Kind == TFormValueKind::Ident) {
            if (!type.IdentToInt || !type.IdentToInt(TakeValue().Text, ordinal))
                RaiseInvalidValue();
        } else {
            ordinal = ReadInt64();
        }
        SetOrdProp(instance, prop, ordinal);
        break;
    }
    case tkChar:
        SetOrdProp(instance, prop, value.Kind == TFormValueKind::Integer ? ReadInt64() : static_cast<unsigned char>(ReadChar()));
        break;
    case tkEnumeration: {
        const int ordinal = GetEnumValue(type, ReadIdent());
        if (ordinal < 0)
            RaiseInvalidValue();
        SetOrdProp(instance, prop, ordinal);
        break;
    }
    case tkSet: {
        if (value.Kind != TFormValueKind::Set)
            RaiseInvalidValue();
        std::string members;
        for (const std::string& member : TakeValue().SetMembers)
            members += member + ",";
        SetOrdProp(instance, prop, static_cast<std::int64_t>(StringToSet(type, members)));
        break;
    }
    case tkFloat:
        SetFloatProp(instance, prop.Name, ReadFloat());
        break;
    case tkString:
        SetStrProp(instance, prop, ReadString());
        break;
    case tkClass: {
        const TValueType next = NextValue();
        if (next == vaNil) {
            SkipValue();
            SetObjectProp(instance, prop, nullptr);
        } else if (next == vaCollection) {
            auto* collection = dynamic_cast<TCollection*>(prop.GetObject(instance));
            if (!collection)
                RaiseInvalidValue();
            ReadCollectionValue(*collection, TakeValue(), context + "." + prop.Name);
        } else if (next == vaIdent && type.ClassType()->InheritsFrom(TComponent::StaticClass())) {
            m_fixups.push_back({&instance, &prop, TakeValue().Text, context, value.Line});
        } else {
            RaiseInvalidValue();
        }
        break;
    }
    case tkMethod: {
        const TValueType next = NextValue();
        if (next == vaNil) {
            SkipValue();
            SetMethodProp(instance, prop.Name, TMethod{});
            break;
        }
        const std::string methodName = ReadIdent();
        auto code = MethodAddress(Root()->ClassType(), methodName);
        if (!code)
            throw EReadError(Format("Method '%s' not found", {methodName}));
        SetMethodProp(instance, prop.Name, TMethod{Root(), std::move(code)});
        break;
    }
    case tkUnknown:
        RaiseInvalidValue();
    }
}

void TReader::ReadCollection(TCollection* collection)
{
    if (!collection)
        RaiseInvalidValue();
    const TFormValue* entered = nullptr;
    if (m_frames.size() > 1 && m_frames.back().Value->Kind == TFormValueKind::Collection) {
        entered = m_frames.back().Value;
        m_frames.pop_back();
    } else {
        entered = &TakeValue();
        if (entered->Kind != TFormValueKind::Collection)
            RaiseInvalidValue();
    }
    ReadCollectionValue(*collection, *entered, collection->GetNamePath());
}

void TReader::ReadCollectionValue(TCollection& collection, const TFormValue& value, const std::string& context)
{
    // Item values are read with their own cursor; the collection value itself counts as taken.
    std::vector<TFrame> saved = std::move(m_frames);
    m_frames.clear();
    const std::string savedName = m_propName;
    collection.BeginUpdate();
    try {
        collection.Clear();
        for (const TFormCollectionItem& itemNode : value.CollectionItems) {
            TCollectionItem* item = collection.Add();
            ReadProperties(*item, itemNode.Properties, Format("%s[%d]", {context, item->Index()}));
        }
    } catch (...) {
        collection.EndUpdate();
        m_frames = std::move(saved);
        throw;
    }
    collection.EndUpdate();
    m_frames = std::move(saved);
    m_propName = savedName;
}

void TReader::ResolveFixups()
{
    for (const TFixup& fixup : m_fixups) {
        TComponent* target = FindReference(fixup.Name);
        if (!target || !target->InheritsFrom(fixup.Prop->PropType->ClassType()))
            throw ELocatedReadError(Format("Error reading %s.%s on line %d: %s",
                                           {fixup.Context, fixup.Prop->Name, fixup.Line, SInvalidPropertyValue}));
        SetObjectProp(*fixup.Instance, *fixup.Prop, target);
    }
    m_fixups.clear();
}

TComponent* TReader::FindReference(const std::string& name) const
{
    const std::size_t dot = name.find('.');
    const std::string first = name.substr(0, dot);
    TComponent* base = nullptr;
    if (SameText(first, Root()->Name()))
        base = Root();
    else if (dot == std::string::npos)
        base = Root()->FindComponent(first);
    if (!base)
        base = FindGlobalComponent(first);
    if (!base || dot == std::string::npos)
        return base;
    return base->FindComponent(std::string_view(name).substr(dot + 1));
}

// ---- The value cursor ------------------------------------------------------------------------

void TReader::BeginValue(const TFormValue& value)
{
    m_frames.clear();
    m_frames.push_back({&value, 0});
}

void TReader::EndValue()
{
    // Whoever read the value must have taken all of it.
    if (m_frames.size() != 1 || m_frames.back().Index != 1)
        RaiseInvalidValue();
    m_frames.clear();
}

const TFormValue* TReader::PeekValue() const
{
    if (m_frames.empty())
        return nullptr;
    const TFrame& frame = m_frames.back();
    if (m_frames.size() == 1)
        return frame.Index == 0 ? frame.Value : nullptr;
    const auto& items = frame.Value->Items;
    return frame.Index < items.size() ? &items[frame.Index] : nullptr;
}

const TFormValue& TReader::TakeValue()
{
    const TFormValue* value = PeekValue();
    if (!value || (m_frames.size() > 1 && m_frames.back().Value->Kind != TFormValueKind::List))
        RaiseInvalidValue();
    ++m_frames.back().Index;
    return *value;
}

TValueType TReader::NextValue() const
{
    const TFormValue* value = PeekValue();
    return value ? ValueTypeOf(*value) : vaNull;
}

TValueType TReader::ReadValue()
{
    const TFormValue& value = TakeValue();
    const TValueType type = ValueTypeOf(value);
    if (type == vaList || type == vaSet || type == vaCollection)
        m_frames.push_back({&value, 0});
    return type;
}

void TReader::SkipValue() { static_cast<void>(TakeValue()); }

int TReader::ReadInteger()
{
    const std::int64_t value = ReadInt64();
    if (value < INT32_MIN || value > INT32_MAX)
        RaiseInvalidValue();
    return static_cast<int>(value);
}

std::int64_t TReader::ReadInt64()
{
    const TFormValue& value = TakeValue();
    if (value.Kind != TFormValueKind::Integer)
        RaiseInvalidValue();
    return value.Integer;
}

double TReader::ReadFloat()
{
    const TFormValue& value = TakeValue();
    if (value.Kind == TFormValueKind::Integer)
        return static_cast<double>(value.Integer);
    if (value.Kind != TFormValueKind::Float)
        RaiseInvalidValue();
    return value.Float;
}

std::string TReader::ReadString()
{
    const TFormValue& value = TakeValue();
    if (value.Kind != TFormValueKind::String)
        RaiseInvalidValue();
    return value.Text;
}

char TReader::ReadChar()
{
    const std::string text = ReadString();
    if (text.size() != 1)
        RaiseInvalidValue();
    return text[0];
}

std::string TReader::ReadIdent()
{
    const TFormValue& value = TakeValue();
    if (value.Kind != TFormValueKind::Ident)
        RaiseInvalidValue();
    return value.Text;
}

bool TReader::ReadBoolean()
{
    const TValueType type = NextValue();
    if (type != vaTrue && type != vaFalse)
        RaiseInvalidValue();
    SkipValue();
    return type == vaTrue;
}

Variant TReader::ReadVariant()
{
    switch (NextValue()) {
    case vaNil:
        SkipValue();
        return Unassigned();
    case vaIdent:
        if (!SameText(ReadIdent(), "Null"))
            RaiseInvalidValue();
        return Null();
    case vaFalse:
    case vaTrue:
        return ReadBoolean();
    case vaInt8:
    case vaInt16:
    case vaInt32:
        return ReadInteger();
    case vaInt64:
        return Variant(static_cast<long long>(ReadInt64()));
    case vaExtended:
        return ReadFloat();
    case vaString:
    case vaLString:
        return ReadString();
    case vaList: {
        ReadListBegin();
        std::vector<Variant> items;
        while (!EndOfList())
            items.push_back(ReadVariant());
        ReadListEnd();
        return VarArrayOf(items);
    }
    default:
        RaiseInvalidValue();
    }
}

std::string TReader::ReadStr()
{
    if (m_frames.size() > 1 && m_frames.back().Value->Kind == TFormValueKind::Set) {
        TFrame& frame = m_frames.back();
        const auto& members = frame.Value->SetMembers;
        if (frame.Index >= members.size()) {
            m_frames.pop_back();
            return {};
        }
        return members[frame.Index++];
    }
    return ReadIdent();
}

void TReader::ReadListBegin()
{
    if (NextValue() != vaList)
        RaiseInvalidValue();
    static_cast<void>(ReadValue());
}

bool TReader::EndOfList() const
{
    if (m_frames.size() < 2)
        return true;
    const TFrame& frame = m_frames.back();
    return frame.Index >= frame.Value->Items.size();
}

void TReader::ReadListEnd()
{
    if (m_frames.size() < 2 || m_frames.back().Value->Kind != TFormValueKind::List || !EndOfList())
        RaiseInvalidValue();
    m_frames.pop_back();
}

std::vector<std::uint8_t> TReader::ReadBinary()
{
    const TFormValue& value = TakeValue();
    if (value.Kind != TFormValueKind::Binary)
        RaiseInvalidValue();
    return {value.Text.begin(), value.Text.end()};
}

TComponent* ReadComponentText(std::string_view text, TComponent* root)
{
    TReader reader(text);
    return reader.ReadRootComponent(root);
}
