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

// UTF-16 (two bytes a unit, in the order given) to UTF-8 and back with
// nothing lost: a lone surrogate becomes the three bytes its code point
// would take, and back the same unit, so that any sequence of units
// survives a round trip. An odd last byte is not read. Bytes of the UTF-8
// side that are not UTF-8 are taken as Windows-1252, as above.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndian);
std::string utf8ToUtf16(std::string_view text, bool bigEndian);

// The text with each byte that is not part of well-formed UTF-8, and each
// encoded surrogate, replaced by U+FFFD, as Windows converts such text.
std::string wellFormedUtf8(std::string_view text);

}  // namespace core
