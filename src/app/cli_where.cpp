#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/errors.h"
#include "core/simulator.h"
#include "core/startup_settings.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace app {

const std::string_view whereUsage = "where [--json]";

namespace {

struct Whereabouts {
  std::vector<std::pair<std::string, std::string>> lines;  // name, value; "" = none
  const core::DriveTable* drives = nullptr;
};

Whereabouts gather(Runtime& runtime) {
  core::Context& ctx = runtime.context();
  core::LoadSettings(ctx);
  // Nothing is asked and nothing written: only what detection would find.
  const std::string folder = core::DetectedFolder(ctx, ctx.state.simVersion);
  const core::SimulatorInfo* sim = core::simulatorInfo(ctx.state.simVersion);
  const core::WinePrefix* prefix = ctx.winePrefixes ? ctx.winePrefixes->simulator() : nullptr;
  std::string hostFolder;
  if (!folder.empty()) core::step([&] { hostFolder = ctx.drives.toHost(folder); });

  Whereabouts w;
  w.lines = {
      {"version", sim ? std::to_string(sim->version) : ""},
      {"name", sim ? std::string(sim->product) : ""},
      {"folder", folder},
      {"host folder", hostFolder},
      {"prefix", prefix ? prefix->path : ""},
      {"prefix found by", prefix ? prefix->origin : ""},
      {"settings", runtime.settings().fileFor(core::kSettingsApp)},
      {"registry", runtime.ownRegistry().file()},
      {"application folder", ctx.locations.appFolder},
  };
  w.drives = &ctx.drives;
  return w;
}

void printText(const Whereabouts& w, std::ostream& out) {
  for (const auto& [name, value] : w.lines) {
    out << name << ": " << (value.empty() ? "none" : value) << '\n';
    if (name != "prefix found by") continue;
    for (const auto& d : w.drives->drives())
      out << "drive " << char(d.letter - 'a' + 'A') << ": " << d.hostRoot << " (" << d.source << ")\n";
  }
}

void printJson(const Whereabouts& w, std::ostream& out) {
  out << "{";
  const char* sep = "\n ";
  for (const auto& [name, value] : w.lines) {
    std::string key = name;
    for (auto pos = key.find(' '); pos != std::string::npos; pos = key.find(' '))
      key.replace(pos, 2, std::string(1, static_cast<char>(key[pos + 1] - 'a' + 'A')));
    out << sep << jsonString(key) << ": ";
    if (value.empty())
      out << "null";
    else if (key == "version")
      out << value;
    else
      out << jsonString(value);
    sep = ",\n ";
  }
  out << sep << "\"drives\": [";
  const char* dsep = "";
  for (const auto& d : w.drives->drives()) {
    out << dsep << "{\"letter\": " << jsonString(std::string(1, char(d.letter - 'a' + 'A')))
        << ", \"hostFolder\": " << jsonString(d.hostRoot) << ", \"source\": " << jsonString(d.source) << "}";
    dsep = ", ";
  }
  out << "]\n}\n";
}

}  // namespace

int runWhere(const std::vector<std::string>& args, CliIo& io) {
  for (std::size_t i = 0; i < args.size(); ++i)
    if (args[i] != "--json" || i > 0) return usageError(io, whereUsage, unexpectedWord("where", args[i]));
  TerminalDialogs dialogs(io.err, {}, {});
  NullPrinter printer;
  return runGuarded(io, [&] {
    Runtime runtime(io.env, io.executablePath, dialogs, printer);
    const Whereabouts w = gather(runtime);
    if (args.empty())
      printText(w, io.out);
    else
      printJson(w, io.out);
    return ExitDone;
  });
}

}  // namespace app
