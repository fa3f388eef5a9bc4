#include "install/member_layout.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace install {

namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kZip64LocatorSignature = 0x07064b50;
constexpr std::uint32_t kZip64EndSignature = 0x06064b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::size_t kLongestComment = 0xffff;
// The central directory is read whole; one larger than this belongs to no
// archive the bounds would let through anyway.
constexpr std::uint64_t kLargestDirectory = std::uint64_t{64} << 20;

std::uint64_t le(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

class ArchiveFile {
 public:
  explicit ArchiveFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {
    struct stat st;
    if (fd_ >= 0 && ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = static_cast<std::uint64_t>(st.st_size);
  }
  ~ArchiveFile() {
    if (fd_ >= 0) ::close(fd_);
  }
  ArchiveFile(const ArchiveFile&) = delete;
  ArchiveFile& operator=(const ArchiveFile&) = delete;

  std::uint64_t size() const { return size_; }

  // count bytes from at, valid until the next call; nullptr past the end or
  // when they cannot be read. Read through a window of kWindow bytes, so
  // that the local headers of an archive's small members, met in the order
  // they lie in, cost a read of the file for each window rather than each.
  const unsigned char* peek(std::uint64_t at, std::size_t count) {
    if (at >= windowAt_ && count <= window_.size() && at - windowAt_ <= window_.size() - count)
      return window_.data() + (at - windowAt_);
    auto bytes =
        read(at, std::max<std::uint64_t>(count, std::min<std::uint64_t>(kWindow, size_ - std::min(at, size_))));
    if (!bytes || bytes->size() < count) return nullptr;
    window_ = std::move(*bytes);
    windowAt_ = at;
    return window_.data();
  }

  std::optional<std::vector<unsigned char>> read(std::uint64_t at, std::uint64_t count) const {
    if (at > size_ || count > size_ - at) return std::nullopt;
    std::vector<unsigned char> bytes(static_cast<std::size_t>(count));
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(at + done));
      if (n <= 0) return std::nullopt;
      done += static_cast<std::size_t>(n);
    }
    return bytes;
  }

 private:
  static constexpr std::uint64_t kWindow = 64 * 1024;
  int fd_;
  std::uint64_t size_ = 0;
  std::vector<unsigned char> window_;  // the bytes from windowAt_ last read by peek
  std::uint64_t windowAt_ = 0;
};

struct Directory {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

std::optional<Directory> findDirectory(const ArchiveFile& file) {
  if (file.size() < kEndSize) return std::nullopt;
  const std::uint64_t tail = std::min<std::uint64_t>(file.size(), kEndSize + kLongestComment);
  const auto bytes = file.read(file.size() - tail, tail);
  if (!bytes) return std::nullopt;
  for (std::size_t at = bytes->size() - kEndSize + 1; at-- > 0;) {
    const unsigned char* p = bytes->data() + at;
    if (le(p, 4) != kEndSignature) continue;
    Directory dir{le(p + 16, 4), le(p + 12, 4)};
    const std::uint64_t endAt = file.size() - tail + at;
    if ((dir.offset == 0xffffffff || dir.size == 0xffffffff) && endAt >= 20) {
      const auto locator = file.read(endAt - 20, 20);
      if (locator && le(locator->data(), 4) == kZip64LocatorSignature) {
        const auto end64 = file.read(le(locator->data() + 8, 8), 56);
        if (!end64 || le(end64->data(), 4) != kZip64EndSignature) return std::nullopt;
        dir = {le(end64->data() + 48, 8), le(end64->data() + 40, 8)};
      }
    }
    return dir;
  }
  return std::nullopt;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
  std::uint64_t sum;
  return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

// Where each member's local header starts and where its data ends.
std::optional<std::vector<std::pair<std::uint64_t, std::uint64_t>>> memberRanges(ArchiveFile& file,
                                                                                 const Directory& dir) {
  if (dir.size > kLargestDirectory) return std::nullopt;
  const auto cd = file.read(dir.offset, dir.size);
  if (!cd) return std::nullopt;
  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  std::size_t at = 0;
  while (at + kCentralSize <= cd->size() && le(cd->data() + at, 4) == kCentralSignature) {
    const unsigned char* p = cd->data() + at;
    std::uint64_t compressed = le(p + 20, 4);
    const std::uint64_t uncompressed = le(p + 24, 4);
    const std::size_t nameLength = le(p + 28, 2), extraLength = le(p + 30, 2), commentLength = le(p + 32, 2);
    std::uint64_t offset = le(p + 42, 4);
    if (at + kCentralSize + nameLength + extraLength > cd->size()) return std::nullopt;
    // The 64-bit extra field holds, in this order, those sizes that did not
    // fit their 32-bit fields.
    const unsigned char* extra = p + kCentralSize + nameLength;
    for (std::size_t e = 0; e + 4 <= extraLength;) {
      const std::size_t length = le(extra + e + 2, 2);
      if (le(extra + e, 2) == 1) {
        std::size_t field = e + 4;
        auto next = [&](std::uint64_t& value) {
          if (value != 0xffffffff || field + 8 > e + 4 + length || field + 8 > extraLength) return;
          value = le(extra + field, 8);
          field += 8;
        };
        std::uint64_t unused = uncompressed;
        next(unused);
        next(compressed);
        next(offset);
      }
      e += 4 + length;
    }
    at += kCentralSize + nameLength + extraLength + commentLength;
    // A member without its local header cannot be opened by the library
    // either, so it adds no bytes.
    const unsigned char* local = file.peek(offset, kLocalSize);
    if (!local || le(local, 4) != kLocalSignature) continue;
    const std::uint64_t header = kLocalSize + le(local + 26, 2) + le(local + 28, 2);
    ranges.emplace_back(offset, saturatingAdd(offset, saturatingAdd(header, compressed)));
  }
  return ranges;
}

}  // namespace

MemberLayout CheckMemberLayout(const std::string& hostPath) {
  ArchiveFile file(hostPath);
  const auto dir = findDirectory(file);
  if (!dir) return MemberLayout::Apart;
  auto ranges = memberRanges(file, *dir);
  if (!ranges) return MemberLayout::Apart;
  std::sort(ranges->begin(), ranges->end());
  std::uint64_t end = 0;
  for (std::size_t i = 0; i < ranges->size(); ++i) {
    if (i > 0 && (*ranges)[i].first < end) return MemberLayout::Overlapping;
    end = std::max(end, (*ranges)[i].second);
  }
  return MemberLayout::Apart;
}

}  // namespace install
