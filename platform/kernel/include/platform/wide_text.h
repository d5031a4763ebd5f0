// Helpers for the device's UTF-16 text. The conversions to and from the host's UTF-8 (ToUtf8,
// FromUtf8) live with the file functions, which need them most.
#pragma once

#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/types.h"

namespace platform {

// A null-terminated wide string as a view (empty for null).
std::u16string_view WideView(LPCWSTR text);

// ASCII case-insensitive comparison, the way the device compares names.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform
