#include "sample/archive_builder.h"

#include <sys/stat.h>
#include <zip.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "sample/host_files.h"

namespace sample {

namespace {
[[noreturn]] void fail(const std::string& what, zip_t* za) {
  throw std::runtime_error("archive builder: " + what + ": " + (za ? zip_strerror(za) : "no archive"));
}

zip_uint16_t libzipMethod(ArchiveBuilder::Encryption e) {
  switch (e) {
    case ArchiveBuilder::Encryption::Traditional:
      return ZIP_EM_TRAD_PKWARE;
    case ArchiveBuilder::Encryption::Aes256:
      return ZIP_EM_AES_256;
    case ArchiveBuilder::Encryption::None:
      break;
  }
  return ZIP_EM_NONE;
}
}  // namespace

ArchiveBuilder& ArchiveBuilder::add(std::string name, std::string bytes) {
  entries_.push_back(entry(std::move(name), std::move(bytes)));
  return *this;
}

ArchiveBuilder& ArchiveBuilder::addStored(std::string name, std::string bytes) {
  Entry e = entry(std::move(name), std::move(bytes));
  e.stored = true;
  entries_.push_back(std::move(e));
  return *this;
}

ArchiveBuilder& ArchiveBuilder::addEncrypted(std::string name, std::string bytes, std::string password,
                                             Encryption method) {
  Entry e = entry(std::move(name), std::move(bytes));
  e.encryption = method;
  e.password = std::move(password);
  entries_.push_back(std::move(e));
  return *this;
}

ArchiveBuilder& ArchiveBuilder::addSymlink(std::string name, std::string target) {
  Entry e = entry(std::move(name), std::move(target));
  e.symlink = true;
  entries_.push_back(std::move(e));
  return *this;
}

ArchiveBuilder& ArchiveBuilder::addFolder(std::string name) {
  Entry e = entry(std::move(name), {});
  e.folder = true;
  entries_.push_back(std::move(e));
  return *this;
}

ArchiveBuilder& ArchiveBuilder::addArchive(std::string name, const ArchiveBuilder& inner) {
  return add(std::move(name), inner.bytes());
}

std::string ArchiveBuilder::bytes() const {
  // libzip writes nothing for an archive without members; an empty archive
  // is its end record alone.
  if (entries_.empty()) return std::string("PK\x05\x06", 4) + std::string(18, '\0');
  zip_error_t error;
  zip_error_init(&error);
  zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
  if (!target) throw std::runtime_error("archive builder: no buffer");
  // Keep the buffer alive past zip_close to read the result back.
  zip_source_keep(target);
  std::unique_ptr<zip_source_t, decltype(&zip_source_free)> keep(target, &zip_source_free);
  zip_t* za = zip_open_from_source(target, ZIP_TRUNCATE, &error);
  if (!za) throw std::runtime_error("archive builder: cannot open buffer");

  for (const auto& e : entries_) {
    zip_int64_t index = -1;
    // Names go in as raw bytes, exactly as given; no folder is made for them.
    if (e.folder) {
      index = zip_dir_add(za, e.name.c_str(), ZIP_FL_ENC_RAW);
      if (index < 0) fail("folder " + e.name, za);
      continue;
    }
    zip_source_t* src = zip_source_buffer(za, e.bytes.data(), e.bytes.size(), 0);
    if (!src) fail("source " + e.name, za);
    index = zip_file_add(za, e.name.c_str(), src, ZIP_FL_ENC_RAW | ZIP_FL_OVERWRITE);
    if (index < 0) {
      zip_source_free(src);
      fail("member " + e.name, za);
    }
    const auto i = static_cast<zip_uint64_t>(index);
    if (e.stored && zip_set_file_compression(za, i, ZIP_CM_STORE, 0) != 0) fail("store " + e.name, za);
    if (e.encryption != Encryption::None &&
        zip_file_set_encryption(za, i, libzipMethod(e.encryption), e.password.c_str()) != 0)
      fail("encrypt " + e.name, za);
    if (e.symlink && zip_file_set_external_attributes(za, i, 0, ZIP_OPSYS_UNIX,
                                                      static_cast<zip_uint32_t>(S_IFLNK | 0777) << 16) != 0)
      fail("symlink " + e.name, za);
  }
  if (zip_close(za) != 0) {
    std::string why = zip_strerror(za);
    zip_discard(za);
    throw std::runtime_error("archive builder: close: " + why);
  }

  if (zip_source_open(target) != 0) throw std::runtime_error("archive builder: reopen");
  std::string out;
  char buffer[64 * 1024];
  zip_int64_t got;
  while ((got = zip_source_read(target, buffer, sizeof buffer)) > 0) out.append(buffer, static_cast<std::size_t>(got));
  zip_source_close(target);
  return out;
}

void ArchiveBuilder::writeTo(const std::string& hostPath) const {
  writeHostFile(hostPath, bytes());
}

}  // namespace sample
