#include "scan/scan_result.h"

#include <algorithm>

namespace scan {

int ScanResult::entriesWithProblems() const {
  return static_cast<int>(
      std::count_if(entries.begin(), entries.end(), [](const ScannedEntry& e) { return !e.problems.empty(); }));
}

int ScanResult::missingFiles() const {
  int n = 0;
  for (const auto& e : entries)
    n += static_cast<int>(std::count_if(e.problems.begin(), e.problems.end(),
                                        [](const ScanProblem& p) { return p.kind == ScanProblem::Kind::Missing; }));
  return n;
}

const char* wordOf(ScanProblem::Kind kind) {
  switch (kind) {
    case ScanProblem::Kind::Missing:
      return "missing";
    case ScanProblem::Kind::Unreadable:
      return "unreadable";
    case ScanProblem::Kind::Undefined:
      return "undefined";
  }
  return "";
}

}  // namespace scan
