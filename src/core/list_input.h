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

// The fields of a configuration file's bytes (in the 8-bit code page) read
// as list input, in UTF-8. The installers and the scans read the fields of
// panel.cfg and sound.cfg through this and listInputValue alike, so that
// what a scan looks for is what an installation placed.
std::vector<std::string> listInputFieldsOfFile(std::string_view cp1252Bytes);

// The value of a "key=value" field: the text after its first "=" (the whole
// field without one) without the blanks around it, as panel editors write
// "file = day.bmp".
std::string listInputValue(std::string_view field);

}  // namespace core
