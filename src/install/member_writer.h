#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "install/archive_members.h"

namespace core {
class Context;
}

namespace install {

// Writes the members that extraction unpacked whole into their files in
// TempZip on a thread of its own, while the extracting thread reads and
// unpacks the next ones.
//
// The file system and the journal serve one thread at a time. While the
// writer holds members, both are its own: the extracting thread calls
// finish(), which waits until every member queued is written, before any
// call of its own into ctx.fs or ctx.journal. Members are written, and the
// journal told of each, in the order they were queued.
//
// A member whose file cannot be made (a name the host refuses) is left out.
// A full disk stops the writer: the members queued after the one that met
// it are dropped, and queue() and finish() say so. Any other error stops it
// too and is thrown again to the extracting thread. The bytes queued stay
// within a bound: queue() waits for room.
class MemberWriter {
 public:
  // Without threaded, each member is written as it is queued, on the
  // caller's thread, with the same outcomes.
  MemberWriter(core::Context& ctx, bool threaded);
  // Drops what is still queued and stops the thread; never throws.
  ~MemberWriter();
  MemberWriter(const MemberWriter&) = delete;
  MemberWriter& operator=(const MemberWriter&) = delete;

  // Queues the member's data for its file target. False when the writer has
  // met a full disk, and the member is not queued.
  [[nodiscard]] bool queue(std::string target, std::vector<char> data, ArchiveMember member);

  struct Finished {
    // The members written since the last finish(), in the order queued.
    std::vector<ArchiveMember> written;
    bool diskFull = false;
  };
  // Waits until every member queued is written or dropped.
  [[nodiscard]] Finished finish();

 private:
  struct Job {
    std::string target;
    std::vector<char> data;
    ArchiveMember member;
  };
  // What writing some members came to.
  struct Outcome {
    std::vector<ArchiveMember> written;
    bool diskFull = false;
    std::exception_ptr error;
  };
  void work(const std::stop_token& stop);
  // Writes the members in order, telling the journal of each, until one
  // meets a full disk or an error; touches none of the state below, so that
  // it runs with the lock released.
  Outcome writeAll(std::deque<Job>& jobs);
  // Takes the outcome into the state below; with the lock held.
  void record(Outcome&& outcome);
  // Whether the writer has enough queued to be worth waking for, or is
  // waited for.
  bool ready() const;
  void rethrowError();

  core::Context& ctx_;
  std::mutex mutex_;
  std::condition_variable_any wake_;  // the writer has work, or stops
  std::condition_variable idle_;      // members were written, or dropped
  std::deque<Job> queue_;
  std::uint64_t bytes_ = 0;  // held by the members queued and those being written
  bool busy_ = false;        // members are being written
  bool waited_ = false;      // finish() waits
  bool diskFull_ = false;
  std::exception_ptr error_;
  std::vector<ArchiveMember> written_;
  std::jthread thread_;  // last: stops and joins before the state above goes
};

}  // namespace install
