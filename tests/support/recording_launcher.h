#pragma once

#include <functional>
#include <vector>

#include "core/errors.h"
#include "core/process.h"

namespace testsupport {

// Records the processes the program would start. failStart makes every
// start fail as a missing program does.
class RecordingLauncher : public core::ProcessLauncher {
 public:
  std::vector<core::ProcessRequest> runs;
  std::vector<core::ProcessRequest> starts;
  bool failStart = false;

  int runAndWait(const core::ProcessRequest& request, const std::function<void()>& keepPainting) override {
    if (failStart) throw core::RuntimeError(core::err::FileNotFound);
    runs.push_back(request);
    if (keepPainting) keepPainting();
    return 0;
  }
  void start(const core::ProcessRequest& request) override {
    if (failStart) throw core::RuntimeError(core::err::FileNotFound);
    starts.push_back(request);
  }
};

}  // namespace testsupport
