#pragma once

// The tests build their archives with the program's own archive builder.
#include "sample/archive_builder.h"

namespace testsupport {
using sample::ArchiveBuilder;
}  // namespace testsupport
