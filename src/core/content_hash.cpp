#include "core/content_hash.h"

#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

namespace core {

namespace {

// The hash as 32 lower-case hex digits, the high half first.
std::string hexOf(const XXH128_hash_t& hash) {
  XXH128_canonical_t canonical;
  XXH128_canonicalFromHash(&canonical, hash);
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text(2 * sizeof canonical.digest, '0');
  for (std::size_t i = 0; i < sizeof canonical.digest; ++i) {
    text[2 * i] = kDigits[canonical.digest[i] >> 4];
    text[2 * i + 1] = kDigits[canonical.digest[i] & 0xf];
  }
  return text;
}

}  // namespace

// Held in place rather than made by the library, so that hashing one of an
// archive's thousands of small members costs no allocation of its own.
struct ContentHasher::State {
  XXH3_state_t xxh;
};

ContentHasher::ContentHasher() : state_(std::make_unique<State>()) {
  XXH3_INITSTATE(&state_->xxh);
  XXH3_128bits_reset(&state_->xxh);
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::update(const char* data, std::size_t size) {
  XXH3_128bits_update(&state_->xxh, data, size);
}

std::string ContentHasher::hex() const {
  return hexOf(XXH3_128bits_digest(&state_->xxh));
}

std::string contentHash(std::string_view bytes) {
  return hexOf(XXH3_128bits(bytes.data(), bytes.size()));
}

}  // namespace core
