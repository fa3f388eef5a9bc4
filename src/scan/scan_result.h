#pragma once

#include <optional>
#include <string>
#include <vector>

namespace scan {

// What a scan found wrong with one entry.
struct ScanProblem {
  enum class Kind {
    Missing,     // a file the configuration names is not there
    Unreadable,  // the configuration file itself cannot be read
    Undefined,   // the configuration names no flight model ("sim=")
  };
  Kind kind;
  std::string path;  // the missing or unreadable file; the configuration file for Undefined
  // Files any one of which would do in its place (a gauge packed as a
  // cabinet).
  std::vector<std::string> alternatives = {};
};

// One entry of the scanned list: its configuration file, the title of an
// aircraft variant (none for panels and sounds) and its problems.
struct ScannedEntry {
  std::string configFile;
  std::optional<std::string> title;
  std::vector<ScanProblem> problems;
};

// A scan's findings, entry by entry in list order, as the report shows them.
struct ScanResult {
  std::vector<ScannedEntry> entries;

  int entriesWithProblems() const;
  int missingFiles() const;
};

// The word of a problem's kind, as the report's JSON gives it.
const char* wordOf(ScanProblem::Kind kind);

}  // namespace scan
