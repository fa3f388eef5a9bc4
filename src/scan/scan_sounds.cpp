#include "scan/scan_sounds.h"

#include <string>

#include "core/codepage.h"
#include "core/context.h"
#include "core/safe_names.h"
#include "core/text.h"
#include "scan/report_box.h"
#include "scan/scan_files.h"

namespace scan {

namespace {

class SoundCheck {
 public:
  SoundCheck(core::Context& ctx, ReportBox& box, const std::string& folder)
      : ctx_(ctx),
        box_(box),
        folder_(folder),
        tree_(ctx.state.simFolder + "\\aircraft"),
        shared_(ctx.state.simFolder + "\\sound") {}

  void run() {
    const std::string cfgPath = folder_ + "sound.cfg";
    box_.beginEntry(cfgPath);
    if (auto bytes = ReadConfigBytes(ctx_, cfgPath)) {
      const std::string text = core::cp1252ToUtf8(*bytes);
      // Whole lines: a line indented before "filename" is not a sound line.
      for (std::string_view line : SplitLines(text))
        if (core::istartsWith(line, "filename")) soundLine(line);
    } else {
      report({ScanProblem::Kind::Unreadable, cfgPath});
    }
    if (missing_)
      box_.setMissingFound();
    else
      box_.appendLine("Sound: OK");
    box_.append(CRLF);
  }

 private:
  void report(ScanProblem problem) {
    box_.problem(std::move(problem));
    missing_ = true;
  }

  // "filename=a, b, c" offers alternatives: the first one found (in the
  // sound's folder or the simulator's shared sound folder) satisfies the
  // line; each one tried before it is reported, with the sound's own folder.
  // A name that leads out of the aircraft folder, or out of the shared one,
  // is not looked for there.
  void soundLine(std::string_view line) {
    auto sep = line.find('=');
    while (sep != std::string_view::npos) {
      std::string_view rest = line.substr(sep + 1);
      sep = rest.find(',');
      const std::string wave = core::trim(rest.substr(0, sep)) + ".wav";
      if (found(tree_, folder_, wave) || found(shared_, shared_, wave)) return;
      report({ScanProblem::Kind::Missing, folder_ + wave});
      line = rest;
    }
  }

  bool found(const std::string& tree, const std::string& base, const std::string& wave) {
    const auto path = core::PathWithin(tree, base, wave);
    return path && OrdinaryFileExists(ctx_, *path);
  }

  core::Context& ctx_;
  ReportBox& box_;
  const std::string& folder_;
  const std::string tree_;
  const std::string shared_;
  bool missing_ = false;
};

}  // namespace

void ScanSounds(core::Context& ctx, const std::vector<manager::SoundEntry>& entries, ReportBox& box) {
  box.replace("----- Scanning for missing sound files -----\r\n\r\n");
  const int total = static_cast<int>(entries.size());
  box.started(total);
  for (int i = 0; i < total; ++i) {
    const std::string& folder = entries[static_cast<std::size_t>(i)].folder;
    SoundCheck(ctx, box, folder).run();
    box.entryDone(i + 1, total);
  }
  box.append(kScanDone);
}

}  // namespace scan
