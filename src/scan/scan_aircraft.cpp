#include "scan/scan_aircraft.h"

#include <optional>
#include <string>

#include "core/context.h"
#include "core/controls.h"
#include "core/profile.h"
#include "scan/report_box.h"
#include "scan/scan_files.h"

namespace scan {

namespace {

// One configuration file parsed once per entry. The scan reads about a
// dozen keys of each aircraft.cfg, and the catalogue of a well-stocked
// simulator has thousands of entries, so re-reading the file per key would
// dominate the scan.
class Config {
 public:
  explicit Config(const std::string& bytes) : doc_(core::profile::Document::fromCp1252(bytes)) {}
  std::string get(std::string_view section, std::string_view key) const {
    return doc_.get(section, key).value_or(std::string());
  }

 private:
  core::profile::Document doc_;
};

class AircraftCheck {
 public:
  AircraftCheck(core::Context& ctx, ReportBox& box, const std::string& folder, const std::string& number)
      : ctx_(ctx), box_(box), folder_(folder), number_(number), section_("fltsim." + number) {}

  void run(const std::string& title) {
    box_.appendLine(folder_ + "aircraft.cfg:  (" + title + ")");
    const std::string cfgPath = folder_ + "aircraft.cfg";
    if (!OrdinaryFileExists(ctx_, cfgPath)) {
      missingFile(cfgPath);
    } else if (auto bytes = ReadConfigBytes(ctx_, cfgPath); !bytes) {
      report("Cannot read file: " + cfgPath);
    } else {
      const Config cfg(*bytes);
      flightModel(cfg);
      visualModel(cfg);
      configFolder(cfg, "panel");
      configFolder(cfg, "sound");
      textures(cfg);
      documents(cfg);
    }
    if (missing_)
      box_.setMissingFound();
    else
      box_.appendLine("Aircraft: OK");
    box_.append(CRLF);
  }

 private:
  void report(const std::string& line) {
    box_.appendLine(line);
    missing_ = true;
  }
  void missingFile(const std::string& path) { report("Missing file: " + path); }
  void require(const std::string& path) {
    if (!OrdinaryFileExists(ctx_, path)) missingFile(path);
  }

  void flightModel(const Config& cfg) {
    std::string sim = cfg.get(section_, "sim");
    // A hidden variant keeps its flight-model name in the program's own section.
    if (sim.empty()) sim = cfg.get("Hangarpak", "Hide" + number_);
    if (sim.empty())
      report("AIR file not defined in: " + folder_ + "aircraft.cfg");
    else
      require(folder_ + sim + ".air");
  }

  void visualModel(const Config& cfg) {
    const std::string model = cfg.get(section_, "model");
    const std::string dir = folder_ + (model.empty() ? "model\\" : "model." + model + "\\");
    const std::string modelCfg = dir + "model.cfg";
    if (!OrdinaryFileExists(ctx_, modelCfg)) return missingFile(modelCfg);
    auto bytes = ReadConfigBytes(ctx_, modelCfg);
    if (!bytes) return report("Cannot read file: " + modelCfg);
    require(dir + Config(*bytes).get("models", "normal") + ".mdl");
  }

  // The panel or sound set: "<kind>\<kind>.cfg", or "<kind>.<value>\<kind>.cfg".
  void configFolder(const Config& cfg, const std::string& kind) {
    const std::string value = cfg.get(section_, kind);
    require(folder_ + kind + (value.empty() ? "" : "." + value) + "\\" + kind + ".cfg");
  }

  void textures(const Config& cfg) {
    const std::string texture = cfg.get(section_, "texture");
    require(folder_ + "texture" + (texture.empty() ? "" : "." + texture) + "\\*.*");
  }

  void documents(const Config& cfg) {
    static constexpr struct {
      const char* key;
      const char* extension;
    } kDocuments[] = {{"kb_checklists", ".txt"}, {"kb_reference", ".txt"}, {"checklists", ".cfg"}};
    for (const auto& doc : kDocuments) {
      const std::string value = cfg.get(section_, doc.key);
      if (!value.empty()) require(folder_ + value + doc.extension);
    }
  }

  core::Context& ctx_;
  ReportBox& box_;
  const std::string& folder_;
  const std::string& number_;
  const std::string section_;
  bool missing_ = false;
};

}  // namespace

void ScanAircraft(core::Context& ctx, const core::ListView& flyLst, ReportBox& box) {
  box.replace("----- Scanning for missing aircraft files -----\r\n\r\n");
  const int total = flyLst.count();
  box.started(total);
  for (int i = 0; i < total; ++i) {
    const core::ListItem& row = flyLst.item(i);
    const std::string folder = row.subItem(1);
    const std::string number = row.subItem(2);
    AircraftCheck(ctx, box, folder, number).run(row.text);
    box.entryDone(i + 1, total);
  }
  box.append("----- Scanning done! -----");
}

}  // namespace scan
