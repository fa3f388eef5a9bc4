#pragma once

#include "core/controls.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The Aircraft tab's frame managerFra: the aircraft catalogue with the
// panel and sound choice lists. The shell calls Search and UpdateAircraft.
class AircraftTab {
 public:
  AircraftTab(core::Context& ctx, MainWindow& main);
  AircraftTab(const AircraftTab&) = delete;
  AircraftTab& operator=(const AircraftTab&) = delete;

  bool visible = false;        // the frame
  core::ListView flyLst;       // "name", "path"
  core::ListView panelLst;     // "name", "path", "path2"
  core::ListView lydLst;       // "name", "path", "path2"
  core::ComboBox panelCom;     // sorted
  core::ComboBox lydCom;       // sorted
  core::FolderList midlDir;    // not shown
  core::FolderList searchDir;  // not shown
  core::Button updateCmd{"&Update"};
  core::Button lukk2Cmd{"E&xit"};
  core::Label flyLbl{"Aircraft:"};
  core::Label fly2Lbl;  // active and total counts
  core::Label panelLbl{"Panel:"};
  core::Label panel2Lbl{"Total:"};
  core::Label lydLbl{"Sound:"};
  core::Label lyd2Lbl{"Total:"};

  // --- Hooks of the aircraft catalogue (not built yet; each does nothing
  // --- until then).
  // Rebuilds the catalogue and clears catalogueStale.
  void Search();
  // Shows the selected variant's panel and sound.
  void UpdateAircraft();
  void updateCmd_Click();

 private:
  core::Context& ctx_;
  MainWindow& main_;
};

}  // namespace ui
