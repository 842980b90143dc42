#pragma once

#include <string>
#include <string_view>

namespace vindrel {

std::string ToUtf8(std::u16string_view text);
// Invalid sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);

} // namespace vindrel
