#include "controls/KvOldPropReader.h"

#include "platform/classlib/core/FormReader.h"

void TKvOldPropReader::SkipEnumValue(TReader& reader) { (void)reader.ReadIdent(); }

void TKvOldPropReader::SkipIntegerValue(TReader& reader) { (void)reader.ReadInteger(); }

void TKvOldPropReader::SkipSetValue(TReader& reader)
{
    if (reader.NextValue() != vaSet) {
        // Old forms of another shape: the property is dropped all the same.
        reader.SkipValue();
        return;
    }
    (void)reader.ReadValue();
    while (!reader.ReadStr().empty()) {
    }
}
