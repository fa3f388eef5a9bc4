#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <stop_token>
#include <thread>
#include <vector>

struct libdeflate_decompressor;

namespace install {

// One member of an archive in memory: its bytes as the archive stores them,
// and what they must unpack to.
struct PackedMember {
  std::vector<char> packed;
  bool deflated = false;   // else stored as it is
  std::uint64_t size = 0;  // the size the archive declares
  std::uint32_t crc = 0;   // the check sum it declares
};

// Unpacks members whole, one after another, with one decompressor made
// once: making one for each of tens of thousands of small members costs
// more than unpacking them. One thread at a time.
class Unpacker {
 public:
  Unpacker();
  ~Unpacker();
  Unpacker(const Unpacker&) = delete;
  Unpacker& operator=(const Unpacker&) = delete;

  // The member's data, when it unpacks to exactly its declared size and
  // matches its check sum; nullopt otherwise (damaged, or the sizes lie:
  // the caller reads it again through the ZIP library to say what is
  // wrong).
  [[nodiscard]] std::optional<std::vector<char>> unpack(PackedMember member);

 private:
  libdeflate_decompressor* decompressor_;
};

// Unpacks members on worker threads while the caller writes those before
// them. The caller hands members over in archive order (submit) and takes
// each one's data (take) when it comes to it. The bytes of the members
// handed over and not yet taken, packed and unpacked, stay within the bound
// given; a member larger than that is not handed over at all.
class InflateAhead {
 public:
  InflateAhead(std::uint64_t memoryBound, unsigned workers);
  ~InflateAhead();
  InflateAhead(const InflateAhead&) = delete;
  InflateAhead& operator=(const InflateAhead&) = delete;

  // Whether a member of this size, packed and unpacked, fits beside the
  // members in flight.
  [[nodiscard]] bool fits(std::uint64_t packedSize, std::uint64_t size) const;
  // Hands member number index over; it must fit.
  void submit(std::uint64_t index, PackedMember member);
  // Whether member number index was handed over and not taken yet.
  [[nodiscard]] bool holds(std::uint64_t index) const;
  // Waits for member number index and gives its data (see Unpacker::unpack);
  // nullopt when it was not handed over.
  [[nodiscard]] std::optional<std::vector<char>> take(std::uint64_t index);

 private:
  struct Job {
    PackedMember member;
    std::uint64_t bytes = 0;  // counted against the bound
    bool done = false;
    std::optional<std::vector<char>> data;
  };
  void work(const std::stop_token& stop);

  const std::uint64_t bound_;
  mutable std::mutex mutex_;
  std::condition_variable_any wake_;  // a job was handed over, or the pool stops
  std::condition_variable finished_;  // a job was done
  std::map<std::uint64_t, Job> jobs_;
  std::deque<std::uint64_t> queue_;  // jobs not started, oldest first
  std::uint64_t inFlight_ = 0;
  std::vector<std::jthread> workers_;
};

}  // namespace install
