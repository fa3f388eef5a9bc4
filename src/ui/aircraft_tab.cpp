#include "ui/aircraft_tab.h"

#include "core/context.h"
#include "ui/main_window.h"

namespace ui {

AircraftTab::AircraftTab(core::Context& ctx, MainWindow& main)
    : manager::Catalogue(ctx), midlDir(ctx.fs), searchDir(ctx.fs), main_(main) {
  midlDir.visible = false;
  searchDir.visible = false;
  onChanged = [this] { main_.changed(); };
}

}  // namespace ui
