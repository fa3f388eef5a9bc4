#pragma once

#include <array>
#include <iosfwd>
#include <streambuf>

namespace app {

// An output stream's buffer over a file descriptor (hangarpak-cli's stdout)
// that remembers why a write failed: output that cannot be written (a full
// disk, a pipe whose reader is gone) must make the run a failure with its
// cause, not a status 0 over a cut-off listing. After the first failure the
// rest of the output is refused, so the stream goes bad and stays so. On a
// terminal each line is written as it ends, as a person reads along;
// elsewhere the output goes in large blocks.
class DescriptorOutput : public std::streambuf {
 public:
  explicit DescriptorOutput(int fd);
  ~DescriptorOutput() override;
  DescriptorOutput(const DescriptorOutput&) = delete;
  DescriptorOutput& operator=(const DescriptorOutput&) = delete;

  // The errno of the first failed write; 0 while every write succeeded.
  int failure() const { return failure_; }

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool writeAll(const char* bytes, std::size_t size);
  bool drain();

  int fd_;
  bool byLine_;
  int failure_ = 0;
  std::array<char, 1 << 15> buffer_{};
};

// The run's status once out, written through buffer, is flushed: a run
// whose output could not be written has failed (1 where it would have been
// 0), and err says why.
int statusAfterOutput(std::ostream& out, const DescriptorOutput& buffer, std::ostream& err, int status);

}  // namespace app
