// UTF-8 <-> UTF-16 for the handheld's wide-character strings.
#pragma once

#include <string>

namespace platform {

std::string toUtf8(const std::u16string& text);
std::u16string toUtf16(const std::string& text);

}  // namespace platform
