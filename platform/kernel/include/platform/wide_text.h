// Conversions between the device's UTF-16 text and the host's UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// A null-terminated wide string as a view (empty for null).
std::u16string_view WideView(LPCWSTR text);

// ASCII case-insensitive comparison, the way the device compares names.
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace platform
