#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/context.h"
#include "support/forwarding_fs.h"
#include "support/sim_fixture.h"

namespace scantest {

inline const std::string kScanDone = "----- Scanning done! -----";

// A simulator at C:\FS2002 and a context whose file system the test can make
// fail for chosen paths. Scans run against scanCtx().
class ScanFixture : public testsupport::SimFixture {
 protected:
  ScanFixture() : fwd(*fs) {
    makeSimulator(80, "FS2002");
    scanCtx_ = contextWith(&fwd);
  }
  core::Context& scanCtx() { return *scanCtx_; }

  testsupport::ForwardingFs fwd;

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
  return text + kScanDone;
}

// s with "{F}" standing for folder and "{S}" for the simulator's folder.
inline std::string expand(std::string s, const std::string& folder) {
  for (const auto& [key, value] : {std::pair<std::string, std::string>{"{F}", folder}, {"{S}", "C:\\FS2002\\"}})
    for (auto pos = s.find(key); pos != std::string::npos; pos = s.find(key, pos + value.size()))
      s.replace(pos, key.size(), value);
  return s;
}

}  // namespace scantest
