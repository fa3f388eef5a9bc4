#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace testsupport {

// A file in the shapes the simulator's own files have, with each read rule
// the program relies on; written with "\n", for each kind of line end.
inline const char* const kProfileRules =
    "; top comment\n"
    "orphan=before any section\n"
    "[FLTSIM.0]\n"
    "TITLE=Cessna Skyhawk\n"
    "texture =   \n"
    "panel=   \"quoted value\"   \n"
    "mixed=\"a'\n"
    "single='x'\n"
    "sim\t\t\t= c172\t\n"
    "comment = \"v\" ; note\n"
    "[ fltsim.1 ]\n"
    "  title  =  Second  \n"
    "noequals line\n"
    ";hidden=in a comment\n"
    "=emptykey\n"
    "// slashes = not a comment\n"
    "[flaps.0]       //Trailing Edge Flaps\n"
    "description=\xE9 and \x96 dashes\n"
    "type=1\n"
    "[fltsim.0]\n"
    "title=Duplicate section\n"
    "extra=only in the duplicate\n"
    "[dups]\n"
    "k=first\n"
    "K=second\n"
    "[broken\n"
    "afterbroken=belongs to dups\n"
    "[last]\n"
    "final=no line end";

// What each rule of kProfileRules reads as, as the Windows call reads it.
struct ProfileRead {
  const char* name;
  const char* section;
  const char* key;
  std::optional<std::string> expected;
};
inline const ProfileRead kProfileReads[] = {
    {"names ignore case", "fltsim.0", "title", "Cessna Skyhawk"},
    {"value trimmed, double quotes removed", "fltsim.0", "panel", "quoted value"},
    {"quotes that do not match stay", "fltsim.0", "mixed", "\"a'"},
    {"single quotes removed as well", "fltsim.0", "single", "x"},
    {"text after the closing quote keeps the quotes", "fltsim.0", "comment", "\"v\" ; note"},
    {"blanks inside brackets", "fltsim.1", "title", "Second"},
    {"blanks only: an empty value, not the default", "fltsim.0", "texture", ""},
    {"tabs around the name and the value", "fltsim.0", "sim", "c172"},
    {"a last line without its line end", "last", "final", "no line end"},
    {"a line without = is no key", "fltsim.1", "noequals line", std::nullopt},
    {"// is no comment marker", "fltsim.1", "// slashes", "not a comment"},
    {"text after ] ignored", "flaps.0", "type", "1"},
    {"bytes beyond ASCII as they stand", "flaps.0", "description", "\xE9 and \x96 dashes"},
    {"first section wins", "fltsim.0", "title", "Cessna Skyhawk"},
    {"keys of a duplicate section are not seen", "fltsim.0", "extra", std::nullopt},
    {"first key wins", "dups", "k", "first"},
    {"[ without ] opens no section", "dups", "afterbroken", "belongs to dups"},
    {"a key before the first section is in none", "", "orphan", std::nullopt},
};

// The text with each "\n" made the given line end.
inline std::string withLineEnds(std::string_view text, std::string_view eol) {
  std::string out;
  for (const char c : text) {
    if (c == '\n')
      out += eol;
    else
      out += c;
  }
  return out;
}

}  // namespace testsupport
