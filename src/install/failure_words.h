#pragma once

#include <cstdint>
#include <string>

namespace core {
class Context;
class RuntimeError;
}  // namespace core

namespace install {

// "64 KB", "3.2 MB": a size as a person reads it.
std::string SizeInWords(std::uint64_t bytes);

// Why an installation stopped, in words, naming what it could not write: a
// full disk by its drive, the file and the space it needed, and what is
// free; a folder that cannot be written (read-only, no permission) by its
// name and the cause; anything else by its description and cause.
std::string FailureInWords(core::Context& ctx, const core::RuntimeError& error);

}  // namespace install
