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
  const auto prompt = ctx_.state.namePrompt;
  if (prompt == core::NamePrompt::None) return;
  const auto& shown = kPrompts[static_cast<std::size_t>(prompt) - 1];
  caption = shown.caption;
  nameLbl.caption = shown.label;
  nameTxt.text = prompt == core::NamePrompt::FolderName ? ctx_.state.installFolderName : ctx_.state.archiveBaseName;
  nameTxt.selectAll();
  changed();
}

void NameForm::okCmd_Click() {
  if (nameTxt.text.empty()) return;
  const auto prompt = ctx_.state.namePrompt;
  if (prompt == core::NamePrompt::FolderName) {
    if (ValidateFolderName() == 1) return;
    ctx_.state.installFolderName = nameTxt.text;
  } else if (prompt != core::NamePrompt::None) {
    ctx_.state.archiveBaseName = nameTxt.text;
  }
  ctx_.state.nameConfirmed = true;
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
