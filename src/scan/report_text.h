#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "scan/scan_result.h"

namespace scan {

// Line end of the report, as the report box and print.txt hold it.
inline constexpr std::string_view CRLF = "\r\n";
// The report's last line once every entry is scanned.
inline constexpr std::string_view kScanDone = "----- Scanning done! -----";

// "<configFile>:", and for an aircraft variant "  (<title>)" after it.
std::string EntryLine(std::string_view configFile, const std::optional<std::string>& title);
// "Missing file: <path>" and its alternatives by their extensions.
std::string ProblemLine(const ScanProblem& problem);

// The entries with at least one missing file, written from the typed
// result as the box wrote them, under heading (the report's opening lines).
std::string MissingOnlyReport(std::string_view heading, const ScanResult& result);

// The report as a saved text file holds it: UTF-8, every line ended by a
// line feed alone, the last one too.
std::string ReportFileText(std::string_view report);

// What the end of a scan says: how many files are missing, in how many
// entries.
std::string ScanSummary(const ScanResult& result);

}  // namespace scan
