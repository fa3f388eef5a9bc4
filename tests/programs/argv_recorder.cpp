// Stands in for an external program in the process tests: appends one record
// per run to <its own path>.args ("RUN", then each argument, every field
// ended by a NUL byte) and its working folder to <its own path>.cwd, then
// exits with the number of arguments.
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

int main(int argc, char** argv) {
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 100;
  std::string record("RUN", 4);
  for (int i = 0; i < argc; ++i) record.append(argv[i], std::strlen(argv[i]) + 1);
  const std::string base(self, static_cast<std::size_t>(n));
  const int fd = open((base + ".args").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0 || write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) return 101;
  close(fd);
  char cwd[PATH_MAX] = {};
  if (getcwd(cwd, sizeof cwd)) {
    const int cfd = open((base + ".cwd").c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (cfd >= 0) {
      (void)!write(cfd, cwd, std::strlen(cwd));
      close(cfd);
    }
  }
  return argc - 1;
}
