#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/atomic_file.h"
#include "support/temp_dir.h"

namespace {

std::string bytesOf(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file is read whole whatever its size says: nothing for an empty one,
// every byte of one that the size reaches exactly or by a block boundary,
// and the whole text of a kernel file that tells no size at all.
TEST(ReadHostFile, ReadsTheWholeFileWhateverItsSizeTells) {
  testsupport::TempDir tmp;
  for (std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{65536}, std::size_t{3 * 1024 * 1024 + 17}}) {
    SCOPED_TRACE(size);
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 131) ^ (i >> 9));
    const std::string file = tmp.path() + "/" + std::to_string(size);
    testsupport::writeHostFile(file, bytes);
    EXPECT_TRUE(core::readHostFile(file) == bytes);
  }
  const std::string cmdline = core::readHostFile("/proc/self/cmdline");
  EXPECT_FALSE(cmdline.empty());
  EXPECT_EQ(cmdline, bytesOf("/proc/self/cmdline"));
}

}  // namespace
