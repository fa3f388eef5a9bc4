#include "support/forwarding_fs.h"

#include <algorithm>
#include <cerrno>

#include "core/errors.h"
#include "core/text.h"

namespace testsupport {

// Hands the bytes that are still allowed to the real writer, so that the
// temporary file really holds a partial copy when the fault strikes.
class FailingWriter : public core::FileWriter {
 public:
  FailingWriter(ForwardingFs& owner, std::unique_ptr<core::FileWriter> inner, std::string path)
      : owner_(owner), inner_(std::move(inner)), path_(std::move(path)) {}

  void write(const char* data, std::size_t size) override {
    if (owner_.failAfterBytes) {
      const std::size_t limit = *owner_.failAfterBytes;
      const std::size_t left = limit > owner_.bytesWritten ? limit - owner_.bytesWritten : 0;
      if (size > left) {
        inner_->write(data, left);
        owner_.bytesWritten += left;
        core::RuntimeError full(core::err::DiskFull, "disk full after " + std::to_string(limit) + " bytes", ENOSPC);
        full.setTarget(path_, written_ + size);
        throw full;
      }
    }
    inner_->write(data, size);
    owner_.bytesWritten += size;
    written_ += size;
  }

  void commit() override {
    if (owner_.failAtCommit) throw core::RuntimeError(core::err::DiskFull, "disk full at commit");
    inner_->commit();
  }

 private:
  ForwardingFs& owner_;
  std::unique_ptr<core::FileWriter> inner_;
  std::string path_;
  std::uint64_t written_ = 0;
};

bool ForwardingFs::under(std::string_view path) const {
  return onlyUnder.empty() || core::istartsWith(path, onlyUnder);
}

void ForwardingFs::refuseWrite(std::string_view path) const {
  if (!under(path) || !failWrite || !failWrite(path)) return;
  if (failWriteErrno == 0) throw core::RuntimeError(core::err::PathFileAccess);
  core::RuntimeError refused(core::errorNumberFromErrno(failWriteErrno), std::string(path), failWriteErrno);
  refused.setTarget(std::string(path), 0);
  throw refused;
}

bool ForwardingFs::armed(std::string_view path) const {
  return under(path) && (failAfterBytes || failAtCommit);
}

std::unique_ptr<core::FileWriter> ForwardingFs::openWriter(std::string_view path) {
  if (!under(path)) return inner_.createFile(path);
  return std::make_unique<FailingWriter>(*this, inner_.createFile(path), std::string(path));
}

std::string ForwardingFs::readFile(std::string_view path) {
  if (failRead && failRead(path)) throw core::RuntimeError(core::err::PathFileAccess);
  return inner_.readFile(path);
}

void ForwardingFs::writeFile(std::string_view path, std::string_view bytes) {
  refuseWrite(path);
  if (armed(path)) {
    auto writer = openWriter(path);
    writer->write(bytes.data(), bytes.size());
    writer->commit();
  } else {
    inner_.writeFile(path, bytes);
  }
  lastWrittenPath = std::string(path);
  lastWritten = std::string(bytes);
}

std::unique_ptr<core::FileWriter> ForwardingFs::createFile(std::string_view path) {
  refuseWrite(path);
  return openWriter(path);
}

void ForwardingFs::copyFile(std::string_view from, std::string_view to) {
  refuseWrite(to);
  if (!armed(to)) return inner_.copyFile(from, to);
  const std::string bytes = readFile(from);
  auto writer = openWriter(to);
  constexpr std::size_t kBlock = 4096;
  for (std::size_t pos = 0; pos < bytes.size(); pos += kBlock)
    writer->write(bytes.data() + pos, std::min(kBlock, bytes.size() - pos));
  writer->commit();
}

void ForwardingFs::deleteFile(std::string_view path) {
  if (failDelete && failDelete(path)) throw core::RuntimeError(core::err::PermissionDenied);
  inner_.deleteFile(path);
}

}  // namespace testsupport
