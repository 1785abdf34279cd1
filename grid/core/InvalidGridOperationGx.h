#pragma once

#include "platform/rtl/Exceptions.h"

#include <string_view>

// The grid library's own failure: a grid asked to do what its state does not allow.
RTL_DECLARE_EXCEPTION(EInvalidGridOperationGx, Exception);

inline constexpr const char* SGridTooManyColumns = "Grid requested to display more than 256 columns";
