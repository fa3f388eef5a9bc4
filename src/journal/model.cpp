#include "journal/model.h"

#include <algorithm>
#include <array>
#include <utility>

namespace journal {

namespace {

template <class E, std::size_t N>
std::optional<E> lookUp(const std::array<std::pair<E, std::string_view>, N>& table, std::string_view word) {
  for (const auto& [value, name] : table)
    if (name == word) return value;
  return std::nullopt;
}

template <class E, std::size_t N>
std::string_view nameOf(const std::array<std::pair<E, std::string_view>, N>& table, E value) {
  for (const auto& [v, name] : table)
    if (v == value) return name;
  return "?";
}

constexpr std::array<std::pair<EffectKind, std::string_view>, 12> kEffects = {{
    {EffectKind::FolderCreated, "folder-created"},
    {EffectKind::FileCreated, "file-created"},
    {EffectKind::FileOverwritten, "file-overwritten"},
    {EffectKind::FileDeleted, "file-deleted"},
    {EffectKind::FileRenamed, "file-renamed"},
    {EffectKind::FolderRemoved, "folder-removed"},
    {EffectKind::KeyWritten, "key-written"},
    {EffectKind::SettingWritten, "setting-written"},
    {EffectKind::RegistryValueWritten, "registry-value-written"},
    {EffectKind::RegistryKeyDeleted, "registry-key-deleted"},
    {EffectKind::ProgramRun, "program-run"},
    {EffectKind::Noted, "noted"},
}};
constexpr std::array<std::pair<Outcome, std::string_view>, 4> kOutcomes = {{
    {Outcome::Counted, "counted"},
    {Outcome::Refused, "refused"},
    {Outcome::Failed, "failed"},
    {Outcome::Interrupted, "interrupted"},
}};
constexpr std::array<std::pair<InstallState, std::string_view>, 7> kStates = {{
    {InstallState::Installed, "installed"},
    {InstallState::Uninstalled, "uninstalled"},
    {InstallState::PartlyUninstalled, "partly-uninstalled"},
    {InstallState::InProgress, "in-progress"},
    {InstallState::InterruptedRolledBack, "interrupted-rolled-back"},
    {InstallState::Uninstalling, "uninstalling"},
    {InstallState::RolledBack, "rolled-back"},
}};
constexpr std::array<std::pair<Change, std::string_view>, 3> kChanges = {{
    {Change::Install, "install"},
    {Change::Edit, "edit"},
    {Change::Deletion, "deletion"},
}};
constexpr std::array<std::pair<core::PackageKind, std::string_view>, 9> kKinds = {{
    {core::PackageKind::None, "none"},
    {core::PackageKind::Aircraft, "aircraft"},
    {core::PackageKind::Panel, "panel"},
    {core::PackageKind::Sound, "sound"},
    {core::PackageKind::Scenery, "scenery"},
    {core::PackageKind::Adventure, "adventure"},
    {core::PackageKind::MultiAircraft, "multi-aircraft"},
    {core::PackageKind::Fs5Aircraft, "fs5-aircraft"},
    {core::PackageKind::Sif, "sif"},
}};

}  // namespace

std::string_view wordOf(EffectKind kind) {
  return nameOf(kEffects, kind);
}
std::optional<EffectKind> effectKindOf(std::string_view word) {
  return lookUp(kEffects, word);
}
std::string_view wordOf(Outcome outcome) {
  return nameOf(kOutcomes, outcome);
}
std::optional<Outcome> outcomeOf(std::string_view word) {
  return lookUp(kOutcomes, word);
}
std::string_view wordOf(InstallState state) {
  return nameOf(kStates, state);
}
std::optional<InstallState> installStateOf(std::string_view word) {
  return lookUp(kStates, word);
}
std::string_view wordOf(Change change) {
  return nameOf(kChanges, change);
}
std::optional<Change> changeOf(std::string_view word) {
  return lookUp(kChanges, word);
}
std::string_view wordOf(core::PackageKind kind) {
  return nameOf(kKinds, kind);
}

bool uninstallable(const Installation& i) {
  if (i.state == InstallState::PartlyUninstalled) return true;
  return i.state == InstallState::Installed && i.outcome != Outcome::Refused;
}

const std::string& subject(const Installation& i) {
  return i.change == Change::Install ? i.archivePath : i.description;
}

std::string standing(const Installation& i) {
  if (i.change != Change::Install) {
    if (i.state == InstallState::Installed) return "made";
    if (i.state == InstallState::Uninstalled) return "undone";
    if (i.state == InstallState::PartlyUninstalled) return "partly undone";
  }
  switch (i.state) {
    case InstallState::InterruptedRolledBack:
      return "interrupted, rolled back";
    case InstallState::RolledBack:
      return i.outcome == Outcome::Refused ? "refused" : std::string(wordOf(i.outcome)) + ", rolled back";
    case InstallState::PartlyUninstalled:
      if (i.outcome == Outcome::Counted) break;
      return std::string(wordOf(i.outcome)) + ", partly rolled back";
    case InstallState::Installed:
      if (i.outcome == Outcome::Refused || i.outcome == Outcome::Failed) return std::string(wordOf(i.outcome));
      break;
    default:
      break;
  }
  std::string text(wordOf(i.state));
  std::replace(text.begin(), text.end(), '-', ' ');
  return text;
}

}  // namespace journal
