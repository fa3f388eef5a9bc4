#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace core {

// Registry hives as the program's callers name them: "CR" is the classes
// root; any other word is the local machine.
enum class Hive { ClassesRoot, LocalMachine };
Hive hiveFromWord(std::string_view word);

// The registry store: values by hive, key path and value name, all compared
// without regard to case; the empty value name is the key's default value.
class RegistryStore {
 public:
  virtual ~RegistryStore() = default;
  // nullopt when the key or the value is absent.
  virtual std::optional<std::string> query(Hive hive, std::string_view keyPath, std::string_view valueName) = 0;
  virtual bool keyExists(Hive hive, std::string_view keyPath) = 0;
  // Creates the key when missing.
  virtual void setValue(Hive hive, std::string_view keyPath, std::string_view valueName, std::string_view value) = 0;
  // Deletes the key with all its sub-keys; a missing key is no failure.
  virtual void deleteKey(Hive hive, std::string_view keyPath) = 0;
};

// $XDG_CONFIG_HOME/hangarpak/registry.ini: one section per key, named hive
// word + "\" + key path ("LM\SOFTWARE\Microsoft\..."), the default value
// written "@". Written atomically.
class IniRegistryStore : public RegistryStore {
 public:
  explicit IniRegistryStore(std::string file);
  std::optional<std::string> query(Hive hive, std::string_view keyPath, std::string_view valueName) override;
  bool keyExists(Hive hive, std::string_view keyPath) override;
  void setValue(Hive hive, std::string_view keyPath, std::string_view valueName, std::string_view value) override;
  void deleteKey(Hive hive, std::string_view keyPath) override;
  const std::string& file() const { return file_; }

 private:
  std::string file_;
};

class Context;

// The program's registry wrappers. ReadReg returns "" for a missing key or
// value; any run-time error inside either shows "ReadReg error N" /
// "WriteReg error N" (title "Error", exclamation) and ends the program.
std::string ReadReg(Context& ctx, std::string_view hiveWord, std::string_view keyPath, std::string_view valueName);
void WriteReg(Context& ctx, std::string_view hiveWord, std::string_view keyPath, std::string_view valueName,
              std::string_view value);

}  // namespace core
