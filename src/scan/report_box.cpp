#include "scan/report_box.h"

namespace scan {

ReportBox::ReportBox(std::string& text, int& missingFound, Progress progress, std::chrono::milliseconds interval)
    : text_(text), missingFound_(missingFound), progress_(std::move(progress)), interval_(interval) {}

void ReportBox::replace(std::string_view text) {
  text_.assign(text);
  heading_.assign(text);
}

void ReportBox::beginEntry(std::string_view configFile, std::optional<std::string_view> title) {
  result_.entries.push_back({std::string(configFile), title ? std::optional<std::string>(*title) : std::nullopt, {}});
  appendLine(EntryLine(configFile, result_.entries.back().title));
}

void ReportBox::problem(ScanProblem found) {
  appendLine(ProblemLine(found));
  if (!result_.entries.empty()) result_.entries.back().problems.push_back(std::move(found));
}

void ReportBox::started(int total) {
  notify(0, total);
}

void ReportBox::entryDone(int done, int total) {
  if (done >= total || std::chrono::steady_clock::now() - lastNotified_ >= interval_) notify(done, total);
}

void ReportBox::notify(int done, int total) {
  lastNotified_ = std::chrono::steady_clock::now();
  if (progress_) progress_(done, total);
}

}  // namespace scan
