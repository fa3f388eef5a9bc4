#include "core/text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "core/codepage.h"
#include "core/list_input.h"
#include "core/listing_order.h"

namespace {

using core::cp1252ToUtf8;
using core::utf8ToCp1252;
using Fields = std::vector<std::string>;

struct PatternCase {
  const char* name;
  const char* patterns;
  bool matches;
};

// Names that hold "*" are names like any other.
TEST(MatchesPattern, FollowsWindowsWildcardsWithoutRegardToCase) {
  const PatternCase cases[] = {
      {"PLANE.AIR", "*.air", true},     {"plane.air.bak", "*.air", false}, {"Plane.SIF", "*.zip;*.sif", true},
      {"readme", "*.*", true},          {"a.zip", "*.zip;*.sif", true},    {"a.zi", "*.zip", false},
      {"notes.gzip", "*zip", true},     {"x1.bgl", "x?.bgl", true},        {"x12.bgl", "x?.bgl", false},
      {"panel.cfg", "panel.cfg", true}, {"Panel.CFG", "PANEL.cfg", true},  {"", "*", true},
      {"abcabd", "*abd", true},         {"aircraft.cfg", "", false},       {"*b", "*", true},
      {"*vil_q.bmp", "*.*", true},      {"*vil_q.bmp", "*.bmp", true},     {"*b", "*c", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(core::matchesPattern(c.name, c.patterns), c.matches) << std::string(c.name) + " ~ " + c.patterns;
}

TEST(PathText, ComponentsAndVbStyleCuts) {
  EXPECT_EQ(core::lastComponent("C:\\FS2002\\Aircraft\\aircraft.cfg"), "aircraft.cfg");
  EXPECT_EQ(core::lastComponent("noslash"), "noslash");
  EXPECT_EQ(core::parentPath("C:\\FS2002\\fs2002.exe"), "C:\\FS2002");
  EXPECT_EQ(core::dropRight("C:\\FS2002\\fs2002.exe", 11), "C:\\FS2002");
  EXPECT_EQ(core::dropRight("abc", 11), "");
  EXPECT_EQ(core::right("Plane.SIF", 3), "SIF");
  EXPECT_EQ(core::trim("  \t title = x \t"), "title = x");
  EXPECT_TRUE(core::iequals("FltSim.0", "fltsim.0"));
  EXPECT_FALSE(core::iequals("fltsim.0", "fltsim.00"));
  // Listings' order: letters without regard to case, bytes past ASCII after
  // them, a name that differs only in case in byte order.
  std::vector<std::string> names = {"b.bmp", "\xE9.bmp", "a.bmp", "Z", "ab", "A.bmp", "a"};
  std::sort(names.begin(), names.end(), core::listedBefore);
  EXPECT_EQ(names, (std::vector<std::string>{"a", "A.bmp", "a.bmp", "ab", "b.bmp", "Z", "\xE9.bmp"}));
}

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

TEST(ListInput, SplitsLikeBasicInput) {
  const struct {
    const char* name;
    std::string text;
    Fields fields;
  } cases[] = {
      {"empty text", "", {}},
      {"leading blanks skipped, trailing blanks lost", "  a  ,\tb\t, c ", {"a", "b", "c"}},
      {"blanks inside stay", "Cessna 172 , panel one", {"Cessna 172", "panel one"}},
      {"line ends separate", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
      {"a blank line is an empty field", "a\r\n\r\nb", {"a", "", "b"}},
      {"empty fields between commas", "a,,b", {"a", "", "b"}},
      {"a comma at the end leaves an empty field", "a,", {"a", ""}},
      {"quotes keep commas and blanks", "\" a, b \",c", {" a, b ", "c"}},
      {"text after the closing quote is dropped", "\"a\"junk,b", {"a", "b"}},
      {"a quote inside an unquoted field stays", "a\"b\",c", {"a\"b\"", "c"}},
      {"quoted field runs over a line end", "\"a\r\nb\",c", {"a\r\nb", "c"}},
      {"unclosed quote runs to the end", "\"abc, def", {"abc, def"}},
      {"panel gauge line", "fs9gps!gps_500,  0,0,500,266", {"fs9gps!gps_500", "0", "0", "500", "266"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(core::splitListInput(c.text), c.fields);
    EXPECT_EQ(core::firstListInputField(c.text), c.fields.empty() ? "" : c.fields.front());
  }
}

TEST(ListInput, SurvivesHostileText) {
  const std::string nul("a\0b,c", 5);
  EXPECT_EQ(core::splitListInput(nul), (Fields{std::string("a\0b", 3), "c"}));
  const std::string commas(100000, ',');
  EXPECT_EQ(core::splitListInput(commas).size(), commas.size() + 1);
  const std::string huge = "  " + std::string(10 * 1024 * 1024, 'x') + "  ,y";
  EXPECT_EQ(core::splitListInput(huge), (Fields{std::string(10 * 1024 * 1024, 'x'), "y"}));
  EXPECT_EQ(core::splitListInput("\"").front(), "");
}

}  // namespace
