#include "app/datetime.h"

#include <cstdio>
#include <ctime>

namespace tandrel {

namespace {

std::tm LocalTime(std::int64_t unixTime) {
    const std::time_t t = static_cast<std::time_t>(unixTime);
    std::tm tm{};
    localtime_r(&t, &tm);
    return tm;
}

}  // namespace

std::string FormatDate(std::int64_t unixTime) {
    const std::tm tm = LocalTime(unixTime);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d.%02d.%02d", tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday);
    return buf;
}

std::string FormatTime(std::int64_t unixTime) {
    const std::tm tm = LocalTime(unixTime);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}

}  // namespace tandrel
