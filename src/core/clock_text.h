#pragma once

#include <ctime>
#include <string>

namespace core {

// A moment as text in the given strftime format, in the local time zone or
// in UTC ("%Y-%m-%dT%H:%M:%SZ" for the journal's stamps).
std::string localTimeText(std::time_t when, const char* format);
std::string utcTimeText(std::time_t when, const char* format);

}  // namespace core
