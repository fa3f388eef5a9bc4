#pragma once

#include "core/registry.h"

namespace core {

class WinePrefixes;
class PrefixRegistry;

// The registry as the program sees it under Wine: its own store (what the
// program itself wrote: a manually located simulator, the association) over
// the registry files of the Wine prefixes, which it only reads. The own store
// wins where both hold a value; every write goes to the own store.
//
// A simulator's key is read from the prefix that registers that version;
// any other key from the simulator's prefix, else from the first prefix
// that holds it. "CR" is HKEY_LOCAL_MACHINE\Software\Classes.
class LayeredRegistryStore : public RegistryStore {
 public:
  LayeredRegistryStore(RegistryStore& own, WinePrefixes& prefixes);
  std::optional<std::string> query(Hive hive, std::string_view keyPath, std::string_view valueName) override;
  bool keyExists(Hive hive, std::string_view keyPath) override;
  void setValue(Hive hive, std::string_view keyPath, std::string_view valueName, std::string_view value) override;
  void deleteKey(Hive hive, std::string_view keyPath) override;

 private:
  PrefixRegistry* prefixFor(Hive hive, std::string_view keyPath);

  RegistryStore& own_;
  WinePrefixes& prefixes_;
};

}  // namespace core
