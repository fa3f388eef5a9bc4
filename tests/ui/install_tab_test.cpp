#include "ui/install_tab.h"

#include <filesystem>
#include <tuple>

#include "core/content_hash.h"
#include "core/errors.h"
#include "core/text.h"
#include "journal/store.h"
#include "shell_fixture.h"
#include "support/archive_builder.h"
#include "support/tree_snapshot.h"
#include "ui/preview_form.h"

namespace {

using testsupport::ArchiveBuilder;

class InstallTabTest : public uitest::ShellFixture {
 protected:
  InstallTabTest() { makeSimulator(80); }
  ui::InstallTab& tab() { return main->installFra; }

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
  EXPECT_EQ(tab().ZipFileLst2.columns, (std::vector<std::string>{"file", "path", "state"}));

  // A drive root's path gets no doubled backslash.
  tab().ZipFileDir.setPath("C:\\");
  EXPECT_EQ(rows(), (std::vector<std::string>{"Top|5|C:\\Top.ZIP"}));
  // One click on a folder lists it; the folder list stays where it was.
  tab().ZipFileDir_Click("C:\\Downloads");
  EXPECT_EQ(rows().size(), 2u);
  EXPECT_EQ(tab().ZipFileDir.path() + "|" + tab().ZipPathTxt.text, "C:\\|" + host("C:\\Downloads"));

  tab().ZipFileDir.setPath("C:\\FS2002");
  EXPECT_TRUE(rows().empty());
}

// A typed, pasted or chosen path opens the folder its drive reaches, and
// selects the archive it names; one that leads nowhere says why and leaves
// the lists as they were.
TEST_F(InstallTabTest, APathOpensTheFolderItsDriveReaches) {
  writeFile("C:\\Downloads\\Hopper.zip", "z");
  writeFile("C:\\Downloads\\readme.txt", "t");
  writeFile("C:\\My Files\\Jet.zip", "z");
  writeFile("Z:\\home\\Downloads\\Glider.sif", "s");
  const std::string unreached = std::filesystem::path(root).parent_path().string();
  const std::string readme = host("C:\\Downloads\\readme.txt");
  // The typed path; the folder list's folder after, with the archive
  // selected ("" for unchanged); how the message begins ("" for none).
  const std::tuple<std::string, std::string, std::string> cases[] = {
      {"~/Downloads", "Z:\\home\\Downloads", ""},
      {" '~/Downloads/' ", "Z:\\home\\Downloads", ""},
      {"~", "Z:\\home", ""},
      {host("C:\\Downloads\\Hopper.zip"), "C:\\Downloads > Hopper", ""},
      {"file://" + host("C:\\") + "/My%20Files", "C:\\My Files", ""},
      {"c:\\Downloads\\", "C:\\Downloads", ""},
      {unreached, "", "No simulator drive reaches the folder " + unreached + ", so its archives cannot"},
      {"Downloads", "", "Downloads is not a full path."},
      {"q:\\Files", "", "The drive Q: of q:\\Files is not in the drive table"},
      {"~/Nowhere", "", "The folder ~/Nowhere does not exist."},
      {readme, "", readme + " is a file, not a folder of archives."},
      {"", "", "Type the path of a folder"},
  };
  dialogs.allowAnyMessages();
  for (const auto& [typed, folder, message] : cases) {
    tab().ZipFileDir.setPath("C:\\FS2002");
    const auto before = dialogs.messages().size();
    tab().openPath(typed);
    const int selected = tab().ZipFileLst2.selectedIndex();
    EXPECT_EQ(tab().ZipFileDir.path() + (selected < 0 ? "" : " > " + tab().ZipFileLst2.item(selected).text),
              folder.empty() ? "C:\\FS2002" : folder)
        << typed;
    const std::string shown = dialogs.messages().size() > before ? dialogs.messages().back().text : "";
    EXPECT_EQ(shown.substr(0, message.empty() ? std::string::npos : message.size()), message) << typed;
  }
}

// The list follows its folder: a file that came is listed, one that went is
// not, and the archives still there stay selected. An archive stands
// installed by its content while its installation was counted and is not
// uninstalled.
TEST_F(InstallTabTest, TheListFollowsItsFolderAndMarksInstalledArchives) {
  using journal::InstallState, journal::Outcome;
  journal::Store store(journal::databasePath(ctx().locations.appFolder));
  for (const auto& [content, outcome, state] : {std::tuple{"alpha", Outcome::Counted, InstallState::Installed},
                                                std::tuple{"bravo!", Outcome::Counted, InstallState::Uninstalled},
                                                std::tuple{"charlie", Outcome::Refused, InstallState::Installed}}) {
    journal::Installation i;
    i.archiveSize = std::string_view(content).size();
    i.archiveHash = core::contentHash(content);
    i.outcome = outcome;
    i.state = state;
    (void)store.begin(i);
    writeFile("C:\\Downloads\\" + std::string(1, content[0]) + ".zip", content);
  }
  tab().ZipFileDir.setPath("C:\\Downloads");
  tab().ZipFileLst2.select(1);
  tab().ZipFileLst2.setSelected(2, true);
  std::filesystem::remove(host("C:\\Downloads\\c.zip"));
  writeFile("C:\\Downloads\\d.zip", "alpha");
  tab().archiveFolderChanged();
  std::vector<std::string> shown;
  for (const auto& item : tab().ZipFileLst2.items())
    shown.push_back(item.text + "|" + item.subItem(2) + (item.selected ? "|selected" : ""));
  EXPECT_EQ(shown, (std::vector<std::string>{"a|installed", "b||selected", "d|installed"}));
}

TEST_F(InstallTabTest, DroppedArchivesAreInstalledByTheSameCommand) {
  putArchive("hopper.zip", aircraft());
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
  state().commandLineArchive = putArchive("hopper.zip", aircraft());
  tab().unzipCmd_Click();
  EXPECT_FALSE(main->visible);
  EXPECT_TRUE(exists("C:\\FS2002\\Aircraft\\hopper\\hopper.air"));
  EXPECT_EQ(main->waitFrm.doneLbl.caption, "1/1 file(s) successfully installed.");
  state().commandLineInstall = false;
  EXPECT_THROW(main->waitFrm.okCmd_Click(), core::EndProgram);
}

// Two panels that ship a gauge of the same name, and an archive with
// nothing to install: the preview asks nothing and changes nothing, and
// says per archive, in its own section, what would happen; the second
// panel's overwrite of the first one's gauge heads its section.
TEST_F(InstallTabTest, PreviewSaysPerArchiveWhatWouldHappenAndAsksNothing) {
  for (const char* name : {"first", "second"})
    putArchive(std::string(name) + ".zip", ArchiveBuilder()
                                               .add("panel.cfg", "[Window00]\r\nfile=" + std::string(name) + ".bmp\r\n")
                                               .add(std::string(name) + ".bmp", name)
                                               .add("shared.gau", std::string("gauge of ") + name));
  putArchive("junk.zip", ArchiveBuilder().add("readme.txt", "x"));
  tab().ZipFileDir.setPath("C:\\Downloads");
  tab().ZipFileLst2.select(0);
  tab().unzipCmd_Click();
  const auto before = testsupport::snapshotTree(host("C:\\FS2002"));

  tab().ZipFileLst2.select(1);
  tab().ZipFileLst2.setSelected(2, true);
  dialogs.expectModal("previewFrm", [&](core::ModalController& c) {
    auto& preview = static_cast<ui::PreviewForm&>(c);
    const auto& rows = preview.planLst;
    const std::string refused = "The ZIP file does NOT contain any FS98/2000/2002 files.";
    EXPECT_EQ(preview.summaryLbl.caption, "Would install 1 of 2 archives.");
    // Sections in the order picked, each whole.
    const std::vector<int>& headings = preview.sectionRows;
    ASSERT_EQ(headings.size(), 2u);
    EXPECT_EQ(headings[0], 0);
    EXPECT_EQ(rows.item(0).text, "junk.zip: would be refused: " + refused);
    EXPECT_EQ(rows.item(headings[1]).text,
              "second.zip: would install: panel \"second\", 2 new files, 1 overwrite of "
              "different content, 0 identical files, 0 values written");
    EXPECT_EQ(rows.item(headings[1] + 1).text, "overwrites");
    EXPECT_EQ(core::lower(rows.item(headings[1] + 1).subItem(1)), "c:\\fs2002\\gauges\\shared.gau");
    for (int row = 0; row < rows.count(); ++row) {
      if (row != headings[1] + 1) {
        EXPECT_NE(rows.item(row).text, "overwrites") << row;
      }
      if (core::lower(rows.item(row).subItem(1)).find("second") != std::string::npos) {
        EXPECT_GT(row, headings[1]) << row << ": " << rows.item(row).subItem(1);
      }
    }
    preview.closeCmd_Click();
  });
  tab().previewCap_Click();
  EXPECT_TRUE(dialogs.done());
  EXPECT_EQ(testsupport::treeDifferences(before, testsupport::snapshotTree(host("C:\\FS2002"))), "");
}

// An aircraft with a livery folder and a loose texture beside its texture
// folder: the preview's section of it says, below its heading, first which
// member would be left out, then where the livery's folder goes; the
// installation then says it under "Done!".
TEST_F(InstallTabTest, PreviewAndProgressDialogTellWhereFoldersGoAndWhatIsLeftOut) {
  putArchive("jet.zip", aircraft()
                            .add("texture/paint.bmp", "default")
                            .add("texture.red/paint.bmp", "red")
                            .add("loose/paint.bmp", "loose"));
  tab().ZipFileDir.setPath("C:\\Downloads");
  tab().ZipFileLst2.select(0);
  const std::string jet = "C:\\FS2002\\aircraft\\jet\\";
  const std::string note = "loose\\paint.bmp is not installed: texture\\paint.bmp takes " + jet + "Texture\\paint.bmp.";
  dialogs.expectModal("previewFrm", [&](core::ModalController& c) {
    auto& preview = static_cast<ui::PreviewForm&>(c);
    ASSERT_GT(preview.planLst.count(), 3);
    EXPECT_EQ(preview.sectionRows, std::vector<int>{0});
    std::vector<std::string> first;
    for (int row = 1; row < 3; ++row) {
      const auto& item = preview.planLst.item(row);
      first.push_back(item.text + "|" + item.subItem(1) + "|" + item.subItem(2) + "|" + item.subItem(3));
    }
    EXPECT_EQ(first, (std::vector<std::string>{"note|" + jet + "Texture\\paint.bmp||" + note,
                                               "places folder|" + jet + "texture.red|texture.red|"}));
    preview.closeCmd_Click();
  });
  tab().previewCap_Click();
  EXPECT_TRUE(dialogs.done());
  EXPECT_FALSE(exists(jet + "texture.red\\paint.bmp"));

  tab().unzipCmd_Click();
  EXPECT_EQ(readFile(jet + "texture.red\\paint.bmp") + readFile(jet + "Texture\\paint.bmp"), "reddefault");
  EXPECT_EQ(main->waitFrm.waitLbl.caption, "Done!\r\n" + note);
}

}  // namespace
