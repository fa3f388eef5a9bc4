#include "ui/install_tab.h"

#include <filesystem>

#include "core/errors.h"
#include "shell_fixture.h"
#include "support/archive_builder.h"
#include "ui/name_form.h"

namespace {

using testsupport::ArchiveBuilder;

class InstallTabTest : public uitest::ShellFixture {
 protected:
  InstallTabTest() { makeSimulator(80); }
  ui::InstallTab& tab() { return main->installFra; }

  std::string putArchive(const std::string& windowsPath, const ArchiveBuilder& a) {
    a.writeTo(host(windowsPath));
    return windowsPath;
  }
  static ArchiveBuilder aircraft() {
    return ArchiveBuilder().add("aircraft.cfg", "[fltsim.0]\r\ntitle=Hopper\r\n").add("hopper.air", "a");
  }
  std::vector<std::string> rows() {
    std::vector<std::string> out;
    for (const auto& item : tab().ZipFileLst2.items())
      out.push_back(item.text + "|" + std::to_string(item.smallIcon) + "|" + item.subItem(1));
    return out;
  }
};

TEST_F(InstallTabTest, TheFolderListShowsItsArchivesWithIconsAndPaths) {
  writeFile("C:\\Downloads\\Hopper.zip", "z");
  writeFile("C:\\Downloads\\Plane.SIF", "s");
  writeFile("C:\\Downloads\\readme.txt", "t");
  std::filesystem::create_directories(host("C:\\Downloads\\Old.zip.d"));
  writeFile("C:\\Top.ZIP", "z");

  tab().ZipFileDir.setPath("C:\\Downloads");
  EXPECT_EQ(rows(),
            (std::vector<std::string>{"Hopper|5|C:\\Downloads\\Hopper.zip", "Plane|6|C:\\Downloads\\Plane.SIF"}));
  EXPECT_EQ(tab().ZipFileLst2.columns, (std::vector<std::string>{"file", "path"}));

  // A drive root's path gets no doubled backslash.
  tab().ZipFileDir.setPath("C:\\");
  EXPECT_EQ(rows(), (std::vector<std::string>{"Top|5|C:\\Top.ZIP"}));

  tab().ZipFileDir.setPath("C:\\FS2002");
  EXPECT_TRUE(rows().empty());
}

TEST_F(InstallTabTest, InstallingNothingOnlyLoadsAndUnloadsTheProgressDialog) {
  tab().ZipFileDir.setPath("C:\\");
  tab().unzipCmd_Click();
  EXPECT_FALSE(main->waitFrm.loaded);
  EXPECT_TRUE(dialogs.messages().empty());
  EXPECT_EQ(dialogs.beeps, 0);
}

TEST_F(InstallTabTest, TheSelectedArchivesAreInstalledAndCounted) {
  putArchive("C:\\Downloads\\a_hopper.zip", aircraft());
  putArchive("C:\\Downloads\\b_junk.zip", ArchiveBuilder().add("readme.txt", "x"));
  putArchive("C:\\Downloads\\c_glass.zip", ArchiveBuilder().add("panel.cfg", "[Window00]\r\n"));
  putArchive("C:\\Downloads\\d_other.zip", aircraft());
  tab().ZipFileDir.setPath("C:\\Downloads");
  for (int i : {0, 1, 2}) tab().ZipFileLst2.setSelected(i, true);

  dialogs.expectMessage("C:\\DOWNLOADS\\B_JUNK.ZIP\r\n\r\nThe ZIP file does NOT contain any FS98/2000/2002 files.",
                        "Installation aborted", core::Buttons::OK, core::Icon::Critical);
  tab().ZipFileLst2_DblClick();

  const auto& wait = main->waitFrm;
  EXPECT_TRUE(wait.loaded);
  EXPECT_TRUE(wait.visible);
  EXPECT_EQ(wait.caption, "Installing");
  EXPECT_EQ(wait.waitLbl.caption, "Done!");
  EXPECT_EQ(wait.doneLbl.caption, "2/3 file(s) successfully installed.");
  EXPECT_TRUE(wait.okCmd.enabled);
  EXPECT_EQ(dialogs.beeps, 1);
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\a_hopper\\hopper.air"));
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\FSFSConv\\panel.c_glass\\panel.cfg"));
  EXPECT_FALSE(exists("C:\\FS2002\\Aircraft\\d_other"));
  EXPECT_EQ(state().catalogueStale, 1);
}

TEST_F(InstallTabTest, TheFolderNameIsAskedThroughTheNamePrompt) {
  state().optFolderName = 1;
  putArchive("C:\\Downloads\\hopper.zip", aircraft());
  tab().ZipFileDir.setPath("C:\\Downloads");
  tab().ZipFileLst2.setSelected(0, true);
  dialogs.expectModal("nameFrm", [](core::ModalController& c) {
    auto& prompt = dynamic_cast<ui::NameForm&>(c);
    EXPECT_EQ(prompt.nameTxt.text, "hopper");
    EXPECT_EQ(prompt.nameLbl.caption, "Enter folder name:");
    prompt.nameTxt.text = "Sky Hopper";
    prompt.okCmd_Click();
  });
  tab().unzipCmd_Click();
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\Sky Hopper\\hopper.air"));
  EXPECT_TRUE(main->enabled);
  EXPECT_EQ(main->waitFrm.doneLbl.caption, "1/1 file(s) successfully installed.");
}

TEST_F(InstallTabTest, DroppedArchivesAreInstalledByTheSameCommand) {
  putArchive("C:\\Downloads\\hopper.zip", aircraft());
  writeFile("C:\\Downloads\\notes.txt", "n");
  tab().ZipFileLst2_OLEDragDrop({host("C:\\Downloads\\notes.txt"), host("C:\\Downloads\\hopper.zip")});
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\hopper\\hopper.air"));
  EXPECT_EQ(main->waitFrm.doneLbl.caption, "1/1 file(s) successfully installed.");
  EXPECT_EQ(dialogs.beeps, 1);

  // Nothing that looks like an archive: no run at all.
  tab().ZipFileLst2_OLEDragDrop({host("C:\\Downloads\\notes.txt")});
  EXPECT_EQ(dialogs.beeps, 1);
}

TEST_F(InstallTabTest, ACommandLineArchiveIsInstalledWithTheMainWindowHiddenAndClosingEndsTheRun) {
  state().commandLineInstall = true;
  state().commandLineArchive = putArchive("C:\\Downloads\\hopper.zip", aircraft());
  tab().unzipCmd_Click();
  EXPECT_FALSE(main->visible);
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\hopper\\hopper.air"));
  EXPECT_EQ(main->waitFrm.doneLbl.caption, "1/1 file(s) successfully installed.");
  state().commandLineInstall = false;
  EXPECT_THROW(main->waitFrm.okCmd_Click(), core::EndProgram);
}

}  // namespace
