#include "journal/recording_services.h"

namespace journal {

namespace {

std::string commandLineOf(const core::ProcessRequest& request) {
  std::string text;
  for (const auto& arg : request.argv) {
    if (!text.empty()) text += ' ';
    text += core::quoteCommandLineArgument(arg);
  }
  return text;
}

}  // namespace

std::string_view hiveWord(core::Hive hive) {
  return hive == core::Hive::ClassesRoot ? "CR" : "LM";
}

void RecordingSettings::save(std::string_view app, std::string_view section, std::string_view key,
                             std::string_view value) {
  if (recorder_.open()) {
    // The store answers with the default for an absent key: two different
    // defaults tell absent from present.
    std::optional<std::string> old = inner_.get(app, section, key, "\x01");
    if (*old == "\x01" && inner_.get(app, section, key, "\x02") == "\x02") old.reset();
    recorder_.valueWritten(EffectKind::SettingWritten, app, section, key, old, value);
  }
  inner_.save(app, section, key, value);
}

void RecordingRegistry::setValue(core::Hive hive, std::string_view keyPath, std::string_view valueName,
                                 std::string_view value) {
  if (recorder_.open())
    recorder_.valueWritten(EffectKind::RegistryValueWritten, keyPath, hiveWord(hive), valueName,
                           inner_.query(hive, keyPath, valueName), value);
  inner_.setValue(hive, keyPath, valueName, value);
}

void RecordingRegistry::deleteKey(core::Hive hive, std::string_view keyPath) {
  if (recorder_.open() && inner_.keyExists(hive, keyPath))
    recorder_.noted(EffectKind::RegistryKeyDeleted, keyPath,
                    std::string(hiveWord(hive)) + ": the key and its sub-keys deleted, not kept");
  inner_.deleteKey(hive, keyPath);
}

int RecordingLauncher::runAndWait(const core::ProcessRequest& request, const std::function<void()>& keepPainting) {
  if (recorder_.open())
    recorder_.noted(EffectKind::ProgramRun, request.argv.empty() ? std::string() : request.argv.front(),
                    "ran " + commandLineOf(request) + "; what it changed is not known");
  recorder_.programRuns(false);
  return inner_.runAndWait(request, keepPainting);
}

void RecordingLauncher::start(const core::ProcessRequest& request) {
  if (recorder_.open())
    recorder_.noted(EffectKind::ProgramRun, request.argv.empty() ? std::string() : request.argv.front(),
                    "started " + commandLineOf(request) + "; what it changed is not known");
  recorder_.programRuns(true);
  inner_.start(request);
}

}  // namespace journal
