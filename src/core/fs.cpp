#include "core/fs.h"

#include "core/errors.h"

namespace core {

std::optional<unsigned> FileSystem::attributesIfAny(std::string_view path) {
  try {
    return attributes(path);
  } catch (const RuntimeError& e) {
    if (e.number() == err::FileNotFound || e.number() == err::PathNotFound) return std::nullopt;
    throw;
  }
}

bool FileSystem::ordinaryFileExists(std::string_view path) {
  try {
    const auto a = attributesIfAny(path);
    return a && (*a & (attr::Folder | attr::Hidden | attr::System)) == 0;
  } catch (const RuntimeError&) {
    return false;
  }
}

void FileSystem::moveFile(std::string_view from, std::string_view to) {
  copyFile(from, to);
  step([&] { deleteFile(from); });
}

}  // namespace core
