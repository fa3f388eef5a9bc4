#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Wine keeps a prefix's registry in text files (system.reg, user.reg):
//
//   WINE REGISTRY Version 2
//   #arch=win64
//   [Software\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0] 1733581234
//   "EXE Path"="C:\\FS2002"
//   @="default value"
//   "Count"=dword:00000002
//   "Expand"=hex(2):25,00,53,00,<backslash, the value goes on below>
//     00,00
//
// This reader never writes them: Wine's own server owns the files.
namespace core::winereg {

enum class ValueType { String, ExpandString, MultiString, Dword, Binary };

struct Value {
  std::string name;  // "" for the default value, written "@"
  ValueType type = ValueType::String;
  // Strings as UTF-8 (the parts of a multi-string separated by "\0"), a
  // dword as its decimal number, anything else as its raw bytes.
  std::string data;
};

struct Key {
  std::string path;  // "Software\Microsoft\...", single backslashes
  std::vector<Value> values;
  // nullptr when absent; names compare without regard to case.
  const Value* value(std::string_view name) const;
};

struct Problem {
  std::size_t line;  // 1-based
  std::string what;
};

struct File {
  bool recognised = false;  // the file began "WINE REGISTRY Version 2"
  std::string arch;         // "win32", "win64", or "" for a prefix too old to say
  std::vector<Key> keys;
  // What could not be read; the rest of the file is still read.
  std::vector<Problem> problems;
  // nullptr when absent; paths compare without regard to case.
  const Key* key(std::string_view path) const;
};

// Reads every key of the text.
File parse(std::string_view text);

// Reads only the keys named (paths with single backslashes, compared without
// regard to case): the value lines of every other key are skipped unread, so
// that a look for a few keys in a 2 MB system.reg stays cheap.
File parseKeys(std::string_view text, std::span<const std::string> keys);

}  // namespace core::winereg
