#include "install/adventures.h"

#include "core/app_state.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/fs.h"
#include "core/list_input.h"
#include "core/profile.h"
#include "core/temp_folders.h"
#include "core/text.h"
#include "install/converter.h"

namespace install {

namespace {

using core::simver::FS2000;
using core::simver::FS2002;
using core::simver::FS98;

struct Placement {
  bool fs98;  // the rule is for FS98; otherwise for FS2000 and FS2002
  const char* lastThree;
  const char* folder;
};

// First match wins, in this order. FS98 leaves .flt, .wx, .brf and .bmp
// files out: its adventures do not use them.
constexpr Placement kPlacements[] = {
    {true, "adv", "\\Adv\\"},         {true, "wav", "\\Adv\\Wav\\"},    {true, "stn", "\\Situatio\\"},
    {false, "adv", "\\Adv\\Other\\"}, {false, "flt", "\\Adv\\Other\\"}, {false, ".wx", "\\Adv\\Other\\"},
    {false, "brf", "\\Adv\\Other\\"}, {false, "bmp", "\\Adv\\Other\\"}, {false, "wav", "\\Adv\\Wav\\"},
};

std::string tempZip(core::Context& ctx) {
  return ctx.appFolder() + "\\TempZip";
}
std::string tempAdv(core::Context& ctx) {
  return ctx.appFolder() + "\\TempAdv";
}

// Next: the adventure is in place or on its way; Refused: it was left out
// and the next one is looked at; EndProcedure: the archive is refused.
enum class Outcome { Next, Refused, EndProcedure };

// Moves one old adventure into TempAdv, lets the converter pick it up from
// there and clears TempAdv again. The converter puts the result into the
// simulator's folders itself.
Outcome convertAdventure(core::Context& ctx, const std::string& name) {
  const std::string T = tempZip(ctx) + "\\";
  const std::string V = tempAdv(ctx) + "\\";
  const Converter converter = converterFor(ctx.state);

  // A TempAdv left behind by an interrupted conversion would make the
  // folder creation fail and end the program at every later old adventure.
  if (ctx.fs.folderExists(tempAdv(ctx))) core::ClearTempAdv(ctx);
  ctx.fs.makeFolder(tempAdv(ctx));
  ctx.fs.copyFile(T + name, V + name);
  ctx.fs.deleteFile(T + name);

  ctx.windows().hideProgress();
  const char* const target = ctx.state.simVersion == FS2000 ? "FS2000" : "FS98";
  ctx.dialogs.msgBox(std::string("The adventure is made for an earlier FS version. Please use\n") +
                         "Flight Shop Converter to convert the aircraft for " + target + ".\n\n" +
                         "The ADV file is located: " + tempZip(ctx),
                     "Convert adventure", core::Buttons::OK, core::Icon::Exclamation);

  if (!converterPresent(ctx, converter)) {
    ctx.dialogs.msgBox("Could not find Flight Shop Converter!", "Installation aborted", core::Buttons::OK,
                       core::Icon::Critical);
    ctx.state.archiveRefusal = "the Flight Shop converter was not found";
    core::ClearTempAdv(ctx);
    return Outcome::EndProcedure;
  }

  // The converter reads these keys in this order; the other keys of its
  // file are its own and stay as they are.
  core::WriteProfileString(ctx, converter.config, kConverterSection, "AdventureInputPath",
                           PathForConverter(ctx, converter, V))
      .orThrow();
  core::WriteProfileString(ctx, converter.config, kConverterSection, "CopySounds", "0").orThrow();
  core::WriteProfileString(ctx, converter.config, kConverterSection, "CopySituations", "0").orThrow();
  runConverter(ctx, converter);

  ctx.windows().repaintMainWindow();
  ctx.windows().showProgress();
  ctx.windows().repaintProgress();
  core::ClearTempAdv(ctx);
  return Outcome::Next;
}

Outcome handleAdventure(core::Context& ctx, const std::string& name) {
  const std::string path = tempZip(ctx) + "\\" + name;
  const AdventureKind kind = adventureKind(ctx.fs.readFile(path));

  if (ctx.state.simVersion == FS98) {
    switch (kind) {
      case AdventureKind::Fs2000:
        // FS98 cannot use it and the converter only converts forwards, so
        // the whole archive is refused.
        ctx.fs.deleteFile(path);
        ctx.windows().hideProgress();
        ctx.dialogs.msgBox("The adventure is made for FS2000 and\ncan not be converted backwards.",
                           "FS2000 adventure - " + name, core::Buttons::OK, core::Icon::Exclamation);
        ctx.state.archiveRefusal = name + " is made for FS2000 and cannot be converted for FS98";
        return Outcome::EndProcedure;
      case AdventureKind::Fs98:
        return Outcome::Next;
      case AdventureKind::Old:
        return convertAdventure(ctx, name);
    }
  }

  if (kind != AdventureKind::Old) return Outcome::Next;
  if (ctx.state.simVersion == FS2002) {
    ctx.dialogs.msgBox("Hangarpak v3.2 does not support old adventure installation for FS2002!",
                       "Could not install adventure", core::Buttons::OK, core::Icon::Exclamation);
    ctx.fs.deleteFile(path);
    return Outcome::Refused;
  }
  return convertAdventure(ctx, name);
}

}  // namespace

AdventureKind adventureKind(std::string_view advBytes) {
  const std::string signature = core::lower(core::left(core::firstListInputField(advBytes), 6));
  if (signature == "fs7 ad") return AdventureKind::Fs2000;
  if (signature == "fs6x a") return AdventureKind::Fs98;
  return AdventureKind::Old;
}

std::optional<std::string> adventureTarget(std::int16_t simVersion, std::string_view fileName) {
  const bool fs98 = simVersion == FS98;
  if (!fs98 && simVersion != FS2000 && simVersion != FS2002) return std::nullopt;
  const std::string lastThree = core::lower(core::right(fileName, 3));
  for (const auto& rule : kPlacements)
    if (rule.fs98 == fs98 && lastThree == rule.lastThree) return std::string(rule.folder);
  return std::nullopt;
}

void InstallAdventures(core::Context& ctx) {
  auto& state = ctx.state;
  // Only the three simulators have adventure folders; anything else would
  // place nothing and must not count as installed.
  if (state.simVersion != FS98 && state.simVersion != FS2000 && state.simVersion != FS2002) return;
  state.progressMode = core::ProgressMode::Installing;

  // One listing up front: conversions and refusals take files out of
  // TempZip while the adventures are gone through.
  const auto adventures = ctx.fs.listFiles(tempZip(ctx), "*.adv");
  std::size_t refused = 0;
  for (const auto& name : adventures) {
    const Outcome outcome = handleAdventure(ctx, name);
    if (outcome == Outcome::EndProcedure) return;
    if (outcome == Outcome::Refused) ++refused;
  }
  // An archive whose every adventure was refused installs nothing: its
  // flights, weather and sounds belong to those adventures.
  if (!adventures.empty() && refused == adventures.size()) {
    state.archiveRefusal = "its adventures are made for an earlier version, and FS2002 cannot install them";
    return;
  }

  const std::string T = tempZip(ctx) + "\\";
  for (const auto& name : ctx.fs.listFiles(tempZip(ctx))) {
    const auto folder = adventureTarget(state.simVersion, name);
    if (!folder) continue;
    const std::string target = state.simFolder + *folder;
    // Situatio is part of a real FS98 installation but not among the
    // folders the installation makes itself.
    if (!ctx.fs.folderExists(target)) core::step([&] { ctx.fs.makeFolder(core::dropRight(target, 1)); });
    ctx.fs.copyFile(T + name, target + name);
  }

  state.installedCount += 1;
}

}  // namespace install
