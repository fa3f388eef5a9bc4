#include "app/cli_output_buffer.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ostream>
#include <system_error>

namespace app {

DescriptorOutput::DescriptorOutput(int fd) : fd_(fd), byLine_(::isatty(fd) == 1) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DescriptorOutput::~DescriptorOutput() {
  drain();
}

bool DescriptorOutput::writeAll(const char* bytes, std::size_t size) {
  while (size > 0 && failure_ == 0) {
    const ssize_t n = ::write(fd_, bytes, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failure_ = n < 0 ? errno : EIO;
      break;
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
  return failure_ == 0;
}

// Writes what the buffer holds and empties it.
bool DescriptorOutput::drain() {
  const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return written;
}

DescriptorOutput::int_type DescriptorOutput::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  if (byLine_ && traits_type::to_char_type(c) == '\n' && !drain()) return traits_type::eof();
  return c;
}

std::streamsize DescriptorOutput::xsputn(const char* s, std::streamsize n) {
  if (failure_ != 0 || n <= 0) return 0;
  const auto size = static_cast<std::size_t>(n);
  const auto room = static_cast<std::size_t>(epptr() - pptr());
  if (size <= room) {
    std::memcpy(pptr(), s, size);
    pbump(static_cast<int>(n));
    if (byLine_ && std::memchr(s, '\n', size) != nullptr && !drain()) return 0;
    return n;
  }
  // More than the buffer takes: what it holds first, then these bytes
  // straight through.
  if (!drain() || !writeAll(s, size)) return 0;
  return n;
}

int DescriptorOutput::sync() {
  return drain() ? 0 : -1;
}

int statusAfterOutput(std::ostream& out, const DescriptorOutput& buffer, std::ostream& err, int status) {
  out.flush();
  if (out && buffer.failure() == 0) return status;
  const std::string cause =
      buffer.failure() != 0 ? std::generic_category().message(buffer.failure()) : "a write failed";
  err << "hangarpak-cli: the output could not be written (" << cause << ")\n";
  err.flush();
  return status == 0 ? 1 : status;
}

}  // namespace app
