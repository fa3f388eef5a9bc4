#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "plan/install_plan.h"
#include "plan/plan_recorder.h"

namespace core {
class Context;
struct Locations;
class Dialogs;
class WindowHost;
}  // namespace core

namespace plan {

struct PlanOptions {
  // Answers the questions and prompts; nullptr: the answers of a run nobody
  // attends (UnattendedDialogs).
  core::Dialogs* dialogs = nullptr;
  // Makes the host of the name prompt over the planning context; empty: the
  // prompt keeps the proposed name.
  std::function<std::unique_ptr<core::WindowHost>(core::Context&)> windows;
  OriginLookup originOf;
};

// What installing the archives (Windows paths) would do, worked out by the
// real install command over a context whose file system, settings,
// registry, launcher and dialogs plan instead of acting. The archives are
// really extracted into the extraction folder, which is cleared afterwards;
// nothing else changes, ctx's state included.
InstallPlan PlanInstall(core::Context& ctx, const std::vector<std::string>& archives, const PlanOptions& options = {});

// Removes the scratch folders of plans whose process was killed. Only for
// the instance that holds the single-instance lock: a plan runs only in such
// an instance, so no other can be using one.
void RemoveAbandonedPlanFolders(const core::Locations& locations);

}  // namespace plan
