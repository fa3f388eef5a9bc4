#pragma once

// Runs an outside program (a reference such as unzip, cat or du, or the
// built hangarpak-cli) to its end for a benchmark, its output thrown away.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace bench {

// Found on the PATH; env is the whole environment ("NAME=value"), this
// process's when null. Throws when the program cannot start or does not
// end with a status up to highestStatus (0: success only; a scan that finds
// missing files ends with 1).
inline void runProgram(const std::vector<std::string>& args, const std::vector<std::string>* env = nullptr,
                       int highestStatus = 0) {
  std::vector<std::string> argText = args, envText = env ? *env : std::vector<std::string>{};
  std::vector<char*> argv, envp;
  for (auto& a : argText) argv.push_back(a.data());
  for (auto& e : envText) envp.push_back(e.data());
  argv.push_back(nullptr);
  envp.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env ? envp.data() : environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error("cannot start " + args[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) > highestStatus) throw std::runtime_error(args[0] + " failed");
}

}  // namespace bench
