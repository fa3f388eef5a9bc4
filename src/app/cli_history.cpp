#include <ostream>
#include <string>

#include "app/cli_commands.h"
#include "core/errors.h"
#include "core/locations.h"
#include "journal/store.h"

namespace app {

const std::string_view historyUsage = "history [--json] | history ID [--json]";

namespace {

void printJsonInstallation(const journal::InstallationSummary& row, std::ostream& out) {
  const auto& i = row.installation;
  out << "{\"id\": " << i.id << ", \"change\": " << jsonString(journal::wordOf(i.change))
      << ", \"description\": " << jsonString(i.description) << ", \"time\": " << jsonString(i.time)
      << ", \"archive\": " << jsonString(i.archivePath) << ", \"archive_size\": " << i.archiveSize
      << ", \"archive_hash\": " << jsonString(i.archiveHash) << ", \"sim_version\": " << i.simVersion
      << ", \"sim_folder\": " << jsonString(i.simFolder) << ", \"kind\": " << jsonString(journal::wordOf(i.kind))
      << ", \"folder\": " << jsonString(i.folder) << ", \"outcome\": " << jsonString(journal::wordOf(i.outcome))
      << ", \"files_created\": " << row.filesCreated << ", \"files_overwritten\": " << row.filesOverwritten
      << ", \"keys_written\": " << row.keysWritten << ", \"state\": " << jsonString(journal::wordOf(i.state)) << "}";
}

std::string shown(const std::optional<std::string>& value) {
  return value ? *value : "(absent)";
}

void printEffect(const journal::Effect& e, std::ostream& out) {
  out << e.seq << '\t' << journal::wordOf(e.kind) << '\t' << e.path;
  switch (e.kind) {
    case journal::EffectKind::FileCreated:
    case journal::EffectKind::FileOverwritten:
    case journal::EffectKind::FileDeleted:
      if (e.size) out << '\t' << *e.size << " bytes";
      if (!e.oldHash.empty()) out << "\told " << e.oldHash;
      if (!e.newHash.empty()) out << "\tnew " << e.newHash;
      break;
    case journal::EffectKind::KeyWritten:
    case journal::EffectKind::SettingWritten:
    case journal::EffectKind::RegistryValueWritten:
      out << "\t[" << e.section << "] " << e.key << ": " << shown(e.oldValue) << " -> " << e.newValue;
      break;
    default:
      break;
  }
  if (!e.note.empty()) out << '\t' << e.note;
  out << '\n';
}

void printJsonEffect(const journal::Effect& e, std::ostream& out) {
  out << "{\"seq\": " << e.seq << ", \"kind\": " << jsonString(journal::wordOf(e.kind))
      << ", \"path\": " << jsonString(e.path);
  if (e.size) out << ", \"size\": " << *e.size;
  out << ", \"old_hash\": " << jsonString(e.oldHash) << ", \"new_hash\": " << jsonString(e.newHash)
      << ", \"backup\": " << jsonString(e.backup) << ", \"section\": " << jsonString(e.section)
      << ", \"key\": " << jsonString(e.key)
      << ", \"old_value\": " << (e.oldValue ? jsonString(*e.oldValue) : std::string("null"))
      << ", \"new_value\": " << jsonString(e.newValue) << ", \"note\": " << jsonString(e.note) << "}";
}

// What the list says of an installation, as the History dialog does, in
// one word ("failed-rolled-back"): a refused archive never reads as
// installed.
std::string standingWord(const journal::Installation& i) {
  std::string text = journal::standing(i);
  std::string word;
  for (char c : text)
    if (c == ' ')
      word += '-';
    else if (c != ',')
      word += c;
  return word;
}

// The kind of what a row installed, or "edit" / "deletion".
std::string_view kindWord(const journal::Installation& i) {
  return i.change == journal::Change::Install ? journal::wordOf(i.kind) : journal::wordOf(i.change);
}

}  // namespace

std::optional<std::int64_t> installationId(const std::string& word) {
  if (word.empty() || word.size() > 18 || word.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  return std::stoll(word);
}

// The journal's installations, or one installation's effects. Nothing is
// created when no installation was ever recorded.
int runHistory(const std::vector<std::string>& args, CliIo& io) {
  bool json = false;
  std::optional<std::int64_t> id;
  for (const auto& a : args) {
    if (a == "--json" && !json) {
      json = true;
    } else if (auto n = installationId(a); n && !id) {
      id = n;
    } else {
      return usageError(io, historyUsage, unexpectedWord("history", a));
    }
  }
  return runGuarded(io, [&] {
    const auto appFolder = core::Locations::fromEnvironment(io.env, io.executablePath).appFolder;
    const auto store = journal::openExistingJournal(appFolder);
    if (!id) {
      const auto rows = store ? store->installations() : std::vector<journal::InstallationSummary>{};
      if (json) io.out << "[";
      for (std::size_t k = 0; k < rows.size(); ++k) {
        const auto& i = rows[k].installation;
        if (json) {
          io.out << (k ? ",\n " : "\n ");
          printJsonInstallation(rows[k], io.out);
        } else {
          io.out << i.id << '\t' << i.time << '\t' << journal::subject(i) << '\t' << kindWord(i) << '\t' << i.folder
                 << '\t' << rows[k].filesCreated << " created\t" << rows[k].filesOverwritten << " overwritten\t"
                 << rows[k].keysWritten << " keys\t" << standingWord(i) << '\n';
        }
      }
      if (json) io.out << (rows.empty() ? "]\n" : "\n]\n");
      return ExitDone;
    }
    const auto installation = store ? store->installation(*id) : std::nullopt;
    if (!installation) {
      io.err << "hangarpak-cli: no installation " << *id << " in the journal\n";
      return ExitProblem;
    }
    const auto effects = store->effects(*id);
    if (json) {
      io.out << "{\"installation\": ";
      for (const auto& row : store->installations())
        if (row.installation.id == *id) printJsonInstallation(row, io.out);
      io.out << ",\n \"effects\": [";
      for (std::size_t k = 0; k < effects.size(); ++k) {
        io.out << (k ? ",\n  " : "\n  ");
        printJsonEffect(effects[k], io.out);
      }
      io.out << (effects.empty() ? "]}\n" : "\n ]}\n");
      return ExitDone;
    }
    if (installation->change == journal::Change::Install)
      io.out << "installation " << installation->id << ": " << installation->archivePath << " ("
             << journal::wordOf(installation->kind) << " " << installation->folder << ", "
             << journal::wordOf(installation->outcome) << ", " << journal::wordOf(installation->state) << ") at "
             << installation->time << '\n';
    else
      io.out << journal::wordOf(installation->change) << " " << installation->id << ": " << installation->description
             << " (" << standingWord(*installation) << ") at " << installation->time << '\n';
    for (const auto& e : effects) printEffect(e, io.out);
    return ExitDone;
  });
}

}  // namespace app
