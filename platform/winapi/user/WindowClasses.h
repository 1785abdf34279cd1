#pragma once

#include "platform/winapi/user/Window.h"

namespace winapi_user::detail {

// A registered class by name or atom (MAKEINTATOM), or nullptr with ERROR_CLASS_DOES_NOT_EXIST.
[[nodiscard]] std::shared_ptr<WindowClass> FindClass(LPCSTR name);

} // namespace winapi_user::detail
