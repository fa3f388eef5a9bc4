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

  void historyLst_ItemClick(int row);
  void uninstallCmd_Click();
  void closeCmd_Click() { unload(); }

 private:
  void fill(std::optional<std::int64_t> pick);
  std::optional<std::int64_t> pickedId() const;

  core::Context& ctx_;
  journal::Store& store_;
};

}  // namespace ui
