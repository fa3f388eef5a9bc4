#include "core/codepage.h"

#include <gtest/gtest.h>

namespace {

using core::cp1252ToUtf8;
using core::utf8ToCp1252;

TEST(Codepage, EveryByteRoundTrips) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = cp1252ToUtf8(all);
  EXPECT_EQ(utf8ToCp1252(utf8), all);
  // One code point per byte.
  std::size_t points = 0;
  for (char c : utf8) points += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  EXPECT_EQ(points, 256u);
}

// Text the code page cannot hold reads back as "?"; bytes that are not
// UTF-8 are taken as Windows-1252 already. Those rows go one way only.
TEST(Codepage, MapsTheCharactersOfTheCodePage) {
  const struct {
    std::string cp1252, utf8;
    bool both = true;
  } cases[] = {
      {"plain ASCII", "plain ASCII"},
      {"Caf\xE9", "Caf\xC3\xA9"},                                            // é
      {"\xA9 2002", "\xC2\xA9 2002"},                                        // ©
      {"\x80", "\xE2\x82\xAC"},                                              // €
      {"\x96", "\xE2\x80\x93"},                                              // en dash
      {"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"},                            // typographic quotes
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: C1 controls
      {"? jet", "\xE2\x9C\x88 jet", false},                                  // ✈
      {"?", "\xEF\xBF\xBD", false},                                          // U+FFFD
      {"Caf\xE9", "Caf\xE9", false},
      {"\xC0\xAF", "\xC0\xAF", false},  // overlong "/"
      {"\xE2\x82", "\xE2\x82", false},  // cut short
      {std::string("a\0b", 3), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.utf8);
    EXPECT_EQ(utf8ToCp1252(c.utf8), c.cp1252);
    if (c.both) {
      EXPECT_EQ(cp1252ToUtf8(c.cp1252), c.utf8);
    }
  }
}

}  // namespace
