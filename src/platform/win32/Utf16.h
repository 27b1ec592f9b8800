#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace qv::platform::win32 {

// The program holds text and paths as UTF-8; every Windows call takes them as UTF-16 (the W functions).
// Text that is not UTF-8 has no UTF-16 form: nullopt, so that it is refused, never passed on mangled.
std::optional<std::wstring> toUtf16(std::string_view utf8);

// The UTF-8 form of what a W function returned.
std::string toUtf8(std::wstring_view utf16);

} // namespace qv::platform::win32
