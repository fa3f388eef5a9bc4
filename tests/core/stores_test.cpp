#include <gtest/gtest.h>

#include "core/errors.h"
#include "core/registry.h"
#include "core/settings.h"
#include "support/temp_dir.h"

namespace {

using core::Hive;
using testsupport::hostExists;
using testsupport::readHostFile;
using testsupport::TempDir;
using testsupport::writeHostFile;

TEST(IniSettingsStore, KeepsOneUtf8FilePerApplication) {
  TempDir tmp;
  core::IniSettingsStore store(tmp.path() + "/config");
  EXPECT_EQ(store.fileFor("Hangarpak"), tmp.path() + "/config/Hangarpak/settings.ini");
  EXPECT_EQ(store.get("Hangarpak", "Main", "FS Path", "C:\\FS2002"), "C:\\FS2002");
  EXPECT_FALSE(hostExists(tmp.path() + "/config"));  // a read makes nothing

  store.save("Hangarpak", "Main", "FS Path", "C:\\Program Files\\Flight Simulator 2002");
  store.save("Hangarpak", "Options", "FS Version", "80");
  store.save("Ortholay", "General", "App Path", "C:\\Program Files\\Ortholay\\Ortholay.exe");
  store.save("Hangarpak", "Main", "Folder", "C:\\Téléchargements");
  EXPECT_EQ(readHostFile(store.fileFor("Hangarpak")),
            "[Main]\r\nFS Path=C:\\Program Files\\Flight Simulator 2002\r\nFolder=C:\\Téléchargements\r\n"
            "[Options]\r\nFS Version=80\r\n");
  EXPECT_EQ(store.get("Hangarpak", "MAIN", " fs path ", ""), "C:\\Program Files\\Flight Simulator 2002");
  EXPECT_EQ(store.get("Hangarpak", "Main", "Folder", ""), "C:\\Téléchargements");
}

TEST(IniSettingsStore, ValuesComeBackAsSaved) {
  TempDir tmp;
  core::IniSettingsStore store(tmp.path());
  const std::string long300 = "C:\\" + std::string(300, 'f');
  const char* const values[] = {"", " padded ", "\"quoted\"", "'single'", "a=b;c", "x\"", "C:\\ends\\"};
  for (const char* v : values) {
    SCOPED_TRACE(v);
    store.save("App", "S", "k", v);
    EXPECT_EQ(store.get("App", "S", "k", "default"), v);
  }
  store.save("App", "S", "long", long300);  // no 199-character cut here
  EXPECT_EQ(store.get("App", "S", "long", ""), long300);
  EXPECT_THROW(store.save("App", "S", "k", "two\nlines"), core::RuntimeError);
  EXPECT_EQ(store.get("App", "S", "k", "default"), "C:\\ends\\");
}

TEST(IniSettingsStore, AnUnreadableFileIsNotReplaced) {
  TempDir tmp;
  core::IniSettingsStore store(tmp.path());
  // A folder where the file should be: unreadable even for root.
  testsupport::writeHostFile(store.fileFor("App") + "/inside", "x");
  EXPECT_EQ(store.get("App", "S", "a", "dflt"), "dflt");
  EXPECT_THROW(store.save("App", "S", "b", "2"), core::RuntimeError);
  EXPECT_EQ(readHostFile(store.fileFor("App") + "/inside"), "x");
}

TEST(IniRegistryStore, OneSectionPerKey) {
  TempDir tmp;
  core::IniRegistryStore reg(tmp.path() + "/config/hangarpak/registry.ini");
  const std::string fs2002 = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0";
  EXPECT_FALSE(reg.keyExists(Hive::LocalMachine, fs2002));
  EXPECT_EQ(reg.query(Hive::LocalMachine, fs2002, "PID"), std::nullopt);
  EXPECT_FALSE(hostExists(tmp.path() + "/config"));

  reg.setValue(Hive::LocalMachine, fs2002, "EXE Path", "C:\\FS2002");
  reg.setValue(Hive::LocalMachine, fs2002, "PID", "Any Value");
  reg.setValue(Hive::ClassesRoot, "WinZip\\Shell\\Hangarpak\\command", "", "\"/opt/hp/hangarpak\" \"%1\"");
  EXPECT_EQ(readHostFile(reg.file()),
            "[LM\\SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0]\r\n"
            "EXE Path=C:\\FS2002\r\nPID=Any Value\r\n"
            "[CR\\WinZip\\Shell\\Hangarpak\\command]\r\n@=\"\"/opt/hp/hangarpak\" \"%1\"\"\r\n");

  const struct {
    const char* name;
    Hive hive;
    std::string key, value;
    std::optional<std::string> expected;
  } cases[] = {
      {"doubled and outer backslashes", Hive::LocalMachine,
       "\\SOFTWARE\\\\Microsoft\\Microsoft Games\\Flight Simulator\\8.0\\", "PID", "Any Value"},
      {"default value", Hive::ClassesRoot, "winzip\\shell\\hangarpak\\command", "", "\"/opt/hp/hangarpak\" \"%1\""},
      {"other hive", Hive::ClassesRoot, fs2002, "PID", std::nullopt},
      {"missing value", Hive::LocalMachine, fs2002, "Path", std::nullopt},
      {"parent key has no values", Hive::LocalMachine, "SOFTWARE\\Microsoft", "PID", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(reg.query(c.hive, c.key, c.value), c.expected) << c.name;
  EXPECT_TRUE(reg.keyExists(Hive::LocalMachine, "software\\microsoft"));  // a parent of a key
  EXPECT_FALSE(reg.keyExists(Hive::LocalMachine, "SOFTWARE\\Micro"));
  EXPECT_TRUE(reg.keyExists(Hive::ClassesRoot, "WinZip"));
}

TEST(IniRegistryStore, DeleteKeyTakesItsSubKeysAndNothingElse) {
  TempDir tmp;
  core::IniRegistryStore reg(tmp.path() + "/registry.ini");
  reg.setValue(Hive::ClassesRoot, "WinZip\\Shell\\Hangarpak", "", "Hangarpak");
  reg.setValue(Hive::ClassesRoot, "WinZip\\Shell\\Hangarpak\\command", "", "cmd");
  reg.setValue(Hive::ClassesRoot, "WinZip\\Shell\\HangarpakOther", "", "keep");
  reg.setValue(Hive::LocalMachine, "WinZip\\Shell\\Hangarpak", "", "other hive");
  reg.deleteKey(Hive::ClassesRoot, "winzip\\shell\\HANGARPAK");
  EXPECT_FALSE(reg.keyExists(Hive::ClassesRoot, "WinZip\\Shell\\Hangarpak"));
  EXPECT_FALSE(reg.keyExists(Hive::ClassesRoot, "WinZip\\Shell\\Hangarpak\\command"));
  EXPECT_EQ(reg.query(Hive::ClassesRoot, "WinZip\\Shell\\HangarpakOther", ""), "keep");
  EXPECT_EQ(reg.query(Hive::LocalMachine, "WinZip\\Shell\\Hangarpak", ""), "other hive");
  EXPECT_NO_THROW(reg.deleteKey(Hive::ClassesRoot, "No\\Such\\Key"));
  EXPECT_THROW(reg.deleteKey(Hive::ClassesRoot, "\\"), core::RuntimeError);
  EXPECT_TRUE(reg.keyExists(Hive::ClassesRoot, "WinZip"));
}

}  // namespace
