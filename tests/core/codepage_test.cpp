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

TEST(Codepage, MapsTheCharactersOfTheCodePage) {
  const std::pair<const char*, const char*> cases[] = {
      // Windows-1252, UTF-8
      {"plain ASCII", "plain ASCII"},
      {"Caf\xE9", "Caf\xC3\xA9"},                                            // é
      {"\xA9 2002", "\xC2\xA9 2002"},                                        // ©
      {"\x80", "\xE2\x82\xAC"},                                              // €
      {"\x96", "\xE2\x80\x93"},                                              // en dash
      {"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"},                            // typographic quotes
      {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},  // undefined: C1 controls
  };
  for (const auto& [cp1252, utf8] : cases) {
    EXPECT_EQ(cp1252ToUtf8(cp1252), utf8);
    EXPECT_EQ(utf8ToCp1252(utf8), cp1252);
  }
}

TEST(Codepage, TextTheCodePageCannotHold) {
  EXPECT_EQ(utf8ToCp1252("\xE2\x9C\x88 jet"), "? jet");  // ✈
  EXPECT_EQ(utf8ToCp1252("\xEF\xBF\xBD"), "?");          // U+FFFD
  // Bytes that are not UTF-8 are taken as Windows-1252 already.
  EXPECT_EQ(utf8ToCp1252("Caf\xE9"), "Caf\xE9");
  EXPECT_EQ(utf8ToCp1252("\xC0\xAF"), "\xC0\xAF");  // overlong "/"
  EXPECT_EQ(utf8ToCp1252("\xE2\x82"), "\xE2\x82");  // cut short
  EXPECT_EQ(utf8ToCp1252(std::string("a\0b", 3)), std::string("a\0b", 3));
}

}  // namespace
