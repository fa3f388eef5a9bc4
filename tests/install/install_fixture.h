#pragma once

#include <string>
#include <vector>

#include "support/archive_builder.h"
#include "support/recording_window_host.h"
#include "support/sim_fixture.h"

namespace installtest {

// A simulator tree, the recording window host, and helpers to put archives
// where the user keeps them and to look into TempZip.
class InstallFixture : public testsupport::SimFixture {
 protected:
  InstallFixture() : windows(state()) { ctx().setWindowHost(&windows); }

  // Writes the archive to C:\Downloads\<name>; returns its Windows path.
  std::string putArchive(const std::string& name, const testsupport::ArchiveBuilder& archive) {
    const std::string path = "C:\\Downloads\\" + name;
    archive.writeTo(host(path));
    return path;
  }
  std::string tempZipHost() const { return root + "/app/TempZip"; }
  // The plain files of TempZip, sorted by name.
  std::vector<std::string> tempZipFiles() const;
  std::string tempZipFile(const std::string& name) const;

  testsupport::RecordingWindowHost windows;
};

}  // namespace installtest
