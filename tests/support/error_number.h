#pragma once

#include "core/errors.h"

namespace testsupport {

// The number of the core::RuntimeError a call throws; 0 when it returns.
template <class F>
int errorNumberOf(F&& call) {
  try {
    call();
  } catch (const core::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace testsupport
