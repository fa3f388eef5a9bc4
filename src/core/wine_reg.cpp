#include "core/wine_reg.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "core/text.h"

namespace core::winereg {

namespace {

constexpr std::string_view kHeader = "WINE REGISTRY Version 2";

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// UTF-16 code units to UTF-8, pairing surrogates; a lone one becomes U+FFFD.
class Utf16Sink {
 public:
  explicit Utf16Sink(std::string& out) : out_(out) {}
  void unit(char16_t u) {
    if (high_ && u >= 0xDC00 && u <= 0xDFFF) {
      appendUtf8(out_, 0x10000 + ((char32_t(high_) - 0xD800) << 10) + (u - 0xDC00));
      high_ = 0;
      return;
    }
    finish();
    if (u >= 0xD800 && u <= 0xDBFF)
      high_ = u;
    else
      appendUtf8(out_, u >= 0xDC00 && u <= 0xDFFF ? char32_t(0xFFFD) : char32_t(u));
  }
  // A byte of the file that is no escape: the files are ASCII, but a hand-
  // edited one may hold UTF-8, which passes through as it is.
  void raw(char c) {
    finish();
    out_ += c;
  }
  void finish() {
    if (high_) appendUtf8(out_, 0xFFFD);
    high_ = 0;
  }

 private:
  std::string& out_;
  char16_t high_ = 0;
};

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads an escaped string from s[i] up to the unescaped terminator, which it
// steps over. False when the line ends first.
bool decodeString(std::string_view s, std::size_t& i, char terminator, std::string& out) {
  Utf16Sink sink(out);
  while (i < s.size()) {
    const char c = s[i++];
    if (c == terminator) {
      sink.finish();
      return true;
    }
    if (c != '\\') {
      sink.raw(c);
      continue;
    }
    if (i >= s.size()) break;
    const char e = s[i++];
    switch (e) {
      case 'a':
        sink.unit(7);
        break;
      case 'b':
        sink.unit(8);
        break;
      case 'e':
        sink.unit(27);
        break;
      case 'f':
        sink.unit(12);
        break;
      case 'n':
        sink.unit('\n');
        break;
      case 'r':
        sink.unit('\r');
        break;
      case 't':
        sink.unit('\t');
        break;
      case 'v':
        sink.unit(11);
        break;
      case 'x': {
        unsigned v = 0;
        int n = 0;
        while (n < 4 && i < s.size() && hexDigit(s[i]) >= 0) v = v * 16 + hexDigit(s[i++]), ++n;
        sink.unit(n ? char16_t(v) : u'x');
        break;
      }
      default:
        if (e >= '0' && e <= '7') {
          unsigned v = e - '0';
          for (int n = 1; n < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++n) v = v * 8 + (s[i++] - '0');
          sink.unit(char16_t(v));
        } else {
          sink.raw(e);  // \\, \", \[, \] and anything else stand for themselves
        }
    }
  }
  sink.finish();
  return false;
}

// UTF-16LE bytes as text; trailing NULs dropped, inner ones kept (the
// separators of a multi-string).
std::string textOfUtf16(std::string_view bytes) {
  std::string out;
  Utf16Sink sink(out);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
    sink.unit(char16_t(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8)));
  sink.finish();
  while (!out.empty() && out.back() == '\0') out.pop_back();
  return out;
}

class Lines {
 public:
  explicit Lines(std::string_view text) : text_(text) {}
  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    auto end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    ++number_;
    return true;
  }
  // Moves to the next line that starts with "[", without reading the ones
  // between, when that line is sure to start a key. It is not when the line
  // before it ends with a backslash: a hex value there would go on over it.
  // Then nothing moves and false says that the lines are to be read.
  bool skipToNextKey() {
    const auto at = text_.find("\n[", pos_ == 0 ? 0 : pos_ - 1);
    if (at != std::string_view::npos) {
      std::size_t end = at;
      if (end > pos_ && text_[end - 1] == '\r') --end;
      while (end > pos_ && (text_[end - 1] == ' ' || text_[end - 1] == '\t')) --end;
      if (end > pos_ && text_[end - 1] == '\\') return false;
    }
    const std::size_t end = at == std::string_view::npos ? text_.size() : at + 1;
    if (end > pos_) number_ += static_cast<std::size_t>(std::count(text_.begin() + pos_, text_.begin() + end, '\n'));
    pos_ = end;
    return true;
  }
  std::size_t number() const { return number_; }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
  std::size_t number_ = 0;
};

// The key path of "[a\\b\\c] 1733581234" with single backslashes.
std::optional<std::string> keyPathOf(std::string_view line) {
  std::size_t i = 1;
  std::string path;
  if (!decodeString(line, i, ']', path)) return std::nullopt;
  return path;
}

class Parser {
 public:
  Parser(std::string_view text, std::span<const std::string> wanted, bool all)
      : lines_(text), wanted_(wanted), all_(all) {}

  File run() {
    std::string_view line;
    if (!lines_.next(line) || line.rfind(kHeader, 0) != 0) {
      problem("not a Wine registry file");
      return std::move(file_);
    }
    file_.recognised = true;
    Key* key = nullptr;
    while (true) {
      if (!lines_.next(line)) break;
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '#') {
        if (line.rfind("#arch=", 0) == 0) file_.arch = std::string(line.substr(6));
        continue;
      }
      if (line[0] == '[') {
        key = nullptr;
        auto path = keyPathOf(line);
        if (!path) {
          problem("a key line without its closing \"]\"");
          if (!all_) lines_.skipToNextKey();  // values outside any key are not read
          continue;
        }
        if (!all_ && !isWanted(*path)) {
          if (!lines_.skipToNextKey()) {
            // Its lines are read, so that a value over several lines takes
            // them as the full read does, and its values dropped.
            unwanted_.values.clear();
            key = &unwanted_;
          }
          continue;
        }
        file_.keys.push_back({std::move(*path), {}});
        key = &file_.keys.back();
        continue;
      }
      if (line[0] != '"' && line[0] != '@') {
        // Continuation lines of a value are read with it; anything else here
        // is damage.
        problem("an unreadable line");
        continue;
      }
      if (!key) {
        problem("a value outside any key");
        continue;
      }
      if (auto value = readValue(line)) key->values.push_back(std::move(*value));
    }
    return std::move(file_);
  }

 private:
  bool isWanted(std::string_view path) const {
    return std::any_of(wanted_.begin(), wanted_.end(), [&](const std::string& w) { return iequals(w, path); });
  }

  void problem(std::string what) { file_.problems.push_back({lines_.number(), std::move(what)}); }

  std::optional<Value> readValue(std::string_view line) {
    Value value;
    std::size_t i = 1;
    if (line[0] == '"' && !decodeString(line, i, '"', value.name)) {
      problem("a value name without its closing quote");
      return std::nullopt;
    }
    if (i >= line.size() || line[i] != '=') {
      problem("a value name without \"=\"");
      return std::nullopt;
    }
    const std::string_view data = line.substr(i + 1);
    if (!data.empty() && data[0] == '"') return readString(std::move(value), data, ValueType::String);
    if (data.rfind("str(", 0) == 0) {
      const auto close = data.find("):");
      const std::string_view kind = close == std::string_view::npos ? "" : data.substr(4, close - 4);
      const auto type = kind == "2"   ? ValueType::ExpandString
                        : kind == "7" ? ValueType::MultiString
                                      : ValueType::String;
      if (close != std::string_view::npos && close + 2 < data.size() && data[close + 2] == '"')
        return readString(std::move(value), data.substr(close + 2), type);
      problem("a str() value without its text");
      return std::nullopt;
    }
    if (data.rfind("dword:", 0) == 0) return readDword(std::move(value), data.substr(6));
    if (data.rfind("hex", 0) == 0) return readHex(std::move(value), data.substr(3));
    problem("a value of no known type");
    return std::nullopt;
  }

  std::optional<Value> readString(Value value, std::string_view quoted, ValueType type) {
    std::size_t i = 1;
    if (!decodeString(quoted, i, '"', value.data)) {
      problem("a string without its closing quote");
      return std::nullopt;
    }
    value.type = type;
    return value;
  }

  std::optional<Value> readDword(Value value, std::string_view digits) {
    std::uint32_t v = 0;
    if (digits.empty() || digits.size() > 8 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return hexDigit(c) >= 0; })) {
      problem("a dword that is not 1 to 8 hex digits");
      return std::nullopt;
    }
    for (char c : digits) v = v * 16 + static_cast<std::uint32_t>(hexDigit(c));
    value.type = ValueType::Dword;
    value.data = std::to_string(v);
    return value;
  }

  // "hex:" or "hex(N):" and comma-separated bytes, continued over further
  // lines by a final backslash.
  std::optional<Value> readHex(Value value, std::string_view rest) {
    int kind = 3;
    if (!rest.empty() && rest[0] == '(') {
      const auto close = rest.find(')');
      kind = 0;
      for (std::size_t j = 1; j < close && close != std::string_view::npos; ++j) {
        const int d = hexDigit(rest[j]);
        if (d < 0 || kind > 0xFFFF) kind = -1;
        if (kind >= 0) kind = kind * 16 + d;
      }
      if (close == std::string_view::npos || kind < 0) {
        problem("a hex() value of no readable type");
        return std::nullopt;
      }
      rest = rest.substr(close + 1);
    }
    if (rest.empty() || rest[0] != ':') {
      problem("a hex value without \":\"");
      return std::nullopt;
    }
    rest.remove_prefix(1);
    std::string bytes;
    while (true) {
      std::string_view part = rest;
      while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
      const bool continued = !part.empty() && part.back() == '\\';
      if (continued) part.remove_suffix(1);
      if (!readBytes(part, bytes)) {
        problem("a hex value with a byte that is not two hex digits");
        return std::nullopt;
      }
      if (!continued) break;
      if (!lines_.next(rest)) {
        problem("the file ends inside a value");
        return std::nullopt;
      }
    }
    switch (kind) {
      case 1:
        value.type = ValueType::String;
        value.data = textOfUtf16(bytes);
        break;
      case 2:
        value.type = ValueType::ExpandString;
        value.data = textOfUtf16(bytes);
        break;
      case 7:
        value.type = ValueType::MultiString;
        value.data = textOfUtf16(bytes);
        break;
      default:
        value.type = ValueType::Binary;
        value.data = std::move(bytes);
    }
    return value;
  }

  static bool readBytes(std::string_view part, std::string& bytes) {
    std::size_t i = 0;
    while (i < part.size()) {
      while (i < part.size() && (part[i] == ' ' || part[i] == '\t' || part[i] == ',')) ++i;
      if (i >= part.size()) break;
      const int hi = hexDigit(part[i]);
      const int lo = i + 1 < part.size() ? hexDigit(part[i + 1]) : -1;
      if (hi < 0) return false;
      if (lo < 0) {
        bytes += static_cast<char>(hi);
        ++i;
      } else {
        bytes += static_cast<char>(hi * 16 + lo);
        i += 2;
      }
      if (i < part.size() && part[i] != ',' && part[i] != ' ' && part[i] != '\t') return false;
    }
    return true;
  }

  Lines lines_;
  std::span<const std::string> wanted_;
  bool all_;
  File file_;
  Key unwanted_;  // the values of a key not asked for that had to be read
};

}  // namespace

const Value* Key::value(std::string_view name) const {
  for (const auto& v : values)
    if (iequals(v.name, name)) return &v;
  return nullptr;
}

const Key* File::key(std::string_view path) const {
  for (const auto& k : keys)
    if (iequals(k.path, path)) return &k;
  return nullptr;
}

File parse(std::string_view text) {
  return Parser(text, {}, true).run();
}

File parseKeys(std::string_view text, std::span<const std::string> keys) {
  return Parser(text, keys, false).run();
}

}  // namespace core::winereg
