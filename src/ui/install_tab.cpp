#include "ui/install_tab.h"

#include "core/context.h"
#include "core/text.h"
#include "install/install_command.h"
#include "ui/drive_choice.h"
#include "ui/main_window.h"

namespace ui {

InstallTab::InstallTab(core::Context& ctx, MainWindow& main)
    : ZipFileDrv(ctx.drives), ZipFileDir(ctx.fs), ZipFileLst(ctx.fs), FilesLst(ctx.fs), ctx_(ctx), main_(main) {
  ZipFileLst.pattern = "*.zip;*.sif";
  ZipFileLst2.columns = {"file", "path"};
  ZipFileLst2.multiSelect = true;
  ZipFileDir.onChange = [this] { ZipFileDir_Change(); };
}

void InstallTab::ZipFileDrv_Change(std::string_view picked) {
  ChangeDrive(ctx_, ZipFileDrv, ZipFileDir, picked);
}

void InstallTab::ZipFileDir_Change() {
  const std::string folder = ZipFileDir.path();
  ZipFileLst.setPath(folder);
  ZipFileLst2.clear();
  for (const auto& name : ZipFileLst.files()) {
    const int icon = core::lower(core::right(name, 3)) == "sif" ? kSifIcon : kZipIcon;
    // A drive root ("C:\") already ends in its backslash.
    const std::string path = folder.size() == 3 ? folder + name : folder + "\\" + name;
    ZipFileLst2.add(core::dropRight(name, 4), {path}, icon);
  }
  main_.changed();
}

void InstallTab::ZipFileLst2_DblClick() {
  unzipCmd_Click();
}

void InstallTab::unzipCmd_Click() {
  std::vector<std::string> archives;
  if (ctx_.state.commandLineInstall) {
    archives.push_back(ctx_.state.commandLineArchive);
  } else {
    for (int i : ZipFileLst2.selectedIndices()) archives.push_back(ZipFileLst2.item(i).subItem(1));
  }
  install::RunInstallCommand(ctx_, archives);
  main_.changed();
}

void InstallTab::ZipFileLst2_OLEDragDrop(const std::vector<std::string>& hostPaths) {
  std::vector<std::string> archives;
  for (const auto& hostPath : hostPaths) {
    if (!core::matchesPattern(core::lastComponent(hostPath), ZipFileLst.pattern)) continue;
    if (auto path = ctx_.drives.toWindows(hostPath)) archives.push_back(*path);
  }
  if (archives.empty()) return;
  install::RunInstallCommand(ctx_, archives);
  main_.changed();
}

}  // namespace ui
