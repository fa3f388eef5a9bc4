#pragma once

// The little-endian fields of ZIP records, for tests that write or alter
// archives byte by byte.

#include <cstdint>
#include <string>

namespace testsupport {

// Appends value in `bytes` bytes; a field wider than 8 bytes is zero beyond.
inline void le(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += i < 8 ? static_cast<char>((value >> (8 * i)) & 0xff) : '\0';
}

inline void putLe(std::string& bytes, std::size_t at, std::uint64_t value, int size) {
  for (int i = 0; i < size; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

inline std::uint32_t getLe(const std::string& bytes, std::size_t at, int size) {
  std::uint32_t v = 0;
  for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

// Where the end of central directory record starts.
inline std::size_t endRecord(const std::string& zip) {
  return zip.rfind("PK\x05\x06");
}

}  // namespace testsupport
