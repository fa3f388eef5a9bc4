#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class Context;

// INI-style configuration files (aircraft.cfg, panel.cfg, sound.cfg,
// model.cfg, the converter's .cfg) read and written one key at a time with
// the semantics of the Windows profile API. The functions in namespace
// profile work on the file's bytes as they are on disk (Windows-1252) and
// are the one parser of the program: the key-by-key reads and the
// parse-once Document below share it, so the two cannot disagree.
namespace profile {

// Longest value a read returns: the Windows API's 200-character buffer less
// its terminating NUL.
inline constexpr std::size_t MaxValueLength = 199;

// The value of key in section: section and key matched without regard to
// case and surrounding blanks, first section and first key win, the value
// trimmed, one pair of matching quotes removed, cut to MaxValueLength.
// nullopt when the section or the key is absent.
std::optional<std::string> lookup(std::string_view bytes, std::string_view section, std::string_view key);

// The file's bytes after writing key=value into section: an existing key's
// line is replaced in place, a missing key is appended at the end of its
// section, a missing section at the end of the file. Every other byte stays.
std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value);

// The file's bytes without the key's line (the first match only); the bytes
// unchanged when it is absent.
std::string withoutKey(std::string_view bytes, std::string_view section, std::string_view key);

// A whole file parsed once, answering like lookup() for every key.
class Document {
 public:
  explicit Document(std::string_view bytes);
  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Section names in file order (first occurrence of each, as written).
  std::vector<std::string> sectionNames() const;

 private:
  struct Key {
    std::string lowerName;
    std::string value;
  };
  struct Section {
    std::string name;
    std::string lowerName;
    std::vector<Key> keys;
  };
  std::vector<Section> sections_;
};

}  // namespace profile

// The program's profile reads and writes through the context's file system,
// converting between UTF-8 and the files' Windows-1252. A read never creates
// a file and returns def for a missing file, section or key; it leaves the
// value in state.profileBuffer (padded to 200) and its length in
// state.lastApiResult. A write creates a missing file and is atomic;
// state.lastApiResult is 1 on success, 0 on failure, and a failure is not
// reported otherwise.
std::string ReadProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                              std::string_view def);
void WriteProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

// The whole file parsed once (UTF-8 values); an unreadable file is empty.
profile::Document ReadProfileDocument(Context& ctx, std::string_view file);

}  // namespace core
