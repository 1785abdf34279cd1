#pragma once

#include "platform/classlib/core/Filer.h"
#include "platform/classlib/core/FormParser.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class Variant;
class TCollection;
class TComponent;
class TObject;
class TPersistent;
struct TPropInfo;

enum TValueType {
    vaNull, vaList, vaInt8, vaInt16, vaInt32, vaExtended, vaString, vaIdent, vaFalse, vaTrue, vaBinary,
    vaSet, vaLString, vaNil, vaCollection, vaSingle, vaCurrency, vaDate, vaWString, vaInt64, vaUTF8String,
    vaDouble
};

// Sees each property before the reader handles it: the object it belongs to (after walking a
// dotted path as far as published objects go), the rest of the path, and the reader positioned at
// the value. Returns true when it consumed the value itself.
using TReadInterceptor = std::function<bool(TPersistent& instance, const std::string& name, TReader& reader)>;
// Registration order is consultation order. Returns a cookie for UnregisterReadInterceptor.
int RegisterReadInterceptor(TReadInterceptor interceptor);
void UnregisterReadInterceptor(int cookie);

// Finds a form or data module by name for references into another form ("Form2.Edit1"); the
// forms layer registers one. Returns a cookie for UnregisterFindGlobalComponent.
using TFindGlobalComponent = std::function<TComponent*(std::string_view name)>;
int RegisterFindGlobalComponent(TFindGlobalComponent finder);
void UnregisterFindGlobalComponent(int cookie);

// Reads form data (text notation, see FormParser.h) into components:
//  - the root is the given instance (a form constructing itself) or is created by class name;
//  - children are created through the class registry, owned by the root (or the enclosing
//    component's GetChildOwner), named (which fills the owner's published fields), given their
//    parent (SetParentComponent with the enclosing component's GetChildParent) when HasParent;
//  - properties are set through the published-property registry, after the read interceptors
//    had their look; names not published go to DefineProperties; events bind to the root's
//    published methods by name; component references are resolved once everything is read;
//  - csLoading and csReading are on while reading; Loaded is called in creation order at the end.
// Errors raise EParserError ("... on line n") for broken notation, EClassNotFound for unknown
// classes, and EReadError "Error reading <Component>.<Property> on line <n>: <reason>".
// A root the reader created is freed when reading fails.
class TReader : public TFiler {
public:
    // Parses at once (EParserError).
    explicit TReader(std::string_view text);
    explicit TReader(TStream& stream);
    ~TReader() override;

    TComponent* ReadRootComponent(TComponent* root);

    void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                        bool hasData) override;
    void DefineBinaryProperty(const std::string& name, const TStreamProc& readData, const TStreamProc& writeData,
                              bool hasData) override;

    // The value of the property being read, for DefineProperties readers and interceptors. Every
    // Read* takes the next value (inside a list: the next element) and raises EReadError
    // "Invalid property value" when it is of another kind.
    [[nodiscard]] TValueType NextValue() const;
    // Takes the next value's type; a list, set or collection is entered (see ReadListEnd, ReadStr,
    // ReadCollection).
    TValueType ReadValue();
    void SkipValue();
    [[nodiscard]] int ReadInteger();
    [[nodiscard]] std::int64_t ReadInt64();
    [[nodiscard]] double ReadFloat();
    [[nodiscard]] std::string ReadString();
    [[nodiscard]] char ReadChar();
    [[nodiscard]] std::string ReadIdent();
    [[nodiscard]] bool ReadBoolean();
    // A value of any simple kind: nil is Unassigned, the identifier Null is Null, a list is an
    // array of its elements.
    [[nodiscard]] Variant ReadVariant();
    // Inside a set entered by ReadValue: the next member, or "" at its end.
    [[nodiscard]] std::string ReadStr();
    void ReadListBegin();
    [[nodiscard]] bool EndOfList() const;
    void ReadListEnd();
    // Clears the collection and fills it from a collection value.
    void ReadCollection(TCollection* collection);
    [[nodiscard]] std::vector<std::uint8_t> ReadBinary();

    // The component whose children are being read, and the one that will own them.
    [[nodiscard]] TComponent* Parent() const { return m_parent; }
    [[nodiscard]] TComponent* Owner() const { return m_owner; }
    // The property being read (after the path's objects).
    [[nodiscard]] const std::string& PropName() const { return m_propName; }

private:
    struct TFrame;
    struct TFixup;

    void ReadObject(const TFormObject& node, TComponent* component, TComponent* enclosing);
    TComponent* CreateChild(const TFormObject& node, TComponent* enclosing);
    void ReadProperties(TPersistent& instance, const std::vector<TFormProperty>& properties, const std::string& context);
    void ReadProperty(TPersistent& instance, const TFormProperty& property, const std::string& context);
    void ApplyProperty(TPersistent& instance, const std::string& name, const TFormValue& value,
                       const std::string& context);
    void ReadPropValue(TPersistent& instance, const TPropInfo& prop, const TFormValue& value,
                       const std::string& context);
    void ReadCollectionValue(TCollection& collection, const TFormValue& value, const std::string& context);
    bool CallInterceptors(TPersistent& instance, const std::string& name);
    void ResolveFixups();
    [[nodiscard]] TComponent* FindReference(const std::string& name) const;
    void BeginValue(const TFormValue& value);
    void EndValue();
    [[nodiscard]] const TFormValue& TakeValue();
    [[nodiscard]] const TFormValue* PeekValue() const;
    [[noreturn]] static void RaiseInvalidValue();

    TFormObject m_tree;
    TComponent* m_parent = nullptr;
    TComponent* m_owner = nullptr;
    std::string m_propName;
    bool m_defineHandled = false;
    std::vector<TFrame> m_frames;
    std::vector<TFixup> m_fixups;
    std::vector<TComponent*> m_loaded;
};

// Reads form data into `root` (or a new root when null) and returns the root.
TComponent* ReadComponentText(std::string_view text, TComponent* root = nullptr);
