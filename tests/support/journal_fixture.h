#pragma once

#include <memory>

#include "journal/recording_services.h"
#include "journal/store.h"
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

  std::unique_ptr<journal::Journalling> services;
  std::unique_ptr<core::Context> jctx;
};

}  // namespace testsupport
