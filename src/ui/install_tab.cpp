#include "ui/install_tab.h"

#include <algorithm>
#include <memory>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/text.h"
#include "install/install_command.h"
#include "journal/store.h"
#include "plan/planner.h"
#include "ui/drive_choice.h"
#include "ui/main_window.h"
#include "ui/preview_form.h"
#include "ui/typed_folder.h"

namespace ui {

InstallTab::InstallTab(core::Context& ctx, MainWindow& main)
    : ZipFileDrv(ctx.drives), ZipFileDir(ctx.fs), ZipFileLst(ctx.fs), FilesLst(ctx.fs), ctx_(ctx), main_(main) {
  ZipFileLst.pattern = "*.zip;*.sif";
  ZipFileLst2.columns = {"file", "path", "state"};
  ZipFileLst2.multiSelect = true;
  ZipFileDir.onChange = [this] { ZipFileDir_Change(); };
}

void InstallTab::ZipFileDrv_Change(std::string_view picked) {
  ChangeDrive(ctx_, ZipFileDrv, ZipFileDir, picked);
}

void InstallTab::ZipFileDir_Change() {
  listArchives(ZipFileDir.path());
  ZipPathTxt.text = shownHostFolder();
  main_.changed();
}

void InstallTab::ZipFileDir_Click(std::string_view folder) {
  listArchives(std::string(folder));
  ZipPathTxt.text = shownHostFolder();
  main_.changed();
}

void InstallTab::openPath(std::string_view typed) {
  const TypedFolder target = ReachTypedFolder(ctx_, typed);
  if (target.folder.empty()) {
    ctx_.dialogs.msgBox(target.problem, "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  try {
    ZipFileDrv.setDrive(target.folder);
    ZipFileDir.setPath(target.folder);
  } catch (const core::RuntimeError& e) {
    // Gone since it was looked at.
    ctx_.dialogs.msgBox("The folder " + std::string(core::trim(typed)) + " cannot be opened: " + e.what(), "Hangarpak",
                        core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  for (int i = 0; i < ZipFileLst2.count() && !target.archive.empty(); ++i)
    if (core::iequals(ZipFileLst2.item(i).subItem(1), target.archive)) ZipFileLst2.select(i);
}

void InstallTab::chooseFolder() {
  if (const auto chosen = ctx_.dialogs.chooseFolder("Open Folder", shownHostFolder())) openPath(*chosen);
}

void InstallTab::archiveFolderChanged() {
  std::vector<std::string> selected;
  for (int i : ZipFileLst2.selectedIndices()) selected.push_back(ZipFileLst2.item(i).subItem(1));
  listArchives(shownFolder());
  for (int i = 0; i < ZipFileLst2.count(); ++i)
    if (std::ranges::find(selected, ZipFileLst2.item(i).subItem(1)) != selected.end()) ZipFileLst2.setSelected(i, true);
  main_.changed();
}

std::string InstallTab::shownHostFolder() const {
  try {
    return ctx_.fs.hostPath(shownFolder());
  } catch (const core::RuntimeError&) {
    return {};
  }
}

void InstallTab::listArchives(const std::string& folder) {
  ZipFileLst.setPath(folder);
  ZipFileLst2.clear();
  installed_.reload(ctx_.locations.appFolder);
  const std::string hostFolder = shownHostFolder();
  for (const auto& name : ZipFileLst.files()) {
    const int icon = core::lower(core::right(name, 3)) == "sif" ? kSifIcon : kZipIcon;
    // A drive root ("C:\") already ends in its backslash.
    const std::string path = folder.size() == 3 ? folder + name : folder + "\\" + name;
    const bool installed = !hostFolder.empty() && installed_.installed(hostFolder + "/" + name);
    ZipFileLst2.add(core::dropRight(name, 4), {path, installed ? "installed" : ""}, icon);
  }
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
  archiveFolderChanged();
}

void InstallTab::previewCap_Click() {
  std::vector<std::string> archives;
  for (int i : ZipFileLst2.selectedIndices()) archives.push_back(ZipFileLst2.item(i).subItem(1));
  if (archives.empty()) return;
  try {
    // A preview asks nothing: each question takes the answer of a run
    // nobody attends, and the preview lists it. The journal, when there is
    // one, tells who put an overwritten file there.
    plan::PlanOptions options;
    const auto journal = journal::openExistingJournal(ctx_.locations.appFolder);
    if (journal)
      options.originOf = [&journal](std::string_view path, std::string_view hash) {
        return journal->originOf(path, hash);
      };
    PreviewForm preview(plan::PlanInstall(ctx_, archives, options), [&journal](std::int64_t id) {
      const auto installation = journal ? journal->installation(id) : std::nullopt;
      return installation ? installation->archivePath : std::string();
    });
    ctx_.dialogs.runModal(preview);
  } catch (const core::RuntimeError& e) {
    ctx_.dialogs.msgBox("Preview error " + std::to_string(e.number()), "Preview", core::Buttons::OK,
                        core::Icon::Exclamation);
  }
}

void InstallTab::ZipFileLst2_OLEDragDrop(const std::vector<std::string>& hostPaths) {
  std::vector<std::string> archives;
  for (const auto& hostPath : hostPaths) {
    if (!core::matchesPattern(core::lastComponent(hostPath), ZipFileLst.pattern)) continue;
    if (auto path = ctx_.drives.toWindows(hostPath)) archives.push_back(*path);
  }
  if (archives.empty()) return;
  install::RunInstallCommand(ctx_, archives);
  archiveFolderChanged();
}

void InstallTab::installHandedOver(const std::string& hostPath) {
  // A file manager passes a host path; a terminal may pass a Windows one.
  const auto path = hostPath.starts_with('/') ? ctx_.drives.toWindows(hostPath) : std::optional(hostPath);
  if (!path) {
    ctx_.dialogs.msgBox(
        "The archive " + hostPath + " lies on no drive the simulator can reach, so it cannot be installed.",
        "Hangarpak", core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  install::RunInstallCommand(ctx_, {*path});
  archiveFolderChanged();
}

}  // namespace ui
