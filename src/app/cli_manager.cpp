#include <cstdio>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/cli_commands.h"
#include "app/cli_terminal.h"
#include "app/runtime.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/startup_settings.h"
#include "core/text.h"
#include "manager/catalogue.h"
#include "manager/twins.h"

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
                  const std::function<int(core::Context&, manager::Catalogue&)>& work) {
  NullPrinter printer;
  return runGuarded(io, [&] {
    Runtime runtime(io.env, io.executablePath, dialogs, printer);
    core::Context& ctx = runtime.context();
    core::LoadSettings(ctx);
    runtime.tidyAfterEarlierRun();
    manager::Catalogue catalogue(ctx);
    catalogue.Search();
    return work(ctx, catalogue);
  });
}

namespace {

// The commands' catalogue, with their dialogs.
int withCatalogue(CliIo& io, const std::function<int(manager::Catalogue&)>& work) {
  CatalogueCliDialogs dialogs(io.err);
  return withCatalogue(io, dialogs, [&](core::Context&, manager::Catalogue& cat) { return work(cat); });
}

// The aircraft row titled exactly title, or the row of folder and section;
// -1 (after a message) when there is none or more than one.
int findAircraft(manager::Catalogue& cat, std::ostream& err, const std::string& title,
                 const std::optional<std::string>& folder, const std::optional<std::string>& section) {
  std::vector<int> rows;
  for (int i = 0; i < cat.flyLst.count(); ++i) {
    const auto& row = cat.flyLst.item(i);
    if (folder) {
      std::string f = *folder;
      if (!f.empty() && f.back() != '\\') f += '\\';
      if (core::iequals(row.subItem(1), f) && row.subItem(2) == *section) rows.push_back(i);
    } else if (row.text == title) {
      rows.push_back(i);
    }
  }
  const std::string what = folder ? "section " + *section + " of " + *folder : "\"" + title + "\"";
  if (rows.empty()) {
    err << "hangarpak-cli: no aircraft " << what << '\n';
    return -1;
  }
  if (rows.size() > 1) {
    err << "hangarpak-cli: " << rows.size() << " aircraft are titled " << what
        << "; name one by --folder and --section\n";
    return -1;
  }
  return rows.front();
}

// Selects the row as a click does; false (after a message) when the
// catalogue cannot tell which section of its file the row is.
bool selectAircraft(manager::Catalogue& cat, std::ostream& err, int row) {
  cat.flyLst_MouseDown(manager::LeftButton);
  cat.flyLst_ItemClick(row);
  const auto& item = cat.flyLst.item(row);
  if (!cat.selFound || std::to_string(cat.context().state.selSection) != item.subItem(2)) {
    err << "hangarpak-cli: \"" << item.text << "\" is not section " << item.subItem(2) << " of " << item.subItem(1)
        << "aircraft.cfg as the catalogue found it; nothing was changed\n";
    return false;
  }
  return true;
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

// One row per catalogue row, in catalogue order.
int runList(const std::vector<std::string>& args, CliIo& io) {
  if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "--json")) return usageError(io, listUsage);
  const std::string& kind = args[0];
  if (kind != "aircraft" && kind != "panels" && kind != "sounds") return usageError(io, listUsage);
  const bool json = args.size() == 2;
  return withCatalogue(io, [&](manager::Catalogue& cat) {
    const core::ListView& lst = kind == "aircraft" ? cat.flyLst : kind == "panels" ? cat.panelLst : cat.lydLst;
    if (json) io.out << "[";
    for (int i = 0; i < lst.count(); ++i) {
      const auto& row = lst.item(i);
      std::string state, panel, sound;
      if (kind == "aircraft") {
        state = row.smallIcon == manager::HiddenIcon ? "hidden" : "active";
        // What the Aircraft tab shows when the row is selected.
        cat.flyLst.select(i);
        cat.UpdateAircraft();
        panel = cat.currentPanel;
        sound = cat.currentSound;
      }
      if (json) {
        io.out << (i ? ",\n " : "\n ") << "{\"name\": " << jsonString(row.text)
               << ", \"folder\": " << jsonString(row.subItem(1));
        if (kind == "aircraft")
          io.out << ", \"section\": " << row.subItem(2) << ", \"state\": \"" << state
                 << "\", \"panel\": " << jsonString(panel) << ", \"sound\": " << jsonString(sound) << "}";
        else
          io.out << ", \"relative\": " << jsonString(row.subItem(2)) << "}";
      } else {
        io.out << row.text << '\t' << row.subItem(1) << '\t' << row.subItem(2);
        if (kind == "aircraft") io.out << '\t' << state << '\t' << panel << '\t' << sound;
        io.out << '\n';
      }
    }
    if (json) io.out << (lst.count() ? "\n]\n" : "]\n");
    return ExitDone;
  });
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
  if (section && (section->empty() || section->find_first_not_of("0123456789") != std::string::npos))
    return usageError(io, hide ? hideUsage : unhideUsage);
  return withCatalogue(io, [&](manager::Catalogue& cat) {
    const int row = findAircraft(cat, io.err, title, folder, section);
    if (row < 0 || !selectAircraft(cat, io.err, row)) return ExitProblem;
    const int wanted = hide ? manager::HiddenIcon : manager::ActiveIcon;
    const auto& item = cat.flyLst.item(row);
    if (item.smallIcon != wanted) cat.flyLst_DblClick();
    const auto& after = cat.flyLst.item(cat.flyLst.selectedIndex());
    if (after.smallIcon != wanted) {
      io.err << "hangarpak-cli: cannot write " << after.subItem(1) << "aircraft.cfg\n";
      return ExitProblem;
    }
    io.out << after.text << ": " << (hide ? "hidden" : "active") << '\n';
    return ExitDone;
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

int runSwap(const std::vector<std::string>& args, CliIo& io, const manager::Twin& twin) {
  if (args.size() != 2) return usageError(io, &twin == &manager::kPanelTwin ? panelUsage : soundUsage);
  return withCatalogue(io, [&](manager::Catalogue& cat) {
    const int row = findAircraft(cat, io.err, args[0], std::nullopt, std::nullopt);
    if (row < 0) return ExitProblem;
    // The entry by its relative folder, else by its display name.
    const core::ListView& lst = cat.*twin.lst;
    std::vector<int> matches;
    for (int i = 0; i < lst.count(); ++i)
      if (lst.item(i).subItem(2) == core::lower(args[1])) matches.push_back(i);
    if (matches.empty())
      for (int i = 0; i < lst.count(); ++i)
        if (lst.item(i).text == args[1]) matches.push_back(i);
    if (matches.size() != 1) {
      io.err << "hangarpak-cli: " << (matches.empty() ? "no " : "more than one ") << twin.variantKey << " \"" << args[1]
             << "\"" << (matches.empty() ? "" : "; name it by its folder") << '\n';
      return ExitProblem;
    }
    if (!selectAircraft(cat, io.err, row)) return ExitProblem;
    const std::string entry = lst.item(matches.front()).subItem(2);
    (cat.*twin.com).userPick(matches.front() + 1);
    if (cat.*twin.shown != entry) {
      io.err << "hangarpak-cli: cannot give \"" << args[0] << "\" the " << twin.variantKey << ' ' << entry << '\n';
      return ExitProblem;
    }
    io.out << args[0] << ": " << twin.variantKey << ' ' << entry << '\n';
    return ExitDone;
  });
}

}  // namespace

int runPanel(const std::vector<std::string>& args, CliIo& io) {
  return runSwap(args, io, manager::kPanelTwin);
}

int runSound(const std::vector<std::string>& args, CliIo& io) {
  return runSwap(args, io, manager::kSoundTwin);
}

}  // namespace app
