#include "scan/report_box.h"

#include <gtest/gtest.h>

#include <chrono>

#include "scan/scan_sounds.h"
#include "scan_fixture.h"

namespace scantest {
namespace {

using Calls = std::vector<std::pair<int, int>>;

class ReportBoxProgressTest : public ScanFixture {
 protected:
  // Runs a sound scan of `entries` empty sound sets and records the
  // progress calls, with the text the box held at each.
  Calls scan(int entries, std::chrono::milliseconds interval) {
    core::ListView lydLst;
    for (int i = 0; i < entries; ++i) {
      const std::string folder = "C:\\FS2002\\Aircraft\\S" + std::to_string(i) + "\\sound\\";
      writeFile(folder + "sound.cfg");
      lydLst.add("S" + std::to_string(i), {folder, ""});
    }
    Calls calls;
    std::string text;
    int missing = 0;
    scan::ReportBox box(
        text, missing,
        [&](int done, int total) {
          calls.emplace_back(done, total);
          // Each call sees the header and the blocks of the entries done.
          std::size_t blocks = 0;
          for (auto pos = text.find("Sound: OK"); pos != std::string::npos; pos = text.find("Sound: OK", pos + 1))
            ++blocks;
          EXPECT_EQ(static_cast<std::size_t>(done), blocks);
          EXPECT_TRUE(text.starts_with("----- Scanning for missing sound files -----"));
        },
        interval);
    scan::ScanSounds(scanCtx(), lydLst, box);
    return calls;
  }
};

// Within the interval only the start and the last entry are shown.
TEST_F(ReportBoxProgressTest, ShowsTheStartAndTheLastEntryAndWithoutIntervalEveryEntry) {
  EXPECT_EQ((Calls{{0, 3}, {1, 3}, {2, 3}, {3, 3}}), scan(3, std::chrono::milliseconds(0)));
  EXPECT_EQ((Calls{{0, 40}, {40, 40}}), scan(40, std::chrono::hours(1)));
}

}  // namespace
}  // namespace scantest
