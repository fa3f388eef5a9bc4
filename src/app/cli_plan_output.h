#pragma once

#include <iosfwd>

#include "plan/install_plan.h"

namespace app {

// The plan of `hangarpak-cli install --dry-run` for people: per archive what
// it would install as, then one line per folder, file, value, program and
// prompt, and the counter line.
void printPlanText(const plan::InstallPlan& plan, std::ostream& out);

// The same as one JSON object, for scripts.
void printPlanJson(const plan::InstallPlan& plan, std::ostream& out);

}  // namespace app
