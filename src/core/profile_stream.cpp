#include "core/profile_stream.h"

#include <cstdint>
#include <memory>
#include <span>

#include "core/codepage.h"
#include "core/profile_text.h"

namespace core::profile {

namespace {

// Small enough that the block the kernel copies into is still in the
// processor's cache when the parser looks through it; a larger block made a
// long file's read slower, not faster.
constexpr std::size_t kBlockSize = 64 * 1024;

// Turns the bytes after a file's mark into the parser's text, one block at
// a time: a UTF-16 file's half unit, or the first unit of a surrogate pair,
// at the end of a block waits for the next block.
class BlockText {
 public:
  explicit BlockText(Encoding encoding) : encoding_(encoding) {}

  std::string_view of(std::string_view bytes, bool last) {
    if (encoding_ != Encoding::Utf16Le && encoding_ != Encoding::Utf16Be) return bytes;
    const bool bigEndian = encoding_ == Encoding::Utf16Be;
    waiting_.append(bytes);
    std::size_t whole = waiting_.size() & ~std::size_t{1};
    if (!last && whole >= 2) {
      const auto hi = static_cast<unsigned char>(waiting_[whole - (bigEndian ? 2 : 1)]);
      if (hi >= 0xD8 && hi <= 0xDB) whole -= 2;  // a pair's first unit
    }
    text_ = utf16ToUtf8(std::string_view(waiting_).substr(0, whole), bigEndian);
    waiting_.erase(0, whole);
    return text_;
  }

 private:
  Encoding encoding_;
  std::string waiting_;
  std::string text_;
};

}  // namespace

std::optional<std::string> streamedFileValue(const ReadBytes& read, std::string_view section, std::string_view key,
                                             std::size_t maxLength) {
  // Not filled in first: a page of it costs only once a read reaches it, so
  // that a small file touches one page.
  const auto buffer = std::make_unique_for_overwrite<char[]>(kBlockSize);
  const std::span<char> block(buffer.get(), kBlockSize);
  // The mark is in the first three bytes: the first block is read until it
  // holds them or the file ends.
  std::size_t filled = 0;
  bool ended = false;
  while (filled < 3 && !ended) {
    const std::size_t n = read(block.data() + filled, block.size() - filled);
    ended = n == 0;
    filled += n;
  }
  const Encoding encoding = encodingOf({block.data(), filled});
  LookupStream lookup(parserForm(encoding, section), parserForm(encoding, key), std::string::npos);
  BlockText text(encoding);
  const std::size_t mark = markLength(encoding);
  std::string_view bytes(block.data() + mark, filled - mark);
  while (lookup.take(text.of(bytes, ended)) && !ended) {
    const std::size_t n = read(block.data(), block.size());
    ended = n == 0;
    bytes = {block.data(), n};
  }
  const auto value = lookup.finish();
  if (!value) return std::nullopt;
  return firstUnits(programForm(encoding, *value), maxLength);
}

}  // namespace core::profile
