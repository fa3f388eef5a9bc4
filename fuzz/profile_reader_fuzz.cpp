// Any file bytes, any section and key: the read never fails, gives at most
// 199 characters, and the parse-once document answers as the key read does.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>

#include "core/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string section = in.ConsumeRandomLengthString(64);
  const std::string key = in.ConsumeRandomLengthString(64);
  const std::string bytes = in.ConsumeRemainingBytesAsString();

  const auto value = core::profile::lookup(bytes, section, key);
  if (value && value->size() > core::profile::MaxValueLength) std::abort();
  const core::profile::Document doc(bytes);
  if (doc.get(section, key) != value) std::abort();
  for (const auto& name : doc.sectionNames()) (void)core::profile::lookup(bytes, name, key);
  return 0;
}
