#pragma once

// The aircraft archives of the install benchmarks: the large one of about
// 1,000 members, 200 MB (textures, one .air, panel bitmaps, wave files for
// the shared Sound folder), and one of tens of thousands of small textures.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>

#include "support/archive_builder.h"

namespace bench {

// Bytes that deflate to about half, like real textures and sounds.
inline std::string content(std::size_t size, std::uint32_t seed) {
  std::string out(size, '\0');
  std::uint32_t x = seed * 2654435761u + 1;
  for (auto& c : out) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>('a' + (x & 15));
  }
  return out;
}

// Built in a child process, so the builder's memory never counts against
// the install's peak.
template <class Fill>
void buildInChild(const std::string& hostPath, Fill fill) {
  const pid_t pid = fork();
  if (pid == 0) {
    testsupport::ArchiveBuilder a;
    fill(a);
    a.writeTo(hostPath);
    _exit(0);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) throw std::runtime_error("cannot build the archive");
}

inline void buildJumboArchive(const std::string& hostPath) {
  buildInChild(hostPath, [](testsupport::ArchiveBuilder& a) {
    a.add("Jumbo/aircraft.cfg", "[fltsim.0]\r\ntitle=Jumbo\r\nkb_checklists=jumbo_check\r\n");
    a.add("Jumbo/jumbo.air", content(9000, 1));
    a.add("Jumbo/model/model.cfg", "[models]\r\nnormal=jumbo\r\n");
    a.add("Jumbo/model/jumbo.mdl", content(2 << 20, 2));
    std::string panel = "[Window00]\r\n";
    std::string sound = "[wind_sound]\r\n";
    for (int i = 0; i < 100; ++i) panel += "file_" + std::to_string(i) + "=panel" + std::to_string(i) + ".bmp\r\n";
    for (int i = 0; i < 150; ++i) sound += "filename" + std::to_string(i) + "=snd" + std::to_string(i) + "\r\n";
    a.add("Jumbo/panel/panel.cfg", panel);
    a.add("Jumbo/sound/sound.cfg", sound);
    for (int i = 0; i < 600; ++i) a.add("Jumbo/texture/tex" + std::to_string(i) + ".bmp", content(230 << 10, 10 + i));
    for (int i = 0; i < 100; ++i) a.add("Jumbo/panel/panel" + std::to_string(i) + ".bmp", content(150 << 10, 700 + i));
    for (int i = 0; i < 290; ++i) a.add("Jumbo/sound/snd" + std::to_string(i) + ".wav", content(100 << 10, 900 + i));
    a.add("Jumbo/jumbo_check.txt", "checklist");
  });
}

// An aircraft of `textures` small textures (0.5 to 2 KB) whose names spread
// over the alphabet and the digits, as a scenery-sized texture set's do.
inline void buildManyTexturesArchive(const std::string& hostPath, int textures) {
  buildInChild(hostPath, [textures](testsupport::ArchiveBuilder& a) {
    a.add("Many/aircraft.cfg", "[fltsim.0]\r\ntitle=Many\r\n");
    a.add("Many/many.air", content(9000, 3));
    for (int i = 0; i < textures; ++i) {
      const std::uint32_t spread = static_cast<std::uint32_t>(i) * 2654435761u;
      const std::string name = std::string(1, static_cast<char>('a' + spread % 26)) + std::to_string(spread % 1000003);
      a.add("Many/texture/" + name + "_" + std::to_string(i) + ".bmp", content(512 + spread % 1536, i));
    }
  });
}

}  // namespace bench
