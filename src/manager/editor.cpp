#include "manager/editor.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/profile.h"
#include "manager/catalogue.h"

namespace manager {

Editor::Editor(core::Context& ctx, Catalogue& catalogue) : ctx_(ctx), cat_(catalogue) {
  editLst.sorted = true;  // by core::textOrderLess, as the catalogues
  editLst.columns = {"name", "path"};
}

core::ListView& Editor::source(int m) {
  return m == AircraftMode ? cat_.flyLst : m == PanelMode ? cat_.panelLst : cat_.lydLst;
}

void Editor::copyRows(const core::ListView& from) {
  editLst.clear();
  for (const auto& row : from.items()) editLst.add(row.text, {row.subItem(1), row.subItem(2)});
}

// Selects a row (or none) and shows it in the name and path boxes.
void Editor::selectRow(int index) {
  editLst.select(index);
  if (index >= 0) {
    editLstHasFocus = true;
    nameTxt.text = editLst.item(index).text;
    pathTxt.text = editLst.item(index).subItem(1);
  } else {
    nameTxt.text.clear();
    pathTxt.text.clear();
  }
}

void Editor::FillEditList(int newMode) {
  if (ctx_.state.catalogueStale == 1) cat_.Search();
  editLst.clear();
  static constexpr const char* kCaptions[] = {"E&dit Aircraft", "E&dit Panel", "E&dit Sound"};
  if (newMode >= AircraftMode && newMode <= SoundMode) {
    mode = newMode;
    editCmd.caption = kCaptions[newMode - 1];
    copyRows(source(newMode));
  }
  selectRow(editLst.count() > 0 ? 0 : -1);
  changed();
}

void Editor::editLst_MouseDown(int button) {
  editLstHasFocus = true;
  editRightButton = button == RightButton ? 1 : 0;
}

void Editor::editLst_ItemClick(int index) {
  if (index < 0 || index >= editLst.count()) return;
  selectRow(index);
  changed();
  if (editRightButton == 1) {
    if (onPopMenu) onPopMenu();
    editRightButton = 5;
  }
}

void Editor::renCap_Click() {
  const int row = editLst.selectedIndex();
  if (row >= 0 && onStartLabelEdit) onStartLabelEdit(row);
}

void Editor::editLst_AfterLabelEdit(bool& /*cancel*/, const std::string& newString) {
  nameTxt.text = newString;
  nameTxt_KeyUp(0, 0);
}

void Editor::nameTxt_KeyUp(int /*keyCode*/, int /*shift*/) {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  const std::string text = nameTxt.text;
  const auto& item = editLst.item(row);
  // A name the file did not take is not shown as the entry's name.
  if (mode == AircraftMode) {
    if (!core::WriteProfileString(ctx_, item.subItem(1) + "aircraft.cfg", "fltsim." + item.subItem(2), "title", text))
      return;
    cat_.flyLst.setText(row, text);
    editLst.setText(row, text);
  } else {
    const bool panel = mode == PanelMode;
    core::ListView& lst = panel ? cat_.panelLst : cat_.lydLst;
    core::ComboBox& com = panel ? cat_.panelCom : cat_.lydCom;
    const std::string file = item.subItem(1) + (panel ? "panel.cfg" : "sound.cfg");
    if (!core::WriteProfileString(ctx_, file, "Hangarpak", "Name", text)) return;
    lst.setText(row, text);
    // The choice list follows the catalogue: the entry leaves its position
    // and takes the one of its new row, and keeps the selection it had.
    const bool wasPicked = com.listIndex() == row + 1;
    com.removeItem(row + 1);
    const int moved = editLst.setText(row, text);
    com.insertItem(moved + 1, text);
    if (wasPicked) {
      ctx_.state.catalogueBusy = true;
      com.setListIndex(moved + 1);
      ctx_.state.catalogueBusy = false;
    }
  }
  cat_.changed();
  changed();
}

void Editor::editCmd_Click() {
  const int row = editLst.selectedIndex();
  if (row < 0) return;
  const std::string folder = editLst.item(row).subItem(1);
  core::step([&] { core::OpenWithDesktop(ctx_, ctx_.fs.hostPath(folder)); });
}

}  // namespace manager
