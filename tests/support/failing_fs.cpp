#include "support/failing_fs.h"

#include <algorithm>

#include "core/errors.h"
#include "core/text.h"

namespace testsupport {

// Hands the bytes that are still allowed to the real writer, so that the
// temporary file really holds a partial copy when the fault strikes.
class FailingWriter : public core::FileWriter {
 public:
  FailingWriter(FailingFileSystem& owner, std::unique_ptr<core::FileWriter> inner)
      : owner_(owner), inner_(std::move(inner)) {}

  void write(const char* data, std::size_t size) override {
    if (owner_.failAfterBytes) {
      const std::size_t limit = *owner_.failAfterBytes;
      const std::size_t left = limit > owner_.bytesWritten ? limit - owner_.bytesWritten : 0;
      if (size > left) {
        inner_->write(data, left);
        owner_.bytesWritten += left;
        fail("disk full after " + std::to_string(limit) + " bytes");
      }
    }
    inner_->write(data, size);
    owner_.bytesWritten += size;
  }

  void commit() override {
    if (owner_.failAtCommit) fail("disk full at commit");
    inner_->commit();
    ++owner_.commits;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    ++owner_.failures;
    throw core::RuntimeError(core::err::DiskFull, what);
  }

  FailingFileSystem& owner_;
  std::unique_ptr<core::FileWriter> inner_;
};

void FailingFileSystem::writeFile(std::string_view path, std::string_view bytes) {
  auto writer = createFile(path);
  writer->write(bytes.data(), bytes.size());
  writer->commit();
}

std::unique_ptr<core::FileWriter> FailingFileSystem::createFile(std::string_view path) {
  if (!onlyUnder.empty() && !core::istartsWith(path, onlyUnder)) return inner_.createFile(path);
  return std::make_unique<FailingWriter>(*this, inner_.createFile(path));
}

void FailingFileSystem::copyFile(std::string_view from, std::string_view to) {
  const std::string bytes = inner_.readFile(from);
  auto writer = createFile(to);
  // In blocks, like a streaming copy, so that a limit can fall inside one.
  constexpr std::size_t kBlock = 4096;
  for (std::size_t pos = 0; pos < bytes.size(); pos += kBlock)
    writer->write(bytes.data() + pos, std::min(kBlock, bytes.size() - pos));
  writer->commit();
}

}  // namespace testsupport
