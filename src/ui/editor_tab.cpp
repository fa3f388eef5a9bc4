#include "ui/editor_tab.h"

#include "core/context.h"
#include "scan/scan_form.h"
#include "ui/main_window.h"

namespace ui {

EditorTab::EditorTab(core::Context& ctx, MainWindow& main)
    : manager::Editor(ctx, main.managerFra), ctx_(ctx), main_(main) {
  onChanged = [this] { main_.changed(); };
  onPopMenu = [this] { main_.PopupMenu(); };
}

void EditorTab::showScanDialog() {
  const scan::ScanView view =
      scan::ScanViewFromToolbar(main_.toolButtonPressed(1), main_.toolButtonPressed(2), main_.toolButtonPressed(3));
  scan::ShowScanDialog(ctx_, view, {main_.managerFra.flyLst, main_.managerFra.panelLst, main_.managerFra.lydLst});
}

}  // namespace ui
