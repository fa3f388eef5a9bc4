#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/controls.h"
#include "core/form.h"

namespace core {

class Context;

// What detection knows of one simulator version.
struct SimulatorInfo {
  std::int16_t version;          // 61, 70, 80
  std::string_view product;      // "Flight Simulator 2002"
  std::string_view exe;          // "fs2002.exe"
  std::string_view key;          // under the local-machine hive
  std::string_view folderValue;  // "Path" / "EXE Path"
  std::string_view markerValue;  // "ProductID" / "PID"
};

// The entry of a version; nullptr for anything but 61, 70 and 80.
const SimulatorInfo* simulatorInfo(int version);

// The version counts as installed when its marker value is not empty.
bool SimulatorRegistered(Context& ctx, int version);

// The folder detection would take for the version without asking anything:
// simFolder when it fits the version, else the registry's folder when it
// holds the executable; empty when neither does. Changes nothing but the
// choice of Wine prefix.
std::string DetectedFolder(Context& ctx, int version);

// Makes simFolder name the main folder of the simulator in simVersion: keeps
// a folder that holds the version's executable (and not a newer one's),
// else takes the registry's folder, else asks the user to locate the
// executable. With no version chosen yet it only asks for the version
// (fsOptFrm). Cancelling the manual location ends the program.
void FindSimulator(Context& ctx);

// The version chooser fsOptFrm. Unloading it (OK or the close box) sets
// simVersion from the selected button; nothing is saved.
class FsOptForm : public Form {
 public:
  explicit FsOptForm(Context& ctx);
  std::string_view formName() const override { return "fsOptFrm"; }
  void Form_Load() override;

  std::string versionFra = "Version";
  OptionButton fs2002Opt{"Flight Simulator 2002"};
  OptionButton fs2000Opt{"Flight Simulator 2000"};
  OptionButton fs98Opt{"Flight Simulator 98"};
  Button Command1{"&OK"};

  // The user picks one of the three; the others clear.
  void select(OptionButton& button);
  void Command1_Click() { unload(); }

 protected:
  void Form_Unload() override;

 private:
  Context& ctx_;
};

}  // namespace core
