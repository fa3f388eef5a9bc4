#pragma once

#include <string>
#include <string_view>

// String helpers in the program's own terms: Windows-style paths compared
// without regard to case, and the left/right arithmetic the behaviour is
// written in ("the last three characters, lower-cased").
namespace core {

std::string lower(std::string_view s);  // ASCII letters only
inline char lowerChar(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
std::string upper(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istartsWith(std::string_view s, std::string_view prefix);
bool iendsWith(std::string_view s, std::string_view suffix);
std::string trim(std::string_view s);  // blanks and tabs at both ends

// The last n characters (all of s when shorter), the first n characters.
std::string right(std::string_view s, std::size_t n);
std::string left(std::string_view s, std::size_t n);
// s without its last n characters (empty when shorter).
std::string dropRight(std::string_view s, std::size_t n);

// folder + "\" + name, as the program builds paths.
std::string joinPath(std::string_view folder, std::string_view name);
// The text after the last "\" (or "/"); the whole text when there is none.
std::string lastComponent(std::string_view path);
// The text before the last "\" (or "/"); empty when there is none.
std::string parentPath(std::string_view path);

// Wildcard match without regard to case: "*" any run, "?" one character.
// Several patterns may be given separated by ";" ("*.zip;*.sif").
bool matchesPattern(std::string_view name, std::string_view patterns);

}  // namespace core
