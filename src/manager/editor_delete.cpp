#include <string>
#include <vector>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"
#include "core/trash.h"
#include "manager/catalogue.h"
#include "manager/editor.h"

namespace manager {

namespace {

// A folder strictly inside the aircraft folder: a configuration file lying
// in the aircraft folder itself is listed with that folder, and emptying it
// would take every aircraft with it.
bool insideAircraftFolder(const std::string& folder, const std::string& aircraftFolder) {
  const std::string root = aircraftFolder + "\\";
  if (!core::istartsWith(folder, root) || folder.size() <= root.size() + 1) return false;
  const std::string below = folder.substr(root.size());
  if (below.front() == '\\' || below.front() == '/') return false;
  for (const auto& part : {std::string("\\..\\"), std::string("\\.\\"), std::string("/")})
    if (("\\" + below).find(part) != std::string::npos) return false;
  return true;
}

// The files of one folder, into the trash item when there is one.
void deleteFiles(core::Context& ctx, core::TrashItem* trash, const std::string& folder) {
  std::vector<std::string> files;
  core::step([&] { files = ctx.fs.listFiles(folder, "*", true); });
  for (const auto& name : files) core::step([&] { core::DiscardFile(ctx, trash, core::joinPath(folder, name)); });
}

}  // namespace

void Editor::delCap_Click() {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  const std::string name = editLst.item(row).text;
  const std::string folder = editLst.item(row).subItem(1);  // trailing "\"
  const bool aircraft = mode == AircraftMode;

  if (!insideAircraftFolder(folder, cat_.aircraftFolder())) {
    ctx_.dialogs.msgBox(
        name + " is not deleted: its folder" + "\r\n" + folder + "\r\nis not inside " + cat_.aircraftFolder() + "\\.",
        "Delete " + name, core::Buttons::OK, core::Icon::Exclamation);
    return;
  }
  if (ctx_.dialogs.msgBox("Do you want to delete " + name + "?", "Delete " + name, core::Buttons::YesNo,
                          core::Icon::Exclamation) != core::Answer::Yes)
    return;
  if (aircraft &&
      ctx_.dialogs.msgBox("All files and directories will be deleted!", "Warning", core::Buttons::OKCancelDefaultCancel,
                          core::Icon::Exclamation) != core::Answer::OK)
    return;

  auto& fs = ctx_.fs;
  const std::string dir = core::dropRight(folder, 1);
  std::unique_ptr<core::TrashItem> trash;
  core::step([&] { trash = core::OpenTrashItem(ctx_, dir); });
  if (aircraft) {
    // The whole folder goes, with every variant of its aircraft.cfg; only
    // one level of sub-folders is emptied, so a deeper one keeps its
    // parents.
    ctx_.state.catalogueStale = 1;
    deleteFiles(ctx_, trash.get(), dir);
    std::vector<std::string> subFolders;
    core::step([&] { subFolders = fs.listFolders(dir); });
    for (const auto& sub : subFolders) {
      deleteFiles(ctx_, trash.get(), core::joinPath(dir, sub));
      core::step([&] { fs.removeFolder(core::joinPath(dir, sub)); });
    }
    core::step([&] { fs.removeFolder(dir); });
  } else {
    const std::string doc = core::joinPath(dir, "doc");
    deleteFiles(ctx_, trash.get(), doc);
    deleteFiles(ctx_, trash.get(), dir);
    core::step([&] { fs.removeFolder(doc); });
    core::step([&] { fs.removeFolder(dir); });
    const bool panel = mode == PanelMode;
    (panel ? cat_.panelCom : cat_.lydCom).removeItem(row + 1);
    (panel ? cat_.panelLst : cat_.lydLst).remove(row);
    editLst.remove(row);
    cat_.countPanelsAndSounds();
  }

  if (ctx_.state.catalogueStale == 1) {
    cat_.Search();
    copyRows(cat_.flyLst);
  }
  // The row before the deleted one, or the first.
  selectRow(editLst.count() == 0 ? -1 : std::min(std::max(row - 1, 0), editLst.count() - 1));
  cat_.changed();
  changed();
}

}  // namespace manager
