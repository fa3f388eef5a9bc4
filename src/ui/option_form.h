#pragma once

#include <cstdint>

#include "core/controls.h"
#include "core/form.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The options dialog optionFrm: the simulator version, the scenery folder,
// the five installation options and the ZIP association. Nothing is stored
// until OK.
class OptionForm : public core::Form {
 public:
  OptionForm(core::Context& ctx, MainWindow& main);
  std::string_view formName() const override { return "optionFrm"; }
  void Form_Load() override;

  std::string Frame3 = "Hangarpak Options";
  core::CheckBox manChk{"Run manager after install"};
  core::CheckBox addonChk{"Manually enter addon name"};
  core::CheckBox folderChk{"Manually enter folder name"};
  core::CheckBox docChk{"Install document files"};
  core::CheckBox assChk{"Associate Hangarpak with ZIP files"};
  std::string Frame2 = "FS Version";
  core::OptionButton fs2002Opt{"Flight Simulator 2002"};
  core::OptionButton fs2000Opt{"Flight Simulator 2000"};
  core::OptionButton fs98Opt{"Flight Simulator 98"};
  std::string Frame1 = "Scenery Path";
  core::DriveList ScenDrv;
  core::FolderList ScenDir;
  // Where the simulator was found, read-only: its folder on the host and
  // the Wine prefix it lives in.
  std::string foundLbl;
  core::Button okCmd{"&OK"};
  core::Button cancelCmd{"&Cancel"};

  // What the user does.
  void select(core::OptionButton& button);
  void ScenDrv_Change(std::string_view picked);
  void ScenDir_Open(std::string_view path);

  void okCmd_Click();
  void cancelCmd_Click();

  std::int16_t versionAtLoad() const { return versionAtLoad_; }

 protected:
  void Form_Unload() override;

 private:
  bool enableRegisteredVersions();
  void loadFromState();

  core::Context& ctx_;
  MainWindow& main_;
  std::int16_t versionAtLoad_ = 0;
};

}  // namespace ui
