// Stand-in for the scenery installer Ortholay.exe. At start it reads
// "QX Start" from section "General" of its own settings (application
// "Ortholay", in the settings store the program writes to) and records the
// package it was given, one line per run in Ortholay.log beside it:
//   <QX Start>|<first line of the package, or "(missing)">

#include <string>

#include "standin_common.h"

int main() {
  const standin::Self self = standin::whoAmI();
  const std::string package = self.settings->get("Ortholay", "General", "QX Start", "");
  std::string seen = "(missing)";
  try {
    const std::string host = self.drives.toHost(package);
    if (std::filesystem::is_regular_file(host)) {
      seen = standin::readAll(host);
      seen = seen.substr(0, seen.find_first_of("\r\n"));
    }
  } catch (const std::exception&) {
  }
  standin::appendLog(self, package + "|" + seen);
  return 0;
}
