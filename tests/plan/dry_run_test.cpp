#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>

#include "core/content_hash.h"
#include "core/profile.h"
#include "core/text.h"
#include "install/install_command.h"
#include "plan/planner.h"
#include "sample/sample.h"
#include "support/sim_fixture.h"
#include "support/standins.h"
#include "support/tree_snapshot.h"

namespace {

using plan::FileChange;
using plan::PlannedValue;

// The sample FS2000, where both outside programs have work (an FS5
// aircraft, an old adventure, a scenery package), with the native stand-ins.
class DryRunTest : public testsupport::SimFixture {
 protected:
  DryRunTest() {
    contents = sample::writeSample(root + "/c", {70, sample::HandMadeAircraft, ""});
    testsupport::putConverters(contents.simFolder);
    testsupport::putSceneryInstaller(std::filesystem::path(contents.sceneryInstaller).parent_path());
    sample::registerSample(ctx(), contents, 70);
    state().simVersion = 70;
    dialogs.allowAnyMessages();
  }

  // The simulator's drive and the program's own stores.
  testsupport::TreeSnapshot snapshot() const {
    auto out = testsupport::snapshotTree(root + "/c");
    for (auto& [path, bytes] : testsupport::snapshotTree(root + "/config")) out["config/" + path] = bytes;
    return out;
  }
  // A Windows path of drive C: as the snapshot names it.
  std::string relative(const std::string& windowsPath) const { return host(windowsPath).substr(root.size() + 3); }
  std::string sim() const { return "C:\\" + contents.simName; }

  sample::Contents contents;
};

std::string lineBreaks(std::string text) {
  for (auto at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n")) text.erase(at, 1);
  return text;
}

core::PackageKind kindOf(sample::DownloadKind kind) {
  using D = sample::DownloadKind;
  using K = core::PackageKind;
  const std::map<D, K> kinds = {{D::Aircraft, K::Aircraft},
                                {D::Liveries, K::Aircraft},
                                {D::Panel, K::Panel},
                                {D::Nested, K::Panel},
                                {D::Sound, K::Sound},
                                {D::Adventure, K::Adventure},
                                {D::OldAdventure, K::Adventure},
                                {D::Fs5Aircraft, K::Fs5Aircraft},
                                {D::SifPackage, K::Sif},
                                {D::Scenery, K::Scenery},
                                {D::MultiAircraft, K::MultiAircraft}};
  return kinds.contains(kind) ? kinds.at(kind) : K::None;
}

class EveryDownload : public DryRunTest, public ::testing::WithParamInterface<int> {};

// Each kind of archive: the plan leaves every file as it was, and then the
// real installation changes exactly what the plan says, into the content
// it says, writes the values it says and shows the messages it says. What
// an outside program does is beyond the plan.
TEST_P(EveryDownload, PlansWhatTheInstallationThenDoes) {
  const auto& download = contents.downloadFiles.at(static_cast<std::size_t>(GetParam()));
  SCOPED_TRACE(download.file);
  const std::string archive = "C:\\Downloads\\" + download.file;
  const auto before = snapshot();
  const plan::InstallPlan p = plan::PlanInstall(ctx(), {archive});
  EXPECT_EQ(testsupport::treeDifferences(before, snapshot()), "");
  EXPECT_EQ(state().installedCount, 0);
  ASSERT_EQ(p.archives.size(), 1u);
  const plan::ArchivePlan& a = p.archives[0];
  EXPECT_EQ(a.archive, archive);
  EXPECT_EQ(a.kind, kindOf(download.kind));
  // Where each livery's folder goes, as the archive names it.
  std::vector<std::string> placed;
  for (const auto& f : a.placedFolders) placed.push_back(f.archiveFolder + " -> " + f.target);
  const std::string kestrel = sim() + "\\aircraft\\kestrel_liveries\\";
  std::vector<std::string> liveries;
  if (download.kind == sample::DownloadKind::Liveries)
    liveries = {"Kestrel Trainer\\texture.red -> " + kestrel + "texture.red",
                "Kestrel Trainer\\texture.blue -> " + kestrel + "texture.blue"};
  EXPECT_EQ(placed, liveries);

  install::RunInstallCommand(ctx(), {archive});
  // The plan says it would install what the installation then counts, and
  // why not otherwise; an outside program it starts has the last word.
  const auto verdict = plan::verdictOf(a);
  if (a.programs.empty()) {
    EXPECT_EQ(verdict.verdict == plan::Verdict::Install, state().installedCount == 1);
  } else {
    EXPECT_EQ(verdict.verdict, a.counted ? plan::Verdict::Install : plan::Verdict::Outside);
  }
  EXPECT_EQ(verdict.reason.empty(), verdict.verdict == plan::Verdict::Install) << verdict.reason;
  const auto after = snapshot();
  std::set<std::string> changed, planned;
  for (const auto* tree : {&before, &after})
    for (const auto& [path, bytes] : *tree)
      if (path.rfind("config/", 0) != 0 &&
          (!before.count(path) || !after.count(path) || before.at(path) != after.at(path)))
        changed.insert(path);
  for (const auto& f : a.folders) planned.insert(relative(f.path));
  for (const auto& f : a.files) {
    if (f.change != FileChange::Identical) planned.insert(relative(f.target));
    if (f.change != FileChange::Deleted) {
      EXPECT_EQ(core::contentHash(readFile(f.target)), f.hash) << f.target;
    }
  }
  if (a.programs.empty()) {
    EXPECT_EQ(planned, changed);
    EXPECT_EQ(p.installedCount, state().installedCount);
  } else {
    EXPECT_TRUE(std::includes(changed.begin(), changed.end(), planned.begin(), planned.end()));
  }

  for (const auto& v : a.values) {
    SCOPED_TRACE(v.file + " " + v.key);
    if (v.store == PlannedValue::Store::Profile) {
      EXPECT_EQ(core::ReadProfileString(ctx(), v.file, v.section, v.key, "(absent)"), v.newValue);
    } else if (v.store == PlannedValue::Store::Settings) {
      EXPECT_EQ(settings->get(v.file, v.section, v.key, "(absent)"), v.newValue);
    } else {
      EXPECT_EQ(registry->query(core::hiveFromWord(v.file.substr(0, 2)), v.file.substr(3), v.key), v.newValue);
    }
  }
  std::vector<std::string> shown, told;
  for (const auto& m : dialogs.messages()) shown.push_back(m.title + ": " + lineBreaks(m.text));
  for (const auto& prompt : a.prompts) told.push_back(prompt.title + ": " + prompt.text);
  EXPECT_EQ(told, shown);
}

INSTANTIATE_TEST_SUITE_P(Sample, EveryDownload, ::testing::Range(0, 12));

// A panel whose gauge replaces another add-on's: the plan names the
// installation the journal says put the old gauge there, and a second
// archive of the same plan finds the gauge the first one planned.
TEST_F(DryRunTest, NamesWhoPutAnOverwrittenFileThere) {
  const std::string gauge = sim() + "\\Gauges\\SunsetGauges.gau";
  writeFile(gauge, "MZ gauge of another panel");
  const std::string oldHash = core::contentHash("MZ gauge of another panel");
  plan::PlanOptions options;
  options.originOf = [&](std::string_view path, std::string_view hash) -> std::optional<std::int64_t> {
    if (core::iequals(path, gauge) && hash == oldHash) return 7;
    return std::nullopt;
  };
  // The same panel again under another name, so into another folder.
  writeFile("C:\\Downloads\\sunset_again.zip", readFile("C:\\Downloads\\sunset_panel.zip"));
  const auto p =
      plan::PlanInstall(ctx(), {"C:\\Downloads\\sunset_panel.zip", "C:\\Downloads\\sunset_again.zip"}, options);

  ASSERT_EQ(p.archives.size(), 2u);
  std::vector<std::tuple<FileChange, std::optional<std::int64_t>, std::optional<std::size_t>>> seen;
  for (const auto& a : p.archives)
    for (const auto& f : a.files)
      if (core::iequals(f.target, gauge)) seen.emplace_back(f.change, f.oldInstallation, f.oldFromArchive);
  const decltype(seen) want = {{FileChange::Overwrites, 7, std::nullopt}, {FileChange::Identical, std::nullopt, 0}};
  EXPECT_EQ(seen, want);
  EXPECT_EQ(p.counterLine, "2/2 file(s) successfully installed.");
  EXPECT_EQ(readFile(gauge), "MZ gauge of another panel");
}

}  // namespace
