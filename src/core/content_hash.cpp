#include "core/content_hash.h"

#include <xxhash.h>

#include <cstdio>
#include <new>

namespace core {

struct ContentHasher::State {
  XXH3_state_t* xxh = XXH3_createState();
  ~State() { XXH3_freeState(xxh); }
};

ContentHasher::ContentHasher() : state_(std::make_unique<State>()) {
  if (!state_->xxh) throw std::bad_alloc();
  XXH3_128bits_reset(state_->xxh);
}

ContentHasher::~ContentHasher() = default;

void ContentHasher::update(const char* data, std::size_t size) {
  XXH3_128bits_update(state_->xxh, data, size);
}

std::string ContentHasher::hex() const {
  const XXH128_hash_t h = XXH3_128bits_digest(state_->xxh);
  char text[33];
  std::snprintf(text, sizeof text, "%016llx%016llx", static_cast<unsigned long long>(h.high64),
                static_cast<unsigned long long>(h.low64));
  return text;
}

std::string contentHash(std::string_view bytes) {
  ContentHasher hasher;
  hasher.update(bytes.data(), bytes.size());
  return hasher.hex();
}

}  // namespace core
