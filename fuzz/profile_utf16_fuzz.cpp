// Any file with a byte-order mark (UTF-16 of either order, or UTF-8, then any
// bytes), any section, key and value: a read gives well-formed UTF-8 of at
// most 199 UTF-16 characters, the parse-once document answers as the read
// does, the decoding loses no byte, and a write keeps the mark and reads back.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/codepage.h"
#include "core/errors.h"
#include "core/profile.h"
#include "core/profile_text.h"

namespace {

std::size_t utf16Length(std::string_view utf8) {
  std::size_t units = 0;
  for (const char c : utf8) {
    const auto b = static_cast<unsigned char>(c);
    if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
  }
  return units;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string_view marks[] = {"\xFF\xFE", "\xFE\xFF", "\xEF\xBB\xBF"};
  const std::string mark(marks[in.ConsumeIntegralInRange<std::size_t>(0, 2)]);
  // The program's names and values are UTF-8.
  const std::string section = core::wellFormedUtf8(in.ConsumeRandomLengthString(32));
  const std::string key = core::wellFormedUtf8(in.ConsumeRandomLengthString(32));
  const std::string value = core::wellFormedUtf8(in.ConsumeRandomLengthString(300));
  const std::string bytes = mark + in.ConsumeRemainingBytesAsString();

  const core::profile::FileText file(bytes);
  if (file.bytes(file.text()) != bytes) std::abort();

  const auto read = core::profile::fileValue(bytes, section, key);
  if (read && (core::wellFormedUtf8(*read) != *read || utf16Length(*read) > core::profile::MaxValueLength))
    std::abort();
  if (core::profile::Document::fromFile(bytes).get(section, key) != read) std::abort();

  std::string updated;
  try {
    updated = core::profile::fileWithValue(bytes, section, key, core::profile::storedForm(value));
  } catch (const core::RuntimeError& e) {
    if (e.number() != core::err::InvalidProcedureCall) std::abort();
    return 0;  // names or a value that cannot be written: refused, as documented
  }
  if (updated.compare(0, mark.size(), mark) != 0) std::abort();
  if (core::profile::fileValue(updated, section, key, std::string::npos) != value) std::abort();
  return 0;
}
