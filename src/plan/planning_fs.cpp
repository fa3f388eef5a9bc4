#include "plan/planning_fs.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/atomic_file.h"
#include "core/content_hash.h"
#include "core/errors.h"
#include "core/listing_order.h"
#include "core/paths.h"
#include "core/text.h"

namespace plan {

using core::RuntimeError;
namespace err = core::err;

struct PlanningFileSystem::Content {
  std::string hostPath;              // the bytes on disk (a file of the real tree, or a snapshot) ...
  std::optional<std::string> bytes;  // ... or in memory
  std::uint64_t size = 0;
  std::string source;
  bool sourceInArchive = false;
  std::optional<std::string> hash;  // worked out once, when asked
};

struct PlanningFileSystem::Node {
  enum class Kind { File, Folder, Gone } kind = Kind::Gone;
  std::string path;  // as first spelled
  std::shared_ptr<Content> content;
  bool readOnly = false;
  std::optional<std::size_t> byArchive;
  // A folder the plan made where the real tree had nothing: nothing below
  // it is in the real tree.
  bool madeWhereNothingWas = false;
};

// What a path was when the current archive first touched it.
struct PlanningFileSystem::Before {
  bool file = false;
  bool folder = false;
  std::shared_ptr<Content> content;
  std::optional<std::size_t> byArchive;
};

namespace {

using Content = PlanningFileSystem::Content;

std::string keyOf(std::string_view path) {
  return core::lower(core::normalizeWindowsPath(path));
}

std::string parentKey(const std::string& key) {
  const auto pos = key.find_last_of('\\');
  if (pos == std::string::npos) return {};
  std::string parent = key.substr(0, pos);
  if (parent.size() == 2) parent += '\\';  // "c:\x" lies in "c:\"
  return parent;
}

// The folder a path lies in, spelled as given ("C:\\" for "C:\\x").
std::string parentOf(std::string_view path) {
  std::string parent = core::parentPath(core::normalizeWindowsPath(path));
  if (parent.size() == 2 && parent[1] == ':') parent += '\\';
  return parent;
}

bool hiddenName(const std::string& name) {
  return !name.empty() && name[0] == '.';
}

std::string bytesOf(const Content& c) {
  return c.bytes ? *c.bytes : core::readHostFile(c.hostPath);
}

const std::string& hashOf(Content& c) {
  if (c.hash) return *c.hash;
  if (c.bytes) return *(c.hash = core::contentHash(*c.bytes));
  // Streamed: an aircraft's files may be large.
  core::ContentHasher hasher;
  const int fd = ::open(c.hostPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw RuntimeError(err::FileNotFound, c.hostPath, errno);
  std::vector<char> buf(1 << 16);
  for (;;) {
    const ssize_t n = ::read(fd, buf.data(), buf.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    hasher.update(buf.data(), static_cast<std::size_t>(n));
  }
  ::close(fd);
  return *(c.hash = hasher.hex());
}

// The error the real file system gives for a path that is not there.
[[noreturn]] void missing(PlanningFileSystem& fs, std::string_view path) {
  (void)fs.hostPath(path);  // a drive not in the table or a name the host cannot hold
  const std::string parent = parentOf(path);
  if (parent.empty() || !fs.folderExists(parent)) throw RuntimeError(err::PathNotFound, std::string(path));
  throw RuntimeError(err::FileNotFound, std::string(path));
}

}  // namespace

// A planned file being written: kept in memory, put into the plan at commit.
class PlannedWriter : public core::FileWriter {
 public:
  PlannedWriter(PlanningFileSystem& fs, std::string path) : fs_(fs), path_(std::move(path)) {}
  void write(const char* data, std::size_t size) override { bytes_.append(data, size); }
  void commit() override {
    auto c = std::make_shared<Content>();
    c->size = bytes_.size();
    c->bytes = std::move(bytes_);
    fs_.putFile(path_, std::move(c));
  }

 private:
  PlanningFileSystem& fs_;
  std::string path_;
  std::string bytes_;
};

// A file of the pass-through folder being written for real, hashed as its
// bytes pass.
class PassThroughWriter : public core::FileWriter {
 public:
  PassThroughWriter(PlanningFileSystem& fs, std::string key, std::unique_ptr<core::FileWriter> inner)
      : fs_(fs), key_(std::move(key)), inner_(std::move(inner)) {}
  void write(const char* data, std::size_t size) override {
    inner_->write(data, size);
    hasher_.update(data, size);
    size_ += size;
  }
  void commit() override {
    inner_->commit();
    fs_.written_[key_] = {size_, hasher_.hex()};
  }

 private:
  PlanningFileSystem& fs_;
  std::string key_;
  std::unique_ptr<core::FileWriter> inner_;
  core::ContentHasher hasher_;
  std::uint64_t size_ = 0;
};

PlanningFileSystem::PlanningFileSystem(core::FileSystem& real, std::string scratchHostFolder)
    : real_(real), scratch_(std::move(scratchHostFolder)) {}

PlanningFileSystem::~PlanningFileSystem() {
  if (scratch_.empty()) return;
  std::error_code ec;
  std::filesystem::remove_all(scratch_, ec);
}

bool PlanningFileSystem::passesThrough(const std::string& key) {
  if (!passThrough_) return false;
  const std::string folder = keyOf(passThrough_());
  return key == folder ||
         (key.size() > folder.size() && key.compare(0, folder.size(), folder) == 0 && key[folder.size()] == '\\');
}

PlanningFileSystem::Node* PlanningFileSystem::node(const std::string& key) {
  auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

bool PlanningFileSystem::onlyPlanned(const std::string& key) {
  const Node* parent = node(parentKey(key));
  return parent && parent->kind == Node::Kind::Folder && parent->madeWhereNothingWas;
}

std::shared_ptr<Content> PlanningFileSystem::fileAt(std::string_view path, const std::string& key) {
  if (Node* n = node(key)) return n->kind == Node::Kind::File ? n->content : nullptr;
  if (onlyPlanned(key) || !real_.fileExists(path)) return nullptr;
  // The real tree is never written, so its file stays what it is now.
  auto c = std::make_shared<Content>();
  c->hostPath = real_.hostPath(path);
  c->size = real_.fileSize(path);
  c->source = std::string(path);
  return c;
}

bool PlanningFileSystem::isFolder(std::string_view path, const std::string& key) {
  if (Node* n = node(key)) return n->kind == Node::Kind::Folder;
  return !onlyPlanned(key) && real_.folderExists(path);
}

void PlanningFileSystem::touch(std::string_view path, const std::string& key) {
  if (before_.count(key)) return;
  Before b;
  if (Node* n = node(key)) {
    b.file = n->kind == Node::Kind::File;
    b.folder = n->kind == Node::Kind::Folder;
    b.content = n->content;
    b.byArchive = n->byArchive;
  } else {
    b.content = fileAt(path, key);
    b.file = b.content != nullptr;
    b.folder = !b.file && isFolder(path, key);
  }
  before_.emplace(key, std::move(b));
  touched_.push_back(key);
  if (!node(key)) nodes_[key].path = core::normalizeWindowsPath(path);
}

void PlanningFileSystem::putFile(std::string_view path, std::shared_ptr<Content> content) {
  const std::string key = keyOf(path);
  touch(path, key);
  Node& n = nodes_[key];
  // A file the program rewrites (a configuration file it edits) keeps the
  // source it was copied from; one it makes or edits in place has none.
  if (content->source.empty() && n.kind == Node::Kind::File && n.content) {
    content->source = n.content->source;
    content->sourceInArchive = n.content->sourceInArchive;
  }
  if (n.kind != Node::Kind::File) {
    // A new copy takes the source's read-only bit; a file replaced keeps its own.
    const auto b = before_.find(key);
    n.readOnly = b != before_.end() && b->second.file ? (real_.attributes(path) & core::attr::ReadOnly) != 0 : false;
  }
  n.kind = Node::Kind::File;
  n.content = std::move(content);
  n.byArchive = archive_;
}

void PlanningFileSystem::refuseWriteTo(std::string_view path, const std::string& key) {
  (void)real_.hostPath(path);
  if (isFolder(path, key)) throw RuntimeError(err::PathFileAccess, std::string(path) + " is a folder");
  const std::string parent = parentOf(path);
  if (parent.empty() || !folderExists(parent)) throw RuntimeError(err::PathNotFound, std::string(path));
  if (fileAt(path, key) && (attributes(path) & core::attr::ReadOnly))
    throw RuntimeError(err::PathFileAccess, std::string(path) + " is read-only");
}

std::string PlanningFileSystem::snapshot(const std::string& hostPath) {
  if (scratch_.empty()) return {};
  const std::string copy = scratch_ + "/" + std::to_string(++snapshots_);
  if (::link(hostPath.c_str(), copy.c_str()) == 0) return copy;
  std::error_code ec;
  if (std::filesystem::copy_file(hostPath, copy, ec)) return copy;
  return {};
}

// The content a copy or rename takes from its source, with the real file
// system's errors for a source that is missing or a folder.
std::shared_ptr<Content> PlanningFileSystem::sourceContent(std::string_view from) {
  const std::string key = keyOf(from);
  auto c = std::make_shared<Content>();
  if (passesThrough(key)) {
    if (const auto written = written_.find(key); written != written_.end()) {
      c->size = written->second.size;
      c->hash = written->second.hash;
    } else {
      c->size = real_.fileSize(from);
    }
    // Kept beside the extraction folder: the installation deletes or
    // clears the extracted file before the plan is done with it.
    const std::string host = real_.hostPath(from);
    c->hostPath = snapshot(host);
    if (c->hostPath.empty()) c->bytes = core::readHostFile(host);
    c->source = core::lastComponent(from);
    c->sourceInArchive = true;
    return c;
  }
  auto found = fileAt(from, key);
  if (!found) {
    if (isFolder(from, key)) throw RuntimeError(err::FileNotFound, std::string(from) + " is a folder");
    missing(*this, from);
  }
  *c = *found;
  if (c->source.empty()) c->source = std::string(from);
  return c;
}

bool PlanningFileSystem::fileExists(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.fileExists(path);
  if (Node* n = node(key)) return n->kind == Node::Kind::File;
  return !onlyPlanned(key) && real_.fileExists(path);
}

bool PlanningFileSystem::folderExists(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.folderExists(path);
  return isFolder(path, key);
}

template <class Keep>
std::vector<std::string> PlanningFileSystem::list(std::string_view folder, std::vector<std::string> names, Keep keep) {
  const std::string folderKey = keyOf(folder);
  // The real names the plan has not deleted or replaced by another kind.
  std::erase_if(names, [&](const std::string& name) {
    const Node* n = node(folderKey + (folderKey.back() == '\\' ? "" : "\\") + core::lower(name));
    return n && !keep(*n);
  });
  for (const auto& [key, n] : nodes_) {
    if (parentKey(key) != folderKey || !keep(n)) continue;
    const std::string name = core::lastComponent(n.path);
    const bool listed = std::any_of(names.begin(), names.end(), [&](const auto& s) { return core::iequals(s, name); });
    if (!listed) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), core::listedBefore);
  return names;
}

std::vector<std::string> PlanningFileSystem::listFiles(std::string_view folder, std::string_view patterns,
                                                       bool includeHidden) {
  if (passesThrough(keyOf(folder))) return real_.listFiles(folder, patterns, includeHidden);
  return list(folder, real_.listFiles(folder, patterns, includeHidden), [&](const Node& n) {
    const std::string name = core::lastComponent(n.path);
    return n.kind == Node::Kind::File && (includeHidden || !hiddenName(name)) && core::matchesPattern(name, patterns);
  });
}

std::vector<std::string> PlanningFileSystem::listFolders(std::string_view folder) {
  if (passesThrough(keyOf(folder))) return real_.listFolders(folder);
  return list(folder, real_.listFolders(folder), [](const Node& n) { return n.kind == Node::Kind::Folder; });
}

std::uint64_t PlanningFileSystem::fileSize(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.fileSize(path);
  if (auto c = fileAt(path, key)) return c->size;
  if (isFolder(path, key)) throw RuntimeError(err::FileNotFound, std::string(path) + " is a folder");
  missing(*this, path);
}

std::string PlanningFileSystem::readFile(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.readFile(path);
  if (auto c = fileAt(path, key)) return bytesOf(*c);
  if (isFolder(path, key)) throw RuntimeError(err::PathFileAccess, std::string(path) + " is not a plain file");
  missing(*this, path);
}

void PlanningFileSystem::writeFile(std::string_view path, std::string_view bytes) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) {
    passThroughChanges(key);
    return real_.writeFile(path, bytes);
  }
  refuseWriteTo(path, key);
  PlannedWriter writer(*this, std::string(path));
  writer.write(bytes.data(), bytes.size());
  writer.commit();
}

std::unique_ptr<core::FileWriter> PlanningFileSystem::createFile(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) {
    passThroughChanges(key);
    return real_.createFile(path);
  }
  refuseWriteTo(path, key);
  return std::make_unique<PlannedWriter>(*this, std::string(path));
}

std::unique_ptr<core::FileWriter> PlanningFileSystem::createScratchFile(std::string_view path) {
  std::string key = keyOf(path);
  if (!passesThrough(key)) return createFile(path);
  passThroughChanges(key);
  return std::make_unique<PassThroughWriter>(*this, std::move(key), real_.createScratchFile(path));
}

void PlanningFileSystem::copyFile(std::string_view from, std::string_view to) {
  const std::string toKey = keyOf(to);
  if (passesThrough(toKey)) passThroughChanges(toKey);
  if (passesThrough(keyOf(from)) && passesThrough(toKey)) return real_.copyFile(from, to);
  auto content = sourceContent(from);
  if (passesThrough(toKey)) {
    auto writer = real_.createFile(to);
    const std::string bytes = bytesOf(*content);
    writer->write(bytes.data(), bytes.size());
    return writer->commit();
  }
  if (keyOf(from) == toKey) throw RuntimeError(err::PathFileAccess, "cannot copy a file onto itself");
  refuseWriteTo(to, toKey);
  putFile(to, std::move(content));
}

void PlanningFileSystem::renameFile(std::string_view from, std::string_view to) {
  const std::string fromKey = keyOf(from), toKey = keyOf(to);
  if (passesThrough(toKey)) passThroughChanges(toKey);
  if (passesThrough(fromKey) && passesThrough(toKey)) {
    passThroughChanges(fromKey);
    return real_.renameFile(from, to);
  }
  if (fromKey == toKey) return;  // a change of case only: the plan keeps no spelling
  auto content = sourceContent(from);
  if (fileExists(to) || folderExists(to)) throw RuntimeError(err::FileAlreadyExists, std::string(to) + " exists");
  if (passesThrough(toKey)) {
    auto writer = real_.createFile(to);
    const std::string bytes = bytesOf(*content);
    writer->write(bytes.data(), bytes.size());
    writer->commit();
  } else {
    refuseWriteTo(to, toKey);
    putFile(to, std::move(content));
  }
  if (passesThrough(fromKey)) {
    passThroughChanges(fromKey);
    return real_.deleteFile(from);
  }
  touch(from, fromKey);
  nodes_[fromKey].kind = Node::Kind::Gone;
}

void PlanningFileSystem::deleteFile(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) {
    passThroughChanges(key);
    return real_.deleteFile(path);
  }
  if (!fileAt(path, key)) {
    if (isFolder(path, key)) throw RuntimeError(err::FileNotFound, std::string(path) + " is a folder");
    missing(*this, path);
  }
  if (attributes(path) & core::attr::ReadOnly)
    throw RuntimeError(err::PathFileAccess, std::string(path) + " is read-only");
  touch(path, key);
  nodes_[key].kind = Node::Kind::Gone;
}

void PlanningFileSystem::makeFolder(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.makeFolder(path);
  (void)real_.hostPath(path);
  if (fileExists(path) || isFolder(path, key)) throw RuntimeError(err::PathFileAccess, std::string(path) + " exists");
  const std::string parent = parentOf(path);
  if (parent.empty() || !folderExists(parent)) throw RuntimeError(err::PathNotFound, std::string(path));
  // A folder the plan removed may still be there (empty as the plan sees it).
  const bool nothingWas = !node(key);
  touch(path, key);
  Node& n = nodes_[key];
  n.kind = Node::Kind::Folder;
  n.madeWhereNothingWas = nothingWas;
}

void PlanningFileSystem::removeFolder(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) {
    // What was written below it goes with it.
    written_.clear();
    return real_.removeFolder(path);
  }
  (void)real_.hostPath(path);
  if (!isFolder(path, key)) throw RuntimeError(err::PathNotFound, std::string(path));
  if (!listFiles(path, "*", true).empty() || !listFolders(path).empty())
    throw RuntimeError(err::PathFileAccess, std::string(path) + " is not empty");
  touch(path, key);
  nodes_[key].kind = Node::Kind::Gone;
}

unsigned PlanningFileSystem::attributes(std::string_view path) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.attributes(path);
  const Node* n = node(key);
  if (!n) return real_.attributes(path);
  if (n->kind == Node::Kind::Gone) missing(*this, path);
  unsigned a = n->kind == Node::Kind::Folder ? core::attr::Folder : core::attr::Normal;
  if (n->readOnly) a |= core::attr::ReadOnly;
  if (hiddenName(core::lastComponent(n->path))) a |= core::attr::Hidden;
  return a;
}

void PlanningFileSystem::setAttributes(std::string_view path, unsigned attributes) {
  const std::string key = keyOf(path);
  if (passesThrough(key)) return real_.setAttributes(path, attributes);
  // Only read-only is kept, and folders keep none, as on the real file system.
  if (isFolder(path, key)) return;
  auto content = fileAt(path, key);
  if (!content) missing(*this, path);
  Node& n = nodes_[key];
  if (n.kind != Node::Kind::File) {
    n.kind = Node::Kind::File;
    n.path = core::normalizeWindowsPath(path);
    n.content = std::move(content);
  }
  n.readOnly = (attributes & core::attr::ReadOnly) != 0;
}

PlanningFileSystem::Changes PlanningFileSystem::takeChanges() {
  Changes out;
  for (const auto& key : touched_) {
    const Before& b = before_.at(key);
    const Node& now = nodes_.at(key);
    const bool folder = now.kind == Node::Kind::Folder, file = now.kind == Node::Kind::File;
    if (b.folder != folder) out.folders.push_back({now.path, b.folder});
    if (!b.file && !file) continue;
    PlannedFile f;
    f.target = now.path;
    if (file) {
      f.source = now.content->source;
      f.sourceInArchive = now.content->sourceInArchive;
      f.size = now.content->size;
      f.hash = hashOf(*now.content);
    }
    if (b.file) {
      f.oldHash = hashOf(*b.content);
      f.oldFromArchive = b.byArchive;
    }
    f.change = !b.file               ? FileChange::New
               : !file               ? FileChange::Deleted
               : f.hash == f.oldHash ? FileChange::Identical
                                     : FileChange::Overwrites;
    out.files.push_back(std::move(f));
  }
  before_.clear();
  touched_.clear();
  return out;
}

}  // namespace plan
