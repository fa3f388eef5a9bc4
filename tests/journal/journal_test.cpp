#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "core/content_hash.h"
#include "core/profile.h"
#include "core/text.h"
#include "install/install_command.h"
#include "journal/recovery.h"
#include "journal/store.h"
#include "journal/uninstall.h"
#include "support/archive_builder.h"
#include "support/cut_fs.h"
#include "support/forwarding_fs.h"
#include "support/journal_fixture.h"
#include "support/recording_launcher.h"
#include "support/tree_snapshot.h"

namespace {

using journal::EffectKind;
using journal::StepOutcome;

using JournalTest = testsupport::JournalFixture;
using testsupport::Cut;
using testsupport::CutFs;
using testsupport::killedIn;

using Sv = std::string_view;

class CutSettings : public core::SettingsStore {
 public:
  CutSettings(core::SettingsStore& inner, Cut& cut) : inner_(inner), cut_(cut) {}
  std::string get(Sv a, Sv s, Sv k, Sv d) override { return inner_.get(a, s, k, d); }
  void save(Sv a, Sv s, Sv k, Sv v) override { cut_.change(inner_, &core::SettingsStore::save, a, s, k, v); }

 private:
  core::SettingsStore& inner_;
  Cut& cut_;
};

class CutRegistry : public core::RegistryStore {
 public:
  CutRegistry(core::RegistryStore& inner, Cut& cut) : inner_(inner), cut_(cut) {}
  std::optional<std::string> query(core::Hive h, Sv k, Sv v) override { return inner_.query(h, k, v); }
  bool keyExists(core::Hive h, Sv k) override { return inner_.keyExists(h, k); }
  void setValue(core::Hive h, Sv k, Sv n, Sv v) override {
    cut_.change(inner_, &core::RegistryStore::setValue, h, k, n, v);
  }
  void deleteKey(core::Hive h, Sv k) override { inner_.deleteKey(h, k); }

 private:
  core::RegistryStore& inner_;
  Cut& cut_;
};

// An installation (one change of each kind) or its uninstall, killed before
// or after each of its changes in turn: the next start leaves the tree as
// it was before, or finishes the uninstall, and the history says which.
// Backups no row names are cleared first, as a start does: none of them may
// be one the rollback needs.
TEST_F(JournalTest, AKilledInstallationIsRolledBackAndAKilledUninstallFinishedAtTheNextStart) {
  writeFile("C:\\FS2002\\Gauges\\old.gau", "old gauge");
  writeFile("C:\\FS2002\\Gauges\\gone.gau", "deleted by the installation");
  writeFile("C:\\FS2002\\conv.cfg", "[Conv]\r\nInput=old\r\n");
  settings->save("Installer", "Main", "Start", "old");
  registry->setValue(core::Hive::LocalMachine, "SOFTWARE\\Maker", "Path", "old");
  // The temporary file of a write cut short is the next start's to remove
  // (core::RemoveLeftovers), not the journal's.
  auto tree = [sim = host("C:\\FS2002")] {
    auto t = testsupport::snapshotTree(sim);
    std::erase_if(t, [](const auto& entry) { return entry.first.find("/.hangarpak-") != std::string::npos; });
    return t;
  };
  const auto before = tree();
  auto install = [&](Cut& cut) {
    CutFs cutFs(*fs, cut);
    CutSettings cutSettings(*settings, cut);
    CutRegistry cutRegistry(*registry, cut);
    journal::Journalling own(ctx().locations.appFolder, cutFs, cutSettings, cutRegistry, *launcher);
    auto c = contextWith(&own.fs);
    own.recorder.attach(*c);
    own.recorder.archiveStarted("C:\\Downloads\\new.zip");
    c->fs.makeFolder("C:\\FS2002\\Aircraft\\New");
    c->fs.writeFile("C:\\FS2002\\Aircraft\\New\\new.air", "air");
    auto writer = c->fs.createFile("C:\\FS2002\\Gauges\\old.gau");
    writer->write("new gauge", 9);
    writer->commit();
    c->fs.copyFile("C:\\FS2002\\Aircraft\\New\\new.air", "C:\\FS2002\\Sound\\new.wav");
    c->fs.deleteFile("C:\\FS2002\\Gauges\\gone.gau");
    if (!core::WriteProfileString(*c, "C:\\FS2002\\conv.cfg", "Conv", "Input", "new") ||
        !core::WriteProfileString(*c, "C:\\FS2002\\conv.cfg", "Added", "Key", "new") ||
        !core::WriteProfileString(*c, "C:\\FS2002\\Aircraft\\New\\aircraft.cfg", "fltsim.0", "title", "New"))
      ::_exit(2);
    own.settings.save("Installer", "Main", "Start", "new");
    own.registry.setValue(core::Hive::LocalMachine, "SOFTWARE\\Maker", "Path", "new");
    own.recorder.archiveFinished(true, core::PackageKind::Aircraft, "New");
  };
  constexpr int kChanges = 10, kUndoChanges = 8;

  struct Case {
    bool uninstall;
    int at;
    bool after;
  };
  std::vector<Case> cases;
  for (const bool uninstall : {false, true})
    for (int at = 1; at <= (uninstall ? kUndoChanges : kChanges); ++at)
      for (const bool after : {false, true}) cases.push_back({uninstall, at, after});
  Cut never;
  testsupport::TreeSnapshot installed, uninstalled;
  std::int64_t id = 0;
  for (const auto& c : cases) {
    if (c.uninstall && !id) {
      // Installed and uninstalled once to the end, for the trees a killed
      // uninstall must finish at (a section the installation added stays,
      // as after any uninstall), then installed again.
      ASSERT_FALSE(killedIn([&] { install(never); }));
      installed = tree();
      ASSERT_NE(testsupport::treeDifferences(before, installed), "");
      auto journal = store();
      const auto first = journal.installations().back().installation.id;
      ASSERT_EQ(journal.installation(first)->state, journal::InstallState::Installed);
      // Kept: the overwritten and the deleted gauge, each named by its row.
      std::size_t kept = 0;
      for (const auto& e : journal.effects(first)) kept += !e.backup.empty();
      EXPECT_EQ(kept, 2u);
      EXPECT_EQ(journal::RemoveUnnamedBackups(journal, ctx().locations.appFolder), 0);
      (void)journal::Uninstall(ctx(), journal, first, false);
      uninstalled = tree();
      ASSERT_FALSE(killedIn([&] { install(never); }));
      ASSERT_EQ(testsupport::treeDifferences(installed, tree()), "");
      id = store().installations().back().installation.id;
    }
    SCOPED_TRACE((c.uninstall ? "uninstall killed " : "installation killed ") +
                 std::string(c.after ? "after" : "before") + " change " + std::to_string(c.at));
    Cut cut{c.at, c.after};
    std::int64_t ran = id;
    if (c.uninstall) {
      ASSERT_TRUE(killedIn([&] {
        CutFs cutFs(*fs, cut);
        auto plain = contextWith(&cutFs);
        auto journal = store();
        (void)journal::Uninstall(*plain, journal, id, false);
      }));
      EXPECT_EQ(store().installation(id)->state, journal::InstallState::Uninstalling);
    } else {
      ASSERT_TRUE(killedIn([&] { install(cut); }));
      ran = store().installations().back().installation.id;
      EXPECT_EQ(store().installation(ran)->state, journal::InstallState::InProgress);
    }
    {
      auto journal = store();
      journal::RemoveUnnamedBackups(journal, ctx().locations.appFolder);
    }
    const auto recovery = journal::RecoverUnfinished(ctx());
    ASSERT_EQ(recovery.reports.size(), 1u);
    EXPECT_EQ(recovery.error, "");
    EXPECT_EQ(journal::recoveryMessages(recovery).size(), 1u);
    EXPECT_EQ(testsupport::treeDifferences(c.uninstall ? uninstalled : before, tree()), "");
    EXPECT_EQ(settings->get("Installer", "Main", "Start", ""), "old");
    EXPECT_EQ(registry->query(core::Hive::LocalMachine, "SOFTWARE\\Maker", "Path"), "old");
    const auto row = store().installation(ran);
    EXPECT_EQ(row->state,
              c.uninstall ? journal::InstallState::Uninstalled : journal::InstallState::InterruptedRolledBack);
    EXPECT_EQ(row->outcome, c.uninstall ? journal::Outcome::Counted : journal::Outcome::Interrupted);
    EXPECT_EQ(journal::standing(*row), c.uninstall ? "uninstalled" : "interrupted, rolled back");
    EXPECT_FALSE(journal::uninstallable(*row));
    EXPECT_TRUE(journal::RecoverUnfinished(ctx()).reports.empty()) << "said once";
    if (c.uninstall) {
      // Installed again, for the next uninstall.
      ASSERT_FALSE(killedIn([&] { install(never); }));
      EXPECT_EQ(testsupport::treeDifferences(installed, tree()), "");
      id = store().installations().back().installation.id;
    }
  }
}

TEST_F(JournalTest, AnAircraftInstallationIsJournalledAsTheTreeChangedAndUninstalledToTheTreeBefore) {
  testsupport::ArchiveBuilder()
      .add("aircraft.cfg", "[fltsim.0]\r\ntitle=Hopper\r\n")
      .add("hopper.air", "air")
      .add("model/hopper.mdl", "mdl")
      .add("texture/hopper.bmp", std::string(300000, 't'))
      .add("panel/panel.cfg", "[Window00]\r\nfile=hopper.bmp\r\n")
      .writeTo(host("C:\\Downloads\\hopper.zip"));
  const std::string sim = host("C:\\FS2002");
  const auto before = testsupport::snapshotTree(sim);
  ASSERT_TRUE(install::RunInstallCommand(*jctx, {"C:\\Downloads\\hopper.zip"}).allInstalled());
  const auto after = testsupport::snapshotTree(sim);

  auto journal = store();
  const auto rows = journal.installations();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].installation.archiveHash, core::contentHash(readFile("C:\\Downloads\\hopper.zip")));
  EXPECT_EQ(rows[0].filesCreated, 5);
  // Every effect is an entry the tree gained, with the content it holds.
  testsupport::TreeSnapshot journalled = before;
  for (const auto& e : journal.effects(rows[0].installation.id)) {
    const std::string relative = jctx->fs.hostPath(e.path).substr(sim.size() + 1);
    ASSERT_TRUE(e.kind == EffectKind::FolderCreated || e.kind == EffectKind::FileCreated) << e.path;
    journalled[relative] = e.kind == EffectKind::FolderCreated ? "<folder>" : after.at(relative);
    if (e.kind == EffectKind::FileCreated) {
      EXPECT_EQ(e.newHash, core::contentHash(after.at(relative))) << e.path;
    }
  }
  EXPECT_EQ(testsupport::treeDifferences(journalled, after), "");

  const auto report = journal::Uninstall(*jctx, journal, rows[0].installation.id, false);
  EXPECT_TRUE(report.allReversed());
  EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(sim)), "");
  EXPECT_EQ(journal.installation(rows[0].installation.id)->state, journal::InstallState::Uninstalled);
}

// A key written into a configuration file that was there, and what the user
// did with it afterwards.
TEST_F(JournalTest, AKeyIsPutBackOnlyWhenItStillHoldsWhatTheInstallationWrote) {
  const std::string file = "C:\\FS2002\\conv.cfg";
  struct Case {
    const char* name;
    std::string before;
    std::function<void()> userAction;
    StepOutcome outcome;
    std::optional<std::string> after;  // the file's bytes after the uninstall; nullopt: gone
  };
  const std::string withOld = "; kept\r\n[Conv]\r\nInput=C:\\old\r\nOther=1\r\n";
  const std::string withoutKey = "[Conv]\r\nOther=1\r\n";
  const std::string edited = "[Conv]\r\nInput=mine\r\nOther=1\r\n";
  const std::vector<Case> cases = {
      {"old value back", withOld, {}, StepOutcome::Reversed, withOld},
      {"absent key removed", withoutKey, {}, StepOutcome::Reversed, withoutKey},
      {"edited by the user", withOld, [&] { writeFile(file, edited); }, StepOutcome::LeftAlone, edited},
      {"file deleted by the user", withOld, [&] { std::filesystem::remove(host(file)); }, StepOutcome::LeftAlone,
       std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    writeFile(file, c.before);
    services->recorder.archiveStarted("C:\\Downloads\\adventure.zip");
    ASSERT_TRUE(core::WriteProfileString(*jctx, file, "Conv", "Input", "C:\\new path"));
    services->recorder.archiveFinished(true, core::PackageKind::Adventure, "adv");
    if (c.userAction) c.userAction();
    auto journal = store();
    const auto report = journal::Uninstall(*jctx, journal, *services->recorder.lastInstallation(), false);
    ASSERT_EQ(report.steps.size(), 1u);
    EXPECT_EQ(report.steps[0].effect.kind, EffectKind::KeyWritten);
    EXPECT_EQ(report.steps[0].outcome, c.outcome) << report.steps[0].reason;
    EXPECT_EQ(exists(file) ? std::optional(readFile(file)) : std::nullopt, c.after);
  }
}

// Files the installation wrote over, deleted and wrote again within one
// installation are one effect each, reversed to the first content.
TEST_F(JournalTest, OneFileWrittenSeveralTimesInOneInstallationIsOneEffect) {
  writeFile("C:\\FS2002\\Gauges\\old.gau", "first");
  writeFile("C:\\FS2002\\Gauges\\gone.gau", "keep me");
  const auto before = testsupport::snapshotTree(host("C:\\FS2002"));
  services->recorder.archiveStarted("C:\\Downloads\\x.zip");
  jctx->fs.writeFile("C:\\FS2002\\Gauges\\old.gau", "second");
  jctx->fs.deleteFile("C:\\FS2002\\Gauges\\old.gau");
  jctx->fs.writeFile("C:\\FS2002\\GAUGES\\old.gau", "third");
  jctx->fs.deleteFile("C:\\FS2002\\Gauges\\gone.gau");
  jctx->fs.writeFile("C:\\FS2002\\Gauges\\temp.gau", "t");
  jctx->fs.deleteFile("C:\\FS2002\\Gauges\\temp.gau");
  ASSERT_TRUE(core::WriteProfileString(*jctx, "C:\\FS2002\\new.cfg", "S", "K", "v"));
  ASSERT_TRUE(core::WriteProfileString(*jctx, "C:\\FS2002\\new.cfg", "S", "L", "w"));
  services->recorder.archiveFinished(true, core::PackageKind::Panel, "p");

  auto journal = store();
  const auto effects = journal.effects(*services->recorder.lastInstallation());
  std::vector<std::pair<EffectKind, std::string>> seen;
  for (const auto& e : effects) seen.emplace_back(e.kind, e.newHash);
  EXPECT_EQ(seen, (std::vector<std::pair<EffectKind, std::string>>{
                      {EffectKind::FileOverwritten, core::contentHash("third")},
                      {EffectKind::FileDeleted, ""},
                      {EffectKind::FileCreated, core::contentHash(readFile("C:\\FS2002\\new.cfg"))},
                      {EffectKind::KeyWritten, ""},
                      {EffectKind::KeyWritten, ""},
                  }));
  EXPECT_EQ(effects[0].oldHash, core::contentHash("first"));
  EXPECT_TRUE(journal::Uninstall(*jctx, journal, *services->recorder.lastInstallation(), false).allReversed());
  EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(host("C:\\FS2002"))), "");
  EXPECT_TRUE(std::filesystem::is_empty(journal::backupFolder(ctx().locations.appFolder)));
}

// A new file in a folder the installation made, or below it, goes when the
// folder is rolled back: its row is written at the end only. A file beside
// such a folder, also one whose name begins with the folder's, is written
// ahead of its change.
TEST_F(JournalTest, ANewFileInAFolderTheInstallationMadeIsWrittenOnlyAtTheEnd) {
  writeFile("C:\\FS2002\\Aircraft\\Made2\\there.cfg");
  services->recorder.archiveStarted("C:\\Downloads\\x.zip");
  jctx->fs.makeFolder("C:\\FS2002\\Aircraft\\Made");
  jctx->fs.makeFolder("C:\\FS2002\\Aircraft\\Made\\Texture");
  // Sorted, as paths() gives them.
  const std::vector<std::string> ahead = {"C:\\FS2002\\Aircraft\\Made", "C:\\FS2002\\Aircraft\\Made.cfg",
                                          "C:\\FS2002\\Aircraft\\Made2\\c.cfg", "C:\\FS2002\\Aircraft\\Made\\Texture"};
  const std::vector<std::string> atTheEnd = {"C:\\FS2002\\Aircraft\\MADE\\texture\\a.bmp",
                                             "C:\\FS2002\\Aircraft\\Made\\b.cfg"};
  for (const auto& path : {atTheEnd[0], atTheEnd[1], ahead[1], ahead[2]}) jctx->fs.writeFile(path, "x");
  auto paths = [&](std::int64_t id) {
    std::vector<std::string> out;
    for (const auto& e : store().effects(id)) out.push_back(e.path);
    std::sort(out.begin(), out.end());
    return out;
  };
  const auto open = store().unfinished();
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(paths(open[0]), ahead);
  services->recorder.archiveFinished(true, core::PackageKind::Aircraft, "Made");
  std::vector<std::string> all = ahead;
  all.insert(all.end(), atTheEnd.begin(), atTheEnd.end());
  std::sort(all.begin(), all.end());
  EXPECT_EQ(paths(open[0]), all);
}

// A file linked or moved into place from TempZip, into a folder the
// installation made, is recorded with the content it gets, whatever changed the member's
// file after extraction wrote it; and as overwritten when a program the
// installation ran had put a file of that name there.
TEST_F(JournalTest, AFileLinkedFromTempZipIsRecordedWithTheContentItGets) {
  const std::string member = ctx().appFolder() + "\\TempZip\\member.bmp";
  const std::string folder = "C:\\FS2002\\Aircraft\\Made", target = folder + "\\placed.bmp";
  auto scratch = [&](const std::string& path, std::string_view bytes) {
    auto out = jctx->fs.createScratchFile(path);
    out->write(bytes.data(), bytes.size());
    out->commit();
  };
  auto program = [&] {
    for (const auto& path : {member, target}) std::ofstream(host(path), std::ios::binary) << "changed";
  };
  const struct {
    const char* name;
    std::function<void()> before, after;  // the member's file written in between
    const char* placed;
    EffectKind kind;
  } cases[] = {
      {"as extracted", {}, {}, "extracted", EffectKind::FileCreated},
      {"written again", {}, [&] { jctx->fs.writeFile(member, "changed"); }, "changed", EffectKind::FileCreated},
      {"by a program run",
       {},
       [&] {
         services->launcher.runAndWait({{"/bin/true"}, {}, {}}, {}), program();
       },
       "changed",
       EffectKind::FileOverwritten},
      {"by a program still running",
       [&] {
         services->launcher.start({{"/bin/true"}, {}, {}});
       },
       program, "changed", EffectKind::FileOverwritten},
  };
  jctx->fs.makeFolder(ctx().appFolder() + "\\TempZip");
  for (const bool move : {false, true})
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(c.name) + (move ? ", moved" : ", linked"));
      services->recorder.archiveStarted("C:\\Downloads\\x.zip");
      jctx->fs.makeFolder(folder);
      if (c.before) c.before();
      scratch(member, "extracted");
      if (c.after) c.after();
      move ? jctx->fs.moveFile(member, target) : jctx->fs.linkFile(member, target);
      EXPECT_EQ(jctx->fs.fileExists(member), !move);
      services->recorder.archiveFinished(true, core::PackageKind::Aircraft, "x");
      const auto effects = store().effects(*services->recorder.lastInstallation());
      ASSERT_FALSE(effects.empty());
      EXPECT_EQ(effects.back().kind, c.kind);
      EXPECT_EQ(effects.back().newHash, core::contentHash(c.placed));
      EXPECT_EQ(effects.back().size, std::string_view(c.placed).size());
      for (const auto& placed : {member, target})
        if (jctx->fs.fileExists(placed)) jctx->fs.deleteFile(placed);
      jctx->fs.removeFolder(folder);
    }
}

// Settings, registry values and outside programs: a value still as the
// installation wrote it gets its old one back; what cannot be reversed is
// reported.
TEST_F(JournalTest, SettingsRegistryValuesAndProgramsAreRecordedAndReversedWhereTheyCanBe) {
  testsupport::RecordingLauncher programs;
  journal::Journalling own(ctx().locations.appFolder, *fs, *settings, *registry, programs);
  settings->save("Installer", "Main", "Start", "old");
  own.recorder.archiveStarted("C:\\Downloads\\scenery.zip");
  own.settings.save("Installer", "Main", "Start", "C:\\FS2002\\Scenery\\x");
  own.registry.setValue(core::Hive::LocalMachine, "SOFTWARE\\Maker", "Path", "C:\\x");
  own.launcher.runAndWait({{"/bin/installer", "a b"}, {}, {}}, {});
  own.recorder.archiveFinished(true, core::PackageKind::Scenery, "x");

  auto journal = store();
  const auto report = journal::Uninstall(*jctx, journal, *own.recorder.lastInstallation(), false);
  std::vector<std::tuple<EffectKind, StepOutcome, std::string>> seen;
  for (const auto& step : report.steps) seen.emplace_back(step.effect.kind, step.outcome, step.effect.note);
  EXPECT_EQ(
      seen,
      (decltype(seen){
          {EffectKind::ProgramRun, StepOutcome::LeftAlone, "ran /bin/installer \"a b\"; what it changed is not known"},
          {EffectKind::RegistryValueWritten, StepOutcome::LeftAlone, ""},
          {EffectKind::SettingWritten, StepOutcome::Reversed, ""},
      }));
  EXPECT_EQ(settings->get("Installer", "Main", "Start", ""), "old");
  EXPECT_EQ(registry->query(core::Hive::LocalMachine, "SOFTWARE\\Maker", "Path"), "C:\\x");
  EXPECT_EQ(journal.installation(*own.recorder.lastInstallation())->state, journal::InstallState::PartlyUninstalled);
}

// An installation that fails (a full disk, a read-only folder) or is
// refused (nothing in it installable, TempZip that cannot be emptied) puts
// back what it had changed before it says so, and its row never reads
// installed nor offers an uninstall.
TEST_F(JournalTest, AFailedOrRefusedInstallationIsRolledBackAndNeverReadsInstalled) {
  writeFile("C:\\FS2002\\Gauges\\shared.gau", "the gauge every panel uses");
  testsupport::ArchiveBuilder()
      .add("plane.air", "air")
      .add("aircraft.cfg", "[fltsim.0]\r\ntitle=Plane\r\n")
      .add("panel/panel.cfg", "[Window Titles]\r\nWindow00=Main\r\n")
      .add("panel/shared.gau", std::string(64 * 1024, 'g'))
      .writeTo(host("C:\\Downloads\\plane.zip"));
  testsupport::ArchiveBuilder().add("readme.txt", "nothing to install").writeTo(host("C:\\Downloads\\notes.zip"));
  const std::string stuck = ctx().appFolder() + "\\TempZip\\stuck.bin";
  const struct {
    const char* name;
    std::string archive;
    std::function<void(testsupport::ForwardingFs&)> fault;
    const char* head;  // of the message that ends the program; nullptr: refused, the run goes on
    const char* words;
    const char* standing;
  } cases[] = {
      {"disk full", "plane.zip",
       [](auto& f) {
         f.failAfterBytes = 16 * 1024;
         f.onlyUnder = "C:\\FS2002";
       },
       "Install error 61", "not enough free space on drive C:", "failed, rolled back"},
      {"read-only folder", "plane.zip",
       [](auto& f) {
         f.failWriteErrno = EROFS;
         f.failWrite = [](std::string_view path) { return core::lower(path).find("\\gauges\\") != std::string::npos; };
       },
       "Install error 70", "cannot be written: it is on a read-only disk", "failed, rolled back"},
      {"nothing installable", "notes.zip", {}, nullptr, "", "refused"},
      {"TempZip not cleared", "plane.zip",
       [&](auto& f) {
         writeFile(stuck, "left by a killed run");
         f.failDelete = [](std::string_view path) { return core::lastComponent(path) == "stuck.bin"; };
       },
       nullptr, "", "refused"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto before = testsupport::snapshotTree(host("C:\\FS2002"));
    testsupport::ForwardingFs failing(*fs);
    if (c.fault) c.fault(failing);
    journal::Journalling own(ctx().locations.appFolder, failing, *settings, *registry, *launcher);
    auto run = contextWith(&own.fs);
    own.recorder.attach(*run);
    dialogs.allowAnyMessages(c.head == nullptr);
    if (c.head) dialogs.expectMessageHead(c.head, "Error", core::Buttons::OK, core::Icon::Exclamation);
    const std::vector<std::string> archives{"C:\\Downloads\\" + c.archive};
    if (c.head) {
      EXPECT_THROW((void)install::RunInstallCommand(*run, archives), core::EndProgram);
      const std::string& said = dialogs.messages().back().text;
      EXPECT_NE(said.find(c.words), std::string::npos) << said;
      EXPECT_NE(said.find("put back as it was"), std::string::npos) << said;
    } else {
      EXPECT_FALSE(install::RunInstallCommand(*run, archives).allInstalled());
    }
    EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(host("C:\\FS2002"))), "");
    const auto row = store().installations().back().installation;
    EXPECT_EQ(row.state, journal::InstallState::RolledBack);
    EXPECT_EQ(journal::standing(row), c.standing);
    EXPECT_FALSE(journal::uninstallable(row));
    std::filesystem::remove(host(stuck));
  }
}

// A journal written before the manager's edits were recorded lacks their
// columns: it opens with its installations as they were and records edits.
TEST_F(JournalTest, AJournalFromBeforeEditsOpensWithItsInstallations) {
  const std::string path = journal::databasePath(ctx().locations.appFolder);
  journal::Installation old;
  old.archivePath = "C:\\Downloads\\old.zip";
  old.kind = core::PackageKind::Panel;
  const auto id = store().begin(old);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db,
                         "ALTER TABLE installations DROP COLUMN change_kind;"
                         "ALTER TABLE installations DROP COLUMN description;",
                         nullptr, nullptr, nullptr),
            SQLITE_OK)
      << sqlite3_errmsg(db);
  sqlite3_close(db);
  ASSERT_EQ(services->recorder.editStarted("hide \"Old\"", false), "");
  jctx->fs.writeFile("C:\\FS2002\\Gauges\\edited.gau", "x");
  ASSERT_EQ(services->recorder.editFinished(true), "");
  const auto rows = store().installations();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].installation.id, id);
  EXPECT_EQ(rows[0].installation.archivePath, old.archivePath);
  EXPECT_EQ(rows[0].installation.change, journal::Change::Install);
  EXPECT_EQ(rows[1].installation.change, journal::Change::Edit);
  EXPECT_EQ(journal::subject(rows[1].installation), "hide \"Old\"");
  EXPECT_EQ(rows[1].filesCreated, 1);
}

}  // namespace
