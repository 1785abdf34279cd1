#include "platform/classlib/core/FormWriter.h"

#include "platform/classlib/core/Collections.h"
#include "platform/classlib/core/Components.h"
#include "platform/classlib/core/Streams.h"
#include "platform/rtl/Variant.h"

#include <charconv>
#include <cmath>

namespace {

constexpr int IndentStep = 2;
constexpr std::size_t BinaryBytesPerLine = 32;

bool IsOrdinal(TTypeKind kind)
{
    return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkSet || kind == tkInt64;
}

// Printable runs in quotes, control characters as #nn: 'a'#13#10'b'.
std::string QuoteString(std::string_view value)
{
    if (value.empty())
        return "''";
    std::string text;
    bool quoted = false;
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < ' ') {
            if (quoted)
                text += '\'';
            quoted = false;
            text += '#' + std::to_string(byte);
            continue;
        }
        if (!quoted)
            text += '\'';
        quoted = true;
        text += c;
        if (c == '\'')
            text += '\'';
    }
    if (quoted)
        text += '\'';
    return text;
}

std::vector<std::string> SetMembers(const TTypeInfo& setType, std::uint64_t bits)
{
    std::vector<std::string> members;
    const std::vector<std::string>& names = setType.CompType->EnumNames;
    for (std::size_t i = 0; i < names.size() && i < 64; ++i)
        if (bits & (std::uint64_t{1} << i))
            members.push_back(names[i]);
    return members;
}

std::string FloatText(double value)
{
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".eE") == std::string::npos)
        text += ".0";
    return text;
}

} // namespace

void TWriter::WriteRootComponent(TComponent* root)
{
    SetRoot(root);
    WriteComponent(root);
    m_text += '\n';
}

void TWriter::WriteComponent(TComponent* component)
{
    component->SetComponentStateFlag(csWriting, true);
    if (!m_text.empty())
        NewLine(m_indent);
    m_text += "object ";
    if (!component->Name().empty())
        m_text += component->Name() + ": ";
    m_text += component->ClassName();
    m_indent += IndentStep;
    try {
        WriteProperties(*component, {});
        component->GetChildren([this](TComponent* child) { WriteComponent(child); }, Root());
    } catch (...) {
        component->SetComponentStateFlag(csWriting, false);
        throw;
    }
    m_indent -= IndentStep;
    NewLine(m_indent);
    m_text += "end";
    component->SetComponentStateFlag(csWriting, false);
}

void TWriter::WriteProperties(TPersistent& instance, const std::string& prefix)
{
    for (const TPropInfo* prop : GetPropList(instance.ClassType()))
        if (prop->IsStored(instance))
            WriteProperty(instance, *prop, prefix);
    const std::string savedPrefix = m_prefix;
    m_prefix = prefix;
    instance.DefineProperties(*this);
    m_prefix = savedPrefix;
}

void TWriter::WriteProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix)
{
    const TTypeKind kind = prop.Kind();
    if (kind == tkClass) {
        WriteObjectProperty(instance, prop, prefix);
        return;
    }
    if (!prop.Writable())
        return;
    const std::string name = prefix + prop.Name;
    if (IsOrdinal(kind)) {
        const std::int64_t value = prop.GetOrd(instance);
        if (prop.Default && *prop.Default == value)
            return;
        WritePropName(name);
        const TTypeInfo& type = *prop.PropType;
        std::string ident;
        if (kind == tkEnumeration)
            WriteIdent(GetEnumName(type, value));
        else if (kind == tkSet)
            WriteSet(SetMembers(type, static_cast<std::uint64_t>(value)));
        else if (kind == tkChar)
            WriteChar(static_cast<char>(value));
        else if (type.IntToIdent && type.IntToIdent(value, ident))
            WriteIdent(ident);
        else
            WriteInteger(value);
    } else if (kind == tkString) {
        const std::string value = prop.GetStr(instance);
        if (!value.empty()) {
            WritePropName(name);
            WriteString(value);
        }
    } else if (kind == tkFloat) {
        const double value = prop.GetFloat(instance);
        if (value != 0) {
            WritePropName(name);
            WriteFloat(value);
        }
    } else if (kind == tkMethod) {
        WriteEventProperty(instance, prop, prefix);
    }
}

void TWriter::WriteObjectProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix)
{
    TObject* object = prop.GetObject(instance);
    if (!object)
        return;
    const std::string name = prefix + prop.Name;
    if (auto* component = dynamic_cast<TComponent*>(object)) {
        const std::string reference = ReferenceName(*component);
        if (!reference.empty()) {
            WritePropName(name);
            WriteIdent(reference);
        }
    } else if (auto* collection = dynamic_cast<TCollection*>(object)) {
        if (collection->Count() > 0) {
            WritePropName(name);
            WriteCollection(collection);
        }
    } else if (auto* persistent = dynamic_cast<TPersistent*>(object)) {
        WriteProperties(*persistent, name + ".");
    }
}

void TWriter::WriteEventProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix)
{
    const TMethod method = prop.GetMethod(instance);
    // Only methods of the form itself can be named in its form data.
    if (!method.Assigned() || method.Data != static_cast<TObject*>(Root()))
        return;
    const std::string methodName = MethodName(Root()->ClassType(), *method.Code);
    if (methodName.empty())
        return;
    WritePropName(prefix + prop.Name);
    WriteIdent(methodName);
}

std::string TWriter::ReferenceName(const TComponent& component) const
{
    if (component.Name().empty())
        return {};
    if (&component == Root() || component.Owner() == Root())
        return component.Name();
    const TComponent* owner = component.Owner();
    if (!owner || owner->Name().empty())
        return {};
    return owner->Name() + "." + component.Name();
}

void TWriter::DefineProperty(const std::string& name, const TReaderProc&, const TWriterProc& writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    WritePropName(m_prefix + name);
    writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string& name, const TStreamProc&, const TStreamProc& writeData,
                                   bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream stream;
    writeData(stream);
    WritePropName(m_prefix + name);
    WriteBinary({stream.Memory(), static_cast<std::size_t>(stream.Size())});
}

// ---- Values ----------------------------------------------------------------------------------

void TWriter::NewLine(int indent)
{
    m_text += '\n';
    m_text.append(static_cast<std::size_t>(indent), ' ');
}

void TWriter::WritePropName(const std::string& name)
{
    m_lists.clear();
    NewLine(m_indent);
    m_text += name + " = ";
}

void TWriter::BeginValue()
{
    if (!m_lists.empty())
        NewLine(m_lists.back());
}

void TWriter::WriteInteger(std::int64_t value)
{
    BeginValue();
    m_text += std::to_string(value);
}

void TWriter::WriteFloat(double value)
{
    BeginValue();
    m_text += FloatText(value);
}

void TWriter::WriteString(std::string_view value)
{
    BeginValue();
    m_text += QuoteString(value);
}

void TWriter::WriteChar(char value) { WriteString(std::string_view(&value, 1)); }

void TWriter::WriteIdent(std::string_view ident)
{
    BeginValue();
    m_text += ident;
}

void TWriter::WriteBoolean(bool value) { WriteIdent(value ? "True" : "False"); }

void TWriter::WriteVariant(const Variant& value)
{
    if (VarIsArray(value)) {
        WriteListBegin();
        for (int i = value.LowBound(); i <= value.HighBound(); ++i)
            WriteVariant(value.Element(i));
        WriteListEnd();
        return;
    }
    switch (VarType(value)) {
    case varEmpty:
        WriteIdent("nil");
        break;
    case varNull:
        WriteIdent("Null");
        break;
    case varBoolean:
        WriteBoolean(value.ToBoolean());
        break;
    case varInteger:
    case varInt64:
        WriteInteger(value.ToInt64());
        break;
    case varString:
        WriteString(value.ToString());
        break;
    default:
        WriteFloat(value.ToDouble());
    }
}

void TWriter::WriteSet(const std::vector<std::string>& members)
{
    BeginValue();
    m_text += '[';
    for (std::size_t i = 0; i < members.size(); ++i)
        m_text += (i ? ", " : "") + members[i];
    m_text += ']';
}

void TWriter::WriteListBegin()
{
    BeginValue();
    m_text += '(';
    m_lists.push_back((m_lists.empty() ? m_indent : m_lists.back()) + IndentStep);
}

void TWriter::WriteListEnd()
{
    m_text += ')';
    if (!m_lists.empty())
        m_lists.pop_back();
}

void TWriter::WriteCollection(const TCollection* collection)
{
    BeginValue();
    m_text += '<';
    const std::vector<int> savedLists = std::move(m_lists);
    const int savedIndent = m_indent;
    const int itemIndent = (savedLists.empty() ? m_indent : savedLists.back()) + IndentStep;
    for (int i = 0; collection && i < collection->Count(); ++i) {
        NewLine(itemIndent);
        m_text += "item";
        m_indent = itemIndent + IndentStep;
        m_lists.clear();
        WriteProperties(*collection->Items(i), {});
        NewLine(itemIndent);
        m_text += "end";
    }
    m_indent = savedIndent;
    m_lists = savedLists;
    m_text += '>';
}

void TWriter::WriteBinary(std::span<const std::uint8_t> bytes)
{
    static constexpr char HexDigits[] = "0123456789ABCDEF";
    BeginValue();
    m_text += '{';
    const int lineIndent = (m_lists.empty() ? m_indent : m_lists.back()) + IndentStep;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i % BinaryBytesPerLine == 0)
            NewLine(lineIndent);
        m_text += HexDigits[bytes[i] >> 4];
        m_text += HexDigits[bytes[i] & 0x0F];
    }
    m_text += '}';
}

std::string WriteComponentText(TComponent* root)
{
    TWriter writer;
    writer.WriteRootComponent(root);
    return writer.Text();
}
