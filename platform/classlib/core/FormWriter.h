#pragma once

#include "platform/classlib/core/Filer.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class Variant;
class TCollection;
class TComponent;
class TObject;
class TPersistent;
struct TPropInfo;

// Writes components as form data in the text notation TReader reads (see FormParser.h):
// "object Name: TClass", its properties, then its children, "end". A property is written when
// it is stored (its stored-when rule) and differs from its default: ordinals unless equal to
// their default, strings unless empty, floats unless zero, events bound to a published method
// of the root, component references by name ("Form2.Edit1" for another form's), nested objects
// property by property ("Font.Name"), collections unless empty; then what DefineProperties
// defines with data. Read-only properties are written only when they hold an object.
// Children are what GetChildren lists: the root's parentless components, and whatever a
// component lists as its children.
class TWriter : public TFiler {
public:
    TWriter() = default;

    void WriteRootComponent(TComponent* root);
    [[nodiscard]] const std::string& Text() const { return m_text; }

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    // Values, for DefineProperties writers. Each writes one value of the property being written,
    // or one element inside a list.
    void WriteInteger(std::int64_t value);
    void WriteFloat(double value);
    void WriteString(std::string_view value);
    void WriteChar(char value);
    void WriteIdent(std::string_view ident);
    void WriteBoolean(bool value);
    // As TReader::ReadVariant reads it back; dates, currencies and doubles as floats.
    void WriteVariant(const Variant& value);
    void WriteSet(const std::vector<std::string>& members);
    void WriteListBegin();
    void WriteListEnd();
    void WriteCollection(const TCollection* collection);
    void WriteBinary(std::span<const std::uint8_t> bytes);

private:
    void WriteComponent(TComponent* component);
    void WriteProperties(TPersistent& instance, const std::string& prefix);
    void WriteProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix);
    void WriteObjectProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix);
    void WriteEventProperty(TPersistent& instance, const TPropInfo& prop, const std::string& prefix);
    [[nodiscard]] std::string ReferenceName(const TComponent& component) const;
    void WritePropName(const std::string& name);
    void BeginValue();
    void NewLine(int indent);

    std::string m_text;
    std::string m_prefix;
    int m_indent = 0;
    // The indentation of list elements for each open list; empty outside lists.
    std::vector<int> m_lists;
};

// The form data of `root` and everything it writes as children.
[[nodiscard]] std::string WriteComponentText(TComponent* root);
