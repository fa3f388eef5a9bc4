#include "core/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <span>

#include "core/atomic_file.h"
#include "core/change_journal.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/profile_stream.h"
#include "core/profile_text.h"

namespace core {
namespace profile {

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// A blank that can stand before the first character of a line.
bool isIndent(char c) {
  return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && isBlank(s[b])) ++b;
  while (e > b && isBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char foldAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return foldAscii(x) == foldAscii(y); });
}

// Whether name, folded, is the already folded name. The last letters are
// compared first: there the names of a file's sections ("fltsim.0",
// "fltsim.1") and keys ("model", "panel", "sound") differ most.
bool sameAsFolded(std::string_view name, std::string_view foldedName) {
  if (name.size() != foldedName.size()) return false;
  for (std::size_t i = name.size(); i-- > 0;)
    if (foldAscii(name[i]) != foldedName[i]) return false;
  return true;
}

// How many times c occurs in the bytes, found by memchr's wide steps.
std::size_t occurrences(std::string_view bytes, char c) {
  if (bytes.empty()) return 0;  // an empty view may hold no pointer, and memchr takes none
  std::size_t n = 0;
  for (const char *at = bytes.data(), *end = at + bytes.size();
       (at = static_cast<const char*>(std::memchr(at, c, static_cast<std::size_t>(end - at)))) != nullptr; ++at)
    ++n;
  return n;
}

// One line of a profile file. Offsets are into the file's bytes.
struct Line {
  enum Kind { Blank, Comment, Section, Key, Other };
  std::size_t begin = 0;  // first byte
  std::size_t end = 0;    // end of the text, before its line end
  std::size_t next = 0;   // first byte of the next line
  Kind kind = Blank;
  std::string_view name;   // section or key name, trimmed
  std::string_view value;  // key value, trimmed
  std::size_t equals = 0;  // offset of the key line's "="
};

// The offset of the "]" closing a section header line, 0 when the line is
// none. A "[" without "]" makes an ordinary line.
std::size_t sectionClose(std::string_view text) {
  if (text.front() != '[') return 0;
  const std::size_t close = text.rfind(']');
  return close == std::string_view::npos ? 0 : close;
}

// The one line scanner every read and write of the program goes through.
class Scanner {
 public:
  explicit Scanner(std::string_view bytes) : bytes_(bytes) {}

  bool next(Line& line) {
    if (pos_ >= bytes_.size()) return false;
    line = Line{};
    line.begin = pos_;
    line.end = lineEnd(pos_);
    line.next = pastLineEnd(line.end);
    pos_ = line.next;
    classify(line);
    return true;
  }

  // Moves past the next line that could be a section header, without
  // classifying the lines before it: a read looking for its section skips
  // all other lines this way, from one "[" to the next, and looks back
  // from a "[" only to see whether blanks alone stand before it on its line.
  bool nextHeaderCandidate(Line& line) {
    const char* const base = bytes_.data();
    std::size_t from = pos_;
    while (from < bytes_.size()) {
      const void* found = std::memchr(base + from, '[', bytes_.size() - from);
      if (!found) break;
      const auto bracket = static_cast<std::size_t>(static_cast<const char*>(found) - base);
      std::size_t start = bracket;
      while (start > pos_ && isIndent(base[start - 1])) --start;
      if (start == pos_ || base[start - 1] == '\n' || base[start - 1] == '\r') {
        pos_ = start;
        return next(line);
      }
      from = bracket + 1;
    }
    pos_ = bytes_.size();
    return false;
  }

 private:
  // Where the line that holds from ends: at its CR LF, LF or lone CR, or at
  // the end of the bytes. The next LF is remembered, so that a file of CR
  // line ends costs one search for the LF it does not have.
  std::size_t lineEnd(std::size_t from) {
    if (nextLf_ == std::string_view::npos || nextLf_ < from) {
      nextLf_ = bytes_.find('\n', from);
      if (nextLf_ == std::string_view::npos) nextLf_ = bytes_.size();
    }
    const void* cr = std::memchr(bytes_.data() + from, '\r', nextLf_ - from);
    return cr ? static_cast<std::size_t>(static_cast<const char*>(cr) - bytes_.data()) : nextLf_;
  }

  std::size_t pastLineEnd(std::size_t end) const {
    if (end >= bytes_.size()) return bytes_.size();
    return bytes_.compare(end, 2, "\r\n") == 0 ? end + 2 : end + 1;
  }

  void classify(Line& line) const {
    const std::string_view text = trimmed(bytes_.substr(line.begin, line.end - line.begin));
    if (text.empty()) {
      line.kind = Line::Blank;
    } else if (text.front() == ';') {
      line.kind = Line::Comment;
    } else if (const std::size_t close = sectionClose(text); close != 0) {
      line.kind = Line::Section;
      line.name = trimmed(text.substr(1, close - 1));
    } else if (const std::size_t eq = text.find('='); eq != std::string_view::npos) {
      line.kind = Line::Key;
      line.name = trimmed(text.substr(0, eq));
      line.value = trimmed(text.substr(eq + 1));
      line.equals = static_cast<std::size_t>(text.data() - bytes_.data()) + eq;
    } else {
      line.kind = Line::Other;
    }
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
  std::size_t nextLf_ = std::string_view::npos;
};

// What a read returns for a key line's value: a part of it.
std::string_view cookedView(std::string_view value, std::size_t maxLength) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    value = value.substr(1, value.size() - 2);
  value = value.substr(0, value.find('\0'));
  return value.substr(0, maxLength);
}

std::string cooked(std::string_view value, std::size_t maxLength) {
  return std::string(cookedView(value, maxLength));
}

// Where a key is, or would go, in a file.
struct Place {
  bool sectionFound = false;
  bool keyFound = false;
  Line keyLine;
  Line lastContent;  // last line of the section that is neither blank nor a comment
};

// Goes on with a search over the next lines of a file, the section and key
// trimmed: true when it is over (the key found, or the section's end
// reached). A place found in an earlier part of the file carries over.
bool findIn(std::string_view bytes, std::string_view section, std::string_view key, Place& place) {
  Scanner scanner(bytes);
  Line line;
  while (place.sectionFound ? scanner.next(line) : scanner.nextHeaderCandidate(line)) {
    if (line.kind == Line::Section) {
      if (place.sectionFound) return true;  // the first section of the name wins
      if (sameName(line.name, section)) {
        place.sectionFound = true;
        place.lastContent = line;
      }
    } else if (place.sectionFound) {
      if (line.kind == Line::Key && sameName(line.name, key)) {
        place.keyFound = true;
        place.keyLine = line;
        return true;
      }
      if (line.kind == Line::Key || line.kind == Line::Other) place.lastContent = line;
    }
  }
  return false;
}

Place find(std::string_view bytes, std::string_view section, std::string_view key) {
  Place place;
  findIn(bytes, trimmed(section), trimmed(key), place);
  return place;
}

// Where the first line of text ends when the text follows a line begun
// before it (which ends in a CR when afterCr): the length of its part of
// that line, npos when the line goes on past the text.
std::size_t endOfBegunLine(std::string_view text, bool afterCr) {
  if (afterCr) return text.empty() ? std::string_view::npos : text.front() == '\n' ? 1 : 0;
  const std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos || text[end] == '\n') return end == std::string_view::npos ? end : end + 1;
  if (end + 1 == text.size()) return std::string_view::npos;  // perhaps the CR of a CR LF
  return text[end + 1] == '\n' ? end + 2 : end + 1;
}

// The length of the whole lines at the start of text: up to its last line
// end, but for a CR at its very end, which may be the first half of a CR LF.
std::size_t wholeLines(std::string_view text) {
  std::size_t end = text.find_last_of("\r\n");
  if (end != std::string_view::npos && text[end] == '\r' && end + 1 == text.size())
    end = end == 0 ? std::string_view::npos : text.find_last_of("\r\n", end - 1);
  return end == std::string_view::npos ? 0 : end + 1;
}

std::string_view lineEndOf(std::string_view bytes) {
  const std::size_t lf = bytes.find('\n');
  if (lf != std::string_view::npos) return lf > 0 && bytes[lf - 1] == '\r' ? "\r\n" : "\n";
  return bytes.find('\r') != std::string_view::npos ? "\r" : "\r\n";
}

bool endsInLineEnd(std::string_view bytes) {
  return !bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r');
}

bool hasBreak(std::string_view s) {
  return s.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

void checkWritable(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view k = trimmed(key);
  if (hasBreak(section) || hasBreak(key) || hasBreak(value) || k.empty() || k.find('=') != std::string_view::npos ||
      k.front() == ';' || k.front() == '[')
    throw RuntimeError(err::InvalidProcedureCall, "a profile name or value that cannot be written");
}

}  // namespace

std::optional<std::string> lookup(std::string_view bytes, std::string_view section, std::string_view key,
                                  std::size_t maxLength) {
  const Place place = find(bytes, section, key);
  if (!place.keyFound) return std::nullopt;
  return cooked(place.keyLine.value, maxLength);
}

LookupStream::LookupStream(std::string_view section, std::string_view key, std::size_t maxLength)
    : section_(trimmed(section)), key_(trimmed(key)), maxLength_(maxLength) {}

bool LookupStream::take(std::string_view piece) {
  if (done_) return false;
  if (!pending_.empty()) {
    // The line begun before, completed here; the rest is read in place.
    const std::size_t end = endOfBegunLine(piece, pending_.back() == '\r');
    if (end == std::string_view::npos) {
      pending_.append(piece);
      return true;
    }
    pending_.append(piece.substr(0, end));
    piece.remove_prefix(end);
    if (search(pending_)) return false;
  }
  const std::size_t whole = wholeLines(piece);
  if (search(piece.substr(0, whole))) return false;
  pending_.assign(piece.substr(whole));
  return true;
}

std::optional<std::string> LookupStream::finish() {
  if (!done_) search(pending_);
  done_ = true;
  return value_;
}

bool LookupStream::search(std::string_view lines) {
  Place place;
  place.sectionFound = inSection_;
  done_ = findIn(lines, section_, key_, place);
  inSection_ = place.sectionFound;
  if (place.keyFound) value_ = cooked(place.keyLine.value, maxLength_);
  pending_.clear();
  return done_;
}

std::string withValue(std::string_view bytes, std::string_view section, std::string_view key, std::string_view value) {
  checkWritable(section, key, value);
  const Place place = find(bytes, section, key);
  const std::string_view eol = lineEndOf(bytes);
  std::string out;
  out.reserve(bytes.size() + key.size() + value.size() + section.size() + 16);

  if (place.keyFound) {
    // Keep the line's text up to the value ("Title = ") and its line end.
    std::size_t start = place.keyLine.equals + 1;
    while (start < place.keyLine.end && (bytes[start] == ' ' || bytes[start] == '\t')) ++start;
    if (start == place.keyLine.end) start = place.keyLine.equals + 1;
    out.append(bytes.substr(0, start));
    out.append(value);
    out.append(bytes.substr(place.keyLine.end));
    return out;
  }

  const std::string keyLine = std::string(trimmed(key)) + "=" + std::string(value);
  if (place.sectionFound) {
    const Line& after = place.lastContent;
    out.append(bytes.substr(0, after.next));
    if (after.next == after.end) out.append(eol);  // the file's last line had no line end
    out.append(keyLine);
    out.append(eol);
    out.append(bytes.substr(after.next));
    return out;
  }

  out.append(bytes);
  if (!bytes.empty() && !endsInLineEnd(bytes)) out.append(eol);
  out.append("[");
  out.append(trimmed(section));
  out.append("]");
  out.append(eol);
  out.append(keyLine);
  out.append(eol);
  return out;
}

std::string withoutKey(std::string_view bytes, std::string_view section, std::string_view key) {
  const Place place = find(bytes, section, key);
  if (!place.keyFound) return std::string(bytes);
  std::string out(bytes.substr(0, place.keyLine.begin));
  out.append(bytes.substr(place.keyLine.next));
  return out;
}

std::string withoutSections(std::string_view bytes, const std::function<bool(std::string_view name)>& drop) {
  std::string out;
  out.reserve(bytes.size());
  Scanner scanner(bytes);
  Line line;
  bool dropping = false;
  while (scanner.next(line)) {
    if (line.kind == Line::Section) dropping = drop(line.name);
    if (!dropping) out.append(bytes.substr(line.begin, line.next - line.begin));
  }
  return out;
}

std::string storedForm(std::string_view value) {
  if (value.empty()) return {};
  const bool blankEnds = isBlank(value.front()) || isBlank(value.back());
  const bool quoted =
      value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
  if (!blankEnds && !quoted) return std::string(value);
  return "\"" + std::string(value) + "\"";
}

std::optional<std::string> fileValue(std::string_view bytes, std::string_view section, std::string_view key,
                                     std::size_t maxLength) {
  const FileText file(bytes);
  const auto value = lookup(file.text(), file.fromUtf8(section), file.fromUtf8(key), std::string::npos);
  if (!value) return std::nullopt;
  return firstUnits(file.toUtf8(*value), maxLength);
}

std::string fileWithValue(std::string_view bytes, std::string_view section, std::string_view key,
                          std::string_view value) {
  const FileText file(bytes);
  return file.bytes(withValue(file.text(), file.fromUtf8(section), file.fromUtf8(key), file.fromUtf8(value)));
}

std::string fileWithoutKey(std::string_view bytes, std::string_view section, std::string_view key) {
  const FileText file(bytes);
  return file.bytes(withoutKey(file.text(), file.fromUtf8(section), file.fromUtf8(key)));
}

Document::Document(std::string_view bytes, std::size_t maxLength) {
  // What is kept is parts of the bytes (a section's name twice), so about
  // as many bytes hold it.
  text_.reserve(bytes.size());
  // No more sections than "[" and no more keys than "=", so that each list
  // is made once rather than grown.
  sections_.reserve(occurrences(bytes, '['));
  keys_.reserve(occurrences(bytes, '='));
  Scanner scanner(bytes);
  Line line;
  bool inSection = false;  // in the first section of its name
  while (scanner.next(line)) {
    if (line.kind == Line::Section) {
      const bool seen = std::any_of(sections_.begin(), sections_.end(),
                                    [&](const Section& s) { return sameName(view(s.name), line.name); });
      inSection = !seen;
      if (inSection) sections_.push_back({keepFolded(line.name), keep(line.name), keys_.size(), 0});
    } else if (line.kind == Line::Key && inSection) {
      // The section's keys are the last ones.
      Section& section = sections_.back();
      const auto first = keys_.begin() + static_cast<std::ptrdiff_t>(section.firstKey);
      if (std::none_of(first, keys_.end(), [&](const Key& k) { return sameName(view(k.name), line.name); })) {
        keys_.push_back({keepFolded(line.name), keep(cookedView(line.value, maxLength))});
        ++section.keyCount;
      }
    }
  }
}

Document::Span Document::keep(std::string_view text) {
  const Span span{text_.size(), text.size()};
  text_.append(text);
  return span;
}

Document::Span Document::keepFolded(std::string_view text) {
  const Span span = keep(text);
  for (char& c : std::span(text_).subspan(span.at)) c = foldAscii(c);
  return span;
}

Document Document::fromFile(std::string_view bytes) {
  const FileText file(bytes);
  Document doc(file.text(), std::string::npos);
  // ASCII reads the same in every encoding, and holds no more characters
  // than bytes: only other text is converted, and kept after the file's.
  const auto inUtf8 = [&](Span span) {
    const std::string_view text = doc.view(span);
    if (std::none_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
      return span;
    return doc.keep(file.toUtf8(text));
  };
  // Names stay in the file's form: a name that is not well-formed text
  // matches only as fileValue() matches it.
  doc.cp1252Names_ = encodingOf(bytes) == Encoding::Cp1252;
  for (Section& section : doc.sections_) section.shown = inUtf8(section.shown);
  for (Key& key : doc.keys_) {
    key.value = inUtf8(key.value);
    if (key.value.size > MaxValueLength) key.value = doc.keep(firstUnits(doc.view(key.value), MaxValueLength));
  }
  return doc;
}

std::optional<std::string> Document::get(std::string_view section, std::string_view key) const {
  // The names asked are matched as they are against the document's folded
  // names, so that a read copies no name.
  std::string sectionInCodePage, keyInCodePage;
  const auto named = [this](std::string_view name, std::string& inCodePage) {
    if (cp1252Names_ &&
        std::any_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; })) {
      inCodePage = parserForm(Encoding::Cp1252, name);
      name = inCodePage;
    }
    return trimmed(name);
  };
  const std::string_view sectionName = named(section, sectionInCodePage), keyName = named(key, keyInCodePage);
  for (const Section& s : sections_) {
    if (!sameAsFolded(sectionName, view(s.name))) continue;
    const auto first = keys_.begin() + static_cast<std::ptrdiff_t>(s.firstKey);
    for (auto k = first; k != first + static_cast<std::ptrdiff_t>(s.keyCount); ++k)
      if (sameAsFolded(keyName, view(k->name))) return std::string(view(k->value));
    return std::nullopt;
  }
  return std::nullopt;
}

std::vector<std::string> Document::sectionNames() const {
  std::vector<std::string> names;
  names.reserve(sections_.size());
  for (const Section& s : sections_) names.emplace_back(view(s.shown));
  return names;
}

}  // namespace profile

void ProfileWrite::orThrow() const {
  if (error != 0) throw RuntimeError(error, message);
}

namespace {

// What a read gives for an absent key: the default as the Windows call
// copies it, up to a NUL, without trailing blanks, into its buffer.
std::string defaultValue(std::string_view def) {
  def = def.substr(0, def.find('\0'));
  while (!def.empty() && def.back() == ' ') def.remove_suffix(1);
  return profile::firstUnits(def, profile::MaxValueLength);
}

std::string readValue(const std::optional<std::string>& bytes, std::string_view section, std::string_view key,
                      std::string_view def) {
  if (bytes) {
    if (auto value = profile::fileValue(*bytes, section, key)) return *value;
  }
  return defaultValue(def);
}

ProfileWrite writeFailure(std::string_view file, std::string_view section, std::string_view key, int error,
                          std::string_view cause) {
  return {error, std::string(cause),
          "cannot write " + std::string(key) + " of [" + std::string(section) + "] into " + std::string(file) + ": " +
              std::string(cause)};
}

// The read-modify-write of a write, over the two ways to reach a file.
// readBytes returns nullopt for a missing file and throws for any other
// failure, so that an unreadable file is never replaced by a new one.
template <class Read, class IsReadOnly, class Write>
ProfileWrite writeValue(std::string_view file, Read readBytes, IsReadOnly isReadOnly, Write writeBytes,
                        std::string_view section, std::string_view key, std::string_view value) {
  try {
    const std::optional<std::string> old = readBytes();
    if (old && isReadOnly()) return writeFailure(file, section, key, err::PermissionDenied, "the file is read-only");
    std::string updated = profile::fileWithValue(old ? *old : std::string(), section, key, value);
    if (!old || updated != *old) writeBytes(updated);
    return {};
  } catch (const RuntimeError& e) {
    return writeFailure(file, section, key, e.number(), e.what());
  }
}

}  // namespace

std::string ReadProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                              std::string_view def) {
  std::optional<std::string> bytes;
  try {
    bytes = ctx.fs.readFile(file);
  } catch (const RuntimeError&) {
  }
  return readValue(bytes, section, key, def);
}

ProfileWrite WriteProfileString(Context& ctx, std::string_view file, std::string_view section, std::string_view key,
                                std::string_view value) {
  std::optional<std::string> before;
  return writeValue(
      file,
      [&]() -> std::optional<std::string> {
        try {
          before = ctx.fs.readFile(file);
        } catch (const RuntimeError& e) {
          if (e.number() != err::FileNotFound) throw;
        }
        return before;
      },
      [&] { return (ctx.fs.attributes(file) & attr::ReadOnly) != 0; },
      [&](const std::string& bytes) {
        if (ctx.journal) {
          // The whole old value, not cut to what a read returns, so that it
          // can be put back as it was.
          std::optional<std::string> oldValue;
          if (before) oldValue = profile::fileValue(*before, section, key, std::string::npos);
          ctx.journal->profileKeyWritten(file, section, key, oldValue, value);
        }
        ctx.fs.writeFile(file, bytes);
      },
      section, key, value);
}

std::optional<profile::Document> ReadProfileDocumentIfReadable(Context& ctx, std::string_view file) {
  try {
    return profile::Document::fromFile(ctx.fs.readFile(file));
  } catch (const RuntimeError&) {
    return std::nullopt;
  }
}

profile::Document ReadProfileDocument(Context& ctx, std::string_view file) {
  auto doc = ReadProfileDocumentIfReadable(ctx, file);
  return doc ? std::move(*doc) : profile::Document::fromFile({});
}

std::string readProfileHostFile(const std::string& hostPath, std::string_view section, std::string_view key,
                                std::string_view def) {
  // Read a block at a time, up to the key: a large file is neither held
  // whole nor read past the key's section.
  const int fd = ::open(hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  const auto unreadable = [&](int e) { return RuntimeError(errorNumberFromErrno(e), "cannot read " + hostPath, e); };
  if (fd < 0) {
    if (errno == ENOENT) return defaultValue(def);
    throw unreadable(errno);
  }
  // A read that fails part-way is no answer: the key may be in the part
  // not read.
  const struct Closed {
    int fd;
    ~Closed() { ::close(fd); }
  } closed{fd};
  const auto value = profile::streamedFileValue(
      [&](char* buffer, std::size_t size) -> std::size_t {
        for (;;) {
          const ssize_t n = ::read(fd, buffer, size);
          if (n >= 0) return static_cast<std::size_t>(n);
          if (errno != EINTR) throw unreadable(errno);
        }
      },
      section, key);
  return value ? *value : defaultValue(def);
}

ProfileWrite writeProfileHostFile(const std::string& hostPath, std::string_view section, std::string_view key,
                                  std::string_view value, WritesInProgress* record) {
  return writeValue(
      hostPath,
      [&]() -> std::optional<std::string> {
        try {
          return readHostFile(hostPath);
        } catch (const RuntimeError& e) {
          if (e.sysErrno() == ENOENT) return std::nullopt;
          throw;
        }
      },
      [&] {
        struct stat st;
        return ::stat(hostPath.c_str(), &st) == 0 && (st.st_mode & S_IWUSR) == 0;
      },
      [&](const std::string& bytes) { writeFileAtomically(hostPath, bytes, record); }, section, key, value);
}

}  // namespace core
