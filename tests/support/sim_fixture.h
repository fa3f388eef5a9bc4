#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/context.h"
#include "core/fs.h"
#include "core/process.h"
#include "core/registry.h"
#include "core/settings.h"
#include "support/archive_builder.h"
#include "support/recording_printer.h"
#include "support/scripted_dialogs.h"
#include "support/temp_dir.h"

namespace testsupport {

// A fresh Context over a temporary folder: drive C: is <tmp>/c, drive Z: is
// <tmp>, the application folder is <tmp>/app (Z:\app), the settings and
// registry stores live under <tmp>/config, HOME is <tmp>/home. Nothing of
// the real home folder is read or written.
class SimFixture : public ::testing::Test {
 protected:
  SimFixture();
  ~SimFixture() override;

  core::Context& ctx() { return *ctx_; }
  core::AppState& state() { return ctx_->state; }

  // Host path of a Windows path ("C:\FS2002\x" -> <tmp>/c/FS2002/x).
  std::string host(std::string_view windowsPath) const;
  // Creates a file (and its folders) at a Windows path, spelled exactly.
  void writeFile(std::string_view windowsPath, std::string_view bytes = {});
  std::string readFile(std::string_view windowsPath) const;
  bool exists(std::string_view windowsPath) const;
  // Writes the archive to C:\Downloads\<name>, where the user keeps them; its Windows path.
  std::string putArchive(const std::string& name, const ArchiveBuilder& archive) const;
  // A path below the aircraft folder of the simulator at C:\FS2002.
  static std::string air(std::string_view relative) { return "C:\\FS2002\\Aircraft\\" + std::string(relative); }

  // Lays out a simulator of the version (61, 70 or 80) at C:\<folder> with
  // its executable and the folders of a real installation in the
  // simulator's own capitals, sets simFolder and simVersion, and registers
  // it in the registry store (folder and marker values).
  void makeSimulator(int version = 80, std::string folder = "FS2002");
  // The registry key of the version's setup (61, 70 or 80).
  static std::string simulatorKey(int version);

  // Another context over the same stores and state, with the test's own file
  // system, launcher or printer where given.
  std::unique_ptr<core::Context> contextWith(core::FileSystem* fs, core::ProcessLauncher* launcher = nullptr,
                                             core::Printer* printer = nullptr);

  TempDir tmp;
  std::string root;  // tmp.path()
  core::Environment env;
  core::DriveTable drives;
  std::unique_ptr<core::FileSystem> fs;
  std::unique_ptr<core::IniSettingsStore> settings;
  std::unique_ptr<core::IniRegistryStore> registry;
  std::unique_ptr<core::ProcessLauncher> launcher;
  ScriptedDialogs dialogs;
  RecordingPrinter printer;

 private:
  std::unique_ptr<core::Context> ctx_;
};

}  // namespace testsupport
