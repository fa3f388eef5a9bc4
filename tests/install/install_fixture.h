#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "install/install_archive.h"
#include "support/archive_builder.h"
#include "support/recording_window_host.h"
#include "support/sim_fixture.h"

namespace installtest {

using testsupport::ArchiveBuilder;
using Files = std::vector<std::string>;

// A message box the installation is to show (with an OK button).
struct Message {
  std::string text, title;
  core::Icon icon;
};

// The warning of a scenery package when no scenery installer is found.
inline Message noSceneryInstaller(const std::string& root) {
  return {
      "Hangarpak could not find Ortholay in your system!\r\n\r\nHow to get Ortholay and install it under Wine is "
      "told on this page:\r\n" +
          root + "/share/hangarpak/help/online.html",
      "Could not find Ortholay", core::Icon::Exclamation};
}

// An FS2002 tree at C:\FS2002, the recording window host, and helpers to put
// archives where the user keeps them, to install them and to look into
// TempZip.
class InstallFixture : public testsupport::SimFixture {
 protected:
  InstallFixture() : windows(state()) {
    ctx().setWindowHost(&windows);
    makeSimulator(80);
  }

  void expect(const std::vector<Message>& messages) {
    for (const auto& m : messages) dialogs.expectMessage(m.text, m.title, core::Buttons::OK, m.icon);
  }
  void install(const std::string& path) {
    state().currentArchivePath = path;
    install::InstallArchive(ctx(), state().currentArchivePath);
  }
  // Another context on the file system, showing its windows on the host.
  std::unique_ptr<core::Context> contextOn(core::FileSystem& other) {
    auto c = contextWith(&other);
    c->setWindowHost(&windows);
    return c;
  }
  std::string tempZipHost() const { return root + "/app/TempZip"; }
  void emptyTempZip() const {
    std::filesystem::remove_all(tempZipHost());
    std::filesystem::create_directories(tempZipHost());
  }
  // The plain files of TempZip, sorted by name.
  Files tempZipFiles() const { return testsupport::hostNames(tempZipHost()); }
  std::string tempZipFile(const std::string& name) const {
    return testsupport::readHostFile(tempZipHost() + "/" + name);
  }

  testsupport::RecordingWindowHost windows;
};

}  // namespace installtest
