#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "core/controls.h"
#include "core/form.h"

namespace core {
class Context;
}
namespace journal {
class Store;
}

namespace ui {

// The File menu's History dialog historyFrm: the journal's installations,
// newest first, the changes of the one picked, and Uninstall, which shows
// what reversing it would do and asks before it acts.
class HistoryForm : public core::Form {
 public:
  HistoryForm(core::Context& ctx, journal::Store& store);
  std::string_view formName() const override { return "historyFrm"; }
  void Form_Load() override;

  // Columns "#", "Time", "Archive", "Kind", "Folder", "Created", "Overwritten",
  // "Keys", "State"; the text is the installation's id.
  core::ListView historyLst;
  // The picked installation's changes in the order they were made.
  core::ListView effectsLst;
  core::Button uninstallCmd{"&Uninstall..."};
  core::Button closeCmd{"&Close"};

  // The row the user moved to, by mouse or keyboard (-1: none). The view
  // calls it whenever the list's selection changes; the changes pane and
  // Uninstall follow this one selection.
  void historyLst_SelectionChanged(int row);
  void uninstallCmd_Click();
  void closeCmd_Click() { unload(); }

 private:
  void fill(std::optional<std::int64_t> pick);

  core::Context& ctx_;
  journal::Store& store_;
  // The installation the pane shows and Uninstall acts on.
  std::optional<std::int64_t> picked_;
};

}  // namespace ui
