#include <ostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/errors.h"
#include "core/startup_settings.h"
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
  NullPrinter printer;
  try {
    Runtime runtime(io.env, io.executablePath, dialogs, printer);
    core::Context& ctx = runtime.context();
    core::LoadSettings(ctx);
    runtime.tidyAfterEarlierRun();
    manager::Catalogue catalogue(ctx);
    catalogue.Search();

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
  } catch (const core::EndProgram& end) {
    return end.exitCode == 0 ? ExitProblem : end.exitCode;
  } catch (const core::RuntimeError& e) {
    io.err << "hangarpak-cli: " << e.what() << " (error " << e.number() << ")\n";
    return ExitProblem;
  }
}

}  // namespace app
