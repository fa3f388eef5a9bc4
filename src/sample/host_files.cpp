#include "sample/host_files.h"

#include <sys/stat.h>

#include <fstream>

#include "core/atomic_file.h"
#include "core/errors.h"

namespace sample {

void writeHostFile(const std::string& hostPath, std::string_view bytes) {
  const auto slash = hostPath.find_last_of('/');
  if (slash != std::string::npos && slash > 0) core::makeHostFolders(hostPath.substr(0, slash));
  std::ofstream out(hostPath, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw core::RuntimeError(core::err::PathFileAccess, "cannot write " + hostPath);
}

void writeHostProgram(const std::string& hostPath, std::string_view bytes) {
  writeHostFile(hostPath, bytes);
  ::chmod(hostPath.c_str(), 0755);
}

}  // namespace sample
