#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {

class Context;
class WritesInProgress;

// INI-style configuration files (aircraft.cfg, panel.cfg, sound.cfg,
// model.cfg, the converter's .cfg) read and written one key at a time with
// the semantics of the Windows profile API. The functions in namespace
// profile are the one parser of the program: the key-by-key reads and the
// parse-once Document below share one line scanner, so the two cannot
// disagree. lookup, withValue and withoutKey work on text as it is (an
// 8-bit file's bytes, or the program's own UTF-8 stores); fileValue,
// fileWithValue and fileWithoutKey first take a file's encoding from its
// byte-order mark.
//
// A line is: blank; a comment (first non-blank character ";"); a section
// header ("[" up to the last "]" of the line, the name trimmed, the rest of
// the line ignored); a key line (the name before the first "=", trimmed, and
// the value after it); or anything else, which no read sees and every write
// keeps. This is how the simulator itself reads them under Wine. Lines end in
// CR LF, LF or CR alone. Names compare without regard to the case of ASCII
// letters. Lines before the first section belong to none.
namespace profile {

// Longest value a read returns: the Windows API's 200-character buffer less
// its terminating NUL.
inline constexpr std::size_t MaxValueLength = 199;

// The value of key in section: section and key matched without regard to
// case and surrounding blanks, first section and first key win, the value
// trimmed, one pair of matching quotes removed, cut at a NUL byte and to
// maxLength bytes. nullopt when the section or the key is absent.
std::optional<std::string> lookup(std::string_view bytes, std::string_view section, std::string_view key,
                                  std::size_t maxLength = MaxValueLength);

// lookup() over text handed over piece by piece, as a file is read block
// by block: it holds no more than the line that spans two pieces, and stops
// wanting text once the key is found or its section has ended.
class LookupStream {
 public:
  LookupStream(std::string_view section, std::string_view key, std::size_t maxLength = MaxValueLength);

  // Takes the next piece of the text; false once no more is wanted.
  bool take(std::string_view piece);
  // What lookup() gives for the text taken, after its last piece.
  std::optional<std::string> finish();

 private:
  // Searches whole lines; true when the search is over.
  bool search(std::string_view lines);

  std::string section_, key_;
  std::size_t maxLength_;
  std::string pending_;  // the start of a line whose end has not come yet
  bool inSection_ = false;
  bool done_ = false;
  std::optional<std::string> value_;
};

// The file's bytes after writing key=value into section: an existing key's
// line is replaced in place (its text up to the value and its line end
// kept), a missing key is added after the last line of its section that is
// neither blank nor a comment, a missing section at the end of the file
// (with no blank line before it, as Windows writes it). New lines end in
// CR LF when the file's first LF follows a CR, in LF when it does not, in
// CR in a file of CR line ends only, and in CR LF in a file without line
// ends. Every other byte stays. Throws RuntimeError 5
// for names or a value that would not read back as written (a line break or
// NUL anywhere, an empty key, a key with "=" or one starting with ";" or
// "[").
std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value);

// The file's bytes without the key's line (the first match only); the bytes
// unchanged when it is absent.
std::string withoutKey(std::string_view bytes, std::string_view section, std::string_view key);

// The file's bytes without every section (header and lines up to the next
// header) whose name the predicate picks.
std::string withoutSections(std::string_view bytes, const std::function<bool(std::string_view name)>& drop);

// The text to write for a value so that a read gives the value back
// unchanged: a value with blanks at either end or that is itself enclosed in
// matching quotes is put in double quotes.
std::string storedForm(std::string_view value);

// The same three on the bytes of a whole file in any of its encodings (see
// profile_text.h), with names and values in UTF-8: a value read is at most
// maxLength UTF-16 characters, as the Windows call's buffer counts them, and
// a write leaves the file in its encoding, with its byte-order mark.
std::optional<std::string> fileValue(std::string_view bytes, std::string_view section, std::string_view key,
                                     std::size_t maxLength = MaxValueLength);
std::string fileWithValue(std::string_view bytes, std::string_view section, std::string_view key,
                          std::string_view value);
std::string fileWithoutKey(std::string_view bytes, std::string_view section, std::string_view key);

// A whole file parsed once, answering like lookup() for every key.
class Document {
 public:
  explicit Document(std::string_view bytes) : Document(bytes, MaxValueLength) {}
  // A whole file in any of its encodings, answering like fileValue(): get()
  // then takes and gives UTF-8.
  static Document fromFile(std::string_view bytes);

  std::optional<std::string> get(std::string_view section, std::string_view key) const;
  // Section names in file order (first occurrence of each, as written).
  std::vector<std::string> sectionNames() const;

 private:
  // A run of text_'s bytes. Names and values are kept in one buffer, so
  // that a document costs a few blocks of memory however many keys it has.
  struct Span {
    std::size_t at = 0;
    std::size_t size = 0;
  };
  struct Key {
    Span name;  // as the file has it, ASCII letters in lower case
    Span value;
  };
  struct Section {
    Span name;                 // as the file has it, ASCII letters in lower case
    Span shown;                // as the file has it in UTF-8, for sectionNames()
    std::size_t firstKey = 0;  // its keys are keys_[firstKey, firstKey + keyCount)
    std::size_t keyCount = 0;
  };
  Document(std::string_view bytes, std::size_t maxLength);
  Span keep(std::string_view text);
  Span keepFolded(std::string_view text);  // with ASCII letters in lower case
  std::string_view view(Span span) const { return std::string_view(text_).substr(span.at, span.size); }

  std::string text_;
  std::vector<Section> sections_;
  std::vector<Key> keys_;  // of every section, in file order
  // Names are held as the file has them, so that they match as lookup()
  // matches them; a request to an 8-bit file's document is first put in its
  // code page.
  bool cp1252Names_ = false;
};

}  // namespace profile

// What a profile write did: the value is in the file, or the file is as it
// was and error (the run-time error number), cause ("the file is
// read-only") and message (the cause, naming the key and the file) say why.
struct [[nodiscard]] ProfileWrite {
  int error = 0;
  std::string cause;
  std::string message;

  explicit operator bool() const { return error == 0; }
  // For a caller that cannot go on without the value: the failure as a
  // RuntimeError carrying the number and the message.
  void orThrow() const;
};

// The program's profile reads and writes through the context's file system,
// in the file's encoding (see profile_text.h), with names and values in
// UTF-8. A read never creates a file and returns def (cut at a NUL, without
// its trailing blanks, at most 199 characters, as the Windows call gives a
// default) for a missing file, section or key. A write creates a missing
// file, is atomic, and is told to the context's journal before the file is
// replaced.
std::string ReadProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                              std::string_view def);
ProfileWrite WriteProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                                std::string_view value);

// The whole file parsed once (UTF-8 values); an unreadable file is empty.
profile::Document ReadProfileDocument(Context& ctx, std::string_view file);
// The same, nullopt when the file cannot be read.
std::optional<profile::Document> ReadProfileDocumentIfReadable(Context& ctx, std::string_view file);

// The same read and write on a host file, for hangarpak-cli. A file that is
// there but cannot be read, whole or part-way, throws RuntimeError naming
// hostPath and the cause, rather than answering with def.
std::string readProfileHostFile(const std::string& hostPath, std::string_view section, std::string_view key,
                                std::string_view def);
// record, when given, is told the folder before the file is written.
ProfileWrite writeProfileHostFile(const std::string& hostPath, std::string_view section, std::string_view key,
                                  std::string_view value, WritesInProgress* record = nullptr);

}  // namespace core
