// Stands in for an external program in the process tests: appends one record
// per run to <its own path>.args ("RUN", then each argument, every field
// ended by a NUL byte), writes its working folder to <its own path>.cwd and
// the descriptors it inherited to <its own path>.fds, then exits with the
// number of arguments.
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

namespace {

std::string inheritedDescriptors() {
  std::string names;
  DIR* dir = opendir("/proc/self/fd");
  if (!dir) return "?";
  const std::string own = std::to_string(dirfd(dir));
  while (dirent* e = readdir(dir)) {
    const std::string name = e->d_name;
    if (name == "." || name == ".." || name == own) continue;
    names += name + "\n";
  }
  closedir(dir);
  return names;
}

void writeWhole(const std::string& path, const std::string& text) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return;
  (void)!write(fd, text.data(), text.size());
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string fds = inheritedDescriptors();
  char self[PATH_MAX] = {};
  const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
  if (n <= 0) return 100;
  std::string record("RUN", 4);
  for (int i = 0; i < argc; ++i) record.append(argv[i], std::strlen(argv[i]) + 1);
  const std::string base(self, static_cast<std::size_t>(n));
  char cwd[PATH_MAX] = {};
  if (getcwd(cwd, sizeof cwd)) writeWhole(base + ".cwd", cwd);
  writeWhole(base + ".fds", fds);
  // Last, so that a test waiting for it finds the other files complete.
  const int fd = open((base + ".args").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0 || write(fd, record.data(), record.size()) != static_cast<ssize_t>(record.size())) return 101;
  close(fd);
  return argc - 1;
}
