#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/controls.h"
#include "journal/installed_archives.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The Install tab's frame installFra: the archive browser and the install
// command. The shell (start-up, the File menu) calls the handlers below.
class InstallTab {
 public:
  InstallTab(core::Context& ctx, MainWindow& main);
  InstallTab(const InstallTab&) = delete;
  InstallTab& operator=(const InstallTab&) = delete;

  bool visible = true;  // the frame
  core::DriveList ZipFileDrv;
  core::FolderList ZipFileDir;  // its change raises ZipFileDir_Change
  core::FileList ZipFileLst;    // not shown; "*.zip;*.sif"
  // Columns "file", "path", "state" ("installed" for an archive the journal
  // records as installed); several rows selectable.
  core::ListView ZipFileLst2;
  // The host path of the folder whose archives are shown, or what the user
  // typed there since.
  core::TextBox ZipPathTxt;
  core::Button unzipCmd{"&Install"};
  core::Button lukkCmd{"E&xit"};
  core::Label infoLbl{
      "Hangarpak installs aircraft, panels, sounds, scenery (SIF) and adventures straight from their ZIP "
      "archives."};
  core::Label versionLbl{"Version 3.2"};
  core::FileList FilesLst;  // not shown; the temporary folders' files

  // The user picked a drive in ZipFileDrv.
  void ZipFileDrv_Change(std::string_view picked);

  // The folder list's folder changed: ZipFileLst2 lists its archives, each
  // with its name less the extension, the ZIP or SIF icon and its full path.
  void ZipFileDir_Change();
  // A folder of ZipFileDir picked with one click or the arrow keys: the
  // archive list shows its archives; the folder list stays where it is (a
  // double click opens the folder there).
  void ZipFileDir_Click(std::string_view folder);
  // Enter in ZipPathTxt, or a folder chosen: the path (see ReachTypedFolder)
  // opens in the folder list, selecting the archive it names; a path that
  // leads nowhere is said in a message and changes nothing.
  void openPath(std::string_view typed);
  // Asks for a folder to open, starting in the one shown.
  void chooseFolder();
  // The shown folder's files changed on disk: the list follows, and the
  // archives still there stay selected.
  void archiveFolderChanged();
  // The folder whose archives are shown (a Windows path), and its host
  // path ("" when no drive maps it any more).
  const std::string& shownFolder() const { return ZipFileLst.path(); }
  std::string shownHostFolder() const;
  void ZipFileLst2_DblClick();
  // The install command: the selected archives, or commandLineArchive when
  // commandLineInstall is set.
  void unzipCmd_Click();
  // ZipFileLst2's context menu: what installing the picked archives would
  // change, shown without changing anything.
  void previewCap_Click();
  // Files dropped on the archive list (host paths): the .zip and .sif ones
  // are installed by the install command, in the order dropped.
  void ZipFileLst2_OLEDragDrop(const std::vector<std::string>& hostPaths);
  // An archive a later start of the program handed over (a host path, or
  // a Windows one as typed): it is installed as one dropped on the list is.
  void installHandedOver(const std::string& hostPath);

  // Icons of ZipFileLst2 (images of ImgLst).
  static constexpr int kZipIcon = 5;
  static constexpr int kSifIcon = 6;

 private:
  void listArchives(const std::string& folder);

  core::Context& ctx_;
  MainWindow& main_;
  journal::InstalledArchives installed_;
};

}  // namespace ui
