#include "scan/report_text.h"

#include <algorithm>

namespace scan {

std::string EntryLine(std::string_view configFile, const std::optional<std::string>& title) {
  return std::string(configFile) + ":" + (title ? "  (" + *title + ")" : "");
}

std::string ProblemLine(const ScanProblem& problem) {
  std::string line = problem.kind == ScanProblem::Kind::Missing      ? "Missing file: "
                     : problem.kind == ScanProblem::Kind::Unreadable ? "Cannot read file: "
                                                                     : "AIR file not defined in: ";
  line += problem.path;
  // The alternatives by their extensions: "C:\FS2002\gauges\Cessna.gau (cab)".
  for (const auto& alternative : problem.alternatives)
    line += " (" + alternative.substr(alternative.find_last_of('.') + 1) + ")";
  return line;
}

namespace {

bool isMissing(const ScanProblem& p) {
  return p.kind == ScanProblem::Kind::Missing;
}

std::string plural(int n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

}  // namespace

std::string MissingOnlyReport(std::string_view heading, const ScanResult& result) {
  std::string text(heading);
  for (const auto& entry : result.entries) {
    if (std::none_of(entry.problems.begin(), entry.problems.end(), isMissing)) continue;
    text += EntryLine(entry.configFile, entry.title);
    text += CRLF;
    for (const auto& problem : entry.problems) {
      text += ProblemLine(problem);
      text += CRLF;
    }
    text += CRLF;
  }
  text += kScanDone;
  return text;
}

std::string ReportFileText(std::string_view report) {
  std::string text;
  text.reserve(report.size() + 1);
  for (std::size_t i = 0; i < report.size(); ++i)
    if (report[i] != '\r' || i + 1 == report.size() || report[i + 1] != '\n') text += report[i];
  if (!text.empty() && text.back() != '\n') text += '\n';
  return text;
}

std::string ScanSummary(const ScanResult& result) {
  const int missing = result.missingFiles();
  int inEntries = 0;
  for (const auto& entry : result.entries)
    if (std::any_of(entry.problems.begin(), entry.problems.end(), isMissing)) ++inEntries;
  const int other = result.entriesWithProblems() - inEntries;
  std::string text;
  if (missing > 0)
    text = plural(missing, "file is", "files are") + " missing, in " + plural(inEntries, "entry", "entries") + ".";
  if (other > 0)
    text += std::string(text.empty() ? "" : "\r\n") + plural(other, "entry has", "entries have") +
            " a configuration file that cannot be read or names no flight model.";
  return text;
}

}  // namespace scan
