#pragma once

#include "platform/rtl/Exceptions.h"

#include <string>

// The codec's own exception classes. Each derives directly from Exception and carries the fixed
// text the user sees; EPngError takes one of the texts below, EPNGZLIBError appends zlib's own
// description of the failure.
#define PNG_DECLARE_ERROR(Name)           \
    class Name : public Exception {       \
    public:                               \
        Name();                           \
    }

class EPngError : public Exception {
public:
    using Exception::Exception;
};

PNG_DECLARE_ERROR(EPNGOutMemory);
PNG_DECLARE_ERROR(EPngUnexpectedEnd);
PNG_DECLARE_ERROR(EPngInvalidCRC);
PNG_DECLARE_ERROR(EPngInvalidIHDR);
PNG_DECLARE_ERROR(EPNGMissingMultipleIDAT);
PNG_DECLARE_ERROR(EPNGInvalidPalette);
PNG_DECLARE_ERROR(EPNGInvalidFileHeader);
PNG_DECLARE_ERROR(EPNGIHDRNotFirst);
PNG_DECLARE_ERROR(EPNGSizeExceeds);
PNG_DECLARE_ERROR(EPNGUnknownCriticalChunk);
PNG_DECLARE_ERROR(EPNGUnknownCompression);
PNG_DECLARE_ERROR(EPNGUnknownInterlace);
PNG_DECLARE_ERROR(EPNGNoImageData);
PNG_DECLARE_ERROR(EPNGHeaderNotPresent);

#undef PNG_DECLARE_ERROR

class EPNGZLIBError : public Exception {
public:
    // `description` is zlib's text for the result code that stopped it.
    explicit EPNGZLIBError(const std::string& description);
};

// The texts EPngError is raised with.
extern const char* const EPNGCannotAssignChunkText;
extern const char* const EPNGUnknownPalEntryText;
extern const char* const EPNGCannotChangeSizeText;
