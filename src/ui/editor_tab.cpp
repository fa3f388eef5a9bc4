#include "ui/editor_tab.h"

#include "core/context.h"
#include "ui/main_window.h"

namespace ui {

EditorTab::EditorTab(core::Context& ctx, MainWindow& main)
    : manager::Editor(ctx, main.managerFra), ctx_(ctx), main_(main) {
  onChanged = [this] { main_.changed(); };
  onPopMenu = [this] { main_.PopupMenu(); };
  (void)ctx_;
}

void EditorTab::showScanDialog() {}

}  // namespace ui
