#include "install/member_writer.h"

#include <utility>

#include "core/change_journal.h"
#include "core/context.h"
#include "core/errors.h"
#include "core/fs.h"

namespace install {

namespace {

// The members queued hold at most this many bytes, or number this many,
// besides one larger member alone.
constexpr std::uint64_t kQueuedBytes = 4u << 20;
constexpr std::size_t kQueuedMembers = 1024;
// The writer is woken for this many members, or bytes, at once: waking it
// for each of tens of thousands of small members costs more than writing
// them.
constexpr std::size_t kBatchMembers = 64;
constexpr std::uint64_t kBatchBytes = 1u << 20;

}  // namespace

MemberWriter::MemberWriter(core::Context& ctx, bool threaded) : ctx_(ctx) {
  if (threaded) thread_ = std::jthread([this](const std::stop_token& stop) { work(stop); });
}

MemberWriter::~MemberWriter() {
  if (!thread_.joinable()) return;
  thread_.request_stop();
  thread_.join();
}

bool MemberWriter::queue(std::string target, std::vector<char> data, ArchiveMember member) {
  const std::uint64_t size = data.size();
  Job job{std::move(target), std::move(data), std::move(member)};
  std::unique_lock lock(mutex_);
  if (!thread_.joinable()) {
    rethrowError();
    if (diskFull_) return false;
    std::deque<Job> one;
    one.push_back(std::move(job));
    record(writeAll(one));
  } else {
    idle_.wait(lock, [&] {
      return diskFull_ || error_ || (queue_.size() < kQueuedMembers && (bytes_ == 0 || bytes_ + size <= kQueuedBytes));
    });
    if (!diskFull_ && !error_) {
      bytes_ += size;
      queue_.push_back(std::move(job));
      if (ready()) wake_.notify_one();
    }
  }
  rethrowError();
  return !diskFull_;
}

MemberWriter::Finished MemberWriter::finish() {
  std::unique_lock lock(mutex_);
  waited_ = true;
  wake_.notify_one();
  idle_.wait(lock, [&] { return queue_.empty() && !busy_; });
  waited_ = false;
  rethrowError();
  return {std::exchange(written_, {}), diskFull_};
}

bool MemberWriter::ready() const {
  return !queue_.empty() && (waited_ || queue_.size() >= kBatchMembers || bytes_ >= kBatchBytes);
}

void MemberWriter::work(const std::stop_token& stop) {
  std::unique_lock lock(mutex_);
  while (wake_.wait(lock, stop, [&] { return ready(); })) {
    std::deque<Job> batch = std::exchange(queue_, {});
    busy_ = true;
    lock.unlock();
    Outcome outcome = writeAll(batch);
    lock.lock();
    busy_ = false;
    for (const Job& job : batch) bytes_ -= job.data.size();
    record(std::move(outcome));
    idle_.notify_all();
  }
}

MemberWriter::Outcome MemberWriter::writeAll(std::deque<Job>& jobs) {
  Outcome outcome;
  try {
    for (Job& job : jobs) {
      try {
        auto out = ctx_.fs.createScratchFile(job.target);
        out->write(job.data.data(), job.data.size());
        out->commit();
      } catch (const core::RuntimeError& e) {
        // A full disk stops the extraction; any other member that cannot be
        // written (a name the host refuses, a folder of that name) is
        // skipped.
        if (e.number() != core::err::DiskFull) continue;
        outcome.diskFull = true;
        break;
      }
      if (ctx_.journal) ctx_.journal->memberStored(job.member.stored, job.member.path());
      outcome.written.push_back(std::move(job.member));
    }
  } catch (...) {
    outcome.error = std::current_exception();
  }
  return outcome;
}

void MemberWriter::record(Outcome&& outcome) {
  for (ArchiveMember& member : outcome.written) written_.push_back(std::move(member));
  diskFull_ = diskFull_ || outcome.diskFull;
  if (!error_) error_ = outcome.error;
  if (!diskFull_ && !error_) return;
  // What was queued after the member that stopped the writer is dropped.
  for (const Job& job : queue_) bytes_ -= job.data.size();
  queue_.clear();
}

void MemberWriter::rethrowError() {
  if (error_) std::rethrow_exception(error_);
}

}  // namespace install
