#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "core/context.h"
#include "core/controls.h"
#include "scan/report_box.h"
#include "support/forwarding_fs.h"
#include "support/sim_fixture.h"

namespace scantest {

// A simulator at C:\FS2002 and a context whose file system the test can make
// fail for chosen paths. Scans run against scanCtx().
class ScanFixture : public testsupport::SimFixture {
 protected:
  ScanFixture() : fwd(*fs) {
    makeSimulator(80, "FS2002");
    scanCtx_ = contextWith(&fwd);
  }

  core::Context& scanCtx() { return *scanCtx_; }

  // A folder (and its parents) at a Windows path.
  void makeFolder(std::string_view windowsPath) { std::filesystem::create_directories(host(windowsPath)); }
  void removeFile(std::string_view windowsPath) { std::filesystem::remove(host(windowsPath)); }

  // Runs one scan and returns the report box's text; the flag is left in
  // missingFound.
  template <class Scan>
  std::string run(Scan scan, const core::ListView& list) {
    std::string text = "stale text of an earlier scan";
    missingFound = 0;
    scan::ReportBox box(text, missingFound);
    scan(scanCtx(), list, box);
    return text;
  }

  testsupport::ForwardingFs fwd;
  int missingFound = 0;

 private:
  std::unique_ptr<core::Context> scanCtx_;
};

// The report a scan should give: its opening line, each entry's lines
// followed by a blank line, the closing line without a line end.
inline std::string expectedReport(const std::string& kind, const std::vector<std::vector<std::string>>& entries) {
  std::string text = "----- Scanning for missing " + kind + " files -----\r\n\r\n";
  for (const auto& entry : entries) {
    for (const auto& line : entry) text += line + "\r\n";
    text += "\r\n";
  }
  return text + "----- Scanning done! -----";
}

// Replaces every "{F}" in s by folder.
inline std::string withFolder(std::string s, const std::string& folder) {
  for (auto pos = s.find("{F}"); pos != std::string::npos; pos = s.find("{F}", pos + folder.size()))
    s.replace(pos, 3, folder);
  return s;
}

}  // namespace scantest
