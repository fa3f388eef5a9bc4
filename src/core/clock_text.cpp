#include "core/clock_text.h"

namespace core {

namespace {

std::string formatted(const std::tm& tm, const char* format) {
  char text[64];
  const std::size_t n = std::strftime(text, sizeof text, format, &tm);
  return std::string(text, n);
}

}  // namespace

std::string localTimeText(std::time_t when, const char* format) {
  std::tm tm{};
  localtime_r(&when, &tm);
  return formatted(tm, format);
}

std::string utcTimeText(std::time_t when, const char* format) {
  std::tm tm{};
  gmtime_r(&when, &tm);
  return formatted(tm, format);
}

}  // namespace core
