#include "install/inflate_ahead.h"

#include <libdeflate.h>

#include <algorithm>

namespace install {

Unpacker::Unpacker() : decompressor_(libdeflate_alloc_decompressor()) {}

Unpacker::~Unpacker() {
  libdeflate_free_decompressor(decompressor_);
}

std::optional<std::vector<char>> Unpacker::unpack(PackedMember member) {
  std::vector<char> data;
  if (!member.deflated) {
    if (member.packed.size() != member.size) return std::nullopt;
    data = std::move(member.packed);
  } else {
    data.resize(static_cast<std::size_t>(member.size));
    // Without a place for the actual size, anything but exactly the
    // declared size fails.
    if (!decompressor_ || libdeflate_deflate_decompress(decompressor_, member.packed.data(), member.packed.size(),
                                                        data.data(), data.size(), nullptr) != LIBDEFLATE_SUCCESS)
      return std::nullopt;
  }
  if (libdeflate_crc32(0, data.data(), data.size()) != member.crc) return std::nullopt;
  return data;
}

InflateAhead::InflateAhead(std::uint64_t memoryBound, unsigned workers) : bound_(memoryBound) {
  for (unsigned i = 0; i < std::max(workers, 1u); ++i)
    workers_.emplace_back([this](const std::stop_token& stop) { work(stop); });
}

InflateAhead::~InflateAhead() {
  for (auto& worker : workers_) worker.request_stop();
  wake_.notify_all();
  workers_.clear();  // joins
}

bool InflateAhead::fits(std::uint64_t packedSize, std::uint64_t size) const {
  const std::uint64_t bytes = packedSize + size;
  if (bytes < packedSize || bytes > bound_) return false;
  const std::lock_guard lock(mutex_);
  return inFlight_ + bytes <= bound_;
}

void InflateAhead::submit(std::uint64_t index, PackedMember member) {
  {
    const std::lock_guard lock(mutex_);
    Job& job = jobs_[index];
    job.bytes = member.packed.size() + member.size;
    job.member = std::move(member);
    inFlight_ += job.bytes;
    queue_.push_back(index);
  }
  wake_.notify_one();
}

bool InflateAhead::holds(std::uint64_t index) const {
  const std::lock_guard lock(mutex_);
  return jobs_.count(index) != 0;
}

std::optional<std::vector<char>> InflateAhead::take(std::uint64_t index) {
  std::unique_lock lock(mutex_);
  auto it = jobs_.find(index);
  if (it == jobs_.end()) return std::nullopt;
  finished_.wait(lock, [&] { return it->second.done; });
  std::optional<std::vector<char>> data;
  data.swap(it->second.data);
  inFlight_ -= it->second.bytes;
  jobs_.erase(it);
  return data;
}

void InflateAhead::work(const std::stop_token& stop) {
  Unpacker unpacker;
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [&] { return !queue_.empty(); })) {
    const std::uint64_t index = queue_.front();
    queue_.pop_front();
    // The job stays in the map until taken, and only this worker touches
    // its member and data meanwhile.
    Job& job = jobs_.at(index);
    lock.unlock();
    auto data = unpacker.unpack(std::move(job.member));
    lock.lock();
    job.data = std::move(data);
    job.done = true;
    finished_.notify_all();
  }
}

}  // namespace install
