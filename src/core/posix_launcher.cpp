#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <map>

#include "core/environment.h"
#include "core/errors.h"
#include "core/process.h"

namespace core {

std::optional<std::string> findOnPath(const Environment& env, std::string_view name) {
  if (name.empty() || name.find('/') != std::string_view::npos) return std::nullopt;
  const std::string path = env.getOr("PATH", "/usr/local/bin:/usr/bin:/bin");
  std::size_t start = 0;
  while (start <= path.size()) {
    auto end = path.find(':', start);
    if (end == std::string::npos) end = path.size();
    const std::string folder = path.substr(start, end - start);
    start = end + 1;
    // An empty or relative entry would depend on the working folder.
    if (folder.empty() || folder[0] != '/') continue;
    const std::string candidate = folder + "/" + std::string(name);
    struct stat st;
    if (::stat(candidate.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(candidate.c_str(), X_OK) == 0)
      return candidate;
  }
  return std::nullopt;
}

namespace {

int exitStatus(int status) {
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
  return -1;
}

int numberFromSpawnError(int e) {
  // The kernel refused the file as a program.
  if (e == ENOEXEC) return err::InvalidProcedureCall;
  return errorNumberFromErrno(e);
}

struct ChildDescriptor {
  explicit ChildDescriptor(pid_t pid) : fd(static_cast<int>(::syscall(SYS_pidfd_open, pid, 0))) {}
  ~ChildDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  ChildDescriptor(const ChildDescriptor&) = delete;
  ChildDescriptor& operator=(const ChildDescriptor&) = delete;
  int fd;
};

class SpawnSetup {
 public:
  SpawnSetup() {
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawnattr_init(&attr);
  }
  ~SpawnSetup() {
    ::posix_spawn_file_actions_destroy(&actions);
    ::posix_spawnattr_destroy(&attr);
  }
  SpawnSetup(const SpawnSetup&) = delete;
  SpawnSetup& operator=(const SpawnSetup&) = delete;

  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attr;
};

class PosixProcessLauncher : public ProcessLauncher {
 public:
  explicit PosixProcessLauncher(Environment env) : env_(std::move(env)) {}

  ~PosixProcessLauncher() override { reapStarted(); }

  int runAndWait(const ProcessRequest& request, const std::function<void()>& keepPainting) override {
    reapStarted();
    const pid_t pid = spawn(request, false);
    // A descriptor that becomes readable when the child ends lets the wait
    // return at once instead of at the next tick.
    const ChildDescriptor child(pid);
    for (;;) {
      int status = 0;
      const pid_t r = ::waitpid(pid, &status, WNOHANG);
      if (r == pid) return exitStatus(status);
      // The child cannot be waited for (someone else reaped it): it has
      // ended as far as the caller is concerned.
      if (r < 0 && errno != EINTR) return -1;
      if (keepPainting) {
        try {
          keepPainting();
        } catch (...) {
          // Still running: reaped later like a program started without waiting.
          started_.push_back(pid);
          throw;
        }
      }
      if (child.fd >= 0) {
        pollfd p{child.fd, POLLIN, 0};
        ::poll(&p, 1, kTickMs);
      } else {
        timespec t{0, kTickMs * 1000000L};
        ::nanosleep(&t, nullptr);
      }
    }
  }

  void start(const ProcessRequest& request) override {
    reapStarted();
    started_.push_back(spawn(request, true));
  }

 private:
  static constexpr int kTickMs = 50;

  pid_t spawn(const ProcessRequest& request, bool detached) {
    if (request.argv.empty() || request.argv[0].empty())
      throw RuntimeError(err::InvalidProcedureCall, "no program to start");
    std::string program = request.argv[0];
    if (program.find('/') == std::string::npos) {
      auto found = findOnPath(env_, program);
      if (!found) throw RuntimeError(err::FileNotFound, program + " is not on the PATH", ENOENT);
      program = *found;
    }

    std::map<std::string, std::string> vars = env_.all();
    for (const auto& [name, value] : request.extraEnvironment) vars[name] = value;
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : vars) envStrings.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (auto& s : envStrings) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = request.argv;
    std::vector<char*> argv;
    for (auto& s : args) argv.push_back(s.data());
    argv.push_back(nullptr);

    std::string folder = request.workingFolder;
    if (folder.empty()) {
      auto slash = program.find_last_of('/');
      folder = slash == 0 ? "/" : program.substr(0, slash);
    }

    SpawnSetup setup;
    ::posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str());
    // The program's own descriptors (the single-instance lock above all)
    // must not live on in a child that outlives it.
    ::posix_spawn_file_actions_addclosefrom_np(&setup.actions, 3);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    for (int sig : {SIGPIPE, SIGXFSZ, SIGCHLD, SIGINT, SIGQUIT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM})
      sigaddset(&defaults, sig);
    ::posix_spawnattr_setsigmask(&setup.attr, &none);
    ::posix_spawnattr_setsigdefault(&setup.attr, &defaults);
    short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
    if (detached) {
      // Its own process group: a Ctrl+C meant for this program leaves the
      // file manager or help viewer alone.
      flags |= POSIX_SPAWN_SETPGROUP;
      ::posix_spawnattr_setpgroup(&setup.attr, 0);
    }
    ::posix_spawnattr_setflags(&setup.attr, flags);

    pid_t pid = 0;
    const int e = ::posix_spawn(&pid, program.c_str(), &setup.actions, &setup.attr, argv.data(), envp.data());
    if (e != 0) throw RuntimeError(numberFromSpawnError(e), "cannot start " + program, e);
    return pid;
  }

  // Programs started without waiting are reaped when they have ended, so
  // that none stays behind as a zombie while this program runs.
  void reapStarted() {
    std::erase_if(started_, [](pid_t pid) {
      int status = 0;
      const pid_t r = ::waitpid(pid, &status, WNOHANG);
      return r == pid || (r < 0 && errno == ECHILD);
    });
  }

  Environment env_;
  std::vector<pid_t> started_;
};

}  // namespace

std::unique_ptr<ProcessLauncher> makePosixProcessLauncher(const Environment& env) {
  return std::make_unique<PosixProcessLauncher>(env);
}

}  // namespace core
