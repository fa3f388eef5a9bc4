#pragma once

#include "core/controls.h"
#include "core/form.h"

namespace ui {

// The first-run greeting startFrm.
class StartForm : public core::Form {
 public:
  StartForm() { caption = "Hangarpak 2000"; }
  std::string_view formName() const override { return "startFrm"; }

  core::Label versionLbl{"Version 3.2"};
  core::Label greetingLbl{
      "Thank you for trying Hangarpak 2000 (Version 3.2). I hope you like this tool for FS98/2000/2002. "};
  core::Button okCmd{"&OK"};

  void okCmd_Click() { unload(); }
};

}  // namespace ui
