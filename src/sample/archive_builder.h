#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sample {

// Builds ZIP archives with libzip: plain, stored, encrypted, symbolic-link,
// folder and nested members under any stored name (hostile ones included,
// since the name is written as given). The sample's Downloads are made with
// it, and the tests build their archives with it.
class ArchiveBuilder {
 public:
  enum class Encryption { None, Traditional, Aes256 };

  // A deflated member.
  ArchiveBuilder& add(std::string name, std::string bytes);
  // A member stored without compression, so a test can find and damage its
  // bytes in the archive.
  ArchiveBuilder& addStored(std::string name, std::string bytes);
  ArchiveBuilder& addEncrypted(std::string name, std::string bytes, std::string password,
                               Encryption method = Encryption::Aes256);
  // A member marked as a Unix symbolic link whose text is the link target.
  ArchiveBuilder& addSymlink(std::string name, std::string target);
  ArchiveBuilder& addFolder(std::string name);
  // An archive inside the archive.
  ArchiveBuilder& addArchive(std::string name, const ArchiveBuilder& inner);

  // The archive's bytes.
  std::string bytes() const;
  // Writes the archive to a host path (folders made as needed).
  void writeTo(const std::string& hostPath) const;

  std::size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string name;
    std::string bytes;
    bool stored = false;
    bool folder = false;
    bool symlink = false;
    Encryption encryption = Encryption::None;
    std::string password;
  };
  static Entry entry(std::string name, std::string bytes) {
    Entry e;
    e.name = std::move(name);
    e.bytes = std::move(bytes);
    return e;
  }
  std::vector<Entry> entries_;
};

}  // namespace sample
