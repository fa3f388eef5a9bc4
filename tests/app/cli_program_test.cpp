#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "cli_fixture.h"
#include "core/profile.h"
#include "support/temp_dir.h"

namespace {

using clitest::runProgram;
using clitest::startProgram;
using testsupport::readHostFile;
using testsupport::TempDir;
using testsupport::writeHostFile;

// A writer killed at any moment leaves the old file or the new one, never a
// mix: the program is killed at random moments while it rewrites a large
// file, and each time the file must be exactly one of the two.
TEST(CliProgram, KilledWriterLeavesTheOldFileOrTheNewOne) {
  TempDir tmp, home;
  // The program's own folders (where it records its writes) are the test's.
  core::Environment env;
  env.set("HOME", home.path());
  env.set("HANGARPAK_HOME", home.path() + "/app");
  std::filesystem::create_directories(home.path() + "/app");
  const std::string file = tmp.path() + "/aircraft.cfg";
  std::string bytes;
  for (int s = 0; s < 100; ++s) {
    bytes += "[fltsim." + std::to_string(s) + "]\r\n";
    for (int k = 0; k < 49; ++k)
      bytes += "key" + std::to_string(k) + "=value of key " + std::to_string(k) + " in section " + std::to_string(s) +
               "\r\n";
  }
  writeHostFile(file, bytes);

  // How long one undisturbed write takes, so the kills spread over it.
  auto timeOneWrite = [&](const std::string& value) {
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(runProgram({"cfg", "set", file, "fltsim.50", "key7", value}, &env).status, 0);
    bytes = core::profile::withValue(bytes, "fltsim.50", "key7", value);
    return std::chrono::steady_clock::now() - t0;
  };
  auto duration = timeOneWrite("warm-up 1");
  duration = std::max(duration, timeOneWrite("warm-up 2"));

  std::mt19937 rng(42);
  int replaced = 0, kept = 0;
  for (int i = 0; i < 50; ++i) {
    const std::string value = "value " + std::to_string(i);
    const std::string next = core::profile::withValue(bytes, "fltsim.50", "key7", value);
    const pid_t pid = startProgram({"cfg", "set", file, "fltsim.50", "key7", value}, -1, &env);
    ASSERT_GT(pid, 0);
    std::this_thread::sleep_for(duration * std::uniform_real_distribution<double>(0.0, 1.5)(rng));
    kill(pid, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    const std::string now = readHostFile(file);
    if (now == next) {
      ++replaced;
      bytes = next;
    } else {
      ASSERT_EQ(now, bytes) << "after kill " << i << " the file is neither the old nor the new one";
      ++kept;
    }
  }
  // Both outcomes happened, so the kills did land while writing.
  EXPECT_GT(replaced, 0);
  EXPECT_GT(kept, 0);
  // Killed writers may leave hidden temporaries behind, never another file.
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
    const std::string name = entry.path().filename().string();
    if (name != "aircraft.cfg") {
      EXPECT_EQ(name.rfind(".hangarpak-", 0), 0u) << name;
    }
  }
}

// Output the program cannot write is a failure that names its cause, never
// a status 0 over a listing cut short: stdout on a full disk, for a short
// answer and for the listings that end the process themselves.
class CliOutputTest : public clitest::CliFixture, public testing::WithParamInterface<std::vector<std::string>> {};

TEST_P(CliOutputTest, ThatCannotBeWrittenIsAFailureNamingTheCause) {
  useSimulator();
  writeFile(air("Hopper\\aircraft.cfg"), "[fltsim.0]\r\ntitle=Hopper\r\nsim=hopper\r\npanel=\r\nsound=\r\n");
  const std::string errFile = root + "/stderr";
  const int full = open("/dev/full", O_WRONLY | O_CLOEXEC);
  const int err = open(errFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
  ASSERT_GE(full, 0);
  ASSERT_GE(err, 0);
  const pid_t pid = startProgram(GetParam(), full, &env, err);
  close(full);
  close(err);
  ASSERT_GT(pid, 0);
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_NE(readHostFile(errFile).find("the output could not be written (No space left on device)"), std::string::npos)
      << readHostFile(errFile);
}

INSTANTIATE_TEST_SUITE_P(Commands, CliOutputTest,
                         testing::Values(std::vector<std::string>{"--help"},
                                         std::vector<std::string>{"list", "aircraft"},
                                         std::vector<std::string>{"scan", "aircraft", "--json"}));

}  // namespace
