#pragma once

#include <memory>
#include <string>

#include "core/fs.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "journal/recorder.h"
#include "journal/recording_fs.h"

namespace journal {

// The settings store, telling the recorder each value written (old and new)
// while an installation is open.
class RecordingSettings : public core::SettingsStore {
 public:
  RecordingSettings(core::SettingsStore& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}
  std::string get(std::string_view app, std::string_view section, std::string_view key, std::string_view def) override {
    return inner_.get(app, section, key, def);
  }
  void save(std::string_view app, std::string_view section, std::string_view key, std::string_view value) override;

 private:
  core::SettingsStore& inner_;
  Recorder& recorder_;
};

// The registry store, telling the recorder each value written and each key
// deleted while an installation is open.
class RecordingRegistry : public core::RegistryStore {
 public:
  RecordingRegistry(core::RegistryStore& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}
  std::optional<std::string> query(core::Hive hive, std::string_view keyPath, std::string_view valueName) override {
    return inner_.query(hive, keyPath, valueName);
  }
  bool keyExists(core::Hive hive, std::string_view keyPath) override { return inner_.keyExists(hive, keyPath); }
  void setValue(core::Hive hive, std::string_view keyPath, std::string_view valueName, std::string_view value) override;
  void deleteKey(core::Hive hive, std::string_view keyPath) override;

 private:
  core::RegistryStore& inner_;
  Recorder& recorder_;
};

// The process launcher, telling the recorder each program an installation
// runs; what the program itself changes is not known.
class RecordingLauncher : public core::ProcessLauncher {
 public:
  RecordingLauncher(core::ProcessLauncher& inner, Recorder& recorder) : inner_(inner), recorder_(recorder) {}
  int runAndWait(const core::ProcessRequest& request, const std::function<void()>& keepPainting) override;
  void start(const core::ProcessRequest& request) override;

 private:
  core::ProcessLauncher& inner_;
  Recorder& recorder_;
};

// The services of a journalled program, each wrapping the real one, and the
// recorder they report to. Built before the context (which takes the
// services), then attached to it.
class Journalling {
 public:
  Journalling(const std::string& appFolder, core::FileSystem& realFs, core::SettingsStore& realSettings,
              core::RegistryStore& realRegistry, core::ProcessLauncher& realLauncher)
      : recorder(realFs, appFolder),
        fs(realFs, recorder),
        settings(realSettings, recorder),
        registry(realRegistry, recorder),
        launcher(realLauncher, recorder) {}

  Recorder recorder;
  RecordingFileSystem fs;
  RecordingSettings settings;
  RecordingRegistry registry;
  RecordingLauncher launcher;
};

// The registry hive's word as stored ("CR" or "LM").
std::string_view hiveWord(core::Hive hive);

}  // namespace journal
