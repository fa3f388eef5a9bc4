#include "core/name_fold.h"

#include <algorithm>

namespace core {

namespace {

// Code points above Unicode's range stand for a byte that starts no valid
// sequence.
constexpr char32_t kStrayByte = 0x110000;

// The lower-case form of one Latin letter of the simulator's code page, as
// its file system folds it; other code points unchanged.
char32_t foldLatin(char32_t c) {
  if (c >= U'A' && c <= U'Z') return c + 32;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;
  if (c == 0x178) return 0xFF;
  const bool evenUpper = (c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177);
  const bool oddUpper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
  if ((evenUpper && c % 2 == 0) || (oddUpper && c % 2 == 1)) return c + 1;
  return c;
}

// Next code point of UTF-8 text; only two-byte sequences are decoded (they
// hold every letter that folds), any other byte stands for itself.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
  const auto b = static_cast<unsigned char>(s[i]);
  if ((b & 0xE0) == 0xC0 && i + 1 < s.size() && (static_cast<unsigned char>(s[i + 1]) & 0xC0) == 0x80) {
    const char32_t c = (char32_t(b & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F);
    i += 2;
    return c;
  }
  ++i;
  return b < 0x80 ? char32_t(b) : kStrayByte + b;
}

}  // namespace

bool namesMatch(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (foldLatin(nextCodePoint(a, i)) != foldLatin(nextCodePoint(b, j))) return false;
  return i == a.size() && j == b.size();
}

std::string foldedName(std::string_view name) {
  std::string key;
  foldName(name, key);
  return key;
}

void foldName(std::string_view name, std::string& key) {
  // Each folded code point in a form no other one shares: ASCII as itself,
  // the rest of the two-byte range as its UTF-8 pair (lead 0xC2-0xDF), a
  // stray byte as 0xFF and the byte, which no pair starts with.
  if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    // Nearly every name: ASCII, whose letters fold byte by byte.
    key = name;
    for (char& c : key)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return;
  }
  key.clear();
  key.reserve(name.size());
  for (std::size_t i = 0; i < name.size();) {
    const char32_t c = foldLatin(nextCodePoint(name, i));
    if (c < 0x80) {
      key += static_cast<char>(c);
    } else if (c < 0x800) {
      key += static_cast<char>(0xC0 | (c >> 6));
      key += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      key += '\xFF';
      key += static_cast<char>(c - kStrayByte);
    }
  }
}

}  // namespace core
