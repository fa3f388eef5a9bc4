#include "core/codepage.h"

#include <cstdint>

namespace core {

namespace {

// Code points of the bytes 0x80..0x9F. The five bytes Windows-1252 leaves
// undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the C1 control of the
// same number, so that every byte survives a round trip.
constexpr char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The byte of a code point, or -1 when Windows-1252 has none.
int cp1252Byte(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == cp) return 0x80 + i;
  return -1;
}

bool isSurrogate(char32_t cp) {
  return cp >= 0xD800 && cp <= 0xDFFF;
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, 0 when the
// bytes there are not well-formed UTF-8 (overlong forms included, and
// surrogates unless withSurrogates, which takes the three bytes a lone
// surrogate of decoded UTF-16 becomes).
std::size_t decodeUtf8(std::string_view text, std::size_t pos, char32_t& cp, bool withSurrogates = false) {
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(text[i]); };
  const std::uint8_t b0 = byte(pos);
  std::size_t len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (pos + len > text.size()) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(pos + i) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (isSurrogate(cp) && !withSurrogates)) return 0;
  return len;
}

// The code point a byte that is not UTF-8 stands for: the byte as
// Windows-1252.
char32_t cp1252Char(std::uint8_t b) {
  return b >= 0x80 && b < 0xA0 ? kHigh[b - 0x80] : b;
}

char16_t unitAt(std::string_view bytes, std::size_t i, bool bigEndian) {
  const auto b0 = static_cast<std::uint8_t>(bytes[i]), b1 = static_cast<std::uint8_t>(bytes[i + 1]);
  return static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
}

void appendUnit(std::string& out, char32_t unit, bool bigEndian) {
  const auto high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

}  // namespace

std::string cp1252ToUtf8(std::string_view bytes) {
  // ASCII, the most of most files, is the same in both.
  std::size_t ascii = 0;
  while (ascii < bytes.size() && static_cast<std::uint8_t>(bytes[ascii]) < 0x80) ++ascii;
  std::string out;
  out.reserve(bytes.size() + (bytes.size() - ascii) / 8);
  out.append(bytes.substr(0, ascii));
  for (char c : bytes.substr(ascii)) {
    const auto b = static_cast<std::uint8_t>(c);
    if (b < 0x80)
      out += c;
    else
      appendUtf8(out, cp1252Char(b));
  }
  return out;
}

std::string utf8ToCp1252(std::string_view text) {
  // ASCII, the whole of most names a profile read is asked for, is the
  // same in both and is taken in one piece.
  std::size_t pos = 0;
  while (pos < text.size() && static_cast<std::uint8_t>(text[pos]) < 0x80) ++pos;
  std::string out(text.substr(0, pos));
  if (pos == text.size()) return out;
  out.reserve(text.size());
  while (pos < text.size()) {
    char32_t cp;
    const std::size_t len = decodeUtf8(text, pos, cp);
    if (len == 0) {
      // Not UTF-8: most likely text that is Windows-1252 already, so the
      // byte is kept rather than lost.
      out += text[pos++];
      continue;
    }
    const int b = cp1252Byte(cp);
    out += b < 0 ? '?' : static_cast<char>(b);
    pos += len;
  }
  return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
  std::string out;
  out.reserve(bytes.size());
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    char32_t cp = unitAt(bytes, i, bigEndian);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
      const char16_t low = unitAt(bytes, i + 2, bigEndian);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        i += 2;
      }
    }
    appendUtf8(out, cp);  // a lone surrogate too, as its three bytes
  }
  return out;
}

std::string utf8ToUtf16(std::string_view text, bool bigEndian) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp;
    std::size_t len = decodeUtf8(text, pos, cp, true);
    if (len == 0) {
      cp = cp1252Char(static_cast<std::uint8_t>(text[pos]));
      len = 1;
    }
    if (cp >= 0x10000) {
      appendUnit(out, 0xD800 + ((cp - 0x10000) >> 10), bigEndian);
      appendUnit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), bigEndian);
    } else {
      appendUnit(out, cp, bigEndian);
    }
    pos += len;
  }
  return out;
}

std::string wellFormedUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    char32_t cp;
    const std::size_t len = decodeUtf8(text, pos, cp, true);
    if (len == 0 || isSurrogate(cp)) {
      out += "\xEF\xBF\xBD";  // U+FFFD
      pos += len == 0 ? 1 : len;
    } else {
      out.append(text.substr(pos, len));
      pos += len;
    }
  }
  return out;
}

}  // namespace core
