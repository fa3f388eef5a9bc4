#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

namespace core {

// A hash of text for tables keyed by strings that are sought by a view
// (with std::equal_to<>), so that a look-up makes no string of its own.
struct TextHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};

}  // namespace core
