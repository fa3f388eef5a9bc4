#pragma once

#include "core/controls.h"
#include "manager/catalogue.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The Aircraft tab's frame managerFra: the aircraft catalogue with the
// panel and sound choice lists (controls and handlers of the catalogue,
// manager::Catalogue). The shell calls Search and UpdateAircraft.
class AircraftTab : public manager::Catalogue {
 public:
  AircraftTab(core::Context& ctx, MainWindow& main);

  bool visible = false;        // the frame
  core::FolderList midlDir;    // not shown; the walk lists folders directly
  core::FolderList searchDir;  // not shown

 private:
  MainWindow& main_;
};

}  // namespace ui
