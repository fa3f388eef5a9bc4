#include "install/inflate_ahead.h"

#include <gtest/gtest.h>
#include <libdeflate.h>

#include <string>

namespace {

using install::PackedMember;

std::vector<char> bytesOf(const std::string& s) {
  return {s.begin(), s.end()};
}

std::vector<char> deflate(const std::string& data) {
  libdeflate_compressor* c = libdeflate_alloc_compressor(6);
  std::vector<char> out(libdeflate_deflate_compress_bound(c, data.size()));
  out.resize(libdeflate_deflate_compress(c, data.data(), data.size(), out.data(), out.size()));
  libdeflate_free_compressor(c);
  return out;
}

std::uint32_t crcOf(const std::string& data) {
  return libdeflate_crc32(0, data.data(), data.size());
}

// Text that differs from member to member and deflates.
std::string content(int seed, std::size_t size) {
  std::string s(size, ' ');
  for (std::size_t i = 0; i < size; ++i) s[i] = static_cast<char>('a' + (i * 7 + i / 13 + std::size_t(seed)) % 26);
  return s;
}

// Only data that comes to exactly its declared size and check sum is taken,
// by one unpacker for all members, whatever the member before it was.
TEST(Unpacker, TakesDataOnlyAtItsDeclaredSizeAndCheckSum) {
  const std::string text = content(1, 5000);
  std::vector<char> cut = deflate(text);
  cut.resize(cut.size() / 2);
  const struct {
    const char* name;
    PackedMember member;
    bool taken;
  } cases[] = {
      {"deflated", {deflate(text), true, text.size(), crcOf(text)}, true},
      {"stored", {bytesOf(text), false, text.size(), crcOf(text)}, true},
      {"deflated, a byte more declared", {deflate(text), true, text.size() + 1, crcOf(text)}, false},
      {"deflated, a byte less declared", {deflate(text), true, text.size() - 1, crcOf(text)}, false},
      {"stored, a byte less declared", {bytesOf(text), false, text.size() - 1, crcOf(text)}, false},
      {"another check sum", {deflate(text), true, text.size(), crcOf(text) ^ 1}, false},
      {"stored, another check sum", {bytesOf(text), false, text.size(), crcOf(text) + 1}, false},
      {"cut short", {cut, true, text.size(), crcOf(text)}, false},
      {"not deflated at all", {bytesOf(text), true, text.size(), crcOf(text)}, false},
      {"deflated, after damaged ones", {deflate(text), true, text.size(), crcOf(text)}, true},
  };
  install::Unpacker unpacker;
  for (const auto& c : cases) {
    const auto data = unpacker.unpack(c.member);
    EXPECT_EQ(data.has_value(), c.taken) << c.name;
    if (data) {
      EXPECT_EQ(std::string(data->begin(), data->end()), text) << c.name;
    }
  }
}

// Members handed over in order come back each with its own data, the
// damaged one as nothing, while the bytes in flight stay within the bound.
TEST(InflateAhead, GivesEachMemberItsOwnDataWithinTheBound) {
  constexpr std::uint64_t kBound = 64 << 10;
  install::InflateAhead ahead(kBound, 2);
  EXPECT_FALSE(ahead.fits(kBound, 1));
  EXPECT_FALSE(ahead.take(0).has_value());
  auto text = [](std::size_t i) { return content(int(i), 100 + i * 397); };
  std::size_t next = 0;
  for (std::size_t i = 0; i < 60; ++i) {
    for (; next < 60; ++next) {
      const std::string t = text(next);
      PackedMember m{next % 3 ? deflate(t) : bytesOf(t), next % 3 != 0, t.size(), crcOf(t) + (next == 41)};
      if (!ahead.fits(m.packed.size(), m.size)) break;
      ahead.submit(next, std::move(m));
    }
    const auto data = ahead.take(i);
    EXPECT_EQ(data ? std::string(data->begin(), data->end()) : "none", i == 41 ? "none" : text(i)) << i;
  }
}

}  // namespace
