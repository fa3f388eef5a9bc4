#include "ui/typed_folder.h"

#include <cctype>
#include <filesystem>

#include "core/context.h"
#include "core/fs.h"
#include "core/text.h"

namespace ui {

namespace {

constexpr std::string_view kArchivePattern = "*.zip;*.sif";

// "%20" and the like of a file address, as the characters they stand for.
std::string percentDecoded(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string unquoted(std::string text) {
  if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') && text.back() == text.front())
    return core::trim(std::string_view(text).substr(1, text.size() - 2));
  return text;
}

TypedFolder nowhere(std::string problem) {
  return {{}, {}, std::move(problem)};
}

}  // namespace

TypedFolder ReachTypedFolder(core::Context& ctx, std::string_view typed) {
  std::string text = unquoted(core::trim(typed));
  if (text.starts_with("file://")) text = percentDecoded(std::string_view(text).substr(7));
  if (text.empty()) return nowhere("Type the path of a folder, such as ~/Downloads, and press Enter.");

  std::string windows;
  if (text == "~" || text.starts_with("~/") || text.starts_with('/')) {
    const std::string host =
        std::filesystem::path(text.starts_with('~') ? ctx.env.home() + text.substr(1) : text).lexically_normal();
    const auto reached = ctx.drives.toWindows(host);
    if (!reached)
      return nowhere("No simulator drive reaches the folder " + host +
                     ", so its archives cannot be installed. Give the folder a drive letter in the Wine "
                     "prefix's drive settings (winecfg, Drives), or move the archives to a folder that a "
                     "drive reaches.");
    windows = *reached;
  } else if (text.size() >= 2 && std::isalpha(static_cast<unsigned char>(text[0])) && text[1] == ':') {
    windows = core::normalizeWindowsPath(text);
    if (!ctx.drives.available(static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])))))
      return nowhere("The drive " + core::left(windows, 2) + " of " + text +
                     " is not in the drive table or its folder is missing.");
  } else {
    return nowhere(text +
                   " is not a full path. Type a folder from the top, such as /home/you/Downloads, "
                   "~/Downloads or C:\\Downloads.");
  }

  if (ctx.fs.folderExists(windows)) return {windows, {}, {}};
  if (ctx.fs.fileExists(windows)) {
    if (core::matchesPattern(core::lastComponent(windows), kArchivePattern))
      return {core::parentPath(windows), windows, {}};
    return nowhere(text + " is a file, not a folder of archives.");
  }
  return nowhere("The folder " + text + " does not exist.");
}

}  // namespace ui
