#include <ostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "manager/catalogue.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "scan/scan_panels.h"
#include "scan/scan_sounds.h"

namespace app {

const std::string_view scanUsage = "scan aircraft|panels|sounds";

// The scan dialog's report of one catalogue, for scripts: the report with
// the terminal's line ends, and the status says whether anything is missing.
int runScan(const std::vector<std::string>& args, CliIo& io) {
  if (args.size() != 1) return usageError(io, scanUsage);
  const std::string& kind = args[0];
  if (kind != "aircraft" && kind != "panels" && kind != "sounds") return usageError(io, scanUsage);

  // A scan asks nothing; a simulator that must be located by hand ends the run.
  TerminalDialogs dialogs(io.err, {}, {});
  return withCatalogue(io, dialogs, [&](core::Context& ctx, manager::Catalogue& catalogue) {
    std::string report;
    int missingFound = 0;
    scan::ReportBox box(report, missingFound);
    if (kind == "aircraft")
      scan::ScanAircraft(ctx, catalogue.flyLst, box);
    else if (kind == "panels")
      scan::ScanPanels(ctx, catalogue.panelLst, box);
    else
      scan::ScanSounds(ctx, catalogue.lydLst, box);
    for (auto pos = report.find("\r\n"); pos != std::string::npos; pos = report.find("\r\n", pos)) report.erase(pos, 1);
    io.out << report << '\n';
    return missingFound ? ExitProblem : ExitDone;
  });
}

}  // namespace app
