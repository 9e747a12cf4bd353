// date_time_messages.h: every message text that CDateTime and CDateTimeSpan throw, as named
// printf formats, so the code and the tests share one spelling (typos included, since
// callers may match on them).
#pragma once

namespace Tessel16::detail::dtmsg {

// Parsing a date form.
inline constexpr const char* kDateNull = "Invalid Date (Null String)";
inline constexpr const char* kDateEmpty = "Invalid Date (Empty String)";
inline constexpr const char* kDateT = "Invalid Date ('T' not allowed)";
inline constexpr const char* kDateBadZone = "Invalid Date (Bad Zone value)";
inline constexpr const char* kDateBad = "Invalid XSD Date [%s] expected CCYY-MM-DD[Z|[+|-]hh:mm]";
// Parsing a time.
inline constexpr const char* kTimeNull = "Invalid Time (Null String)";
inline constexpr const char* kTimeEmpty = "Invalid XSD Time (Empty String)";
inline constexpr const char* kTimeBad = "Invalid XSD Time [%s] expected hh:mm:ss[.ff]";
inline constexpr const char* kTimeFraction = "Invalid XSD Time [%s] Fraction part too long";
// Parsing a dateTime and a zone.
inline constexpr const char* kDateTimeNull = "Invalid DateTime (Null String)";
inline constexpr const char* kDateTimeNoT = "Invalid XSD DateTime [%s].";
inline constexpr const char* kDateTimeBad =
    "Invalid XSD DateTime [%s] expected CCYY-MM-DDThh:mm:ss[.ff]";
inline constexpr const char* kZoneBad = "Invalid XSD Time Zone [%s].";
inline constexpr const char* kZoneRange = "Invalid TimeZone [%d:%d]";
inline constexpr const char* kZoneNotUsed = "TimeZone is not been used";

// Validation.
inline constexpr const char* kYearZero = "Invalid Year Zero";
inline constexpr const char* kMonthRange = "Invalid Month [%d] (1 <= month <= 12)";
inline constexpr const char* kMonthForType = "Invalid Month [%d] for type %s";
inline constexpr const char* kYearRange = "Invalid Year [%d] (%d <= year <= %d && year != 0)";
inline constexpr const char* kYearForType = "Invalid Year [%d] for type %s";
inline constexpr const char* kDayInMonth = "Invalid Day [%d] (1 <= day <= days in month)";
inline constexpr const char* kDay31 = "Invalid Day [%d] (1 <= day <= 31)";
inline constexpr const char* kDayForType = "Invalid Day [%d] for type %s";
inline constexpr const char* kHourRange = "Invalid Hour [%d] (0 <= hour <= 23)";
inline constexpr const char* kMinuteRange = "Invalid Minute [%d] (0 <= minute <= 59)";
inline constexpr const char* kSecondRange = "Invalid Second [%d] (0 <= second <= 59)";
inline constexpr const char* kMilliRange = "Invalid Milli-Second [%d] (0 <= milli <= 999)";
inline constexpr const char* kMicroRange = "Invalid Micro-Second [%d] (0 <= micro <= 999)";
inline constexpr const char* kNanoRange = "Invalid Nano-Second [%d] (0 <= nano <= 999)";
inline constexpr const char* kHourForType = "Invalid Hour [%d] for type %s";
inline constexpr const char* kMinuteForType = "Invalid Minute [%d] for type %s";
inline constexpr const char* kSecondForType = "Invalid Second [%d] for type %s";
inline constexpr const char* kMilliForType = "Invalid Milli-Second [%d] for type %s";
inline constexpr const char* kMicroForType = "Invalid Micro-Second [%d] for type %s";
inline constexpr const char* kNanoForType = "Invalid Nano-Second [%d] for type %s";

// Kinds and conversions.
inline constexpr const char* kSetKind =
    "Failed to copy CDateTime. Invalid Date Type: %s, expected: %s.";
inline constexpr const char* kConvertKind =
    "Attempting to set a CDateTime of type %s using an XmlDateTime of type %s. The source "
    "CDateTime does not contian enough data to allow the conversion.";
inline constexpr const char* kUnknownKind = "Unknown date type %d.";
inline constexpr const char* kFileTime = "Failed to convert FILETIME to SYSTEMTIME";
inline constexpr const char* kSubtractKind =
    "Failed to subtract CDateTime. Invalid Date Type: %s, expected: %s.";

// Field access by a kind that lacks the field.
inline constexpr const char* kGetYear = "Failed to GetYear. Invalid Date Type: %s.";
inline constexpr const char* kGetMonth = "Failed to GetMonth. Invalid Date Type: %s.";
inline constexpr const char* kGetDay = "Failed to GetDay. Invalid Date Type: %s.";
inline constexpr const char* kGetHour = "Failed to GetHour. Invalid Date Type: %s.";
inline constexpr const char* kGetMinute = "Failed to GetMinute. Invalid Date Type: %s.";
inline constexpr const char* kGetSecond = "Failed to GetSecond. Invalid Date Type: %s.";
inline constexpr const char* kGetRealSecond = "Failed to GetRealSecond. Invalid Date Type: %s.";
inline constexpr const char* kGetMilli = "Failed to GetMilliSecond. Invalid Date Type: %s.";
inline constexpr const char* kGetMicro = "Failed to GetMicroSecond. Invalid Date Type: %s.";
inline constexpr const char* kGetNano = "Failed to GetNanoSecond. Invalid Date Type: %s.";
inline constexpr const char* kDayOfYear = "Failed to GetDayOfYear. Invalid Date Type: %s.";
inline constexpr const char* kDayOfWeek = "Failed to GetDayOfWeek. Invalid Date Type: %s.";
inline constexpr const char* kGetTime =
    "Failed to GetTime, Date Status must be dateTime or date. Invalid Date Type: %s.";
inline constexpr const char* kSystemTime =
    "Failed to GetAsSystemTime, Date Status must be dateTime. Invalid Date Type: %s.";

// Writing.
inline constexpr const char* kNotSet = "Error: Date Not Set";
inline constexpr const char* kUnknownFormat = "Unknown Format: ";

// Durations.
inline constexpr const char* kSpanNull = "Invalid XSD Duration (Null String)";
inline constexpr const char* kSpanEmpty = "Invalid XSD Duration (Empty String)";
inline constexpr const char* kSpanFraction = "Invalid XSD Duration [%s] Fraction part too long";
inline constexpr const char* kSpanBad =
    "Invalid XSD Duration [%s] expected [-]P[nY][nM][nD][T[nH][nM][nS.ff]]";

}  // namespace Tessel16::detail::dtmsg
