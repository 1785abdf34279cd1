#pragma once

#include "skin/SkinControl.h"

#include <map>
#include <string>

// The control skinners the engine brings, by kind; the registry starts with them.
[[nodiscard]] std::map<std::string, TSkinnerFactory> BuiltInSkinners();
