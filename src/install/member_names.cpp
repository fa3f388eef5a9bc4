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

}  // namespace install
