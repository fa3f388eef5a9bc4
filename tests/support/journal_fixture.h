#pragma once

#include <memory>
#include <string>
#include <vector>

#include "install/install_command.h"
#include "journal/recording_services.h"
#include "journal/store.h"
#include "support/archive_builder.h"
#include "support/sim_fixture.h"

namespace testsupport {

// A simulator tree and a second context over it, jctx, whose services
// record each installation into the install journal.
class JournalFixture : public SimFixture {
 protected:
  JournalFixture() {
    makeSimulator();
    services = std::make_unique<journal::Journalling>(ctx().locations.appFolder, *fs, *settings, *registry, *launcher);
    jctx = contextWith(&services->fs, &services->launcher);
    services->recorder.attach(*jctx);
  }
  journal::Store store() { return journal::Store(journal::databasePath(ctx().locations.appFolder)); }
  // Panels installed through jctx one after the other from NAME.zip, each
  // with a bitmap NAME.bmp and, with sharedGauge, a shared.gau holding
  // "gauge of NAME"; any message allowed from then on.
  void installPanels(const std::vector<std::string>& names, bool sharedGauge) {
    for (const auto& name : names) {
      ArchiveBuilder archive;
      archive.add("panel.cfg", "[Window00]\r\nfile=" + name + ".bmp\r\n").add(name + ".bmp", name);
      if (sharedGauge) archive.add("shared.gau", "gauge of " + name);
      install::RunInstallCommand(*jctx, {putArchive(name + ".zip", archive)});
    }
    dialogs.allowAnyMessages();
  }

  std::unique_ptr<journal::Journalling> services;
  std::unique_ptr<core::Context> jctx;
};

}  // namespace testsupport
