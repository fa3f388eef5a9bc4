#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace core {

// The content hash of the install journal and the dry-run plan: XXH3 128-bit,
// written as 32 lower-case hex digits. Fast and not cryptographic: it tells
// whether a file is still what an installation wrote, not whether anybody
// tampered with it.
class ContentHasher {
 public:
  ContentHasher();
  ~ContentHasher();
  ContentHasher(const ContentHasher&) = delete;
  ContentHasher& operator=(const ContentHasher&) = delete;

  void update(const char* data, std::size_t size);
  // The hash of everything given so far.
  std::string hex() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

std::string contentHash(std::string_view bytes);

}  // namespace core
