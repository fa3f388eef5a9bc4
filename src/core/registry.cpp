#include "core/registry.h"

#include <cerrno>

#include "core/atomic_file.h"
#include "core/context.h"
#include "core/dialogs.h"
#include "core/errors.h"
#include "core/profile.h"
#include "core/text.h"

namespace core {

namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

// "LM\SOFTWARE\Microsoft\..." with doubled and outer backslashes dropped,
// as the registry itself treats them.
std::string sectionFor(Hive hive, std::string_view keyPath) {
  std::string section = hive == Hive::ClassesRoot ? "CR" : "LM";
  std::size_t pos = 0;
  while (pos <= keyPath.size()) {
    std::size_t end = keyPath.find('\\', pos);
    if (end == std::string_view::npos) end = keyPath.size();
    if (end > pos) section += "\\" + std::string(keyPath.substr(pos, end - pos));
    pos = end + 1;
  }
  return section;
}

// The default (unnamed) value is written "@".
std::string_view valueKey(std::string_view valueName) {
  return valueName.empty() ? std::string_view("@") : valueName;
}

bool isKeyOrSubKey(std::string_view name, std::string_view section) {
  return iequals(name, section) || istartsWith(name, std::string(section) + "\\");
}

// The store's bytes; empty when there is no store yet.
std::string readStore(const std::string& file) {
  try {
    return readHostFile(file);
  } catch (const RuntimeError& e) {
    if (e.sysErrno() == ENOENT) return {};
    throw;
  }
}

}  // namespace

Hive hiveFromWord(std::string_view word) {
  return iequals(trim(word), "CR") ? Hive::ClassesRoot : Hive::LocalMachine;
}

IniRegistryStore::IniRegistryStore(std::string file) : file_(std::move(file)) {}

std::optional<std::string> IniRegistryStore::query(Hive hive, std::string_view keyPath, std::string_view valueName) {
  return profile::lookup(readStore(file_), sectionFor(hive, keyPath), valueKey(valueName), kNoLimit);
}

bool IniRegistryStore::keyExists(Hive hive, std::string_view keyPath) {
  const std::string section = sectionFor(hive, keyPath);
  for (const auto& name : profile::Document(readStore(file_)).sectionNames())
    if (isKeyOrSubKey(name, section)) return true;
  return false;
}

void IniRegistryStore::setValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                                std::string_view value) {
  const std::string bytes = readStore(file_);
  const std::string updated =
      profile::withValue(bytes, sectionFor(hive, keyPath), valueKey(valueName), profile::storedForm(value));
  if (updated == bytes) return;
  if (bytes.empty()) makeHostFolders(parentPath(file_));
  writeFileAtomically(file_, updated);
}

void IniRegistryStore::deleteKey(Hive hive, std::string_view keyPath) {
  const std::string section = sectionFor(hive, keyPath);
  // The hive itself is no key that can go.
  if (section.size() <= 2) throw RuntimeError(err::InvalidProcedureCall, "cannot delete a hive");
  const std::string bytes = readStore(file_);
  const std::string updated =
      profile::withoutSections(bytes, [&](std::string_view name) { return isKeyOrSubKey(name, section); });
  if (updated != bytes) writeFileAtomically(file_, updated);
}

std::string ReadReg(Context& ctx, std::string_view hiveWord, std::string_view keyPath, std::string_view valueName) {
  try {
    const Hive hive = hiveFromWord(hiveWord);
    if (!ctx.registry.keyExists(hive, keyPath)) return {};  // the key does not open
    std::optional<std::string> value = ctx.registry.query(hive, keyPath, valueName);
    return value.value_or(std::string());
  } catch (const RuntimeError& e) {
    ctx.dialogs.msgBox("ReadReg error " + std::to_string(e.number()), "Error", Buttons::OK, Icon::Exclamation);
    throw EndProgram{1};
  }
}

void WriteReg(Context& ctx, std::string_view hiveWord, std::string_view keyPath, std::string_view valueName,
              std::string_view value) {
  try {
    ctx.registry.setValue(hiveFromWord(hiveWord), keyPath, valueName, value);
  } catch (const RuntimeError& e) {
    ctx.dialogs.msgBox("WriteReg error " + std::to_string(e.number()), "Error", Buttons::OK, Icon::Exclamation);
    throw EndProgram{1};
  }
}

}  // namespace core
