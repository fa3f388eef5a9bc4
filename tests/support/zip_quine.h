#pragma once

#include <string>

#include "support/archive_builder.h"

namespace testsupport {

// A ZIP archive that holds itself, byte for byte, as its member `name`,
// beside the members of `others`: whatever extracts it finds the same
// archive again, level after level.
std::string zipQuine(const std::string& name, const ArchiveBuilder& others);

}  // namespace testsupport
