#pragma once

// The run-time library's user-visible texts, in English, as the class library words them. Each
// is a Format string; the '%s' is the offending text.
inline constexpr const char* SOperationAborted = "Operation aborted";
inline constexpr const char* SOutOfMemory = "Out of memory";
inline constexpr const char* SInvalidFormat = "Format '%s' invalid or incompatible with argument";
inline constexpr const char* SArgumentMissing = "No argument for format '%s'";
inline constexpr const char* SInvalidInteger = "'%s' is not a valid integer value";
inline constexpr const char* SInvalidFloat = "'%s' is not a valid floating point value";
inline constexpr const char* SInvalidDate = "'%s' is not a valid date";
inline constexpr const char* SInvalidTime = "'%s' is not a valid time";
inline constexpr const char* SInvalidDateTime = "'%s' is not a valid date and time";
inline constexpr const char* SDateEncodeError = "Invalid argument to date encode";
inline constexpr const char* STimeEncodeError = "Invalid argument to time encode";
inline constexpr const char* SInvalidVarCast = "Invalid variant type conversion";
inline constexpr const char* SInvalidVarOp = "Invalid variant operation";
inline constexpr const char* SVarTypeCouldNotConvert = "Could not convert variant of type (%s) into type (%s)";
inline constexpr const char* SVarArrayBounds = "Variant or safe array index out of bounds";
inline constexpr const char* SVarArrayCreate = "Error creating variant or safe array";
inline constexpr const char* SOverflow = "Floating point overflow";
inline constexpr const char* SVarNotArray = "Variant is not an array";
inline constexpr const char* SInvalidFloatOp = "Invalid floating point operation";
