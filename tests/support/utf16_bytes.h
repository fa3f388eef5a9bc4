#pragma once

#include <string>
#include <string_view>

namespace testsupport {

// The bytes of UTF-16 text, little- or big-endian, made without the
// program's own conversion so that tests of it have an independent answer.
inline std::string utf16Bytes(std::u16string_view text, bool bigEndian = false) {
  std::string out;
  for (const char16_t unit : text) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
  }
  return out;
}

}  // namespace testsupport
