#pragma once

#include <string>

namespace core {

// What the lower layers (installation, catalogue, scans) need of the
// windows that the ui layer owns: the progress dialog waitFrm, the main
// window and the name prompt nameFrm. The ui layer implements it over its
// controllers; tests use a recording double. Every call is a no-op in the
// default host, which a Context uses until the ui layer sets its own.
class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Progress dialog. load() prepares it by state.progressMode (not shown).
  virtual void loadProgress() {}
  virtual void showProgress() {}
  virtual void hideProgress() {}
  virtual void repaintProgress() {}
  virtual void unloadProgress() {}
  virtual bool progressLoaded() const { return false; }
  virtual void setProgressMessage(const std::string& /*waitLbl*/) {}
  virtual void setProgressCounter(const std::string& /*doneLbl*/) {}
  virtual void setProgressBar(int /*max*/, int /*value*/) {}
  virtual void enableProgressOk() {}

  // Main window.
  virtual void hideMainWindow() {}
  virtual void showMainWindow() {}
  virtual void setMainWindowEnabled(bool /*enabled*/) {}
  virtual void repaintMainWindow() {}
  virtual void setBusyCursor(bool /*busy*/) {}

  // The name prompt asking state.namePrompt, modal; the answer is left in
  // the state, and nameConfirmed set when the user confirmed it.
  virtual void showNamePrompt() {}
};

}  // namespace core
