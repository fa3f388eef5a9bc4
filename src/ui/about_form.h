#pragma once

#include <vector>

#include "core/controls.h"
#include "core/form.h"

namespace core {
class Context;
}

namespace ui {

// The about dialog aboutFrm; unloading it enables the main window again.
class AboutForm : public core::Form {
 public:
  explicit AboutForm(core::Context& ctx);
  std::string_view formName() const override { return "aboutFrm"; }

  core::Label versionLbl{"v3.2"};
  core::Label titleLbl{"The Ultimate Add-On Installer for FS98, FS2000 and FS2002."};
  core::Label featuresLbl{"Features:"};
  std::vector<core::Label> featureLbls;
  core::Button okCmd{"&OK"};

  void okCmd_Click() { unload(); }

 protected:
  void Form_Unload() override;

 private:
  core::Context& ctx_;
};

}  // namespace ui
