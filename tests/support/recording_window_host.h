#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "core/window_host.h"

namespace testsupport {

// A window host that records what the installers do with the windows and
// plays the user at the name prompt: each prompt takes the next queued
// answer (nullopt = Cancel). A prompt with no answer queued fails the test.
class RecordingWindowHost : public core::WindowHost {
 public:
  explicit RecordingWindowHost(core::AppState& state) : state_(state) {}
  ~RecordingWindowHost() override;

  struct Prompt {
    int mode;
    std::string proposal;  // the text the prompt was filled with
  };

  RecordingWindowHost& answerPrompt(std::optional<std::string> answer) {
    answers_.push_back(std::move(answer));
    return *this;
  }

  void loadProgress() override {
    call("loadProgress", progressIsLoaded, true);
    progressOkEnabled = false;
    progressMessage = "Please wait...";
  }
  void showProgress() override { call("showProgress", progressVisible, true); }
  void hideProgress() override { call("hideProgress", progressVisible, false); }
  void repaintProgress() override { calls.push_back("repaintProgress"); }
  void unloadProgress() override {
    call("unloadProgress", progressIsLoaded, false);
    progressVisible = false;
  }
  bool progressLoaded() const override { return progressIsLoaded; }
  void setProgressMessage(const std::string& text) override { progressMessage = text; }
  void setProgressCounter(const std::string& text) override { counters.push_back(text); }
  void setProgressBar(int, int) override {}
  void enableProgressOk() override { progressOkEnabled = true; }

  void hideMainWindow() override { calls.push_back("hideMainWindow"); }
  void showMainWindow() override { calls.push_back("showMainWindow"); }
  void setMainWindowEnabled(bool enabled) override {
    calls.push_back(enabled ? "enableMainWindow" : "disableMainWindow");
  }
  void repaintMainWindow() override { calls.push_back("repaintMainWindow"); }

  void showNamePrompt() override;

  std::vector<std::string> calls;
  std::vector<Prompt> prompts;
  std::vector<std::string> counters;  // every counter text, in order
  std::string progressMessage;
  bool progressIsLoaded = false;
  bool progressVisible = false;
  bool progressOkEnabled = false;

 private:
  void call(const char* name, bool& flag, bool value) {
    calls.push_back(name);
    flag = value;
  }

  core::AppState& state_;
  std::deque<std::optional<std::string>> answers_;
};

}  // namespace testsupport
