// A native stand-in for the converter and the scenery installer: the
// program's own stand-in, run on the file it was copied to, so the tests
// cover the path of an ELF program as well as the sample's "#!" one.

#include <unistd.h>

#include <climits>
#include <iostream>

#include "core/environment.h"
#include "sample/standins.h"

int main() {
  char buf[PATH_MAX] = {};
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n <= 0) return 2;
  return sample::runStandIn(std::string(buf, static_cast<std::size_t>(n)), core::Environment::fromProcess(), std::cout);
}
