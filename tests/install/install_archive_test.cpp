#include "install/install_archive.h"

#include <filesystem>

#include "core/context.h"
#include "core/errors.h"
#include "core/profile.h"
#include "install/install_fixture.h"
#include "support/forwarding_fs.h"

namespace installtest {
namespace {

using core::Buttons;
using core::Icon;
using testsupport::ArchiveBuilder;

ArchiveBuilder aircraftArchive() {
  ArchiveBuilder a;
  a.add("plane.air", std::string(500, 'a')).add("aircraft.cfg", "[fltsim.0]\r\ntitle=Plane\r\n");
  return a;
}

class InstallArchiveTest : public InstallFixture {
 protected:
  InstallArchiveTest() { makeSimulator(80); }

  void install(const std::string& path) {
    state().currentArchivePath = path;
    install::InstallArchive(ctx(), state().currentArchivePath);
  }
};

// A missing archive is reported; a scenery package under FS98 is refused
// before anything is extracted.
TEST_F(InstallArchiveTest, AMissingArchiveOrASifUnderFs98IsRefusedWithoutExtracting) {
  dialogs.expectMessage("C:\\DOWNLOADS\\GONE.ZIP\r\n\r\nFile doesn't exist", "Installation aborted", Buttons::OK,
                        Icon::Critical);
  install("C:\\Downloads\\gone.zip");
  makeSimulator(61, "FS98");
  writeFile("C:\\Downloads\\Airport.SIF", "sif");
  testsupport::writeHostFile(tempZipHost() + "/left.txt", "from before");
  dialogs.expectMessage("You cannot install SIF files to FS98!", "FS98 does not support SIF", Buttons::OK,
                        Icon::Exclamation);
  install("C:\\Downloads\\Airport.SIF");
  EXPECT_EQ(tempZipFiles(), (std::vector<std::string>{"left.txt"}));
  EXPECT_EQ(state().installedCount, 0);
}

struct Refusal {
  const char* title;
  ArchiveBuilder archive;
  std::string text;  // after the upper-cased path and two line breaks, or whole when no path
  std::string caption;
  Icon icon;
  bool withPath;
};

TEST_F(InstallArchiveTest, RefusalsShowTheirMessageAndInstallNothing) {
  const std::string scenery =
      "The scenery installation part of Hangarpak 2000 has been removed.\r\n"
      "That is because this part of the program worked miserable!\r\n\r\n"
      "I you want to install a scenery you should try using a program called Ortholay.\r\n"
      "This program is the best scenery installation tool available for Flight Simulator.";
  const Refusal refusals[] = {
      {"nothing known", ArchiveBuilder().add("readme.txt", "x"),
       "The ZIP file does NOT contain any FS98/2000/2002 files.", "Installation aborted", Icon::Critical, true},
      {"several aircraft", ArchiveBuilder().add("a.air", "a").add("b.air", "b").add("aircraft.cfg", "c"),
       "Hangarpak does NOT support ''muti-aircraft'' package.", "Installation aborted", Icon::Critical, true},
      {"scenery", ArchiveBuilder().add("a.air", "a").add("x.bgl", "b"), scenery, "Scenery installation",
       Icon::Exclamation, false},
      {"FS5 aircraft under FS2002", ArchiveBuilder().add("old.air", std::string(15001, 'o')),
       "Hangarpak v3.2 does not support FS5.x aicraft installation for FS2002!", "Cannot install FS5.x aircraft",
       Icon::Exclamation, false},
  };
  for (const auto& r : refusals) {
    SCOPED_TRACE(r.title);
    const std::string path = putArchive("Some Addon.zip", r.archive);
    const std::string text = r.withPath ? "C:\\DOWNLOADS\\SOME ADDON.ZIP\r\n\r\n" + r.text : r.text;
    dialogs.expectMessage(text, r.caption, Buttons::OK, r.icon);
    windows.calls.clear();
    install(path);
    EXPECT_EQ(state().installedCount, 0);
    EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\some addon"));
    // The dialog is back for the next archive.
    EXPECT_EQ(windows.calls.back(), "repaintProgress");
    EXPECT_TRUE(windows.progressVisible);
  }
}

TEST_F(InstallArchiveTest, TheFolderPromptIsShownForAircraftPanelSoundAndSceneryOnly) {
  struct Case {
    const char* title;
    ArchiveBuilder archive;
    bool prompted;
  };
  const Case cases[] = {
      {"aircraft", aircraftArchive(), true},
      {"panel", ArchiveBuilder().add("panel.cfg", "[Window Titles]\r\n"), true},
      {"sound", ArchiveBuilder().add("sound.cfg", "[wind_sound]\r\n"), true},
      {"scenery", ArchiveBuilder().add("x.bgl", "b"), true},
      {"nothing known", ArchiveBuilder().add("readme.txt", "x"), false},
      {"adventures", ArchiveBuilder().add("tour.adv", "x"), false},
      {"scenery packages", ArchiveBuilder().add("x.sif", "s"), false},
  };
  state().optFolderName = 1;
  dialogs.allowAnyMessages();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    windows.prompts.clear();
    // Cancel: nothing is installed and nothing said.
    if (c.prompted) windows.answerPrompt(std::nullopt);
    const auto shown = dialogs.messages().size();
    install(putArchive("Addon.zip", c.archive));
    if (c.prompted) {
      ASSERT_EQ(windows.prompts.size(), 1u);
      EXPECT_EQ(windows.prompts[0].mode, 1);
      EXPECT_EQ(windows.prompts[0].proposal, "addon");
      EXPECT_EQ(dialogs.messages().size(), shown);
      EXPECT_FALSE(tempZipFiles().empty()) << "the extracted files stay";
      EXPECT_EQ(state().installedCount, 0);
    } else {
      EXPECT_TRUE(windows.prompts.empty());
    }
  }
  EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\addon"));
  EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\FSFSConv\\panel.addon"));
  EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\FSFSConv\\sound.addon"));
}

TEST_F(InstallArchiveTest, AnInstalledAddonIsUpdatedOnlyOnYes) {
  struct Case {
    const char* title;
    ArchiveBuilder archive;
    std::string existing;  // folder below the simulator, in other capitals
    std::string caption;
    std::string installedFile;
  };
  const Case cases[] = {
      {"aircraft", aircraftArchive(), "AIRCRAFT\\Hopper", "Aircraft already installed", "Aircraft\\hopper\\plane.air"},
      {"panel", ArchiveBuilder().add("panel.cfg", "[Window Titles]\r\n"), "Aircraft\\fsfsconv\\PANEL.Hopper",
       "Panel already installed", "Aircraft\\FSFSConv\\panel.hopper\\panel.cfg"},
      {"sound", ArchiveBuilder().add("sound.cfg", "[wind_sound]\r\n"), "Aircraft\\FSFSConv\\Sound.HOPPER",
       "Sound already installed", "Aircraft\\FSFSConv\\sound.hopper\\sound.cfg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    std::filesystem::create_directories(host("C:\\FS2002\\" + c.existing));
    const std::string path = putArchive("Hopper.ZIP", c.archive);

    state().installedCount = 0;
    dialogs.expectMessage("Do you want to update hopper?", c.caption, Buttons::YesNo, Icon::Question, core::Answer::No);
    install(path);
    EXPECT_FALSE(exists("C:\\FS2002\\" + c.installedFile));
    EXPECT_EQ(state().installedCount, 0);
    EXPECT_TRUE(windows.progressVisible);

    dialogs.expectMessage("Do you want to update hopper?", c.caption, Buttons::YesNo, Icon::Question,
                          core::Answer::Yes);
    install(path);
    EXPECT_TRUE(exists("C:\\FS2002\\" + c.installedFile));
    EXPECT_EQ(state().installedCount, 1);
  }
}

TEST_F(InstallArchiveTest, ATempZipThatCannotBeClearedEndsTheProgram) {
  std::filesystem::create_directories(tempZipHost() + "/stuck");
  windows.loadProgress();
  dialogs.expectMessage("Delete TempZip", "Installation aborted", Buttons::OK, Icon::Critical);
  try {
    install(putArchive("plane.zip", aircraftArchive()));
    ADD_FAILURE() << "the program did not end";
  } catch (const core::EndProgram&) {
  }
  EXPECT_FALSE(windows.progressIsLoaded);
}

// A file system whose every copy fails with one run-time error.
class FailingCopies : public testsupport::ForwardingFs {
 public:
  FailingCopies(core::FileSystem& inner, int number) : ForwardingFs(inner), number_(number) {}
  void copyFile(std::string_view, std::string_view) override { throw core::RuntimeError(number_); }

 private:
  int number_;
};

TEST_F(InstallArchiveTest, AnErrorDuringTheInstallationEndsTheProgramWithItsMessage) {
  const struct {
    int number;
    const char* text;
    const char* title;
    Icon icon;
  } cases[] = {
      {core::err::LibraryNotLoaded, "Missing file ''hangarpak.dll''", "Installation aborted", Icon::Critical},
      {core::err::PathFileAccess, "Delete TempZip", "Installation aborted", Icon::Critical},
      {core::err::PermissionDenied, "Install error 70", "Error", Icon::Exclamation},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.number);
    FailingCopies failing(*fs, c.number);
    core::Context faulty(env, ctx().locations, drives, failing, *settings, *registry, *launcher, dialogs, printer);
    faulty.setWindowHost(&windows);
    windows.loadProgress();
    dialogs.expectMessage(c.text, c.title, Buttons::OK, c.icon);
    faulty.state = state();
    const std::string archive = putArchive("plane" + std::to_string(c.number) + ".zip", aircraftArchive());
    EXPECT_THROW(install::InstallArchive(faulty, archive), core::EndProgram);
    EXPECT_FALSE(windows.progressIsLoaded);
  }
}

}  // namespace
}  // namespace installtest
