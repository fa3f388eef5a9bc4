#include "install/member_names.h"

#include "core/safe_names.h"

namespace install {

namespace {
// Longest file name the host file systems take, in bytes.
constexpr std::size_t kMaxHostName = 255;
}  // namespace

std::optional<std::string> FlatMemberName(std::string_view storedName) {
  auto pos = storedName.find_last_of("/\\:");
  std::string_view last = pos == std::string_view::npos ? storedName : storedName.substr(pos + 1);
  if (last.size() > kMaxHostName || !core::IsSafeName(last)) return std::nullopt;
  return std::string(last);
}

std::string MemberFolder(std::string_view storedName) {
  const auto end = storedName.find_last_of("/\\:");
  if (end == std::string_view::npos) return {};
  std::string folder;
  std::size_t start = 0;
  while (start <= end) {
    const std::size_t stop = storedName.find_first_of("/\\:", start);
    const std::string_view part = storedName.substr(start, stop - start);
    if (part.size() <= kMaxHostName && core::IsSafeName(part))
      folder += (folder.empty() ? "" : "\\") + std::string(part);
    start = stop + 1;
  }
  return folder;
}

}  // namespace install
