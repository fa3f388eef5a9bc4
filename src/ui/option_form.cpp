#include "ui/option_form.h"

#include <string>

#include "core/association.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/settings.h"
#include "core/simulator.h"
#include "core/startup_settings.h"
#include "core/text.h"
#include "core/wine_prefix.h"
#include "ui/drive_choice.h"
#include "ui/main_window.h"

namespace ui {

OptionForm::OptionForm(core::Context& ctx, MainWindow& main)
    : ScenDrv(ctx.drives), ScenDir(ctx.fs), ctx_(ctx), main_(main) {
  caption = "Options";
}

namespace {

// The folder of the version picked: before the first OK, where detection
// is going to find it.
std::string whereFound(core::Context& ctx, int version) {
  const std::string folder = core::DetectedFolder(ctx, version);
  const core::WinePrefix* prefix = ctx.winePrefixes ? ctx.winePrefixes->simulator() : nullptr;
  std::string host;
  if (!folder.empty()) core::step([&] { host = ctx.drives.toHost(folder); });
  const std::string text =
      "Found in: " + (folder.empty() ? std::string("(not found yet)") : folder + "  (" + host + ")") +
      "\nWine prefix: " + (prefix ? prefix->path + "  (" + prefix->origin + ")" : std::string("none"));
  // Nothing is chosen until OK: the drives stay those of the version in use.
  core::UseSimulatorPrefix(ctx, ctx.state.simVersion);
  return text;
}

}  // namespace

bool OptionForm::enableRegisteredVersions() {
  fs98Opt.enabled = core::SimulatorRegistered(ctx_, core::simver::FS98);
  fs2000Opt.enabled = core::SimulatorRegistered(ctx_, core::simver::FS2000);
  fs2002Opt.enabled = core::SimulatorRegistered(ctx_, core::simver::FS2002);
  return fs98Opt.enabled || fs2000Opt.enabled || fs2002Opt.enabled;
}

void OptionForm::select(core::OptionButton& button) {
  for (core::OptionButton* b : {&fs2002Opt, &fs2000Opt, &fs98Opt}) b->value = (b == &button);
  const int version = fs98Opt.value     ? core::simver::FS98
                      : fs2000Opt.value ? core::simver::FS2000
                                        : core::simver::FS2002;
  core::step([&] { foundLbl = whereFound(ctx_, version); });
  changed();
}

void OptionForm::Form_Load() {
  try {
    loadFromState();
  } catch (const core::RuntimeError&) {
    core::step([&] { ScenDir.setPath("c:\\"); });
    core::step([&] { ScenDrv.setDrive("c:\\"); });
  }
  changed();
}

void OptionForm::loadFromState() {
  core::AppState& s = ctx_.state;
  // Without any registered simulator, detection runs until one is: the
  // first pass may only choose the version, the next locates it. A folder
  // that detection accepts from the registry without the version's marker
  // would never register it; then that version's button is enabled rather
  // than asking forever.
  bool detectedKnownVersion = false;
  while (!enableRegisteredVersions()) {
    if (detectedKnownVersion && core::simulatorInfo(s.simVersion)) {
      (s.simVersion == core::simver::FS98     ? fs98Opt
       : s.simVersion == core::simver::FS2000 ? fs2000Opt
                                              : fs2002Opt)
          .enabled = true;
      break;
    }
    detectedKnownVersion = core::simulatorInfo(s.simVersion) != nullptr;
    s.simFolder.clear();
    core::FindSimulator(ctx_);
  }
  select(fs2002Opt.enabled ? fs2002Opt : fs2000Opt.enabled ? fs2000Opt : fs98Opt);
  core::MarkFirstRunDone(ctx_);

  versionAtLoad_ = s.simVersion;
  switch (s.simVersion) {
    case core::simver::FS98:
      select(fs98Opt);
      break;
    case core::simver::FS2000:
      select(fs2000Opt);
      break;
    case core::simver::FS2002:
      select(fs2002Opt);
      break;
    case core::simver::NotChosen:
      s.simVersion = core::simver::FS2000;
      break;
    default:
      break;
  }

  auto value = [](core::Option option) { return static_cast<int>(option); };
  docChk.value = value(s.optInstallDoc);
  assChk.value = value(s.optAssociate);
  folderChk.value = value(s.optFolderName);
  addonChk.value = s.optAddonName == core::Option::Unset ? 0 : value(s.optAddonName);
  manChk.value = value(s.optRunManager);

  ScenDir.setPath(s.sceneryFolder);
  ScenDrv.setDrive(core::left(s.sceneryFolder, 2));
}

void OptionForm::ScenDrv_Change(std::string_view picked) {
  ChangeDrive(ctx_, ScenDrv, ScenDir, picked);
  changed();
}

void OptionForm::ScenDir_Open(std::string_view path) {
  OpenFolder(ScenDir, path);
  changed();
}

void OptionForm::okCmd_Click() {
  core::AppState& s = ctx_.state;
  auto option = [](const core::CheckBox& box) {
    return static_cast<core::Option>(static_cast<std::uint8_t>(box.value));
  };
  s.optAssociate = option(assChk);
  s.optInstallDoc = option(docChk);
  s.optFolderName = option(folderChk);
  s.optRunManager = option(manChk);
  s.optAddonName = option(addonChk);
  if (fs98Opt.value)
    s.simVersion = core::simver::FS98;
  else if (fs2000Opt.value)
    s.simVersion = core::simver::FS2000;
  else if (fs2002Opt.value)
    s.simVersion = core::simver::FS2002;

  s.sceneryFolder = ScenDir.path();
  if (s.sceneryFolder.size() == 3) s.sceneryFolder.pop_back();  // "C:\" is kept as "C:"

  auto save = [&](std::string_view section, std::string_view key, const std::string& value) {
    ctx_.settings.save(core::kSettingsApp, section, key, value);
  };
  save("Main", "Scenery Path", s.sceneryFolder);
  save("Options", "FS Version", std::to_string(s.simVersion));
  save("Options", "Addon Name", core::optionText(s.optAddonName));
  save("Options", "Folder Name", core::optionText(s.optFolderName));
  save("Options", "Install Doc", core::optionText(s.optInstallDoc));
  save("Options", "Run Manager", core::optionText(s.optRunManager));
  save("Options", "Associate", core::optionText(s.optAssociate));

  core::FindSimulator(ctx_);

  if (s.simVersion != versionAtLoad_) {
    if (main_.selectedTab == 2 || main_.selectedTab == 3) main_.selectTab(1);
    s.catalogueStale = true;
  }

  if (core::isOn(s.optAssociate))
    core::WriteAssociation(ctx_);
  else
    core::RemoveAssociation(ctx_);
  unload();
}

void OptionForm::cancelCmd_Click() {
  if (!core::FirstRun(ctx_)) {
    unload();
    return;
  }
  ctx_.dialogs.msgBox(" Press OK to confirm your settings!", "Confirm settings", core::Buttons::OK,
                      core::Icon::Information);
}

void OptionForm::Form_Unload() {
  if (core::FirstRun(ctx_)) throw core::EndProgram{};
  ctx_.windows().setMainWindowEnabled(true);
}

}  // namespace ui
