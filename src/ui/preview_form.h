#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/controls.h"
#include "core/form.h"

namespace plan {
struct InstallPlan;
}

namespace ui {

// The Install tab's Preview dialog previewFrm: what installing the picked
// archives would change, worked out without changing or asking anything.
// Each archive has a section that says whether it would be installed or
// why not, then its changes: members the installation would leave out or
// keep elsewhere first, then the archive's folders placed as folders
// (liveries), then the files, those that would overwrite different content
// first, with the installation that put the old file there when the journal
// knows it.
class PreviewForm : public core::Form {
 public:
  // archiveOf names an earlier installation by its archive ("" when unknown).
  explicit PreviewForm(const plan::InstallPlan& plan,
                       const std::function<std::string(std::int64_t installation)>& archiveOf = {});
  std::string_view formName() const override { return "previewFrm"; }

  // How many archives would be installed.
  core::Label summaryLbl;
  // Columns "Change", "Target", "Source", "Detail"; per archive a heading
  // row ("swift.zip: would install: aircraft ...", or why not, in its text
  // alone), then its changes in order of concern.
  core::ListView planLst;
  // The rows of planLst that head an archive's section.
  std::vector<int> sectionRows;
  core::Button closeCmd{"&Close"};

  void closeCmd_Click() { unload(); }
};

}  // namespace ui
