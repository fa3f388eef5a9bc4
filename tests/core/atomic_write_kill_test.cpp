#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <thread>

#include "core/atomic_file.h"
#include "support/temp_dir.h"

namespace {

// A process that replaces a file over and over is killed at random moments;
// after each kill the file must be whole: one of the two contents, never a
// mix, never shorter, never missing.
TEST(AtomicWrite, KilledWriterNeverLeavesAMix) {
  testsupport::TempDir tmp;
  const std::string file = tmp.path() + "/panel.cfg";
  const std::string a(256 * 1024, 'a');
  const std::string b = std::string(128 * 1024, 'b') + std::string(200 * 1024, 'B');
  // Kill moments span a few writes as long as they take here: a sanitizer
  // build on a loaded machine writes many times slower than a plain one.
  const auto started = std::chrono::steady_clock::now();
  core::writeFileAtomically(file, b);
  core::writeFileAtomically(file, a);
  const auto perWrite =
      std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - started).count() / 2;
  const int longestWait = static_cast<int>(std::max<long long>(3000, 4 * perWrite));

  std::mt19937 rng(7);
  int sawA = 0, sawB = 0;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(4);
  for (int i = 0; i < 200 && (i < 50 || std::chrono::steady_clock::now() < deadline); ++i) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int n = 0;; ++n) {
        try {
          core::writeFileAtomically(file, n % 2 ? a : b);
        } catch (...) {
          _exit(3);
        }
      }
    }
    std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, longestWait)(rng)));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own";
    const std::string now = testsupport::readHostFile(file);
    if (now == a) {
      ++sawA;
    } else {
      ASSERT_EQ(now.size(), b.size()) << "after kill " << i;
      ASSERT_TRUE(now == b) << "after kill " << i << " the file is a mix";
      ++sawB;
    }
  }
  EXPECT_GT(sawB, 0) << "no write ever completed";
  // Writers killed between creating their temporary file and renaming it
  // leave it behind (hidden); that some did shows the kills hit mid-write.
  int temporaries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
    const std::string name = entry.path().filename().string();
    if (name == "panel.cfg") continue;
    EXPECT_EQ(name.rfind(".hangarpak-", 0), 0u) << name;
    ++temporaries;
  }
  EXPECT_GT(temporaries, 0);
  std::printf("kills: %d, old content: %d, new content: %d, temporaries left: %d\n", sawA + sawB, sawA, sawB,
              temporaries);
}

}  // namespace
