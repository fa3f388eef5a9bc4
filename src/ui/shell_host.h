#pragma once

#include <string>

#include "core/window_host.h"

namespace core {
class Context;
}

namespace ui {

class MainWindow;

// The windows the installers and the catalogue reach through the context:
// the main window, its progress dialog waitFrm and the name prompt nameFrm.
class ShellHost : public core::WindowHost {
 public:
  ShellHost(core::Context& ctx, MainWindow& main) : ctx_(ctx), main_(main) {}

  void loadProgress() override;
  void showProgress() override;
  void hideProgress() override;
  void repaintProgress() override;
  void unloadProgress() override;
  bool progressLoaded() const override;
  void setProgressMessage(const std::string& waitLbl) override;
  void setProgressCounter(const std::string& doneLbl) override;
  void setProgressBar(int max, int value) override;
  void enableProgressOk() override;

  void hideMainWindow() override;
  void showMainWindow() override;
  void setMainWindowEnabled(bool enabled) override;
  void repaintMainWindow() override;
  void setBusyCursor(bool busy) override;

  void showNamePrompt() override;

  bool busyCursor() const { return busy_; }

 private:
  core::Context& ctx_;
  MainWindow& main_;
  bool busy_ = false;
};

}  // namespace ui
