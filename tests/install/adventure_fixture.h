#pragma once

#include <string>

#include "support/sim_fixture.h"
#include "support/standins.h"

namespace installtest {

// A simulator tree with the folders the installation makes before the
// adventure installer runs, and helpers to fill TempZip as extraction
// leaves it.
class AdventureFixture : public testsupport::SimFixture {
 protected:
  // Simulator of the version at C:\FS<version> with Adv, Adv\Wav and, for
  // FS2000 and FS2002, Adv\Other; the converter stand-ins beside it when
  // withConverters.
  void makeSim(int version, bool withConverters = true) {
    makeSimulator(version, "FS" + std::to_string(version));
    writeFile(sim() + "\\Adv\\Wav\\.keep");
    if (version != 61) writeFile(sim() + "\\Adv\\Other\\.keep");
    if (withConverters) testsupport::putConverters(host(sim()));
  }

  std::string sim() { return state().simFolder; }
  std::string tempZip() { return ctx().appFolder() + "\\TempZip"; }
  std::string tempAdv() { return ctx().appFolder() + "\\TempAdv"; }
  void extracted(const std::string& name, const std::string& bytes = "data") {
    writeFile(tempZip() + "\\" + name, bytes);
  }
  std::vector<testsupport::ConverterRun> runs(const std::string& baseName) {
    return testsupport::converterRuns(host(sim()), baseName);
  }
};

// First lines of the three generations of adventures.
inline const std::string kFs2000Adv = "\"FS7 Adventure\",1\r\nbody of an FS2000 adventure\r\n";
inline const std::string kFs98Adv = "FS6x adventure, 3\r\nbody of an FS98 adventure\r\n";
inline const std::string kOldAdv = "AAF adventure\r\nbody of an old adventure\r\n";

}  // namespace installtest
