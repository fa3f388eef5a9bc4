#include "support/standins.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "support/built_paths.h"

namespace testsupport {

namespace fsys = std::filesystem;

namespace {

void putProgram(const std::string& built, const std::string& target) {
  fsys::create_directories(fsys::path(target).parent_path());
  fsys::copy_file(built, target, fsys::copy_options::overwrite_existing);
  fsys::permissions(target, fsys::perms::owner_all | fsys::perms::group_read | fsys::perms::group_exec,
                    fsys::perm_options::replace);
}

std::vector<std::string> logLines(const std::string& file) {
  std::vector<std::string> lines;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  for (std::size_t at = 0, next = 0; next != std::string::npos; at = next + 1)
    parts.push_back(text.substr(at, (next = text.find(sep, at)) - at));
  return parts;
}

std::string valueOf(const std::string& field, const std::string& name) {
  if (field.rfind(name + "=", 0) != 0) throw std::runtime_error("converter log: expected " + name + " in " + field);
  return field.substr(name.size() + 1);
}

std::vector<std::string> names(const std::string& list) {
  return list.empty() ? std::vector<std::string>{} : split(list, ',');
}

}  // namespace

void putConverter(const std::string& hostFolder, const std::string& fileName) {
  putProgram(standinProgram(), hostFolder + "/" + fileName);
}

void putConverters(const std::string& hostFolder) {
  putConverter(hostFolder, "aafconv.exe");
  putConverter(hostFolder, "aafconv98.exe");
}

void putSceneryInstaller(const std::string& hostFolder) {
  putProgram(standinProgram(), hostFolder + "/Ortholay.exe");
}

std::vector<ConverterRun> converterRuns(const std::string& hostFolder, const std::string& baseName) {
  std::vector<ConverterRun> runs;
  for (const auto& line : logLines(hostFolder + "/" + baseName + ".log")) {
    const auto f = split(line, '|');
    if (f.size() != 6) throw std::runtime_error("converter log: " + line);
    runs.push_back({valueOf(f[1], "adventure"), valueOf(f[2], "sounds"), valueOf(f[3], "situations"),
                    names(valueOf(f[4], "air")), names(valueOf(f[5], "adv"))});
  }
  return runs;
}

std::vector<SceneryRun> sceneryRuns(const std::string& hostFolder) {
  std::vector<SceneryRun> runs;
  for (const auto& line : logLines(hostFolder + "/ortholay.log")) {
    const auto bar = line.rfind('|');
    if (bar == std::string::npos) throw std::runtime_error("scenery installer log: " + line);
    runs.push_back({line.substr(0, bar), line.substr(bar + 1)});
  }
  return runs;
}

}  // namespace testsupport
