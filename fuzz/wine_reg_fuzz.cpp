// A Wine prefix's registry file, any bytes: the reader never fails, and the
// quick read of a few keys gives those keys exactly as the full read does.
#include <cstdlib>
#include <string>
#include <vector>

#include "core/wine_reg.h"

namespace {

bool same(const core::winereg::Key& a, const core::winereg::Key& b) {
  if (a.path != b.path || a.values.size() != b.values.size()) return false;
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    const auto &x = a.values[i], &y = b.values[i];
    if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto full = core::winereg::parse(text);
  if (full.keys.empty()) return 0;
  // The first and the last key the full read found.
  const std::vector<std::string> wanted{full.keys.front().path, full.keys.back().path};
  const auto quick = core::winereg::parseKeys(text, wanted);
  for (const auto& path : wanted) {
    const auto *a = full.key(path), *b = quick.key(path);
    if (!a || !b || !same(*a, *b)) std::abort();
  }
  return 0;
}
