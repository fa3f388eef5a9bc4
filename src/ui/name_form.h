#pragma once

#include "core/controls.h"
#include "core/form.h"

namespace core {
class Context;
}

namespace ui {

// The name prompt nameFrm: the question of state.namePrompt (a folder name,
// or the name of an aircraft, panel or sound), proposed from the state; OK
// leaves the answer in the state and sets nameConfirmed, which stays unset
// when the user cancelled.
class NameForm : public core::Form {
 public:
  explicit NameForm(core::Context& ctx);
  std::string_view formName() const override { return "nameFrm"; }
  void Form_Load() override;

  core::Label nameLbl;
  core::TextBox nameTxt;
  core::Button okCmd{"&OK"};
  core::Button cancelCmd{"&Cancel"};

  void okCmd_Click();
  void cancelCmd_Click() { unload(); }
  // 0 for a name the application folder can hold as a new folder, 1 (after
  // the message) for any other.
  int ValidateFolderName();

 protected:
  void Form_Unload() override;

 private:
  core::Context& ctx_;
};

}  // namespace ui
