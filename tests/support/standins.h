#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The stand-ins for the outside programs, built with the tests as native
// programs (the program starts any ELF file directly, whatever its name).
// They are copied into a test's tree under the names the program looks for.

// Copies the converter stand-in into a host folder (the simulator folder)
// under fileName ("aafconv.exe" or "aafconv98.exe").
void putConverter(const std::string& hostFolder, const std::string& fileName);
// Both of them.
void putConverters(const std::string& hostFolder);
// Copies the scenery installer stand-in into a host folder as Ortholay.exe.
void putSceneryInstaller(const std::string& hostFolder);

// One run of the converter as it logged it.
struct ConverterRun {
  std::string adventureInput;  // "AdventureInputPath" as read
  std::string copySounds;
  std::string copySituations;
  std::vector<std::string> aircraft;    // *.air found in the aircraft input folder
  std::vector<std::string> adventures;  // *.adv found in the adventure input folder
};
// The runs of the converter named baseName ("aafconv", "aafconv98") in a
// host folder, oldest first.
std::vector<ConverterRun> converterRuns(const std::string& hostFolder, const std::string& baseName);

// One run of the scenery installer: the "QX Start" it read and the first
// line of that package at the time ("(missing)" when there was none).
struct SceneryRun {
  std::string package;
  std::string firstLine;
};
std::vector<SceneryRun> sceneryRuns(const std::string& hostFolder);

}  // namespace testsupport
