#include "scan/scan_files.h"

#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/text.h"

namespace scan {

bool OrdinaryFileExists(core::Context& ctx, std::string_view path) {
  const std::string name = core::lastComponent(path);
  if (name.empty()) return false;
  try {
    if (name.find_first_of("*?") != std::string::npos)
      return !ctx.fs.listFiles(core::parentPath(path), name, /*includeHidden=*/false).empty();
    // One look-up of the path: a plain name needs no folder listing (a
    // gauges folder holds hundreds of files).
    return ctx.fs.ordinaryFileExists(path);
  } catch (const core::RuntimeError&) {
    return false;
  }
}

std::optional<std::string> ReadConfigBytes(core::Context& ctx, std::string_view path) {
  try {
    return ctx.fs.readFile(path);
  } catch (const core::RuntimeError&) {
    return std::nullopt;
  }
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
  }
  return lines;
}

}  // namespace scan
