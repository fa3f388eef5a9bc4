#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "cli_fixture.h"
#include "journal/recording_services.h"
#include "journal/store.h"
#include "manager/build_catalogue.h"
#include "manager/edits.h"
#include "support/cut_fs.h"
#include "support/temp_dir.h"
#include "support/tree_snapshot.h"

namespace {

using testsupport::ArchiveBuilder;

class CliJournalTest : public clitest::CliFixture {
 protected:
  CliJournalTest() { useSimulator(); }

  static ArchiveBuilder panel(const std::string& gauge) {
    return ArchiveBuilder().add("panel.cfg", "[Window00]\r\ngauge00=shared\r\n").add("shared.gau", gauge);
  }
  std::string database() { return journal::databasePath(root + "/app"); }
  testsupport::TreeSnapshot simTree() { return testsupport::snapshotTree(host("C:\\FS2002")); }
  // An aircraft with a panel of its own, and two panels.
  void putAddOns(const std::string& secondGauge = "steam gauge") {
    putArchive("hopper.zip", ArchiveBuilder()
                                 .add("aircraft.cfg", "[fltsim.0]\r\ntitle=Hopper\r\nsim=hopper\r\n")
                                 .add("hopper.air", "a")
                                 .add("panel/panel.cfg", "[Window Titles]\r\nwindow00=Main\r\n"));
    putArchive("glass.zip", panel("glass gauge"));
    putArchive("steam.zip", panel(secondGauge));
  }
};

// An installation whose files the user deleted is reported and nothing is
// done; archives refused after an installed one are rows of their own kind,
// with nothing to uninstall.
TEST_F(CliJournalTest, DeletedFilesAndRefusedArchivesLeaveNothingToUndo) {
  putAddOns();
  for (const char* archive : {"C:\\Downloads\\glass.zip", "C:\\Downloads\\hopper.zip"})
    ASSERT_EQ(run({"install", archive}).status, 0);
  std::filesystem::remove_all(host("C:\\FS2002\\Aircraft\\hopper"));
  const auto before = simTree();
  auto r = run({"uninstall", "2"});
  EXPECT_EQ(r.status, 0) << r.out;
  EXPECT_EQ(r.out.find("left alone"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("nothing to do\tfile-created\tC:\\FS2002\\aircraft\\hopper\\hopper.air: no longer there"),
            std::string::npos)
      << r.out;
  EXPECT_EQ(testsupport::treeDifferences(before, simTree()), "");
  const std::string cut = ArchiveBuilder().add("hopper.air", std::string(100, 'a')).bytes();
  writeFile("C:\\Downloads\\cut.zip", cut.substr(0, 50));
  EXPECT_EQ(run({"install", "--yes", "C:\\Downloads\\steam.zip", "C:\\Downloads\\cut.zip",
                 putArchive("junk.zip", ArchiveBuilder().add("readme.txt", "x"))})
                .status,
            1);
  r = run({"history"});
  for (const char* refused : {"junk.zip\tnone\tjunk\t", "cut.zip\tnone\tcut\t"})
    EXPECT_NE(r.out.find(std::string(refused) + "0 created\t0 overwritten\t0 keys\trefused\n"), std::string::npos)
        << r.out;
  // A refused archive installed nothing: there is nothing to uninstall.
  const auto rows = journal::Store(database()).installations();
  EXPECT_EQ(rows.back().installation.state, journal::InstallState::RolledBack);
  r = run({"uninstall", std::to_string(rows.back().installation.id)});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("reads refused: there is nothing to uninstall"), std::string::npos) << r.err;
}

// The real program killed while it copies an aircraft's files: its row
// reads in progress until the next start rolls it back, says so once, and
// the history shows it; the next installation goes ahead.
TEST_F(CliJournalTest, AnInstallationKilledHalfWayIsRolledBackAtTheNextStart) {
  ArchiveBuilder big;
  big.add("aircraft.cfg", "[fltsim.0]\r\ntitle=Big\r\n").add("big.air", "a");
  // Enough files that the copying takes a while after the folder appears.
  for (int i = 0; i < 3000; ++i)
    big.add("texture/t" + std::to_string(i) + ".bmp", std::string(2048, char('a' + i % 26)));
  const std::string archive = putArchive("big.zip", big);
  const pid_t pid = clitest::startProgram({"install", archive}, -1, &env);
  ASSERT_GT(pid, 0);
  const std::string folder = host("C:\\FS2002\\Aircraft") + "/big";
  while (!std::filesystem::exists(folder)) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, WNOHANG), 0) << "the installation ended before it could be killed";
  }
  kill(pid, SIGKILL);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the installation ended before it was killed";
  auto rows = journal::Store(database()).installations();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].installation.state, journal::InstallState::InProgress);

  auto r = run({"list", "aircraft"});
  EXPECT_NE(r.err.find("big.zip was interrupted; everything it had changed was put back"), std::string::npos) << r.err;
  EXPECT_FALSE(std::filesystem::exists(folder));
  EXPECT_EQ(run({"list", "aircraft"}).err.find("interrupted"), std::string::npos) << "said once";
  EXPECT_NE(run({"history"}).out.find("\tinterrupted-rolled-back\n"), std::string::npos);

  ASSERT_EQ(run({"install", archive}).status, 0);
  rows = journal::Store(database()).installations();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].filesCreated, 3002);
  EXPECT_EQ(rows[1].installation.state, journal::InstallState::Installed);
}

// The manager's edits are journal rows of their own, undone with the
// installation whose files they changed; variants that use a panel through
// an alias are pointed back before it goes (--force); a file two
// installations wrote comes back right in either order. Each case runs its
// commands over a fresh tree (the status, and a text its output holds),
// uninstalls everything and ends with the tree as before.
struct EditCase {
  const char* name;
  const char* secondGauge;
  std::vector<std::tuple<std::vector<std::string>, int, std::string>> steps;
};
void PrintTo(const EditCase& c, std::ostream* out) {
  *out << c.name;
}
class CliEditsTest : public CliJournalTest, public ::testing::WithParamInterface<EditCase> {};

TEST_P(CliEditsTest, EditsGoWithTheirInstallationAndSharedFilesComeBackInEitherOrder) {
  putAddOns(GetParam().secondGauge);
  const auto before = simTree();
  for (const auto& [args, status, said] : GetParam().steps) {
    std::vector<std::string> words = args;
    for (auto& word : words)
      if (word.ends_with(".zip")) word = "C:\\Downloads\\" + word;
    const auto was = simTree();
    const auto r = run(words);
    SCOPED_TRACE(testing::PrintToString(words));
    EXPECT_EQ(r.status, status) << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(said), std::string::npos) << r.out << r.err;
    if (std::ranges::find(words, "--dry-run") != words.end()) {
      EXPECT_EQ(testsupport::treeDifferences(was, simTree()), "") << "a plan changes nothing";
    }
  }
  EXPECT_EQ(testsupport::treeDifferences(before, simTree()), "");
}

const std::string kAliasUse = "\"Hopper\" (panel) use its panel or sound set through an alias";
INSTANTIATE_TEST_SUITE_P(
    Cases, CliEditsTest,
    ::testing::Values(
        EditCase{"HideThenUninstall",
                 "steam gauge",
                 {{{"install", "hopper.zip"}, 0, ""},
                  {{"hide", "Hopper"}, 0, "Hopper: hidden"},
                  {{"history", "--json"}, 0, "\"change\": \"edit\", \"description\": \"hide \\\"Hopper\\\"\""},
                  {{"uninstall", "1"}, 0, "undo edit 2: hide \"Hopper\"\n"},
                  {{"history"}, 0, "\thide \"Hopper\"\tedit\t\t0 created\t1 overwritten\t2 keys\tundone\n"}}},
        EditCase{"AliasUserRefusedThenPointedBack",
                 "steam gauge",
                 {{{"install", "hopper.zip"}, 0, ""},
                  {{"install", "glass.zip"}, 0, ""},
                  {{"panel", "Hopper", "fsfsconv\\panel.glass"}, 0, "Hopper: panel fsfsconv\\panel.glass"},
                  {{"uninstall", "2"}, 1, kAliasUse + " and would point at a folder that is gone; --force points"},
                  {{"uninstall", "2", "--dry-run", "--force"}, 0, "would point back to their own: \"Hopper\" (panel)"},
                  {{"uninstall", "2", "--force"}, 0, "pointed back to their own: \"Hopper\" (panel)\nuninstall 2"},
                  {{"history", "4"}, 0, "edit 4: panel of \"Hopper\": its own again (made)"},
                  {{"uninstall", "1"}, 0, "undo edit 4: panel of \"Hopper\": its own again\n"}}},
        EditCase{"SameGaugeTwiceFirstInstalledFirstUninstalled",
                 "glass gauge",
                 {{{"install", "glass.zip"}, 0, ""},
                  {{"install", "steam.zip"}, 0, ""},
                  {{"uninstall", "1"}, 0, "left to installation 2"},
                  {{"uninstall", "2"}, 0, "delete\tfile-created\tC:\\FS2002\\gauges\\shared.gau"}}},
        // The plan of the second names the first as the old gauge's origin;
        // uninstalling the first leaves the gauge to the second.
        EditCase{"SharedGaugeFirstInstalledFirstUninstalled",
                 "steam gauge",
                 {{{"install", "glass.zip"}, 0, ""},
                  {{"install", "--dry-run", "steam.zip"},
                   0,
                   "  overwrites   C:\\FS2002\\gauges\\shared.gau  from the archive's shared.gau (different content); "
                   "the old file from installation 1\n"},
                  {{"install", "steam.zip"}, 0, ""},
                  {{"uninstall", "1", "--json"},
                   0,
                   "\"path\": \"C:\\\\FS2002\\\\gauges\\\\shared.gau\", \"section\": \"\", \"key\": \"\", \"action\": "
                   "\"hand over\", \"outcome\": \"nothing-to-do\", \"reason\": \"left to installation 2, which "
                   "overwrote it: its uninstall now puts back what was there before this one\""},
                  {{"uninstall", "2", "--dry-run"}, 0, "would delete\tfile-created\tC:\\FS2002\\gauges\\shared.gau"},
                  {{"uninstall", "2"}, 0, "delete\tfile-created\tC:\\FS2002\\gauges\\shared.gau"},
                  {{"history"}, 0, "\tsteam\t2 created\t0 overwritten\t0 keys\tuninstalled\n"}}},
        EditCase{"SharedGaugeLastInstalledFirstUninstalled",
                 "steam gauge",
                 {{{"install", "glass.zip"}, 0, ""},
                  {{"install", "steam.zip"}, 0, ""},
                  {{"uninstall", "2"}, 0, "restore\tfile-overwritten\tC:\\FS2002\\gauges\\shared.gau"},
                  {{"uninstall", "1"}, 0, "delete\tfile-created\tC:\\FS2002\\gauges\\shared.gau"}}}),
    [](const auto& row) { return std::string(row.param.name); });

// An edit killed before or after each change it makes is rolled back at the
// next start, which says so; one that ran to its end is undone by its
// uninstall. An edit the journal cannot record is not made.
TEST_F(CliJournalTest, AnEditKilledHalfWayIsRolledBackAtTheNextStart) {
  putAddOns();
  ASSERT_EQ(run({"install", "C:\\Downloads\\hopper.zip"}).status, 0);
  ASSERT_EQ(run({"install", "C:\\Downloads\\glass.zip"}).status, 0);
  const auto before = simTree();
  const manager::VariantRef hopper{"C:\\FS2002\\Aircraft\\hopper\\", 0};
  const std::vector<manager::Edit> edits = {manager::Hide{hopper},
                                            manager::Swap{hopper, manager::EntryKind::Panel, "fsfsconv\\panel.glass"},
                                            manager::RenameVariant{hopper, "Hopper II"},
                                            manager::DeleteEntry{manager::EntryKind::Panel, "fsfsconv\\panel.glass"}};
  for (const auto& edit : edits) {
    bool ranToItsEnd = false;
    for (int at = 1; !ranToItsEnd; ++at)
      for (const bool after : {false, true}) {
        if (ranToItsEnd) break;
        SCOPED_TRACE("edit " + std::to_string(edit.index()) + " killed " + (after ? "after" : "before") + " change " +
                     std::to_string(at));
        testsupport::Cut cut{at, after};
        ranToItsEnd = !testsupport::killedIn([&] {
          testsupport::CutFs cutFs(*fs, cut);
          journal::Journalling own(root + "/app", cutFs, *settings, *registry, *launcher);
          auto c = contextWith(&own.fs);
          own.recorder.attach(*c);
          auto catalogue = manager::BuildCatalogue(*c);
          if (manager::Apply(*c, catalogue, edit).status != manager::EditResult::Status::Done) ::_exit(2);
        });
        if (ranToItsEnd) {
          ASSERT_NE(testsupport::treeDifferences(before, simTree()), "");
          const auto id = journal::Store(database()).installations().back().installation.id;
          EXPECT_EQ(run({"uninstall", std::to_string(id)}).status, 0);
        } else {
          EXPECT_NE(run({"list", "aircraft"}).err.find(") was interrupted; everything it had changed was put back"),
                    std::string::npos);
        }
        EXPECT_EQ(testsupport::treeDifferences(before, simTree()), "");
      }
  }
  testsupport::writeHostFile(database(), std::string(5000, 'x'));
  const auto r = run({"hide", "Hopper"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("Nothing was changed: the install journal " + database()), std::string::npos) << r.err;
  EXPECT_EQ(testsupport::treeDifferences(before, simTree()), "");
}

// A journal that cannot record stops an install before anything changes,
// naming the file and the cause, unless the user has it moved aside: then
// it is kept whole under a new name, a new journal records the
// installation, and the user is told. One in an application folder that
// cannot be written can be neither: nothing is installed whatever the
// answer. One row per shape of broken journal, each answered No, then Yes.
TEST_F(CliJournalTest, ABrokenJournalStopsTheInstallOrIsMovedAside) {
  ASSERT_EQ(run({"install", putArchive("seed.zip", panel("seed gauge"))}).status, 0);
  const std::string valid = testsupport::readHostFile(database()), app = root + "/app";
  auto readOnly = valid;
  readOnly[18] = 3;  // a file format newer than this library may write
  bool mounted = false;
  const struct {
    const char* shape;
    std::function<void()> make;
    const char* cause;
    bool movable = true;
  } shapes[] = {
      {"garbage", [&] { testsupport::writeHostFile(database(), std::string(5000, 'x')); }, "cannot be read"},
      {"truncated", [&] { testsupport::writeHostFile(database(), valid.substr(0, valid.size() / 2)); }, "malformed"},
      {"folder", [&] { std::filesystem::create_directories(database() + "/inside"); }, "it is a folder"},
      {"read-only", [&] { testsupport::writeHostFile(database(), readOnly); }, "cannot be written"},
      // Read-only for root too: the folder mounted again, read-only, over itself.
      {"in a folder that cannot be written",
       [&] {
         testsupport::writeHostFile(database(), valid);
         mounted = ::geteuid() == 0 && ::mount(app.c_str(), app.c_str(), nullptr, MS_BIND, nullptr) == 0 &&
                   ::mount(nullptr, app.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) == 0;
         if (!mounted)
           std::filesystem::permissions(app, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
       },
       "its folder cannot be written", false},
  };
  int n = 0;
  for (const auto& shape : shapes) {
    std::filesystem::remove_all(database());
    shape.make();
    for (const bool yes : {false, true}) {
      SCOPED_TRACE(std::string(shape.shape) + (yes ? " --yes" : " --no"));
      const auto before = simTree();
      const std::string name = "p" + std::to_string(++n);
      const auto r = run({"install", yes ? "--yes" : "--no", putArchive(name + ".zip", panel("gauge of " + name))});
      EXPECT_NE(r.err.find(database()), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(shape.cause), std::string::npos) << r.err;
      if (!yes) {
        EXPECT_NE(r.err.find("Nothing is installed"), std::string::npos) << r.err;
      }
      if (!yes || !shape.movable) {
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(testsupport::treeDifferences(before, simTree()), "");
        EXPECT_EQ(r.err.find("moved aside as"), std::string::npos) << r.err;
        continue;
      }
      EXPECT_EQ(r.status, 0) << r.err;
      const auto at = r.err.find("was moved aside as " + database() + ".broken-");
      ASSERT_NE(at, std::string::npos) << r.err;
      const std::string aside = r.err.substr(at + 19, r.err.find(';', at) - at - 19);
      EXPECT_TRUE(std::filesystem::exists(aside)) << aside;
      EXPECT_EQ(journal::Store(database()).installations().size(), 1u);
    }
  }
  if (mounted) ::umount2(app.c_str(), MNT_DETACH);
  std::filesystem::permissions(app, std::filesystem::perms::owner_all);
  EXPECT_TRUE(std::filesystem::is_regular_file(database()));
}

}  // namespace
