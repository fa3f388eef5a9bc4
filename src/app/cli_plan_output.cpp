#include "app/cli_plan_output.h"

#include <ostream>

#include "app/cli_commands.h"

namespace app {

namespace {

using plan::PlannedPrompt;
using plan::PlannedValue;

std::string quoted(const std::optional<std::string>& value) {
  return value ? "\"" + *value + "\"" : "(absent)";
}

const char* storeWord(PlannedValue::Store store) {
  switch (store) {
    case PlannedValue::Store::Profile:
      return "key";
    case PlannedValue::Store::Settings:
      return "setting";
    case PlannedValue::Store::Registry:
      return "registry";
  }
  return "";
}

const char* promptWord(PlannedPrompt::Kind kind) {
  switch (kind) {
    case PlannedPrompt::Kind::Message:
      return "message";
    case PlannedPrompt::Kind::Question:
      return "question";
    case PlannedPrompt::Kind::Input:
      return "input";
    case PlannedPrompt::Kind::FileChoice:
      return "file-choice";
    case PlannedPrompt::Kind::Dialog:
      return "dialog";
    case PlannedPrompt::Kind::NamePrompt:
      return "name-prompt";
  }
  return "";
}

// Where a value lives, as one text: the file and section of a key, the
// application and section of a setting, the key of a registry value.
std::string valuePlace(const PlannedValue& v) {
  std::string place = v.file;
  if (!v.section.empty()) place += " [" + v.section + "]";
  return place + " " + (v.key.empty() && v.store == PlannedValue::Store::Registry ? "@" : v.key);
}

std::string commandLine(const std::vector<std::string>& argv) {
  std::string line;
  for (const auto& a : argv) line += (line.empty() ? "" : " ") + a;
  return line;
}

std::string indented(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] != '\n') out += std::string(15, ' ');
  }
  return out;
}

void printFile(const plan::PlannedFile& f, std::ostream& out) {
  out << "  " << plan::changeWord(f.change) << std::string(13 - std::string(plan::changeWord(f.change)).size(), ' ')
      << f.target;
  if (!f.source.empty()) out << "  from " << (f.sourceInArchive ? "the archive's " : "") << f.source;
  if (f.change == plan::FileChange::Overwrites) out << " (different content)";
  if (f.oldFromArchive) out << "; the old file from archive " << *f.oldFromArchive + 1 << " of this plan";
  if (f.oldInstallation) out << "; the old file from installation " << *f.oldInstallation;
  out << '\n';
}

void printJsonArray(std::ostream& out, const char* name, std::size_t count, const auto& item) {
  out << ", " << jsonString(name) << ": [";
  for (std::size_t i = 0; i < count; ++i) {
    out << (i ? ", " : "");
    item(i);
  }
  out << "]";
}

// An archive's outcome as a JSON word.
const char* outcomeWord(plan::Verdict verdict) {
  switch (verdict) {
    case plan::Verdict::Install:
      return "install";
    case plan::Verdict::Refused:
      return "refused";
    case plan::Verdict::Error:
      return "error";
    case plan::Verdict::Outside:
      return "outside-program";
  }
  return "";
}

std::string jsonOptional(const std::optional<std::string>& value) {
  return value ? jsonString(*value) : "null";
}

}  // namespace

void printPlanText(const plan::InstallPlan& plan, std::ostream& out) {
  for (std::size_t i = 0; i < plan.archives.size(); ++i) {
    const auto& a = plan.archives[i];
    out << "Archive " << i + 1 << ": " << (a.archive.empty() ? "(before any archive)" : a.archive) << '\n';
    // What would happen to it, then its changes.
    const auto verdict = plan::verdictOf(a);
    out << "  " << plan::verdictWords(verdict.verdict);
    if (verdict.verdict == plan::Verdict::Install) {
      out << " as " << plan::kindWord(a.kind);
      if (!a.folder.empty()) out << " \"" << a.folder << "\"";
    } else {
      out << ": " << verdict.reason;
    }
    out << '\n';
    for (const auto& p : a.placedFolders) out << "  places       " << p.archiveFolder << " as " << p.target << '\n';
    for (const auto& f : a.folders) out << (f.removed ? "  remove folder " : "  make folder  ") << f.path << '\n';
    for (const auto& f : a.files) printFile(f, out);
    for (const auto& v : a.values) {
      const std::string word = storeWord(v.store);
      out << "  " << word << std::string(13 - word.size(), ' ') << valuePlace(v) << ": " << quoted(v.oldValue) << " -> "
          << (v.newValue ? quoted(v.newValue) : "(key deleted)") << '\n';
    }
    for (const auto& p : a.programs)
      out << "  program      " << commandLine(p.argv) << " (not run: what it would change is not known)\n";
    for (const auto& n : a.notes) out << "  note         " << n.text << '\n';
    for (const auto& p : a.prompts) {
      const std::string word = promptWord(p.kind);
      out << "  " << word << std::string(word.size() < 13 ? 13 - word.size() : 1, ' ')
          << indented((p.title.empty() ? "" : p.title + ": ") + p.text) << " -> " << p.answer << '\n';
    }
  }
  if (plan.endedProgram) out << "The run would end here.\n";
  out << plan::planSummary(plan) << '\n';
}

void printPlanJson(const plan::InstallPlan& plan, std::ostream& out) {
  out << "{\"archives\": [";
  for (std::size_t i = 0; i < plan.archives.size(); ++i) {
    const auto& a = plan.archives[i];
    out << (i ? ",\n " : "\n ") << "{\"archive\": " << jsonString(a.archive)
        << ", \"kind\": " << jsonString(plan::kindWord(a.kind)) << ", \"folder\": " << jsonString(a.folder)
        << ", \"counted\": " << (a.counted ? "true" : "false") << ", \"failed\": " << (a.failed ? "true" : "false");
    const auto verdict = plan::verdictOf(a);
    out << ", \"outcome\": " << jsonString(outcomeWord(verdict.verdict))
        << ", \"reason\": " << jsonString(verdict.reason);
    printJsonArray(out, "placedFolders", a.placedFolders.size(), [&](std::size_t k) {
      out << "{\"archiveFolder\": " << jsonString(a.placedFolders[k].archiveFolder)
          << ", \"target\": " << jsonString(a.placedFolders[k].target) << "}";
    });
    printJsonArray(out, "folders", a.folders.size(), [&](std::size_t k) {
      out << "{\"path\": " << jsonString(a.folders[k].path)
          << ", \"change\": " << (a.folders[k].removed ? "\"remove\"" : "\"make\"") << "}";
    });
    printJsonArray(out, "files", a.files.size(), [&](std::size_t k) {
      const auto& f = a.files[k];
      out << "{\"target\": " << jsonString(f.target) << ", \"source\": " << jsonString(f.source)
          << ", \"sourceInArchive\": " << (f.sourceInArchive ? "true" : "false")
          << ", \"change\": " << jsonString(plan::changeWord(f.change)) << ", \"size\": " << f.size
          << ", \"hash\": " << jsonString(f.hash) << ", \"oldHash\": " << jsonString(f.oldHash)
          << ", \"oldFromArchive\": " << (f.oldFromArchive ? std::to_string(*f.oldFromArchive) : "null")
          << ", \"oldInstallation\": " << (f.oldInstallation ? std::to_string(*f.oldInstallation) : "null") << "}";
    });
    printJsonArray(out, "values", a.values.size(), [&](std::size_t k) {
      const auto& v = a.values[k];
      out << "{\"store\": "
          << jsonString(v.store == PlannedValue::Store::Profile    ? "profile"
                        : v.store == PlannedValue::Store::Settings ? "settings"
                                                                   : "registry")
          << ", \"file\": " << jsonString(v.file) << ", \"section\": " << jsonString(v.section)
          << ", \"key\": " << jsonString(v.key) << ", \"old\": " << jsonOptional(v.oldValue)
          << ", \"new\": " << jsonOptional(v.newValue) << "}";
    });
    printJsonArray(out, "programs", a.programs.size(), [&](std::size_t k) {
      const auto& p = a.programs[k];
      out << "{\"argv\": [";
      for (std::size_t n = 0; n < p.argv.size(); ++n) out << (n ? ", " : "") << jsonString(p.argv[n]);
      out << "], \"workingFolder\": " << jsonString(p.workingFolder)
          << ", \"waited\": " << (p.waited ? "true" : "false") << ", \"effectsKnown\": false}";
    });
    printJsonArray(out, "notes", a.notes.size(), [&](std::size_t k) {
      out << "{\"path\": " << jsonString(a.notes[k].path) << ", \"text\": " << jsonString(a.notes[k].text) << "}";
    });
    printJsonArray(out, "prompts", a.prompts.size(), [&](std::size_t k) {
      const auto& p = a.prompts[k];
      out << "{\"kind\": " << jsonString(promptWord(p.kind)) << ", \"title\": " << jsonString(p.title)
          << ", \"text\": " << jsonString(p.text) << ", \"answer\": " << jsonString(p.answer) << "}";
    });
    out << "}";
  }
  out << (plan.archives.empty() ? "]" : "\n]") << ",\n \"installed\": " << plan.installedCount
      << ", \"total\": " << plan.total << ", \"summary\": " << jsonString(plan::planSummary(plan))
      << ", \"endedEarly\": " << (plan.endedProgram ? "true" : "false") << "}\n";
}

}  // namespace app
