#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/profile.h"

namespace core::profile {

// Gives the next bytes of a file into the buffer, fewer than asked when it
// will, 0 at the end of the file; throws RuntimeError when it cannot read.
using ReadBytes = std::function<std::size_t(char* buffer, std::size_t size)>;

// What fileValue() gives for the whole file, read a block at a time: the
// file's encoding taken from its mark, a UTF-16 file converted block by
// block, and the reading stopped at the key or at the end of its section,
// so that a read near the start of a large file costs no more than that
// start, and a read anywhere no more memory than a block.
std::optional<std::string> streamedFileValue(const ReadBytes& read, std::string_view section, std::string_view key,
                                             std::size_t maxLength = MaxValueLength);

}  // namespace core::profile
