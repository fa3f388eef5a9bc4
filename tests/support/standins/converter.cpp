// Stand-in for the Flight Shop converter (aafconv.exe, aafconv98.exe; one
// program under both names). It reads section "Options" of the .cfg beside
// it, named like itself, and converts what the input paths hold into the
// simulator folder it lies in:
// - AircraftInputPath: every *.air becomes aircraft\NAME\NAME.air;
// - AdventureInputPath: every *.adv becomes Adv\NAME.adv with the signature
//   of the generation this build writes ("FS6x adventure" for aafconv98,
//   "FS7 adventure" for aafconv) in place of its first line.
// CopySounds and CopySituations are read and logged; the program always
// asks for "0", and places sounds and situations itself.
// Each run appends one line to <name>.log beside it:
//   aircraft=<path>|adventure=<path>|sounds=<v>|situations=<v>|air=<names>|adv=<names>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "core/profile.h"
#include "standin_common.h"

namespace fsys = std::filesystem;

namespace {

std::vector<std::string> filesWithExtension(const std::string& hostFolder, const std::string& ext) {
  std::vector<std::string> names;
  std::error_code ec;
  for (const auto& e : fsys::directory_iterator(hostFolder, ec))
    if (e.is_regular_file() && core::iendsWith(e.path().filename().string(), ext))
      names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void writeFile(const std::string& hostPath, const std::string& bytes) {
  fsys::create_directories(fsys::path(hostPath).parent_path());
  std::ofstream(hostPath, std::ios::binary | std::ios::trunc) << bytes;
}

std::string joined(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ",") + n;
  return out;
}

}  // namespace

int main() {
  const standin::Self self = standin::whoAmI();
  const std::string cfg = standin::readAll(standin::findInFolder(self.folder, self.baseName + ".cfg"));
  auto option = [&](const char* key) { return core::profile::lookup(cfg, "Options", key); };
  const std::optional<std::string> aircraftIn = option("AircraftInputPath");
  const std::optional<std::string> adventureIn = option("AdventureInputPath");
  if (!aircraftIn && !adventureIn) {
    standin::appendLog(self, "no input path");
    return 1;
  }
  const std::string simWin = self.drives.toWindows(self.folder).value_or("");

  std::vector<std::string> airs;
  if (aircraftIn) {
    const std::string in = self.drives.toHost(*aircraftIn);
    airs = filesWithExtension(in, ".air");
    for (const auto& air : airs) {
      const std::string name = core::dropRight(air, 4);
      writeFile(self.drives.toHost(simWin + "\\aircraft\\" + name + "\\" + name + ".air"),
                standin::readAll(in + "/" + air));
    }
  }

  std::vector<std::string> advs;
  if (adventureIn) {
    const std::string in = self.drives.toHost(*adventureIn);
    const std::string signature = self.baseName == "aafconv98" ? "FS6x adventure" : "FS7 adventure";
    advs = filesWithExtension(in, ".adv");
    for (const auto& adv : advs) {
      std::string bytes = standin::readAll(in + "/" + adv);
      const auto eol = bytes.find('\n');
      const std::string rest = eol == std::string::npos ? std::string() : bytes.substr(eol + 1);
      writeFile(self.drives.toHost(simWin + "\\Adv\\" + adv), signature + "\r\n" + rest);
    }
  }

  standin::appendLog(self, "aircraft=" + aircraftIn.value_or("") + "|adventure=" + adventureIn.value_or("") +
                               "|sounds=" + option("CopySounds").value_or("") + "|situations=" +
                               option("CopySituations").value_or("") + "|air=" + joined(airs) + "|adv=" + joined(advs));
  return 0;
}
