// The list-input splitter of panel.cfg, sound.cfg and adventure signatures:
// any text splits, and the first field alone is the first of all fields.
#include <cstdlib>
#include <string_view>

#include "core/list_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const auto fields = core::splitListInput(text);
  const std::string first = core::firstListInputField(text);
  if (!fields.empty() && fields.front() != first) std::abort();
  if (fields.empty() && !first.empty()) std::abort();
  for (const auto& f : fields)
    if (f.size() > size) std::abort();
  return 0;
}
