#pragma once

#include <functional>
#include <string>

class TComponent;
class TPersistent;
class TReader;
class TStream;
class TWriter;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

// What TReader and TWriter share: the root being read or written, and the way a class streams
// data that is not a published property. A class's DefineProperties calls DefineProperty (or
// DefineBinaryProperty) for each such datum; the reader calls back `readData` when form data
// holds it, the writer calls `writeData` when `hasData` says there is something to write.
class TFiler {
public:
    virtual ~TFiler() = default;

    virtual void DefineProperty(const std::string& name, const TReaderProc& readData, const TWriterProc& writeData,
                                bool hasData) = 0;
    virtual void DefineBinaryProperty(const std::string& name, const TStreamProc& readData,
                                      const TStreamProc& writeData, bool hasData) = 0;

    [[nodiscard]] TComponent* Root() const { return m_root; }
    // The form whose methods events name; the root while reading or writing a form.
    [[nodiscard]] TComponent* LookupRoot() const { return m_root; }
    // The inherited form's counterpart of what is written; never set here (no form inheritance
    // in writing), so "differs from the ancestor" means "differs from the default".
    [[nodiscard]] TPersistent* Ancestor() const { return nullptr; }

protected:
    void SetRoot(TComponent* root) { m_root = root; }

private:
    TComponent* m_root = nullptr;
};
