#include "ui/aircraft_tab.h"

#include "core/context.h"

namespace ui {

AircraftTab::AircraftTab(core::Context& ctx, MainWindow& main)
    : midlDir(ctx.fs), searchDir(ctx.fs), ctx_(ctx), main_(main) {
  flyLst.columns = {"name", "path"};
  panelLst.columns = {"name", "path", "path2"};
  lydLst.columns = {"name", "path", "path2"};
  panelCom.sorted = true;
  lydCom.sorted = true;
  midlDir.visible = false;
  searchDir.visible = false;
  (void)ctx_;
  (void)main_;
}

void AircraftTab::Search() {}

void AircraftTab::UpdateAircraft() {}

void AircraftTab::updateCmd_Click() {
  Search();
}

}  // namespace ui
