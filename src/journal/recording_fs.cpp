#include "journal/recording_fs.h"

#include "core/content_hash.h"
#include "core/errors.h"
#include "journal/recorder.h"

namespace journal {

namespace {

// Hashes the bytes on their way to the file and reports the new content to
// the recorder when the file is committed: a recorded file's with its intent
// written just before, a scratch file's (the program's own) as the content
// a file placed from it will hold.
class HashingWriter : public core::FileWriter {
 public:
  HashingWriter(std::string path, std::unique_ptr<core::FileWriter> inner, Recorder& recorder, bool scratch)
      : path_(std::move(path)), inner_(std::move(inner)), recorder_(recorder), scratch_(scratch) {}

  void write(const char* data, std::size_t size) override {
    inner_->write(data, size);
    hasher_.update(data, size);
    size_ += size;
  }

  void commit() override {
    if (scratch_) {
      inner_->commit();
      return recorder_.scratchWritten(path_, {size_, hasher_.hex()});
    }
    if (!recorder_.records(path_)) return inner_->commit();
    const auto prior = recorder_.beforeReplace(path_);
    try {
      inner_->commit();
    } catch (...) {
      recorder_.replaceFailed(prior);
      throw;
    }
    recorder_.replaced(prior, size_, hasher_.hex());
  }

 private:
  std::string path_;
  std::unique_ptr<core::FileWriter> inner_;
  Recorder& recorder_;
  const bool scratch_;
  core::ContentHasher hasher_;
  std::uint64_t size_ = 0;
};

}  // namespace

void RecordingFileSystem::writeFile(std::string_view path, std::string_view bytes) {
  if (!recorder_.records(path)) {
    recorder_.scratchChanged(path);
    return inner_.writeFile(path, bytes);
  }
  const auto prior = recorder_.beforeReplace(path);
  try {
    inner_.writeFile(path, bytes);
  } catch (...) {
    recorder_.replaceFailed(prior);
    throw;
  }
  recorder_.replaced(prior, bytes.size(), core::contentHash(bytes));
}

std::unique_ptr<core::FileWriter> RecordingFileSystem::createFile(std::string_view path) {
  auto writer = inner_.createFile(path);
  if (!recorder_.records(path)) {
    recorder_.scratchChanged(path);
    return writer;
  }
  return std::make_unique<HashingWriter>(std::string(path), std::move(writer), recorder_, false);
}

std::unique_ptr<core::FileWriter> RecordingFileSystem::createScratchFile(std::string_view path) {
  if (recorder_.records(path)) return createFile(path);
  recorder_.scratchChanged(path);
  auto writer = inner_.createScratchFile(path);
  if (!recorder_.open()) return writer;
  return std::make_unique<HashingWriter>(std::string(path), std::move(writer), recorder_, true);
}

void RecordingFileSystem::copyFile(std::string_view from, std::string_view to) {
  copyFileSeen(from, to, {});
}

void RecordingFileSystem::copyFileSeen(std::string_view from, std::string_view to, const BlockSeen& seen) {
  if (!recorder_.records(to)) {
    recorder_.scratchChanged(to);
    if (seen) return inner_.copyFileSeen(from, to, seen);
    return inner_.copyFile(from, to);
  }
  const auto prior = recorder_.beforeReplace(to);
  core::ContentHasher hasher;
  std::uint64_t size = 0;
  try {
    inner_.copyFileSeen(from, to, [&](const char* data, std::size_t n) {
      hasher.update(data, n);
      size += n;
      if (seen) seen(data, n);
    });
  } catch (...) {
    recorder_.replaceFailed(prior);
    throw;
  }
  recorder_.replaced(prior, size, hasher.hex());
}

void RecordingFileSystem::linkFile(std::string_view from, std::string_view to) {
  place(from, to, [&] { inner_.linkFile(from, to); });
}

void RecordingFileSystem::moveFile(std::string_view from, std::string_view to) {
  place(from, to, [&] { inner_.moveFile(from, to); });
  // A recorded move took the source's content already (place).
  if (!recorder_.records(to)) recorder_.scratchChanged(from);
}

template <class Give>
void RecordingFileSystem::place(std::string_view from, std::string_view to, Give give) {
  if (!recorder_.records(to)) {
    recorder_.scratchChanged(to);
    return give();
  }
  // The source is what the target becomes, and nothing writes it meanwhile:
  // its content as it was written, or else as it reads now; one that cannot
  // be read is the copy's to report.
  std::pair<std::uint64_t, std::string> placed;
  if (auto written = recorder_.takeScratch(from)) {
    placed = {written->size, std::move(written->hash)};
  } else {
    try {
      placed = hashHostFile(inner_.hostPath(from));
    } catch (const core::RuntimeError&) {
      return copyFileSeen(from, to, {});
    }
  }
  const auto prior = recorder_.beforeReplace(to);
  try {
    give();
  } catch (...) {
    recorder_.replaceFailed(prior);
    throw;
  }
  recorder_.replaced(prior, placed.first, std::move(placed.second));
}

void RecordingFileSystem::renameFile(std::string_view from, std::string_view to) {
  recorder_.scratchChanged(from);
  recorder_.scratchChanged(to);
  inner_.renameFile(from, to);
  if (recorder_.records(to) || recorder_.records(from))
    recorder_.noted(EffectKind::FileRenamed, to, "renamed from " + std::string(from));
}

void RecordingFileSystem::deleteFile(std::string_view path) {
  if (!recorder_.records(path)) {
    recorder_.scratchChanged(path);
    return inner_.deleteFile(path);
  }
  const auto prior = recorder_.beforeDelete(path);
  try {
    inner_.deleteFile(path);
  } catch (...) {
    recorder_.replaceFailed(prior);
    throw;
  }
  recorder_.deleted(prior);
}

void RecordingFileSystem::makeFolder(std::string_view path) {
  // One that is there already is refused below, and no intent of this
  // installation may name it.
  if (!recorder_.records(path) || inner_.folderExists(path)) return inner_.makeFolder(path);
  const std::size_t intent = recorder_.folderCreating(path);
  try {
    inner_.makeFolder(path);
  } catch (...) {
    recorder_.folderNotMade(intent);
    throw;
  }
}

void RecordingFileSystem::removeFolder(std::string_view path) {
  if (!recorder_.records(path) || !inner_.folderExists(path)) return inner_.removeFolder(path);
  const std::size_t intent = recorder_.folderRemoving(path);
  try {
    inner_.removeFolder(path);
  } catch (...) {
    recorder_.folderNotRemoved(intent);
    throw;
  }
}

}  // namespace journal
