#include "core/safe_names.h"

#include <array>

#include "core/paths.h"
#include "core/text.h"

namespace core {

namespace {

constexpr std::string_view kSeparators = "\\/";
constexpr std::string_view kReservedInPaths = ":*?\"<>|";

constexpr bool isControl(char c) {
  return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

// The bytes no relative path may hold, a control character or one of
// kReservedInPaths, by their value: one look per byte of a path.
constexpr auto kNotInPaths = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = isControl(static_cast<char>(c));
  for (const char c : kReservedInPaths) table[static_cast<unsigned char>(c)] = true;
  return table;
}();

}  // namespace

NameFault CheckName(std::string_view name) {
  if (name.empty()) return NameFault::Empty;
  if (name == "." || name == "..") return NameFault::DotName;
  for (char c : name) {
    if (isControl(c)) return NameFault::ControlCharacter;
    if (kSeparators.find(c) != std::string_view::npos || kReservedInPaths.find(c) != std::string_view::npos)
      return NameFault::ReservedCharacter;
  }
  if (name.back() == '.' || name.back() == ' ') return NameFault::TrailingDotOrBlank;
  return NameFault::None;
}

std::string_view DescribeNameFault(NameFault fault) {
  switch (fault) {
    case NameFault::None:
      break;
    case NameFault::Empty:
      return "is empty";
    case NameFault::DotName:
      return "is \".\" or \"..\"";
    case NameFault::TrailingDotOrBlank:
      return "ends in a dot or a blank";
    case NameFault::ReservedCharacter:
      return "holds one of \\ / : * ? \" < > |";
    case NameFault::ControlCharacter:
      return "holds a control character";
  }
  return "";
}

std::optional<std::string> PathWithin(std::string_view tree, std::string_view base, std::string_view relative) {
  // Only a path with a drive has its "." and ".." folded.
  if (tree.size() < 2 || tree[1] != ':') return std::nullopt;
  for (const char c : relative)
    if (kNotInPaths[static_cast<unsigned char>(c)]) return std::nullopt;
  // The tree is mostly given in normal form already, and then taken as it is.
  std::string normalRoot;
  const std::string_view root =
      isNormalWindowsPath(tree) ? tree : std::string_view(normalRoot = normalizeWindowsPath(tree));
  // The base's own trailing "\" stands for the one between, so that a
  // joined path is mostly in normal form already.
  std::string path;
  path.reserve(base.size() + 1 + relative.size());
  path += base;
  if (path.empty() || path.back() != '\\') path += '\\';
  path += relative;
  if (!isNormalWindowsPath(path)) path = normalizeWindowsPath(path);
  // A drive root keeps its "\"; any other folder is followed by one.
  const std::size_t prefix = root.back() == '\\' ? root.size() : root.size() + 1;
  if (path.size() <= prefix || !istartsWith(path, root) || path[prefix - 1] != '\\') return std::nullopt;
  return path;
}

}  // namespace core
