#pragma once

#include "platform/classlib/core/Objects.h"

#include <cstdint>
#include <string>
#include <string_view>

// Published properties of any control read and written by name, so that a skinner needs no
// knowledge of the classes it skins. A null object or a property it does not publish gives a
// neutral answer and never raises.

// The value of an integer property; -1 for a property of any other kind (an enumeration too).
[[nodiscard]] std::int64_t GetOrdPropByName(const TObject* object, std::string_view name);
// The identifier of an enumeration property's value ("blGlyphLeft", "True"); empty otherwise.
[[nodiscard]] std::string GetEnumPropByName(const TObject* object, std::string_view name);
// The text of a string property; empty otherwise.
[[nodiscard]] std::string GetTextPropByName(const TObject* object, std::string_view name);
// The object a class property holds when it is of `aClass` (or descends from it); null otherwise.
[[nodiscard]] TObject* GetObjectPropByName(const TObject* object, std::string_view name, TClass aClass);
// Integer properties take the text as a number (EConvertError for one that is not), enumerations
// take it as an identifier, string properties take it as it is; other kinds are left alone.
void SetPropByName(TObject* object, std::string_view name, std::string_view text);
