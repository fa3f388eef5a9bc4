#include "core/safe_names.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using core::NameFault;

TEST(CheckName, RefusesWhatNoFolderOfTheSimulatorMayBeNamed) {
  using enum NameFault;
  const std::pair<NameFault, std::vector<std::string>> cases[] = {
      {None, {"Cessna 172", ".hidden", "\xC3\xA6\xC3\xB8"}},
      {Empty, {""}},
      {DotName, {".", ".."}},
      {TrailingDotOrBlank, {"...", "plane.", "plane "}},
      {ReservedCharacter, {"a\\b", "a/b", "C:", "*b", "what?", "say \"hi\"", "<a>", "x|y"}},
      {ControlCharacter, {"tab\there", std::string("nul\0", 4), "del\x7f"}},
  };
  for (const auto& [fault, names] : cases)
    for (const auto& name : names) EXPECT_EQ(core::CheckName(name), fault) << name;
}

// Relative values as configuration files hold them: "..\" climbs, as the
// simulator's file system folds it, and the result must stay inside the
// tree; a drive, a wildcard or a control character names nothing there.
TEST(PathWithin, KeepsAValueInsideItsTree) {
  const std::string tree = "C:\\FS2002\\Aircraft";
  const std::string base = "C:\\FS2002\\Aircraft\\Heron\\";
  const std::pair<std::string, std::optional<std::string>> cases[] = {
      {"panel\\panel.cfg", "C:\\FS2002\\Aircraft\\Heron\\panel\\panel.cfg"},
      {"panel.\\..\\..\\Jay\\panel\\panel.cfg", "C:\\FS2002\\Aircraft\\Jay\\panel\\panel.cfg"},
      {"..\\c172\\panel\\day.bmp", "C:\\FS2002\\Aircraft\\c172\\panel\\day.bmp"},
      {"\\doubled\\\\sep/x.bmp", "C:\\FS2002\\Aircraft\\Heron\\doubled\\sep\\x.bmp"},
      {"panel.\\..\\..\\..\\Texture\\x.bmp", std::nullopt},
      {"..\\..\\..\\..\\etc\\passwd", std::nullopt},
      {"..", std::nullopt},
      {"panel.\\..\\..", std::nullopt},  // the tree itself is no file in it
      {"C:\\Windows\\win.ini", std::nullopt},
      {"D:x.bmp", std::nullopt},
      {"*.bmp", std::nullopt},
      {"a\tb.bmp", std::nullopt},
  };
  for (const auto& [relative, within] : cases) EXPECT_EQ(core::PathWithin(tree, base, relative), within) << relative;
  // The tree compares without regard to case, and a sibling that only
  // starts like it is outside.
  EXPECT_EQ(core::PathWithin("c:\\fs2002\\AIRCRAFT", base, "x.cfg"), "C:\\FS2002\\Aircraft\\Heron\\x.cfg");
  EXPECT_EQ(core::PathWithin(tree, "C:\\FS2002\\Aircraft2\\", "x.cfg"), std::nullopt);
  EXPECT_EQ(core::PathWithin(tree, base, "..\\..\\Aircraft2\\x.cfg"), std::nullopt);
  EXPECT_EQ(core::PathWithin("no drive", "no drive\\x", "y"), std::nullopt);
  // A base with or without its trailing "\\", and a tree with one or at a
  // drive's root, lead to the same files.
  EXPECT_EQ(core::PathWithin(tree, "C:\\FS2002\\Aircraft\\Heron", "x.cfg"), "C:\\FS2002\\Aircraft\\Heron\\x.cfg");
  EXPECT_EQ(core::PathWithin(tree + "\\", base, "x.cfg"), "C:\\FS2002\\Aircraft\\Heron\\x.cfg");
  EXPECT_EQ(core::PathWithin("C:\\", "C:\\", "x.cfg"), "C:\\x.cfg");
  EXPECT_EQ(core::PathWithin("C:\\", "C:\\", ".."), std::nullopt);
}

}  // namespace
