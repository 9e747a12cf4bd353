// clock_posix.cpp: local wall-clock time from the C library (clock_gettime and localtime_r),
// so the thread-unsafe localtime never runs inside the library.
#include <ctime>

#include "platform/clock.h"

namespace Tessel16::detail {

TsSystemTime LocalNow() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::tm parts{};
    const std::time_t seconds = now.tv_sec;
    localtime_r(&seconds, &parts);
    TsSystemTime st;
    st.wYear = static_cast<std::uint16_t>(parts.tm_year + 1900);
    st.wMonth = static_cast<std::uint16_t>(parts.tm_mon + 1);
    st.wDayOfWeek = static_cast<std::uint16_t>(parts.tm_wday + 1);
    st.wDay = static_cast<std::uint16_t>(parts.tm_mday);
    st.wHour = static_cast<std::uint16_t>(parts.tm_hour);
    st.wMinute = static_cast<std::uint16_t>(parts.tm_min);
    // A leap second (tm_sec 60) would not validate as an XSD second.
    st.wSecond = static_cast<std::uint16_t>(parts.tm_sec > 59 ? 59 : parts.tm_sec);
    st.wMilliseconds = static_cast<std::uint16_t>(now.tv_nsec / 1000000);
    return st;
}

}  // namespace Tessel16::detail
