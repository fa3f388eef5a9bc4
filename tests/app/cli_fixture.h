#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/cli.h"
#include "core/settings.h"
#include "support/archive_builder.h"
#include "support/built_paths.h"
#include "support/sim_fixture.h"

namespace clitest {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

// hangarpak-cli, run in-process.
inline CliRun runCli(const std::vector<std::string>& args, const core::Environment& env = {},
                     const std::string& executable = "/nonexistent/hangarpak-cli") {
  std::ostringstream out, err;
  const int status = app::runCli(args, out, err, env, executable);
  return {status, out.str(), err.str()};
}

// Starts the built hangarpak-cli with stdin on /dev/null, stdout on outFd
// and stderr on errFd when given (else /dev/null), in the environment given
// or this process's.
inline pid_t startProgram(std::vector<std::string> args, int outFd = -1, const core::Environment* env = nullptr,
                          int errFd = -1) {
  args.insert(args.begin(), testsupport::cliProgram());
  std::vector<std::string> envText;
  if (env)
    for (const auto& [k, v] : env->all()) envText.push_back(k + "=" + v);
  std::vector<char*> argv, envp;
  for (auto& a : args) argv.push_back(a.data());
  for (auto& e : envText) envp.push_back(e.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (outFd >= 0) posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  if (errFd >= 0)
    posix_spawn_file_actions_adddup2(&actions, errFd, 2);
  else
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), env ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  return rc == 0 ? pid : -1;
}

// Runs the built program to its end: its exit status (-1 when it did not
// exit) and its stdout.
inline CliRun runProgram(std::vector<std::string> args, const core::Environment* env = nullptr) {
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return {-1, {}, {}};
  const pid_t pid = startProgram(std::move(args), fds[1], env);
  close(fds[1]);
  std::string out;
  char buf[4096];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) > 0;) out.append(buf, static_cast<std::size_t>(n));
  close(fds[0]);
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return {-1, out, {}};
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, {}};
}

// hangarpak-cli over a simulator tree the settings name: the run's services
// come from the environment alone, as they do for the installed program.
class CliFixture : public testsupport::SimFixture {
 protected:
  void useSimulator(int version = 80, const std::string& folder = "FS2002") {
    makeSimulator(version, folder);
    settings->save("Hangarpak", "Main", "FS Path", state().simFolder);
    settings->save("Hangarpak", "Options", "FS Version", std::to_string(version));
  }
  CliRun run(const std::vector<std::string>& args) { return runCli(args, env, root + "/bin/hangarpak-cli"); }
};

}  // namespace clitest
