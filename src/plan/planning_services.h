#pragma once

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>

#include "core/dialogs.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "core/window_host.h"
#include "plan/plan_recorder.h"

namespace plan {

// The settings store of a planning run: reads see what the plan has saved,
// saves are recorded and kept in memory.
class PlanningSettings : public core::SettingsStore {
 public:
  PlanningSettings(core::SettingsStore& real, PlanRecorder& recorder) : real_(real), recorder_(recorder) {}
  std::string get(std::string_view app, std::string_view section, std::string_view key, std::string_view def) override;
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;

 private:
  std::optional<std::string> value(std::string_view app, std::string_view section, std::string_view key);
  core::SettingsStore& real_;
  PlanRecorder& recorder_;
  std::map<std::string, std::string> saved_;
};

// The registry store of a planning run, in the same way; a deleted key
// hides the real key's values until a value is set in it again.
class PlanningRegistry : public core::RegistryStore {
 public:
  PlanningRegistry(core::RegistryStore& real, PlanRecorder& recorder) : real_(real), recorder_(recorder) {}
  std::optional<std::string> query(core::Hive hive, std::string_view keyPath, std::string_view valueName) override;
  bool keyExists(core::Hive hive, std::string_view keyPath) override;
  void setValue(core::Hive hive, std::string_view keyPath, std::string_view valueName, std::string_view value) override;
  void deleteKey(core::Hive hive, std::string_view keyPath) override;

 private:
  bool deleted(const std::string& key) const;
  core::RegistryStore& real_;
  PlanRecorder& recorder_;
  std::map<std::string, std::map<std::string, std::string>> values_;  // key -> value name -> value, lower case
  std::set<std::string> made_;
  std::set<std::string> deleted_;
};

// Records the programs an installation would start and starts none: a
// waited-for program "ends" at once with status 0.
class PlanningLauncher : public core::ProcessLauncher {
 public:
  explicit PlanningLauncher(PlanRecorder& recorder) : recorder_(recorder) {}
  int runAndWait(const core::ProcessRequest& request, const std::function<void()>& keepPainting) override;
  void start(const core::ProcessRequest& request) override;

 private:
  PlanRecorder& recorder_;
};

// The answers of a run nobody attends, as hangarpak-cli gives them without
// a terminal: OK to a message, No (or Cancel) to a question, an empty
// password, no file; the program's own dialogs cannot be shown and end the
// run.
class UnattendedDialogs : public core::Dialogs {
 public:
  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) override;
  std::optional<std::string> inputBox(std::string_view, std::string_view, std::string_view) override { return ""; }
  std::optional<std::string> openFile(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  void runModal(core::ModalController& controller) override;
};

// Passes every dialog to another and records it with the answer taken.
class RecordingDialogs : public core::Dialogs {
 public:
  RecordingDialogs(core::Dialogs& inner, PlanRecorder& recorder) : inner_(inner), recorder_(recorder) {}
  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon icon) override;
  std::optional<std::string> inputBox(std::string_view prompt, std::string_view title, std::string_view def) override;
  std::optional<std::string> openFile(std::string_view title, std::string_view filter,
                                      std::string_view startFolder) override;
  void runModal(core::ModalController& controller) override;
  void keepPainting() override { inner_.keepPainting(); }
  void beep() override {}

 private:
  core::Dialogs& inner_;
  PlanRecorder& recorder_;
};

// The windows of a planning run: the name prompt goes to another host (or,
// without one, keeps the proposed name) and is recorded with its answer;
// the progress dialog and the main window are left alone.
class RecordingWindowHost : public core::WindowHost {
 public:
  RecordingWindowHost(core::AppState& state, std::unique_ptr<core::WindowHost> inner, PlanRecorder& recorder)
      : state_(state), inner_(std::move(inner)), recorder_(recorder) {}
  void showNamePrompt() override;

 private:
  core::AppState& state_;
  std::unique_ptr<core::WindowHost> inner_;
  PlanRecorder& recorder_;
};

}  // namespace plan
