#pragma once

#include "core/controls.h"
#include "manager/editor.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The Editor tab's frame editFra: the list of aircraft, panels or sounds
// (as the toolbar's group of three chooses), rename, edit and delete
// (manager::Editor over the Aircraft tab's catalogue). The toolbar and
// popMenu live in the main window and call the handlers.
class EditorTab : public manager::Editor {
 public:
  EditorTab(core::Context& ctx, MainWindow& main);

  bool visible = false;  // the frame

  // Disables the main window and shows scanFrm modally; scanFrm enables the
  // main window again when it unloads.
  void showScanDialog();

 private:
  core::Context& ctx_;
  MainWindow& main_;
};

}  // namespace ui
