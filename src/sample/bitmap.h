#pragma once

#include <cstdint>
#include <string>

namespace sample {

// A small uncompressed 24-bit Windows bitmap of one colour with a diagonal
// stripe, as textures and panel backgrounds of these simulators are: any
// picture viewer opens it.
std::string bitmap(int width, int height, std::uint32_t rgb);

}  // namespace sample
