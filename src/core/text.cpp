#include "core/text.h"

#include <algorithm>

namespace core {

namespace {
char upperChar(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
}  // namespace

std::string lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), lowerChar);
  return out;
}

std::string upper(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(), upperChar);
  return out;
}

bool iequals(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return lowerChar(x) == lowerChar(y); });
}

bool istartsWith(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

bool iendsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && iequals(s.substr(s.size() - suffix.size()), suffix);
}

std::string trim(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  std::size_t b = 0, e = s.size();
  while (b < e && blank(s[b])) ++b;
  while (e > b && blank(s[e - 1])) --e;
  return std::string(s.substr(b, e - b));
}

std::string right(std::string_view s, std::size_t n) {
  return std::string(n >= s.size() ? s : s.substr(s.size() - n));
}

std::string left(std::string_view s, std::size_t n) {
  return std::string(s.substr(0, std::min(n, s.size())));
}

std::string dropRight(std::string_view s, std::size_t n) {
  return n >= s.size() ? std::string() : std::string(s.substr(0, s.size() - n));
}

std::string joinPath(std::string_view folder, std::string_view name) {
  std::string out(folder);
  out += '\\';
  out += name;
  return out;
}

std::string lastComponent(std::string_view path) {
  auto pos = path.find_last_of("\\/");
  return std::string(pos == std::string_view::npos ? path : path.substr(pos + 1));
}

std::string parentPath(std::string_view path) {
  auto pos = path.find_last_of("\\/");
  return pos == std::string_view::npos ? std::string() : std::string(path.substr(0, pos));
}

namespace {
// Iterative wildcard match with backtracking to the last "*".
bool matchOne(std::string_view name, std::string_view pat) {
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    // A "*" of the pattern is a wildcard even where the name holds a "*".
    if (p < pat.size() && pat[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pat.size() && (pat[p] == '?' || lowerChar(pat[p]) == lowerChar(name[n]))) {
      ++n;
      ++p;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pat.size() && pat[p] == '*') ++p;
  // "*.*" matches names without a dot too, as on Windows.
  if (p + 2 == pat.size() && pat.substr(p) == ".*") return true;
  return p == pat.size();
}
}  // namespace

bool matchesPattern(std::string_view name, std::string_view patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    auto end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    auto one = trim(patterns.substr(start, end - start));
    if (!one.empty() && matchOne(name, one)) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace core
