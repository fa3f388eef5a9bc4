#include "ui/name_form.h"

#include <array>

#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/safe_names.h"
#include "core/text.h"

namespace ui {

namespace {

struct Prompt {
  const char* caption;
  const char* label;
};
constexpr std::array<Prompt, 4> kPrompts{{
    {"Folder name", "Enter folder name:"},
    {"Aircraft name", "Enter aircraft name:"},
    {"Panel name", "Enter panel name:"},
    {"Sound name", "Enter sound name:"},
}};

}  // namespace

NameForm::NameForm(core::Context& ctx) : ctx_(ctx) {}

void NameForm::Form_Load() {
  const auto mode = ctx_.state.namePromptMode;
  if (mode < 1 || mode > 4) return;
  caption = kPrompts[mode - 1].caption;
  nameLbl.caption = kPrompts[mode - 1].label;
  nameTxt.text = mode == 1 ? ctx_.state.installFolderName : ctx_.state.archiveBaseName;
  nameTxt.selectAll();
  changed();
}

void NameForm::okCmd_Click() {
  if (nameTxt.text.empty()) return;
  const auto mode = ctx_.state.namePromptMode;
  if (mode == 1) {
    if (ValidateFolderName() == 1) return;
    ctx_.state.installFolderName = nameTxt.text;
  } else if (mode >= 2 && mode <= 4) {
    ctx_.state.archiveBaseName = nameTxt.text;
  }
  ctx_.state.namePromptMode = 10;
  unload();
}

int NameForm::ValidateFolderName() {
  const std::string trial = core::joinPath(ctx_.appFolder(), nameTxt.text);
  try {
    // This file system would take some names the simulator under Wine
    // would not; those never reach the trial folder.
    if (!core::IsSafeName(nameTxt.text)) throw core::RuntimeError(core::err::BadFileName);
    ctx_.fs.makeFolder(trial);
    ctx_.fs.removeFolder(trial);
    return 0;
  } catch (const core::RuntimeError&) {
    ctx_.dialogs.msgBox(core::kFolderNameRefusal, "Installation aborted", core::Buttons::OK, core::Icon::Critical);
    nameTxt.hasFocus = true;
    nameTxt.selectAll();
    changed();
    return 1;
  }
}

void NameForm::Form_Unload() {
  ctx_.windows().setMainWindowEnabled(true);
}

}  // namespace ui
