#include <cstdio>
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/simulator.h"
#include "core/startup_settings.h"
#include "core/text.h"
#include "manager/build_catalogue.h"
#include "manager/catalogue.h"
#include "manager/edits.h"

namespace app {

const std::string_view listUsage = "list aircraft|panels|sounds [--json]";
const std::string_view hideUsage = "hide TITLE | hide --folder FOLDER --section N";
const std::string_view unhideUsage = "unhide TITLE | unhide --folder FOLDER --section N";
const std::string_view panelUsage = "panel AIRCRAFT ENTRY";
const std::string_view soundUsage = "sound AIRCRAFT ENTRY";

namespace {

// The catalogue's messages go to the error stream as "Title: text"; a
// question is answered No (Cancel), and the program's own dialogs and the
// file dialog, which need the window program, end the run.
class CatalogueCliDialogs : public core::Dialogs {
 public:
  explicit CatalogueCliDialogs(std::ostream& err) : err_(err) {}
  core::Answer msgBox(std::string_view text, std::string_view title, core::Buttons buttons, core::Icon) override {
    std::string shown(text);
    for (auto pos = shown.find("\r\n"); pos != std::string::npos; pos = shown.find("\r\n", pos))
      shown.replace(pos, 2, " ");
    err_ << title << ": " << shown << '\n';
    return buttons == core::Buttons::OK                                               ? core::Answer::OK
           : buttons == core::Buttons::YesNo || buttons == core::Buttons::YesNoCancel ? core::Answer::No
                                                                                      : core::Answer::Cancel;
  }
  std::optional<std::string> inputBox(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> openFile(std::string_view title, std::string_view, std::string_view) override {
    err_ << needsTheWindowProgram(title) << '\n';
    return std::nullopt;
  }
  void runModal(core::ModalController& controller) override {
    err_ << needsTheWindowProgram(captionOf(controller)) << '\n';
    throw core::EndProgram{ExitProblem};
  }

 private:
  std::ostream& err_;
};

}  // namespace

int withCatalogue(CliIo& io, core::Dialogs& dialogs,
                  const std::function<int(core::Context&, manager::Catalogue&)>& work, core::NameWatch watch,
                  manager::ParsedAircraftConfigs* parsed) {
  NullPrinter printer;
  return runGuarded(io, [&] {
    Runtime runtime(io.env, io.executablePath, dialogs, printer, watch);
    core::Context& ctx = runtime.context();
    core::LoadSettings(ctx);
    const journal::Recovery recovery = runtime.tidyAfterEarlierRun();
    for (const auto& message : journal::recoveryMessages(recovery)) io.err << "hangarpak-cli: " << message << '\n';
    // Confirms simFolder; a simulator that must be located by hand ends the run.
    core::FindSimulator(ctx);
    manager::Catalogue catalogue = manager::BuildCatalogue(ctx, parsed);
    const int status = work(ctx, catalogue);
    // A run that watched nothing and rolled nothing back only read: it
    // holds neither the journal nor a record of writes open, so once its
    // output is out the process may end.
    if (io.end == CliEnd::EndProcessAfterReading && watch == core::NameWatch::OwnChangesOnly &&
        recovery.reports.empty()) {
      // Output that could not be written is main's to report.
      if (io.out.flush() && io.err.flush()) std::_Exit(status);
    }
    return status;
  });
}

namespace {

// The commands' catalogue, with their dialogs.
int withCatalogue(CliIo& io, const std::function<int(core::Context&, manager::Catalogue&)>& work,
                  core::NameWatch watch = core::NameWatch::Kernel) {
  CatalogueCliDialogs dialogs(io.err);
  return withCatalogue(io, dialogs, work, watch);
}

// The variant titled exactly title, or the variant of folder and section;
// nullopt (after a message) when there is none or more than one.
std::optional<manager::VariantRef> findVariant(const manager::Catalogue& cat, std::ostream& err,
                                               const std::string& title, const std::optional<std::string>& folder,
                                               const std::optional<int>& section) {
  std::vector<manager::VariantRef> found;
  if (folder) {
    const std::string f = folder->ends_with('\\') ? *folder : *folder + "\\";
    if (const auto index = cat.findVariant(f, *section)) found.push_back({cat.variants()[*index].folder, *section});
  } else {
    for (const auto& v : cat.variants())
      if (v.title == title) found.push_back({v.folder, v.section});
  }
  const std::string what = folder ? "section " + std::to_string(*section) + " of " + *folder : "\"" + title + "\"";
  if (found.empty()) {
    err << "hangarpak-cli: no aircraft " << what << '\n';
    return std::nullopt;
  }
  if (found.size() > 1) {
    err << "hangarpak-cli: " << found.size() << " aircraft are titled " << what
        << "; name one by --folder and --section\n";
    return std::nullopt;
  }
  return found.front();
}

// What an edit did on stdout, or why it did not on stderr with status 1.
int reportEdit(CliIo& io, const manager::EditResult& result) {
  if (!result.succeeded()) {
    io.err << "hangarpak-cli: " << result.text << '\n';
    return ExitProblem;
  }
  io.out << result.text << '\n';
  return ExitDone;
}

// The text of a variant's choice list on the Aircraft tab: the entry's
// name, or "---Not Listed---".
std::string choiceText(const manager::Catalogue& cat, const manager::AircraftVariant& v, manager::EntryKind kind) {
  const manager::Entry* used = cat.usedEntry(v, kind);
  return used ? used->name : std::string(manager::NotListed);
}

void listAircraft(const manager::Catalogue& cat, bool json, std::ostream& out) {
  using manager::EntryKind;
  if (json) out << "[";
  bool first = true;
  for (const auto& v : cat.variants()) {
    const std::string_view state = v.hidden ? "hidden" : "active";
    // What the variant's choice lists show (Catalogue::shownEntry), without a copy of each.
    const auto shown = [&](EntryKind kind) {
      const manager::Entry* used = cat.usedEntry(v, kind);
      return used ? std::string_view(used->relative) : manager::NotListed;
    };
    const std::string_view panel = shown(EntryKind::Panel), sound = shown(EntryKind::Sound);
    if (json) {
      out << (first ? "\n " : ",\n ") << "{\"name\": " << jsonString(v.title)
          << ", \"folder\": " << jsonString(v.folder) << ", \"section\": " << v.section << ", \"state\": \"" << state
          << "\", \"panel\": " << jsonString(panel) << ", \"sound\": " << jsonString(sound)
          << ", \"panelName\": " << jsonString(choiceText(cat, v, EntryKind::Panel))
          << ", \"soundName\": " << jsonString(choiceText(cat, v, EntryKind::Sound)) << "}";
    } else {
      out << v.title << '\t' << v.folder << '\t' << v.section << '\t' << state << '\t' << panel << '\t' << sound
          << '\n';
    }
    first = false;
  }
  if (json) out << (first ? "]\n" : "\n]\n");
}

template <class Entries>
void listEntries(const Entries& entries, bool json, std::ostream& out) {
  if (json) out << "[";
  bool first = true;
  for (const manager::Entry& e : entries) {
    if (json)
      out << (first ? "\n " : ",\n ") << "{\"name\": " << jsonString(e.name) << ", \"folder\": " << jsonString(e.folder)
          << ", \"relative\": " << jsonString(e.relative) << "}";
    else
      out << e.name << '\t' << e.folder << '\t' << e.relative << '\n';
    first = false;
  }
  if (json) out << (first ? "]\n" : "\n]\n");
}

}  // namespace

std::string jsonString(std::string_view s) {
  std::string out = "\"";
  for (const char c : s) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

// One row per catalogue row, in catalogue order: what the Aircraft and
// Editor tabs list.
int runList(const std::vector<std::string>& args, CliIo& io) {
  const CatalogueArgs words = catalogueArgs("list", args);
  if (!words.fault.empty()) return usageError(io, listUsage, words.fault);
  const std::string& kind = words.kind;
  const bool json = words.json;
  return withCatalogue(
      io,
      [&](core::Context&, manager::Catalogue& cat) {
        if (kind == "aircraft")
          listAircraft(cat, json, io.out);
        else if (kind == "panels")
          listEntries(cat.panels(), json, io.out);
        else
          listEntries(cat.sounds(), json, io.out);
        return ExitDone;
      },
      core::NameWatch::OwnChangesOnly);
}

namespace {

int runHideOrUnhide(const std::vector<std::string>& args, CliIo& io, bool hide) {
  std::string title;
  std::optional<std::string> folder, section;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if ((args[i] == "--folder" || args[i] == "--section") && i + 1 < args.size()) {
      (args[i] == "--folder" ? folder : section) = args[i + 1];
      ++i;
    } else if (title.empty() && !args[i].empty() && args[i].rfind("--", 0) != 0) {
      title = args[i];
    } else {
      return usageError(io, hide ? hideUsage : unhideUsage);
    }
  }
  if (folder.has_value() != section.has_value() || folder.has_value() == !title.empty())
    return usageError(io, hide ? hideUsage : unhideUsage);
  if (section &&
      (section->empty() || section->size() > 3 || section->find_first_not_of("0123456789") != std::string::npos))
    return usageError(io, hide ? hideUsage : unhideUsage);
  const std::optional<int> number = section ? std::optional(std::stoi(*section)) : std::nullopt;
  return withCatalogue(io, [&](core::Context& ctx, manager::Catalogue& cat) {
    const auto variant = findVariant(cat, io.err, title, folder, number);
    if (!variant) return ExitProblem;
    return reportEdit(io, hide ? manager::Apply(ctx, cat, manager::Hide{*variant})
                               : manager::Apply(ctx, cat, manager::Unhide{*variant}));
  });
}

}  // namespace

int runHide(const std::vector<std::string>& args, CliIo& io) {
  return runHideOrUnhide(args, io, true);
}

int runUnhide(const std::vector<std::string>& args, CliIo& io) {
  return runHideOrUnhide(args, io, false);
}

namespace {

// The entry by its relative folder, else by its display name.
template <class Entries>
std::vector<std::string> matchingEntries(const Entries& entries, const std::string& word) {
  std::vector<std::string> byFolder, byName;
  for (const manager::Entry& e : entries) {
    if (e.relative == core::lower(word)) byFolder.push_back(e.relative);
    if (e.name == word) byName.push_back(e.relative);
  }
  return byFolder.empty() ? byName : byFolder;
}

int runSwap(const std::vector<std::string>& args, CliIo& io, manager::EntryKind kind) {
  const bool panel = kind == manager::EntryKind::Panel;
  if (args.size() != 2) return usageError(io, panel ? panelUsage : soundUsage);
  return withCatalogue(io, [&](core::Context& ctx, manager::Catalogue& cat) {
    const auto variant = findVariant(cat, io.err, args[0], std::nullopt, std::nullopt);
    if (!variant) return ExitProblem;
    const auto matches = panel ? matchingEntries(cat.panels(), args[1]) : matchingEntries(cat.sounds(), args[1]);
    if (matches.size() != 1) {
      io.err << "hangarpak-cli: " << (matches.empty() ? "no " : "more than one ") << (panel ? "panel" : "sound")
             << " \"" << args[1] << "\"" << (matches.empty() ? "" : "; name it by its folder") << '\n';
      return ExitProblem;
    }
    return reportEdit(io, manager::Apply(ctx, cat, manager::Swap{*variant, kind, matches.front()}));
  });
}

}  // namespace

int runPanel(const std::vector<std::string>& args, CliIo& io) {
  return runSwap(args, io, manager::EntryKind::Panel);
}

int runSound(const std::vector<std::string>& args, CliIo& io) {
  return runSwap(args, io, manager::EntryKind::Sound);
}

}  // namespace app
