#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "scan/report_text.h"
#include "scan/scan_result.h"

namespace scan {

// The scan dialog's report box as a scan sees it: the text it writes (the
// box's own text, grown in place), the dialog's missingFound flag, and a
// progress hook. Each entry's heading and problems also go into a typed
// result, from the same calls that write their lines. A long list would spend its time painting if the box were
// redrawn for every entry, so the hook runs at most once per interval and
// always for the last entry.
class ReportBox {
 public:
  using Progress = std::function<void(int done, int total)>;

  ReportBox(std::string& text, int& missingFound, Progress progress = {},
            std::chrono::milliseconds interval = std::chrono::milliseconds(100));

  void replace(std::string_view text);
  void append(std::string_view text) { text_.append(text); }
  void appendLine(std::string_view line) {
    text_.append(line);
    text_.append(CRLF);
  }
  void setMissingFound() { missingFound_ = 1; }

  // An entry's report begins: "<configFile>:", and for an aircraft variant
  // "  (<title>)" after it.
  void beginEntry(std::string_view configFile, std::optional<std::string_view> title = std::nullopt);
  // A problem of the entry begun last, on a line of its own.
  void problem(ScanProblem found);
  const ScanResult& result() const { return result_; }
  // The opening lines the last replace() wrote.
  const std::string& heading() const { return heading_; }

  // The list's entries are about to be scanned: shows the opening lines.
  void started(int total);
  // Entry `done` of `total` is finished.
  void entryDone(int done, int total);

 private:
  void notify(int done, int total);

  std::string& text_;
  int& missingFound_;
  Progress progress_;
  std::chrono::milliseconds interval_;
  std::chrono::steady_clock::time_point lastNotified_;
  ScanResult result_;
  std::string heading_;
};

}  // namespace scan
