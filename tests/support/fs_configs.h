#pragma once

// The tests write configuration files in the shapes the sample writes them.
#include "sample/configs.h"

namespace testsupport {
using sample::aircraftCfg;
using sample::aliasCfg;
using sample::fltsimSection;
using sample::panelCfg;
using sample::panelCfgWithoutWindows;
using sample::soundCfg;
using sample::Variant;
}  // namespace testsupport
