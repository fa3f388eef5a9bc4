#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/controls.h"

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
  core::ListView ZipFileLst2;   // columns "file", "path"; several rows selectable
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
  core::Context& ctx_;
  MainWindow& main_;
};

}  // namespace ui
