#pragma once

class TReader;

// Readers for DefineProperties that take a property old form data still holds and drop it, so
// such forms keep loading. Nothing writes these properties.
class TKvOldPropReader {
public:
    // An identifier (an enumeration value).
    static void SkipEnumValue(TReader& reader);
    static void SkipIntegerValue(TReader& reader);
    // A set, "[a, b]".
    static void SkipSetValue(TReader& reader);
};
