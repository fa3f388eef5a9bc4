#include "install/install_archive.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>

#include "core/context.h"
#include "core/errors.h"
#include "core/text.h"
#include "install/install_command.h"
#include "install/install_fixture.h"
#include "install/scenery.h"
#include "support/forwarding_fs.h"
#include "support/tree_snapshot.h"

namespace installtest {
namespace {

using core::Buttons;
using core::Icon;
using core::PackageKind;

ArchiveBuilder aircraftArchive() {
  return ArchiveBuilder().add("plane.air", std::string(500, 'a')).add("aircraft.cfg", "[fltsim.0]\r\ntitle=P\r\n");
}

using InstallArchiveTest = InstallFixture;

// Each package is classified by the first rule it matches, then installed
// or refused with its message, the progress dialog back for the next
// archive. With the folder prompt on, aircraft, panels, sounds and scenery
// ask for the folder first; Cancel there leaves the extracted files and
// says nothing.
TEST_F(InstallArchiveTest, EachPackageIsClassifiedThenInstalledOrRefused) {
  auto refused = [](const std::string& why) {
    return Message{"C:\\DOWNLOADS\\SOME ADDON.ZIP\r\n\r\n" + why, "Installation aborted", Icon::Critical};
  };
  auto warned = [](const std::string& text, const char* title) { return Message{text, title, Icon::Exclamation}; };
  using K = PackageKind;
  const std::map<K, std::pair<std::optional<Message>, int>> outcomes = {
      // message, count
      {K::Aircraft, {std::nullopt, 1}},
      {K::Panel, {std::nullopt, 1}},
      {K::Sound, {std::nullopt, 1}},
      {K::None, {refused("The ZIP file does NOT contain any FS98/2000/2002 files."), 0}},
      {K::MultiAircraft, {refused("Hangarpak does NOT support ''muti-aircraft'' package."), 0}},
      {K::Fs5Aircraft,
       {warned("Hangarpak v3.2 does not support FS5.x aicraft installation for FS2002!",
               "Cannot install FS5.x aircraft"),
        0}},
      {K::Scenery,
       {warned("The scenery installation part of Hangarpak 2000 has been removed.\r\n"
               "That is because this part of the program worked miserable!\r\n\r\n"
               "I you want to install a scenery you should try using a program called Ortholay.\r\n"
               "This program is the best scenery installation tool available for Flight Simulator.",
               "Scenery installation"),
        0}},
      {K::Sif, {noSceneryInstaller(root), 0}},
      {K::Adventure,  // an old one, under FS2002
       {warned("Hangarpak v3.2 does not support old adventure installation for FS2002!", "Could not install adventure"),
        0}},
  };
  const std::set<K> named = {K::Aircraft, K::Panel, K::Sound, K::Scenery};
  auto check = [&](K kind, const char* title, std::vector<std::pair<std::string, std::size_t>> members) {
    SCOPED_TRACE(title);
    ArchiveBuilder a;
    for (const auto& [name, size] : members) a.add(name, std::string(size, 'x'));
    const auto& [message, count] = outcomes.at(kind);
    for (const bool prompt : {false, true}) {
      std::filesystem::remove_all(host("C:\\FS2002\\Aircraft"));
      state().optFolderName = prompt ? core::Option::On : core::Option::Off;
      state().installedCount = 0;
      windows.prompts.clear();
      const bool asks = prompt && named.count(kind);
      if (asks) windows.answerPrompt(std::nullopt);
      if (!asks && message) expect({*message});
      install(putArchive("Some Addon.zip", a));
      EXPECT_TRUE(dialogs.done());
      EXPECT_EQ(state().packageKind, kind);
      EXPECT_EQ(state().tempZipPath, "Z:\\app\\TempZip\\");
      ASSERT_EQ(windows.prompts.size(), asks ? 1u : 0u);
      EXPECT_EQ(state().installedCount, asks ? 0 : count);
      for (const auto& [k, folder] : {std::pair{K::Aircraft, "some addon"},
                                      {K::Panel, "FSFSConv\\panel.some addon"},
                                      {K::Sound, "FSFSConv\\sound.some addon"}})
        EXPECT_EQ(exists("C:\\FS2002\\Aircraft\\" + std::string(folder)), kind == k && !asks) << folder;
      if (asks) {
        EXPECT_EQ(std::to_string(windows.prompts[0].mode) + windows.prompts[0].proposal, "1some addon");
        EXPECT_FALSE(tempZipFiles().empty()) << "the extracted files stay";
      } else {
        EXPECT_EQ(windows.calls.back(), "repaintProgress");
        EXPECT_TRUE(windows.progressVisible);
      }
    }
  };
  check(K::Aircraft, "air of 15000 bytes with aircraft.cfg", {{"plane.air", 15000}, {"aircraft.cfg", 10}});
  check(K::Fs5Aircraft, "air of 15001 bytes with aircraft.cfg", {{"plane.air", 15001}, {"aircraft.cfg", 1}});
  check(K::MultiAircraft, "two airs with aircraft.cfg", {{"a.air", 1}, {"b.air", 1}, {"aircraft.cfg", 1}});
  check(K::Fs5Aircraft, "first air large, second small", {{"a.air", 15001}, {"b.air", 100}});
  check(K::MultiAircraft, "first air small, second large", {{"a.air", 100}, {"b.air", 15001}});
  check(K::Scenery, "small air without aircraft.cfg beside bgl", {{"plane.air", 100}, {"scenery.bgl", 10}});
  check(K::Panel, "small air without aircraft.cfg beside panel.cfg", {{"plane.air", 100}, {"panel.cfg", 1}});
  check(K::Aircraft, "aircraft with its own panel and sound",
        {{"plane.air", 100}, {"aircraft.cfg", 10}, {"panel.cfg", 10}, {"sound.cfg", 10}});
  check(K::Panel, "panel before sound", {{"panel.cfg", 10}, {"sound.cfg", 10}});
  check(K::Sound, "sound before sif", {{"sound.cfg", 10}, {"x.sif", 10}});
  check(K::Sif, "sif before bgl", {{"x.sif", 10}, {"x.bgl", 10}});
  check(K::Scenery, "bgl before adv", {{"x.bgl", 10}, {"x.adv", 10}});
  check(K::Adventure, "adventures", {{"tour.adv", 10}, {"tour.wav", 10}});
  check(K::None, "nothing known", {{"readme.txt", 10}, {"picture.jpg", 10}});
  check(K::Aircraft, "names in capitals", {{"PLANE.AIR", 100}, {"Aircraft.CFG", 10}});
  check(K::Panel, "a configuration in a sub-folder counts after flattening", {{"Cessna/panel/panel.cfg", 1}});
  check(K::None, "only the extension counts", {{"aircraft.cfg.bak", 10}, {"panel.cfg.txt", 10}});
}

// The folder name taken from the archive's file name is asked for when it
// could not be a folder of its own below Aircraft ("...zip" gives ".."): a
// name typed there is taken, Cancel installs nothing, and a name left as it
// was refuses the archive, naming it and the fault. Nothing outside the new
// aircraft's folder changes.
TEST_F(InstallArchiveTest, AnArchiveNameThatCannotBeAFolderIsAskedForAgain) {
  const struct {
    std::string file;                   // the archive's file name
    std::optional<std::string> answer;  // at the prompt; none: no prompt
    std::string installedIn, fault;     // the aircraft's folder, or why the archive is refused
  } cases[] = {
      {"...zip", "Dots", "Dots", ""},
      {"..zip", std::nullopt, "", ""},
      {"..zip", "..", "", "is \".\" or \"..\""},
      {"Heron..zip", "Heron.", "", "ends in a dot or a blank"},
      {"a:b.zip", "a:b", "", "holds one of \\ / : * ? \" < > |"},
      {"\x1b[2J.zip", "\x1b[2j", "", "holds a control character"},
      {"Heron.zip", "", "heron", ""},
  };
  state().optFolderName = core::Option::Off;
  install(putArchive("First.zip", aircraftArchive()));  // makes the simulator's shared folders
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    windows.prompts.clear();
    state().installedCount = 0;
    const std::string path = putArchive(c.file, aircraftArchive());
    const bool asks = c.file != "Heron.zip";
    if (asks) windows.answerPrompt(c.answer);
    if (!c.fault.empty())
      expect({{core::upper(path) + "\r\n\r\nThe folder name taken from the archive's name " + c.fault +
                   ".\r\nDo NOT use \\ / :  '' * ? < > | in foldername!",
               "Installation aborted", Icon::Critical}});
    auto before = testsupport::snapshotTree(host("C:\\"));
    install(path);
    EXPECT_TRUE(dialogs.done());
    ASSERT_EQ(windows.prompts.size(), asks ? 1u : 0u);
    if (asks) {
      EXPECT_EQ(windows.prompts[0].proposal, core::lower(c.file.substr(0, c.file.size() - 4)));
    }
    EXPECT_EQ(state().installedCount, c.installedIn.empty() ? 0 : 1);
    auto after = testsupport::snapshotTree(host("C:\\"));
    if (!c.installedIn.empty()) {
      EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\" + c.installedIn + "\\plane.air"));
      std::erase_if(after,
                    [&](const auto& entry) { return entry.first.rfind("FS2002/Aircraft/" + c.installedIn, 0) == 0; });
    }
    EXPECT_EQ(testsupport::treeDifferences(before, after), "");
  }
}

// A scenery package under FS98 is refused before anything is extracted.
TEST_F(InstallArchiveTest, ASifUnderFs98IsRefusedWithoutExtracting) {
  makeSimulator(61, "FS98");
  writeFile("C:\\Downloads\\Airport.SIF", "sif");
  testsupport::writeHostFile(tempZipHost() + "/left.txt", "from before");
  dialogs.expectMessage("You cannot install SIF files to FS98!", "FS98 does not support SIF", Buttons::OK,
                        Icon::Exclamation);
  install("C:\\Downloads\\Airport.SIF");
  EXPECT_EQ(tempZipFiles(), Files{"left.txt"});
  EXPECT_EQ(state().installedCount, 0);
}

TEST_F(InstallArchiveTest, AnInstalledAddonIsUpdatedOnlyOnYes) {
  const struct {
    ArchiveBuilder archive;
    std::string existing;  // folder below the simulator, in other capitals
    std::string caption, installedFile;
  } cases[] = {
      {aircraftArchive(), "AIRCRAFT\\Hopper", "Aircraft already installed", "Aircraft\\hopper\\plane.air"},
      {ArchiveBuilder().add("panel.cfg", "[Window Titles]\r\n"), "Aircraft\\fsfsconv\\PANEL.Hopper",
       "Panel already installed", "Aircraft\\FSFSConv\\panel.hopper\\panel.cfg"},
      {ArchiveBuilder().add("sound.cfg", "[wind_sound]\r\n"), "Aircraft\\FSFSConv\\Sound.HOPPER",
       "Sound already installed", "Aircraft\\FSFSConv\\sound.hopper\\sound.cfg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.caption);
    std::filesystem::create_directories(host("C:\\FS2002\\" + c.existing));
    const std::string path = putArchive("Hopper.ZIP", c.archive);
    state().installedCount = 0;
    for (const auto answer : {core::Answer::No, core::Answer::Yes}) {
      dialogs.expectMessage("Do you want to update hopper?", c.caption, Buttons::YesNo, Icon::Question, answer);
      install(path);
      EXPECT_EQ(exists("C:\\FS2002\\" + c.installedFile), answer == core::Answer::Yes);
      EXPECT_EQ(state().installedCount, answer == core::Answer::Yes ? 1 : 0);
      EXPECT_TRUE(windows.progressVisible);
    }
  }
}

// A file system whose every copy fails with one run-time error.
class FailingCopies : public testsupport::ForwardingFs {
 public:
  FailingCopies(core::FileSystem& inner, int number) : ForwardingFs(inner), number_(number) {}
  void copyFile(std::string_view, std::string_view) override { throw core::RuntimeError(number_); }

 private:
  int number_;
};

// Such an error ends the program with its message: a path or file access
// error, the ZIP library missing, any other failure.
TEST_F(InstallArchiveTest, AnErrorDuringTheInstallationEndsTheProgramWithItsMessage) {
  const struct {
    int number;  // of the failing copies
    const char *text, *title;
    Icon icon;
  } cases[] = {
      {core::err::PathFileAccess, "Delete TempZip", "Installation aborted", Icon::Critical},
      {core::err::LibraryNotLoaded, "Missing file ''hangarpak.dll''", "Installation aborted", Icon::Critical},
      {core::err::PermissionDenied, "Install error 70", "Error", Icon::Exclamation},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    FailingCopies failing(*fs, c.number);
    auto faulty = contextOn(failing);
    windows.loadProgress();
    dialogs.expectMessageHead(c.text, c.title, Buttons::OK, c.icon);
    EXPECT_THROW(
        install::InstallArchive(*faulty, putArchive("plane" + std::to_string(c.number) + ".zip", aircraftArchive())),
        core::EndProgram);
    EXPECT_FALSE(windows.progressIsLoaded);
    // The cause in words below the message.
    EXPECT_NE(dialogs.messages().back().text.find(core::describeError(c.number)), std::string::npos);
    std::filesystem::remove_all(tempZipHost());
  }
}

// Whatever an earlier run left in TempZip goes before the next archive is
// extracted (whatever its names, as the temporary folders' own cases show).
// What cannot be removed refuses that one archive, named in the message,
// and the program goes on: the next archive installs once the file can go.
TEST_F(InstallArchiveTest, WhateverTempZipHoldsGoesBeforeTheNextArchive) {
  testsupport::writeHostFile(tempZipHost() + "/stuck.txt", "left");
  ::chmod((tempZipHost() + "/stuck.txt").c_str(), 0444);
  const std::string left = tempZipHost() + "/deep/er/x.air";
  testsupport::writeHostFile(left, "left");
  testsupport::ForwardingFs stuck(*fs);
  stuck.failDelete = [](std::string_view path) { return core::lastComponent(path) == "stuck.txt"; };
  auto faulty = contextOn(stuck);
  dialogs.expectMessage(
      "C:\\DOWNLOADS\\PLANE.ZIP\r\n\r\nThe archive is not installed: these could not be removed "
      "from Z:\\app\\TempZip:\r\nZ:\\app\\TempZip\\stuck.txt",
      "Installation aborted", Buttons::OK, Icon::Critical);
  state().currentArchivePath = putArchive("plane.zip", aircraftArchive());
  install::InstallArchive(*faulty, state().currentArchivePath);
  EXPECT_EQ(tempZipFiles(), Files{"stuck.txt"});
  EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\plane"));
  EXPECT_FALSE(windows.progressVisible);

  testsupport::writeHostFile(left, "left");
  install(state().currentArchivePath);
  EXPECT_EQ(state().installedCount, 1);
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\plane\\plane.air"));
  // What was left is gone, and the archive's own files left for their places.
  EXPECT_EQ(tempZipFiles(), Files{});
  EXPECT_TRUE(dialogs.done());
}

// Only archives that installed something count; the summary under "Done!"
// names every other one and why. An adventure archive whose every adventure is refused installs
// nothing, not even the files that came with the adventures. After an
// empty password answer the later encrypted archives are not asked for,
// and the summary says so.
TEST_F(InstallArchiveTest, TheInstallCommandCountsTheArchivesThatWereInstalled) {
  std::vector<std::string> archives = {
      putArchive("hopper.zip", aircraftArchive()),
      putArchive("junk.zip", ArchiveBuilder().add("readme.txt", "x")),
      putArchive("ferry.zip", ArchiveBuilder().add("ferry.adv", "AAF adventure, Ferry\r\n").add("ferry.wav", "w")),
      "C:\\Downloads\\gone.zip",
      putArchive("glass.zip", ArchiveBuilder().add("panel.cfg", "[Window00]\r\n")),
      putArchive("locked.zip", aircraftArchive().addEncrypted("plane.mdl", "m", "pilot")),
      putArchive("sealed.zip", ArchiveBuilder().addEncrypted("plane.air", "a", "pilot")),
  };
  const std::string cut = aircraftArchive().bytes();
  writeFile("C:\\Downloads\\cut.zip", cut.substr(0, cut.size() - 30));
  archives.push_back("C:\\Downloads\\cut.zip");
  state().installedCount = 7;
  dialogs.expectMessage("C:\\DOWNLOADS\\JUNK.ZIP\r\n\r\nThe ZIP file does NOT contain any FS98/2000/2002 files.");
  dialogs.expectMessage("Hangarpak v3.2 does not support old adventure installation for FS2002!");
  dialogs.expectMessage("C:\\DOWNLOADS\\GONE.ZIP\r\n\r\nFile doesn't exist", "Installation aborted", Buttons::OK,
                        Icon::Critical);
  dialogs.expectInput("Please Enter The Password!", "");
  const std::string cutShort =
      "it is not a ZIP archive, or it is damaged or cut short: it does not end with a ZIP "
      "archive's table of contents";
  dialogs.expectMessage("C:\\Downloads\\cut.zip\r\n\r\nThe archive is not installed: " + cutShort + ".");
  const auto run = install::RunInstallCommand(ctx(), archives);
  EXPECT_EQ(run.total, 8);
  EXPECT_EQ(run.installed, (std::vector<bool>{true, false, false, false, true, false, false, false}));
  EXPECT_FALSE(run.allInstalled());
  EXPECT_FALSE(exists("C:\\FS2002\\Adv\\Wav\\ferry.wav"));
  // The last archive, refused as it was extracted, took back TempZip.
  EXPECT_FALSE(exists("Z:\\app\\TempZip"));
  EXPECT_EQ(state().progressMode, core::ProgressMode::Installing);
  EXPECT_EQ(windows.counters.front(), "Installing file 1/8");
  EXPECT_EQ(windows.counters.back(), "2/8 file(s) successfully installed.");
  EXPECT_EQ(windows.progressMessage,
            "Done!\r\nNot installed:\r\njunk.zip: it holds no FS98/2000/2002 files\r\nferry.zip: its adventures are "
            "made for an earlier version, and FS2002 cannot install them\r\ngone.zip: the file does not exist\r\n"
            "locked.zip: it is encrypted, and no password was given\r\nsealed.zip: it is encrypted, and after an "
            "empty password answer no password is asked for until the program ends\r\ncut.zip: " +
                cutShort);
  EXPECT_TRUE(dialogs.done());
  EXPECT_TRUE(windows.progressVisible && windows.progressOkEnabled && windows.progressIsLoaded);
  EXPECT_EQ(dialogs.beeps, 1);
}

}  // namespace
}  // namespace installtest
