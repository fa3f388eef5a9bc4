#include "scan/scan_panels.h"

#include <string>

#include "core/context.h"
#include "core/list_input.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "scan/report_box.h"
#include "scan/scan_files.h"

namespace scan {

namespace {

class PanelCheck {
 public:
  PanelCheck(core::Context& ctx, ReportBox& box, const std::string& folder) : ctx_(ctx), box_(box), folder_(folder) {}

  void run() {
    const std::string cfgPath = folder_ + "panel.cfg";
    box_.beginEntry(cfgPath);
    if (auto bytes = ReadConfigBytes(ctx_, cfgPath)) {
      for (const std::string& field : core::listInputFieldsOfFile(*bytes)) examine(field);
    } else {
      report({ScanProblem::Kind::Unreadable, cfgPath});
    }
    if (missing_)
      box_.setMissingFound();
    else
      box_.appendLine("Panel: OK");
    box_.append(CRLF);
  }

 private:
  void report(ScanProblem problem) {
    box_.problem(std::move(problem));
    missing_ = true;
  }

  void examine(std::string_view field) {
    if (core::istartsWith(field, "file"))
      bitmap(core::listInputValue(field));
    else if (core::istartsWith(field, "gauge") && field.find('=') != std::string_view::npos)
      gauge(core::listInputValue(field));
  }

  // "..\..\" climbs from the panel folder to the simulator's aircraft folder,
  // the way panels borrow the bitmaps of another aircraft. A bitmap never
  // lies outside that folder: one that would is missing, unlooked-for.
  void bitmap(const std::string& value) {
    const std::string tree = ctx_.state.simFolder + "\\aircraft";
    const bool borrowed = core::istartsWith(value, "..\\..\\");
    const std::string relative = borrowed ? value.substr(6) : value;
    const std::string named = borrowed ? tree + "\\" + relative : folder_ + value;
    const auto path = core::PathWithin(tree, borrowed ? tree : folder_, relative);
    if (!path || !OrdinaryFileExists(ctx_, *path)) report({ScanProblem::Kind::Missing, named});
  }

  // "name!gauge" names a gauge inside the file "name" of the gauges folder
  // (or of a folder in it); the file may be packed as a cabinet.
  void gauge(const std::string& value) {
    const auto bang = value.find('!');
    const std::string name = bang == std::string::npos ? value : core::trim(std::string_view(value).substr(0, bang));
    const std::string gauges = ctx_.state.simFolder + "\\gauges";
    const auto found = [&](const char* extension) {
      const auto path = core::PathWithin(gauges, gauges, name + extension);
      return path && OrdinaryFileExists(ctx_, *path);
    };
    const std::string base = gauges + "\\" + name;
    if (!found(".gau") && !found(".cab")) report({ScanProblem::Kind::Missing, base + ".gau", {base + ".cab"}});
  }

  core::Context& ctx_;
  ReportBox& box_;
  const std::string& folder_;
  bool missing_ = false;
};

}  // namespace

void ScanPanels(core::Context& ctx, const std::vector<manager::PanelEntry>& entries, ReportBox& box) {
  box.replace("----- Scanning for missing panel files -----\r\n\r\n");
  const int total = static_cast<int>(entries.size());
  box.started(total);
  for (int i = 0; i < total; ++i) {
    const std::string& folder = entries[static_cast<std::size_t>(i)].folder;
    PanelCheck(ctx, box, folder).run();
    box.entryDone(i + 1, total);
  }
  box.append(kScanDone);
}

}  // namespace scan
