#include <filesystem>
#include <tuple>

#include "core/content_hash.h"
#include "core/profile.h"
#include "install/install_command.h"
#include "journal/store.h"
#include "journal/uninstall.h"
#include "support/archive_builder.h"
#include "support/journal_fixture.h"
#include "support/recording_launcher.h"
#include "support/tree_snapshot.h"

namespace {

using journal::EffectKind;
using journal::StepOutcome;

using JournalTest = testsupport::JournalFixture;

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

}  // namespace
