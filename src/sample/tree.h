#pragma once

#include <string>
#include <string_view>
#include <unordered_set>

#include "sample/sample.h"

namespace sample {

// Writes files below the sample's root and keeps the account of what it
// holds. Paths are relative to the root with "/" between names, spelled as
// the simulator spells them.
class Tree {
 public:
  Tree(std::string root, Contents& contents) : root_(std::move(root)), contents_(contents) {}

  void file(const std::string& relative, std::string_view bytes);
  void program(const std::string& relative, std::string_view bytes);
  void folder(const std::string& relative);
  std::string host(const std::string& relative) const { return root_ + "/" + relative; }
  Contents& contents() { return contents_; }

 private:
  std::string root_;
  Contents& contents_;
  std::unordered_set<std::string> made_;  // folders made so far
};

// Text with LF line ends turned into CR LF, as the simulator's files are.
std::string crlf(std::string_view text);

// The simulator folder with its aircraft, stores, shared folders and
// converter stand-in.
void writeSimulator(Tree& tree, const Options& options);
// The generated aircraft folders beyond the hand-made ones.
void writeFleet(Tree& tree, int folders);
// Downloads, with an archive of every kind.
void writeDownloads(Tree& tree, int version);

}  // namespace sample
