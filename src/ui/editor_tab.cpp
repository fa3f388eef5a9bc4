#include "ui/editor_tab.h"

#include "core/context.h"

namespace ui {

EditorTab::EditorTab(core::Context& ctx, MainWindow& main) : ctx_(ctx), main_(main) {
  editLst.columns = {"name", "path"};
  (void)ctx_;
  (void)main_;
}

void EditorTab::FillEditList(int /*mode*/) {}

void EditorTab::editCmd_Click() {}

void EditorTab::editCap_Click() {
  editCmd_Click();
}

void EditorTab::renCap_Click() {}

void EditorTab::delCap_Click() {}

void EditorTab::showScanDialog() {}

}  // namespace ui
