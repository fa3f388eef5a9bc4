#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/profile.h"

namespace {

using core::profile::Document;
using core::profile::lookup;

// Files in the shapes real simulator configurations come in: LF, CR LF and
// mixed line ends, no final line end, inline comments, "//" comments,
// banners before the first section, tabs for alignment, a repeated section
// with a repeated key, Windows-1252 and UTF-8 bytes, long lines, upper-case
// section names.
std::vector<std::pair<std::string, std::string>> shapedFiles() {
  return {
      {"fs9 style, CR LF, banner and // comments",
       "****************************\r\n"
       "  Cessna 172 for FS2002 \xA9 someone\r\n"
       "****************************\r\n"
       "// general\r\n"
       "[fltsim.0]\r\n"
       "title=Cessna Skyhawk 172SP\r\n"
       "sim=Cessna172SP\r\n"
       "model=\r\n"
       "panel=\r\n"
       "sound=\r\n"
       "texture=\r\n"
       "atc_airline=\r\n"
       "ui_manufacturer=Cessna\r\n"
       "description=A long text with \xE9 and \x96 dashes. " +
           std::string(600, 'd') +
           "\r\n"
           "\r\n"
           "[Fltsim.1]\r\n"
           "title = \"Cessna Skyhawk 172SP Paint1\"  // inline comment\r\n"
           "texture = 1\r\n"
           "\r\n"
           "[attitude_indicators]\r\n"
           "attitude_indicator.0 = 1, 0\r\n"
           "attitude_indicator.0 = 2, 0\r\n"
           "\r\n"
           "[autopilot]\t\t// autopilot section\r\n"
           "autopilot_available=1\r\n"
           "[attitude_indicators]\r\n"
           "attitude_indicator.1 = 3, 0\r\n"},
      {"fsx style, LF, tabs and ; inline comments, no final line end",
       "[FLTSIM.0]\n"
       "title\t\t\t= \"Jodel DR-1050\" ; the name\n"
       "sim\t\t\t= dr1050\n"
       "model\t\t\t=\n"
       "atc_type = \"JODEL\" \n"
       "[flaps.0]       //Trailing Edge Flaps\n"
       "type = 1 ; tail\n"
       "[LIGHTS] ; Done in .mdl file!\n"
       "light.0 = 3,  -3.00, -16.5, 0.2, fx_navred ,\n"
       "[FLTSIM.%]\n"
       "title = \"placeholder\""},
      {"mixed line ends, UTF-8 typographic quotes",
       "[fltsim.0]\n"
       "title=\xE2\x80\x98"
       "Baron\xE2\x80\x99\n"
       "sound = \"\\..\\..\\Asobo_Baron_G58\\sound\"\n"
       "[Flaps.0]\r\n"
       "type=1\r\n"
       "[autopilot]\r\n"
       "default_vertical_speed = 700.0\r\n"},
  };
}

// Section and key names a file spells, found by plain text search rather
// than by the parser under test.
void namesOf(const std::string& bytes, std::set<std::string>& sections, std::set<std::string>& keys) {
  std::istringstream in(bytes);
  std::string line;
  while (std::getline(in, line)) {
    const auto first = line.find_first_not_of(" \t");
    if (first == std::string::npos) continue;
    if (line[first] == '[') {
      const auto close = line.rfind(']');
      if (close != std::string::npos && close > first) sections.insert(line.substr(first + 1, close - first - 1));
    } else if (const auto eq = line.find('='); eq != std::string::npos) {
      keys.insert(line.substr(0, eq));
    }
  }
  sections.insert("no such section");
  keys.insert("no such key");
}

void expectDocumentAgrees(const std::string& bytes) {
  std::set<std::string> sections, keys;
  namesOf(bytes, sections, keys);
  const Document doc(bytes);
  std::size_t found = 0;
  for (const auto& s : sections)
    for (const auto& k : keys) {
      const auto expected = lookup(bytes, s, k);
      found += expected.has_value();
      ASSERT_EQ(doc.get(s, k), expected) << "[" << s << "] " << k;
    }
  EXPECT_GT(found, 0u);
}

TEST(ProfileShapes, DocumentAgreesWithLookup) {
  for (const auto& [name, bytes] : shapedFiles()) {
    SCOPED_TRACE(name);
    expectDocumentAgrees(bytes);
  }
}

TEST(ProfileShapes, ReadsWhatTheSimulatorWouldRead) {
  const auto files = shapedFiles();
  const std::string& fs9 = files[0].second;
  const std::string& fsx = files[1].second;
  const std::string& mixed = files[2].second;
  EXPECT_EQ(lookup(fs9, "fltsim.1", "title"), "\"Cessna Skyhawk 172SP Paint1\"  // inline comment");
  EXPECT_EQ(lookup(fs9, "attitude_indicators", "attitude_indicator.0"), "1, 0");
  EXPECT_EQ(lookup(fs9, "attitude_indicators", "attitude_indicator.1"), std::nullopt);
  EXPECT_EQ(lookup(fs9, "autopilot", "autopilot_available"), "1");
  EXPECT_EQ(lookup(fs9, "fltsim.0", "description")->size(), 199u);
  EXPECT_EQ(lookup(fsx, "fltsim.0", "title"), "\"Jodel DR-1050\" ; the name");
  EXPECT_EQ(lookup(fsx, "fltsim.0", "atc_type"), "JODEL");
  EXPECT_EQ(lookup(fsx, "lights", "light.0"), "3,  -3.00, -16.5, 0.2, fx_navred ,");
  EXPECT_EQ(lookup(fsx, "FLTSIM.%", "title"), "placeholder");
  EXPECT_EQ(lookup(mixed, "fltsim.0", "title"),
            "\xE2\x80\x98"
            "Baron\xE2\x80\x99");
  EXPECT_EQ(lookup(mixed, "fltsim.0", "sound"), "\\..\\..\\Asobo_Baron_G58\\sound");
  EXPECT_EQ(lookup(mixed, "AUTOPILOT", "default_vertical_speed"), "700.0");
}

// The collection of real files some machines carry; only read when present.
TEST(ProfileShapes, DocumentAgreesWithLookupOnRealFiles) {
  const std::filesystem::path root = "/work/shared/samples/fs-configs";
  std::error_code ec;
  if (!std::filesystem::is_directory(root, ec)) GTEST_SKIP() << "no sample files here";
  int files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root, ec)) {
    if (!entry.is_regular_file() || entry.path().extension() == ".md") continue;
    std::ifstream in(entry.path(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    SCOPED_TRACE(entry.path().string());
    expectDocumentAgrees(bytes.str());
    ++files;
  }
  EXPECT_GT(files, 0);
}

}  // namespace
