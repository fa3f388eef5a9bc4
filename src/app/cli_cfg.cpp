#include <filesystem>
#include <ostream>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/locations.h"
#include "core/profile.h"
#include "core/writes_in_progress.h"

namespace app {

const std::string_view cfgUsage = "cfg get FILE SECTION KEY [DEFAULT] [--json] | cfg set FILE SECTION KEY VALUE";

namespace {

struct CfgArgs {
  std::vector<std::string> words;  // the verb and its arguments
  bool json = false;
};

// --json counts before "--"; every word after "--" is an argument, so that a
// value may begin with a dash.
CfgArgs parse(const std::vector<std::string>& args) {
  CfgArgs out;
  bool options = true;
  for (const auto& a : args) {
    if (options && a == "--")
      options = false;
    else if (options && a == "--json")
      out.json = true;
    else
      out.words.push_back(a);
  }
  return out;
}

// The host file FILE names: a Windows path through the drive table the other
// commands use, a host path as it is.
std::string hostFileOf(const std::string& file, CliIo& io) {
  if (!looksLikeWindowsPath(file)) return file;
  TerminalDialogs dialogs(io.err, {}, {});
  NullPrinter printer;
  Runtime runtime(io.env, io.executablePath, dialogs, printer);
  return runtime.context().drives.toHost(file);
}

// What is wrong with the words; "" when nothing is.
std::string fault(const CfgArgs& parsed) {
  const auto& w = parsed.words;
  if (w.empty()) return "cfg: get or set?";
  if (w[0] == "get") return w.size() == 4 || w.size() == 5 ? "" : "cfg get: FILE, SECTION and KEY, and perhaps DEFAULT";
  if (w[0] != "set") return "cfg: no action \"" + w[0] + "\"; get or set";
  if (parsed.json) return "cfg set: --json goes with get only";
  return w.size() == 5 ? "" : "cfg set: FILE, SECTION, KEY and VALUE";
}

}  // namespace

// Reads and writes one key of a configuration file the way the program
// itself does, for people who script their simulator's files.
int runCfg(const std::vector<std::string>& args, CliIo& io) {
  const CfgArgs parsed = parse(args);
  const auto& w = parsed.words;
  if (const std::string wrong = fault(parsed); !wrong.empty()) return usageError(io, cfgUsage, wrong);
  const bool get = w[0] == "get";
  const std::string& file = w[1];
  return runGuarded(io, [&] {
    const std::string host = hostFileOf(file, io);
    if (get) {
      // A missing file is more likely a typing error than a file without the
      // key, so it is not answered with the default.
      std::error_code ec;
      const auto status = std::filesystem::status(host, ec);
      if (status.type() == std::filesystem::file_type::not_found)
        throw core::RuntimeError(core::err::FileNotFound, "cannot read " + file, ENOENT);
      if (status.type() == std::filesystem::file_type::directory)
        throw core::RuntimeError(core::err::PathFileAccess, file + " is a folder, not a configuration file");
      const std::string value = [&] {
        try {
          return core::readProfileHostFile(host, w[2], w[3], w.size() == 5 ? w[4] : "");
        } catch (const core::RuntimeError& e) {
          throw core::RuntimeError(e.number(), "cannot read " + file, e.sysErrno());  // named as typed
        }
      }();
      if (parsed.json)
        io.out << "{\"file\": " << jsonString(file) << ", \"section\": " << jsonString(w[2])
               << ", \"key\": " << jsonString(w[3]) << ", \"value\": " << jsonString(value) << "}\n";
      else
        io.out << value << '\n';
      return ExitDone;
    }
    // What a killed earlier write left beside the file.
    const auto slash = host.find_last_of('/');
    core::RemoveAbandonedTemporaries(slash == std::string::npos ? "." : slash == 0 ? "/" : host.substr(0, slash));
    core::WritesInProgress writes(core::Locations::fromEnvironment(io.env, io.executablePath).appFolder);
    const core::ProfileWrite written = core::writeProfileHostFile(host, w[2], w[3], w[4], &writes);
    if (written) return ExitDone;
    io.err << "hangarpak-cli: cannot write " << file << ": " << written.cause << '\n';
    return ExitProblem;
  });
}

}  // namespace app
