// After a write of key K in section S, a read of K in S gives the value
// written, and every line the write did not touch is byte for byte as it was.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <vector>

#include "core/errors.h"
#include "core/profile.h"

namespace {

constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

// Lines with their line ends (CR LF, LF or CR alone).
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find_first_of("\r\n");
    auto length = end == std::string_view::npos ? text.size() : end + 1;
    if (end != std::string_view::npos && text.compare(end, 2, "\r\n") == 0) ++length;
    lines.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return lines;
}

// The write changed at most one old line (the key's, with its text up to
// the "=" kept, or the last line, which gains a line end) and added at most
// two (the section's header and the key line).
bool onlyTheKeysLinesChanged(std::string_view before, std::string_view after) {
  const auto old = linesOf(before), now = linesOf(after);
  std::size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) ++head;
  std::size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const std::size_t changed = old.size() - head - tail, added = now.size() - head - tail;
  if (changed > 1 || added > changed + 2 || added < changed) return false;
  if (changed == 0) return true;
  const std::string_view was = old[head], is = now[head];
  const auto eq = was.find('=');
  if (eq != std::string_view::npos && is.substr(0, eq + 1) == was.substr(0, eq + 1)) return true;
  return head + 1 == old.size() && was.back() != '\n' && was.back() != '\r' && is.substr(0, was.size()) == was;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(32);
  const std::string key = in.ConsumeRandomLengthString(32);
  const std::string value = in.ConsumeRandomLengthString(300);
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  std::string updated;
  try {
    updated = core::profile::withValue(bytes, section, key, core::profile::storedForm(value));
  } catch (const core::RuntimeError& e) {
    if (e.number() != 5) std::abort();
    return 0;  // names or a value that cannot be written: refused, as documented
  }
  if (core::profile::lookup(updated, section, key, kNoLimit) != value) std::abort();
  if (!onlyTheKeysLinesChanged(bytes, updated)) std::abort();
  return 0;
}
