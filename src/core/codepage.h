#pragma once

#include <string>
#include <string_view>

namespace core {

// Profile files are Windows-1252 on disk; the program speaks UTF-8. A
// character Windows-1252 cannot hold becomes "?"; the five undefined bytes
// of Windows-1252 map to the C1 controls of the same number, so every byte
// survives a round trip. Bytes of the UTF-8 side that are not well-formed
// UTF-8 are taken as Windows-1252 already and kept as they are.
std::string cp1252ToUtf8(std::string_view bytes);
std::string utf8ToCp1252(std::string_view text);

}  // namespace core
