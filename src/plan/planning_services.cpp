#include "plan/planning_services.h"

#include "core/errors.h"
#include "core/text.h"

namespace plan {

namespace {

// Unlikely to be anybody's value: tells an absent setting from an empty one.
constexpr std::string_view kAbsent = "\x01(absent)";

std::string settingKey(std::string_view app, std::string_view section, std::string_view key) {
  return core::lower(app) + '\n' + core::lower(section) + '\n' + core::lower(key);
}

std::string hiveWord(core::Hive hive) {
  return hive == core::Hive::ClassesRoot ? "CR" : "LM";
}

std::string registryKey(core::Hive hive, std::string_view keyPath) {
  std::string path = core::lower(keyPath);
  while (!path.empty() && path.back() == '\\') path.pop_back();
  return hiveWord(hive) + "\\" + path;
}

bool under(const std::string& key, const std::string& folder) {
  return key == folder ||
         (key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 && key[folder.size()] == '\\');
}

std::string answerWord(core::Answer answer) {
  switch (answer) {
    case core::Answer::OK:
      return "OK";
    case core::Answer::Cancel:
      return "Cancel";
    case core::Answer::Yes:
      return "Yes";
    case core::Answer::No:
      return "No";
  }
  return {};
}

// A message box's line breaks as the plan shows them.
std::string plainText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
  return out;
}

const char* promptLabel(core::NamePrompt prompt) {
  switch (prompt) {
    case core::NamePrompt::FolderName:
      return "Folder name";
    case core::NamePrompt::AircraftName:
      return "Aircraft name";
    case core::NamePrompt::PanelName:
      return "Panel name";
    default:
      return "Sound name";
  }
}

}  // namespace

std::optional<std::string> PlanningSettings::value(std::string_view app, std::string_view section,
                                                   std::string_view key) {
  if (auto it = saved_.find(settingKey(app, section, key)); it != saved_.end()) return it->second;
  std::string real = real_.get(app, section, key, kAbsent);
  if (real == kAbsent) return std::nullopt;
  return real;
}

std::string PlanningSettings::get(std::string_view app, std::string_view section, std::string_view key,
                                  std::string_view def) {
  auto v = value(app, section, key);
  return v ? *v : std::string(def);
}

void PlanningSettings::save(std::string_view app, std::string_view section, std::string_view key,
                            std::string_view newValue) {
  recorder_.current().values.push_back({PlannedValue::Store::Settings, std::string(app), std::string(section),
                                        std::string(key), value(app, section, key), std::string(newValue)});
  saved_[settingKey(app, section, key)] = std::string(newValue);
}

bool PlanningRegistry::deleted(const std::string& key) const {
  if (made_.count(key)) return false;
  for (const auto& d : deleted_)
    if (under(key, d)) return true;
  return false;
}

std::optional<std::string> PlanningRegistry::query(core::Hive hive, std::string_view keyPath,
                                                   std::string_view valueName) {
  const std::string key = registryKey(hive, keyPath);
  if (auto k = values_.find(key); k != values_.end())
    if (auto v = k->second.find(core::lower(valueName)); v != k->second.end()) return v->second;
  if (deleted(key)) return std::nullopt;
  return real_.query(hive, keyPath, valueName);
}

bool PlanningRegistry::keyExists(core::Hive hive, std::string_view keyPath) {
  const std::string key = registryKey(hive, keyPath);
  if (made_.count(key)) return true;
  return !deleted(key) && real_.keyExists(hive, keyPath);
}

void PlanningRegistry::setValue(core::Hive hive, std::string_view keyPath, std::string_view valueName,
                                std::string_view value) {
  recorder_.current().values.push_back({PlannedValue::Store::Registry, hiveWord(hive) + "\\" + std::string(keyPath), "",
                                        std::string(valueName), query(hive, keyPath, valueName), std::string(value)});
  const std::string key = registryKey(hive, keyPath);
  // Setting a value makes the key and every key above it.
  for (std::string k = key; k.find('\\') != std::string::npos; k = k.substr(0, k.find_last_of('\\'))) made_.insert(k);
  values_[key][core::lower(valueName)] = std::string(value);
}

void PlanningRegistry::deleteKey(core::Hive hive, std::string_view keyPath) {
  const std::string key = registryKey(hive, keyPath);
  const bool existed = keyExists(hive, keyPath);
  std::erase_if(made_, [&](const std::string& k) { return under(k, key); });
  std::erase_if(values_, [&](const auto& entry) { return under(entry.first, key); });
  deleted_.insert(key);
  if (existed)
    recorder_.current().values.push_back({PlannedValue::Store::Registry, hiveWord(hive) + "\\" + std::string(keyPath),
                                          "", "", std::nullopt, std::nullopt});
}

int PlanningLauncher::runAndWait(const core::ProcessRequest& request, const std::function<void()>&) {
  recorder_.current().programs.push_back({request.argv, request.workingFolder, true});
  return 0;
}

void PlanningLauncher::start(const core::ProcessRequest& request) {
  recorder_.current().programs.push_back({request.argv, request.workingFolder, false});
}

core::Answer UnattendedDialogs::msgBox(std::string_view, std::string_view, core::Buttons buttons, core::Icon) {
  switch (buttons) {
    case core::Buttons::OK:
      return core::Answer::OK;
    case core::Buttons::OKCancel:
    case core::Buttons::OKCancelDefaultCancel:
      return core::Answer::Cancel;
    default:
      return core::Answer::No;
  }
}

void UnattendedDialogs::runModal(core::ModalController&) {
  throw core::EndProgram{1};
}

core::Answer RecordingDialogs::msgBox(std::string_view text, std::string_view title, core::Buttons buttons,
                                      core::Icon icon) {
  const core::Answer answer = inner_.msgBox(text, title, buttons, icon);
  const auto kind = buttons == core::Buttons::OK ? PlannedPrompt::Kind::Message : PlannedPrompt::Kind::Question;
  recorder_.current().prompts.push_back({kind, std::string(title), plainText(text), answerWord(answer)});
  return answer;
}

std::optional<std::string> RecordingDialogs::inputBox(std::string_view prompt, std::string_view title,
                                                      std::string_view def) {
  auto answer = inner_.inputBox(prompt, title, def);
  // The answer is a password: the plan says whether there was one, not what.
  recorder_.current().prompts.push_back({PlannedPrompt::Kind::Input, std::string(title), plainText(prompt),
                                         !answer           ? "Cancel"
                                         : answer->empty() ? "(empty)"
                                                           : "(given)"});
  return answer;
}

std::optional<std::string> RecordingDialogs::openFile(std::string_view title, std::string_view filter,
                                                      std::string_view startFolder) {
  auto answer = inner_.openFile(title, filter, startFolder);
  recorder_.current().prompts.push_back(
      {PlannedPrompt::Kind::FileChoice, std::string(title), std::string(filter), answer ? *answer : "Cancel"});
  return answer;
}

void RecordingDialogs::runModal(core::ModalController& controller) {
  // A dialog of the program's own cannot be played without the user: the
  // plan ends where it would appear.
  recorder_.current().prompts.push_back(
      {PlannedPrompt::Kind::Dialog, std::string(controller.formName()), "", "(not shown: the plan ends here)"});
  throw core::EndProgram{1};
}

void RecordingWindowHost::showNamePrompt() {
  const auto prompt = state_.namePrompt;
  if (prompt == core::NamePrompt::None) return;
  std::string& text = prompt == core::NamePrompt::FolderName ? state_.installFolderName : state_.archiveBaseName;
  const std::string proposed = text;
  if (inner_)
    inner_->showNamePrompt();
  else
    state_.nameConfirmed = true;
  recorder_.current().prompts.push_back(
      {PlannedPrompt::Kind::NamePrompt, promptLabel(prompt), proposed, state_.nameConfirmed ? text : "Cancel"});
}

}  // namespace plan
