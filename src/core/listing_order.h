#pragma once

#include <string_view>

namespace core {

// The order folder listings give: alphabetical without regard to case
// (lower(a) < lower(b), byte by byte, ASCII letters folded), names that
// differ only in case in byte order. Copies nothing, so that a listing of
// tens of thousands of names sorts without allocating.
bool listedBefore(std::string_view a, std::string_view b);

}  // namespace core
