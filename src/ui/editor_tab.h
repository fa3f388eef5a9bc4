#pragma once

#include "core/controls.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The Editor tab's frame editFra: the list of aircraft, panels or sounds
// (as the toolbar's group of three chooses), rename, edit and delete. The
// toolbar and popMenu live in the main window and call the hooks below.
class EditorTab {
 public:
  EditorTab(core::Context& ctx, MainWindow& main);
  EditorTab(const EditorTab&) = delete;
  EditorTab& operator=(const EditorTab&) = delete;

  bool visible = false;    // the frame
  core::ListView editLst;  // "name", "path"
  core::Label nameLbl{"Name:"};
  core::TextBox nameTxt;
  core::Label pathLbl{"Path:"};
  core::TextBox pathTxt;
  core::Button editCmd{"E&dit"};
  core::Button lukk3Cmd{"E&xit"};

  // --- Hooks of the add-on editor and the scan dialog (not built yet; each
  // --- does nothing until then).
  // Fills editLst: 1 aircraft, 2 panels, 3 sounds.
  void FillEditList(int mode);
  // Opens the selected row's folder in the file manager.
  void editCmd_Click();
  void editCap_Click();
  void renCap_Click();
  // Deletes the selected add-on.
  void delCap_Click();
  // Disables the main window and shows scanFrm modally; scanFrm enables the
  // main window again when it unloads.
  void showScanDialog();

 private:
  core::Context& ctx_;
  MainWindow& main_;
};

}  // namespace ui
