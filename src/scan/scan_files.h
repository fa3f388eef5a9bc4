#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace core {
class Context;
}

namespace scan {

// The scans' test for a file: an ordinary file matches the path, whose last
// component may be a pattern ("texture\*.*"). Folders, hidden and system
// files don't count, names compare without regard to case, and a path the
// file system cannot look at counts as missing.
bool OrdinaryFileExists(core::Context& ctx, std::string_view path);

// The bytes of a configuration file as they are on disk; nullopt when it
// cannot be read.
std::optional<std::string> ReadConfigBytes(core::Context& ctx, std::string_view path);

// The lines of a text, as sequential line reading takes them: a line ends at
// CR LF, CR or LF; a final line without a line end counts, an empty tail
// after the last line end does not.
std::vector<std::string_view> SplitLines(std::string_view text);

}  // namespace scan
