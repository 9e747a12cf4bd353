// conversions_values.cpp: the lexical forms that belong to the value types (dates,
// durations, decimals, big integers, binary data). These functions only apply the
// whitespace rule and hand over: parsing, writing and their messages are the value types'
// own, so there is one definition of each form.
#include <string>

#include "conversion/conversion_messages.h"
#include "conversion/lexical_check.h"
#include "conversion/whitespace_keep.h"
#include "tessel16/binary_data.h"
#include "tessel16/conversions.h"
#include "tessel16/date_time.h"
#include "tessel16/decimal.h"
#include "tessel16/exception.h"
#include "values/date_time_messages.h"

namespace Tessel16 {
namespace {

// atoi's reading of a number at the head of a text, without its undefined overflow.
int LeadingInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        if (value < 1000000000) value = value * 10 + (text[i] - '0');
    return static_cast<int>(negative ? -value : value);
}

CDateTime ParseDate(const std::string& t) {
    CDateTime value;
    value.ParseXSDDate(t.c_str());
    return value;
}

// The bare-number kinds hold one field and nothing else, so they take only their own form:
// a longer date form or a zone would lose part of the text without a word.
CDateTime ParseBare(const std::string& t, CDateTime::DTType kind) {
    const CDateTime value = ParseDate(t);
    if (value.GetType() != kind || value.IsUTC())
        throw CTsInvalidValueException(FormatString(detail::dtmsg::kDateBad, t.c_str()));
    return value;
}

}  // namespace

std::string CConversions::durationToString(const CDateTimeSpan& value) { return value.ToString(); }

// One operation behind five names: the value's own kind decides its form.
std::string CConversions::datetimeToString(const CDateTime& value) { return value.ToString("s"); }
std::string CConversions::dateToString(const CDateTime& value) { return value.ToString("s"); }
std::string CConversions::timeToString(const CDateTime& value) { return value.ToString("s"); }
std::string CConversions::yearMonthToString(const CDateTime& value) { return value.ToString("s"); }
std::string CConversions::monthDayToString(const CDateTime& value) { return value.ToString("s"); }

CDateTimeSpan CConversions::durationFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    CDateTimeSpan value;
    value.ParseXSDDuration(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
    return value;
}

CDateTime CConversions::datetimeFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    CDateTime value(CDateTime::dt_dateTime);
    value.ParseXSDDateTime(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
    return value;
}

// The parse takes the kind from the text, so these three accept every date form alike.
CDateTime CConversions::dateFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return ParseDate(detail::ApplyRuleOrKeep(rule, text, scratch));
}
CDateTime CConversions::yearMonthFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return ParseDate(detail::ApplyRuleOrKeep(rule, text, scratch));
}
CDateTime CConversions::monthDayFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return ParseDate(detail::ApplyRuleOrKeep(rule, text, scratch));
}

CDateTime CConversions::timeFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    CDateTime value(CDateTime::dt_time);
    value.ParseXSDTime(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
    return value;
}

// A negative year is out of the unsigned range rather than wrapped round.
unsigned short CConversions::yearFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    const CDateTime value =
        ParseBare(detail::ApplyRuleOrKeep(rule, text, scratch), CDateTime::dt_gYear);
    if (value.GetYear() < 0)
        throw CTsInvalidValueException(
            FormatString(detail::dtmsg::kYearRange, value.GetYear(), 1, 9999));
    return static_cast<unsigned short>(value.GetYear());
}
unsigned char CConversions::monthFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return ParseBare(detail::ApplyRuleOrKeep(rule, text, scratch), CDateTime::dt_gMonth).GetMonth();
}
unsigned char CConversions::dayFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return ParseBare(detail::ApplyRuleOrKeep(rule, text, scratch), CDateTime::dt_gDay).GetDay();
}

std::string CConversions::decimalToString(const CDecimal& value) { return value.ToString(); }

std::string CConversions::decimalToString(const CDecimal& value, const std::string& format) {
    if (format.empty()) return value.ToString();
    return value.ToString(LeadingInt(format));
}

std::string CConversions::integerToString(const CBigInteger& value) { return value.ToString(); }

std::string CConversions::hexBinaryToString(const CBinaryData& value) {
    return value.GetAsHexString();
}

std::string CConversions::base64BinaryToString(const CBinaryData& value) {
    return value.GetAsBase64();
}

CDecimal CConversions::decimalFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return CDecimal(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
}

CBigInteger CConversions::integerFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    return CBigInteger(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
}

CBinaryData CConversions::hexBinaryFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    CBinaryData data;
    data.SetAsHexString(detail::ApplyRuleOrKeep(rule, text, scratch).c_str());
    return data;
}

CBinaryData CConversions::base64BinaryFromString(const std::string& text, WhitespaceRule rule) {
    std::string scratch;
    const std::string& t = detail::ApplyRuleOrKeep(rule, text, scratch);
    // The decoder skips what it does not know; a document's text must be base64 throughout.
    if (!detail::IsBase64Text(t, false))
        throw CTsInvalidValueException(FormatString(detail::kMsgBadBase64, t.c_str()));
    CBinaryData data;
    data.SetAsBase64(t.c_str());
    return data;
}

}  // namespace Tessel16
