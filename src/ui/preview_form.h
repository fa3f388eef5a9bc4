#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/controls.h"
#include "core/form.h"

namespace plan {
struct InstallPlan;
}

namespace ui {

// The Install tab's Preview dialog previewFrm: what installing the picked
// archives would change, worked out without changing anything. Members the
// installation would leave out or keep elsewhere come first, then the
// archive's folders placed as folders (liveries), then the files, those
// that would overwrite different content first, with the installation that
// put the old file there when the journal knows it.
class PreviewForm : public core::Form {
 public:
  // archiveOf names an earlier installation by its archive ("" when unknown).
  explicit PreviewForm(const plan::InstallPlan& plan,
                       const std::function<std::string(std::int64_t installation)>& archiveOf = {});
  std::string_view formName() const override { return "previewFrm"; }

  // One line per archive and the counter line the run would end with.
  core::Label summaryLbl;
  // Columns "Change", "Target", "Source", "Detail"; in order of concern.
  core::ListView planLst;
  core::Button closeCmd{"&Close"};

  void closeCmd_Click() { unload(); }
};

}  // namespace ui
