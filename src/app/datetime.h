// The date and time forms of every date and time the program writes:
// "yyyy.mm.dd" and "hh:mm:ss" (for example 2024.03.09 and 07:05:00).
#pragma once

#include <cstdint>
#include <string>

namespace tandrel {

inline constexpr const char* kDateFormat = "yyyy.mm.dd";
inline constexpr const char* kTimeFormat = "hh:mm:ss";

// Local date and time of a moment given in seconds since 1970.
std::string FormatDate(std::int64_t unixTime);
std::string FormatTime(std::int64_t unixTime);

}  // namespace tandrel
