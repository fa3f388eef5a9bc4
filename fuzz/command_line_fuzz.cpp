// The Windows command-line splitter: any text splits, and arguments quoted
// for a command line come back from it unchanged.
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/process.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)core::splitCommandLine(text);

  // The input's NUL-separated pieces as arguments.
  std::vector<std::string> args;
  std::string line;
  for (std::size_t pos = 0; pos <= text.size();) {
    const auto end = std::min(text.find('\0', pos), text.size());
    args.emplace_back(text.substr(pos, end - pos));
    if (!line.empty() || args.size() > 1) line += ' ';
    line += core::quoteCommandLineArgument(args.back());
    pos = end + 1;
  }
  if (core::splitCommandLineArguments(line) != args) std::abort();
  if (core::splitCommandLine("p.exe " + line) != [&] {
        auto all = args;
        all.insert(all.begin(), "p.exe");
        return all;
      }())
    std::abort();
  return 0;
}
