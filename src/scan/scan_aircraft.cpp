#include "scan/scan_aircraft.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <memory_resource>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/context.h"
#include "core/profile.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "core/text_hash.h"
#include "scan/report_box.h"
#include "scan/scan_files.h"

namespace scan {

namespace {

// A parsed configuration file, read key by key. The scan reads about a
// dozen keys of each aircraft.cfg, and the catalogue of a well-stocked
// simulator has thousands of entries, so re-reading the file per key would
// dominate the scan.
class Config {
 public:
  explicit Config(const core::profile::Document& doc) : doc_(doc) {}
  std::string get(std::string_view section, std::string_view key) const {
    return doc_.get(section, key).value_or(std::string());
  }

 private:
  const core::profile::Document& doc_;
};

// What a scan has already looked at. The variants of one folder share its
// aircraft.cfg and mostly their model, panel, sound and texture folders, and
// nothing changes on disk while a scan runs, so each file is looked up and
// each configuration parsed once per scan rather than once per variant.
// Nothing is forgotten before the scan ends, so its names and paths are
// kept in blocks of memory that go back whole when it does, rather than
// one by one (tens of thousands of them in a large simulator).
class ScanMemo {
 public:
  ScanMemo(core::Context& ctx, std::string tree, const manager::ParsedAircraftConfigs* catalogued)
      : ctx_(ctx), tree_(std::move(tree)), catalogued_(catalogued) {}

  // A name relative to an aircraft's folder, followed by a pattern of
  // file names when one is given: the path it stands for (nullopt when it
  // lies outside the tree) and, once asked, whether an ordinary file is
  // there. The variants of a folder mostly name the same files, which are
  // then answered by this one look-up.
  struct Named {
    std::optional<std::pmr::string> path;
    std::optional<bool> exists;
  };
  Named& named(const std::string& folder, const std::string& relative, std::string_view pattern = {}) {
    key_.assign(folder).append(1, '\0').append(relative).append(1, '\0').append(pattern);
    auto [it, added] = named_.try_emplace(key_);
    if (added) {
      if (const auto within = core::PathWithin(tree_, folder, relative)) {
        std::pmr::string& path = it->second.path.emplace(*within, &arena_);
        if (!pattern.empty()) path.append(1, '\\').append(pattern);
      }
    }
    return it->second;
  }
  bool exists(Named& name) {
    if (!name.exists) name.exists = name.path && exists(*name.path);
    return *name.exists;
  }

  bool exists(std::string_view path) {
    if (const auto known = exists_.find(path); known != exists_.end()) return known->second;
    return exists_.emplace(path, OrdinaryFileExists(ctx_, path)).first->second;
  }

  // The parsed file, or why there is none.
  struct Parsed {
    std::optional<core::profile::Document> own;  // parsed here
    std::optional<Config> config;
    std::optional<ScanProblem::Kind> failure;
  };
  // A file the catalogue has just found (a variant's aircraft.cfg) is read
  // at once, and looked for only when it cannot be read; any other is looked
  // for first, as a file named but missing costs no failed read that way.
  enum class Expect : std::uint8_t { Maybe, Found };
  const Parsed& parse(std::string_view path, Expect expect = Expect::Maybe) {
    if (const auto known = parsed_.find(path); known != parsed_.end()) return *known->second;
    const auto it = parsed_.emplace(path, nullptr).first;
    auto parsed = std::make_unique<Parsed>();
    if (const auto* doc =
            catalogued_ && expect == Expect::Found ? catalogued_->of(core::dropRight(path, 12)) : nullptr) {
      parsed->config.emplace(*doc);
      it->second = std::move(parsed);
      return *it->second;
    }
    std::optional<std::string> bytes;
    if (expect == Expect::Maybe && !exists(path))
      parsed->failure = ScanProblem::Kind::Missing;
    else if ((bytes = ReadConfigBytes(ctx_, path)))
      parsed->config.emplace(parsed->own.emplace(core::profile::Document::fromFile(*bytes)));
    else
      parsed->failure = exists(path) ? ScanProblem::Kind::Unreadable : ScanProblem::Kind::Missing;
    it->second = std::move(parsed);
    return *it->second;
  }

 private:
  core::Context& ctx_;
  const std::string tree_;
  const manager::ParsedAircraftConfigs* catalogued_;  // the aircraft.cfg files the catalogue's walk parsed
  // Names are sought as views, without making a string of their own.
  template <class Value>
  using ByText = std::pmr::unordered_map<std::pmr::string, Value, core::TextHash, std::equal_to<>>;
  std::pmr::monotonic_buffer_resource arena_;  // of what follows, so that it goes last
  std::pmr::string key_{&arena_};              // the folder, name and pattern of named(), NUL between
  ByText<Named> named_{&arena_};
  ByText<bool> exists_{&arena_};
  ByText<std::unique_ptr<Parsed>> parsed_{&arena_};
};

// The files one variant's section names, each relative to the aircraft's
// folder. A name may lead into another aircraft's folder (add-ons share
// panels and sounds that way) but never out of the simulator's aircraft
// folder: such a file is reported missing without being looked for.
class AircraftCheck {
 public:
  AircraftCheck(ScanMemo& memo, ReportBox& box, const std::string& folder, const std::string& number)
      : memo_(memo), box_(box), folder_(folder), number_(number), section_("fltsim." + number) {}

  void run(const std::string& title) {
    const std::string cfgPath = folder_ + "aircraft.cfg";
    box_.beginEntry(cfgPath, title);
    const auto& parsed = memo_.parse(cfgPath, ScanMemo::Expect::Found);
    if (parsed.failure) {
      report({*parsed.failure, cfgPath});
    } else {
      const Config& cfg = *parsed.config;
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
  void report(ScanProblem problem) {
    box_.problem(std::move(problem));
    missing_ = true;
  }
  void require(const std::string& relative) {
    if (!memo_.exists(memo_.named(folder_, relative))) report({ScanProblem::Kind::Missing, folder_ + relative});
  }

  void flightModel(const Config& cfg) {
    std::string sim = cfg.get(section_, "sim");
    // A hidden variant keeps its flight-model name in the program's own section.
    if (sim.empty()) sim = cfg.get("Hangarpak", "Hide" + number_);
    if (sim.empty())
      report({ScanProblem::Kind::Undefined, folder_ + "aircraft.cfg"});
    else
      require(sim + ".air");
  }

  void visualModel(const Config& cfg) {
    const std::string model = cfg.get(section_, "model");
    const std::string dir = model.empty() ? "model\\" : "model." + model + "\\";
    const auto& modelCfg = memo_.named(folder_, dir + "model.cfg").path;
    if (!modelCfg) return report({ScanProblem::Kind::Missing, folder_ + dir + "model.cfg"});
    const auto& parsed = memo_.parse(*modelCfg);
    if (parsed.failure) return report({*parsed.failure, folder_ + dir + "model.cfg"});
    require(dir + parsed.config->get("models", "normal") + ".mdl");
  }

  // The panel or sound set: "<kind>\<kind>.cfg", or "<kind>.<value>\<kind>.cfg".
  void configFolder(const Config& cfg, const std::string& kind) {
    const std::string value = cfg.get(section_, kind);
    require(kind + (value.empty() ? "" : "." + value) + "\\" + kind + ".cfg");
  }

  // Any file in the texture folder will do.
  void textures(const Config& cfg) {
    const std::string texture = cfg.get(section_, "texture");
    const std::string dir = "texture" + (texture.empty() ? "" : "." + texture);
    if (!memo_.exists(memo_.named(folder_, dir, "*.*"))) report({ScanProblem::Kind::Missing, folder_ + dir + "\\*.*"});
  }

  void documents(const Config& cfg) {
    static constexpr struct {
      const char* key;
      const char* extension;
    } kDocuments[] = {{"kb_checklists", ".txt"}, {"kb_reference", ".txt"}, {"checklists", ".cfg"}};
    for (const auto& doc : kDocuments) {
      const std::string value = cfg.get(section_, doc.key);
      if (!value.empty()) require(value + doc.extension);
    }
  }

  ScanMemo& memo_;
  ReportBox& box_;
  const std::string& folder_;
  const std::string& number_;
  const std::string section_;
  bool missing_ = false;
};

}  // namespace

void ScanAircraft(core::Context& ctx, const std::vector<manager::AircraftVariant>& variants, ReportBox& box,
                  const manager::ParsedAircraftConfigs* parsed) {
  box.replace("----- Scanning for missing aircraft files -----\r\n\r\n");
  const int total = static_cast<int>(variants.size());
  box.started(total);
  ScanMemo memo(ctx, ctx.state.simFolder + "\\aircraft", parsed);
  for (int i = 0; i < total; ++i) {
    const auto& variant = variants[static_cast<std::size_t>(i)];
    AircraftCheck(memo, box, variant.folder, std::to_string(variant.section)).run(variant.title);
    box.entryDone(i + 1, total);
  }
  box.append(kScanDone);
}

}  // namespace scan
