#include "journal/installed_archives.h"

#include <chrono>
#include <filesystem>
#include <tuple>

#include "core/content_hash.h"
#include "journal/store.h"
#include "support/sim_fixture.h"

namespace {

using InstalledArchivesTest = testsupport::SimFixture;

// Only the files of an installed archive's size are read, each once until
// it changes.
TEST_F(InstalledArchivesTest, OnlyFilesOfAnInstalledSizeAreReadAndOnlyOnce) {
  journal::Installation alpha;
  alpha.archiveSize = 5;
  alpha.archiveHash = core::contentHash("alpha");
  (void)journal::Store(journal::databasePath(ctx().locations.appFolder)).begin(alpha);
  const std::vector<std::pair<std::string, std::string>> files{
      {"C:\\a.zip", "alpha"}, {"C:\\b.zip", "bravo"}, {"C:\\c.zip", "charlie"}};
  for (const auto& [file, content] : files) writeFile(file, content);
  const std::tuple<std::string, std::vector<bool>, int> steps[] = {
      {"", {true, false, false}, 2}, {"", {true, false, false}, 2}, {"C:\\b.zip", {true, true, false}, 3}};
  journal::InstalledArchives archives;
  archives.reload(ctx().locations.appFolder);
  for (const auto& [rewritten, expected, hashed] : steps) {
    if (!rewritten.empty()) {
      // With "alpha", a second later whatever the clock's grain.
      const auto was = std::filesystem::last_write_time(host(rewritten));
      writeFile(rewritten, "alpha");
      std::filesystem::last_write_time(host(rewritten), was + std::chrono::seconds(1));
    }
    std::vector<bool> installed;
    for (const auto& file : files) installed.push_back(archives.installed(host(file.first)));
    EXPECT_EQ(installed, expected) << rewritten;
    EXPECT_EQ(archives.filesHashed(), hashed) << rewritten;
  }
}

}  // namespace
