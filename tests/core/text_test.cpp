#include "core/text.h"

#include <gtest/gtest.h>

namespace {

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
}

}  // namespace
