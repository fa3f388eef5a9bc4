#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// Reads text the way classic Basic's list input (Input #) does: fields are
// separated by commas and line ends; leading blanks of a field are skipped;
// a field that starts with a double quote runs to the next double quote and
// loses the quotes (text after the closing quote up to the separator is
// dropped); an unquoted field ends at a comma or line end and loses its
// trailing blanks. Used for panel.cfg, sound.cfg and adventure signatures.
std::vector<std::string> splitListInput(std::string_view text);

// The first field only (up to the first comma or line end).
std::string firstListInputField(std::string_view text);

}  // namespace core
