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
    "see=[inline] is no header\n"
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
    " \t[indented]\n"
    "where=indented header\n"
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
    {"a [ inside a line opens no section", "inline", "// slashes", std::nullopt},
    {"blanks before a header", "indented", "where", "indented header"},
    {"a key before the first section is in none", "", "orphan", std::nullopt},
};

// A write of one key as the Windows call makes it: what the file holds
// before and after. Wine's calls, which the simulator runs under, write the
// whole file in their own form (CR LF line ends, no blank lines, lines
// trimmed) where Windows changes only the lines it writes: wine says why
// Wine's bytes are not these.
struct ProfileWriteCase {
  const char* name;
  std::string before;
  const char* section;
  const char* key;
  const char* value;
  std::string after;
  const char* wine = nullptr;
};
inline const ProfileWriteCase kProfileWrites[] = {
    {"a new file holds the header and the key line", "", "Section", "key", "value", "[Section]\r\nkey=value\r\n"},
    // Like the Windows call, no blank line before a new section.
    {"new section after a file ending in a line end", "[a]\r\nx=1\r\n", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"new section after a last line without line end", "[a]\r\nx=1", "b", "k", "v", "[a]\r\nx=1\r\n[b]\r\nk=v\r\n"},
    {"bytes before the first section stay, NULs too", std::string("Data \0 before \0 first \0 section", 31), "section1",
     "key1", "string1", std::string("Data \0 before \0 first \0 section\r\n[section1]\r\nkey1=string1\r\n", 59),
     "Wine cuts a line at its NUL"},
    {"CR-only file: replaced in place", "[a]\rk=1\rj=2\r", "a", "k", "9", "[a]\rk=9\rj=2\r",
     "Wine writes CR LF line ends"},
    {"CR-only file: a new key ends in CR", "[a]\rk=1\r[b]\rx=3\r", "a", "n", "9", "[a]\rk=1\rn=9\r[b]\rx=3\r",
     "Wine writes CR LF line ends"},
    {"new key after the last key, before blank lines", "[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n", "a", "k", "v",
     "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n", "Wine drops blank lines"},
    {"new key before a comment that leads the next section", "[a]\r\nx=1\r\n; about b\r\n[b]\r\n", "A", "k", "v",
     "[a]\r\nx=1\r\nk=v\r\n; about b\r\n[b]\r\n", "Wine puts a new key after the comments that end its section"},
    {"new key takes the first line's line end", "[a]\nx=1\r\n", "a", "k", "v", "[a]\nx=1\r\nk=v\n",
     "Wine writes CR LF line ends"},
    {"replaced in place", "[a]\r\nx=1\r\nk=old\r\ny=2\r\n", "a", "k", "new", "[a]\r\nx=1\r\nk=new\r\ny=2\r\n"},
    {"replaced keeping the key's spelling and blanks", "[A]\r\n  Key = old value  \r\n", "a", "key", "new",
     "[A]\r\n  Key = new\r\n", "Wine trims lines"},
    {"LF-only file stays LF-only", "[a]\nk=1\nj=2\n", "a", "k", "2", "[a]\nk=2\nj=2\n", "Wine writes CR LF line ends"},
    {"other lines keep their own line ends", "[a]\nx=1\r\nk=1\n", "a", "k", "2", "[a]\nx=1\r\nk=2\n",
     "Wine writes CR LF line ends"},
    {"first of two sections", "[a]\r\nx=1\r\n[A]\r\nk=dup\r\n", "a", "k", "v", "[a]\r\nx=1\r\nk=v\r\n[A]\r\nk=dup\r\n"},
    {"comments, banners and junk kept", "; top\r\n**** banner\r\n[a]\r\n// c\r\nk=1\r\n\xff\xfe junk\r\n", "a", "k",
     "2", "; top\r\n**** banner\r\n[a]\r\n// c\r\nk=2\r\n\xff\xfe junk\r\n"},
};

// The text with each "\n" made the given line end.
inline std::string withLineEnds(std::string_view text, std::string_view eol) {
  std::string out;
  for (const char c : text) out += c == '\n' ? std::string(eol) : std::string(1, c);
  return out;
}

}  // namespace testsupport
