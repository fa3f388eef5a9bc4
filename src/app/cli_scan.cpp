#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "manager/catalogue.h"
#include "manager/parsed_configs.h"
#include "scan/report_box.h"
#include "scan/scan_aircraft.h"
#include "scan/scan_panels.h"
#include "scan/scan_sounds.h"

namespace app {

const std::string_view scanUsage = "scan aircraft|panels|sounds [--json]";

namespace {

void printJson(std::string_view kind, const scan::ScanResult& result, std::ostream& out) {
  out << "{\"scan\": " << jsonString(kind) << ",\n \"entries\": [";
  const char* sep = "\n  ";
  for (const auto& entry : result.entries) {
    out << sep << "{\"file\": " << jsonString(entry.configFile)
        << ", \"title\": " << (entry.title ? jsonString(*entry.title) : "null") << ", \"problems\": [";
    const char* psep = "";
    for (const auto& problem : entry.problems) {
      out << psep << "{\"kind\": " << jsonString(scan::wordOf(problem.kind))
          << ", \"path\": " << jsonString(problem.path) << ", \"alternatives\": [";
      const char* asep = "";
      for (const auto& alternative : problem.alternatives) {
        out << asep << jsonString(alternative);
        asep = ", ";
      }
      out << "]}";
      psep = ", ";
    }
    out << "]}";
    sep = ",\n  ";
  }
  out << (result.entries.empty() ? "" : "\n ") << "],\n \"totals\": {\"entries\": " << result.entries.size()
      << ", \"withProblems\": " << result.entriesWithProblems() << ", \"missingFiles\": " << result.missingFiles()
      << "}}\n";
}

}  // namespace

// The scan dialog's report of one catalogue, for scripts: the report with
// the terminal's line ends, or its findings as JSON; the status says whether
// anything is missing.
int runScan(const std::vector<std::string>& args, CliIo& io) {
  const CatalogueArgs words = catalogueArgs("scan", args);
  if (!words.fault.empty()) return usageError(io, scanUsage, words.fault);
  const std::string& kind = words.kind;
  const bool json = words.json;

  // A scan asks nothing; a simulator that must be located by hand ends the run.
  TerminalDialogs dialogs(io.err, {}, {});
  // The scan of aircraft follows the catalogue's walk at once, so it takes
  // the aircraft.cfg files as the walk parsed them.
  manager::ParsedAircraftConfigs parsed;
  return withCatalogue(
      io, dialogs,
      [&](core::Context& ctx, manager::Catalogue& catalogue) {
        std::string report;
        int missingFound = 0;
        scan::ReportBox box(report, missingFound);
        if (kind == "aircraft")
          scan::ScanAircraft(ctx, catalogue.variants(), box, &parsed);
        else if (kind == "panels")
          scan::ScanPanels(ctx, catalogue.panels(), box);
        else
          scan::ScanSounds(ctx, catalogue.sounds(), box);
        if (json) {
          printJson(kind, box.result(), io.out);
        } else {
          // The terminal's line ends, in one pass over the report.
          std::string_view rest(report);
          for (auto pos = rest.find("\r\n"); pos != std::string_view::npos; pos = rest.find("\r\n")) {
            io.out << rest.substr(0, pos) << '\n';
            rest.remove_prefix(pos + 2);
          }
          io.out << rest << '\n';
        }
        return missingFound ? ExitProblem : ExitDone;
      },
      core::NameWatch::OwnChangesOnly, kind == "aircraft" ? &parsed : nullptr);
}

}  // namespace app
