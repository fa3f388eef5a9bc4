#include "core/layered_registry.h"

#include "core/app_state.h"
#include "core/simulator.h"
#include "core/text.h"
#include "core/wine_prefix.h"

namespace core {

namespace {

std::string machinePath(Hive hive, std::string_view keyPath) {
  std::string path = hive == Hive::ClassesRoot ? "Software\\Classes\\" : "";
  std::size_t start = 0;
  while (start < keyPath.size() && keyPath[start] == '\\') ++start;
  return path + std::string(keyPath.substr(start));
}

bool sameKey(std::string_view a, std::string_view b) {
  auto strip = [](std::string_view s) {
    while (!s.empty() && s.front() == '\\') s.remove_prefix(1);
    while (!s.empty() && s.back() == '\\') s.remove_suffix(1);
    return s;
  };
  return iequals(strip(a), strip(b));
}

}  // namespace

LayeredRegistryStore::LayeredRegistryStore(RegistryStore& own, WinePrefixes& prefixes)
    : own_(own), prefixes_(prefixes) {}

PrefixRegistry* LayeredRegistryStore::prefixFor(Hive hive, std::string_view keyPath) {
  if (prefixes_.all().empty()) return nullptr;
  if (hive == Hive::LocalMachine) {
    for (int version : {simver::FS98, simver::FS2000, simver::FS2002}) {
      if (!sameKey(keyPath, simulatorInfo(version)->key)) continue;
      if (auto index = prefixes_.registeredFor(version)) return &prefixes_.registry(*index);
    }
  }
  if (auto* simulator = prefixes_.simulatorRegistry()) return simulator;
  for (std::size_t i = 0; i < prefixes_.all().size(); ++i)
    if (prefixes_.registry(i).machineKeyExists(machinePath(hive, keyPath))) return &prefixes_.registry(i);
  return nullptr;
}

std::optional<std::string> LayeredRegistryStore::query(Hive hive, std::string_view keyPath,
                                                       std::string_view valueName) {
  if (auto value = own_.query(hive, keyPath, valueName)) return value;
  auto* prefix = prefixFor(hive, keyPath);
  return prefix ? prefix->machineValue(machinePath(hive, keyPath), valueName) : std::nullopt;
}

bool LayeredRegistryStore::keyExists(Hive hive, std::string_view keyPath) {
  if (own_.keyExists(hive, keyPath)) return true;
  auto* prefix = prefixFor(hive, keyPath);
  return prefix && prefix->machineKeyExists(machinePath(hive, keyPath));
}

void LayeredRegistryStore::setValue(Hive hive, std::string_view keyPath, std::string_view valueName,
                                    std::string_view value) {
  own_.setValue(hive, keyPath, valueName, value);
}

void LayeredRegistryStore::deleteKey(Hive hive, std::string_view keyPath) {
  own_.deleteKey(hive, keyPath);
}

}  // namespace core
