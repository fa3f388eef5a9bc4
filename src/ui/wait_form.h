#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "core/controls.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The progress dialog waitFrm: "Please wait..." and a counter while
// archives are installed (ProgressMode::Installing), a progress bar while
// the catalogue is rebuilt (ProgressMode::Update). Not modal; the installers show, hide and
// repaint it through the window host.
class WaitForm {
 public:
  WaitForm(core::Context& ctx, MainWindow& main);
  WaitForm(const WaitForm&) = delete;
  WaitForm& operator=(const WaitForm&) = delete;

  std::string caption;
  bool loaded = false;
  bool visible = false;
  core::ProgressBar progBar;
  core::Label waitLbl{"Please wait..."};
  core::Label doneLbl;
  core::Button okCmd{"&OK"};
  // commandLineInstall as it was when the dialog loaded; the flag itself is
  // reset long before the user closes the dialog.
  bool keptCommandLineInstall = false;

  std::function<void()> onChange;
  void changed() {
    if (onChange) onChange();
  }

  // Loads the dialog in the mode of progressMode, not shown yet.
  void Form_Load();
  void okCmd_Click() { unload(); }
  // The close box and OK both unload; unloading may end a command-line run.
  void closeBox() { unload(); }
  void unload();

 private:
  void setMode(core::ProgressMode mode);
  void Form_Unload();

  core::Context& ctx_;
  MainWindow& main_;
  bool unloading_ = false;
};

}  // namespace ui
