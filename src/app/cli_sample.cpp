#include <charconv>
#include <filesystem>
#include <ostream>
#include <stdexcept>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/errors.h"
#include "sample/sample.h"
#include "sample/standins.h"

namespace app {

const std::string_view sampleUsage = "sample DIR [--version 61|70|80] [--aircraft N] [--register]";
const std::string_view standInUsage = "stand-in PROGRAM";

namespace {

std::optional<int> number(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

// Writes the sample simulator and its Downloads for a first look at the
// program; with --register it is also recorded in the registry store as the
// setups of the simulator and the scenery installer record theirs.
int runSample(const std::vector<std::string>& args, CliIo& io) {
  sample::Options options;
  options.standInInterpreter = io.executablePath;
  std::optional<std::string> dir;
  bool registerIt = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--version" || a == "--aircraft") && i + 1 < args.size()) {
      const auto n = number(args[++i]);
      if (!n) return usageError(io, sampleUsage);
      (a == "--version" ? options.version : options.aircraft) = *n;
    } else if (a == "--register") {
      registerIt = true;
    } else if (!dir && !a.empty() && a[0] != '-') {
      dir = a;
    } else {
      return usageError(io, sampleUsage);
    }
  }
  if (!dir) return usageError(io, sampleUsage);
  std::error_code ec;
  const std::string root = std::filesystem::absolute(*dir, ec).lexically_normal().string();

  try {
    const sample::Contents contents = sample::writeSample(root, options);
    io.out << "Wrote a sample " << contents.simName << " into " << contents.simFolder << ":\n"
           << "  " << contents.variants << " aircraft variants (" << contents.hidden << " hidden), " << contents.panels
           << " panels, " << contents.sounds << " sound sets; "
           << contents.missingAircraftFiles.size() + contents.missingPanelFiles.size() +
                  contents.missingSoundFiles.size()
           << " files left out for the scans\n"
           << "  " << contents.downloadFiles.size() << " add-ons in " << contents.downloads << ":\n";
    for (const auto& d : contents.downloadFiles) io.out << "    " << d.file << ": " << d.what << '\n';
    if (registerIt) {
      TerminalDialogs dialogs(io.err, {}, {});
      NullPrinter printer;
      Runtime runtime(io.env, io.executablePath, dialogs, printer);
      if (!sample::registerSample(runtime.context(), contents, options.version)) {
        io.err << "hangarpak-cli: " << root << " is on no drive of the drive table; not registered\n";
        return ExitProblem;
      }
      io.out << "Registered it in " << runtime.locations().registryFile << '\n';
    }
    return ExitDone;
  } catch (const std::invalid_argument& e) {
    io.err << "hangarpak-cli: " << e.what() << '\n';
    return usageError(io, sampleUsage);
  } catch (const core::RuntimeError& e) {
    io.err << "hangarpak-cli: " << inWords(e) << '\n';
    return ExitProblem;
  }
}

// The sample's stand-in programs run this on themselves through their "#!"
// line.
int runStandIn(const std::vector<std::string>& args, CliIo& io) {
  if (args.empty()) return usageError(io, standInUsage);
  return sample::runStandIn(args[0], io.env, io.out);
}

}  // namespace app
