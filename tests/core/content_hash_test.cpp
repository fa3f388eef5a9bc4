#include "core/content_hash.h"

#include <gtest/gtest.h>

namespace {

TEST(ContentHash, IsXxh3OfTheWholeContentHoweverItArrives) {
  EXPECT_EQ(core::contentHash(""), "99aa06d3014798d86001c324468d497f");

  const std::string text(100'000, 'x');
  core::ContentHasher pieces;
  for (std::size_t at = 0; at < text.size(); at += 4093)
    pieces.update(text.data() + at, std::min<std::size_t>(4093, text.size() - at));
  EXPECT_EQ(pieces.hex(), core::contentHash(text));
  EXPECT_NE(core::contentHash(text), core::contentHash(text.substr(1)));
}

}  // namespace
