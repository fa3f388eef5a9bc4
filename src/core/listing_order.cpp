#include "core/listing_order.h"

#include <algorithm>

#include "core/text.h"

namespace core {

bool listedBefore(std::string_view a, std::string_view b) {
  const auto folded = [](char c) { return static_cast<unsigned char>(lowerChar(c)); };
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i)
    if (folded(a[i]) != folded(b[i])) return folded(a[i]) < folded(b[i]);
  return a.size() != b.size() ? a.size() < b.size() : a < b;
}

}  // namespace core
